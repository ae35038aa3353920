#include "engine/TravellingPage.h"

#include <array>

#include "data/FileBytes.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StoredPath.h"
#include "engine/AnswerText.h"
#include "engine/BankNames.h"
#include "engine/ExamSession.h"
#include "engine/HistoryBook.h"
#include "engine/PaperExport.h"

namespace cxb {
namespace {

constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The look of the page, close to the plain pages: a 583-pixel table, the
// question beside its picture, one row per question.
constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:1em}"
    "table{width:583px;border-collapse:collapse}"
    "td{vertical-align:top;padding:4px;border-bottom:1px solid #ccc}"
    "td.q{width:370px}td.p{width:197px}td.p img{max-width:197px}"
    ".paper{margin-bottom:0.8em}.paper h1{font-size:1.3em;margin:0 0 0.3em 0}"
    ".wrong{color:#b00000}.right{color:#006000}";

std::string escapeText(const std::string& text) {
    std::string t = PaperExport::escape(text);
    std::string out;
    out.reserve(t.size());
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t.compare(i, 2, "\r\n") == 0) {
            out += "<br>";
            ++i;
        } else {
            out += t[i];
        }
    }
    return out;
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

} // namespace

TravellingPage::TravellingPage(Session& s, HistoryBook& book) : s_(s), book_(book) {}

std::string TravellingPage::base64(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = unsigned(static_cast<unsigned char>(bytes[i])) << 16 |
                           unsigned(static_cast<unsigned char>(bytes[i + 1])) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        for (int shift : {18, 12, 6, 0}) out += kAlphabet[(v >> shift) & 63];
    }
    if (const std::size_t left = bytes.size() - i; left > 0) {
        unsigned v = unsigned(static_cast<unsigned char>(bytes[i])) << 16;
        if (left == 2) v |= unsigned(static_cast<unsigned char>(bytes[i + 1])) << 8;
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += left == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::optional<std::string> TravellingPage::unbase64(std::string_view text) {
    std::array<int, 256> value {};
    value.fill(-1);
    for (int i = 0; i < 64; ++i) value[static_cast<unsigned char>(kAlphabet[i])] = i;
    if (text.size() % 4 != 0) return std::nullopt;
    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        int pad = 0;
        unsigned v = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            const char c = text[i + j];
            if (c == '=' && last && j >= 2) {
                ++pad;
                v <<= 6;
                continue;
            }
            const int d = value[static_cast<unsigned char>(c)];
            if (d < 0 || pad > 0) return std::nullopt;
            v = v << 6 | unsigned(d);
        }
        out += static_cast<char>(v >> 16 & 255);
        if (pad < 2) out += static_cast<char>(v >> 8 & 255);
        if (pad < 1) out += static_cast<char>(v & 255);
    }
    return out;
}

const char* TravellingPage::pictureType(std::string_view b) {
    if (startsWith(b, "\x89PNG\r\n\x1a\n")) return "image/png";
    if (startsWith(b, "\xFF\xD8\xFF")) return "image/jpeg";
    if (startsWith(b, "GIF87a") || startsWith(b, "GIF89a")) return "image/gif";
    if (startsWith(b, "BM") && b.size() > 14) return "image/bmp";
    const std::size_t start = b.find_first_not_of(" \t\r\n");
    if (start != std::string_view::npos) {
        const std::string_view head = b.substr(start, 512);
        if (startsWith(head, "<svg") || (startsWith(head, "<?xml") && head.find("<svg") != std::string_view::npos))
            return "image/svg+xml";
    }
    return "";
}

std::optional<std::string> TravellingPage::dataUri(std::string_view bytes) {
    const char* type = pictureType(bytes);
    if (!*type) return std::nullopt;
    return std::string("data:") + type + ";base64," + base64(bytes);
}

std::optional<std::string> TravellingPage::decodeDataUri(std::string_view uri) {
    if (!startsWith(uri, "data:")) return std::nullopt;
    const std::size_t comma = uri.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const std::string_view meta = uri.substr(5, comma - 5);
    if (meta.size() < 7 || meta.substr(meta.size() - 7) != ";base64") return std::nullopt;
    return unbase64(uri.substr(comma + 1));
}

std::string TravellingPage::picture(const std::string& stored) {
    const PictureRef ref = resolvePicture(stored, s_.state->extraBank == 1);
    if (ref.empty()) return {};
    const std::string shown = PaperExport::escape(gbk::toUtf8Lossy(ref.name));
    const auto bytes = readFileBytes(inProgramFolder(s_.folder, ref.storedPath));
    const auto uri = bytes ? dataUri(*bytes) : std::nullopt;
    if (!uri) return std::string("<span class=\"wrong\">") + kPictureMissing + shown + "）</span>";
    return "<img src=\"" + *uri + "\" alt=\"" + shown + "\" />";
}

std::string TravellingPage::header(const HistoryEntry& e, bool withAnswers) const {
    const std::string tag(readField(e.bankTag));
    const std::string bank = BankNames::historyName(tag, ExamSession::bankTag(*s_.state));
    const int count = usableItemCount(e);
    std::string h = "<div class=\"paper\"><h1>驰学宝 模拟考试卷" +
                    std::string(withAnswers ? "（含答案）" : "（无答案）") + "</h1><p>题库：" +
                    PaperExport::escape(bank) + "<br>考试时间：" +
                    PaperExport::escape(gbk::toUtf8Lossy(readField(e.takenAt))) + "<br>成绩：" +
                    std::to_string(e.score) + " 分（共 " + std::to_string(count) + " 题）</p></div>\n";
    return h;
}

std::string TravellingPage::row(int position, const HistoryItem& item, bool withAnswers) {
    const STRUCT_TK q = book_.lookupQuestion(item.questionId);
    std::string r = "<tr><td class=\"q\">" + std::to_string(position) + "," + escapeText(q.text) + "<p>答案：";
    if (withAnswers) {
        r += PaperExport::escape(answerText(q.type, q.answer));
        const std::string given = answerText(q.type, item.userAnswer);
        const bool right = item.userAnswer != 0 && item.userAnswer == q.answer;
        r += std::string("　<span class=\"") + (right ? "right" : "wrong") + "\">你的答案：" +
             (given.empty() ? std::string("未答") : PaperExport::escape(given)) + (right ? "（对）" : "（错）") +
             "</span>";
    } else {
        r += "___";
    }
    r += "</p></td><td class=\"p\">";
    r += picture(q.picture);
    r += "</td></tr>\n";
    return r;
}

std::string TravellingPage::html(int entry, bool withAnswers) {
    if (entry < 1 || entry > usableHistoryCount(*s_.state)) return {};
    const HistoryEntry& e = s_.state->history[entry];
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\" />\n<title>驰学宝 模拟考试卷</title>\n"
        "<style>";
    page += kStyle;
    page += "</style>\n</head>\n<body>\n";
    page += header(e, withAnswers);
    page += "<table>\n";
    const int n = usableItemCount(e);
    for (int i = 1; i <= n; ++i) page += row(i, e.items[i], withAnswers);
    page += "</table>\n</body>\n</html>\n";
    return page;
}

} // namespace cxb
