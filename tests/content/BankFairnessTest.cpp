// A learner who knows no law must not be able to pass by reading the shape
// of a question: absolute words, the longest option, a favourite letter or a
// colour named in the stem. These checks read the bank sources themselves, so
// a failure names the question ids to mend in content/banks/*.json.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const fs::path kBanks = CXB_BANK_SOURCE_DIR;

// Words that make a statement sound absolute or careless. A learner soon
// learns to answer 错 to any of them unless they are as often right as wrong.
// "…" stands for anything in between ("像…一样").
constexpr std::array<std::string_view, 22> kCueWords = {
    "只要", "就可以", "不必", "不用", "仍然可以", "直接", "任何", "也可以", "可以", "随意", "不顾一切",
    "为了节省", "强行", "像…一样", "一律", "必须", "一定", "所有", "完全", "立即", "绝对", "只有…才"};

// Colours and shapes that tell the class of a sign (warning, prohibition,
// instruction, guide, tourist) without looking at the picture.
constexpr std::array<std::string_view, 22> kSignLooks = {
    "红色", "黄色", "蓝色", "绿色", "棕色", "白色", "黑色", "橙色", "红底", "黄底", "蓝底",
    "绿底", "棕底", "白底", "橙底", "红圈", "红边", "圆形", "三角形", "方形", "八角形", "菱形"};

struct Question {
    int id = 0;
    std::string type; // "single", "judge", "multi"
    std::string stem;
    std::vector<std::string> options; // the text after "A、"
    std::string answer;
    std::string picture;
    std::string file; // the source file it is written in
};

bool containsCue(std::string_view text, std::string_view cue) {
    constexpr std::string_view gap = "…";
    const auto at = cue.find(gap);
    if (at == std::string_view::npos) return text.find(cue) != std::string_view::npos;
    const auto first = text.find(cue.substr(0, at));
    return first != std::string_view::npos &&
           text.find(cue.substr(at + gap.size()), first + at) != std::string_view::npos;
}

bool hasCue(std::string_view text) {
    return std::any_of(kCueWords.begin(), kCueWords.end(), [&](std::string_view c) { return containsCue(text, c); });
}

bool namesSignLook(std::string_view text) {
    return std::any_of(kSignLooks.begin(), kSignLooks.end(),
                       [&](std::string_view w) { return text.find(w) != std::string_view::npos; });
}

