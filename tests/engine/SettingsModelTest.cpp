#include <sys/stat.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "engine/SettingsModel.h"
#include "engine/FileMessage.h"
#include "engine/Texts.h"
#include "engine/Trainer.h"
#include "support/FakeWindow.h"
#include "support/TempDir.h"

using namespace cxb;

namespace {

std::string gbkOf(const std::string& utf8) { return *gbk::fromUtf8(utf8); }

std::string bytesOf(const Sfile& s) { return std::string(reinterpret_cast<const char*>(&s), sizeof(Sfile)); }

std::int32_t intAt(const std::string& bytes, std::size_t offset) {
    return readInt32(reinterpret_cast<const unsigned char*>(bytes.data() + offset));
}

// A program folder with the car bank (30 questions) and the bus bank (20)
// and a state file that names the car bank; the trainer is started on it.
struct Started {
    test::TempDir dir;
    test::FakeWindow window;
    Trainer trainer{window, dir.path()};

    Started() {
        dir.mkdir("bankdata");
        EXPECT_EQ(BankFile::store(BankGenerator::make(30, 3), dir.file("bankdata/小车.tk")), "");
        EXPECT_EQ(BankFile::store(BankGenerator::make(20, 4), dir.file("bankdata/客车.tk")), "");
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, gbkOf("bankdata\\小车.tk"));
        state->examCount = 100;
        state->unused = 0x5A; // bytes OK does not own stay as they are
        EXPECT_EQ(StateFile::saveState(*state, dir.file("bankdata/sys.dat")), 0);
        trainer.construct();
        trainer.formCreate();
        window.messages.clear();
    }
    Sfile& state() { return *trainer.s.state; }
    std::string stateFile() const { return dir.read("bankdata/sys.dat"); }
    SettingsValues opening() { return SettingsModel::openingValues(state()); }
};

std::string invalid(const std::string& text) { return "''" + text + "'' is not a valid integer value"; }

} // namespace

TEST(SettingsOpening, ShowsTheStoredSettingsAsText) {
    auto st = StateFile::newRecord();
    StateFile::resetState(*st);
    st->examCount = 0;
    st->pauseMs = -250; // foreign values are shown as they are
    st->backColor = 0x00CFE8CC;
    st->textColor = 0x00102030;
    SettingsValues v = SettingsModel::openingValues(*st);
    EXPECT_EQ(v.bankRadio, 1);
    EXPECT_EQ(v.beginnerCount, "10");
    EXPECT_EQ(v.hardCount, "10");
    EXPECT_EQ(v.hardSensitivity, "2");
    EXPECT_EQ(v.keys, (std::array<std::string, 6>{"105", "102", "97", "98", "99", "100"}));
    EXPECT_EQ(v.pauseMs, "-250");
    EXPECT_EQ(v.examSeconds, "2700");
    EXPECT_EQ(v.examCount, "0");
    EXPECT_EQ(v.backColor, 0x00CFE8CC);
    EXPECT_EQ(v.textColor, 0x00102030);
}

TEST(SettingsOpening, ComboTextOnlyForAnExtraBank) {
    struct Case {
        int choice;
        int radio;
        std::string text;
    } cases[] = {
        {1, 1, ""}, {2, 2, ""}, {3, 3, ""}, {4, 4, "我的题库.tk"}, {0, 0, ""}, {5, 0, ""}, {-1, 0, ""},
    };
    for (const Case& c : cases) {
        auto st = StateFile::newRecord();
        st->bankChoice = c.choice;
        writeField(st->bankPath, gbkOf("我的题库.tk"));
        SettingsValues v = SettingsModel::openingValues(*st);
        EXPECT_EQ(v.bankRadio, c.radio) << c.choice;
        EXPECT_EQ(v.bankText, c.text) << c.choice;
    }
}

