// The parts of the browser host that do not need a browser: its key codes, and the desktop's
// random numbers it carries so that a recording replays the same in the page.
#include "host/web/desktop_random.h"
#include "host/virtual_keys.h"

#include <gtest/gtest.h>

#include <stdlib.h>

// Against glibc's own rand(), which this process has: the seeds the tick count gives at its
// ends, 0 (taken as 1), and those that do not fit a 32-bit signed number.
TEST(DesktopRandom, SameSequenceAsGlibcRand) {
    for (const uint32_t seed : {0u, 1u, 7u, 12345u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(seed);
        srand(seed);
        DesktopRandom ours(seed);
        for (int i = 0; i < 1000; ++i) {
            ASSERT_EQ(ours.Next(), rand()) << "draw " << i;
        }
        srand(seed); // seeding again starts again
        ours.Seed(seed);
        EXPECT_EQ(ours.Next(), rand());
    }
}

TEST(WebKeyCodes, WhereTheKeyIs_AsAVirtualKey) {
    const struct {
        const char* code;
        uint8_t virtual_key;
    } ours[] = {
        {"ArrowLeft", 0x25}, {"ArrowRight", 0x27}, {"ArrowUp", 0x26},      {"ArrowDown", 0x28},
        {"Space", 0x20},     {"Escape", 0x1B},     {"Enter", 0x0D},        {"NumpadEnter", 0x0D},
        {"Tab", 0x09},       {"AltLeft", 0x12},    {"ControlRight", 0x11}, {"ShiftLeft", 0x10},
        {"KeyA", 'A'},       {"KeyZ", 'Z'},        {"Digit0", '0'},        {"Digit9", '9'},
        {"F1", 0x70},        {"F9", 0x78},         {"F10", 0x79},          {"F12", 0x7B},
    };
    for (const auto& c : ours) {
        EXPECT_EQ(VirtualKeyFromCode(c.code), c.virtual_key) << c.code;
    }
    // Keys the program has no use for, and codes that only look like ours.
    for (const char* code : {"F13", "F0", "F21", "F1x", "Keya", "KeyAB", "Digit", "Numpad5",
                             "MetaLeft", "arrowleft", ""}) {
        EXPECT_EQ(VirtualKeyFromCode(code), 0) << code;
    }
    EXPECT_EQ(VirtualKeyFromCode(nullptr), 0);
}
