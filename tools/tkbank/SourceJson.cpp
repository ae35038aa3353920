#include "SourceJson.h"

#include <algorithm>
#include <array>
#include <set>
#include <string_view>
#include <vector>

namespace cxb {
namespace {

constexpr std::array kQuestionKeys{"id",          "type",    "text",       "textHex",    "answer",
                                   "picture",     "pictureHex", "explanation", "explanationHex", "extra",
                                   "rightCount",  "wrongCount", "answerCount", "patch",      "chapter",    "topic"};
constexpr std::array kHeaderKeys{"bankAuthor", "bankAuthorHex", "bankLink",  "bankLinkHex",  "bankPicture",
                                 "bankPictureHex", "headerPatch", "record0", "afterRecords", "allowRepeatedIds"};
constexpr std::array kFileKeys{"include", "questions"};

template <typename List>
bool listed(const List& list, const std::string& key) {
    return std::find(list.begin(), list.end(), key) != list.end();
}

// Edits (insert, delete, change, swap two neighbours) from `a` to `b`.
std::size_t distance(const std::string& a, const std::string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// The known key `key` was most likely meant for, or "".
template <typename List>
std::string closest(const List& list, const std::string& key) {
    std::string best;
    std::size_t bestDistance = 3; // at most two slips of the keyboard
    for (const char* known : list) {
        std::size_t d = distance(key, known);
        if (d < bestDistance && d * 2 < std::string_view(known).size()) {
            bestDistance = d;
            best = known;
        }
    }
    return best;
}

// One open object or list while parsing.
struct Frame {
    bool object = false;
    std::set<std::string> keys; // of an object
    std::string lastKey;        // of an object
    int items = 0;              // of a list: how many begun so far
};

} // namespace

SourceJson::Parsed SourceJson::parse(std::string_view text) {
    Parsed out;
    std::vector<Frame> open;
    // A value begins: count it in the list it stands in.
    auto begins = [&] {
        if (!open.empty() && !open.back().object) ++open.back().items;
    };
    auto keep = [&](int, Json::parse_event_t event, Json& parsed) {
        switch (event) {
        case Json::parse_event_t::object_start:
        case Json::parse_event_t::array_start:
            begins();
            open.push_back(Frame{event == Json::parse_event_t::object_start, {}, {}, 0});
            break;
        case Json::parse_event_t::object_end:
        case Json::parse_event_t::array_end:
            if (!open.empty()) open.pop_back();
            break;
        case Json::parse_event_t::key: {
            Frame& f = open.back();
            f.lastKey = parsed.get<std::string>();
            if (!f.keys.insert(f.lastKey).second && out.repeated.key.empty()) {
                out.repeated.key = f.lastKey;
                // A question is an object in the top level's "questions" list.
                if (open.size() == 3 && open[0].lastKey == "questions" && !open[1].object)
                    out.repeated.questionPosition = open[1].items;
            }
            break;
        }
        case Json::parse_event_t::value:
            begins();
            break;
        }
        return true;
    };
    try {
        out.doc = Json::parse(text, keep);
    } catch (const Json::parse_error& e) {
        out.error = "not valid JSON: " + plain(e.what());
    }
    return out;
}

std::string SourceJson::unknownKey(const Json& object, Part part) {
    if (!object.is_object()) return {};
    for (const auto& [key, value] : object.items()) {
        (void)value;
        bool known = part == Part::Question ? listed(kQuestionKeys, key)
                                            : listed(kFileKeys, key) || listed(kHeaderKeys, key);
        if (known) continue;
        std::string sentence = "unknown key \"" + key + "\"";
        std::string meant = part == Part::Question ? closest(kQuestionKeys, key) : closest(kHeaderKeys, key);
        if (meant.empty() && part != Part::Question) meant = closest(kFileKeys, key);
        if (!meant.empty()) sentence += " (did you mean \"" + meant + "\"?)";
        return sentence;
    }
    return {};
}

std::string SourceJson::plain(const char* what) {
    std::string text = what;
    if (!text.empty() && text[0] == '[') {
        auto end = text.find("] ");
        if (end != std::string::npos) text.erase(0, end + 2);
    }
    return text;
}

} // namespace cxb
