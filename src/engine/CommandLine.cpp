#include "engine/CommandLine.h"

#ifndef CXB_RELEASE
#define CXB_RELEASE "10.1"
#endif

namespace cxb {
namespace {

// "--folder=DIR" or "--folder DIR"; true when `arg` names option `name`.
bool takeValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name, std::string& value,
               std::string& error) {
    const std::string& arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) {
            error = "option " + name + " needs a folder";
            return true;
        }
        value = args[++i];
        return true;
    }
    if (arg.compare(0, name.size() + 1, name + "=") == 0) {
        value = arg.substr(name.size() + 1);
        if (value.empty()) error = "option " + name + " needs a folder";
        return true;
    }
    return false;
}

} // namespace

const char* CommandLine::release() { return CXB_RELEASE; }

CommandLine CommandLine::parse(const std::vector<std::string>& args) {
    CommandLine c;
    bool help = false, version = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") break;
        if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-?") {
            help = true;
        } else if (arg == "-v" || arg == "--version") {
            version = true;
        } else if (takeValue(args, i, "--folder", c.folder, c.error) ||
                   takeValue(args, i, "--template", c.templateDir, c.error)) {
        } else if (arg.size() > 1 && arg[0] == '-') {
            c.unknown.push_back(arg);
        }
    }
    if (c.error.empty() && !c.templateDir.empty() && c.folder.empty()) c.error = "option --template needs --folder";
    // Help wins over everything, as a learner who asks for it wants it.
    c.action = help ? Action::Help : version ? Action::Version : Action::Run;
    return c;
}

std::string CommandLine::programName(const char* argv0) {
    std::string name = argv0 ? argv0 : "";
    if (std::size_t slash = name.rfind('/'); slash != std::string::npos) name.erase(0, slash + 1);
    return name.empty() ? "chixuebao" : name;
}

std::string CommandLine::helpText(const std::string& name) {
    return "Usage: " + name +
           " [OPTION]\n"
           "驰学宝 " CXB_RELEASE ": practise the written part of the Chinese driving-licence test.\n"
           "\n"
           "Opens the trainer in the learner's folder, $XDG_DATA_HOME/chixuebao\n"
           "(~/.local/share/chixuebao), made from the shipped banks at the first start;\n"
           "run from its build folder, the trainer works in that folder.\n"
           "\n"
           "  -h, --help     print this help and exit\n"
           "  -v, --version  print the version and exit\n"
           "\n"
           "Keys: A B C D answer (A = 对, B = 错), Up and Down move between questions.\n"
           "The information page (关于) explains every message; see also " +
           name + "(1).\n";
}

std::string CommandLine::versionText(const std::string& name) {
    return name +
           " (驰学宝) " CXB_RELEASE "\n"
           "Copyright (C) 2026 驰学宝 developers\n"
           "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>;\n"
           "question banks and artwork: CC BY-SA 4.0.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

} // namespace cxb
