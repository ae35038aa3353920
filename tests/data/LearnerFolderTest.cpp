#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <unistd.h>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/InstallManifest.h"
#include "data/LearnerFolder.h"
#include "data/StateFile.h"
#include "support/TempDir.h"

using namespace cxb;
using cxb::test::TempDir;
namespace fs = std::filesystem;
using Outcome = BankUpgrade::Outcome;

namespace {

// Every file under `folder` by its relative path, with its bytes; the
// folder's own record of what was installed aside.
std::map<std::string, std::string> contents(const std::string& folder) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        if (!e.is_regular_file() || e.path().filename() == InstallManifest::kFileName) continue;
        std::ifstream in(e.path(), std::ios::binary);
        out[e.path().lexically_relative(folder).string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return out;
}

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// A state file with two recorded exams and the learner's text size.
std::string stateWithHistory() {
    auto state = StateFile::newRecord();
    StateFile::resetState(*state);
    state->textSize = 2; // 特大, in the record's padding byte
    state->historyCount = 2;
    state->history[1].score = 91;
    state->history[2].score = 78;
    writeField(state->bankPath, "bankdata\\\xd0\xa1\xb3\xb5.tk");
    TempDir dir;
    EXPECT_EQ(StateFile::saveState(*state, dir.file("sys.dat")), 0);
    return dir.read("sys.dat");
}

// An installed template: two banks, the starter state, pictures, skin.
struct Template {
    TempDir dir;
    Template() {
        dir.mkdir("bankdata");
        EXPECT_EQ(BankFile::store(BankGenerator::make(30, 3), dir.file("bankdata/小车.tk")), "");
        EXPECT_EQ(BankFile::store(BankGenerator::make(12, 4), dir.file("bankdata/客车.tk")), "");
        dir.write("bankdata/sys.dat", std::string(2472784, '\0'));
        dir.write("bankdata/pics/1.png", "png 1");
        dir.write("bankdata/pics/2.png", "png 2");
        dir.write("bankdata/gantan.png", "mark");
        dir.write("skin/btn_next.png", "button");
        dir.write("皮肤.ini", "[skin]\n");
    }
    std::string path() const { return dir.path(); }
};

// A bank the learner has practised with: every question answered.
void practise(const std::string& bankPath) {
    auto bank = BankFile::open(bankPath);
    ASSERT_TRUE(bank.ok());
    for (int i = 1; i <= bank->questionCount(); ++i) {
        QuestionRecord& r = bank->records[static_cast<std::size_t>(i)];
        r.rightCount = 2;
        r.wrongCount = i % 3;
        r.answerCount = 2 + i % 3;
    }
    ASSERT_EQ(BankFile::store(*bank, bankPath), "");
}

} // namespace

TEST(LearnerFolder, TheFirstStartMakesTheFolderFromTheTemplate) {
    Template tpl;
    TempDir home;
    const std::string folder = home.file(".local/share/chixuebao");
    auto report = LearnerFolder::prepare(tpl.path(), folder);
    ASSERT_TRUE(report.usable) << report.error;
    EXPECT_TRUE(report.created);
    EXPECT_TRUE(report.problems.empty());
    // The template's files, and the record of what was installed.
    EXPECT_TRUE(fs::exists(folder + "/" + InstallManifest::kFileName));
    EXPECT_EQ(contents(folder), contents(tpl.path()));
    EXPECT_EQ(sorted(report.copied), sorted({"bankdata/小车.tk", "bankdata/客车.tk", "bankdata/sys.dat",
                                             "bankdata/pics/1.png", "bankdata/pics/2.png", "bankdata/gantan.png",
                                             "skin/btn_next.png", "皮肤.ini"}));
    // Nothing but the folder is left beside it.
    std::vector<std::string> beside;
    for (const auto& e : fs::directory_iterator(home.file(".local/share"))) beside.push_back(e.path().filename());
    EXPECT_EQ(beside, std::vector<std::string>{"chixuebao"});

    // The same again with a trailing slash finds the folder made.
    report = LearnerFolder::prepare(tpl.path(), folder + "/");
    EXPECT_TRUE(report.usable) << report.error;
    EXPECT_FALSE(report.created);
    EXPECT_TRUE(report.copied.empty());
}

