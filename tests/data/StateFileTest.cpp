#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "data/AtomicFile.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "support/OrdinaryUser.h"
#include "support/TempDir.h"

using namespace cxb;
using cxb::test::OrdinaryUser;
using cxb::test::TempDir;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kRecordSize = 2472784;

const std::int32_t kDefaults[15] = {1, 0, 136255, 10, 10, 2, 0, 105, 102, 97, 98, 99, 100, 1000, 2700};

std::int32_t intAt(const std::string& bytes, std::size_t offset) {
    return readInt32(reinterpret_cast<const unsigned char*>(bytes.data() + offset));
}

std::string bytesOf(const Sfile& s) { return std::string(reinterpret_cast<const char*>(&s), sizeof s); }

// Bytes that differ from position to position and are never all zero.
std::string pattern(std::size_t size, unsigned seed = 7) {
    std::string out(size, '\0');
    for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<char>((i * 131 + seed) % 251 + 1);
    return out;
}

std::vector<std::string> folderEntries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    return names;
}

void expectDefaultsAt(const std::string& bytes) {
    ASSERT_GE(bytes.size(), 60u);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(intAt(bytes, 4 * static_cast<std::size_t>(i)), kDefaults[i]) << "int " << i;
}

class StateFileTest : public ::testing::Test {
protected:
    void TearDown() override { AtomicFile::setWriteHook({}); }
    TempDir dir;
};

} // namespace

TEST(StateRecord, NewRecordIsZeroWithBankChoiceOne) {
    auto s = StateFile::newRecord();
    std::string bytes = bytesOf(*s);
    ASSERT_EQ(bytes.size(), kRecordSize);
    EXPECT_EQ(intAt(bytes, 0), 1);
    EXPECT_EQ(bytes.find_first_not_of('\0', 4), std::string::npos);
}

TEST(StateRecord, ResetSetsTheLeadingIntsAndKeepsNamesAndHistory) {
    auto s = StateFile::newRecord();
    std::string before = pattern(kRecordSize);
    std::memcpy(s.get(), before.data(), kRecordSize);
    StateFile::resetState(*s);
    std::string after = bytesOf(*s);
    expectDefaultsAt(after);
    EXPECT_EQ(s->historyCount, 0);
    // History slots, bank path, extra-bank flag, exam count and skin names.
    EXPECT_EQ(after.substr(64, 2472 * 1000), before.substr(64, 2472 * 1000));
    EXPECT_EQ(after.substr(2472072, 300 + 4 + 4), before.substr(2472072, 308));
    EXPECT_EQ(after.substr(2472381, 400), before.substr(2472381, 400));
}

TEST_F(StateFileTest, MissingFileGetsDefaultsAndIsWrittenAtOnce) {
    auto s = StateFile::newRecord();
    std::string path = dir.file("sys.dat");
    auto report = StateFile::loadState(*s, path);
    EXPECT_TRUE(report.created);
    EXPECT_EQ(report.firstCode, StateFile::kMissing);
    EXPECT_EQ(report.firstCode, 1);
    EXPECT_EQ(report.saveCode, 0);
    expectDefaultsAt(bytesOf(*s));

    std::string file = dir.read("sys.dat");
    ASSERT_EQ(file.size(), kRecordSize);
    expectDefaultsAt(file);
    // Everything past the leading ints is zero: no bank path, no skin names,
    // no exams, no history.
    EXPECT_EQ(file.find_first_not_of('\0', 60), std::string::npos);
    EXPECT_EQ(intAt(file, 2472376), 0);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"sys.dat"});
}

