// The keyboard commands: one table the windows bind, the tooltips and the
// information page show. The table must never bind a key twice where both
// could act at once, nor take a key the question keys need.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "data/StateFile.h"
#include "engine/AboutPage.h"
#include "engine/CommandKeys.h"
#include "engine/KeyRules.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

// The panels of the main window whose buttons are shown one panel at a time.
std::string panelOf(std::string_view control) {
    static const std::map<std::string_view, std::string> kPanels = {
        {"btnGCerror", "pnl1"}, {"btnQuanBu", "pnl1"}, {"btn4", "pnl1"}, {"Button3", "pnl1"},
        {"sou", "souPNL"},      {"btnfx", "souPNL"},   {"btn1", "Panel2"}, {"Button1", "Panel2"},
        {"btn3", "Panel2"},
    };
    auto it = kPanels.find(control);
    return it == kPanels.end() ? "always" : it->second;
}

bool bound(const CommandKey& e) { return e.binding == KeyBinding::Shortcut || e.binding == KeyBinding::Confirmed; }

} // namespace

TEST(CommandKeys, EveryToolStripCommandAndButtonHasAKey) {
    for (const char* control : {"ima_sunxu", "Imchuji", "Ima_nanti", "Ima_kaoshi", "Ima_cuowuji", "Ima_tiku",
                                "img_lishi", "img_shezhi", "imgzhuozhe", "img5", "Pifu", "UP", "DO", "Button2",
                                "BitBtn9", "btnduoxuan", "JIAOJUAN", "btnGCerror", "btnQuanBu", "btn4", "Button3",
                                "sou", "btn1", "Button1", "btn3"}) {
        const CommandKey* e = CommandKeys::find("TForm1", control);
        ASSERT_NE(e, nullptr) << control;
        EXPECT_FALSE(CommandKeys::keys(*e).empty()) << control;
    }
    for (const char* control : {"btn3", "btn1", "btn4", "btn2", "btntrend", "btnprogress"})
        EXPECT_NE(CommandKeys::find("Tlishidlg", control), nullptr) << control;
    for (const char* control : {"chk1", "btn1", "btn2", "btnpdf"})
        EXPECT_NE(CommandKeys::find("TForm7", control), nullptr) << control;
    EXPECT_EQ(CommandKeys::find("TForm1", "nothing"), nullptr);
}

TEST(CommandKeys, DesktopHabits) {
    const struct { const char* window; const char* control; const char* key; KeyBinding binding; } cases[] = {
        {"TForm1", "imgzhuozhe", "F1", KeyBinding::Shortcut},
        {"TForm1", "Ima_tiku", "Ctrl+F", KeyBinding::Shortcut},
        {"TForm1", "img5", "Ctrl+Q", KeyBinding::Shortcut},
        {"TForm1", "btnduoxuan", "Return", KeyBinding::QuestionKeys},
        {"TForm1", "JIAOJUAN", "Ctrl+Return", KeyBinding::Confirmed},
        {"TForm6", "Button1", "Return", KeyBinding::Dialog},
        {"TForm6", "Button2", "Esc", KeyBinding::Dialog},
    };
    for (const auto& c : cases) {
        const CommandKey* e = CommandKeys::find(c.window, c.control);
        ASSERT_NE(e, nullptr) << c.control;
        EXPECT_EQ(CommandKeys::keys(*e).front(), c.key) << c.control;
        EXPECT_EQ(e->binding, c.binding) << c.control;
    }
    EXPECT_STREQ(CommandKeys::find("TForm1", "Ima_tiku")->focus, "edtchazhao");
}

TEST(CommandKeys, NoKeyIsBoundTwiceWhereBothCouldAct) {
    // Two bindings of one key in one window may only sit on panels that are
    // never shown together.
    struct Bound {
        std::string window, panel, control, key;
    };
    std::vector<Bound> all;
    for (const CommandKey& e : CommandKeys::all()) {
        if (!bound(e)) continue;
        const std::string panel = std::string(e.window) == "TForm1" ? panelOf(e.control) : "always";
        for (const std::string& k : CommandKeys::keys(e)) all.push_back({e.window, panel, e.control, k});
    }
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = i + 1; j < all.size(); ++j) {
            const Bound& a = all[i];
            const Bound& b = all[j];
            if (a.window != b.window || a.key != b.key) continue;
            const bool apart = a.panel != b.panel && a.panel != "always" && b.panel != "always";
            EXPECT_TRUE(apart) << a.window << ": " << a.control << " and " << b.control << " both take " << a.key;
        }
}

TEST(CommandKeys, NoBoundKeyIsAQuestionKey) {
    // A bound shortcut is a key with Ctrl, Alt or a function key: never one
    // the question keys act on without them.
    auto state = StateFile::newRecord();
    StateFile::resetState(*state);
    for (const CommandKey& e : CommandKeys::all()) {
        if (!bound(e)) continue;
        for (const std::string& k : CommandKeys::keys(e)) {
            const bool modified = k.starts_with("Ctrl+") || k.starts_with("Alt+");
            const bool function = k.size() >= 2 && k[0] == 'F' && k[1] >= '1' && k[1] <= '9';
            EXPECT_TRUE(modified || function) << e.control << " " << k;
        }
    }
}

TEST(CommandKeys, IsShortcutKnowsTheBoundKeysOfEachWindow) {
    const struct { const char* window; const char* key; bool bound; } cases[] = {
        {"TForm1", "Ctrl+4", true},       {"TForm1", "Ctrl+Return", true}, {"TForm1", "Ctrl+Enter", true},
        {"TForm1", "F1", true},           {"TForm1", "Return", false},     {"TForm1", "Up", false},
        {"TForm1", "A", false},           {"TForm1", "Ctrl+0", false},     {"Tlishidlg", "Alt+3", true},
        {"Tlishidlg", "Ctrl+4", false},   {"TForm6", "Return", false},     {"TForm7", "Ctrl+P", true},
    };
    for (const auto& c : cases) EXPECT_EQ(c.bound, CommandKeys::isShortcut(c.window, c.key)) << c.window << " " << c.key;
}

TEST(CommandKeys, KeysAsTheLearnerReadsThem) {
    const struct { const char* portable; const char* shown; } cases[] = {
        {"Return", "Enter"}, {"Ctrl+Return", "Ctrl+Enter"}, {"Up", "↑"}, {"Down", "↓"},
        {"Ctrl+,", "Ctrl+,"}, {"Ctrl++", "Ctrl++"},          {"F1", "F1"}, {"Alt+Space", "Alt+空格"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.shown, CommandKeys::shown(c.portable)) << c.portable;
    EXPECT_EQ("交卷（Ctrl+Enter）", CommandKeys::tooltip(*CommandKeys::find("TForm1", "JIAOJUAN")));
    EXPECT_EQ("信息和帮助（F1）", CommandKeys::tooltip(*CommandKeys::find("TForm1", "imgzhuozhe")));
}

class CommandKeysPage : public TrainerTest {};

TEST_F(CommandKeysPage, TheInformationPageListsEveryMainWindowKey) {
    start(plainBank(3));
    const std::string page = AboutPage::html(s());
    for (const CommandKey& e : CommandKeys::all()) {
        if (std::string_view(e.window) != "TForm1") continue;
        const std::string item = std::string(e.command) + "：<b>" + CommandKeys::shownKeys(e) + "</b>";
        EXPECT_NE(page.find(item), std::string::npos) << item;
    }
    EXPECT_NE(page.find("导出、打印 <b>Alt+3</b>"), std::string::npos);
}