TEST(SettingsNumbers, AcceptsExactlyThe32BitIntegers) {
    struct Case {
        const char* text;
        bool ok;
        std::int32_t value;
    } cases[] = {
        {"0", true, 0},
        {"007", true, 7},
        {"25", true, 25},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"", false, 0},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999999", false, 0},
        {"-", false, 0},
        {"12a", false, 0},
        {" 5", false, 0},
        {"5 ", false, 0},
    };
    for (const Case& c : cases) {
        std::int32_t out = -99;
        EXPECT_EQ(SettingsModel::parseInteger(c.text, out), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(out, c.value) << c.text;
        }
    }
}

TEST(SettingsApply, StoresEverySettingSavesAndAppliesToTheWindow) {
    Started t;
    SettingsValues v = t.opening();
    v.bankRadio = 2;
    v.beginnerCount = "0";
    v.hardCount = "15";
    v.hardSensitivity = "25"; // beyond the label's 0~10: taken as typed
    v.keys = {"37", "39", "65", "66", "67", "68"};
    v.pauseMs = "400";
    v.examSeconds = "600";
    v.examCount = "50";
    v.backColor = SettingsModel::kSuggestedBack;
    v.textColor = SettingsModel::kSuggestedText;

    SettingsOutcome out = SettingsModel::apply(t.trainer, v);
    ASSERT_TRUE(out.applied) << out.message;
    EXPECT_TRUE(t.window.messages.empty());

    const Sfile& st = t.state();
    EXPECT_EQ(st.bankChoice, 2);
    EXPECT_EQ(st.extraBank, 0);
    EXPECT_EQ(readField(st.bankPath), gbkOf("bankdata\\客车.tk"));
    EXPECT_EQ(st.beginnerCount, 0);
    EXPECT_EQ(st.hardCount, 15);
    EXPECT_EQ(st.hardSensitivity, 25);
    EXPECT_EQ(st.keyPrevious, 37);
    EXPECT_EQ(st.keyNext, 39);
    EXPECT_EQ(st.keyAnswerA, 65);
    EXPECT_EQ(st.keyAnswerD, 68);
    EXPECT_EQ(st.pauseMs, 400);
    EXPECT_EQ(st.examSeconds, 600);
    EXPECT_EQ(st.examCount, 50);
    EXPECT_EQ(st.unused, 0x5A);

    // The state file holds exactly the record, suggested colours included.
    std::string file = t.stateFile();
    EXPECT_EQ(file, bytesOf(st));
    EXPECT_EQ(intAt(file, 8), 13625548);
    EXPECT_EQ(intAt(file, 4), 0);

    // The window: bank size, colours of Memo1, the pause of TimerNext.
    EXPECT_EQ(t.trainer.s.bankCount, 20);
    EXPECT_EQ(t.window.textColours, std::make_pair(SettingsModel::kSuggestedBack, SettingsModel::kSuggestedText));
    EXPECT_EQ(t.window.intervals.at(Tmr::TimerNext), 400);
    EXPECT_FALSE(t.window.running(Tmr::TimerNext)); // the interval alone starts nothing
}

TEST(SettingsApply, NoBankCheckedKeepsThePathAndChoosesTheCarBank) {
    Started t;
    t.state().bankChoice = 9;
    t.state().extraBank = 1;
    SettingsValues v = t.opening();
    ASSERT_EQ(v.bankRadio, 0);
    ASSERT_TRUE(SettingsModel::apply(t.trainer, v).applied);
    EXPECT_EQ(t.state().bankChoice, 1);
    EXPECT_EQ(t.state().extraBank, 0);
    EXPECT_EQ(readField(t.state().bankPath), gbkOf("bankdata\\小车.tk"));
}