TEST(LearnerFolder, ALaterStartAddsWhatIsMissingAndNeverOverwrites) {
    Template tpl;
    TempDir home;
    const std::string folder = home.file("chixuebao");
    ASSERT_TRUE(LearnerFolder::prepare(tpl.path(), folder).usable);
    const std::string state = stateWithHistory();
    std::ofstream(folder + "/bankdata/sys.dat", std::ios::binary) << state;
    std::ofstream(folder + "/皮肤.ini", std::ios::binary) << "[mine]\n";
    std::ofstream(folder + "/extra.tk", std::ios::binary) << "an extra bank of the learner";
    fs::remove(folder + "/bankdata/pics/2.png");
    tpl.dir.write("bankdata/pics/3.png", "a picture of the new version");

    auto report = LearnerFolder::prepare(tpl.path(), folder);
    ASSERT_TRUE(report.usable) << report.error;
    EXPECT_FALSE(report.created);
    EXPECT_EQ(sorted(report.copied), sorted({"bankdata/pics/2.png", "bankdata/pics/3.png"}));
    auto files = contents(folder);
    EXPECT_EQ(files["bankdata/sys.dat"], state);
    EXPECT_EQ(files["皮肤.ini"], "[mine]\n");
    EXPECT_EQ(files["extra.tk"], "an extra bank of the learner");
    EXPECT_EQ(files["bankdata/pics/3.png"], "a picture of the new version");
    ASSERT_EQ(report.banks.size(), 2u);
    for (const auto& [name, bank] : report.banks) EXPECT_EQ(bank.outcome, Outcome::Unchanged) << name;
}

TEST(LearnerFolder, AnUpgradeKeepsTheCountersAndTheHistory) {
    Template tpl;
    TempDir home;
    const std::string folder = home.file("chixuebao");
    ASSERT_TRUE(LearnerFolder::prepare(tpl.path(), folder).usable);
    practise(folder + "/bankdata/小车.tk");
    practise(folder + "/bankdata/客车.tk");
    const std::string state = stateWithHistory();
    std::ofstream(folder + "/bankdata/sys.dat", std::ios::binary) << state;
    const auto before = contents(folder);

    // The new version: in the car bank one question reworded, one gone, one new.
    Bank next = BankGenerator::make(30, 3);
    const std::int32_t reworded = next.records[4].id, gone = next.records[8].id;
    writeField(next.records[4].text, "已改写的题");
    next.records[8] = next.records[30];
    next.records[30] = next.records[1];
    next.records[30].id = 90000;
    ASSERT_EQ(BankFile::store(next, tpl.dir.file("bankdata/小车.tk")), "");

    auto report = LearnerFolder::prepare(tpl.path(), folder);
    ASSERT_TRUE(report.usable) << report.error;
    EXPECT_TRUE(report.problems.empty());
    EXPECT_TRUE(report.copied.empty());
    std::map<std::string, Outcome> outcomes;
    for (const auto& [name, bank] : report.banks) outcomes[name] = bank.outcome;
    EXPECT_EQ(outcomes, (std::map<std::string, Outcome>{{"bankdata/小车.tk", Outcome::Upgraded},
                                                         {"bankdata/客车.tk", Outcome::Unchanged}}));

    auto after = contents(folder);
    EXPECT_EQ(after["bankdata/sys.dat"], state);
    EXPECT_EQ(after["bankdata/客车.tk"], before.at("bankdata/客车.tk"));
    EXPECT_EQ(after["bankdata/小车.tk.bak"], before.at("bankdata/小车.tk"));
    auto bank = BankFile::open(folder + "/bankdata/小车.tk");
    ASSERT_TRUE(bank.ok());
    const QuestionRecord& changed = bank->records[static_cast<std::size_t>(bank->findById(reworded))];
    EXPECT_EQ(readField(changed.text), "已改写的题");
    EXPECT_EQ(changed.answerCount, 2 + 4 % 3);
    EXPECT_EQ(bank->findById(gone), 0);
    EXPECT_EQ(bank->records[static_cast<std::size_t>(bank->findById(90000))].answerCount, 0);

    // A second start changes nothing.
    report = LearnerFolder::prepare(tpl.path(), folder);
    EXPECT_TRUE(report.copied.empty());
    for (const auto& [name, upgrade] : report.banks) EXPECT_EQ(upgrade.outcome, Outcome::Unchanged) << name;
    EXPECT_EQ(contents(folder), after);
}

