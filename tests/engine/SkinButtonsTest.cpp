// The picture buttons' skin pictures, the shared hover flag, the chosen
// answer's highlight and sound, and the mode backgrounds.
#include <gtest/gtest.h>

#include "data/FixedField.h"
#include "data/Gbk.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

class SkinPictures : public TrainerTest {
protected:
    void SetUp() override {
        start(plainBank(5));
        t().modes.SunXuClick();
        win.forget();
        win.image.clear();
    }
    std::string skin(const std::string& key) { return path("skin/" + key); }
};

TEST_F(SkinPictures, ToolStripButtonsTakeTheirThreePictures) {
    const struct {
        Ctl button;
        const char *normal, *hover, *pressed;
    } buttons[] = {
        {Ctl::ima_sunxu, "ima_sunxu", "ima_sunxu0", "ima_sunxuDown"},
        {Ctl::Imchuji, "ima_chuji", "ima_chuji0", "ima_chujiDown"},
        {Ctl::Ima_nanti, "ima_nanti", "ima_nantiMove", "ima_nantiDown"},
        {Ctl::Ima_kaoshi, "ima_ima_monikaoshi", "ima_ima_monikaoshiMove", "ima_ima_monikaoshiDown"},
        {Ctl::Ima_cuowuji, "ima_cuowuji", "ima_cuowuji_m", "ima_cuowuji_d"},
        {Ctl::Ima_tiku, "Ima_tiku", "Ima_tiku_m", "Ima_tiku_d"},
        {Ctl::img_lishi, "img_lishi", "img_lishi_m", "img_lishi_d"},
        {Ctl::img_shezhi, "img_shezhi", "img_shezhi_m", "img_shezhi_d"},
        {Ctl::imgzhuozhe, "imgzhuozhe", "imgzhuozhe_m", "imgzhuozhe_d"},
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.normal);
        t().skinButtons.mouseMove(b.button);
        EXPECT_EQ(skin(b.hover), win.image[b.button]);
        EXPECT_FALSE(s().hoverArmed);
        t().skinButtons.mouseDown(b.button);
        EXPECT_EQ(skin(b.pressed), win.image[b.button]);
        EXPECT_FALSE(s().hoverArmed); // pressing leaves the flag
        t().skinButtons.mouseLeave(b.button);
        EXPECT_EQ(skin(b.normal), win.image[b.button]);
        EXPECT_TRUE(s().hoverArmed);
    }
    EXPECT_TRUE(win.sounds.empty()); // only the answer buttons sound
}

TEST_F(SkinPictures, TheCloseButtonHasNoPressedPicture) {
    t().skinButtons.mouseMove(Ctl::img5);
    EXPECT_EQ(skin("close0.png"), win.image[Ctl::img5]);
    win.image.erase(Ctl::img5);
    t().skinButtons.mouseDown(Ctl::img5);
    EXPECT_EQ(0u, win.image.count(Ctl::img5));
    t().skinButtons.mouseLeave(Ctl::img5);
    EXPECT_EQ(skin("close.png"), win.image[Ctl::img5]);
}

TEST_F(SkinPictures, MovingStraightFromOneButtonOntoTheNext) {
    t().skinButtons.mouseMove(Ctl::ima_sunxu);
    t().skinButtons.mouseMove(Ctl::ima_sunxu); // further moves load nothing new
    t().skinButtons.mouseLeave(Ctl::ima_sunxu);
    t().skinButtons.mouseMove(Ctl::Imchuji);
    EXPECT_EQ(skin("ima_sunxu"), win.image[Ctl::ima_sunxu]);
    EXPECT_EQ(skin("ima_chuji0"), win.image[Ctl::Imchuji]);
}

TEST_F(SkinPictures, OneHoverAtATimeUntilALeaveRearmsTheFlag) {
    t().skinButtons.mouseMove(Ctl::ima_sunxu);
    t().skinButtons.mouseMove(Ctl::Imchuji); // no leave came in between
    EXPECT_EQ(0u, win.image.count(Ctl::Imchuji));
}

TEST_F(SkinPictures, TheChosenAnswerKeepsItsHighlightWhileTheMouseVisitsAnother) {
    for (bool sound : {true, false}) {
        SCOPED_TRACE(sound);
        t().modes.SunXuClick();
        s().soundOn = sound;
        t().judge.answerQuestion(kAnswerB);
        win.forget();
        ASSERT_EQ(skin("b0.png"), win.image[Ctl::Image3]);
        ASSERT_FALSE(s().hoverArmed); // showing the choice disarmed it

        t().skinButtons.mouseMove(Ctl::Image1); // not armed: nothing
        EXPECT_EQ(skin("a.png"), win.image[Ctl::Image1]);
        EXPECT_TRUE(win.sounds.empty());
        t().skinButtons.mouseLeave(Ctl::Image1);
        t().skinButtons.mouseMove(Ctl::Image1);
        EXPECT_EQ(skin("a0.png"), win.image[Ctl::Image1]);
        EXPECT_EQ(skin("b0.png"), win.image[Ctl::Image3]);
        t().skinButtons.mouseLeave(Ctl::Image1);
        EXPECT_EQ(skin("a.png"), win.image[Ctl::Image1]);
        EXPECT_EQ(skin("b0.png"), win.image[Ctl::Image3]);

        const std::vector<std::string> clicks(3, skin("click.wav"));
        EXPECT_EQ(sound ? clicks : std::vector<std::string>{}, win.sounds);
    }
}

