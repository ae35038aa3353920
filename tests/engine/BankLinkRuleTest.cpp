#include <gtest/gtest.h>

#include <filesystem>

#include "engine/BankLinkRule.h"
#include "support/TempDir.h"

using namespace cxb;
namespace fs = std::filesystem;
using Kind = BankLinkDecision::Kind;
using Refusal = BankLinkDecision::Refusal;

namespace {

// A program folder with documents, programs and desktop entries, some of
// them disguised by their names.
struct LinkFolder {
    test::TempDir dir;
    std::string root;

    LinkFolder() {
        dir.write("docs/指南.pdf", "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
        dir.write("docs/notes.txt", "学车笔记\n");
        dir.write("docs/x.desktop", "[Desktop Entry]\nType=Application\nExec=xterm\n");
        dir.write("docs/启动.DESKTOP", "Type=Link\nURL=file:///usr/bin/xterm\n");
        dir.write("docs/readme.txt", "\xEF\xBB\xBF# 说明\n\n[Desktop Entry]\nExec=sh -c 'rm -rf ~'\n");
        dir.write("docs/setup.pdf", "#!/bin/sh\necho hi\n");
        dir.write("docs/elf.dat", std::string("\x7f" "ELF\x02\x01\x01\0", 8));
        dir.write("docs/tool.exe", "MZ\x90\0");
        dir.write("docs/run.sh", "echo hi\n");
        dir.write("docs/prog", "plain bytes\n");
        fs::permissions(dir.file("docs/prog"), fs::perms::owner_exec, fs::perm_options::add);
        fs::create_symlink(dir.file("docs/setup.pdf"), dir.file("docs/link.pdf"));
        root = fs::canonical(dir.path()).string();
    }
    std::string full(const std::string& name) const { return root + "/" + name; }
};

struct Case {
    std::string link;
    Kind kind;
    Refusal refusal;
    std::string target; // "{dir}" stands for the program folder
};

} // namespace

TEST(BankLinkRule, DecidesWebDocumentOrRefusalWithTheFullTarget) {
    LinkFolder f;
    const Case cases[] = {
        // Web pages open at once; the scheme in any case.
        {"https://jiaxiao.example.cn/题库", Kind::Web, Refusal::None, "https://jiaxiao.example.cn/题库"},
        {"HTTP://Example.COM/a?b=1", Kind::Web, Refusal::None, "http://Example.COM/a?b=1"},
        {"  hTTpS://example.com  ", Kind::Web, Refusal::None, "https://example.com"},
        {"www.example.com/bank", Kind::Web, Refusal::None, "http://www.example.com/bank"},
        // Blanks of every kind do nothing.
        {"", Kind::Nothing, Refusal::None, ""},
        {"   ", Kind::Nothing, Refusal::None, ""},
        {" \t\r\n\xE3\x80\x80", Kind::Nothing, Refusal::None, ""},
        // Documents: relative to the program's folder, absolute, file: URLs.
        {"docs/指南.pdf", Kind::Document, Refusal::None, "{dir}/docs/指南.pdf"},
        {"docs\\指南.pdf", Kind::Document, Refusal::None, "{dir}/docs/指南.pdf"},
        {"./docs/../docs/notes.txt", Kind::Document, Refusal::None, "{dir}/docs/notes.txt"},
        {"{dir}/docs/notes.txt", Kind::Document, Refusal::None, "{dir}/docs/notes.txt"},
        {"file://{dir}/docs/%E6%8C%87%E5%8D%97.pdf", Kind::Document, Refusal::None, "{dir}/docs/指南.pdf"},
        {"FILE://localhost{dir}/docs/notes.txt#page=2", Kind::Document, Refusal::None, "{dir}/docs/notes.txt"},
        // Desktop entries, by name or by content.
        {"file://{dir}/docs/x.desktop", Kind::Refused, Refusal::DesktopEntry, "{dir}/docs/x.desktop"},
        {"docs/启动.DESKTOP", Kind::Refused, Refusal::DesktopEntry, "{dir}/docs/启动.DESKTOP"},
        {"docs/readme.txt", Kind::Refused, Refusal::DesktopEntry, "{dir}/docs/readme.txt"},
        // Programs and scripts: by the executable bit, the first bytes, the
        // name, or behind a symbolic link.
        {"docs/prog", Kind::Refused, Refusal::Program, "{dir}/docs/prog"},
        {"docs/setup.pdf", Kind::Refused, Refusal::Program, "{dir}/docs/setup.pdf"},
        {"docs/elf.dat", Kind::Refused, Refusal::Program, "{dir}/docs/elf.dat"},
        {"docs/tool.exe", Kind::Refused, Refusal::Program, "{dir}/docs/tool.exe"},
        {"docs/run.sh", Kind::Refused, Refusal::Program, "{dir}/docs/run.sh"},
        {"docs/link.pdf", Kind::Refused, Refusal::Program, "{dir}/docs/setup.pdf"},
        // Missing files and folders.
        {"docs/缺少.pdf", Kind::Refused, Refusal::NotFound, "{dir}/docs/缺少.pdf"},
        {"C:\\题库\\说明.pdf", Kind::Refused, Refusal::NotFound, "{dir}/C:/题库/说明.pdf"},
        {"docs", Kind::Refused, Refusal::NotAFile, "{dir}/docs"},
        // Other schemes and other computers are never opened.
        {"javascript:alert(1)", Kind::Refused, Refusal::Unsupported, "javascript:alert(1)"},
        {"smb://server/share/指南.pdf", Kind::Refused, Refusal::Unsupported, "smb://server/share/指南.pdf"},
        {"file://server/share/a.pdf", Kind::Refused, Refusal::Unsupported, "file://server/share/a.pdf"},
        {"mailto:a@b.cn", Kind::Refused, Refusal::Unsupported, "mailto:a@b.cn"},
    };
    auto expand = [&](std::string s) {
        for (std::size_t at = s.find("{dir}"); at != std::string::npos; at = s.find("{dir}")) s.replace(at, 5, f.root);
        return s;
    };
    for (const Case& c : cases) {
        std::string link = expand(c.link);
        SCOPED_TRACE(link);
        BankLinkDecision d = BankLinkRule::decide(link, f.dir.path());
        EXPECT_EQ(d.kind, c.kind);
        EXPECT_EQ(d.refusal, c.refusal);
        EXPECT_EQ(d.target, expand(c.target));
        if (c.kind == Kind::Refused)
            EXPECT_EQ(d.reason.find(d.target), d.reason.size() - d.target.size()) << d.reason;
        else
            EXPECT_EQ(d.reason, "");
    }
}

TEST(BankLinkRule, ReasonsAndQuestionNameTheTarget) {
    LinkFolder f;
    EXPECT_EQ(BankLinkRule::decide("docs/run.sh", f.dir.path()).reason, BankLinkRule::kProgram + f.full("docs/run.sh"));
    EXPECT_EQ(BankLinkRule::decide("docs/x.desktop", f.dir.path()).reason, BankLinkRule::kDesktopEntry + f.full("docs/x.desktop"));
    EXPECT_EQ(BankLinkRule::decide("gone.pdf", f.dir.path()).reason, BankLinkRule::kNotFound + f.full("gone.pdf"));
    EXPECT_EQ(BankLinkRule::decide("smb://s/x", f.dir.path()).reason, std::string(BankLinkRule::kUnsupported) + "smb://s/x");
    EXPECT_EQ(BankLinkRule::question("/home/学员/指南.pdf"), "这个题库的链接指向本机文件：/home/学员/指南.pdf 要打开吗？");
}

TEST(BankLinkRule, AnEmptyFolderMeansTheWorkingDirectory) {
    LinkFolder f;
    fs::path before = fs::current_path();
    fs::current_path(f.dir.path());
    BankLinkDecision d = BankLinkRule::decide("docs/notes.txt", "");
    fs::current_path(before);
    EXPECT_EQ(d.kind, Kind::Document);
    EXPECT_EQ(d.target, f.full("docs/notes.txt"));
}