TEST(LearnerFolder, ABankTheLearnerDeletedIsMadeAgain) {
    Template tpl;
    TempDir home;
    const std::string folder = home.file("chixuebao");
    ASSERT_TRUE(LearnerFolder::prepare(tpl.path(), folder).usable);
    fs::remove(folder + "/bankdata/客车.tk");
    auto report = LearnerFolder::prepare(tpl.path(), folder);
    EXPECT_EQ(contents(folder), contents(tpl.path()));
    std::map<std::string, Outcome> outcomes;
    for (const auto& [name, bank] : report.banks) outcomes[name] = bank.outcome;
    EXPECT_EQ(outcomes, (std::map<std::string, Outcome>{{"bankdata/小车.tk", Outcome::Unchanged},
                                                         {"bankdata/客车.tk", Outcome::Created}}));
}

TEST(LearnerFolder, AFolderThatCannotBeMadeIsNotUsable) {
    Template tpl;
    TempDir home;
    home.write("a-file", "x");
    struct Case {
        const char* what;
        std::string templateDir, folder;
    };
    const Case cases[] = {
        {"no template", home.file("missing"), home.file("chixuebao")},
        {"a file where the folder should be", tpl.path(), home.file("a-file")},
        {"a file where a parent should be", tpl.path(), home.file("a-file/chixuebao")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto report = LearnerFolder::prepare(c.templateDir, c.folder);
        EXPECT_FALSE(report.usable);
        EXPECT_FALSE(report.error.empty());
    }
    EXPECT_FALSE(fs::exists(home.file("chixuebao")));
}

TEST(LearnerFolder, AReadOnlyHomeIsNotUsable) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    Template tpl;
    TempDir home;
    fs::permissions(home.path(), fs::perms::owner_read | fs::perms::owner_exec);
    auto report = LearnerFolder::prepare(tpl.path(), home.file("chixuebao"));
    EXPECT_FALSE(report.usable);
    EXPECT_NE(report.error.find(home.path()), std::string::npos) << report.error;
}

TEST(LearnerFolder, AStagingFolderLeftByAKilledFirstStartIsRemoved) {
    Template tpl;
    TempDir home;
    home.write(".chixuebao.new-old123/bankdata/小车.tk", "half");
    home.write(".chixuebao.new-now456/bankdata/小车.tk", "another start at work");
    fs::last_write_time(home.file(".chixuebao.new-old123"),
                        fs::file_time_type::clock::now() - std::chrono::hours(2));
    ASSERT_TRUE(LearnerFolder::prepare(tpl.path(), home.file("chixuebao")).usable);
    EXPECT_FALSE(fs::exists(home.file(".chixuebao.new-old123")));
    EXPECT_TRUE(fs::exists(home.file(".chixuebao.new-now456")));
    EXPECT_EQ(contents(home.file("chixuebao")), contents(tpl.path()));
}

