#pragma once
#include <array>
#include <string_view>

namespace cxb {

// The exam's four chapters and the fixed list of topics a shipped question
// is filed under (UTF-8, as the bank sources write them). A question of an
// extra bank that carries neither is filed under kUnfiled.
struct QuestionTopics {
    static constexpr std::array<std::string_view, 4> kChapters{
        "道路交通安全法律、法规和规章",
        "道路交通信号",
        "安全行车、文明驾驶基础知识",
        "机动车驾驶操作相关基础知识",
    };

    static constexpr std::array<std::string_view, 23> kTopics{
        "驾驶证", "登记与检验", "记分",     "罚则",     "事故处理", "通行规定",   "高速公路", "标志",
        "标线",   "信号灯",     "手势",     "安全驾驶", "文明驾驶", "特殊路段",   "恶劣天气", "应急处置",
        "急救",   "仪表与灯光", "车辆装置", "驾驶操作", "客车专项", "货车专项",   "危险品",
    };

    static constexpr std::string_view kUnfiled = "未分类";

    static constexpr bool isChapter(std::string_view name) {
        for (auto c : kChapters)
            if (c == name) return true;
        return false;
    }
    static constexpr bool isTopic(std::string_view name) {
        for (auto t : kTopics)
            if (t == name) return true;
        return false;
    }
};

} // namespace cxb
