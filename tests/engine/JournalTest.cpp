// The answer journal seen from the trainer: a run that ends without its
// close loses no answer and no exam, a close that ends half way counts
// nothing twice, and a save that fails offers 重试 and 放弃.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "data/AnswerJournal.h"
#include "data/AtomicFile.h"
#include "data/BankFile.h"
#include "data/FixedField.h"
#include "data/StateFile.h"
#include "engine/Texts.h"
#include "support/FaultInjection.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

// Stands for the program ending at that moment: nothing after it runs.
struct Ended : std::runtime_error {
    Ended() : std::runtime_error("the program ended here") {}
};

// Makes the saves of one file fail as on a full disk while it lives.
class FullDiskFor {
public:
    explicit FullDiskFor(std::string file) : file_(std::move(file)) {
        AtomicFile::setWriteHook([this](const std::string& path, std::size_t) { return !full || path.find(file_) == std::string::npos; });
    }
    ~FullDiskFor() { AtomicFile::setWriteHook({}); }
    bool full = true;

private:
    std::string file_;
};

struct Totals {
    int right = 0, wrong = 0, answered = 0;
    bool operator==(const Totals&) const = default;
};

} // namespace

class Journal : public TrainerTest {
protected:
    static constexpr int kQuestions = 30;

    void SetUp() override {
        writeFiles(plainBank(kQuestions), [](Sfile& st) { st.beginnerCount = 25; });
        restart();
    }
    // A start of the program in the same folder, as after the end of the last.
    void restart() {
        trainer.reset();
        win.forget();
        trainer = std::make_unique<Trainer>(win, dir.path());
        trainer->construct();
        trainer->formCreate();
    }
    // Answers entries 1..n of the list, right where `right(i)`, else wrong.
    void answer(int n, const std::function<bool(int)>& right = [](int i) { return i % 3 != 0; }) {
        for (int i = 1; i <= n; ++i) answerAt(i, right(i) ? entry(i).answer : (entry(i).answer == 1 ? 2 : 1));
    }
    Totals inMemory() {
        Totals t;
        for (int i = 1; i <= s().questionCount(); ++i) {
            t.right += s().record(i).rightCount;
            t.wrong += s().record(i).wrongCount;
            t.answered += s().record(i).answerCount;
        }
        return t;
    }
    Totals onDisk() {
        auto bank = BankFile::open(path("bankdata/x.tk"));
        EXPECT_TRUE(bank.ok());
        Totals t;
        for (int i = 1; bank && i <= bank->questionCount(); ++i) {
            t.right += bank->records[i].rightCount;
            t.wrong += bank->records[i].wrongCount;
            t.answered += bank->records[i].answerCount;
        }
        return t;
    }
    bool told(int answers) {
        return std::count(win.messages.begin(), win.messages.end(), texts::recovered(answers)) == 1;
    }
};

TEST_F(Journal, TwentyAnswersOfARunThatNeverClosedAreCountedAtTheNextStart) {
    answer(20);
    const Totals given = inMemory();
    ASSERT_EQ(given, (Totals{14, 6, 20}));
    std::vector<int> wrongOf(kQuestions + 1);
    for (int i = 1; i <= kQuestions; ++i) wrongOf[static_cast<std::size_t>(s().record(i).id)] = s().record(i).wrongCount;
    ASSERT_EQ(onDisk(), Totals{}); // a crash now: the bank file has none of them

    restart(); // no close before it
    EXPECT_TRUE(told(20)) << ::testing::PrintToString(win.messages);
    EXPECT_EQ(inMemory(), given);
    for (int i = 1; i <= kQuestions; ++i) EXPECT_EQ(s().record(i).wrongCount, wrongOf[static_cast<std::size_t>(s().record(i).id)]);

    t().closeQuery();
    EXPECT_EQ(onDisk(), given);
    restart();
    EXPECT_TRUE(win.messages.empty()) << "a clean close leaves nothing to recover";
    EXPECT_EQ(inMemory(), given);
}

