#pragma once
#include "data/Bank.h"
#include "data/QuestionFiling.h"

namespace cxb {

// Which questions of the bank a list is drawn from: all of them, one
// chapter, one topic, or those filed under neither (未分类).
struct FiledScope {
    enum class Kind { All, Chapter, Topic, Unfiled };
    Kind kind = Kind::All;
    int index = -1; // the chapter's or topic's index in QuestionTopics

    static FiledScope all() { return {}; }
    static FiledScope chapter(int i) { return {Kind::Chapter, i}; }
    static FiledScope topic(int i) { return {Kind::Topic, i}; }
    static FiledScope unfiled() { return {Kind::Unfiled, -1}; }
    bool operator==(const FiledScope&) const = default;

    bool holds(const QuestionFiling& f) const {
        switch (kind) {
        case Kind::All: return true;
        case Kind::Chapter: return f.filed() && f.chapter == index;
        case Kind::Topic: return f.filed() && f.topic == index;
        case Kind::Unfiled: return !f.filed();
        }
        return false;
    }
};

} // namespace cxb
