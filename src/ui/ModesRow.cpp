#include "ui/ModesRow.h"

#include <QDateTime>
#include <QPushButton>

#include "ui/MainWindow.h"

namespace cxb {

namespace {
constexpr int kRowY = 494; // under 上一题 / 下一题 / 重新出题 / 隐藏选题区
} // namespace

ModesRow::ModesRow(MainWindow& window, QWidget* panel) : QObject(panel), window_(window), panel_(panel) {
    Trainer& t = window.trainer();
    connect(button("btnzhangjie", QStringLiteral("章节练习"), 600), &QPushButton::clicked, this,
            [this] { window_.openChapters(); });
    connect(button("btnsuiji", QStringLiteral("随机练习"), 720), &QPushButton::clicked, this,
            [&t] { t.filed.random(clockSeed()); });
    connect(button("btnshoucang", QStringLiteral("我的收藏"), 840), &QPushButton::clicked, this,
            [&t] { t.filed.favourites(); });
    QPushButton* smart = button("btnzhineng", QStringLiteral("智能复习"), 960);
    connect(smart, &QPushButton::clicked, this, [this] { window_.trainer().memory.start(); });
}

std::uint64_t ModesRow::clockSeed() { return static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch()); }

QPushButton* ModesRow::button(const char* name, const QString& caption, int x) {
    auto* b = new QPushButton(caption, panel_);
    b->setObjectName(name);
    b->setGeometry(x, kRowY, x == 960 ? 100 : 110, 36);
    return b;
}

} // namespace cxb
