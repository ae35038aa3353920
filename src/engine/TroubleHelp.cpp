#include "engine/TroubleHelp.h"

#include <iterator>

#include "engine/PaperExport.h"

namespace cxb {
namespace {

// The first line of each message as the trainer shows it (Texts.h and the
// dialogs), when it comes, and what helps.
constexpr TroubleHelp::Entry kEntries[] = {
    {"错误代码:1,…", "找不到状态文件 bankdata/sys.dat（设置和考试记录都在里面）。程序已按默认设置新建了它。",
     "在接下来的设置窗口中选好题库、点“确定”。若是不小心删掉的，可以从备份中把 sys.dat 放回 bankdata 文件夹。"},
    {"错误代码:2,…",
     "读不出题库或状态文件，或者没能写入状态文件：文件不存在、没有权限、设成了只读（写保护）、那里是一个文件夹、"
     "不是题库文件、题数小于0或超过1999、文件比题数所需的短（不完整）。",
     "按第二行说的原因处理：在“设置”中换一个题库，或重新复制题库文件；用 ls -l 查看权限，用 chmod u+w "
     "文件名 去掉只读。程序不会改动设成只读的文件。"},
    {"错误代码:3,…", "写状态文件时中途失败，通常是磁盘已满。原来的文件保持不变。",
     "清理磁盘空间后再做一次刚才的操作（例如再点一次“确定”）。"},
    {"错误,…", "关闭窗口时没能把题库的答题次数写回题库文件（原因同上）。原来的题库文件保持不变，这次的答题次数没有保存。",
     "按第二行的原因处理后，下次练习的记录就能保存。"},
    {"错误代码5", "没能写出导出的网页：学习文件夹里的 h.htm、n.htm，或“保存....”选的文件。",
     "换一个可以写入的文件夹（例如“文档”），或去掉那个文件的只读属性。"},
    {"PDF 文件没有保存：…", "“导出PDF”没能写出所选的 PDF 文件（原因在第二行）。原来同名的文件保持不变。",
     "换一个可以写入的文件夹或文件名，或清理磁盘空间后再试。"},
    {"加载皮肤出错！,…", "皮肤文件 皮肤.ini 所指的图片读不出。",
     "重新复制 skin 文件夹和 皮肤.ini；安装的程序只要删掉学习文件夹里的这两项，下次启动时会自动补上。"},
    {"汗~怎么找不到图片：…", "题目的图片文件不在 bankdata/pics 里，或者不是能读的图片。",
     "重新复制题库附带的图片（安装的程序下次启动时会补上缺少的图片）；外加题库的图片要放在题库说明的位置。"},
    {"无法建立学习文件夹 …", "第一次启动时没能建立学习文件夹（第二行是原因），通常是没有权限或磁盘已满。",
     "检查主文件夹的权限和磁盘空间，然后再启动。"},
    {"驰学宝已经在这个文件夹中运行…", "同一个学习文件夹里已有一个驰学宝在运行，但它没有回应。",
     "使用已经打开的窗口；若看不到它，请关掉那个程序后再启动。"},
};

} // namespace

const TroubleHelp::Entry* TroubleHelp::entries(std::size_t& count) {
    count = std::size(kEntries);
    return kEntries;
}

std::string TroubleHelp::html() {
    std::string page = "<h3>遇到问题</h3><p>出现提示框时，第一行是程序的错误代码，第二行写明出问题的文件"
                       "（相对于学习文件夹，例如 bankdata/小车.tk）和原因，第三行是建议的做法。</p>"
                       "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\">"
                       "<tr><th>提示的第一行</th><th>什么时候出现</th><th>可以怎么做</th></tr>";
    for (const Entry& e : kEntries)
        page += "<tr><td>" + PaperExport::escape(e.firstLine) + "</td><td>" + PaperExport::escape(e.when) + "</td><td>" +
                PaperExport::escape(e.todo) + "</td></tr>";
    page += "</table><p>备份时关闭程序，复制整个学习文件夹即可：bankdata/sys.dat 里是设置和考试记录，"
            "各个 .tk 题库文件里是每道题的答题次数。</p>";
    return page;
}

} // namespace cxb