TEST(SettingsApply, ARefusedNumberChangesNothing) {
    // Each number field in turn is cleared (or too large) while every other
    // control holds a change: OK names the field and touches nothing.
    struct Case {
        SettingsField field;
        std::string SettingsValues::*text; // nullptr: a key edit
        int key;
    } cases[] = {
        {SettingsField::chuji, &SettingsValues::beginnerCount, -1},
        {SettingsField::nanti, &SettingsValues::hardCount, -1},
        {SettingsField::nantixishu, &SettingsValues::hardSensitivity, -1},
        {SettingsField::edt1, nullptr, 0},
        {SettingsField::edt2, nullptr, 1},
        {SettingsField::edt3, nullptr, 2},
        {SettingsField::edt4, nullptr, 3},
        {SettingsField::edt5, nullptr, 4},
        {SettingsField::edt6, nullptr, 5},
        {SettingsField::edt7, &SettingsValues::pauseMs, -1},
        {SettingsField::edt8, &SettingsValues::examSeconds, -1},
        {SettingsField::edtkaoshitishu, &SettingsValues::examCount, -1},
    };
    for (const char* bad : {"", "2147483648"}) {
        for (const Case& c : cases) {
            Started t;
            t.trainer.s.record(1).wrongCount += 3; // a counter not yet written back
            const std::string memoryBefore = bytesOf(t.state());
            const std::string fileBefore = t.stateFile();
            const std::string bankBefore = t.dir.read("bankdata/小车.tk");

            SettingsValues v = t.opening();
            v.bankRadio = 4;
            v.bankText = "其他.tk";
            v.backColor = SettingsModel::kSuggestedBack;
            v.textColor = 0x00FFFFFF;
            v.beginnerCount = "20";
            v.keys[0] = "37";
            v.examCount = "30";
            if (c.text)
                v.*c.text = bad;
            else
                v.keys[static_cast<std::size_t>(c.key)] = bad;

            SettingsOutcome out = SettingsModel::apply(t.trainer, v);
            EXPECT_FALSE(out.applied);
            EXPECT_EQ(out.field, c.field) << bad;
            EXPECT_EQ(out.message, invalid(bad));
            EXPECT_EQ(bytesOf(t.state()), memoryBefore) << static_cast<int>(c.field) << " " << bad;
            EXPECT_EQ(t.stateFile(), fileBefore);
            EXPECT_EQ(t.dir.read("bankdata/小车.tk"), bankBefore); // nothing written back
            EXPECT_TRUE(t.trainer.s.bankLoaded);
            EXPECT_EQ(t.trainer.s.bankCount, 30);
            EXPECT_TRUE(t.window.messages.empty());
            EXPECT_EQ(t.window.textColours.first, -1);
            EXPECT_TRUE(t.window.intervals.empty());
        }
    }
}

TEST(SettingsApply, TheFirstRefusedFieldIsNamed) {
    Started t;
    SettingsValues v = t.opening();
    v.keys[3] = "";
    v.examSeconds = "x";
    v.hardCount = "99999999999";
    SettingsOutcome out = SettingsModel::apply(t.trainer, v);
    EXPECT_EQ(out.field, SettingsField::nanti);
    EXPECT_EQ(out.message, invalid("99999999999"));
}

TEST(SettingsApply, AnExtraBankNameMustFitTheStateFile) {
    const std::string hanzi = "题"; // two bytes in GBK
    std::string fits; // 299 bytes and the terminator: exactly the field
    for (int i = 0; i < 149; ++i) fits += hanzi;
    fits += "x";
    std::string tooLong; // 300 bytes and the terminator
    for (int i = 0; i < 150; ++i) tooLong += hanzi;

    struct Case {
        std::string name;
        bool applied;
        const char* message;
    } cases[] = {
        {tooLong, false, SettingsModel::kPathTooLong},
        {fits + "y", false, SettingsModel::kPathTooLong},
        {"题库\xF0\x9F\x98\x80.tk", false, SettingsModel::kPathNotStorable}, // an emoji: no GBK form
        {fits, true, nullptr},
    };
    for (const Case& c : cases) {
        Started t;
        const std::string memoryBefore = bytesOf(t.state());
        const std::string fileBefore = t.stateFile();
        SettingsValues v = t.opening();
        v.bankRadio = 4;
        v.bankText = c.name;
        v.beginnerCount = "33";
        SettingsOutcome out = SettingsModel::apply(t.trainer, v);
        EXPECT_EQ(out.applied, c.applied);
        if (!c.applied) {
            EXPECT_EQ(out.field, SettingsField::tiku_te);
            EXPECT_EQ(out.message, c.message);
            EXPECT_EQ(bytesOf(t.state()), memoryBefore);
            EXPECT_EQ(t.stateFile(), fileBefore);
            EXPECT_TRUE(t.window.messages.empty());
        } else {
            // Stored whole; no such bank, so the load is reported.
            EXPECT_EQ(readField(t.state().bankPath), gbkOf(c.name));
            EXPECT_EQ(readField(t.state().bankPath).size(), 299u);
            EXPECT_EQ(test::firstLines(t.window.messages), std::vector<std::string>{texts::kCode2});
            EXPECT_EQ(t.stateFile(), bytesOf(t.state()));
        }
    }
}

