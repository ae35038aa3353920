// The command line as the launcher, a learner and the window system give it.
#include <gtest/gtest.h>

#include "engine/CommandLine.h"

namespace cxb {
namespace {

using Action = CommandLine::Action;

struct LineCase {
    const char* what;
    std::vector<std::string> args;
    Action action;
    std::string folder;
    std::string templateDir;
    std::vector<std::string> unknown;
    bool error;
};

class CommandLineCases : public testing::TestWithParam<LineCase> {};

TEST_P(CommandLineCases, ReadsWhatWasAskedFor) {
    const LineCase& c = GetParam();
    const CommandLine line = CommandLine::parse(c.args);
    EXPECT_EQ(line.action, c.action) << c.what;
    EXPECT_EQ(line.folder, c.folder) << c.what;
    EXPECT_EQ(line.templateDir, c.templateDir) << c.what;
    EXPECT_EQ(line.unknown, c.unknown) << c.what;
    EXPECT_EQ(!line.error.empty(), c.error) << c.what << ": " << line.error;
}

const std::string kData = "/home/l/.local/share/chixuebao";
const std::string kTemplate = "/usr/share/chixuebao/template";

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineCases,
    testing::Values(
        LineCase {"nothing: the program's own folder", {}, Action::Run, "", "", {}, false},
        LineCase {"the launcher", {"--folder", kData, "--template", kTemplate}, Action::Run, kData, kTemplate, {}, false},
        LineCase {"the launcher with =", {"--folder=" + kData, "--template=" + kTemplate}, Action::Run, kData, kTemplate,
                  {}, false},
        LineCase {"help through the launcher", {"--folder", kData, "--template", kTemplate, "--help"}, Action::Help, kData,
                  kTemplate, {}, false},
        LineCase {"-h", {"-h"}, Action::Help, "", "", {}, false},
        LineCase {"--help-all", {"--help-all"}, Action::Help, "", "", {}, false},
        LineCase {"--version", {"--version"}, Action::Version, "", "", {}, false},
        LineCase {"-v", {"-v"}, Action::Version, "", "", {}, false},
        LineCase {"help wins over version", {"--version", "--help"}, Action::Help, "", "", {}, false},
        LineCase {"help wins over an unknown option", {"-platform", "xcb", "--help"}, Action::Help, "", "", {"-platform"},
                  false},
        LineCase {"a folder that looks like an option", {"--folder", "--help"}, Action::Run, "--help", "", {}, false},
        LineCase {"after --, nothing is an option", {"--", "--help"}, Action::Run, "", "", {}, false},
        LineCase {"an unknown option", {"--colour"}, Action::Run, "", "", {"--colour"}, false},
        LineCase {"a lone - is no option", {"-"}, Action::Run, "", "", {}, false}));

// Broken lines: each is refused with a reason, never half taken.
INSTANTIATE_TEST_SUITE_P(
    Broken, CommandLineCases,
    testing::Values(LineCase {"--folder without its folder", {"--folder"}, Action::Run, "", "", {}, true},
                    LineCase {"--folder= empty", {"--folder="}, Action::Run, "", "", {}, true},
                    LineCase {"--template without its folder", {"--folder", kData, "--template"}, Action::Run, kData, "",
                              {}, true},
                    LineCase {"--template without --folder", {"--template", kTemplate}, Action::Run, "", kTemplate, {},
                              true}));

TEST(CommandLineTexts, NameTheLauncherAndHideTheLaunchersOptions) {
    EXPECT_EQ(CommandLine::programName("/usr/bin/../libexec/chixuebao/chixuebao"), "chixuebao");
    EXPECT_EQ(CommandLine::programName("chixuebao"), "chixuebao");
    EXPECT_EQ(CommandLine::programName(""), "chixuebao");
    EXPECT_EQ(CommandLine::programName(nullptr), "chixuebao");

    const std::string help = CommandLine::helpText("chixuebao");
    EXPECT_EQ(help.rfind("Usage: chixuebao ", 0), 0u) << help;
    for (const char* option : {"--help", "--version"}) EXPECT_NE(help.find(option), std::string::npos) << option;
    for (const char* hidden : {"--folder", "--template", "/libexec/", "/lib/"})
        EXPECT_EQ(help.find(hidden), std::string::npos) << hidden;
    EXPECT_NE(help.find("chixuebao(1)"), std::string::npos);

    const std::string version = CommandLine::versionText("chixuebao");
    EXPECT_EQ(version.rfind(std::string("chixuebao (驰学宝) ") + CommandLine::release() + "\n", 0), 0u) << version;
    EXPECT_NE(version.find("GPL version 3 or later"), std::string::npos);
    EXPECT_EQ(std::string(CommandLine::release()).rfind("10.1", 0), 0u);
}

} // namespace
} // namespace cxb
