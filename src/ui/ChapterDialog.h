#pragma once
#include <QDialog>
#include <functional>
#include <vector>

#include "engine/ChapterRows.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace cxb {

class MainWindow;

// TFormChapters "章节练习、专项练习": the four chapters with their topics
// beneath, and 未分类, each with its figures and a bar of the share
// answered. 顺序练习 (Enter, a double click) or 随机练习 starts the list of
// the chosen row and closes the window; the rows and what choosing does are
// the engine's (ChapterRows, FiledPractice).
class ChapterDialog : public QDialog {
    Q_OBJECT
public:
    explicit ChapterDialog(MainWindow& window);

    // Shows the window modally until a list is chosen or it is closed.
    int run();

    // Lists `rows` (the engine's), the first that can be chosen selected.
    void fillRows(const std::vector<ChapterRow>& rows);
    QTreeWidget* tree() const { return tree_; }
    // The row of an item of the tree, nullptr for none.
    const ChapterRow* rowOf(const QTreeWidgetItem* item) const;

    void btnshunxuClick();  // 顺序练习
    void btnsuijilxClick(); // 随机练习

    // Test seam: while set, run() shows the window without a modal loop and
    // lets this answer it.
    static void setRunHandler(std::function<void(ChapterDialog&)> handler);

private:
    void choose(bool random);
    void updateButtons();

    MainWindow& window_;
    std::vector<ChapterRow> rows_;
    QTreeWidget* tree_ = nullptr;
    QPushButton* sequential_ = nullptr;
    QPushButton* random_ = nullptr;
};

} // namespace cxb
