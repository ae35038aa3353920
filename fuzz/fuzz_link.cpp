// The decision on a bank's link for arbitrary link text: blanks do nothing,
// web addresses keep their scheme, every refusal names its target, and only
// a regular, non-executable file is offered for opening.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/BankLinkRule.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    using Kind = cxb::BankLinkDecision::Kind;
    std::string link(reinterpret_cast<const char*>(data), size);
    cxb::BankLinkDecision d = cxb::BankLinkRule::decide(link, "/nonexistent/program");
    switch (d.kind) {
    case Kind::Nothing:
        if (!d.target.empty() || !d.reason.empty()) std::abort();
        break;
    case Kind::Web:
        if (!d.target.starts_with("http:") && !d.target.starts_with("https:")) std::abort();
        break;
    case Kind::Refused:
        if (d.reason.size() < d.target.size() || !d.reason.ends_with(d.target)) std::abort();
        break;
    case Kind::Document: {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::file_status s = fs::status(d.target, ec);
        constexpr fs::perms exec = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
        if (ec || !fs::is_regular_file(s) || (s.permissions() & exec) != fs::perms::none) std::abort();
        if (!fs::path(d.target).is_absolute()) std::abort();
        break;
    }
    }
    return 0;
}
