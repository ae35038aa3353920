// tkbank: builds, dumps and checks question bank files (.tk).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BankCheck.h"
#include "BankSource.h"
#include "data/AtomicFile.h"
#include "data/BankFile.h"
#include "data/FileBytes.h"

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
    "usage: tkbank build SOURCE.json -o FILE.tk [--shipped]\n"
    "\n"
    "Builds a bank from a JSON source (see docs/BANK_SOURCE.md). A source that\n"
    "would lose content is refused: an unknown key (a typo such as\n"
    "\"explanaton\"), a key given twice, two questions with one id. Nothing is\n"
    "written when the source has an error, and a write-protected FILE.tk is\n"
    "never replaced. With --shipped (the banks the trainer ships), a question\n"
    "without a chapter and a topic is refused too.\n";

const char* kDumpUsage =
    "usage: tkbank dump FILE.tk -o SOURCE.json\n"
    "\n"
    "Writes the source of a bank. Building that source gives back the same\n"
    "file byte for byte, bytes after the last record included.\n";

const char* kCheckUsage =
    "usage: tkbank check FILE.tk|SOURCE.json [--app-dir DIR] [--extra-bank]\n"
    "\n"
    "Reports duplicate ids, answers that do not fit their type, texts that do\n"
    "not fit their field, counters out of range and missing pictures.\n"
    "Pictures are looked up as the trainer does, from its folder DIR: a\n"
    "question's picture under DIR/bankdata, the bank's own picture (bankPicture)\n"
    "from DIR. With --extra-bank, a picture name with a folder in it (\"pics\\a.png\")\n"
    "is taken from DIR itself, as for a bank the learner chose in the settings.\n"
    "DIR is by default the folder holding the bankdata folder a .tk file lies\n"
    "in, else the .tk file's own folder; the pictures of a source are checked\n"
    "only with --app-dir. Exits with 1 when anything is wrong.\n";

struct Args {
    std::string input;
    std::string output;
    std::string appDir;
    bool extraBank = false;
    bool shipped = false;
    bool help = false;
    std::string error;
};

Args parseArgs(int argc, char** argv, int first) {
    Args a;
    for (int i = first; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            a.help = true;
        } else if (arg == "--extra-bank") {
            a.extraBank = true;
        } else if (arg == "--shipped") {
            a.shipped = true;
        } else if (arg == "-o" || arg == "--app-dir") {
            if (i + 1 >= argc) {
                a.error = arg + " needs a value";
                return a;
            }
            (arg == "-o" ? a.output : a.appDir) = argv[++i];
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
    if (slash == 0) return "/";
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The trainer's folder for a bank file: the one holding the bankdata folder
// the file lies in, else (an extra bank) the file's own folder.
std::string programFolderOf(const std::string& bankPath) {
    std::string folder = folderOf(bankPath);
    return nameOf(folder) == "bankdata" ? folderOf(folder) : folder;
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
    std::string afterRecords;
    auto bank = BankSource::buildFile(a.input, &afterRecords, a.shipped);
    if (!bank) {
        std::fprintf(stderr, "tkbank: %s\n", bank.error().c_str());
        return 1;
    }
    return writeOut(a.output, BankFile::serialize(*bank) + afterRecords);
}

int dump(const Args& a) {
    if (a.help) return std::printf("%s", kDumpUsage), 0;
    if (a.input.empty() || a.output.empty()) return usageError(kDumpUsage, "dump needs FILE and -o SOURCE");
    auto bytes = readFileBytes(a.input);
    if (!bytes) {
        std::fprintf(stderr, "tkbank: cannot read %s\n", a.input.c_str());
        return 1;
    }
    auto bank = BankFile::parse(*bytes);
    if (!bank) {
        std::fprintf(stderr, "tkbank: %s: %s\n", a.input.c_str(), bank.error().c_str());
        return 1;
    }
    // The trainer never reads what follows the last record, but the source
    // keeps it so that the file comes back whole.
    std::string_view afterRecords = std::string_view(*bytes).substr(BankFile::fileSize(bank->questionCount()));
    return writeOut(a.output, BankSource::dump(*bank, afterRecords));
}

int check(const Args& a) {
    if (a.help) return std::printf("%s", kCheckUsage), 0;
    if (a.input.empty()) return usageError(kCheckUsage, "check needs a FILE");
    bool source = endsWith(a.input, ".json");
    std::string afterRecords; // not checked: the trainer never reads them
    auto bank = source ? BankSource::buildFile(a.input, &afterRecords) : BankFile::open(a.input);
    if (!bank) {
        std::fprintf(stderr, "tkbank: %s\n", bank.error().c_str());
        return 1;
    }
    PictureLookup pictures;
    pictures.programFolder = !a.appDir.empty() ? a.appDir : (source ? std::string() : programFolderOf(a.input));
    pictures.extraBank = a.extraBank;
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
