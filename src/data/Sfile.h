#pragma once
#include <cstddef>
#include <cstdint>

namespace cxb {

// One question of a recorded exam.
#pragma pack(push, 1)
struct HistoryItem {
    std::int32_t questionId;
    std::int32_t userAnswer; // answer code given at hand-in, 0 = none
    std::uint8_t firstRight; // 1 when judged right
    std::uint8_t padding[3];
};

// One recorded exam: a slot of the state file's history area.
struct HistoryEntry {
    static constexpr int kMaxItems = 199;
    char takenAt[32]; // "yyyy年mm月dd日hh点nn分ss秒", GBK
    std::int32_t score;
    std::int32_t itemCount;
    HistoryItem items[kMaxItems + 1]; // items[0] is never used
    char bankTag[32];
};

// The whole remembered state: the image of "bankdata\sys.dat".
struct Sfile {
    static constexpr int kSlots = 1000;     // slot 0 is never used
    static constexpr int kMaxHistory = 999;

    std::int32_t bankChoice;
    std::int32_t textColor; // 0x00BBGGRR
    std::int32_t backColor; // 0x00BBGGRR
    std::int32_t beginnerCount;
    std::int32_t hardCount;
    std::int32_t hardSensitivity;
    std::int32_t historyCount;
    std::int32_t keyPrevious; // Windows virtual-key codes
    std::int32_t keyNext;
    std::int32_t keyAnswerA;
    std::int32_t keyAnswerB;
    std::int32_t keyAnswerC;
    std::int32_t keyAnswerD;
    std::int32_t pauseMs;
    std::int32_t examSeconds;
    std::int32_t reserved0;
    HistoryEntry history[kSlots];
    std::int32_t reserved1;
    std::int32_t reserved2;
    char bankPath[300]; // GBK
    std::int32_t extraBank;
    std::int32_t examCount;
    std::uint8_t unused;
    char skinSunXu[100];
    char skinChuji[100];
    char skinNanti[100];
    char skinKaoshi[100];
    // Bytes the original format leaves as padding. The first holds the
    // size of the question text (engine/TextSize.h); a file that never set
    // it has 0 there, the standard size. The next holds the mastery of the
    // wrong-question review (engine/MasterySetting.h), 0 there: never.
    std::uint8_t textSize;
    std::uint8_t padding[2];
};
#pragma pack(pop)

static_assert(sizeof(HistoryItem) == 12);
static_assert(offsetof(HistoryItem, questionId) == 0);
static_assert(offsetof(HistoryItem, userAnswer) == 4);
static_assert(offsetof(HistoryItem, firstRight) == 8);

static_assert(sizeof(HistoryEntry) == 2472);
static_assert(offsetof(HistoryEntry, takenAt) == 0);
static_assert(offsetof(HistoryEntry, score) == 32);
static_assert(offsetof(HistoryEntry, itemCount) == 36);
static_assert(offsetof(HistoryEntry, items) + sizeof(HistoryItem) == 52); // item 1 at 52
static_assert(offsetof(HistoryEntry, bankTag) == 2440);

static_assert(sizeof(Sfile) == 2472784);
static_assert(offsetof(Sfile, bankChoice) == 0);
static_assert(offsetof(Sfile, textColor) == 4);
static_assert(offsetof(Sfile, backColor) == 8);
static_assert(offsetof(Sfile, beginnerCount) == 12);
static_assert(offsetof(Sfile, hardCount) == 16);
static_assert(offsetof(Sfile, hardSensitivity) == 20);
static_assert(offsetof(Sfile, historyCount) == 24);
static_assert(offsetof(Sfile, keyPrevious) == 28);
static_assert(offsetof(Sfile, keyNext) == 32);
static_assert(offsetof(Sfile, keyAnswerA) == 36);
static_assert(offsetof(Sfile, keyAnswerB) == 40);
static_assert(offsetof(Sfile, keyAnswerC) == 44);
static_assert(offsetof(Sfile, keyAnswerD) == 48);
static_assert(offsetof(Sfile, pauseMs) == 52);
static_assert(offsetof(Sfile, examSeconds) == 56);
static_assert(offsetof(Sfile, reserved0) == 60);
static_assert(offsetof(Sfile, history) == 64);
static_assert(offsetof(Sfile, reserved1) == 2472064);
static_assert(offsetof(Sfile, reserved2) == 2472068);
static_assert(offsetof(Sfile, bankPath) == 2472072);
static_assert(offsetof(Sfile, extraBank) == 2472372);
static_assert(offsetof(Sfile, examCount) == 2472376);
static_assert(offsetof(Sfile, unused) == 2472380);
static_assert(offsetof(Sfile, skinSunXu) == 2472381);
static_assert(offsetof(Sfile, skinChuji) == 2472481);
static_assert(offsetof(Sfile, skinNanti) == 2472581);
static_assert(offsetof(Sfile, skinKaoshi) == 2472681);
static_assert(offsetof(Sfile, textSize) == 2472781);
static_assert(offsetof(Sfile, padding) == 2472782);

// The record is kept in the file as it is in memory; that needs a
// little-endian machine.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__);

// The number of history entries that may be read: historyCount clamped to
// 0..999, so a foreign file can never lead outside the history area.
inline int usableHistoryCount(const Sfile& s) {
    return s.historyCount < 0 ? 0 : (s.historyCount > Sfile::kMaxHistory ? Sfile::kMaxHistory : s.historyCount);
}
// itemCount clamped to 0..199 for the same reason.
inline int usableItemCount(const HistoryEntry& e) {
    return e.itemCount < 0 ? 0 : (e.itemCount > HistoryEntry::kMaxItems ? HistoryEntry::kMaxItems : e.itemCount);
}

} // namespace cxb
