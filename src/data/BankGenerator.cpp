#include "data/BankGenerator.h"

#include <string>

#include "data/FixedField.h"
#include "data/Gbk.h"

namespace cxb {
namespace {

std::uint32_t next(std::uint32_t& s) {
    s = s * 1664525u + 1013904223u;
    return s >> 8;
}

void put(char* field, std::size_t width, const std::string& utf8) { writeField(field, width, gbk::fromUtf8Lossy(utf8)); }

} // namespace

Bank BankGenerator::make(int questionCount, std::uint32_t seed) {
    if (questionCount < 0) questionCount = 0;
    if (questionCount > Bank::kMaxQuestions) questionCount = Bank::kMaxQuestions;
    Bank bank;
    bank.header.questionCount = questionCount;
    put(bank.header.bankAuthor, sizeof bank.header.bankAuthor, "测试题库");
    put(bank.header.bankPicture, sizeof bank.header.bankPicture, "bankdata\\pics\\gen_bank.png");
    static const char* topics[] = {"在高速公路上行驶", "通过没有信号灯的路口", "夜间会车", "雨天路滑",
                                   "驾驶机动车倒车", "遇到前方学校区域", "在隧道内", "车辆发生故障"};
    for (int i = 1; i <= questionCount; ++i) {
        QuestionRecord& r = bank.records[static_cast<std::size_t>(i)];
        r.id = i * 3 + static_cast<int>(next(seed) % 3); // ascending, with gaps
        r.type = 1 + static_cast<int>(next(seed) % 3);
        std::string topic = topics[next(seed) % 8];
        std::string text;
        if (r.type == kTrueFalse) {
            text = topic + "时，应当减速慢行并注意观察（第" + std::to_string(r.id) + "题）。";
            r.answer = next(seed) % 2 ? kAnswerTrue : kAnswerFalse;
        } else if (r.type == kSingleChoice) {
            text = topic + "时，驾驶人应当怎样做？（第" + std::to_string(r.id) +
                   "题）\r\nA、加速通过\r\nB、减速慢行\r\nC、鸣喇叭催促\r\nD、停车等待";
            r.answer = 1 + static_cast<int>(next(seed) % 4);
        } else {
            text = topic + "时，以下哪些做法正确？（第" + std::to_string(r.id) +
                   "题）\r\nA、保持车距\r\nB、降低车速\r\nC、开启灯光\r\nD、随意变道";
            r.answer = 2 | 4 | (next(seed) % 2 ? 8 : 0);
        }
        put(r.text, sizeof r.text, text);
        if (i % 5 == 0) put(r.picture, sizeof r.picture, "pics\\gen_" + std::to_string(r.id) + ".png");
        if (i % 7 != 0) put(r.explanation, sizeof r.explanation, "安全第一，" + topic + "时要谨慎驾驶。");
    }
    return bank;
}

} // namespace cxb
