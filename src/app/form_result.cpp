#include "app/form_result.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "addin/result_save.h"
#include "app/qt_text.h"

namespace vex::app {

namespace {

/// "label|pattern|label|pattern" as Qt's "label (pattern);;label (pattern)" list; labels that already
/// show their pattern are kept as they stand.
QStringList QtFilters(const std::string& vbFilter) {
    const QStringList parts = FromUtf8(vbFilter).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i];
        const QString pattern = parts[i + 1];
        if (!label.contains(u'(')) label += QStringLiteral(" (%1)").arg(pattern);
        filters << label;
    }
    return filters;
}

}  // namespace

std::optional<std::filesystem::path> QtSaveFileDialog::ShowSave(const addin::SaveDialogSettings& settings) {
    QFileDialog dialog(parent_);
    dialog.setObjectName("cmnDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The log is appended to the file, so choosing an existing one asks nothing.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(FromUtf8(settings.defaultExt));
    const QStringList filters = QtFilters(settings.filter);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.front());
    dialog.selectFile(FromUtf8(settings.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return std::filesystem::path(ToUtf8(dialog.selectedFiles().front()));
}

FormResult::FormResult(host::Screen& screen, QWidget* parent)
    : QDialog(parent), screen_(screen), qtDialog_(this), saveDialog_(&qtDialog_) {
    setObjectName("frmResult");
    setWindowTitle(FromUtf8(addin::kResultTitle));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);
    resize(437, 355);  // 6555 x 5325 twips
    txtResult_ = new QPlainTextEdit(this);
    txtResult_->setObjectName("txtResult");
    txtResult_->setLineWrapMode(QPlainTextEdit::NoWrap);
    cmdSave_ = new QPushButton(QStringLiteral("&Save results"), this);
    cmdSave_->setObjectName("cmdSave");
    cmdClose_ = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose_->setObjectName("cmdClose");
    cmdSave_->setAutoDefault(false);
    cmdClose_->setAutoDefault(false);
    // The text box takes the full width over the strip; "&Close" stays against the strip's right edge.
    auto* strip = new QHBoxLayout;
    strip->addWidget(cmdSave_);
    strip->addStretch(1);
    strip->addWidget(cmdClose_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtResult_, 1);
    layout->addLayout(strip);
    connect(cmdSave_, &QPushButton::clicked, this,
            [this] { addin::SaveResults(*saveDialog_, screen_, Text()); });
    // Escape closes the window through reject(), as "&Close" does.
    connect(cmdClose_, &QPushButton::clicked, this, &QDialog::reject);
}

FormResult::~FormResult() = default;

void FormResult::Append(std::string_view piece) {
    // Kept aside until the box is shown: laying out the box again for each of a large project's lines
    // would cost more than the action itself.
    pending_.append(piece);
    if (isVisible()) QMetaObject::invokeMethod(this, [this] { ShowPending(); }, Qt::QueuedConnection);
}

void FormResult::ShowPending() {
    if (pending_.empty()) return;
    // The log's pieces break lines with CR LF; the box shows plain line ends.
    QString text = FromUtf8(pending_);
    pending_.clear();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextCursor end(txtResult_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
}

std::string FormResult::Text() const {
    return ToUtf8(txtResult_->toPlainText().replace(u'\n', QStringLiteral("\r\n"))) + pending_;
}

void FormResult::ShowModal() {
    ShowPending();
    exec();
}

void FormResult::done(int result) {
    QDialog::done(result);
    // The window is unloaded: its log goes with it.
    txtResult_->clear();
    pending_.clear();
}

}  // namespace vex::app
