#include "engine/BankLinkRule.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <string_view>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cxb {

namespace fs = std::filesystem;
using Refusal = BankLinkDecision::Refusal;

namespace {

bool isAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// Without the blanks around it: ASCII white space, the ideographic space
// and the no-break space.
std::string_view trimmed(std::string_view s) {
    static constexpr std::array<std::string_view, 8> blanks = {" ", "\t", "\r", "\n", "\v", "\f", "\xE3\x80\x80", "\xC2\xA0"};
    for (bool cut = true; cut;) {
        cut = false;
        for (std::string_view b : blanks) {
            if (s.starts_with(b)) s.remove_prefix(b.size()), cut = true;
            if (s.ends_with(b)) s.remove_suffix(b.size()), cut = true;
        }
    }
    return s;
}

// The scheme of a URL ("http" of "HTTP://…"), in lower case; empty when the
// link has none. A single letter before the colon is a drive letter.
std::string schemeOf(std::string_view link) {
    std::size_t colon = link.find(':');
    if (colon == std::string_view::npos || colon < 2 || !isAsciiAlpha(link[0])) return {};
    for (std::size_t i = 1; i < colon; ++i) {
        char c = link[i];
        if (!isAsciiAlpha(c) && !isAsciiDigit(c) && c != '+' && c != '-' && c != '.') return {};
    }
    return lower(link.substr(0, colon));
}

int hexValue(char c) {
    if (isAsciiDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percentDecoded(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && hexValue(s[i + 1]) >= 0 && hexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(s[i + 1]) * 16 + hexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The local path of a file: URL; nothing when it names another computer.
std::optional<std::string> fileUrlPath(std::string_view link) {
    std::string_view rest = link.substr(link.find(':') + 1);
    rest = rest.substr(0, rest.find_first_of("?#"));
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        std::size_t slash = rest.find('/');
        std::string_view host = rest.substr(0, slash);
        if (!host.empty() && lower(host) != "localhost") return std::nullopt;
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    }
    return percentDecoded(rest);
}

// Absolute and without "." or "..", symbolic links resolved as far as the
// path exists, so the learner sees what would really be opened.
fs::path fullPath(const std::string& path, const std::string& folder) {
    std::error_code ec;
    fs::path p(path);
    if (p.is_relative()) {
        fs::path base = folder.empty() ? fs::current_path(ec) : fs::path(folder);
        p = base / p;
    }
    fs::path absolute = fs::absolute(p, ec);
    if (!ec) p = absolute;
    p = p.lexically_normal();
    fs::path canonical = fs::weakly_canonical(p, ec);
    return ec ? p : canonical;
}

bool hasProgramExtension(const std::string& extension) {
    // Scripts, programs and installers that a file manager may run or install.
    static constexpr std::array<std::string_view, 27> programs = {
        ".sh",  ".bash", ".zsh", ".csh",   ".ksh",      ".fish", ".py",  ".pyw", ".pl",
        ".rb",  ".php",  ".js",  ".jse",   ".vbs",      ".vbe",  ".wsf", ".ps1", ".bat",
        ".cmd", ".com",  ".exe", ".msi",   ".scr",      ".jar",  ".run", ".bin", ".appimage"};
    static constexpr std::array<std::string_view, 5> installers = {".deb", ".rpm", ".snap", ".flatpak", ".flatpakref"};
    return std::find(programs.begin(), programs.end(), extension) != programs.end() ||
           std::find(installers.begin(), installers.end(), extension) != installers.end();
}

// A script ("#!") or a program of Linux, Windows or macOS by its first bytes.
bool startsLikeProgram(std::string_view head) {
    static constexpr std::array<std::string_view, 8> magics = {
        "#!", "\x7f" "ELF", "MZ", "\xfe\xed\xfa\xce", "\xfe\xed\xfa\xcf", "\xce\xfa\xed\xfe", "\xcf\xfa\xed\xfe",
        "\xca\xfe\xba\xbe"};
    return std::any_of(magics.begin(), magics.end(), [head](std::string_view m) { return head.starts_with(m); });
}

// A desktop entry whatever its name: the first line that is neither blank
// nor a comment opens its group.
bool readsLikeDesktopEntry(std::string_view head) {
    if (head.starts_with("\xEF\xBB\xBF")) head.remove_prefix(3);
    while (!head.empty()) {
        std::size_t end = head.find('\n');
        std::string_view line = trimmed(head.substr(0, end));
        if (!line.empty() && line[0] != '#') return line == "[Desktop Entry]" || line == "[KDE Desktop Entry]";
        if (end == std::string_view::npos) break;
        head.remove_prefix(end + 1);
    }
    return false;
}

// What the first bytes and the mode of an open regular file say.
Refusal classifyOpen(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return Refusal::NotFound;
    if (!S_ISREG(st.st_mode)) return Refusal::NotAFile;
    if ((st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0) return Refusal::Program;
    std::array<char, 1024> buffer {};
    ssize_t n = ::read(fd, buffer.data(), buffer.size());
    std::string_view head(buffer.data(), n > 0 ? static_cast<std::size_t>(n) : 0);
    if (startsLikeProgram(head)) return Refusal::Program;
    if (readsLikeDesktopEntry(head)) return Refusal::DesktopEntry;
    return Refusal::None;
}

Refusal classify(const fs::path& path) {
    std::error_code ec;
    // Only a regular file is opened at all: opening a device can act on it.
    fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) return Refusal::NotFound;
    if (!fs::is_regular_file(status)) return Refusal::NotAFile;
    std::string extension = lower(path.extension().string());
    if (extension == ".desktop") return Refusal::DesktopEntry;
    if (hasProgramExtension(extension)) return Refusal::Program;
    // The mode and the first bytes of the file that was opened, even if the
    // name now stands for another one; never waiting on a special file.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Refusal::NotFound;
    Refusal refusal = classifyOpen(fd);
    ::close(fd);
    return refusal;
}

const char* reasonText(Refusal refusal) {
    switch (refusal) {
    case Refusal::NotFound: return BankLinkRule::kNotFound;
    case Refusal::NotAFile: return BankLinkRule::kNotAFile;
    case Refusal::Program: return BankLinkRule::kProgram;
    case Refusal::DesktopEntry: return BankLinkRule::kDesktopEntry;
    case Refusal::Unsupported: return BankLinkRule::kUnsupported;
    case Refusal::None: break;
    }
    return "";
}

BankLinkDecision refused(Refusal refusal, std::string target) {
    BankLinkDecision d;
    d.kind = BankLinkDecision::Kind::Refused;
    d.refusal = refusal;
    d.reason = reasonText(refusal) + target;
    d.target = std::move(target);
    return d;
}

BankLinkDecision web(std::string address) {
    BankLinkDecision d;
    d.kind = BankLinkDecision::Kind::Web;
    d.target = std::move(address);
    return d;
}

} // namespace

BankLinkDecision BankLinkRule::decide(const std::string& raw, const std::string& folder) {
    std::string link(trimmed(raw));
    if (link.empty()) return {};
    std::string scheme = schemeOf(link);
    if (scheme == "http" || scheme == "https") return web(scheme + link.substr(scheme.size()));

    std::string path;
    if (scheme.empty()) {
        // A web address written without its scheme.
        if (lower(std::string_view(link).substr(0, 4)) == "www.") return web("http://" + link);
        // Paths in banks are written with either slash.
        path = link;
        std::replace(path.begin(), path.end(), '\\', '/');
    } else if (scheme == "file") {
        std::optional<std::string> local = fileUrlPath(link);
        if (!local) return refused(Refusal::Unsupported, link);
        path = *local;
    } else {
        return refused(Refusal::Unsupported, link);
    }

    std::string full = fullPath(path, folder).string();
    Refusal refusal = classify(full);
    if (refusal != Refusal::None) return refused(refusal, full);
    BankLinkDecision d;
    d.kind = BankLinkDecision::Kind::Document;
    d.target = full;
    return d;
}

std::string BankLinkRule::question(const std::string& fullPath) { return kAskPrefix + fullPath + kAskSuffix; }

} // namespace cxb
