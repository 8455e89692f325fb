// Play keys from every source, the iCade switch and letters, buttons and zones.
#include "harness.h"

#include "input/gxtk_input.h"

#include <gtest/gtest.h>

namespace {
struct KeySource {
    int playKey;
    int keyCode;
    bool lettersOnly; // counts only while the iCade is off
};
// Every keyboard and joystick-button source of every play key.
const KeySource kSources[] = {
    {0, 38, false},   {0, 87, true},   {0, 265, false},  {3, 37, false},   {3, 65, true},    {3, 264, false},
    {5, 39, false},   {5, 68, true},   {5, 266, false},  {8, 40, false},   {8, 83, true},    {8, 267, false},
    {10, 32, false},  {10, 13, false}, {10, 90, true},   {10, 74, true},   {10, 256, false}, {11, 17, false},
    {11, 88, true},   {11, 75, true},  {11, 257, false}, {12, 16, false},  {12, 67, true},   {12, 76, true},
    {12, 258, false}, {13, 86, true},  {13, 73, true},   {13, 259, false}, {99, 27, false},  {99, 46, false},
    {99, 8, false},   {99, 263, false}};
const int kPlayKeys[] = {0, 3, 5, 8, 10, 11, 12, 13, 99};

int HeldPlayKeys(bb_Skitterbat_MyApp& g) {
    int held = 0;
    for (int key : kPlayKeys) held += g.m_PlayKey(key) ? 1 : 0;
    return held;
}
} // namespace

// Mode 0 dispatches no screen, so updates here only sample the input.
TEST(Controls, EveryKeyAndButtonAnswersItsPlayKeyOnly) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    g.Mode = 0;
    for (int iCade = 0; iCade <= 1; ++iCade) {
        g.m_iCade(iCade);
        for (const KeySource& source : kSources) {
            SCOPED_TRACE(testing::Message() << "key " << source.keyCode << " iCade " << iCade);
            h.KeyDown(source.keyCode);
            const bool counts = !(source.lettersOnly && iCade == 1);
            EXPECT_EQ(g.m_PlayKey(source.playKey), counts);
            EXPECT_EQ(HeldPlayKeys(g), counts ? 1 : 0);
            h.KeyUp(source.keyCode);
            EXPECT_FALSE(g.m_PlayKey(source.playKey));
        }
    }
    // Joystick buttons arrive through the device's polling.
    std::vector<unsigned char> buttons(32, 0);
    buttons[7] = 1;
    h.JoystickButtons(buttons);
    h.Update();
    EXPECT_TRUE(g.m_PlayKey(99));
    buttons[7] = 0;
    h.JoystickButtons(buttons);
    h.Update();
    EXPECT_FALSE(g.m_PlayKey(99));
    for (int other : {1, 2, 4, 6, 7, 9, 14, 15, 16, 17, 18, 98, 100, -1}) EXPECT_FALSE(g.m_PlayKey(other));
}

TEST(Controls, VirtualButtonsAndTheBackKey) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    for (int key : {0, 3, 5, 8, 10, 11, 12, 13}) {
        g.KeyArray[key] = 2;
        EXPECT_TRUE(g.m_PlayKey(key));
        g.KeyArray[key] = 0;
    }
    g.KeyArray[14] = 2;
    g.KeyArray[15] = 2;
    EXPECT_FALSE(g.m_PlayKey(14));
    EXPECT_FALSE(g.m_PlayKey(15));
    EXPECT_FALSE(g.m_PlayKey(99));
    g.KeyArray[16] = 2;
    EXPECT_FALSE(g.m_PlayKey(16));
    EXPECT_TRUE(g.m_PlayKey(99));
    g.KeyArray[16] = 0;
    g.KeyArray[17] = 2;
    EXPECT_FALSE(g.m_PlayKey(17));
    EXPECT_TRUE(g.m_PlayKey(99));
}

TEST(Controls, StickThresholdsAreStrict) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    g.Mode = 0;
    h.JoystickAxes({-0.4f, 0.4f});
    h.Update();
    EXPECT_FALSE(g.m_PlayKey(3));
    EXPECT_FALSE(g.m_PlayKey(8));
    h.JoystickAxes({-0.41f, 0.41f});
    h.Update();
    EXPECT_TRUE(g.m_PlayKey(3));
    EXPECT_FALSE(g.m_PlayKey(5));
    EXPECT_TRUE(g.m_PlayKey(8));
    EXPECT_FALSE(g.m_PlayKey(0));
    h.JoystickAxes({0.41f, -0.41f});
    h.Update();
    EXPECT_TRUE(g.m_PlayKey(5));
    EXPECT_TRUE(g.m_PlayKey(0));
    h.JoystickAxes({0.4f, -0.4f});
    h.Update();
    EXPECT_FALSE(g.m_PlayKey(5));
    EXPECT_FALSE(g.m_PlayKey(0));
}

