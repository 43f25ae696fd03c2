#include "app/doc_vextools.h"

#include <QAction>
#include <algorithm>
#include <QIcon>
#include <QListWidget>
#include <QProgressBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "errors/runtime_error.h"

namespace vex::app {

namespace {

struct ButtonDef {
    const char* key;  // null: a separator
    const char* icon;
    const char* tip;
};

// Left to right, as the dispatch knows them by their keys.
constexpr ButtonDef kButtons[] = {
    {"SelectAll", "select_all", "Select all."},
    {"Unselect All", "unselect_all", "Unselect all."},
    {nullptr, nullptr, nullptr},
    {"AddLine", "add_line", "Add line number."},
    {"RemoveLine", "remove_line", "Remove line number"},
    {"AddError", "add_error", "Add error handler"},
    {"RemoveError", "remove_error", "Remove error handler"},
    {"Tabulation", "tabulation", "Reorganize code."},
    {"DeleteKey", "delete_key", "Delete line from a keyword."},
    {"Backup", "backup", "Create a backup."},
    {nullptr, nullptr, nullptr},
    {"Option", "option", "Options."},
};

}  // namespace

/// lstFileProject's rows: the text is the component name (module bytes), the tick box the selected state.
class DocVexToolsWidget::ListAdapter : public addin::ProjectListView {
public:
    explicit ListAdapter(QListWidget& list) : list_(list) {}
    int16_t ListCount() const override { return static_cast<int16_t>(list_.count()); }
    std::string List(int16_t row) const override { return ToModule(Item(row)->text()); }
    bool Selected(int16_t row) const override { return Item(row)->checkState() == Qt::Checked; }
    void SetSelected(int16_t row, bool selected) override {
        Item(row)->setCheckState(selected ? Qt::Checked : Qt::Unchecked);
    }
    int16_t ListIndex() const override { return static_cast<int16_t>(list_.currentRow()); }
    void SetListIndex(int16_t row) override { list_.setCurrentRow(row); }
    void Clear() override { list_.clear(); }
    void AddItem(const std::string& text) override {
        auto* item = new QListWidgetItem(FromModule(text), &list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    void RemoveItem(int16_t row) override { delete list_.takeItem(Checked(row)); }
    void SetList(int16_t row, const std::string& text) override { Item(row)->setText(FromModule(text)); }

private:
    int Checked(int16_t row) const {
        if (row < 0 || row >= list_.count()) throw errors::RuntimeError(381, "Invalid property array index");
        return row;
    }
    QListWidgetItem* Item(int16_t row) const { return list_.item(Checked(row)); }
    QListWidget& list_;
};

/// A progress bar that remembers what the engine set and draws it within its range at the next pass of
/// the event loop: QProgressBar repaints at once on every change, which would cost a repaint of the
/// tool window per procedure, where one per frame is all the eye sees.
class DocVexToolsWidget::BarAdapter : public host::ProgressBar {
public:
    explicit BarAdapter(QProgressBar& bar) : bar_(bar) {}
    void SetMax(long max) override {
        max_ = max;
        DrawLater();
    }
    void SetValue(long value) override {
        value_ = value;
        DrawLater();
    }
    long Max() const override { return max_; }
    long Value() const override { return value_; }

private:
    void DrawLater() {
        if (pending_) return;
        pending_ = true;
        QMetaObject::invokeMethod(&bar_, [this] {
            pending_ = false;
            const long top = std::max(1L, max_);
            bar_.setMaximum(static_cast<int>(top));
            bar_.setValue(static_cast<int>(std::clamp(value_, 0L, top)));
        }, Qt::QueuedConnection);
    }
    long max_ = 100;
    long value_ = 0;
    bool pending_ = false;
    QProgressBar& bar_;
};

DocVexToolsWidget::DocVexToolsWidget(QWidget* parent) : QDockWidget(QStringLiteral("VexTools"), parent) {
    setObjectName("docVexTools");
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    toolbar_ = new QToolBar(body);
    toolbar_->setObjectName("Toolbar1");
    toolbar_->setIconSize(QSize(16, 16));
    for (const auto& def : kButtons) {
        if (!def.key) {
            toolbar_->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(def.key);
        QAction* action = toolbar_->addAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(def.icon)), QString());
        action->setObjectName(key);
        action->setToolTip(QString::fromLatin1(def.tip));
        action->setCheckable(false);
        buttons_.insert(key, action);
        connect(action, &QAction::triggered, this, [this, key] {
            if (events_) events_->Toolbar1_ButtonClick(ToUtf8(key));
            if (afterClick_) afterClick_();
        });
    }
    layout->addWidget(toolbar_);

    list_ = new QListWidget(body);
    list_->setObjectName("lstFileProject");
    layout->addWidget(list_, 1);
    // The 300 twips the layout keeps under the list hold the two bars.
    for (auto** bar : {&projectBar_, &fileBar_}) {
        *bar = new QProgressBar(body);
        (*bar)->setRange(0, 100);
        (*bar)->setValue(0);
        (*bar)->setTextVisible(false);
        (*bar)->setFixedHeight(9);
        layout->addWidget(*bar);
    }
    projectBar_->setObjectName("PercentProject");
    fileBar_->setObjectName("PercentFile");
    setWidget(body);

    listAdapter_ = std::make_unique<ListAdapter>(*list_);
    projectAdapter_ = std::make_unique<BarAdapter>(*projectBar_);
    fileAdapter_ = std::make_unique<BarAdapter>(*fileBar_);
}

DocVexToolsWidget::~DocVexToolsWidget() = default;

addin::ProjectListView& DocVexToolsWidget::lstFileProject() { return *listAdapter_; }
host::ProgressBar& DocVexToolsWidget::PercentProject() { return *projectAdapter_; }
host::ProgressBar& DocVexToolsWidget::PercentFile() { return *fileAdapter_; }

void DocVexToolsWidget::SetButtonPressed(std::string_view key, bool pressed) {
    QAction* action = buttons_.value(FromUtf8(key));
    if (!action) return;
    action->setCheckable(pressed);  // drawn down while pressed, a plain push button otherwise
    action->setChecked(pressed);
}

}  // namespace vex::app
