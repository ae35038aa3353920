#include "engine/FavouriteMarks.h"

namespace cxb {

void FavouriteMarks::bankOpened(AnswerJournal* journal, const std::string& tag) {
    journal_ = journal;
    tag_ = tag;
    ids_.clear();
    if (!journal_) return;
    for (std::int32_t id : journal_->favourites(tag_)) ids_.insert(id);
}

void FavouriteMarks::bankClosed() {
    journal_ = nullptr;
    tag_.clear();
    ids_.clear();
}

bool FavouriteMarks::toggle(std::int32_t questionId, std::int64_t atMs) {
    if (!journal_) return false;
    const bool star = !isStarred(questionId);
    if (!journal_->setFavourite(tag_, questionId, star, atMs)) return false;
    if (star)
        ids_.insert(questionId);
    else
        ids_.erase(questionId);
    return true;
}

} // namespace cxb
