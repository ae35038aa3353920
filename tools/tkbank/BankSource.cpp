#include "BankSource.h"

#include <cstring>
#include <nlohmann/json.hpp>
#include <unordered_map>

#include "SourceJson.h"
#include "data/FileBytes.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/QuestionFiling.h"
#include "data/QuestionTopics.h"

namespace cxb {
namespace {

using Json = nlohmann::ordered_json;

struct BuildError {
    std::string message;
};

[[noreturn]] void fail(const std::string& where, const std::string& what) { throw BuildError{where + ": " + what}; }

std::string toHex(std::string_view bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string fromHex(const std::string& hex, const std::string& where) {
    if (hex.size() % 2) fail(where, "hex text has an odd number of digits");
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        auto digit = [&](char c) -> int {
            if (c >= '0' && c <= '9') return c - '0';
            if (c >= 'a' && c <= 'f') return c - 'a' + 10;
            if (c >= 'A' && c <= 'F') return c - 'A' + 10;
            fail(where, std::string("'") + c + "' is not a hex digit");
        };
        out += static_cast<char>(digit(hex[i]) * 16 + digit(hex[i + 1]));
    }
    return out;
}

// Runs of bytes where `actual` differs from `base`, as [offset, "hex"].
Json patchOf(const char* actual, const char* base, std::size_t size) {
    Json runs = Json::array();
    std::size_t i = 0;
    while (i < size) {
        if (actual[i] == base[i]) { ++i; continue; }
        std::size_t start = i;
        // Join runs separated by fewer than 4 equal bytes.
        std::size_t end = i;
        while (i < size) {
            if (actual[i] != base[i]) { end = ++i; continue; }
            std::size_t same = i;
            while (same < size && same - i < 4 && actual[same] == base[same]) ++same;
            if (same - i >= 4 || same == size) break;
            i = same;
        }
        runs.push_back(Json::array({start, toHex(std::string_view(actual + start, end - start))}));
        i = end;
    }
    return runs;
}

void applyPatch(const Json& runs, char* target, std::size_t size, const std::string& where) {
    if (!runs.is_array()) fail(where, "a patch must be a list of [offset, \"hex\"] pairs");
    for (const auto& run : runs) {
        if (!run.is_array() || run.size() != 2 || !run[0].is_number_unsigned() || !run[1].is_string())
            fail(where, "a patch must be a list of [offset, \"hex\"] pairs");
        std::size_t offset = run[0].get<std::size_t>();
        std::string bytes = fromHex(run[1].get<std::string>(), where);
        if (offset > size || bytes.size() > size - offset)
            fail(where, "patch at offset " + std::to_string(offset) + " runs past the record");
        std::memcpy(target + offset, bytes.data(), bytes.size());
    }
}

std::int32_t toInt32(const Json& value, const std::string& where, const std::string& name) {
    if (!value.is_number_integer()) fail(where, name + " must be a whole number, not " + value.dump());
    if (value.is_number_unsigned() && value.get<std::uint64_t>() > static_cast<std::uint64_t>(INT32_MAX))
        fail(where, name + " " + value.dump() + " does not fit in 32 bits");
    auto v = value.get<std::int64_t>();
    if (v < INT32_MIN || v > INT32_MAX) fail(where, name + " " + std::to_string(v) + " does not fit in 32 bits");
    return static_cast<std::int32_t>(v);
}

// A question in messages: by its id, or by its place in its file's list
// when it has no usable id.
std::string questionLabel(const Json& q, int position) {
    if (q.is_object() && q.contains("id") && q["id"].is_number_integer()) {
        const Json& id = q["id"];
        bool fits = id.is_number_unsigned() ? id.get<std::uint64_t>() <= static_cast<std::uint64_t>(INT32_MAX)
                                            : id.get<std::int64_t>() >= INT32_MIN;
        if (fits) return "question " + id.dump();
    }
    return "question at position " + std::to_string(position);
}

std::string hexText(const Json& obj, const std::string& key, const std::string& where) {
    if (!obj[key].is_string()) fail(where, key + " must be a text of hex digits");
    return fromHex(obj[key].get<std::string>(), where + ": " + key);
}

// The GBK bytes of a text field, from "name" (UTF-8 text or lines) or
// "nameHex".
std::string fieldText(const Json& obj, const std::string& name, const std::string& where) {
    if (obj.contains(name + "Hex")) {
        if (obj.contains(name)) fail(where, "give either " + name + " or " + name + "Hex, not both");
        return hexText(obj, name + "Hex", where);
    }
    if (!obj.contains(name)) return {};
    const Json& v = obj[name];
    std::string utf8;
    if (v.is_string()) {
        utf8 = v.get<std::string>();
    } else if (v.is_array()) {
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (!v[i].is_string()) fail(where, name + " lines must be texts");
            if (i) utf8 += "\r\n";
            utf8 += v[i].get<std::string>();
        }
    } else {
        fail(where, name + " must be a text or a list of lines");
    }
    auto gbkText = gbk::fromUtf8(utf8);
    if (!gbkText) fail(where, name + " holds a character that GBK cannot store");
    return *gbkText;
}

void putField(char* field, std::size_t width, const std::string& gbkText, const std::string& where,
              const std::string& name) {
    if (gbkText.size() >= width)
        fail(where, name + " is " + std::to_string(gbkText.size()) + " GBK bytes; the field holds " +
                        std::to_string(width - 1));
    writeField(field, width, gbkText);
}

// Text fields go out as UTF-8 when they decode and re-encode exactly.
void dumpField(Json& obj, const std::string& name, std::string_view gbkText, bool lines) {
    auto utf8 = gbk::toUtf8(gbkText);
    if (!utf8 || gbk::fromUtf8(*utf8) != std::string(gbkText)) {
        obj[name + "Hex"] = toHex(gbkText);
        return;
    }
    if (lines && utf8->find("\r\n") != std::string::npos) {
        Json arr = Json::array();
        std::size_t pos = 0;
        for (;;) {
            std::size_t end = utf8->find("\r\n", pos);
            arr.push_back(utf8->substr(pos, end == std::string::npos ? std::string::npos : end - pos));
            if (end == std::string::npos) break;
            pos = end + 2;
        }
        obj[name] = arr;
    } else {
        obj[name] = *utf8;
    }
}

const char* kTypeNames[] = {nullptr, "single", "judge", "multi"};

// What a field holds that the source can carry: the text up to its
// terminator, cut where a terminator still fits. A patch brings back the rest.
template <std::size_t N>
std::string_view storable(const char (&field)[N]) {
    std::string_view text = readField(field);
    return text.substr(0, text.size() < N ? text.size() : gbk::prefixAtBoundary(text, N - 1));
}

std::int32_t parseType(const Json& v, const std::string& where) {
    if (v.is_string()) {
        for (int t = 1; t <= 3; ++t)
            if (v.get<std::string>() == kTypeNames[t]) return t;
        fail(where, "type \"" + v.get<std::string>() + "\" is not single, judge or multi");
    }
    return toInt32(v, where, "type");
}

std::int32_t parseAnswer(const Json& v, std::int32_t type, const std::string& where) {
    if (!v.is_string()) return toInt32(v, where, "answer");
    std::string a = v.get<std::string>();
    auto bad = [&]() -> std::int32_t {
        fail(where, "answer \"" + a + "\" does not fit a " +
                        (type >= 1 && type <= 3 ? std::string(kTypeNames[type]) : "type " + std::to_string(type)) +
                        " question");
    };
    if (type == kSingleChoice) {
        if (a.size() == 1 && a[0] >= 'A' && a[0] <= 'D') return a[0] - 'A' + 1;
        return bad();
    }
    if (type == kTrueFalse) {
        if (a == "对") return kAnswerTrue;
        if (a == "错") return kAnswerFalse;
        return bad();
    }
    if (type == kMultipleChoice) {
        std::int32_t set = 0;
        for (char c : a) {
            if (c < 'A' || c > 'H') return bad();
            std::int32_t bit = 2 << (c - 'A');
            if (set & bit) return bad();
            set |= bit;
        }
        if (set == 0) return bad();
        return set;
    }
    return bad();
}

Json dumpAnswer(std::int32_t type, std::int32_t code) {
    if (type == kSingleChoice && code >= 1 && code <= 4) return std::string(1, static_cast<char>('A' + code - 1));
    if (type == kTrueFalse && code == kAnswerTrue) return "对";
    if (type == kTrueFalse && code == kAnswerFalse) return "错";
    if (type == kMultipleChoice && code > 0 && (code & ~0x1FE) == 0) {
        std::string letters;
        for (int k = 0; k < 8; ++k)
            if (code & (2 << k)) letters += static_cast<char>('A' + k);
        return letters;
    }
    return code;
}

// A question of the source: the JSON, the file it came from and its place
// in that file's list (from 1).
struct SourceQuestion {
    Json q;
    std::string file;
    int position;
};

// "chapter" and "topic" name one of the fixed chapters and topics, and come
// together. A shipped bank files every question; a bank from elsewhere may
// leave them out.
QuestionFiling filingOf(const Json& q, bool shipped, const std::string& where) {
    if (q.contains("chapter")) {
        if (!q["chapter"].is_string() || !QuestionTopics::isChapter(q["chapter"].get<std::string>()))
            fail(where, "chapter " + q["chapter"].dump() + " is not one of the four chapters");
    }
    if (q.contains("topic")) {
        if (!q["topic"].is_string() || !QuestionTopics::isTopic(q["topic"].get<std::string>()))
            fail(where, "topic " + q["topic"].dump() + " is not one of the topics");
    }
    if (q.contains("chapter") != q.contains("topic"))
        fail(where, std::string("a ") + (q.contains("chapter") ? "chapter" : "topic") + " without a " +
                        (q.contains("chapter") ? "topic" : "chapter") + "; give both or neither");
    if (!q.contains("chapter")) {
        if (shipped) fail(where, "no chapter and topic; every question of a shipped bank is filed under both");
        return {};
    }
    return {QuestionFiling::chapterIndex(q["chapter"].get<std::string>()),
            QuestionFiling::topicIndex(q["topic"].get<std::string>())};
}

void buildQuestion(const SourceQuestion& sq, bool shipped, QuestionRecord& r) {
    const Json& q = sq.q;
    const std::string where = sq.file + ": " + questionLabel(q, sq.position);
    if (!q.is_object()) fail(where, "a question must be an object, not " + std::string(q.type_name()));
    if (std::string why = SourceJson::unknownKey(q, SourceJson::Part::Question); !why.empty()) fail(where, why);
    if (!q.contains("id")) fail(where, "no id");
    r.id = toInt32(q["id"], where, "id");
    if (!q.contains("type")) fail(where, "no type");
    r.type = parseType(q["type"], where);
    if (!q.contains("answer")) fail(where, "no answer");
    r.answer = parseAnswer(q["answer"], r.type, where);
    putField(r.text, sizeof r.text, fieldText(q, "text", where), where, "text");
    putField(r.picture, sizeof r.picture, fieldText(q, "picture", where), where, "picture");
    putField(r.explanation, sizeof r.explanation, fieldText(q, "explanation", where), where, "explanation");
    if (q.contains("extra")) r.extra = toInt32(q["extra"], where, "extra");
    if (q.contains("rightCount")) r.rightCount = toInt32(q["rightCount"], where, "rightCount");
    if (q.contains("wrongCount")) r.wrongCount = toInt32(q["wrongCount"], where, "wrongCount");
    if (q.contains("answerCount")) r.answerCount = toInt32(q["answerCount"], where, "answerCount");
    if (QuestionFiling filing = filingOf(q, shipped, where); filing.filed()) QuestionFiling::store(r, filing);
    if (q.contains("patch")) applyPatch(q["patch"], reinterpret_cast<char*>(&r), sizeof r, where);
}

// Parses a source file's text, refusing what is not JSON and a key given
// twice (the second would silently replace the first).
Json parseSource(std::string_view text, const std::string& file) {
    SourceJson::Parsed parsed = SourceJson::parse(text);
    if (!parsed.error.empty()) fail(file, parsed.error);
    const SourceJson::Repeated& twice = parsed.repeated;
    if (!twice.key.empty()) {
        std::string where = file;
        if (twice.questionPosition > 0)
            where += ": " + questionLabel(parsed.doc["questions"][static_cast<std::size_t>(twice.questionPosition - 1)],
                                          twice.questionPosition);
        fail(where, "key \"" + twice.key + "\" is given twice in one object; only one of them would be kept");
    }
    if (!parsed.doc.is_object()) fail(file, "the source must be a JSON object, not " + std::string(parsed.doc.type_name()));
    return std::move(parsed.doc);
}

void collectQuestions(const Json& doc, const std::string& file, const std::string& baseDir, int depth,
                      std::vector<SourceQuestion>& out) {
    if (depth > 8) fail(file, "includes nest too deep");
    if (doc.contains("include")) {
        if (!doc["include"].is_array()) fail(file, "include must be a list of file names");
        for (const auto& inc : doc["include"]) {
            if (!inc.is_string()) fail(file, "include entries must be file names");
            std::string path = baseDir + "/" + inc.get<std::string>();
            auto bytes = readFileBytes(path);
            if (!bytes) fail(file, "cannot read included file " + path);
            Json sub = parseSource(*bytes, path);
            if (std::string why = SourceJson::unknownKey(sub, SourceJson::Part::File); !why.empty())
                fail(path, why);
            std::string subDir = path.substr(0, path.rfind('/'));
            collectQuestions(sub, path, subDir, depth + 1, out);
        }
    }
    if (doc.contains("questions")) {
        if (!doc["questions"].is_array()) fail(file, "questions must be a list");
        int position = 0;
        for (const auto& q : doc["questions"]) out.push_back({q, file, ++position});
    }
}

// Two questions with the same id would be one question to the trainer's
// look-ups (history, analysis): refused.
void refuseRepeatedIds(const Bank& bank, const std::vector<SourceQuestion>& questions) {
    std::unordered_map<std::int32_t, std::size_t> first;
    for (std::size_t i = 0; i < questions.size(); ++i) {
        const std::int32_t id = bank.records[i + 1].id;
        auto [it, fresh] = first.emplace(id, i);
        if (fresh) continue;
        const SourceQuestion& earlier = questions[it->second];
        fail(questions[i].file + ": question " + std::to_string(id),
             "id " + std::to_string(id) + " is already used by the question at position " +
                 std::to_string(earlier.position) + " of " + earlier.file);
    }
}

} // namespace