TEST(SettingsApply, ATypedNameIsUsedWithoutAnyListedBank) {
    Started t;
    Bank own = BankGenerator::make(12, 9);
    ASSERT_EQ(BankFile::store(own, t.dir.file("bankdata/自选.tk")), "");
    ASSERT_TRUE(SettingsModel::extraBanks(t.dir.path()).empty());

    SettingsValues v = t.opening();
    v.bankRadio = 4;
    v.bankText = "bankdata/自选.tk";
    ASSERT_TRUE(SettingsModel::apply(t.trainer, v).applied);
    EXPECT_TRUE(t.window.messages.empty());
    EXPECT_EQ(t.state().bankChoice, 4);
    EXPECT_EQ(t.state().extraBank, 1);
    // Stored in the file's own form: GBK with a backslash.
    EXPECT_EQ(readField(t.state().bankPath), gbkOf("bankdata\\自选.tk"));
    EXPECT_EQ(t.trainer.s.bankCount, 12);
    EXPECT_EQ(t.trainer.s.record(1).id, own.records[1].id);
    // Shown again as it is stored.
    EXPECT_EQ(t.opening().bankText, "bankdata\\自选.tk");
}

TEST(SettingsApply, AnEmptyExtraNameIsReportedSavedAndShowsNoQuestions) {
    Started t;
    t.trainer.s.record(2).rightCount += 4;
    const int id = t.trainer.s.record(2).id;
    const int right = t.trainer.s.record(2).rightCount;

    SettingsValues v = t.opening();
    v.bankRadio = 4;
    v.bankText = "";
    SettingsOutcome out = SettingsModel::apply(t.trainer, v);
    EXPECT_TRUE(out.applied); // the dialog closes
    EXPECT_EQ(t.window.messages, std::vector<std::string>{FileMessage::compose(
                                     texts::kCode2, texts::kNoBankChosen, FileProblem::NotFound, texts::kChooseBank)});

    std::string file = t.stateFile();
    EXPECT_EQ(file, bytesOf(t.state()));
    EXPECT_EQ(intAt(file, 0), 4);
    EXPECT_EQ(intAt(file, offsetof(Sfile, extraBank)), 1);
    EXPECT_EQ(file[offsetof(Sfile, bankPath)], '\0');

    // The bank that was left keeps its counters on disk.
    Bank left = std::move(*BankFile::open(t.dir.file("bankdata/小车.tk")));
    EXPECT_EQ(left.records[static_cast<std::size_t>(left.findById(id))].rightCount, right);

    // Nothing of a bank that was not read reaches the window.
    EXPECT_FALSE(t.trainer.s.bankLoaded);
    EXPECT_EQ(t.trainer.s.bankCount, 0);
    t.trainer.showBankInfo();
    EXPECT_EQ(t.window.image.at(Ctl::img2), "");
    EXPECT_EQ(t.window.text.at(Ctl::lbltikuzhuozhe), "");
    t.trainer.modes.Button2Click();
    EXPECT_EQ(t.trainer.s.listCount, 0);
    EXPECT_EQ(t.window.lastView().memo1, "");
    EXPECT_EQ(t.window.lastView().label3, "0/0");

    // Closing does not write an unread bank anywhere.
    t.trainer.closeQuery();
    EXPECT_EQ(t.window.messages.size(), 1u);
}