TEST_F(StateFileTest, MissingFileWhoseSaveFailsReportsCodeTwo) {
    auto s = StateFile::newRecord();
    std::string path = dir.file("no-such-folder/sys.dat");
    auto report = StateFile::loadState(*s, path);
    EXPECT_TRUE(report.created);
    EXPECT_EQ(report.firstCode, 1);
    EXPECT_EQ(report.saveCode, StateFile::kCannotWrite);
    EXPECT_EQ(report.saveCode, 2);
    EXPECT_FALSE(report.detail.empty());
    expectDefaultsAt(bytesOf(*s)); // runs on the defaults in memory
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(StateFileTest, ShortFileFillsOnlyTheLeadingPart) {
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n <= 100; ++n) lengths.push_back(n);
    for (std::size_t back : {1u, 2u, 3u, 4u, 100u, 403u, 2472u}) lengths.push_back(kRecordSize - back);
    const std::string content = pattern(kRecordSize, 3);
    const std::string fresh = bytesOf(*StateFile::newRecord());

    for (std::size_t n : lengths) {
        SCOPED_TRACE("file of " + std::to_string(n) + " bytes");
        dir.write("sys.dat", content.substr(0, n));
        auto s = StateFile::newRecord();
        auto report = StateFile::loadState(*s, dir.file("sys.dat"));
        EXPECT_FALSE(report.created);
        EXPECT_EQ(report.firstCode, 0);
        std::string got = bytesOf(*s);
        ASSERT_EQ(got.substr(0, n), content.substr(0, n));
        ASSERT_EQ(got.substr(n), fresh.substr(n));
        // Loading never rewrites an existing file.
        ASSERT_EQ(fs::file_size(dir.file("sys.dat")), n);
    }
}

TEST_F(StateFileTest, ShortFileKeepsWhatTheRecordHeldBeyondIt) {
    auto s = StateFile::newRecord();
    std::string old = pattern(kRecordSize, 99);
    std::memcpy(s.get(), old.data(), kRecordSize);
    std::string head = pattern(64, 5);
    dir.write("sys.dat", head);
    StateFile::loadState(*s, dir.file("sys.dat"));
    std::string got = bytesOf(*s);
    EXPECT_EQ(got.substr(0, 64), head);
    EXPECT_EQ(got.substr(64), old.substr(64));
}

TEST_F(StateFileTest, LongerFileIsCutAtTheRecordSize) {
    std::string content = pattern(kRecordSize + 1000, 11);
    dir.write("sys.dat", content);
    auto s = StateFile::newRecord();
    auto report = StateFile::loadState(*s, dir.file("sys.dat"));
    EXPECT_EQ(report.firstCode, 0);
    EXPECT_FALSE(report.created);
    EXPECT_EQ(bytesOf(*s), content.substr(0, kRecordSize));
    EXPECT_EQ(dir.read("sys.dat"), content);
}

TEST_F(StateFileTest, FolderInPlaceOfTheFileIsLeftAlone) {
    dir.mkdir("sys.dat");
    dir.write("sys.dat/keep.txt", "precious");
    auto s = StateFile::newRecord();
    auto report = StateFile::loadState(*s, dir.file("sys.dat"));
    EXPECT_EQ(report.firstCode, StateFile::kCannotWrite);
    EXPECT_FALSE(report.created);
    EXPECT_EQ(report.saveCode, 0);
    EXPECT_TRUE(fs::is_directory(dir.file("sys.dat")));
    EXPECT_EQ(dir.read("sys.dat/keep.txt"), "precious");
    expectDefaultsAt(bytesOf(*s));
}

TEST_F(StateFileTest, SaveThenLoadGivesTheSameRecord) {
    auto s = StateFile::newRecord();
    std::string content = pattern(kRecordSize, 17);
    std::memcpy(s.get(), content.data(), kRecordSize);
    ASSERT_EQ(StateFile::saveState(*s, dir.file("sys.dat")), 0);
    EXPECT_EQ(dir.read("sys.dat"), content);
    auto back = StateFile::newRecord();
    StateFile::loadState(*back, dir.file("sys.dat"));
    EXPECT_EQ(bytesOf(*back), content);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"sys.dat"});
}