std::size_t characters(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// An option line is a letter A-H followed by "、".
bool isOptionLine(std::string_view line) {
    constexpr std::string_view mark = "、";
    return line.size() > 1 && line[0] >= 'A' && line[0] <= 'H' && line.substr(1, mark.size()) == mark;
}

std::vector<std::string> linesOf(const json& text) {
    std::vector<std::string> pieces;
    if (text.is_string()) pieces.push_back(text.get<std::string>());
    else if (text.is_array())
        for (const auto& piece : text) pieces.push_back(piece.get<std::string>());
    std::vector<std::string> lines;
    for (const std::string& piece : pieces) {
        std::string line;
        std::istringstream in(piece);
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
    }
    return lines;
}

Question questionOf(const json& q, const std::string& file) {
    Question out;
    out.id = q.value("id", 0);
    out.type = q.value("type", json("")).is_string() ? q.value("type", "") : "";
    out.answer = q.value("answer", json("")).is_string() ? q.value("answer", "") : "";
    out.picture = q.value("picture", "");
    out.file = file;
    for (const std::string& line : linesOf(q.value("text", json()))) {
        if (isOptionLine(line)) out.options.push_back(line.substr(1 + std::string_view("、").size()));
        else out.stem += line;
    }
    return out;
}

// The questions of a source, those of its included files first, as tkbank
// builds them.
std::vector<Question> loadSource(const fs::path& path) {
    std::ifstream in(path);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    const json source = json::parse(in);
    std::vector<Question> out;
    for (const auto& name : source.value("include", json::array())) {
        std::vector<Question> part = loadSource(path.parent_path() / name.get<std::string>());
        out.insert(out.end(), part.begin(), part.end());
    }
    for (const auto& q : source.value("questions", json::array()))
        out.push_back(questionOf(q, path.filename().string()));
    return out;
}

std::string idList(const std::vector<int>& ids) {
    std::string out;
    for (int id : ids) out += (out.empty() ? "" : ", ") + std::to_string(id);
    return out;
}

std::string percent(std::size_t part, std::size_t whole) {
    return std::to_string(whole ? part * 100 / whole : 0) + " %";
}

// Each rule returns what is wrong, naming the questions to mend, or nothing.

// Among judge questions whose stem carries a cue word, 对 and 错 are each at
// least 40 %.
std::string cueJudgesBalanced(const std::vector<Question>& bank) {
    std::vector<int> right, wrong;
    for (const Question& q : bank)
        if (q.type == "judge" && hasCue(q.stem)) (q.answer == "对" ? right : wrong).push_back(q.id);
    const std::size_t all = right.size() + wrong.size();
    if (all == 0) return {};
    if (right.size() * 10 < all * 4)
        return "cue-word judge questions are 对 in only " + percent(right.size(), all) + " (" + std::to_string(right.size()) +
               " of " + std::to_string(all) + "); 错 with a cue word: " + idList(wrong);
    if (wrong.size() * 10 < all * 4)
        return "cue-word judge questions are 错 in only " + percent(wrong.size(), all) + " (" + std::to_string(wrong.size()) +
               " of " + std::to_string(all) + "); 对 with a cue word: " + idList(right);
    return {};
}

// A cue word in a single-choice option marks the key at least as often as
// chance would: a quarter of such options are keys.
std::string cueOptionsAreKeys(const std::vector<Question>& bank) {
    std::size_t cued = 0, keys = 0;
    std::vector<int> distractors;
    for (const Question& q : bank) {
        if (q.type != "single" || q.answer.size() != 1) continue;
        const std::size_t key = static_cast<std::size_t>(q.answer[0] - 'A');
        bool listed = false;
        for (std::size_t i = 0; i < q.options.size(); ++i) {
            if (!hasCue(q.options[i])) continue;
            ++cued;
            if (i == key) ++keys;
            else if (!listed) {
                distractors.push_back(q.id);
                listed = true;
            }
        }
    }
    if (keys * 4 >= cued) return {};
    return "options with a cue word are the key in only " + percent(keys, cued) + " (" + std::to_string(keys) + " of " +
           std::to_string(cued) + "); distractors with a cue word in: " + idList(distractors);
}

// The key is the strictly longest option of at most a quarter of the
// single-choice questions.
std::string longestIsRarelyKey(const std::vector<Question>& questions) {
    std::size_t single = 0;
    std::vector<int> longest;
    for (const Question& q : questions) {
        if (q.type != "single" || q.answer.size() != 1 || q.options.size() < 2) continue;
        ++single;
        const std::size_t key = static_cast<std::size_t>(q.answer[0] - 'A');
        if (key >= q.options.size()) continue;
        const std::size_t length = characters(q.options[key]);
        const bool strictly = std::none_of(q.options.begin(), q.options.end(), [&](const std::string& o) {
            return &o != &q.options[key] && characters(o) >= length;
        });
        if (strictly) longest.push_back(q.id);
    }
    if (longest.size() * 4 <= single) return {};
    return "the key is the longest option in " + percent(longest.size(), single) + " (" + std::to_string(longest.size()) +
           " of " + std::to_string(single) + "): " + idList(longest);
}

// Each letter is the key of 20-30 % of the single-choice questions, and 对 is
// the key of 40-60 % of the judge questions.
std::string keysSpread(const std::vector<Question>& bank) {
    std::map<char, std::vector<int>> byLetter;
    std::size_t single = 0, judge = 0;
    std::vector<int> right, wrong;
    for (const Question& q : bank) {
        if (q.type == "single" && q.answer.size() == 1) {
            ++single;
            byLetter[q.answer[0]].push_back(q.id);
        } else if (q.type == "judge") {
            ++judge;
            (q.answer == "对" ? right : wrong).push_back(q.id);
        }
    }
    std::string out;
    for (char letter : {'A', 'B', 'C', 'D'}) {
        const std::size_t n = byLetter[letter].size();
        if (n * 10 < single * 2 || n * 10 > single * 3)
            out += std::string("key ") + letter + " in " + percent(n, single) + " of single choice: " +
                   idList(byLetter[letter]) + "\n";
    }
    if (right.size() * 10 < judge * 4) out += "对 in only " + percent(right.size(), judge) + " of judge; 错: " + idList(wrong);
    if (right.size() * 10 > judge * 6) out += "对 in " + percent(right.size(), judge) + " of judge: " + idList(right);
    return out;
}

// Multiple choice has two to four keys, no letter is (almost) always a key,
// and every letter is a key about equally often.
std::string multiKeysSpread(const std::vector<Question>& bank) {
    std::vector<int> badCount;
    std::map<char, std::vector<int>> withLetter;
    std::size_t multi = 0, keys = 0;
    for (const Question& q : bank) {
        if (q.type != "multi") continue;
        ++multi;
        if (q.answer.size() < 2 || q.answer.size() > 4) badCount.push_back(q.id);
        for (char letter : q.answer) {
            withLetter[letter].push_back(q.id);
            ++keys;
        }
    }
    std::string out;
    if (!badCount.empty()) out += "multiple choice without two to four keys: " + idList(badCount) + "\n";
    if (multi < 4) return out;
    for (char letter : {'A', 'B', 'C', 'D'}) {
        const std::size_t n = withLetter[letter].size();
        if (n * 10 > multi * 9)
            out += std::string(1, letter) + " is a key of " + std::to_string(n) + " of " + std::to_string(multi) +
                   " multiple-choice questions\n";
        if (n * 100 < keys * 15 || n * 100 > keys * 35)
            out += std::string(1, letter) + " is " + percent(n, keys) + " of the multiple-choice keys: " +
                   idList(withLetter[letter]) + "\n";
    }
    return out;
}

// A question on a sign picture does not name the colour or shape that gives
// the sign's class away; the picture shows it.
std::string signStemsPlain(const std::vector<Question>& bank) {
    std::vector<int> naming;
    for (const Question& q : bank)
        if (q.picture.find("sign_") != std::string::npos && namesSignLook(q.stem)) naming.push_back(q.id);
    if (naming.empty()) return {};
    return "stems name the colour or shape of the pictured sign: " + idList(naming);
}

// ---------------------------------------------------------------------------
// The rules themselves, on small made-up banks: each fault is found and
// named, and a fair bank passes.

Question makeJudge(int id, std::string stem, std::string answer) {
    return {id, "judge", std::move(stem), {}, std::move(answer), "", "t.json"};
}
Question makeSingle(int id, std::vector<std::string> options, std::string answer, std::string stem = "问？") {
    return {id, "single", std::move(stem), std::move(options), std::move(answer), "", "t.json"};
}
Question makeMulti(int id, std::string answer) { return {id, "multi", "问？", {"甲", "乙", "丙", "丁"}, std::move(answer), "", "t.json"}; }

TEST(BankFairnessRules, CueWordsAreFoundWhereALearnerSeesThem) {
    struct Case {
        const char* text;
        bool cue;
    } cases[] = {
        {"只要开启转向灯就能并线", true},     {"像平时一样保持车速", true},       {"像这样", false},
        {"只有确认安全后才能通过", true},     {"才通过，只有一条车道", false},   {"应当减速慢行", false},
        {"不可以掉头", true},                 {"一律不得超车", true},             {"停车让行", false},
    };
    for (const Case& c : cases) EXPECT_EQ(hasCue(c.text), c.cue) << c.text;
}

TEST(BankFairnessRules, OptionsAndStemAreTakenFromTheTextLines) {
    const json q = json::parse(R"({"id": 7, "type": "single", "answer": "B",
        "text": ["第一行", "第二行？", "A、甲\r\nB、乙乙", "C、丙", "D、丁"]})");
    const Question parsed = questionOf(q, "x.json");
    EXPECT_EQ(parsed.stem, "第一行第二行？");
    EXPECT_EQ(parsed.options, (std::vector<std::string>{"甲", "乙乙", "丙", "丁"}));
    EXPECT_EQ(longestIsRarelyKey({parsed}), "the key is the longest option in 100 % (1 of 1): 7");
}

