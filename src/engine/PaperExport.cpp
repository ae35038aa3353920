#include "engine/PaperExport.h"

#include "data/StoredPath.h"
#include "data/AtomicFile.h"
#include "data/Gbk.h"
#include "engine/AnswerText.h"
#include "engine/FileMessage.h"
#include "engine/HistoryBook.h"
#include "engine/Texts.h"

namespace cxb {
namespace {

// The page: twelve lines separated by LF, the last without one. It has no
// closing head and no body start tag; browsers show it all the same.
constexpr const char* kPage =
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
    "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n"
    "<head>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />\n"
    "<title>驰学宝</title>\n"
    "<table width=\"583\" border=\"0\">\n"
    "<ALL_TEXT>\n"
    "\n"
    "</table>\n"
    "\n"
    "</body>\n"
    "</html>";

// One table row per question.
constexpr const char* kRow =
    "\t\t  <tr>\n"
    "\t\t\t  <td width=\"370\" height=\"163\">\n"
    "\t\t\t  <TEXT>\n"
    "\t\t\t  <p name=\"da\">答案：<DAAN></p></td>\n"
    "<td width=\"197\"><TUPIANN></td>\t\t\t  </tr>\n";

// Picture tags: a name that is a path of its own, or a name under bankdata.
constexpr const char* kOwnPicture = "<img src=\"<TUPIAN>\"  />";
constexpr const char* kBankPicture = "<img src=\"bankdata/<TUPIAN>\"  />";

void replaceAll(std::string& s, const std::string& from, const std::string& to) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

void replaceFirst(std::string& s, const std::string& from, const std::string& to) {
    std::size_t at = s.find(from);
    if (at != std::string::npos) s.replace(at, from.size(), to);
}

} // namespace

PaperExport::PaperExport(Session& s, HistoryBook& book) : s_(s), book_(book) {}

std::string PaperExport::escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string PaperExport::row(int position, std::int32_t id, bool withAnswers) {
    STRUCT_TK q = book_.lookupQuestion(id);
    std::string text = escape(q.text);
    replaceAll(text, "\r\n", "<br>");
    text = std::to_string(position) + "," + text;

    std::string r = kRow;
    replaceAll(r, "<TEXT>", text);
    replaceAll(r, "<DAAN>", withAnswers ? answerText(q.type, q.answer) : std::string("___"));

    std::string name = gbk::toUtf8Lossy(q.picture);
    if (name.empty() || name == " ") {
        replaceAll(r, "<TUPIANN>", "");
    } else {
        std::string tag = isOwnPicturePath(q.picture, s_.state->extraBank == 1) ? kOwnPicture : kBankPicture;
        // Folders are separated by "/" so that a browser here finds the file.
        std::string src = escape(toNativePath(q.picture));
        replaceAll(tag, "<TUPIAN>", src);
        replaceAll(r, "<TUPIANN>", tag);
    }
    return r;
}

std::string PaperExport::page(const HistoryEntry& e, bool withAnswers) {
    std::string rows;
    const int n = usableItemCount(e);
    for (int i = 1; i <= n; ++i) rows += row(i, e.items[i].questionId, withAnswers);
    std::string p = kPage;
    replaceFirst(p, "<ALL_TEXT>", rows);
    return p;
}

std::string PaperExport::pagePath(bool withAnswers) const {
    return s_.nativePath(withAnswers ? kWithAnswers : kWithoutAnswers);
}

bool PaperExport::buildPaperPages(int entry) {
    if (entry < 1 || entry > usableHistoryCount(*s_.state)) return false;
    const HistoryEntry& e = s_.state->history[entry];
    bool ok = true;
    for (bool withAnswers : {true, false}) {
        std::string bytes = gbk::fromUtf8Lossy(page(e, withAnswers));
        if (AtomicFile::Outcome saved = AtomicFile::save(pagePath(withAnswers), bytes); !saved.ok()) {
            s_.fileMessage(kCannotWrite, pagePath(withAnswers), saved.problem, FileMessage::exportAdvice(saved.problem));
            ok = false;
        }
    }
    return ok;
}

} // namespace cxb
