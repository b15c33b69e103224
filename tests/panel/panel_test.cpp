// The score panel: the region cut from its skin, its dialog as the template makes it, its
// painting over the game, and what it gives back.
#include "panel/panel_fixture.h"

#include "app/state.h"
#include "host/headless/headless.h"
#include "kernel/embedded_resources.h"
#include "kernel/resources.h"
#include "panel/score_panel.h"
#include "res/resource.h"

#include <tuple>

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

// The rectangles of a region, in Windows' band order.
std::vector<RECT> RectsOf(HRGN region) {
    std::vector<uint8_t> bytes(GetRegionData(region, 0, nullptr));
    auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
    if (bytes.empty() || GetRegionData(region, static_cast<DWORD>(bytes.size()), data) == 0) {
        return {};
    }
    const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
    return std::vector<RECT>(rects, rects + data->rdh.nCount);
}

using RegionFromBitmapTest = PlatformTest;

// Each row: a picture given as text ('.' the top-left pixel's colour, '#' another), the
// width to scan, and the region expected.
TEST_F(RegionFromBitmapTest, RunsOfEachRow) {
    using Row = std::tuple<const char*, std::vector<std::string>, int, int, std::vector<RECT>>;
    const Row rows[] = {
        {"all like the top-left pixel", {"....", "...."}, 4, 2, {}},
        {"height 0", {".##."}, 4, 0, {}},
        {"a run to the last column", {"..##"}, 4, 1, {{2, 0, 4, 1}}},
        {"two runs split by one pixel", {".#.#"}, 4, 1, {{1, 0, 2, 1}, {3, 0, 4, 1}}},
        {"equal rows join", {".##.", ".##."}, 4, 2, {{1, 0, 3, 2}}},
        {"past the bitmap counts as opaque", {".#.."}, 6, 1, {{1, 0, 2, 1}, {4, 0, 6, 1}}},
    };
    for (const auto& [name, picture, width, height, expected] : rows) {
        SCOPED_TRACE(name);
        MemoryBitmap memory(static_cast<int>(picture[0].size()), static_cast<int>(picture.size()));
        for (size_t y = 0; y < picture.size(); ++y) {
            for (size_t x = 0; x < picture[y].size(); ++x) {
                SetPixel(memory.dc, static_cast<int>(x), static_cast<int>(y),
                         picture[y][x] == '#' ? RGB(200, 120, 40) : kMagenta);
            }
        }
        HRGN region = RegionFromBitmap(memory.dc, width, height);
        if (expected.empty()) {
            EXPECT_EQ(region, nullptr);
            continue;
        }
        ASSERT_NE(region, nullptr);
        EXPECT_EQ(RectsOf(region), expected);
        DeleteObject(region);
    }
}

// The real skin: the plaque fills the picture but for its rounded corners (the golden
// frames show which pixels), in a few dozen rectangles.
TEST_F(RegionFromBitmapTest, TheSkin_ARoundedPlaque) {
    std::string error;
    ASSERT_TRUE(
        KernelSetModuleResources(kEmbeddedModuleResources, kEmbeddedModuleResourcesSize, &error));
    HBITMAP skin = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_SCORE_SKIN));
    ASSERT_NE(skin, nullptr);
    BITMAP info = {};
    GetObjectA(skin, sizeof info, &info);
    EXPECT_EQ(std::make_pair(info.bmWidth, info.bmHeight), std::make_pair(159, 59));
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, skin);
    EXPECT_EQ(GetPixel(dc, 0, 0), kMagenta);
    HRGN region = RegionFromBitmap(dc, 159, 59);
    ASSERT_NE(region, nullptr);
    RECT box = {};
    EXPECT_EQ(GetRgnBox(region, &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT{0, 0, 159, 59}));
    EXPECT_LE(RectsOf(region).size(), 40u);
    EXPECT_FALSE(PtInRegion(region, 2, 2)) << "a rounded corner";
    EXPECT_TRUE(PtInRegion(region, 9, 9));
    DeleteObject(region);
    DeleteDC(dc);
    DeleteObject(skin);
    KernelSetModuleResources(nullptr, 0, &error);
}

