#include "ui/ChapterDialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

#include "ui/KeyboardAccess.h"
#include "ui/MainWindow.h"
#include "ui/ModesRow.h"
#include "ui/ScreenReaderNames.h"
#include "ui/ShareBarDelegate.h"

namespace cxb {

namespace {

std::function<void(ChapterDialog&)>& runHandler() {
    static std::function<void(ChapterDialog&)> h;
    return h;
}

constexpr int kRowRole = Qt::UserRole + 1; // the item's index in the rows
constexpr int kBarColumn = 5;

} // namespace

void ChapterDialog::setRunHandler(std::function<void(ChapterDialog&)> handler) { runHandler() = std::move(handler); }

ChapterDialog::ChapterDialog(MainWindow& window) : QDialog(&window), window_(window) {
    setObjectName("TFormChapters");
    setWindowTitle(QStringLiteral("章节练习、专项练习"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(720, 520);

    tree_ = new QTreeWidget(this);
    tree_->setObjectName("tvzhangjie");
    tree_->setGeometry(8, 8, 704, 458);
    tree_->setUniformRowHeights(true);
    tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setExpandsOnDoubleClick(false); // a double click starts the row's list
    QStringList headings;
    for (const std::string& h : ChapterRows::headings()) headings << QString::fromStdString(h);
    tree_->setHeaderLabels(headings);
    tree_->header()->setStretchLastSection(false);
    tree_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < kBarColumn; ++c) tree_->header()->resizeSection(c, 64);
    tree_->header()->resizeSection(kBarColumn, 110);
    tree_->setItemDelegateForColumn(kBarColumn, new ShareBarDelegate(tree_));
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (const ChapterRow* row = rowOf(item); row && row->choosable()) choose(false);
    });

    auto button = [this](const char* name, const QString& caption, int x) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setGeometry(x, 478, 100, 32);
        return b;
    };
    sequential_ = button("btnshunxu", QStringLiteral("顺序练习"), 392);
    sequential_->setDefault(true);
    connect(sequential_, &QPushButton::clicked, this, &ChapterDialog::btnshunxuClick);
    random_ = button("btnsuijilx", QStringLiteral("随机练习"), 502);
    random_->setAutoDefault(false);
    connect(random_, &QPushButton::clicked, this, &ChapterDialog::btnsuijilxClick);
    QPushButton* close = button("btnguanbi", QStringLiteral("关闭"), 612);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    fillRows(window_.trainer().filed.rows());
    setTabOrder(tree_, sequential_);
    setTabOrder(sequential_, random_);
    setTabOrder(random_, close);
    KeyboardAccess::bind(this);
    ScreenReaderNames::apply(this);
    tree_->setFocus(); // the arrows move through the rows at once
}

void ChapterDialog::fillRows(const std::vector<ChapterRow>& rows) {
    rows_ = rows;
    tree_->clear();
    QTreeWidgetItem* chapter = nullptr;
    QTreeWidgetItem* first = nullptr;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const ChapterRow& row = rows_[i];
        QStringList cells{QString::fromStdString(row.name)};
        for (const std::string& c : ChapterRows::columns(row)) cells << QString::fromStdString(c);
        const bool topic = row.level == ChapterRow::Level::Topic && chapter;
        auto* item = topic ? new QTreeWidgetItem(chapter, cells) : new QTreeWidgetItem(tree_, cells);
        item->setData(0, kRowRole, static_cast<int>(i));
        item->setToolTip(0, item->text(0));
        for (int c = 1; c <= kBarColumn; ++c) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        if (!topic) {
            QFont bold = item->font(0);
            bold.setBold(true);
            item->setFont(0, bold);
        }
        if (row.level == ChapterRow::Level::Chapter) chapter = item;
        if (!first && row.choosable()) first = item;
    }
    tree_->expandAll();
    tree_->setCurrentItem(first);
    updateButtons();
}

const ChapterRow* ChapterDialog::rowOf(const QTreeWidgetItem* item) const {
    if (!item) return nullptr;
    bool ok = false;
    const int i = item->data(0, kRowRole).toInt(&ok);
    return ok && i >= 0 && i < static_cast<int>(rows_.size()) ? &rows_[static_cast<std::size_t>(i)] : nullptr;
}

void ChapterDialog::updateButtons() {
    const ChapterRow* row = rowOf(tree_->currentItem());
    const bool can = row && row->choosable();
    sequential_->setEnabled(can);
    random_->setEnabled(can);
}

int ChapterDialog::run() {
    if (!runHandler()) return exec();
    show();
    runHandler()(*this);
    if (isVisible()) reject(); // the handler left it open: as the close box
    return result();
}

void ChapterDialog::btnshunxuClick() { choose(false); }

void ChapterDialog::btnsuijilxClick() { choose(true); }

void ChapterDialog::choose(bool random) {
    const ChapterRow* row = rowOf(tree_->currentItem());
    if (!row || !row->choosable()) return;
    const ChapterRow chosen = *row; // the list's caption outlives this window
    accept();
    window_.trainer().filed.chooseRow(chosen, random, ModesRow::clockSeed());
}

} // namespace cxb
