#pragma once
#include <QObject>
#include <cstdint>

class QPushButton;
class QWidget;

namespace cxb {

class MainWindow;

// The row of the practice lists made of chosen questions, under the
// question view's commands: 章节练习 (chapters and topics), 随机练习,
// 我的收藏 and 智能复习.
class ModesRow : public QObject {
    Q_OBJECT
public:
    ModesRow(MainWindow& window, QWidget* panel);
    // The seed of a random list: the clock, so each draw differs.
    static std::uint64_t clockSeed();

private:
    QPushButton* button(const char* name, const QString& caption, int x);

    MainWindow& window_;
    QWidget* panel_;
};

} // namespace cxb
