#include "app/form_option.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "errors/error_report.h"

namespace vex::app {

namespace {

constexpr const char* kMailAddress = "support@vextools.example";
constexpr const char* kWebAddress = "https://vextools.example";

QString ToBox(const std::string& crlfText) { return FromUtf8(crlfText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }
std::string FromBox(const QString& text) { return ToUtf8(QString(text).replace(u'\n', QStringLiteral("\r\n"))); }

/// A row of the three placeholder buttons under a template box; each replaces the box's selection.
QWidget* PlaceholderRow(QPlainTextEdit* box, const QString& arrayName, const QStringList& captions, QWidget* parent) {
    static const char* const kPlaceholders[] = {"$$ProcedureName$$", "$$FileName$$", "$$SubFunction$$"};
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 3; ++i) {
        auto* button = new QPushButton(captions[i], row);
        button->setObjectName(QStringLiteral("%1(%2)").arg(arrayName).arg(i));
        button->setAutoDefault(false);
        const QString placeholder = QString::fromLatin1(kPlaceholders[i]);
        QObject::connect(button, &QPushButton::clicked, box, [box, placeholder] {
            box->textCursor().insertText(placeholder);
            box->setFocus();
        });
        layout->addWidget(button);
    }
    layout->addStretch(1);
    return row;
}

QLineEdit* Line(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

}  // namespace

FormOption::FormOption(settings::SettingsStore& store, errors::ErrorReport& report, QWidget* parent)
    : QDialog(parent), model_(store), report_(report) {
    setObjectName("frmOption");
    setWindowTitle(QStringLiteral("Options"));

    tabOption_ = new QTabWidget(this);
    tabOption_->setObjectName("tabOption");

    // "Identing lines"
    auto* page0 = new QWidget;
    page0->setObjectName("pctOption(0)");
    chkResetIncrement_ = new QCheckBox(QStringLiteral("Indent line for each procedure"), page0);
    chkResetIncrement_->setObjectName("chkResetIncrement");
    txtIncrement_ = Line("txtIncrement", page0);
    auto* lblIncrement = new QLabel(QStringLiteral("Space indent line:"), page0);
    lblIncrement->setObjectName("lblIncrement");
    auto* form0 = new QFormLayout(page0);
    form0->addRow(chkResetIncrement_);
    form0->addRow(lblIncrement, txtIncrement_);
    tabOption_->addTab(page0, QStringLiteral("Identing lines"));

    // "Error handler" with its inner strip
    auto* page1 = new QWidget;
    page1->setObjectName("pctOption(1)");
    tabErreur_ = new QTabWidget(page1);
    tabErreur_->setObjectName("tabErreur");
    auto* main = new QWidget;
    main->setObjectName("pctDetailErreur(0)");
    txtSeparatrice_ = Line("txtSeparatrice", main);
    txtDesableError_ = Line("txtDesableError", main);
    chkViewResult_ = new QCheckBox(QStringLiteral("View results"), main);
    chkViewResult_->setObjectName("chkViewResult");
    auto* formMain = new QFormLayout(main);
    formMain->addRow(QStringLiteral("Separator code"), txtSeparatrice_);
    formMain->addRow(QStringLiteral("Code for no error handler"), txtDesableError_);
    formMain->addRow(chkViewResult_);
    tabErreur_->addTab(main, QStringLiteral("Main"));
    auto templatePage = [this](const char* pageName, const QString& label, QPlainTextEdit*& box, const char* boxName,
                               const QString& arrayName, const QStringList& captions) {
        auto* page = new QWidget;
        page->setObjectName(pageName);
        box = new QPlainTextEdit(page);
        box->setObjectName(boxName);
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(new QLabel(label, page));
        layout->addWidget(box, 1);
        layout->addWidget(PlaceholderRow(box, arrayName, captions, page));
        return page;
    };
    tabErreur_->addTab(templatePage("pctDetailErreur(1)", QStringLiteral("Insert in beginning procedure"), txtDebut_,
                                    "txtDebut", QStringLiteral("cmdAddStartKey"),
                                    {QStringLiteral("Procedure name"), QStringLiteral("File name"),
                                     QStringLiteral("Sub / Function")}),
                       QStringLiteral("Input code"));
    tabErreur_->addTab(templatePage("pctDetailErreur(2)", QStringLiteral("Insert in terminate code"), txtEndCode_,
                                    "txtEndCode", QStringLiteral("cmdAddEndKey"),
                                    {QStringLiteral("procedure name"), QStringLiteral("File name"),
                                     QStringLiteral("Sub / Function")}),
                       QStringLiteral("Output code"));
    (new QVBoxLayout(page1))->addWidget(tabErreur_);
    tabOption_->addTab(page1, QStringLiteral("Error handler"));

    // "Reorganize code"
    auto* page2 = new QWidget;
    page2->setObjectName("pctOption(2)");
    txtTabulation_ = Line("txtTabulation", page2);
    txtTabInit_ = Line("txtTabInit", page2);
    auto* form2 = new QFormLayout(page2);
    form2->addRow(QStringLiteral("Space for each indent"), txtTabulation_);
    form2->addRow(QStringLiteral("Start indent space:"), txtTabInit_);
    tabOption_->addTab(page2, QStringLiteral("Reorganize code"));

    // "About"
    auto* page3 = new QWidget;
    page3->setObjectName("pctOption(3)");
    auto* about = new QGridLayout(page3);
    auto* picture = new QLabel(page3);
    picture->setPixmap(QIcon(QStringLiteral(":/icons/vextools.svg")).pixmap(48, 48));
    about->addWidget(picture, 0, 0, 4, 1, Qt::AlignTop);
    about->addWidget(new QLabel(QStringLiteral("Development tools"), page3), 0, 1);
    auto* lblVersion = new QLabel(VersionText(), page3);
    lblVersion->setObjectName("lblVersion");
    about->addWidget(lblVersion, 1, 1);
    auto* lblDisclaimer = new QLabel(
        QStringLiteral("VexTools is provided as is, without warranty of any kind. © 2026 the VexTools developers."), page3);
    lblDisclaimer->setObjectName("lblDisclaimer");
    lblDisclaimer->setWordWrap(true);
    about->addWidget(lblDisclaimer, 2, 1);
    auto* label7 = new QLabel(QStringLiteral("<a href=\"mailto:%1\">email: %1</a>").arg(kMailAddress), page3);
    label7->setObjectName("Label7");
    // A missing mail program is no error of the dialog: the click then does nothing.
    connect(label7, &QLabel::linkActivated, this, [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });
    about->addWidget(label7, 3, 1);
    auto* label8 = new QLabel(QString::fromLatin1(kWebAddress), page3);
    label8->setObjectName("Label8");
    about->addWidget(label8, 4, 1);
    about->setRowStretch(5, 1);
    about->setColumnStretch(1, 1);
    tabOption_->addTab(page3, QStringLiteral("About"));

    cmdOK_ = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK_->setObjectName("cmdOK");
    cmdCancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel_->setObjectName("cmdCancel");
    cmdOK_->setAutoDefault(false);
    cmdCancel_->setAutoDefault(false);
    connect(cmdOK_, &QPushButton::clicked, this, &FormOption::cmdOK_Click);
    // Cancel, Escape and the close box all end in reject(): nothing is saved.
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabOption_, 1);
    layout->addLayout(buttons);
    resize(480, 360);
    if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());