TEST(SettingsApply, SwitchingBanksWritesTheOldCountersBack) {
    Started t;
    QuestionRecord& r = t.trainer.s.record(5);
    r.wrongCount += 7;
    r.answerCount += 7;
    const int id = r.id, wrong = r.wrongCount, answered = r.answerCount;

    SettingsValues v = t.opening();
    v.bankRadio = 2;
    ASSERT_TRUE(SettingsModel::apply(t.trainer, v).applied);
    EXPECT_TRUE(t.window.messages.empty());

    Bank car = std::move(*BankFile::open(t.dir.file("bankdata/小车.tk")));
    const QuestionRecord& stored = car.records[static_cast<std::size_t>(car.findById(id))];
    EXPECT_EQ(stored.wrongCount, wrong);
    EXPECT_EQ(stored.answerCount, answered);
    EXPECT_EQ(t.trainer.s.bankCount, 20);
    EXPECT_NE(t.trainer.s.bankNativePath.find("客车.tk"), std::string::npos);
}

TEST(SettingsApply, AMissingBuiltInBankLeavesAnEmptyBank) {
    Started t;
    ASSERT_EQ(t.trainer.s.listCount, 10);
    SettingsValues v = t.opening();
    v.bankRadio = 3; // bankdata\货车.tk is not there
    ASSERT_TRUE(SettingsModel::apply(t.trainer, v).applied);
    EXPECT_EQ(t.window.messages,
              std::vector<std::string>{FileMessage::compose(texts::kCode2, "bankdata/货车.tk", FileProblem::NotFound)});
    EXPECT_EQ(t.state().bankChoice, 3);
    EXPECT_EQ(t.trainer.s.questionCount(), 0);
    EXPECT_EQ(t.trainer.s.bankCount, 0);
    t.trainer.modes.Button2Click();
    EXPECT_EQ(t.trainer.s.listCount, 0);
    EXPECT_EQ(t.trainer.s.shown(), nullptr);
    // The next start tries the same path again.
    auto again = StateFile::newRecord();
    StateFile::parse(t.stateFile(), *again);
    EXPECT_EQ(readField(again->bankPath), gbkOf("bankdata\\货车.tk"));
}

TEST(SettingsExtraBanks, ListsTheTkFilesOfTheFolderByName) {
    test::TempDir dir;
    EXPECT_TRUE(SettingsModel::extraBanks(dir.path()).empty());
    dir.write("甲.tk", "x");
    dir.write("B.TK", "x");
    dir.write("c.tk.bak", "x");
    dir.write("notes.txt", "x");
    dir.write("tk", "x");
    dir.mkdir("folder.tk");
    dir.write("bankdata/小车.tk", "x");
    std::vector<std::string> names = SettingsModel::extraBanks(dir.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"B.TK", "甲.tk"}));
    EXPECT_TRUE(SettingsModel::extraBanks(dir.file("no-such-folder")).empty());
}

TEST(SettingsApply, AnOkThatKeepsTheBankWritesNoBank) {
    Started t;
    QuestionRecord& r = t.trainer.s.record(3);
    r.rightCount += 2;
    r.answerCount += 2;
    const std::string before = t.dir.read("bankdata/小车.tk");
    // A write-protected bank: an OK that keeps it has nothing to say about it.
    ::chmod(t.dir.file("bankdata/小车.tk").c_str(), 0444);
    for (int round = 0; round < 3; ++round) {
        SettingsValues v = t.opening();
        v.pauseMs = std::to_string(500 + round);
        ASSERT_TRUE(SettingsModel::apply(t.trainer, v).applied);
    }
    EXPECT_TRUE(t.window.messages.empty()) << t.window.messages.front();
    EXPECT_EQ(t.dir.read("bankdata/小车.tk"), before);
    // The counters of this run stay in the buffer for the close.
    EXPECT_EQ(t.trainer.s.record(3).answerCount, r.answerCount);
    EXPECT_EQ(t.trainer.s.bankCount, 30);
    ::chmod(t.dir.file("bankdata/小车.tk").c_str(), 0644);
    t.trainer.closeQuery();
    EXPECT_NE(t.dir.read("bankdata/小车.tk"), before);
}
