#include "ui/SidePanels.h"

#include "ui/FittedPicture.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QWindow>

#include "engine/AboutPage.h"
#include "ui/MainWindow.h"

namespace cxb {

namespace {

// A panel that moves the window when the bare panel is dragged.
class DragPanel : public QWidget {
public:
    DragPanel(QWidget* parent, bool drags) : QWidget(parent), drags_(drags) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (drags_ && window()->windowHandle()) window()->windowHandle()->startSystemMove();
        event->accept();
    }

private:
    bool drags_;
};

} // namespace

SidePanels::SidePanels(MainWindow& window) : QObject(&window), window_(window) {
    buildReview();
    buildSearch();
    buildResult();
    buildInformation();
}

QWidget* SidePanels::panel(const char* name) {
    auto* p = new DragPanel(&window_, QByteArray(name) == "pnlIE");
    p->setObjectName(name);
    p->setGeometry(0, 100, MainWindow::kDesignWidth, MainWindow::kDesignHeight - 100);
    p->hide();
    return p;
}

QTreeWidget* SidePanels::makeQuestionList(QWidget* parent, const char* name) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHeaderLabels({QStringLiteral("ID"), QStringLiteral("内容"), QStringLiteral("答案"),
                           QStringLiteral("正确次数"), QStringLiteral("错误次数"), QStringLiteral("答题次数"),
                           QStringLiteral("连续答对")});
    list->header()->resizeSection(0, 50); // a list column's default width
    list->header()->resizeSection(1, 200);
    list->header()->resizeSection(2, 50);
    list->header()->resizeSection(3, 65);
    list->header()->resizeSection(4, 65);
    list->header()->resizeSection(5, 65);
    // How far a question has come towards the review's mastery: shown only
    // while a list has such figures.
    list->header()->resizeSection(6, 65);
    list->setColumnHidden(6, true);
    // The question text takes the width the other columns leave.
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    return list;
}

void SidePanels::buildReview() {
    Trainer& t = window_.trainer();
    WindowAdapter& a = window_.adapter();
    QWidget* p = panel("pnl1");
    a.registerControl(Ctl::pnl1, p);
    auto* red = new QLabel(QStringLiteral("根据错误次数排列"), p);
    red->setStyleSheet("color: red;");
    red->setGeometry(24, 10, 300, 22);
    auto* list = makeQuestionList(p, "lv1");
    list->setGeometry(24, 36, 1036, 520);
    a.registerControl(Ctl::lv1, list);
    connect(list, &QTreeWidget::currentItemChanged, this, [list, &t](QTreeWidgetItem* item) {
        if (item) t.review.lv1SelectItem(list->indexOfTopLevelItem(item));
    });
    auto button = [p](const char* name, const QString& caption, int x) {
        auto* b = new QPushButton(caption, p);
        b->setObjectName(name);
        b->setGeometry(x, 570, 170, 40);
        return b;
    };
    connect(button("btnGCerror", QStringLiteral("刚才的错题"), 24), &QPushButton::clicked, this,
            [&t] { t.review.btnGCerrorClick(); });
    connect(button("btnQuanBu", QStringLiteral("曾经全部错题"), 204), &QPushButton::clicked, this,
            [&t] { t.review.btnQuanBuClick(); });
    auto* practise = button("btn4", QStringLiteral("练习"), 384);
    a.registerControl(Ctl::btn4, practise);
    connect(practise, &QPushButton::clicked, this, [&t] { t.review.btn4Click(); });
    connect(button("Button3", QStringLiteral("本题分析"), 564), &QPushButton::clicked, this,
            [&t] { t.review.Button3Click(); });
}