    try {
        model_.ChargeOptions();
    } catch (const errors::RuntimeError& e) {
        report_.gestErreur("frmOption // Form_Load", e, 0);
    }
    Show(model_.form);
}

QString FormOption::VersionText() {
    return QStringLiteral("Version: %1.%2.%3").arg(VEXTOOLS_VERSION_MAJOR).arg(VEXTOOLS_VERSION_MINOR).arg(VEXTOOLS_VERSION_PATCH);
}

addin::Picture FormOption::ImaForm() {
    QImage image(16, 15, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawPixmap(0, 0, QIcon(QStringLiteral(":/icons/vextools.svg")).pixmap(QSize(16, 15)).scaled(16, 15));
    painter.end();
    addin::Picture picture{16, 15, {}};
    picture.rgb.reserve(16 * 15 * 3);
    for (int y = 0; y < 15; ++y) {
        const uchar* line = image.constScanLine(y);
        picture.rgb.insert(picture.rgb.end(), line, line + 16 * 3);
    }
    return picture;
}

void FormOption::Show(const settings::OptionsForm& f) {
    txtIncrement_->setText(FromUtf8(f.txtIncrement));
    chkResetIncrement_->setCheckState(Qt::CheckState(f.chkResetIncrement == settings::check::kGrayed ? 1 : f.chkResetIncrement ? 2 : 0));
    txtSeparatrice_->setText(FromUtf8(f.txtSeparatrice));
    txtDesableError_->setText(FromUtf8(f.txtDesableError));
    txtDebut_->setPlainText(ToBox(f.txtDebut));
    txtEndCode_->setPlainText(ToBox(f.txtEndCode));
    chkViewResult_->setCheckState(Qt::CheckState(f.chkViewResult == settings::check::kGrayed ? 1 : f.chkViewResult ? 2 : 0));
    txtTabulation_->setText(FromUtf8(f.txtTabulation));
    txtTabInit_->setText(FromUtf8(f.txtTabInit));
}

settings::OptionsForm FormOption::Read() const {
    auto state = [](const QCheckBox* box) -> int16_t {
        switch (box->checkState()) {
            case Qt::Checked: return settings::check::kChecked;
            case Qt::PartiallyChecked: return settings::check::kGrayed;
            default: return settings::check::kUnchecked;
        }
    };
    settings::OptionsForm f;
    f.txtIncrement = ToUtf8(txtIncrement_->text());
    f.chkResetIncrement = state(chkResetIncrement_);
    f.txtSeparatrice = ToUtf8(txtSeparatrice_->text());
    f.txtDesableError = ToUtf8(txtDesableError_->text());
    f.txtDebut = FromBox(txtDebut_->toPlainText());
    f.txtEndCode = FromBox(txtEndCode_->toPlainText());
    f.chkViewResult = state(chkViewResult_);
    f.txtTabulation = ToUtf8(txtTabulation_->text());
    f.txtTabInit = ToUtf8(txtTabInit_->text());
    return f;
}

void FormOption::cmdOK_Click() {
    model_.form = Read();
    model_.Apply(report_);
    accept();
}

}  // namespace vex::app