TEST(Controls, ICadeLettersHoldButtonsUntilTheirReleaseLetter) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    g.Mode = 0;

    // Letters typed before the switch are thrown away.
    h.Type("WXA");
    g.m_iCade(1);
    EXPECT_EQ(bb_Skitterbat_iCadeControls, 1);
    EXPECT_EQ(g.ICadeChar, 0);
    EXPECT_EQ(h.Input().GetChar(), 0);
    h.Update();
    EXPECT_EQ(g.KeyArray[0], 0);

    // The W key itself no longer counts, but the letter W holds up until E.
    h.KeyDown(87);
    EXPECT_FALSE(g.m_PlayKey(0));
    h.KeyUp(87);
    h.Type("W");
    h.Update();
    EXPECT_EQ(g.KeyArray[0], 2);
    h.Update(5);
    EXPECT_TRUE(g.m_PlayKey(0));
    h.Type("e");
    h.Update();
    EXPECT_EQ(g.KeyArray[0], 0);
    EXPECT_FALSE(g.m_PlayKey(0));

    // Every pair, lower and upper case; other characters are ignored.
    const char* presses = "wxadhjkyuiol";
    const char* releases = "EZQCRNPTFMGV";
    const int entries[] = {0, 8, 3, 5, 10, 11, 12, 13, 14, 15, 16, 17};
    h.Type(presses);
    h.TypeChar(65573); // an arrow key's character
    h.TypeChar('1');
    h.Update();
    for (int i = 0; i < 12; ++i) EXPECT_EQ(g.KeyArray[entries[i]], 2) << presses[i];
    EXPECT_TRUE(g.m_PlayKey(99)); // through entries 16 and 17
    h.Type(releases);
    h.Update();
    for (int i = 0; i < 20; ++i) EXPECT_EQ(g.KeyArray[i], 0) << i;

    // Switching off lets no button stay held.
    h.Type("W");
    h.Update();
    g.KeyArray[19] = 5;
    g.m_iCade(0);
    EXPECT_EQ(bb_Skitterbat_iCadeControls, 0);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(g.KeyArray[i], 0) << i;
    // Without the iCade, letters are just letters.
    h.Type("W");
    h.Update();
    EXPECT_EQ(g.KeyArray[0], 0);
    g.m_iCade(7); // neither on nor off: nothing
    EXPECT_EQ(bb_Skitterbat_iCadeControls, 0);
}

TEST(Controls, ButtonHitBoxIsStrictAndFollowsThePen) {
    GameHarness h; // 640 x 480: one window pixel per game unit, art level 2
    bb_Skitterbat_MyApp& g = h.game;
    g.Mode = 0;
    ASSERT_EQ(g.ScreenScale, 1);
    ASSERT_EQ(g.ImageSizes[3 * 97], 64); // a 32-unit icon at level 2

    // Every update ends with the badge notes, which reset the pen: set it per test.
    float size = 1;
    auto hitAt = [&](float x, float y) {
        h.MouseToGame(x, y);
        h.MouseButton(true);
        h.Update();
        g.m_SetSize(size);
        const int hit = g.m_Button(97, 100, 100, 3);
        h.MouseButton(false);
        h.Update();
        return hit;
    };
    EXPECT_EQ(hitAt(116, 100), 0); // exactly on the right edge
    EXPECT_EQ(hitAt(115, 100), 1);
    EXPECT_EQ(hitAt(84, 100), 0);
    EXPECT_EQ(hitAt(85, 115), 1);
    EXPECT_EQ(hitAt(100, 116), 0);
    // A bigger pen makes a bigger box.
    size = 2;
    EXPECT_EQ(hitAt(131, 100), 1);
    EXPECT_EQ(hitAt(132, 100), 0);

    // No pointer, no hit; the button is drawn anyway.
    g.m_CLS2D(0, 0, 0, 1);
    EXPECT_EQ(g.m_Button(97, 100, 100, 3), 0);
    ASSERT_EQ(h.Records().size(), 1u);
    EXPECT_TRUE(h.Records()[0].IsImage(97));
    EXPECT_EQ(h.Records()[0].frame, 3);
}

TEST(Controls, TouchZoneIsStrictAndAlwaysDrawn) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    g.Mode = 0;
    g.m_CLS2D(0, 0, 0, 1);
    EXPECT_FALSE(g.m_Touch(10, 10, 20, 20));
    EXPECT_EQ(h.Records().size(), 1u);
    EXPECT_TRUE(h.Records()[0].IsRect());

    h.MouseToGame(30, 20);
    h.MouseButton(true);
    h.Update();
    EXPECT_FALSE(g.m_Touch(10, 10, 20, 20)); // x + w exactly
    EXPECT_TRUE(g.m_Touch(10, 10, 21, 20));
    EXPECT_FALSE(g.m_Touch(30, 10, 20, 20)); // x exactly
    EXPECT_FALSE(g.m_Touch(10, 20, 30, 20)); // y exactly
    EXPECT_TRUE(g.m_Touch(29, 19, 2, 2));
}
