#pragma once
#include <string>

namespace cxb {

// What a click on the bank's picture or maker label does with the bank's
// link. Banks are handed on from learner to learner, so the link is someone
// else's input: web pages open at once, a local file only after the learner
// agrees and only when it is a document, never a program, a script or a
// desktop entry; anything else is refused with the reason.
struct BankLinkDecision {
    enum class Kind { Nothing, Web, Document, Refused };
    enum class Refusal { None, NotFound, NotAFile, Program, DesktopEntry, Unsupported };

    Kind kind = Kind::Nothing;
    Refusal refusal = Refusal::None;
    // Web: the address. Document, and a refused file: its full path.
    // Unsupported: the link as written.
    std::string target;
    // Refused: the sentence shown to the learner.
    std::string reason;
};

class BankLinkRule {
public:
    // The question before a document is opened: prefix, full path, suffix.
    static constexpr const char* kAskPrefix = "这个题库的链接指向本机文件：";
    static constexpr const char* kAskSuffix = " 要打开吗？";
    // The reasons for a refusal; the path or link follows.
    static constexpr const char* kNotFound = "这个题库的链接指向的文件不存在或不能读取，无法打开：";
    static constexpr const char* kNotAFile = "这个题库的链接指向的不是一个文件，不会打开：";
    static constexpr const char* kProgram = "这个题库的链接指向一个程序或脚本，为了安全不会打开：";
    static constexpr const char* kDesktopEntry = "这个题库的链接指向一个桌面启动项（.desktop），为了安全不会打开：";
    static constexpr const char* kUnsupported = "这个题库的链接既不是网页地址（http、https），也不是本机文件，不会打开：";

    // `link` is the header's bankLink in UTF-8; relative paths are read
    // against `folder`, the program's folder ("" = the working directory).
    static BankLinkDecision decide(const std::string& link, const std::string& folder);
    static std::string question(const std::string& fullPath);
};

} // namespace cxb
