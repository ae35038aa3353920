#include "engine/CommandKeys.h"

namespace cxb {

namespace {
using B = KeyBinding;

// Main window first, tool strip left to right, then the question view, the
// side panels and the dialogs. Desktop habits: F1 help, Ctrl+F find, Ctrl+Q
// quit, Ctrl+, preferences, Enter and Esc in dialogs; the panels' buttons
// are Alt+1, Alt+2 … from left to right.
const std::vector<CommandKey> kTable = {
    {"TForm1", "ima_sunxu", "顺序练习", "Ctrl+1", B::Shortcut},
    {"TForm1", "Imchuji", "初步练习", "Ctrl+2", B::Shortcut},
    {"TForm1", "Ima_nanti", "难题练习", "Ctrl+3", B::Shortcut},
    {"TForm1", "Ima_kaoshi", "模拟考试", "Ctrl+4", B::Shortcut},
    {"TForm1", "Ima_cuowuji", "错误集", "Ctrl+5", B::Shortcut},
    {"TForm1", "Ima_tiku", "题库（搜索）", "Ctrl+F", B::Shortcut, "edtchazhao"},
    {"TForm1", "img_lishi", "历史", "Ctrl+H", B::Shortcut},
    {"TForm1", "img_shezhi", "设置", "Ctrl+,", B::Shortcut},
    {"TForm1", "imgzhuozhe", "信息和帮助", "F1", B::Shortcut},
    {"TForm1", "Pifu", "皮肤设置", "Ctrl+K", B::Shortcut},
    {"TForm1", "img5", "关闭", "Ctrl+Q", B::Shortcut},
    {"TForm1", "UP", "上一题", "Up", B::QuestionKeys},
    {"TForm1", "DO", "下一题", "Down", B::QuestionKeys},
    {"TForm1", "btnduoxuan", "完成（多选题）", "Return", B::QuestionKeys},
    {"TForm1", "Button2", "重新出题", "Ctrl+R", B::Shortcut},
    {"TForm1", "BitBtn9", "隐藏/显示选题区", "Ctrl+L", B::Shortcut},
    {"TForm1", "btnzhangjie", "章节练习、专项练习", "Ctrl+6", B::Shortcut},
    {"TForm1", "btnsuiji", "随机练习", "Ctrl+7", B::Shortcut},
    {"TForm1", "btnshoucang", "我的收藏", "Ctrl+8", B::Shortcut},
    {"TForm1", "btnzhineng", "智能复习", "Ctrl+9", B::Shortcut},
    {"TForm1", "btnxingbiao", "收藏本题", "Ctrl+D", B::Shortcut},
    {"TForm1", "JIAOJUAN", "交卷", "Ctrl+Return; Ctrl+Enter", B::Confirmed},
    {"TForm1", "btnGCerror", "刚才的错题", "Alt+1", B::Shortcut},
    {"TForm1", "btnQuanBu", "曾经全部错题", "Alt+2", B::Shortcut},
    {"TForm1", "btn4", "练习错题", "Alt+3", B::Shortcut},
    {"TForm1", "Button3", "本题分析", "Alt+4", B::Shortcut},
    {"TForm1", "sou", "搜索", "Alt+1", B::Shortcut},
    {"TForm1", "btnfx", "本题分析", "Alt+2", B::Shortcut},
    {"TForm1", "btn1", "关闭考试结果", "Alt+1", B::Shortcut},
    {"TForm1", "Button1", "错误集", "Alt+2", B::Shortcut},
    {"TForm1", "btn3", "再次挑战刚刚错题", "Alt+3", B::Shortcut},

    {"Tlishidlg", "btn3", "查看考试卷", "Alt+1", B::Shortcut},
    {"Tlishidlg", "btn1", "再次考试本卷", "Alt+2", B::Shortcut},
    {"Tlishidlg", "btn4", "导出、打印", "Alt+3", B::Shortcut},
    {"Tlishidlg", "btn2", "删除本卷", "Alt+4", B::Shortcut},
    {"Tlishidlg", "btntrend", "成绩走势", "Alt+5", B::Shortcut},
    {"Tlishidlg", "btnprogress", "学习进度", "Alt+6", B::Shortcut},
    {"Tlishidlg", "", "关闭历史", "Esc", B::Dialog},

    {"TForm7", "chk1", "显示答案", "Alt+1", B::Shortcut},
    {"TForm7", "btn1", "保存", "Ctrl+S", B::Shortcut},
    {"TForm7", "btn2", "打印", "Ctrl+P", B::Shortcut},
    {"TForm7", "btnpdf", "导出PDF", "Ctrl+E", B::Shortcut},
    {"TForm7", "", "关闭导出", "Esc", B::Dialog},

    {"TFormChapters", "btnshunxu", "顺序练习", "Alt+1", B::Shortcut},
    {"TFormChapters", "btnsuijilx", "随机练习", "Alt+2", B::Shortcut},
    {"TFormChapters", "", "顺序练习所选的章节或专项", "Return", B::Dialog},
    {"TFormChapters", "btnguanbi", "关闭", "Esc", B::Dialog},

    {"TForm6", "btn1", "使用建议颜色", "Alt+1", B::Shortcut},
    {"TForm6", "Button1", "确定", "Return", B::Dialog},
    {"TForm6", "Button2", "取消", "Esc", B::Dialog},
    {"TForm5", "Button1", "确定", "Return", B::Dialog},
    {"TForm5", "Button2", "取消", "Esc", B::Dialog},
    {"TForm_Pifu", "Button2", "确定", "Return", B::Dialog},
    {"TForm_Pifu", "Button3", "取消", "Esc", B::Dialog},
};

bool bound(const CommandKey& e) { return e.binding == B::Shortcut || e.binding == B::Confirmed; }

} // namespace

const std::vector<CommandKey>& CommandKeys::all() { return kTable; }

const CommandKey* CommandKeys::find(std::string_view window, std::string_view control) {
    for (const CommandKey& e : kTable)
        if (window == e.window && control == e.control) return &e;
    return nullptr;
}

std::vector<std::string> CommandKeys::keys(const CommandKey& entry) {
    std::vector<std::string> out;
    std::string_view rest = entry.keys;
    while (!rest.empty()) {
        const std::size_t cut = rest.find("; ");
        out.emplace_back(rest.substr(0, cut));
        if (cut == std::string_view::npos) break;
        rest.remove_prefix(cut + 2);
    }
    return out;
}

bool CommandKeys::isShortcut(std::string_view window, std::string_view keyText) {
    for (const CommandKey& e : kTable) {
        if (window != e.window || !bound(e)) continue;
        for (const std::string& k : keys(e))
            if (k == keyText) return true;
    }
    return false;
}

std::string CommandKeys::shown(std::string_view keyText) {
    static const struct { std::string_view portable, shown; } kNames[] = {
        {"Return", "Enter"}, {"Enter", "Enter"}, {"Up", "↑"}, {"Down", "↓"}, {"Space", "空格"},
    };
    std::string out;
    std::string_view rest = keyText;
    // The last part is the key; the parts before it are modifiers. A key
    // that is itself "+" follows a "+".
    const std::size_t plus = rest.size() > 1 ? rest.rfind('+', rest.size() - 2) : std::string_view::npos;
    std::string_view key = plus == std::string_view::npos ? rest : rest.substr(plus + 1);
    out = plus == std::string_view::npos ? "" : std::string(rest.substr(0, plus + 1));
    for (const auto& n : kNames)
        if (key == n.portable) return out + std::string(n.shown);
    return out + std::string(key);
}

std::string CommandKeys::shownKeys(const CommandKey& entry) {
    std::string out;
    for (const std::string& k : keys(entry)) {
        const std::string s = shown(k);
        if (out.find(s) != std::string::npos) continue; // Return and Enter read alike
        if (!out.empty()) out += "、";
        out += s;
    }
    return out;
}

std::string CommandKeys::tooltip(const CommandKey& entry) {
    return std::string(entry.command) + "（" + shownKeys(entry) + "）";
}

} // namespace cxb
