#pragma once
// A trainer in a fresh program folder for the exam, history and export tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "engine/Trainer.h"
#include "support/FakeWindow.h"
#include "support/TempDir.h"

namespace cxb::test {

// 2012-05-06 13:05:22 UTC.
inline constexpr std::time_t kHandIn = 1336309522;

inline std::string gbkOf(const std::string& utf8) {
    auto g = gbk::fromUtf8(utf8);
    EXPECT_TRUE(g.has_value()) << utf8;
    return g.value_or(std::string());
}

inline std::int32_t int32At(const std::string& bytes, std::size_t at) {
    return readInt32(reinterpret_cast<const unsigned char*>(bytes.data() + at));
}

// Puts question `id` at record `i` of `b` with its type, answer code, text
// and picture name (both given in UTF-8, stored as GBK).
inline void setQuestion(Bank& b, int i, int id, int type, int answer, const std::string& text,
                        const std::string& picture) {
    QuestionRecord& r = b.records[static_cast<std::size_t>(i)];
    r.id = id;
    r.type = type;
    r.answer = answer;
    writeField(r.text, sizeof r.text, gbkOf(text));
    writeField(r.picture, sizeof r.picture, gbkOf(picture));
}

// A generated bank whose questions name no pictures (a missing picture
// would show its own message at every showing).
inline Bank bankOf(int questions) {
    Bank b = BankGenerator::make(questions);
    for (int i = 1; i <= questions; ++i) b.records[static_cast<std::size_t>(i)].picture[0] = '\0';
    return b;
}

class ExamRig : public ::testing::Test {
protected:
    TempDir dir;
    FakeWindow win;
    std::unique_ptr<Trainer> trainer;
    std::time_t now = kHandIn;

    static void SetUpTestSuite() {
        // Hand-in times are written in local time; make that UTC here.
        setenv("TZ", "UTC", 1);
        tzset();
    }

    // Writes `bank` as "bankdata\x.tk" (or `storedBankPath`) and a state
    // naming it with an exam of 5 questions, then starts the trainer as the
    // window does. `tweak` changes the state before it is written.
    void start(const Bank& bank, const std::function<void(Sfile&)>& tweak = {},
               const std::string& storedBankPath = "bankdata\\x.tk") {
        dir.mkdir("bankdata");
        auto st = StateFile::newRecord();
        StateFile::resetState(*st);
        st->examCount = 5;
        writeField(st->bankPath, gbkOf(storedBankPath));
        if (tweak) tweak(*st);
        std::string bankPath = toNative(readField(st->bankPath));
        EXPECT_EQ(BankFile::store(bank, bankPath), "");
        EXPECT_EQ(StateFile::saveState(*st, dir.file("bankdata/sys.dat")), 0);
        trainer = std::make_unique<Trainer>(win, dir.path());
        trainer->construct();
        trainer->formCreate();
        trainer->exam.setClock([this] { return now; });
        win.messages.clear();
    }

    std::string toNative(std::string_view stored) const {
        std::string p = gbk::toUtf8Lossy(stored);
        for (char& c : p)
            if (c == '\\') c = '/';
        return dir.path() + "/" + p;
    }

    Trainer& t() { return *trainer; }
    Session& s() { return trainer->s; }
    Sfile& st() { return *trainer->s.state; }
    ListEntry& entry(int i) { return trainer->s.entry(i); }
    std::string stateBytes() const { return dir.read("bankdata/sys.dat"); }

    // Starts an exam and hands it in with every entry answered right
    // (`right` true) or left unanswered.
    void sitExam(bool right) {
        t().modes.KaoShiClick();
        handIn(right);
    }
    void handIn(bool right) {
        for (int i = 1; i <= s().listCount; ++i)
            if (right) {
                entry(i).userAnswer = entry(i).answer;
                entry(i).firstRight = true;
            }
        t().exam.JIAOJUANClick();
    }

    // The bank record with this id.
    const QuestionRecord* recordOf(std::int32_t id) {
        int r = s().bank->findById(id);
        return r ? &s().record(r) : nullptr;
    }
};

} // namespace cxb::test