// The template's dialog and control, in pixels: 106 x 36 dialog units are 159 x 59 at the
// dialog font's 6 x 13 base units; the edit's (50, 10) 40 x 14 are (75, 16) 60 x 23.
TEST_F(PanelTest, Template_MakesTheWindowAndControlOfTheTables) {
    OpenPanel();
    EXPECT_EQ(WindowRectOf(scorePanel), (RECT{0, 0, 159, 59}));
    EXPECT_EQ(ClientRectOf(scorePanel), (RECT{0, 0, 159, 59})) << "no frame, no caption";
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(scorePanel, GWL_STYLE)), 0x90000040u);
    EXPECT_EQ(GetWindowLongPtrA(scorePanel, GWL_EXSTYLE), 0);
    EXPECT_EQ(reinterpret_cast<HWND>(GetWindowLongPtrA(scorePanel, GWLP_HWNDPARENT)), mainWindow);
    EXPECT_TRUE(IsWindowVisible(scorePanel));

    HWND edit = GetDlgItem(scorePanel, IDC_SCORE);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_ID), IDC_SCORE);
    // The template's WS_BORDER (0x00800000) became the dialog's 3-D sunken edge.
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(edit, GWL_STYLE)), 0x50010880u);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWL_EXSTYLE), WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE);
    EXPECT_EQ(WindowRectOf(edit), (RECT{75, 16, 135, 39}));
    EXPECT_EQ(ClientRectOf(edit), (RECT{0, 0, 50, 13})) << "3 pixels of dialog frame, 2 of edge";
    EXPECT_EQ(SendMessageA(edit, WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
    EXPECT_EQ(GetFocus(), edit) << "WM_INITDIALOG answered 1";
    POINT caret = {};
    EXPECT_TRUE(GetCaretPos(&caret));
    EXPECT_EQ(std::make_pair(caret.x, caret.y), std::make_pair(1, 0)) << "at the text's start";
    EXPECT_EQ(GetActiveWindow(), scorePanel);
    // Owned, it stands above its owner: the panel and the edit are found at their points.
    EXPECT_EQ(WindowFromPoint({40, 30}), scorePanel);
    EXPECT_EQ(WindowFromPoint({100, 25}), edit);
    EXPECT_EQ(WindowFromPoint({300, 300}), mainWindow);
    SetFocus(mainWindow);
    EXPECT_FALSE(HideCaret(nullptr)) << "the caret went with the focus";
}

// Alt+F4 with the panel's edit box focused, as it is from the start, ends the game: the
// panel answers its Cancel by closing its owner, which takes the panel along, and the
// panel forgets itself.
TEST_F(PanelTest, AltF4_InTheEditBox_ClosesTheGame) {
    OpenPanel();
    ASSERT_EQ(GetFocus(), GetDlgItem(scorePanel, IDC_SCORE));
    const HWND panel = scorePanel;
    ScheduleKeys({VK_MENU, VK_F4});
    DispatchWaiting();
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(scorePanel, nullptr);
    window = nullptr;
    DeleteObject(panelSkin);
    panelSkin = nullptr;
}

// A click in a cut-away corner reaches the game's window behind; one on the plaque reaches
// the panel, one in the edit box the edit, each with the point in its own client area. Each
// mouse message is preceded by WM_SETCURSOR to its window.
TEST_F(PanelTest, Clicks_HitTestedThroughTheShape) {
    OpenPanel();
    HWND edit = GetDlgItem(scorePanel, IDC_SCORE);
    using Row = std::tuple<const char*, int, int, HWND, POINT>;
    const Row rows[] = {
        {"top-left corner", 1, 1, mainWindow, {1, 1}},
        {"bottom-right corner", 157, 57, mainWindow, {157, 57}},
        {"the plaque", 20, 28, scorePanel, {20, 28}},
        {"the edit box", 100, 25, edit, {20, 4}}, // its client area starts at (80, 21)
        {"right of the panel", 170, 20, mainWindow, {170, 20}},
    };
    for (const auto& [name, x, y, target, client] : rows) {
        SCOPED_TRACE(name);
        HeadlessScheduleMouse(GetTickCount(), x, y, true, true);
        MSG m = {};
        MessageLog().clear();
        ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
        EXPECT_EQ(m.hwnd, target);
        EXPECT_EQ(m.lParam, MAKELPARAM(client.x, client.y)) << "client coordinates";
        if (target == mainWindow) {
            EXPECT_TRUE(
                SameSequence({{mainWindow, WM_SETCURSOR, true, reinterpret_cast<WPARAM>(mainWindow),
                               MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)}},
                             MessageLog()));
        }
        EXPECT_EQ(m.wParam, static_cast<WPARAM>(MK_LBUTTON));
        HeadlessScheduleMouse(GetTickCount(), x, y, true, false);
        ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE));
        EXPECT_EQ(m.wParam, 0u);
    }
    // With no shape the panel is its rectangle again, corners and all.
    EXPECT_EQ(WindowFromPoint({1, 1}), mainWindow);
    EXPECT_TRUE(SetWindowRgn(scorePanel, nullptr, TRUE));
    EXPECT_EQ(WindowFromPoint({1, 1}), scorePanel);
}

// Made and destroyed ten times, the panel leaves no GDI object, device context or DirectDraw
// object behind (the fixture counts them at its end), but the skins the program keeps.
TEST_F(PanelTest, OpenAndCloseTenTimes_NothingLeftBehind) {
    OpenDisplay();
    for (int i = 0; i < 10; ++i) {
        OpenPanel();
        SendDlgItemMessageA(scorePanel, IDC_SCORE, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("1/1"));
        PaintAll();
        Present();
        ClosePanel();
    }
}

} // namespace