TEST_F(StateFileTest, SaveKeepsThePermissionsOfTheOldFile) {
    auto s = StateFile::newRecord();
    ASSERT_EQ(StateFile::saveState(*s, dir.file("sys.dat")), 0);
    fs::permissions(dir.file("sys.dat"), fs::perms::owner_read | fs::perms::owner_write);
    s->examCount = 3;
    ASSERT_EQ(StateFile::saveState(*s, dir.file("sys.dat")), 0);
    EXPECT_EQ(fs::status(dir.file("sys.dat")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

// Each case leaves an old state file in place, breaks the save in some way
// and expects its code with the old file untouched and no leftovers: 3 when
// the write fails once the file is open, 2 when it cannot be opened.
TEST_F(StateFileTest, FailedSaveLeavesTheOldFile) {
    struct Case {
        const char* name;
        std::function<void(const TempDir&)> breakIt;
        int code;
    };
    const Case cases[] = {
        {"disk full after 1 MiB",
         [](const TempDir&) {
             AtomicFile::setWriteHook([](const std::string&, std::size_t offset) { return offset < (1u << 20); });
         },
         StateFile::kSaveFailed},
        {"disk full at once",
         [](const TempDir&) { AtomicFile::setWriteHook([](const std::string&, std::size_t) { return false; }); },
         StateFile::kSaveFailed},
        {"write-protected file",
         [](const TempDir& d) { fs::permissions(d.file("sys.dat"), fs::perms::owner_read); },
         StateFile::kCannotWrite},
        {"write-protected for everyone",
         [](const TempDir& d) {
             fs::permissions(d.file("sys.dat"), fs::perms::owner_read | fs::perms::group_all | fs::perms::others_all);
         },
         StateFile::kCannotWrite},
    };
    const std::string old = pattern(kRecordSize, 23);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir d;
        d.write("sys.dat", old);
        c.breakIt(d);
        auto s = StateFile::newRecord();
        StateFile::resetState(*s);
        std::string detail;
        EXPECT_EQ(StateFile::saveState(*s, d.file("sys.dat"), &detail), c.code);
        AtomicFile::setWriteHook({});
        EXPECT_FALSE(detail.empty());
        EXPECT_TRUE(d.read("sys.dat") == old) << "old state file changed";
        EXPECT_EQ(folderEntries(d.path()), std::vector<std::string>{"sys.dat"});
    }
}

TEST_F(StateFileTest, HookSeesTheWriteProgressAndFailsHalfWay) {
    std::vector<std::size_t> offsets;
    AtomicFile::setWriteHook([&](const std::string& path, std::size_t offset) {
        EXPECT_EQ(path, dir.file("sys.dat"));
        offsets.push_back(offset);
        return offset < (1u << 20);
    });
    auto s = StateFile::newRecord();
    EXPECT_EQ(StateFile::saveState(*s, dir.file("sys.dat")), StateFile::kSaveFailed);
    ASSERT_GE(offsets.size(), 2u);
    EXPECT_EQ(offsets.front(), 0u);
    EXPECT_GE(offsets.back(), 1u << 20);
    EXPECT_LT(offsets.back(), kRecordSize);
    EXPECT_TRUE(folderEntries(dir.path()).empty()); // no temporary file, no half file
}

TEST_F(StateFileTest, SaveOverAFolderFails) {
    dir.mkdir("sys.dat");
    dir.write("sys.dat/keep.txt", "x");
    auto s = StateFile::newRecord();
    std::string detail;
    EXPECT_EQ(StateFile::saveState(*s, dir.file("sys.dat"), &detail), 2);
    EXPECT_FALSE(detail.empty());
    EXPECT_TRUE(fs::is_directory(dir.file("sys.dat")));
    EXPECT_EQ(dir.read("sys.dat/keep.txt"), "x");
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"sys.dat"});
}

TEST_F(StateFileTest, SaveIntoAMissingFolderFails) {
    auto s = StateFile::newRecord();
    EXPECT_EQ(StateFile::saveState(*s, dir.file("gone/sys.dat")), 2);
    EXPECT_FALSE(fs::exists(dir.file("gone")));
}

TEST_F(StateFileTest, SaveIntoAReadOnlyFolderFails) {
    // Root writes into read-only folders: the save runs as an ordinary user.
    OrdinaryUser user;
    if (!user.available()) GTEST_SKIP() << "no ordinary user to run as";
    const std::string old = pattern(kRecordSize, 29);
    dir.write("sys.dat", old);
    user.own(dir.path());
    user.own(dir.file("sys.dat"));
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    auto s = StateFile::newRecord();
    EXPECT_EQ(user.run([&] { return StateFile::saveState(*s, dir.file("sys.dat")); }), 2);
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_TRUE(dir.read("sys.dat") == old);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"sys.dat"});
}