TEST_F(Journal, ACloseEndedAtAnyPointCountsEveryAnswerOnce) {
    using Step = JournalKeeper::StoreStep;
    const struct {
        const char* name;
        std::function<void(Trainer&, RigWindow&)> arm;
        bool recovers; // the next start says it took answers back
    } cases[] = {
        {"after the intent", [](Trainer& t, RigWindow&) { t.journal.storeHook = [](Step s) { if (s == Step::Intended) throw Ended(); }; }, true},
        {"during the bank's write (the message of the full disk is up)",
         [](Trainer&, RigWindow& w) {
             AtomicFile::setWriteHook([](const std::string& p, std::size_t) { return p.find("x.tk") == std::string::npos; });
             w.onRetry = [] { throw Ended(); };
         },
         true},
        {"after the file, before the mark", [](Trainer& t, RigWindow&) { t.journal.storeHook = [](Step s) { if (s == Step::Written) throw Ended(); }; }, false},
        {"after the mark", [](Trainer& t, RigWindow&) { t.journal.storeHook = [](Step s) { if (s == Step::Marked) throw Ended(); }; }, false},
        {"not at all", [](Trainer&, RigWindow&) {}, false},
    };
    Totals total;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        t().modes.chujiClick();
        answer(5);
        total.answered += 5;
        const Totals before = inMemory();
        c.arm(t(), win);
        EXPECT_NO_FATAL_FAILURE(try { t().closeQuery(); } catch (const Ended&) {});
        AtomicFile::setWriteHook({});
        win.onRetry = nullptr;
        restart();
        EXPECT_EQ(inMemory(), before);
        EXPECT_EQ(inMemory().answered, total.answered);
        EXPECT_EQ(told(5), c.recovers) << ::testing::PrintToString(win.messages);
        // Another start without a close takes the same again, nothing more.
        restart();
        EXPECT_EQ(inMemory(), before);
        t().closeQuery(); // the next case starts from a stored bank
        EXPECT_EQ(onDisk(), before);
    }
    t().closeQuery();
    EXPECT_EQ(onDisk().answered, total.answered);
}

TEST_F(Journal, ADiskFullCloseOffersRetryAndLosesNothingOnceThereIsRoom) {
    answer(12);
    const Totals given = inMemory();
    {
        FullDiskFor disk("x.tk");
        win.retryAnswers = {true, true};
        int offers = 0;
        win.onRetry = [&] {
            if (++offers == 2) disk.full = false; // the learner frees some space
        };
        t().closeQuery();
        win.onRetry = nullptr;
    }
    EXPECT_EQ(win.retryOffers, 2);
    ASSERT_FALSE(win.messages.empty());
    EXPECT_EQ(firstLines(win.messages)[0], texts::kBankNotStored);
    EXPECT_NE(win.messages[0].find("重试"), std::string::npos);
    EXPECT_EQ(onDisk(), given);
    restart();
    EXPECT_TRUE(win.messages.empty());
    EXPECT_EQ(inMemory(), given);
}

TEST_F(Journal, GivingUpOnAFailedCloseKeepsTheAnswersForTheNextStart) {
    // Every way a bank save can fail, one after the other.
    const std::size_t size = BankFile::fileSize(kQuestions);
    int answered = 0;
    for (const SaveFault& fault : saveFaults(size)) {
        SCOPED_TRACE(fault.name);
        t().modes.chujiClick();
        answer(3);
        answered += 3;
        const Totals before = inMemory();
        const int offers = win.retryOffers;
        {
            auto armed = fault.arm(path("bankdata/x.tk"));
            t().closeQuery(); // 放弃
        }
        EXPECT_EQ(win.retryOffers, offers + 1);
        EXPECT_EQ(firstLines(win.messages).back(), texts::kBankNotStored);
        restart();
        EXPECT_EQ(inMemory(), before);
        EXPECT_TRUE(told(answered)) << "none of them reached the file yet";
    }
    t().closeQuery();
    EXPECT_EQ(onDisk().answered, answered);
}