TEST(BankFairnessRules, EachFaultIsFoundAndNamed) {
    const std::vector<std::string> opts = {"三分", "六分", "九分", "十二分"};
    struct Case {
        const char* fault;
        std::string (*rule)(const std::vector<Question>&);
        std::vector<Question> bank;
        const char* names; // empty: the bank is fair
    } cases[] = {
        {"cue judges all 错", cueJudgesBalanced,
         {makeJudge(1, "只要小心就可以", "错"), makeJudge(2, "必须停车", "错"), makeJudge(3, "任何时候", "错"), makeJudge(4, "应当", "对")},
         "1, 2, 3"},
        {"cue judges all 对", cueJudgesBalanced, {makeJudge(5, "必须停车", "对"), makeJudge(6, "一律不得", "对")}, "5, 6"},
        {"cue judges balanced", cueJudgesBalanced, {makeJudge(1, "必须停车", "对"), makeJudge(2, "可以掉头", "错")}, ""},
        {"cue options never keys", cueOptionsAreKeys,
         {makeSingle(8, {"只要慢行", "停车", "减速", "鸣笛"}, "B"), makeSingle(9, {"减速", "不必停车", "停车", "慢行"}, "C")},
         "8, 9"},
        {"cue option keys at chance", cueOptionsAreKeys,
         {makeSingle(8, {"只要慢行", "停车", "减速", "鸣笛"}, "B"), makeSingle(9, {"减速", "必须停车", "慢行", "直接走"}, "B")},
         ""},
        {"longest key", longestIsRarelyKey,
         {makeSingle(10, {"甲", "乙", "丙丙", "丁"}, "C"), makeSingle(11, opts, "A"), makeSingle(12, opts, "B"), makeSingle(13, opts, "D")},
         "10, 13"},
        {"longest key in a quarter", longestIsRarelyKey,
         {makeSingle(10, {"甲", "乙", "丙丙", "丁"}, "C"), makeSingle(11, opts, "A"), makeSingle(12, opts, "B"), makeSingle(13, opts, "C")},
         ""},
        {"one letter always the key", keysSpread,
         {makeSingle(14, opts, "A"), makeSingle(15, opts, "A"), makeSingle(16, opts, "B"), makeSingle(17, opts, "C"), makeSingle(18, opts, "D"),
          makeJudge(19, "甲", "对"), makeJudge(20, "乙", "错")},
         "14, 15"},
        {"judge keys all 错", keysSpread,
         {makeSingle(14, opts, "A"), makeSingle(16, opts, "B"), makeSingle(17, opts, "C"), makeSingle(18, opts, "D"), makeJudge(21, "甲", "错"),
          makeJudge(22, "乙", "错")},
         "21, 22"},
        {"multiple choice with one key", multiKeysSpread, {makeMulti(23, "B"), makeMulti(24, "ABCD")}, "23"},
        {"multiple choice always A", multiKeysSpread,
         {makeMulti(25, "ABC"), makeMulti(26, "ACD"), makeMulti(27, "ABD"), makeMulti(28, "AB"), makeMulti(29, "ACD")}, "A is a key of 5 of 5"},
        {"multiple choice spread", multiKeysSpread,
         {makeMulti(25, "ABC"), makeMulti(26, "BCD"), makeMulti(27, "ABD"), makeMulti(28, "CD"), makeMulti(29, "AD"), makeMulti(30, "ABC")}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        const std::string found = c.rule(c.bank);
        if (std::string_view(c.names).empty()) EXPECT_EQ(found, "");
        else EXPECT_NE(found.find(c.names), std::string::npos) << found;
    }
    Question blue = makeSingle(31, opts, "A", "这个蓝色圆形标志是何含义？");
    blue.picture = "pics\\sign_straight.png";
    Question plain = makeSingle(32, opts, "A", "这个标志是何含义？");
    plain.picture = "pics\\sign_straight.png";
    Question noPicture = makeSingle(33, opts, "A", "蓝色圆形的标志属于哪一类？");
    EXPECT_EQ(signStemsPlain({blue, plain, noPicture}), "stems name the colour or shape of the pictured sign: 31");
}

// ---------------------------------------------------------------------------
// The shipped banks.

struct BankCase {
    const char* name;
    const char* source;
};
void PrintTo(const BankCase& b, std::ostream* os) { *os << b.source; }

class BankFairness : public ::testing::TestWithParam<BankCase> {
protected:
    std::vector<Question> bank() const { return loadSource(kBanks / GetParam().source); }
};

TEST_P(BankFairness, CueWordsDoNotDecideJudgeQuestions) { EXPECT_EQ(cueJudgesBalanced(bank()), ""); }
TEST_P(BankFairness, CueWordsInOptionsAreKeysAsOftenAsChance) { EXPECT_EQ(cueOptionsAreKeys(bank()), ""); }
TEST_P(BankFairness, KeysAreSpreadOverLettersAndJudgements) { EXPECT_EQ(keysSpread(bank()), ""); }
TEST_P(BankFairness, MultipleChoiceKeysFollowNoPattern) { EXPECT_EQ(multiKeysSpread(bank()), ""); }
TEST_P(BankFairness, SignStemsDoNotNameTheSignsLook) { EXPECT_EQ(signStemsPlain(bank()), ""); }

TEST_P(BankFairness, HasEnoughOfEachKind) {
    const std::vector<Question> questions = bank();
    ASSERT_GT(questions.size(), 500u);
    const auto count = [&](const char* type) {
        return std::count_if(questions.begin(), questions.end(), [&](const Question& q) { return q.type == type; });
    };
    EXPECT_GT(count("judge"), 200);
    EXPECT_GT(count("single"), 300);
    EXPECT_GT(count("multi"), 10);
}

INSTANTIATE_TEST_SUITE_P(Shipped, BankFairness,
                         ::testing::Values(BankCase{"car", "car.json"}, BankCase{"bus", "bus.json"},
                                           BankCase{"truck", "truck.json"}),
                         [](const ::testing::TestParamInfo<BankCase>& b) { return std::string(b.param.name); });

// The longest-option rule holds in every source file, so that no part of a
// bank leans on it even where the whole bank would hide it.
TEST(BankFairnessFiles, KeyIsRarelyTheLongestOption) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(kBanks)) {
        if (entry.path().extension() != ".json") continue;
        std::ifstream in(entry.path());
        const json source = json::parse(in);
        std::vector<Question> own;
        for (const auto& q : source.value("questions", json::array()))
            own.push_back(questionOf(q, entry.path().filename().string()));
        if (own.empty()) continue;
        ++files;
        EXPECT_EQ(longestIsRarelyKey(own), "") << entry.path().filename();
    }
    EXPECT_GE(files, 9);
}

} // namespace
