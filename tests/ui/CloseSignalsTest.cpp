// Real signals sent to this process close the real window the normal way:
// the bank is written and the journal marked. A close that cannot write the
// bank asks 重试 or 放弃 in the window's own message box seam.
#include <QApplication>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>

#include "data/AnswerJournal.h"
#include "data/AtomicFile.h"
#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "AnswerByHand.h"
#include "engine/Texts.h"
#include "support/TempDir.h"
#include "ui/CloseSignals.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"

using namespace cxb;

namespace {

struct Folder {
    test::TempDir dir;
    Folder() {
        dir.mkdir("bankdata");
        EXPECT_EQ(BankFile::store(BankGenerator::make(40, 7), bank()), "");
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, *gbk::fromUtf8("bankdata\\小车.tk"));
        EXPECT_EQ(StateFile::saveState(*state, dir.file("bankdata/sys.dat")), 0);
    }
    std::string bank() const { return dir.file("bankdata/小车.tk"); }
    int storedAnswers() const {
        auto b = BankFile::open(bank());
        int sum = 0;
        for (int i = 1; b && i <= b->questionCount(); ++i) sum += b->records[static_cast<std::size_t>(i)].answerCount;
        return sum;
    }
    // The journal says every answer of the car bank is in its file.
    bool journalMarked() const {
        auto j = AnswerJournal::open(dir.file("bankdata/journal.db"));
        if (!j) return false;
        const JournalBankStore st = j->store("TKxiaoche");
        return !st.intended && st.appliedSeq == j->lastSeq("TKxiaoche") && st.appliedSeq > 0;
    }
};

struct Messages {
    std::vector<QString> seen;
    Messages() { Dialogs::setMessageHandler([this](const QString& m) { seen.push_back(m); }); }
    ~Messages() { Dialogs::setMessageHandler({}); }
};

// Answers the first `n` entries of the list right, by hand.
void answer(MainWindow& w, int n) {
    w.trainer().s.checkBox2 = false; // no automatic move: the test moves on itself
    for (int i = 1; i <= n; ++i) {
        w.trainer().view.showQuestion(i);
        test::answerRight(w, w.trainer().s.entry(i));
    }
}

} // namespace

TEST(CloseSignals, TermHangUpAndInterruptCloseTheWindowAndStoreTheBank) {
    for (int number : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(number);
        Folder f;
        Messages messages;
        MainWindow w(QString::fromStdString(f.dir.path()));
        new CloseSignals(w);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        answer(w, 3);
        ASSERT_EQ(f.storedAnswers(), 0);
        ASSERT_EQ(::kill(::getpid(), number), 0); // the process lives on: the handler only writes the pipe
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }, 10000));
        EXPECT_EQ(f.storedAnswers(), 3);
        EXPECT_TRUE(f.journalMarked());
        for (const QString& m : messages.seen) EXPECT_FALSE(m.startsWith(QString::fromUtf8(texts::kBankNotStored))) << m.toStdString();
    }
}

TEST(CloseSignals, AClosedWindowGivesTheSignalsTheirDefaultBack) {
    struct sigaction before {};
    {
        Folder f;
        Messages messages;
        MainWindow w(QString::fromStdString(f.dir.path()));
        new CloseSignals(w);
        ::sigaction(SIGTERM, nullptr, &before);
        EXPECT_NE(before.sa_handler, SIG_DFL);
    }
    struct sigaction after {};
    ::sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, SIG_DFL);
}

TEST(CloseSignals, ACloseOnAFullDiskAsksRetryAndStoresOnceThereIsRoom) {
    Folder f;
    Messages messages;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    answer(w, 4);
    bool full = true;
    AtomicFile::setWriteHook([&](const std::string& path, std::size_t) { return !full || path.find(".tk") == std::string::npos; });
    std::vector<QString> asked;
    Dialogs::setRetryHandler([&](const QString& text) {
        asked.push_back(text);
        full = false; // room made while the message is up
        return true;  // 重试
    });
    w.close();
    Dialogs::setRetryHandler({});
    AtomicFile::setWriteHook({});
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].startsWith(QString::fromUtf8(texts::kBankNotStored)));
    EXPECT_TRUE(asked[0].contains(QStringLiteral("重试")));
    EXPECT_EQ(f.storedAnswers(), 4);
    EXPECT_TRUE(f.journalMarked());
}
