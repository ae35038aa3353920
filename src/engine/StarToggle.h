#pragma once
#include <cstdint>
#include <functional>

#include "engine/FavouriteMarks.h"
#include "engine/Session.h"

namespace cxb {

// The star of the question on show (btnxingbiao, Ctrl+D): gives it or
// takes it away at once through the journal, in practice and in a running
// exam alike (a star changes no answer and no score), and shows the
// button as the journal now holds it.
class StarToggle {
public:
    using Clock = std::function<std::int64_t()>; // Unix time in milliseconds

    static constexpr const char* kStar = "☆ 收藏";
    static constexpr const char* kStarred = "★ 已收藏";
    static constexpr const char* kNotKept =
        "无法保存收藏：答题记录（bankdata\\journal.db）打不开或无法写入，本题的收藏没有改变。";

    StarToggle(Session& s, FavouriteMarks& marks);
    void setClock(Clock clock) { clock_ = std::move(clock); }

    // Stars or unstars the entry on show; false, with a message, when the
    // journal could not keep it (the star stays as it was). Nothing happens
    // on an empty list.
    bool toggleStar();

    static const char* caption(bool starred) { return starred ? kStarred : kStar; }
    // What the analysis dialog says of the question's star.
    static const char* analysisText(bool starred) { return starred ? "★ 已收藏" : "☆ 未收藏"; }

private:
    void showButton(bool starred);

    Session& s_;
    FavouriteMarks& marks_;
    Clock clock_;
};

} // namespace cxb