TEST(LearnerFolder, ATemplateInsideTheLearnersFolderAsAnInstallUnderDotLocalPutsIt) {
    Template tpl;
    TempDir home;
    const std::string folder = home.file(".local/share/chixuebao");
    fs::create_directories(folder);
    fs::copy(tpl.path(), folder + "/template", fs::copy_options::recursive);
    auto report = LearnerFolder::prepare(folder + "/template", folder);
    ASSERT_TRUE(report.usable) << report.error;
    EXPECT_FALSE(report.created);
    auto files = contents(folder);
    for (const auto& [name, bytes] : contents(tpl.path())) {
        EXPECT_EQ(files[name], bytes) << name;
        EXPECT_EQ(files["template/" + name], bytes) << name;
    }
    EXPECT_EQ(files.size(), 2 * contents(tpl.path()).size());

    // The learner practises; installing again puts the template back; the
    // next start keeps the counters.
    practise(folder + "/bankdata/小车.tk");
    const std::string practised = contents(folder)["bankdata/小车.tk"];
    fs::copy(tpl.path(), folder + "/template", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    report = LearnerFolder::prepare(folder + "/template", folder);
    EXPECT_TRUE(report.copied.empty());
    EXPECT_EQ(contents(folder)["bankdata/小车.tk"], practised);
}

TEST(LearnerFolder, AnUpgradeReplacesTheShippedFilesTheLearnerNeverChanged) {
    Template tpl;
    TempDir home;
    const std::string folder = home.file("chixuebao");
    ASSERT_TRUE(LearnerFolder::prepare(tpl.path(), folder).usable);
    auto manifest = InstallManifest::parse(home.read("chixuebao/.chixuebao-manifest"));
    ASSERT_TRUE(manifest);
    EXPECT_EQ(manifest->files.count("bankdata/pics/1.png"), 1u);
    EXPECT_EQ(manifest->files.count("bankdata/sys.dat"), 0u); // the learner's from the start
    EXPECT_EQ(manifest->files.count("bankdata/小车.tk"), 0u);  // upgraded with its counters instead

    // The learner paints over one picture and edits the skin.
    home.write("chixuebao/bankdata/pics/2.png", "the learner's own picture");
    home.write("chixuebao/皮肤.ini", "[mine]\n");
    // The next release corrects every picture, the mark and the skin.
    struct Shipped {
        const char* name;
        bool replaced;
    };
    const Shipped files[] = {
        {"bankdata/pics/1.png", true},  {"bankdata/pics/2.png", false}, {"bankdata/gantan.png", true},
        {"skin/btn_next.png", true},    {"皮肤.ini", false},
    };
    std::map<std::string, std::string> before;
    for (const Shipped& f : files) {
        before[f.name] = home.read(std::string("chixuebao/") + f.name);
        tpl.dir.write(f.name, std::string("corrected ") + f.name);
    }
    const std::string state = stateWithHistory();
    home.write("chixuebao/bankdata/sys.dat", state);
    tpl.dir.write("bankdata/sys.dat", std::string(2472784, '\x01'));

    auto report = LearnerFolder::prepare(tpl.path(), folder);
    ASSERT_TRUE(report.usable) << report.error;
    EXPECT_TRUE(report.problems.empty());
    for (const Shipped& f : files) {
        SCOPED_TRACE(f.name);
        const std::string now = home.read(std::string("chixuebao/") + f.name);
        EXPECT_EQ(now, f.replaced ? std::string("corrected ") + f.name : before[f.name]);
    }
    EXPECT_EQ(sorted(report.refreshed), sorted({"bankdata/pics/1.png", "bankdata/gantan.png", "skin/btn_next.png"}));
    EXPECT_EQ(home.read("chixuebao/bankdata/sys.dat"), state);

    // The manifest follows: the next start changes nothing, and a template
    // copy the learner's own file happens to match is the template's again.
    report = LearnerFolder::prepare(tpl.path(), folder);
    EXPECT_TRUE(report.refreshed.empty());
    home.write("chixuebao/皮肤.ini", "corrected 皮肤.ini");
    tpl.dir.write("皮肤.ini", "a later skin");
    LearnerFolder::prepare(tpl.path(), folder);
    EXPECT_EQ(home.read("chixuebao/皮肤.ini"), "corrected 皮肤.ini"); // matched, but after the last install
    LearnerFolder::prepare(tpl.path(), folder);
    tpl.dir.write("皮肤.ini", "yet another skin");
    home.write("chixuebao/皮肤.ini", "a later skin");
    LearnerFolder::prepare(tpl.path(), folder);
    EXPECT_EQ(home.read("chixuebao/皮肤.ini"), "a later skin");
}

TEST(InstallManifest, BrokenManifestsAreRefused) {
    const std::string sum(64, 'a');
    const char* broken[] = {
        "", "chixuebao-manifest 2\n", "chixuebao-manifest 1", // no line end
        "chixuebao-manifest 1\nabc x\n", "chixuebao-manifest 1\n",
    };
    EXPECT_TRUE(InstallManifest::parse("chixuebao-manifest 1\n"));
    for (const char* text : {broken[0], broken[1], broken[2], broken[3]}) EXPECT_FALSE(InstallManifest::parse(text)) << text;
    for (const std::string& text : {"chixuebao-manifest 1\n" + sum + " /etc/passwd\n",
                                    "chixuebao-manifest 1\n" + std::string(64, 'G') + " a.png\n",
                                    "chixuebao-manifest 1\n" + sum + "  \n", "chixuebao-manifest 1\n" + sum + "\n"})
        EXPECT_FALSE(InstallManifest::parse(text)) << text;
    InstallManifest m;
    m.files["bankdata/pics/a b.png"] = sum;
    m.files["皮肤.ini"] = std::string(64, '0');
    auto again = InstallManifest::parse(m.serialize());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->files, m.files);
    EXPECT_EQ(InstallManifest::sha256("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}
