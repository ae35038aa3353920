#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace cxb {

#pragma pack(push, 1)
struct BankHeader {
    std::int32_t questionCount;
    char reserved[38]; // carried along unchanged
    char bankAuthor[30];
    char bankLink[100];
    char bankPicture[60];
};

struct QuestionRecord {
    std::int32_t id;
    char reserved[32]; // carried along unchanged
    std::int32_t type; // 1 single choice, 2 true/false, 3 multiple choice
    std::int32_t extra;
    char text[1000];
    std::int32_t answer;
    char picture[200];
    char explanation[1000];
    std::int32_t rightCount;
    std::int32_t wrongCount;
    std::int32_t answerCount;
};
#pragma pack(pop)

static_assert(sizeof(BankHeader) == 232);
static_assert(offsetof(BankHeader, questionCount) == 0);
static_assert(offsetof(BankHeader, reserved) == 4);
static_assert(offsetof(BankHeader, bankAuthor) == 42);
static_assert(offsetof(BankHeader, bankLink) == 72);
static_assert(offsetof(BankHeader, bankPicture) == 172);

static_assert(sizeof(QuestionRecord) == 2260);
static_assert(offsetof(QuestionRecord, id) == 0);
static_assert(offsetof(QuestionRecord, reserved) == 4);
static_assert(offsetof(QuestionRecord, type) == 36);
static_assert(offsetof(QuestionRecord, extra) == 40);
static_assert(offsetof(QuestionRecord, text) == 44);
static_assert(offsetof(QuestionRecord, answer) == 1044);
static_assert(offsetof(QuestionRecord, picture) == 1048);
static_assert(offsetof(QuestionRecord, explanation) == 1248);
static_assert(offsetof(QuestionRecord, rightCount) == 2248);
static_assert(offsetof(QuestionRecord, wrongCount) == 2252);
static_assert(offsetof(QuestionRecord, answerCount) == 2256);

// Question types and answer codes.
enum QuestionType : std::int32_t { kSingleChoice = 1, kTrueFalse = 2, kMultipleChoice = 3 };
enum AnswerCode : std::int32_t { kNoAnswer = 0, kAnswerA = 1, kAnswerB = 2, kAnswerC = 3, kAnswerD = 4,
                                 kAnswerFalse = 5, kAnswerTrue = 6 };

// Memory for the record buffer from calloc, which the system hands out
// already zeroed: the records past the last question take no memory until
// they are written, and value-initialising a record there writes nothing.
// Meant for a buffer made at its full size that never shrinks and grows
// again (memory it had used would not be zero).
template <typename T>
struct ZeroedAllocator {
    using value_type = T;
    ZeroedAllocator() = default;
    template <typename U>
    constexpr ZeroedAllocator(const ZeroedAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        if (void* p = std::calloc(n, sizeof(T))) return static_cast<T*>(p);
        throw std::bad_alloc();
    }
    void deallocate(T* p, std::size_t) noexcept { std::free(p); }
    template <typename U>
    void construct(U*) noexcept {
        static_assert(std::is_trivially_default_constructible_v<U>);
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    template <typename U>
    friend bool operator==(const ZeroedAllocator&, const ZeroedAllocator<U>&) noexcept { return true; }
};

// A loaded question bank: its header and a buffer of 2,000 records, of
// which 1..questionCount are questions and record 0 is carried along.
class Bank {
public:
    static constexpr int kCapacity = 2000;
    static constexpr int kMaxQuestions = kCapacity - 1;

    Bank();

    BankHeader header{};
    std::vector<QuestionRecord, ZeroedAllocator<QuestionRecord>> records; // always kCapacity records, zeroed

    // The number of questions, always within 0..1999.
    int questionCount() const;

    // Position of the first question with this id (1..questionCount), or 0.
    int findById(std::int32_t id) const;
};

} // namespace cxb
