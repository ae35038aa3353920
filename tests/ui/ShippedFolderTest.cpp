// The runnable folder as it ships, opened the way a learner opens it.
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

#include "data/StateFile.h"
#include "engine/StarterState.h"
#include "engine/Texts.h"
#include "support/ShippedCopy.h"
#include "support/TempDir.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"

using namespace cxb;
namespace fs = std::filesystem;

TEST(ShippedFolder, OpensInPracticeWithoutAMessageBox) {
    // The state file as the build ships it (the build folder's own may have
    // been used since).
    test::ShippedCopy shipped;
    test::TempDir& dir = shipped.dir;

    std::vector<QString> messages;
    Dialogs::setMessageHandler([&](const QString& m) {
        // The small-screen hint depends on the screen, not on the folder.
        if (m.toStdString().rfind(texts::kSmallScreen, 0) != 0) messages.push_back(m);
    });
    {
        MainWindow w(QString::fromStdString(dir.path()));
        w.show();
        QTest::qWait(20);
        const Session& s = w.trainer().s;
        EXPECT_TRUE(s.bankLoaded);
        EXPECT_GE(s.questionCount(), 725);
        EXPECT_GT(s.listCount, 0);
        EXPECT_TRUE(w.findChild<QWidget*>("pnl2")->isVisible());
        EXPECT_EQ(s.state->examCount, 100);
        // A mock exam has its 100 questions at once.
        w.trainer().modes.KaoShiClick();
        EXPECT_EQ(s.listCount, 100);
        w.close();
    }
    Dialogs::setMessageHandler({});
    for (const QString& m : messages) ADD_FAILURE() << "message box: " << m.toStdString();
}
