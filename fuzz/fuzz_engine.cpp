// The whole engine on arbitrary input: a bank, a state record and a run of
// commands (lists, answers, navigation, keys, the exam, review, search,
// history, export, settings) driven through the recording window. After
// every command the list stays inside its bounds; at the end the files on
// disk, read again, hold what the trainer had in memory.
#include <fuzzer/FuzzedDataProvider.h>
#include <sanitizer/common_interface_defs.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FileBytes.h"
#include "data/FixedField.h"
#include "data/StateFile.h"
#include "engine/SettingsModel.h"
#include "engine/Trainer.h"
#include "support/FakeWindow.h"

namespace {

using cxb::Trainer;

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) std::abort();
}

// The folder the trainer works in, one per process.
std::string& folderName() {
    static std::string dir;
    return dir;
}

// Takes the folder away however the run ends: normally, at a failed check,
// or at a sanitizer's report.
void removeFolder() {
    if (folderName().empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(folderName(), ignored);
}

void check(bool ok) {
    if (ok) return;
    removeFolder();
    std::abort();
}

const std::string& folder() {
    static const bool made = [] {
        std::string d = (std::filesystem::temp_directory_path() / ("cxb-fuzz-engine-" + std::to_string(::getpid()))).string();
        std::filesystem::create_directories(d + "/bankdata");
        folderName() = d;
        std::atexit(removeFolder);
        __sanitizer_set_death_callback(removeFolder);
        return true;
    }();
    (void)made;
    return folderName();
}

// The list and the positions in it never leave their bounds.
void checkBounds(const Trainer& t) {
    const cxb::Session& s = t.s;
    check(s.listCount >= 0 && s.listCount <= 1999);
    check(static_cast<int>(s.list.size()) > s.listCount);
    check(s.current >= 0 && s.current <= std::max(s.listCount, 1));
    check(s.questionCount() >= 0 && s.questionCount() <= 1999);
}

std::string text(FuzzedDataProvider& in) { return in.ConsumeRandomLengthString(24); }

void settingsOk(Trainer& t, FuzzedDataProvider& in) {
    cxb::SettingsValues v = cxb::SettingsModel::openingValues(*t.s.state);
    switch (in.ConsumeIntegralInRange(0, 6)) {
    case 0: v.bankRadio = in.ConsumeIntegralInRange(0, 4); break;
    case 1: v.bankText = text(in); v.bankRadio = 4; break;
    case 2: v.beginnerCount = text(in); v.hardCount = text(in); break;
    case 3: v.hardSensitivity = text(in); break;
    case 4: v.keys[in.ConsumeIntegralInRange<std::size_t>(0, 5)] = text(in); break;
    case 5: v.examCount = text(in); v.examSeconds = text(in); break;
    default: v.pauseMs = text(in); v.backColor = in.ConsumeIntegral<std::int32_t>(); break;
    }
    cxb::SettingsModel::apply(t, v);
}

void command(Trainer& t, cxb::test::FakeWindow& win, FuzzedDataProvider& in) {
    cxb::Session& s = t.s;
    const int row = in.ConsumeIntegralInRange(-2, 40);
    switch (in.ConsumeIntegralInRange(0, 29)) {
    case 0: t.modes.SunXuClick(); break;
    case 1: t.modes.chujiClick(); break;
    case 2: t.modes.LianXKSClick(); break;
    case 3: t.modes.KaoShiClick(); break;
    case 4: t.modes.Button2Click(); break;
    case 5: t.modes.btn3Click(); break;
    case 6: t.judge.answerQuestion(in.ConsumeIntegralInRange(-3, 2100)); break;
    case 7: t.judge.multiBoxChanged(1 << in.ConsumeIntegralInRange(0, 11), in.ConsumeBool()); break;
    case 8: t.judge.btnduoxuanClick(); break;
    case 9: t.nav.DOClick(); break;
    case 10: t.nav.UPClick(); break;
    case 11: t.view.showQuestion(in.ConsumeIntegralInRange(0, std::max(s.listCount, 0))); break;
    case 12: t.nav.mage1MouseMove(in.ConsumeIntegralInRange(-5, 900), in.ConsumeIntegralInRange(-5, 60000)); break;
    case 13: t.nav.mage1Click(); break;
    case 14: t.nav.tmrmouseTimer(); t.nav.tmrKAOSHITimer(); break;
    case 15: t.nav.setAutoNext(in.ConsumeBool()); t.nav.TimerNextTimer(); break;
    case 16: t.keys.FormKeyUp(in.ConsumeIntegralInRange(0, 255), in.ConsumeBool(), in.ConsumeBool()); break;
    case 17: t.exam.tmruptimeTimer(); break;
    case 18: t.exam.JIAOJUANClick(); break;
    case 19: t.exam.btn1Click(); break;
    case 20: t.review.btnGCerrorClick(); break;
    case 21: t.review.btnQuanBuClick(); break;
    case 22: t.review.lv1SelectItem(row); t.review.btn4Click(); break;
    case 23: t.review.lv1SelectItem(row); t.review.Button3Click(); break;
    case 24: {
        s.searchText = text(in);
        t.search.souClick();
        t.search.lv2SelectItem(row);
        break;
    }
    case 25: t.history.fillHistoryList(); t.history.lv1Change(row); t.history.btn3Click(); break;
    case 26: t.history.lv1Change(row); t.history.btn1Click(); break;
    case 27: t.history.lv1Change(row); t.history.btn2Click(); break;
    case 28: t.history.lv1Change(row); if (t.history.btn4Click()) t.paper.buildPaperPages(row); break;
    default: settingsOk(t, in); break;
    }
    if (win.messages.size() > 64) win.messages.clear();
    if (win.views.size() > 64) win.views.clear();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string dir = folder();
    const std::string bankFile = dir + "/bankdata/x.tk";
    const std::string stateFile = dir + "/bankdata/sys.dat";
    std::filesystem::remove(dir + "/h.htm");
    std::filesystem::remove(dir + "/n.htm");

    // The state: the defaults with a few fields laid over from the input.
    static auto state = cxb::StateFile::newRecord();
    cxb::StateFile::resetState(*state);
    cxb::writeField(state->bankPath, "bankdata\\x.tk");
    state->examCount = in.ConsumeIntegralInRange(0, 120);
    state->beginnerCount = in.ConsumeIntegralInRange(-2, 300);
    state->hardCount = in.ConsumeIntegralInRange(-2, 300);
    state->historyCount = in.ConsumeIntegralInRange(-2, 1002);
    auto* raw = reinterpret_cast<unsigned char*>(state.get());
    for (int patches = in.ConsumeIntegralInRange(0, 4); patches > 0; --patches) {
        std::size_t at = in.ConsumeIntegralInRange<std::size_t>(0, sizeof(cxb::Sfile) - 8);
        std::string bytes = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<std::size_t>(1, 8));
        std::memcpy(raw + at, bytes.data(), bytes.size());
    }
    check(cxb::StateFile::saveState(*state, stateFile) == 0);

    // The bank: a made one with bytes laid over it, or the input's bytes.
    std::string bankBytes;
    if (in.ConsumeBool()) {
        bankBytes = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<std::size_t>(0, 20000));
    } else {
        auto bank = std::make_unique<cxb::Bank>(cxb::BankGenerator::make(in.ConsumeIntegralInRange(0, 80), in.ConsumeIntegral<unsigned>()));
        check(cxb::BankFile::store(*bank, bankFile).empty());
        bankBytes = cxb::readFileBytes(bankFile).value_or("");
        for (int patches = in.ConsumeIntegralInRange(0, 6); patches > 0 && !bankBytes.empty(); --patches) {
            std::size_t at = in.ConsumeIntegralInRange<std::size_t>(0, bankBytes.size() - 1);
            std::string bytes = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<std::size_t>(1, 4));
            bankBytes.replace(at, std::min(bytes.size(), bankBytes.size() - at), bytes.substr(0, bankBytes.size() - at));
        }
    }
    writeBytes(bankFile, bankBytes);

    cxb::test::FakeWindow win;
    Trainer t(win, dir);
    t.exam.setClock([&] { return static_cast<std::time_t>(1700000000); });
    t.construct();
    t.formCreate();
    checkBounds(t);
    while (in.remaining_bytes() > 0) {
        command(t, win, in);
        checkBounds(t);
    }

    // What the trainer holds is what the files hold.
    const bool bankWasRead = t.s.bankLoaded;
    t.closeQuery();
    std::string after = cxb::readFileBytes(bankFile).value_or("");
    if (bankWasRead) {
        auto reread = cxb::BankFile::parse(after);
        check(reread.ok());
        const cxb::Bank& mine = *t.s.bank;
        const int n = mine.questionCount();
        check(reread.value().questionCount() == n);
        check(std::memcmp(&reread.value().header, &mine.header, sizeof mine.header) == 0);
        check(std::memcmp(&reread.value().records[0], &mine.records[0], sizeof(cxb::QuestionRecord) * static_cast<std::size_t>(n + 1)) == 0);
    }
    // Every change of the state was saved when it was made.
    static auto onDisk = cxb::StateFile::newRecord();
    auto stored = cxb::readFileBytes(stateFile);
    check(stored && stored->size() == sizeof(cxb::Sfile));
    check(std::memcmp(stored->data(), t.s.state.get(), sizeof(cxb::Sfile)) == 0);
    return 0;
}
