#pragma once
#include <string>

#include "engine/Session.h"

namespace cxb {

class HistoryBook;

// A recorded paper as two printable web pages in the program's folder:
// "h.htm" with the right answers and "n.htm" with blanks instead.
class PaperExport {
public:
    static constexpr const char* kWithAnswers = "h.htm";
    static constexpr const char* kWithoutAnswers = "n.htm";
    // Shown when a page cannot be written.
    static constexpr const char* kCannotWrite = "错误代码5";

    PaperExport(Session& s, HistoryBook& book);

    // The page for entry `e` as UTF-8 text; it is stored in GBK.
    std::string page(const HistoryEntry& e, bool withAnswers);
    // Writes both pages of history entry `entry` (1..historyCount); a page
    // that cannot be written is reported and the other is still tried.
    // Returns false when either failed.
    bool buildPaperPages(int entry);
    // Where a page is written (native path).
    std::string pagePath(bool withAnswers) const;

    // Text made safe for the page: & < > " become entities.
    static std::string escape(const std::string& text);

private:
    std::string row(int position, std::int32_t id, bool withAnswers);

    Session& s_;
    HistoryBook& book_;
};

} // namespace cxb
