#pragma once
// frmOption ("Options"): every option on two tab strips, over the options model, which loads and saves.

#include <QDialog>

#include "addin/ide_model.h"
#include "settings/options_model.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace vex::errors {
class ErrorReport;
}

namespace vex::app {

class FormOption : public QDialog {
    Q_OBJECT
public:
    /// Form_Load: builds the dialog centred on the screen and fills it from the store (ChargeOptions).
    FormOption(settings::SettingsStore& store, errors::ErrorReport& report, QWidget* parent = nullptr);

    /// ImaForm: the 16 x 15 face of the add-in's command-bar button.
    static addin::Picture ImaForm();
    /// "Version: major.minor.revision", from the build.
    static QString VersionText();

    QTabWidget* tabOption() const { return tabOption_; }
    QTabWidget* tabErreur() const { return tabErreur_; }
    QPlainTextEdit* txtDebut() const { return txtDebut_; }
    QPlainTextEdit* txtEndCode() const { return txtEndCode_; }
    QLineEdit* txtSeparatrice() const { return txtSeparatrice_; }
    QPushButton* cmdOK() const { return cmdOK_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }

private:
    void Show(const settings::OptionsForm& form);
    settings::OptionsForm Read() const;
    void cmdOK_Click();

    settings::OptionsModel model_;
    errors::ErrorReport& report_;
    QTabWidget* tabOption_;
    QTabWidget* tabErreur_;
    QCheckBox* chkResetIncrement_;
    QLineEdit* txtIncrement_;
    QLineEdit* txtSeparatrice_;
    QLineEdit* txtDesableError_;
    QCheckBox* chkViewResult_;
    QPlainTextEdit* txtDebut_;
    QPlainTextEdit* txtEndCode_;
    QLineEdit* txtTabulation_;
    QLineEdit* txtTabInit_;
    QPushButton* cmdOK_;
    QPushButton* cmdCancel_;
};

}  // namespace vex::app
