#include "engine/ControlNames.h"

namespace cxb {

namespace {

struct Named {
    const char* window;
    const char* control;
    const char* name;
};

const Named kNames[] = {
    // tool strip
    {"TForm1", "pnl3", "工具栏"},
    {"TForm1", "ima_sunxu", "顺序练习"},
    {"TForm1", "Imchuji", "初步练习"},
    {"TForm1", "Ima_nanti", "难题练习"},
    {"TForm1", "Ima_kaoshi", "模拟考试"},
    {"TForm1", "Ima_cuowuji", "错误集"},
    {"TForm1", "Ima_tiku", "题库"},
    {"TForm1", "img_lishi", "历史"},
    {"TForm1", "img_shezhi", "设置"},
    {"TForm1", "imgzhuozhe", "信息和帮助"},
    {"TForm1", "img5", "关闭"},
    {"TForm1", "img2", "题库图片"},
    {"TForm1", "lbltikuzhuozhe", "题库作者"},
    {"TForm1", "lblguanyu", "版本"},
    // question view
    {"TForm1", "pnl2", "做题"},
    {"TForm1", "Label7", "提示"},
    {"TForm1", "Label2", "题号"},
    {"TForm1", "Label3", "进度"},
    {"TForm1", "lbljiazai", "加载提示"},
    {"TForm1", "Memo1", "题目"},
    {"TForm1", "ScrollBox2", "题目图片"},
    {"TForm1", "ImagIE", "题目图片"},
    {"TForm1", "PaSuanZe", "单选题答案"},
    {"TForm1", "PaPanDuan", "判断题答案"},
    {"TForm1", "pnlduanxuan", "多选题答案"},
    {"TForm1", "Image1", "答案A"},
    {"TForm1", "Image3", "答案B"},
    {"TForm1", "img3", "答案C"},
    {"TForm1", "img4", "答案D"},
    {"TForm1", "Image4", "对"},
    {"TForm1", "Image5", "错"},
    {"TForm1", "btnxingbiao", "收藏本题"},
    {"TForm1", "Label4", "判断结果"},
    {"TForm1", "Image2", "判断标记"},
    {"TForm1", "Label5", "分数"},
    {"TForm1", "Label6", "正确率"},
    {"TForm1", "lbl1", "剩余时间"},
    {"TForm1", "ScrollBox1", "选题区"},
    {"TForm1", "mage1", "选题区"},
    // error collection, search, exam result, information
    {"TForm1", "pnl1", "错误集"},
    {"TForm1", "lv1", "错题列表"},
    {"TForm1", "souPNL", "题库搜索"},
    {"TForm1", "edtchazhao", "搜索题号或文字"},
    {"TForm1", "lv2", "搜索结果"},
    {"TForm1", "mmo1", "题目"},
    {"TForm1", "lbl3", "答案"},
    {"TForm1", "img1", "题目图片"},
    {"TForm1", "Panel2", "考试结果"},
    {"TForm1", "LabelMessage", "考试结果"},
    {"TForm1", "lbltongguo", "通过的可能"},
    {"TForm1", "lblfuxi", "再复习"},
    {"TForm1", "pnlIE", "信息"},
    {"TForm1", "WebBrowser1", "信息和帮助"},
    // dialogs
    {"Tlishidlg", "lv1", "考试历史"},
    {"TForm7", "wb1", "试卷"},
    {"TForm5", "Metx", "题目"},
    {"TForm5", "Image", "题目图片"},
    {"TForm5", "Label8", "答案"},
    {"TForm5", "Label7", "题号"},
    {"TForm5", "read", "答题次数"},
    {"TForm5", "dui", "正确次数"},
    {"TForm5", "er", "错误次数"},
    {"TFormChapters", "tvzhangjie", "章节和专项"},
};

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string oneLine(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') continue;
        out += text[i] == '\n' ? ' ' : text[i];
    }
    return out;
}

} // namespace

std::string ControlNames::name(std::string_view window, std::string_view control) {
    for (const Named& n : kNames)
        if (window == n.window && control == n.control) return n.name;
    return {};
}

std::vector<std::pair<std::string, std::string>> ControlNames::names(std::string_view window) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const Named& n : kNames)
        if (window == n.window) out.emplace_back(n.control, n.name);
    return out;
}

std::string ControlNames::optionText(std::string_view text, int letter) {
    if (letter < 0 || letter > 7) return {};
    const char mark = static_cast<char>('A' + letter);
    static const std::string_view kSeparators[] = {"、", "．", ".", "：", ":"};
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        while (startsWith(line, " ") || startsWith(line, "\t")) line.remove_prefix(1);
        if (!line.empty() && line[0] == mark)
            for (std::string_view sep : kSeparators)
                if (startsWith(line.substr(1), sep)) return std::string(line.substr(1 + sep.size()));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return {};
}

std::vector<std::pair<std::string, std::string>> ControlNames::questionDescriptions(const QuestionView& v) {
    std::vector<std::pair<std::string, std::string>> out;
    std::string about = v.label2;
    if (!v.label3.empty()) about += (about.empty() ? "" : "，") + std::string("第") + v.label3 + "题";
    out.emplace_back("Memo1", about.empty() ? oneLine(v.memo1) : about + "：" + oneLine(v.memo1));
    static const char* kSingle[] = {"Image1", "Image3", "img3", "img4"};
    for (int i = 0; i < 4; ++i) out.emplace_back(kSingle[i], optionText(v.memo1, i));
    for (int i = 0; i < 8; ++i)
        out.emplace_back(std::string("chk") + static_cast<char>('A' + i), optionText(v.memo1, i));
    std::string judgement = v.label4Visible ? oneLine(v.label4) : std::string();
    if (!judgement.empty() && !v.comeBack.empty()) judgement += "；" + v.comeBack;
    out.emplace_back("Label4", judgement);
    out.emplace_back("Image2", judgement);
    return out;
}

} // namespace cxb