TEST_F(StateFileTest, FieldsLandAtTheirOffsetsInTheFile) {
    auto s = StateFile::newRecord();
    StateFile::resetState(*s);
    const std::string bankPath = *gbk::fromUtf8("D:\\驾校\\题库\\小车.tk");
    writeField(s->bankPath, bankPath);
    s->extraBank = 1;
    s->examCount = 4321;
    writeField(s->skinSunXu, "skin\\a.png");
    writeField(s->skinChuji, "skin\\b.png");
    writeField(s->skinNanti, "skin\\c.png");
    writeField(s->skinKaoshi, *gbk::fromUtf8("皮肤\\考试.png"));
    s->historyCount = 2;
    HistoryEntry& e = s->history[7];
    const std::string takenAt = *gbk::fromUtf8("2024年03月05日14点07分09秒");
    writeField(e.takenAt, takenAt);
    e.score = 96;
    e.itemCount = 100;
    e.items[1] = {1101, 3, 1, {0, 0, 0}};
    e.items[2] = {-7, 0, 0, {0, 0, 0}};
    e.items[199] = {424242, 6, 1, {0, 0, 0}};
    writeField(e.bankTag, "car");
    s->history[999].score = 77;

    ASSERT_EQ(StateFile::saveState(*s, dir.file("sys.dat")), 0);
    const std::string f = dir.read("sys.dat");
    ASSERT_EQ(f.size(), kRecordSize);

    EXPECT_EQ(intAt(f, 24), 2); // historyCount
    EXPECT_EQ(f.substr(2472072, bankPath.size() + 1), bankPath + '\0');
    EXPECT_EQ(intAt(f, 2472372), 1);
    EXPECT_EQ(intAt(f, 2472376), 4321);
    EXPECT_EQ(f.substr(2472381, 11), std::string("skin\\a.png\0", 11));
    EXPECT_EQ(f.substr(2472481, 11), std::string("skin\\b.png\0", 11));
    EXPECT_EQ(f.substr(2472581, 11), std::string("skin\\c.png\0", 11));
    const std::string kaoshi = *gbk::fromUtf8("皮肤\\考试.png");
    EXPECT_EQ(f.substr(2472681, kaoshi.size() + 1), kaoshi + '\0');

    const std::size_t slot = 64 + 2472 * 7;
    EXPECT_EQ(f.substr(slot, takenAt.size() + 1), takenAt + '\0');
    EXPECT_EQ(intAt(f, slot + 32), 96);
    EXPECT_EQ(intAt(f, slot + 36), 100);
    EXPECT_EQ(intAt(f, slot + 52), 1101);
    EXPECT_EQ(intAt(f, slot + 56), 3);
    EXPECT_EQ(f[slot + 60], '\1');
    EXPECT_EQ(intAt(f, slot + 52 + 12), -7);
    EXPECT_EQ(intAt(f, slot + 52 + 12 * 198), 424242);
    EXPECT_EQ(intAt(f, slot + 52 + 12 * 198 + 4), 6);
    EXPECT_EQ(f[slot + 52 + 12 * 198 + 8], '\1');
    EXPECT_EQ(f.substr(slot + 2440, 4), std::string("car\0", 4));
    EXPECT_EQ(intAt(f, 64 + 2472 * 999 + 32), 77);
    // Slot 0 and the unused item 0 stay empty.
    EXPECT_EQ(f.substr(64, 2472).find_first_not_of('\0'), std::string::npos);
    EXPECT_EQ(f.substr(slot + 40, 12).find_first_not_of('\0'), std::string::npos);
}

TEST(StateRecord, UsableCountsAreClamped) {
    struct Case {
        std::int32_t stored;
        int history;
        int items;
    };
    const Case cases[] = {
        {INT_MIN, 0, 0}, {-1, 0, 0},     {0, 0, 0},       {1, 1, 1},           {198, 198, 198},
        {199, 199, 199}, {200, 200, 199}, {998, 998, 199}, {999, 999, 199},     {1000, 999, 199},
        {5000, 999, 199}, {INT_MAX, 999, 199},
    };
    auto s = StateFile::newRecord();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        s->historyCount = c.stored;
        s->history[1].itemCount = c.stored;
        EXPECT_EQ(usableHistoryCount(*s), c.history);
        EXPECT_EQ(usableItemCount(s->history[1]), c.items);
    }
}

TEST(StateRecord, ParseOfNoBytesChangesNothing) {
    auto s = StateFile::newRecord();
    s->examCount = 5;
    const std::string before = bytesOf(*s);
    StateFile::parse(std::string_view(), *s);
    StateFile::parse("", *s);
    EXPECT_EQ(bytesOf(*s), before);
}