TEST_F(SkinPictures, PressingAnAnswerButtonShowsItNormalAndRearms) {
    t().skinButtons.mouseMove(Ctl::img4);
    EXPECT_EQ(skin("d0.png"), win.image[Ctl::img4]);
    t().skinButtons.mouseDown(Ctl::img4);
    EXPECT_EQ(skin("d.png"), win.image[Ctl::img4]);
    EXPECT_TRUE(s().hoverArmed);
    EXPECT_EQ(2u, win.sounds.size());
    // The true/false pair.
    t().skinButtons.mouseMove(Ctl::Image4);
    EXPECT_EQ(skin("dui0.png"), win.image[Ctl::Image4]);
    t().skinButtons.mouseLeave(Ctl::Image4);
    t().skinButtons.mouseMove(Ctl::Image5);
    EXPECT_EQ(skin("cuo0.png"), win.image[Ctl::Image5]);
}

TEST_F(SkinPictures, AnEmptyListHighlightsNothing) {
    s().state->beginnerCount = 0;
    t().modes.chujiClick();
    win.image.clear();
    t().skinButtons.mouseMove(Ctl::Image3);
    t().skinButtons.mouseLeave(Ctl::Image3);
    EXPECT_EQ(skin("b.png"), win.image[Ctl::Image3]);
    EXPECT_EQ(1u, win.image.size());
}

const char* kSkinError = "加载皮肤出错！,或者请以管理员身份运行；";

class Backgrounds : public TrainerTest {
protected:
    static void name(char (&field)[100], const std::string& utf8) { writeField(field, gbk::fromUtf8Lossy(utf8)); }
    static void allFour(Sfile& st) {
        name(st.skinSunXu, "skins\\顺序.bmp");
        name(st.skinChuji, "skins\\初步.bmp");
        name(st.skinNanti, "skins\\难题.bmp");
        name(st.skinKaoshi, "skins\\考试.bmp");
    }
    void everyMode() {
        t().modes.SunXuClick();
        EXPECT_EQ(1, win.background);
        t().modes.LianXKSClick();
        EXPECT_EQ(3, win.background);
        t().modes.KaoShiClick();
        EXPECT_EQ(4, win.background);
        t().modes.chujiClick();
        EXPECT_EQ(2, win.background);
    }
};

TEST_F(Backgrounds, LoadedOnceAtTheFirstModeInTheirOrder) {
    start(plainBank(5), allFour);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), win.backgroundLoads);
    EXPECT_EQ(path("skins/顺序.bmp"), win.loadedBackgrounds[1]);
    EXPECT_EQ(path("skins/考试.bmp"), win.loadedBackgrounds[4]);
    EXPECT_EQ(2, win.background); // the window starts with beginner practice
    EXPECT_TRUE(win.messages.empty());
    everyMode();
    EXPECT_EQ(4u, win.backgroundLoads.size());
}

TEST_F(Backgrounds, AFailureIsReportedOnceAndStopsTheLoading) {
    for (int failing : {1, 2, 4}) {
        SCOPED_TRACE(failing);
        win.failBackgroundMode = failing;
        win.forget();
        start(plainBank(5), allFour);
        std::vector<int> tried;
        for (int m = 1; m <= failing; ++m) tried.push_back(m);
        EXPECT_EQ(tried, win.backgroundLoads);
        ASSERT_EQ(1u, win.messages.size());
        EXPECT_EQ(0u, win.messages[0].find(std::string(kSkinError) + "\n"));
        EXPECT_GT(win.messages[0].size(), std::string(kSkinError).size() + 1); // the support line
        everyMode();
        EXPECT_EQ(tried, win.backgroundLoads);
        EXPECT_EQ(1u, win.messages.size());
    }
}

TEST_F(Backgrounds, EmptyNamesFallBackToTheSkinFile) {
    start(plainBank(5), {}, fullSkinFile() + "bg_sunxu=\"skin\\bg1.bmp\"\r\nbg_nanti=\"skin\\bg3.bmp\"\r\n");
    EXPECT_EQ((std::vector<int>{1, 3}), win.backgroundLoads);
    EXPECT_EQ(path("skin/bg1.bmp"), win.loadedBackgrounds[1]);
    EXPECT_EQ(path("skin/bg3.bmp"), win.loadedBackgrounds[3]);
    EXPECT_TRUE(win.messages.empty());
}

TEST_F(Backgrounds, NoNameAndNoSkinKeyMeansNoBackgroundAndNoMessage) {
    start(plainBank(5), {}, "");
    EXPECT_TRUE(win.backgroundLoads.empty());
    EXPECT_TRUE(win.messages.empty());
    EXPECT_EQ(2, win.background);
    everyMode();
    EXPECT_TRUE(win.backgroundLoads.empty());
}

TEST_F(Backgrounds, ANamedBitmapWinsOverTheSkinKey) {
    start(
        plainBank(5), [](Sfile& st) { name(st.skinNanti, "own.bmp"); },
        "bg_sunxu=\"skin\\bg1.bmp\"\r\nbg_nanti=\"skin\\bg3.bmp\"\r\n");
    EXPECT_EQ((std::vector<int>{1, 3}), win.backgroundLoads);
    EXPECT_EQ(path("own.bmp"), win.loadedBackgrounds[3]);
}

} // namespace
