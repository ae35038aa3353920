#pragma once
#include <string>
#include <vector>

namespace cxb {

// The program's command line, read before anything else starts: --help and
// --version are answered without a display and without touching a file.
// --folder and --template are the launcher's (it starts the program in the
// learner's folder, made from the installed template); they stay out of the
// help. Options of the window system (-platform, -style, …) are left to Qt,
// which removes them before the second reading.
class CommandLine {
public:
    enum class Action { Run, Help, Version };

    Action action = Action::Run;
    std::string folder;      // --folder DIR: "" = the program's own folder
    std::string templateDir; // --template DIR
    // Options not known here and options without their value; after Qt has
    // taken its own, any left makes the start fail with a usage error.
    std::vector<std::string> unknown;
    std::string error;

    // `args` without the program name.
    static CommandLine parse(const std::vector<std::string>& args);
    // The name a learner typed: the last part of argv[0].
    static std::string programName(const char* argv0);
    static std::string helpText(const std::string& name);
    static std::string versionText(const std::string& name);
    // The release, 10.1.N.
    static const char* release();
};

} // namespace cxb