Result<Bank> BankSource::build(std::string_view json, const std::string& sourceName, const std::string& baseDir,
                               std::string* afterRecords, bool shipped) {
    try {
        Json doc = parseSource(json, sourceName);
        if (std::string why = SourceJson::unknownKey(doc, SourceJson::Part::File); !why.empty())
            fail(sourceName, why);
        Bank bank;
        BankHeader& h = bank.header;
        putField(h.bankAuthor, sizeof h.bankAuthor, fieldText(doc, "bankAuthor", sourceName), sourceName,
                 "bankAuthor");
        putField(h.bankLink, sizeof h.bankLink, fieldText(doc, "bankLink", sourceName), sourceName, "bankLink");
        putField(h.bankPicture, sizeof h.bankPicture, fieldText(doc, "bankPicture", sourceName), sourceName,
                 "bankPicture");
        std::vector<SourceQuestion> questions;
        collectQuestions(doc, sourceName, baseDir, 0, questions);
        if (questions.size() > static_cast<std::size_t>(Bank::kMaxQuestions))
            fail(sourceName, std::to_string(questions.size()) + " questions; a bank holds at most 1999");
        h.questionCount = static_cast<std::int32_t>(questions.size());
        if (doc.contains("headerPatch"))
            applyPatch(doc["headerPatch"], reinterpret_cast<char*>(&h), sizeof h, sourceName + ": headerPatch");
        if (doc.contains("record0"))
            applyPatch(doc["record0"], reinterpret_cast<char*>(&bank.records[0]), sizeof(QuestionRecord),
                       sourceName + ": record0");
        for (std::size_t i = 0; i < questions.size(); ++i) buildQuestion(questions[i], shipped, bank.records[i + 1]);
        if (h.questionCount != static_cast<std::int32_t>(questions.size()))
            fail(sourceName, "headerPatch must not change the question count");
        if (doc.contains("allowRepeatedIds") && !doc["allowRepeatedIds"].is_boolean())
            fail(sourceName, "allowRepeatedIds must be true or false");
        if (!doc.value("allowRepeatedIds", false)) refuseRepeatedIds(bank, questions);
        std::string after = doc.contains("afterRecords") ? hexText(doc, "afterRecords", sourceName) : std::string();
        if (afterRecords)
            *afterRecords = std::move(after);
        else if (!after.empty())
            fail(sourceName, "afterRecords holds bytes that only a whole bank file can carry");
        return bank;
    } catch (const BuildError& e) {
        return Result<Bank>::failure(e.message);
    } catch (const Json::exception& e) {
        return Result<Bank>::failure(sourceName + ": " + SourceJson::plain(e.what()));
    }
}

