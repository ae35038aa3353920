#include "ui/HistoryDialog.h"

#include "ui/KeyboardAccess.h"
#include "ui/ScreenReaderNames.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "engine/ProgressStats.h"
#include "ui/ChartWindows.h"
#include "ui/ExportDialog.h"
#include "ui/MainWindow.h"

namespace cxb {
namespace {
std::function<void(HistoryDialog&)>& showHandler() {
    static std::function<void(HistoryDialog&)> h;
    return h;
}
} // namespace

void HistoryDialog::setShowHandler(std::function<void(HistoryDialog&)> handler) { showHandler() = std::move(handler); }

HistoryDialog::HistoryDialog(MainWindow& window) : QDialog(&window), window_(window) {
    setObjectName("Tlishidlg");
    setWindowTitle(QStringLiteral("历史考试"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(631, 302);

    lv1_ = new QTreeWidget(this);
    lv1_->setObjectName("lv1");
    lv1_->setGeometry(8, 8, 400, 286);
    lv1_->setRootIsDecorated(false);
    lv1_->setUniformRowHeights(true);
    lv1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lv1_->setSelectionMode(QAbstractItemView::SingleSelection);
    lv1_->setHeaderLabels({QStringLiteral("ID"), QStringLiteral("时间"), QStringLiteral("分数"), QStringLiteral("类型")});
    lv1_->header()->resizeSection(0, 50); // a list column's default width
    lv1_->header()->resizeSection(1, 210);
    lv1_->header()->resizeSection(2, 50);
    lv1_->header()->resizeSection(3, 80);
    connect(lv1_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) window_.trainer().history.lv1Change(item->text(0).toInt());
    });

    struct Action {
        const char* name;
        const char* caption;
        const char* hint;
        void (HistoryDialog::*handler)();
    };
    const Action actions[] = {
        {"btn3", "查看考试卷", "你可以查看你哪道题错了", &HistoryDialog::btn3Click},
        {"btn1", "再次考试本卷", "你可以再次考试这份卷子", &HistoryDialog::btn1Click},
        {"btn4", "导出、打印", "可以把考试卷导出，然后可以打印，\n和朋友分享", &HistoryDialog::btn4Click},
        {"btn2", "删除本卷", "你可以把多余的考试卷删除", &HistoryDialog::btn2Click},
    };
    int y = 10;
    int n = 0;
    for (const Action& a : actions) {
        auto* button = new QPushButton(QString::fromUtf8(a.caption), this);
        button->setObjectName(a.name);
        button->setGeometry(416, y, 120, 30);
        connect(button, &QPushButton::clicked, this, a.handler);
        auto* hint = new QLabel(QString::fromUtf8(a.hint), this);
        hint->setObjectName(QStringLiteral("lblhint%1").arg(++n));
        hint->setGeometry(416, y + 32, 210, 36);
        hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        y += 72;
    }

    // The papers of the loaded bank and the bank itself, drawn as charts,
    // beside the first two actions.
    auto* trend = new QPushButton(QStringLiteral("成绩走势"), this);
    trend->setObjectName("btntrend");
    trend->setGeometry(542, 10, 84, 30);
    connect(trend, &QPushButton::clicked, this,
            [this] { ChartWindows::showTrend(this, window_.trainer().memory.scoreTrend()); });
    auto* progress = new QPushButton(QStringLiteral("学习进度"), this);
    progress->setObjectName("btnprogress");
    progress->setGeometry(542, 82, 84, 30);
    connect(progress, &QPushButton::clicked, this,
            [this] { ChartWindows::showProgress(this, window_.trainer().memory.bankProgress()); });
    KeyboardAccess::bind(this);
    ScreenReaderNames::apply(this);
}

void HistoryDialog::fillRows() {
    QSignalBlocker quiet(lv1_);
    lv1_->clear();
    for (const HistoryRow& r : window_.trainer().history.rows()) {
        auto* item = new QTreeWidgetItem(lv1_);
        item->setText(0, QString::fromStdString(r.number));
        item->setText(1, QString::fromStdString(r.takenAt));
        item->setText(2, QString::fromStdString(r.score));
        item->setText(3, QString::fromStdString(r.bankName));
        item->setToolTip(3, QString::fromStdString(r.bankName));
    }
    lv1_->setCurrentItem(nullptr);
}

void HistoryDialog::fillHistoryList() {
    window_.trainer().history.fillHistoryList();
    fillRows();
    if (showHandler()) {
        showHandler()(*this);
        return;
    }
    exec();
}

void HistoryDialog::btn3Click() {
    if (window_.trainer().history.btn3Click()) accept();
}

void HistoryDialog::btn1Click() {
    if (window_.trainer().history.btn1Click()) accept();
}

void HistoryDialog::btn4Click() {
    HistoryBook& book = window_.trainer().history;
    if (book.btn4Click()) window_.exportDialog().buildPaperPages(book.selectedEntry);
}

void HistoryDialog::btn2Click() {
    if (window_.trainer().history.btn2Click()) fillRows();
}

} // namespace cxb
