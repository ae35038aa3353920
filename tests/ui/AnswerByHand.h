#pragma once
// Answers the question on show with its right answer, as a learner would:
// a key for true/false, a click on the answer picture for single choice, the
// boxes and "完成" for multiple choice.
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include "engine/ListEntry.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"

namespace cxb::test {

inline void answerRight(MainWindow& w, const ListEntry& e) {
    if (e.type == 2) {
        QTest::keyClick(&w, e.answer == 6 ? Qt::Key_A : Qt::Key_B);
    } else if (e.type == 1) {
        const char* names[] = {"Image1", "Image3", "img3", "img4"};
        QTest::mouseClick(w.findChild<PictureButton*>(names[e.answer - 1]), Qt::LeftButton);
    } else {
        for (int bit = 0; bit < 8; ++bit)
            if (e.answer & (2 << bit)) w.findChild<QCheckBox*>(QStringLiteral("chk%1").arg(QChar('A' + bit)))->click();
        QTest::mouseClick(w.findChild<QPushButton*>("btnduoxuan"), Qt::LeftButton);
    }
}

} // namespace cxb::test
