#include "engine/AboutPage.h"

#include <filesystem>
#include <system_error>

#include "data/FixedField.h"
#include "data/Gbk.h"
#include "engine/BankEdition.h"
#include "engine/BankNames.h"
#include "engine/CommandKeys.h"
#include "engine/ExamSession.h"
#include "engine/KeyNames.h"
#include "engine/PaperExport.h"
#include "engine/TroubleHelp.h"

namespace cxb {

namespace {

// HTML text, escaped as the exported pages escape it.
std::string escaped(const std::string& text) { return PaperExport::escape(text); }

std::string keyItem(const char* what, std::int32_t vk) {
    return "<li>" + std::string(what) + "：<b>" + escaped(KeyNames::name(vk)) + "</b>（键码 " + std::to_string(vk) +
           "）</li>";
}

} // namespace

std::string AboutPage::dataFolder(const std::string& folder) {
    std::error_code ec;
    std::filesystem::path p = folder.empty() ? std::filesystem::current_path(ec) : std::filesystem::absolute(folder, ec);
    if (ec) return folder;
    std::string out = p.lexically_normal().string();
    if (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
}

std::string AboutPage::html(const Session& s, const std::string& memory) {
    const Sfile& st = *s.state;
    const std::string folder = dataFolder(s.folder);
    std::string page;
    page += "<h2>《驰学宝》 10.1</h2>";
    page += "<p>机动车驾驶人科目一（道路交通安全法律、法规和相关知识）练习软件。</p>";
    page += "<ul>"
            "<li><b>顺序练习</b>：按题号做完整个题库。</li>"
            "<li><b>初步练习</b>：先做答得最少的题。</li>"
            "<li><b>难题练习</b>：先做错得最多的题。</li>"
            "<li><b>模拟考试</b>：限时考试，交卷后记分并记入历史。</li>"
            "<li><b>错误集</b>：练习刚才做错的题或曾经做错的题。</li>"
            "<li><b>题库</b>：按题号或文字搜索题库。</li>"
            "</ul>";

    page += "<h3>题库</h3><p>内置的小车、客车、货车题库" + BankEdition::lawText() + "，编写：" +
            BankEdition::kAuthor + "。</p>";
    if (s.bankLoaded) {
        const std::string tag = ExamSession::bankTag(st);
        const std::string author = gbk::toUtf8Lossy(readField(s.bank->header.bankAuthor));
        page += "<p>正在使用：" + escaped(BankNames::historyName(ExamSession::storedBankTag(tag), tag));
        if (!author.empty()) page += "，编写：" + escaped(author);
        page += "。</p>";
    }
    page += memory;

    page += "<h3>你的资料</h3><p>都保存在程序所在的文件夹：<br><b>" + escaped(folder) + "</b></p><ul>"
            "<li>bankdata/sys.dat：设置和考试历史</li>"
            "<li>bankdata/小车.tk、客车.tk、货车.tk：题库和每道题的答对、答错次数（关闭程序时写回）</li>"
            "<li>h.htm、n.htm：导出的试卷</li>"
            "</ul><p>换电脑或重装时，把整个文件夹一起复制即可。</p>";

    page += "<h3>按键</h3><p>A、B、C、D 作答（判断题 A 为对、B 为错），↑ ↓ 切换题目；"
            "另有六个按键可在“设置”中指定，现在是：</p><ul>";
    page += keyItem("上一题", st.keyPrevious);
    page += keyItem("下一题", st.keyNext);
    page += keyItem("答案A/对", st.keyAnswerA);
    page += keyItem("答案B/错", st.keyAnswerB);
    page += keyItem("答案C", st.keyAnswerC);
    page += keyItem("答案D", st.keyAnswerD);
    page += "</ul>";

    page += "<h3>快捷键</h3><p>Tab 在各控件间移动，空格键按下有焦点的按钮；多选题用 A–H 勾选或取消选项，"
            "Enter 为“完成”。</p><ul>";
    for (const CommandKey& e : CommandKeys::all())
        if (std::string_view(e.window) == "TForm1")
            page += "<li>" + escaped(e.command) + "：<b>" + escaped(CommandKeys::shownKeys(e)) + "</b></li>";
    page += "</ul><p>对话框中 Enter 为“确定”，Esc 关闭对话框；历史和导出窗口的按钮：";
    bool first = true;
    for (const CommandKey& e : CommandKeys::all()) {
        const std::string_view w = e.window;
        if ((w != "Tlishidlg" && w != "TForm7") || e.binding != KeyBinding::Shortcut) continue;
        page += (first ? "" : "，") + escaped(e.command) + " <b>" + escaped(CommandKeys::shownKeys(e)) + "</b>";
        first = false;
    }
    page += "。</p>";
    page += TroubleHelp::html();
    return page;
}

} // namespace cxb
