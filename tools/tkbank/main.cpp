// tkbank: builds, dumps and checks question bank files (.tk).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BankCheck.h"
#include "BankSource.h"
#include "data/AtomicFile.h"
#include "data/BankFile.h"

using namespace cxb;

namespace {

const char* kUsage =
    "usage: tkbank <command> [options]\n"
    "\n"
    "Makes question bank files for the trainer.\n"
    "\n"
    "commands:\n"
    "  build SOURCE.json -o FILE.tk   build a bank from its source\n"
    "  dump FILE.tk -o SOURCE.json    write the source of a bank\n"
    "  check FILE.tk|SOURCE.json      report what is wrong with a bank\n"
    "\n"
    "Run 'tkbank <command> --help' for a command's options.\n";

const char* kBuildUsage =
    "usage: tkbank build SOURCE.json -o FILE.tk\n"
    "\n"
    "Builds a bank from a JSON source (see docs/BANK_SOURCE.md). Nothing is\n"
    "written when the source has an error.\n";

const char* kDumpUsage =
    "usage: tkbank dump FILE.tk -o SOURCE.json\n"
    "\n"
    "Writes the source of a bank. Building that source gives back the same\n"
    "file byte for byte.\n";

const char* kCheckUsage =
    "usage: tkbank check FILE.tk|SOURCE.json [--pictures DIR]\n"
    "\n"
    "Reports duplicate ids, answers that do not fit their type, texts that do\n"
    "not fit their field, counters out of range and missing pictures. Pictures\n"
    "are looked up in DIR, by default the folder of a .tk file (pictures of a\n"
    "source are checked only with --pictures). Exits with 1 when anything is\n"
    "wrong.\n";

struct Args {
    std::string input;
    std::string output;
    std::string pictures;
    bool help = false;
    std::string error;
};

Args parseArgs(int argc, char** argv, int first) {
    Args a;
    for (int i = first; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            a.help = true;
        } else if (arg == "-o" || arg == "--pictures") {
            if (i + 1 >= argc) {
                a.error = arg + " needs a value";
                return a;
            }
            (arg == "-o" ? a.output : a.pictures) = argv[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            a.error = "unknown option " + arg;
            return a;
        } else if (a.input.empty()) {
            a.input = arg;
        } else {
            a.error = "unexpected argument " + arg;
            return a;
        }
    }
    return a;
}

bool endsWith(const std::string& s, const char* tail) {
    std::size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

std::string folderOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

int usageError(const char* usage, const std::string& why) {
    std::fprintf(stderr, "tkbank: %s\n\n%s", why.c_str(), usage);
    return 2;
}

int writeOut(const std::string& path, const std::string& bytes) {
    std::string why = AtomicFile::write(path, bytes);
    if (!why.empty()) {
        std::fprintf(stderr, "tkbank: %s\n", why.c_str());
        return 1;
    }
    return 0;
}

int build(const Args& a) {
    if (a.help) return std::printf("%s", kBuildUsage), 0;
    if (a.input.empty() || a.output.empty()) return usageError(kBuildUsage, "build needs SOURCE and -o FILE");
    auto bank = BankSource::buildFile(a.input);
    if (!bank) {
        std::fprintf(stderr, "tkbank: %s\n", bank.error().c_str());
        return 1;
    }
    return writeOut(a.output, BankFile::serialize(*bank));
}

int dump(const Args& a) {
    if (a.help) return std::printf("%s", kDumpUsage), 0;
    if (a.input.empty() || a.output.empty()) return usageError(kDumpUsage, "dump needs FILE and -o SOURCE");
    auto bank = BankFile::open(a.input);
    if (!bank) {
        std::fprintf(stderr, "tkbank: %s\n", bank.error().c_str());
        return 1;
    }
    return writeOut(a.output, BankSource::dump(*bank));
}

int check(const Args& a) {
    if (a.help) return std::printf("%s", kCheckUsage), 0;
    if (a.input.empty()) return usageError(kCheckUsage, "check needs a FILE");
    bool source = endsWith(a.input, ".json");
    auto bank = source ? BankSource::buildFile(a.input) : BankFile::open(a.input);
    if (!bank) {
        std::fprintf(stderr, "tkbank: %s\n", bank.error().c_str());
        return 1;
    }
    std::string pictures = !a.pictures.empty() ? a.pictures : (source ? std::string() : folderOf(a.input));
    auto findings = checkBank(*bank, pictures);
    for (const auto& f : findings) std::fprintf(stderr, "%s: %s\n", a.input.c_str(), f.c_str());
    if (!findings.empty()) return 1;
    std::printf("%s: %d questions, no problems found\n", a.input.c_str(), bank->questionCount());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usageError(kUsage, "no command given");
    std::string cmd = argv[1];
    if (cmd == "--help" || cmd == "-h" || cmd == "help") return std::printf("%s", kUsage), 0;
    Args a = parseArgs(argc, argv, 2);
    const char* usage = cmd == "build" ? kBuildUsage : cmd == "dump" ? kDumpUsage : cmd == "check" ? kCheckUsage : kUsage;
    if (!a.error.empty()) return usageError(usage, a.error);
    if (cmd == "build") return build(a);
    if (cmd == "dump") return dump(a);
    if (cmd == "check") return check(a);
    return usageError(kUsage, "unknown command " + cmd);
}
