#pragma once
#include <string_view>

#include "data/Bank.h"

namespace cxb {

// The chapter and topic a question is filed under, as indexes into
// QuestionTopics::kChapters and kTopics; -1 when it is filed under neither
// (QuestionTopics::kUnfiled).
//
// The bank maker writes them into the first four of a record's reserved
// bytes, which the trainer's file format carries along unread: a two-byte
// mark, then the chapter and the topic, each counted from 1. A record whose
// reserved bytes do not start with the mark (a bank made elsewhere, whose
// bytes there are its own) is not filed by them.
struct QuestionFiling {
    int chapter = -1;
    int topic = -1;

    static constexpr std::size_t kBytes = 4;
    static constexpr char kMark0 = 0x7f;
    static constexpr char kMark1 = 'T';

    bool filed() const { return chapter >= 0 && topic >= 0; }
    bool operator==(const QuestionFiling&) const = default;

    // The filing a record's reserved bytes hold, if they hold one.
    static QuestionFiling stored(const QuestionRecord& r);
    // The filing of a question as the trainer shows it: the stored one, else
    // one read from the name of a picture of a sign, marking, signal or hand
    // signal, else none.
    static QuestionFiling of(const QuestionRecord& r);
    // The filing a picture's name tells ("pics\sign_stop.png" is a sign).
    static QuestionFiling fromPicture(std::string_view picture);
    // Writes a filing into a record's reserved bytes.
    static void store(QuestionRecord& r, QuestionFiling filing);
    // Index of a chapter or topic name, or -1.
    static int chapterIndex(std::string_view name);
    static int topicIndex(std::string_view name);
};

} // namespace cxb