TEST_F(Journal, AnExamHandedInThenKilledHasItsAnswersAndItsEntry) {
    t().modes.KaoShiClick();
    ASSERT_EQ(s().listCount, kQuestions);
    answer(8, [](int i) { return i <= 5; });
    t().exam.JIAOJUANClick();
    ASSERT_EQ(s().state->historyCount, 1);
    restart(); // killed after the hand-in
    EXPECT_TRUE(told(8));
    EXPECT_EQ(inMemory(), (Totals{5, 3, 8}));
    EXPECT_EQ(s().state->historyCount, 1) << "the hand-in was saved: nothing to restore";
    EXPECT_EQ(s().state->history[1].score, 5);
}

TEST_F(Journal, AHandInThatCannotBeSavedOffersRetryAndIsNeverLost) {
    t().modes.KaoShiClick();
    answer(4);
    {
        FullDiskFor disk("sys.dat");
        win.retryAnswers = {true}; // retried once, still full, then 放弃
        t().exam.JIAOJUANClick();
    }
    EXPECT_EQ(win.retryOffers, 2);
    EXPECT_EQ(firstLines(win.messages).back(), texts::kCode3);
    auto saved = StateFile::newRecord();
    StateFile::parse(readFile(path("bankdata/sys.dat")), *saved);
    ASSERT_EQ(saved->historyCount, 0);

    restart(); // killed with the exam only in memory and in the journal
    EXPECT_TRUE(told(4));
    ASSERT_EQ(s().state->historyCount, 1);
    StateFile::parse(readFile(path("bankdata/sys.dat")), *saved);
    EXPECT_EQ(saved->historyCount, 1) << "the restored exam is written at once";
    EXPECT_EQ(s().state->history[1].itemCount, kQuestions);

    restart();
    EXPECT_EQ(s().state->historyCount, 1) << "restored once, never twice";
}

TEST_F(Journal, AFailedHandInIsWrittenWithTheNextSuccessfulSave) {
    t().modes.KaoShiClick();
    answer(2);
    {
        FullDiskFor disk("sys.dat");
        t().exam.JIAOJUANClick(); // 放弃
    }
    ASSERT_EQ(s().state->historyCount, 1);
    ASSERT_TRUE(t().saveState()); // settings OK, say
    t().closeQuery();
    restart();
    EXPECT_TRUE(win.messages.empty()) << ::testing::PrintToString(win.messages);
    EXPECT_EQ(s().state->historyCount, 1);
}

TEST_F(Journal, ATrainerWithoutAJournalStillStoresAtTheClose) {
    trainer.reset();
    std::filesystem::remove_all(path("bankdata/journal.db"));
    std::filesystem::remove_all(path("bankdata/journal.db-wal"));
    std::filesystem::remove_all(path("bankdata/journal.db-shm"));
    dir.mkdir("bankdata/journal.db"); // a folder where the journal would be
    restart();
    EXPECT_FALSE(t().journal.isOpen());
    answer(4);
    t().closeQuery();
    EXPECT_EQ(onDisk().answered, 4);
}

TEST_F(Journal, AnswersGoToTheBankTheyWereGivenIn) {
    // A second bank, chosen in the settings; the first one cannot be written.
    ASSERT_EQ("", BankFile::store(plainBank(10), path("y.tk")));
    answer(6);
    std::filesystem::permissions(path("bankdata/x.tk"), std::filesystem::perms::owner_read);
    writeField(s().state->bankPath, "y.tk");
    s().state->bankChoice = 4;
    s().state->extraBank = 1;
    t().reloadBank(); // the message: x.tk could not be written
    t().modes.chujiClick();
    answer(2);
    t().closeQuery();
    std::filesystem::permissions(path("bankdata/x.tk"), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    auto y = BankFile::open(path("y.tk"));
    ASSERT_TRUE(y.ok());
    int inY = 0;
    for (int i = 1; i <= y->questionCount(); ++i) inY += y->records[i].answerCount;
    EXPECT_EQ(inY, 2);

    // Back to the first bank: its six answers come back from the journal.
    writeField(s().state->bankPath, "bankdata\\x.tk");
    s().state->bankChoice = 1;
    s().state->extraBank = 0;
    ASSERT_TRUE(t().reloadBank());
    EXPECT_EQ(inMemory().answered, 6);
    t().closeQuery();
    EXPECT_EQ(onDisk().answered, 6);
}
