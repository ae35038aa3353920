#pragma once
#include <cstdint>
#include <string>
#include <unordered_set>

#include "data/AnswerJournal.h"

namespace cxb {

// The stars of the loaded bank's questions (我的收藏). Each star is written
// to the answer journal the moment it is given or taken, so it survives a
// crash as an answer does and never touches the bank file. Without a
// journal nothing can keep a star, and none is given.
class FavouriteMarks {
public:
    // The bank `tag` (as history entries name it) is loaded; its stars are
    // read from `journal` (null: no journal).
    void bankOpened(AnswerJournal* journal, const std::string& tag);
    void bankClosed();

    bool isStarred(std::int32_t questionId) const { return ids_.count(questionId) != 0; }
    const std::unordered_set<std::int32_t>& ids() const { return ids_; }

    // Stars the question, or takes its star away. False, with the star as
    // it was, when the journal could not keep the change (or there is none).
    bool toggle(std::int32_t questionId, std::int64_t atMs);

private:
    AnswerJournal* journal_ = nullptr;
    std::string tag_;
    std::unordered_set<std::int32_t> ids_;
};

} // namespace cxb