void SidePanels::buildSearch() {
    Trainer& t = window_.trainer();
    WindowAdapter& a = window_.adapter();
    QWidget* p = panel("souPNL");
    a.registerControl(Ctl::souPNL, p);
    auto* edit = new QLineEdit(p);
    edit->setObjectName("edtchazhao");
    edit->setPlaceholderText(QStringLiteral("输入题目ID或题目中的文字"));
    edit->setGeometry(24, 10, 400, 30);
    a.registerControl(Ctl::edtchazhao, edit);
    auto* find = new QPushButton(QStringLiteral("搜索"), p);
    find->setObjectName("sou");
    find->setGeometry(434, 10, 100, 30);
    auto search = [edit, &t] {
        t.search.setSearchText(edit->text().toStdString());
        t.search.souClick();
    };
    connect(edit, &QLineEdit::textChanged, this, [&t](const QString& s) { t.search.setSearchText(s.toStdString()); });
    connect(find, &QPushButton::clicked, this, search);
    connect(edit, &QLineEdit::returnPressed, this, search);
    auto* list = makeQuestionList(p, "lv2");
    list->setGeometry(24, 50, 600, 560);
    a.registerControl(Ctl::lv2, list);
    connect(list, &QTreeWidget::currentItemChanged, this, [list, &t](QTreeWidgetItem* item) {
        if (item) t.search.lv2SelectItem(list->indexOfTopLevelItem(item));
    });
    auto* memo = new QPlainTextEdit(p);
    memo->setObjectName("mmo1");
    memo->setReadOnly(true);
    memo->setGeometry(640, 50, 420, 200);
    a.registerControl(Ctl::mmo1, memo);
    auto* answer = new QLabel(p);
    answer->setObjectName("lbl3");
    answer->setGeometry(640, 256, 420, 24);
    a.registerControl(Ctl::lbl3, answer);
    auto* image = new FittedPicture(p);
    image->setObjectName("img1");
    image->setGeometry(640, 290, 420, 320);
    image->setAlignment(Qt::AlignCenter);
    a.registerControl(Ctl::img1, image);
    auto* analysis = new QPushButton(QStringLiteral("本题分析"), p);
    analysis->setObjectName("btnfx");
    analysis->setGeometry(960, 10, 100, 30);
}

void SidePanels::buildResult() {
    Trainer& t = window_.trainer();
    WindowAdapter& a = window_.adapter();
    QWidget* p = panel("Panel2");
    a.registerControl(Ctl::Panel2, p);
    auto* fixed = new QLabel(QStringLiteral("错题已经记录在《错误集中》"), p);
    fixed->setGeometry(300, 40, 486, 30);
    fixed->setAlignment(Qt::AlignCenter);
    auto* message = new QLabel(p);
    message->setObjectName("LabelMessage");
    message->setGeometry(243, 90, 600, 220);
    message->setAlignment(Qt::AlignCenter);
    message->setWordWrap(true);
    QFont f = message->font();
    f.setPointSize(16);
    message->setFont(f);
    a.registerControl(Ctl::LabelMessage, message);
    auto* chance = new QLabel(p);
    chance->setObjectName("lbltongguo");
    chance->setGeometry(163, 396, 760, 60); // under the buttons
    chance->setAlignment(Qt::AlignCenter);
    chance->setWordWrap(true);
    a.registerControl(Ctl::lbltongguo, chance);
    auto button = [p](const char* name, const QString& caption, int x) {
        auto* b = new QPushButton(caption, p);
        b->setObjectName(name);
        b->setGeometry(x, 340, 170, 40);
        return b;
    };
    connect(button("btn1", QStringLiteral("关闭"), 263), &QPushButton::clicked, this, [&t] { t.exam.btn1Click(); });
    connect(button("Button1", QStringLiteral("错误集"), 453), &QPushButton::clicked, this,
            [&t] { t.review.btnErrorLianXClick(); });
    auto* retry = button("btn3", QStringLiteral("再次挑战刚刚错题"), 643);
    retry->hide();
    a.registerControl(Ctl::btn3, retry);
    connect(retry, &QPushButton::clicked, this, [&t] { t.modes.btn3Click(); });
}

void SidePanels::buildInformation() {
    WindowAdapter& a = window_.adapter();
    QWidget* p = panel("pnlIE");
    a.registerControl(Ctl::pnlIE, p);
    auto* page = new QTextBrowser(p);
    page->setObjectName("WebBrowser1");
    page->setGeometry(24, 10, 1036, 560);
    page->setOpenExternalLinks(true);
    for (int i = 1; i <= 3; ++i) {
        auto* b = new QPushButton(p);
        b->setObjectName(QStringLiteral("BitBtn%1").arg(i));
        b->hide(); // the maker's web pages: none yet
    }
}

void SidePanels::loadInformationPage() {
    auto* page = window_.findChild<QTextBrowser*>("WebBrowser1");
    if (!page) return;
    page->setHtml(QString::fromStdString(AboutPage::html(window_.trainer().s, window_.trainer().memory.infoHtml())));
}

} // namespace cxb
