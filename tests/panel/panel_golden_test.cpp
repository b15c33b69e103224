// Golden frames of the score panel, and of the comparison that judges them.
#include "panel/panel_fixture.h"

#include "app/state.h"
#include "host/headless/headless.h"
#include "host/headless/png_file.h"
#include "res/resource.h"
#include "support/golden.h"

#include <stdio.h>
#include <unistd.h>

namespace {

// The game's window over a test backdrop, the panel over it showing "2/3", one present
// through the game window's clipper: the plaque stands, its text in the edit box, and the
// present covers the cut-away corners with the backdrop.
TEST_F(PanelTest, Golden_PanelShowing2of3OverTheGame) {
    OpenDisplay();
    OpenPanel();
    SendDlgItemMessageA(scorePanel, IDC_SCORE, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("2/3"));
    PaintAll();
    Present();
    ExpectFrameMatchesGolden("panel_2of3", HeadlessFrame());
}

// The comparison is exact, and says where the first difference is.
TEST(GoldenCompare, ExactMatch_OrCountAndFirstDifference) {
    std::vector<uint16_t> frame(4 * 3);
    for (size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<uint16_t>(i * 0x1111);
    }
    char path[] = "/tmp/zobu4-golden-XXXXXX.png";
    const int fd = mkstemps(path, 4);
    ASSERT_GE(fd, 0);
    close(fd);
    std::string error;
    ASSERT_TRUE(WritePng565(path, frame.data(), 4, 3, 8, &error)) << error;
    GoldenComparison same = CompareWithPng(frame, 4, 3, path);
    EXPECT_TRUE(same.matches);
    EXPECT_EQ(same.differing, 0);

    frame[6] ^= 0x0020; // one step of green at (2, 1)
    frame[11] ^= 0x0001;
    GoldenComparison differs = CompareWithPng(frame, 4, 3, path);
    EXPECT_FALSE(differs.matches);
    EXPECT_EQ(differs.differing, 2);
    EXPECT_EQ(differs.first_x, 2);
    EXPECT_EQ(differs.first_y, 1);

    EXPECT_FALSE(CompareWithPng(frame, 4, 4, path).error.empty()) << "another size";
    remove(path);
    EXPECT_FALSE(CompareWithPng(frame, 4, 3, path).error.empty()) << "no file";
}

} // namespace