Result<Bank> BankSource::buildFile(const std::string& path, std::string* afterRecords, bool shipped) {
    auto bytes = readFileBytes(path);
    if (!bytes) return Result<Bank>::failure("cannot read " + path);
    auto slash = path.rfind('/');
    return build(*bytes, path, slash == std::string::npos ? "." : path.substr(0, slash), afterRecords, shipped);
}

std::string BankSource::dump(const Bank& bank, std::string_view afterRecords) {
    Json doc;
    const BankHeader& h = bank.header;
    dumpField(doc, "bankAuthor", storable(h.bankAuthor), false);
    dumpField(doc, "bankLink", storable(h.bankLink), false);
    dumpField(doc, "bankPicture", storable(h.bankPicture), false);

    BankHeader base{};
    std::memset(&base, 0, sizeof base);
    base.questionCount = h.questionCount;
    writeField(base.bankAuthor, readField(h.bankAuthor));
    writeField(base.bankLink, readField(h.bankLink));
    writeField(base.bankPicture, readField(h.bankPicture));
    Json headerPatch = patchOf(reinterpret_cast<const char*>(&h), reinterpret_cast<const char*>(&base), sizeof h);
    if (!headerPatch.empty()) doc["headerPatch"] = headerPatch;

    QuestionRecord zero{};
    std::memset(&zero, 0, sizeof zero);
    Json record0 = patchOf(reinterpret_cast<const char*>(&bank.records[0]), reinterpret_cast<const char*>(&zero),
                           sizeof zero);
    if (!record0.empty()) doc["record0"] = record0;

    // A bank made elsewhere may use an id twice; its source says so, so that
    // it builds again.
    std::unordered_map<std::int32_t, int> ids;
    for (int i = 1; i <= bank.questionCount(); ++i)
        if (++ids[bank.records[static_cast<std::size_t>(i)].id] == 2) doc["allowRepeatedIds"] = true;

    Json questions = Json::array();
    for (int i = 1; i <= bank.questionCount(); ++i) {
        const QuestionRecord& r = bank.records[static_cast<std::size_t>(i)];
        Json q;
        q["id"] = r.id;
        if (r.type >= 1 && r.type <= 3)
            q["type"] = kTypeNames[r.type];
        else
            q["type"] = r.type;
        const QuestionFiling filing = QuestionFiling::stored(r);
        if (filing.filed()) {
            q["chapter"] = QuestionTopics::kChapters[static_cast<std::size_t>(filing.chapter)];
            q["topic"] = QuestionTopics::kTopics[static_cast<std::size_t>(filing.topic)];
        }
        dumpField(q, "text", storable(r.text), true);
        q["answer"] = dumpAnswer(r.type, r.answer);
        if (!storable(r.picture).empty()) dumpField(q, "picture", storable(r.picture), false);
        if (!storable(r.explanation).empty()) dumpField(q, "explanation", storable(r.explanation), true);
        if (r.extra) q["extra"] = r.extra;
        if (r.rightCount) q["rightCount"] = r.rightCount;
        if (r.wrongCount) q["wrongCount"] = r.wrongCount;
        if (r.answerCount) q["answerCount"] = r.answerCount;

        QuestionRecord rebuilt{};
        std::memset(&rebuilt, 0, sizeof rebuilt);
        rebuilt.id = r.id;
        rebuilt.type = r.type;
        rebuilt.extra = r.extra;
        rebuilt.answer = r.answer;
        writeField(rebuilt.text, readField(r.text));
        writeField(rebuilt.picture, readField(r.picture));
        writeField(rebuilt.explanation, readField(r.explanation));
        rebuilt.rightCount = r.rightCount;
        rebuilt.wrongCount = r.wrongCount;
        rebuilt.answerCount = r.answerCount;
        if (filing.filed()) QuestionFiling::store(rebuilt, filing);
        Json patch = patchOf(reinterpret_cast<const char*>(&r), reinterpret_cast<const char*>(&rebuilt), sizeof r);
        if (!patch.empty()) q["patch"] = patch;
        questions.push_back(q);
    }
    doc["questions"] = questions;
    if (!afterRecords.empty()) doc["afterRecords"] = toHex(afterRecords);
    return doc.dump(2) + "\n";
}

} // namespace cxb
