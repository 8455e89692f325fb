// Fingers take the lowest free touch number and keep it while down.
#include "host/touch_slots.h"

#include <gtest/gtest.h>

TEST(TouchSlots, FingersKeepTheirNumbersWhileDown) {
    TouchSlots slots;
    EXPECT_EQ(slots.Down(70), 0);
    EXPECT_EQ(slots.Down(71), 1);
    EXPECT_EQ(slots.Down(71), -1); // down already
    EXPECT_EQ(slots.Up(70), 0);
    EXPECT_EQ(slots.Find(71), 1); // the second finger stays touch 1
    EXPECT_EQ(slots.Down(72), 0); // a new finger takes the free 0
    EXPECT_EQ(slots.Up(99), -1);
    for (long finger = 80; finger < 88; ++finger) EXPECT_EQ(slots.Down(finger), finger - 78);
    EXPECT_EQ(slots.Down(90), -1); // ten are down
    EXPECT_EQ(slots.Up(71), 1);
    EXPECT_EQ(slots.Find(71), -1);
    EXPECT_EQ(slots.Down(90), 1);
}
