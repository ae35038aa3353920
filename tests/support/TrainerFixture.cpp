#include "support/TrainerFixture.h"

#include <filesystem>

#include <cstring>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"

namespace cxb::test {

namespace {
void put(char* field, std::size_t width, const std::string& utf8) {
    std::memset(field, 0, width);
    writeField(field, width, gbk::fromUtf8Lossy(utf8));
}
} // namespace

void setText(QuestionRecord& r, const std::string& utf8) { put(r.text, sizeof r.text, utf8); }
void setPicture(QuestionRecord& r, const std::string& utf8) { put(r.picture, sizeof r.picture, utf8); }
void setExplanation(QuestionRecord& r, const std::string& utf8) { put(r.explanation, sizeof r.explanation, utf8); }

Bank plainBank(int n) {
    Bank bank = BankGenerator::make(n, 7);
    for (int i = 1; i <= n; ++i) {
        QuestionRecord& r = bank.records[static_cast<std::size_t>(i)];
        r.id = i;
        r.type = kSingleChoice;
        r.answer = kAnswerA;
        r.extra = i;
        r.rightCount = r.wrongCount = r.answerCount = 0;
        setText(r, "第" + std::to_string(i) + "题：遇到这种情况怎么办？");
        setPicture(r, "");
        setExplanation(r, "");
    }
    return bank;
}

std::string fullSkinFile() {
    static const char* keys[] = {
        "ima_sunxu", "ima_sunxu0", "ima_sunxuDown", "ima_chuji", "ima_chuji0", "ima_chujiDown",
        "ima_nanti", "ima_nantiMove", "ima_nantiDown", "ima_ima_monikaoshi", "ima_ima_monikaoshiMove",
        "ima_ima_monikaoshiDown", "ima_cuowuji", "ima_cuowuji_m", "ima_cuowuji_d", "Ima_tiku", "Ima_tiku_m",
        "Ima_tiku_d", "img_lishi", "img_lishi_m", "img_lishi_d", "img_shezhi", "img_shezhi_m", "img_shezhi_d",
        "imgzhuozhe", "imgzhuozhe_m", "imgzhuozhe_d", "close.png", "close0.png", "a.png", "a0.png", "b.png",
        "b0.png", "c.png", "c0.png", "d.png", "d0.png", "dui.png", "dui0.png", "cuo.png", "cuo0.png"};
    std::string out;
    for (const char* k : keys) out += std::string(k) + "=\"skin\\" + k + "\"\r\n";
    out += "shengyintexiao=\"skin\\click.wav\"\r\n";
    return out;
}

void TrainerTest::writeFiles(const Bank& bank, const std::function<void(Sfile&)>& tweak, const std::string& skinFile) {
    dir.mkdir("bankdata");
    // New files make a new folder: the answers an earlier trainer of the
    // test left in the journal belong to the bank these replace. That
    // trainer ends first, so that its journal is closed.
    trainer.reset();
    for (const char* name : {"bankdata/journal.db", "bankdata/journal.db-wal", "bankdata/journal.db-shm"})
        std::filesystem::remove(path(name));
    auto state = StateFile::newRecord();
    StateFile::resetState(*state);
    writeField(state->bankPath, "bankdata\\x.tk");
    state->examCount = 100;
    if (tweak) tweak(*state);
    ASSERT_EQ(0, StateFile::saveState(*state, path("bankdata/sys.dat")));
    ASSERT_EQ("", BankFile::store(bank, path("bankdata/x.tk")));
    if (!skinFile.empty()) dir.write("皮肤.ini", skinFile);
}

void TrainerTest::start(const Bank& bank, const std::function<void(Sfile&)>& tweak, const std::string& skinFile) {
    writeFiles(bank, tweak, skinFile);
    trainer = std::make_unique<Trainer>(win, dir.path());
    trainer->construct();
    trainer->formCreate();
}

QuestionRecord& TrainerTest::recordOf(int id) {
    int r = s().bank->findById(id);
    EXPECT_NE(0, r) << "no record with id " << id;
    return s().record(r);
}

std::vector<int> TrainerTest::listIds() {
    std::vector<int> ids;
    for (int i = 1; i <= s().listCount; ++i) ids.push_back(entry(i).id);
    return ids;
}

std::vector<int> TrainerTest::bankIds() {
    std::vector<int> ids;
    for (int i = 1; i <= s().questionCount(); ++i) ids.push_back(s().record(i).id);
    return ids;
}

void TrainerTest::answerAt(int position, int code) {
    t().view.showQuestion(position);
    t().judge.answerQuestion(code);
}

} // namespace cxb::test
