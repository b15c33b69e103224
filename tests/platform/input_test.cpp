// Conformance: keyboard messages, accelerators, focus and the default close handling.
#include "support/platform_fixture.h"

#include "host/headless/headless.h"
#include "kernel/embedded_resources.h"
#include "kernel/resources.h"

#include "res/resource.h"

#include <tuple>

namespace {

class InputTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        std::string error;
        ASSERT_TRUE(KernelSetModuleResources(kEmbeddedModuleResources, kEmbeddedModuleResourcesSize,
                                             &error))
            << error;
    }

    // The game's window, its panel and the panel's edit box, which has the focus.
    void MakeGameWindows() {
        main = MakeWindow(WS_POPUP | WS_VISIBLE);
        panel = MakeWindow(WS_POPUP | WS_VISIBLE, main);
        edit = MakeWindow(WS_CHILD | WS_VISIBLE, panel, 1000);
        SetFocus(edit);
    }
    HWND main = nullptr, panel = nullptr, edit = nullptr;
};

TEST_F(InputTest, KeyMessages_CarryWindowsLParamBits) {
    HWND w = MakeWindow(WS_POPUP | WS_VISIBLE);
    ScheduleKeys({VK_RIGHT, VK_RIGHT, -VK_RIGHT, VK_SPACE, VK_ESCAPE, VK_MENU, VK_F4, -VK_F4,
                  -VK_MENU, VK_F10, VK_LEFT, -VK_RETURN});
    EXPECT_TRUE(SameSequence(
        {
            {w, WM_KEYDOWN, true, VK_RIGHT, 0x014D0001}, // extended, first press
            {w, WM_KEYDOWN, true, VK_RIGHT, 0x414D0001}, // repeat: previous state set
            {w, WM_KEYUP, true, VK_RIGHT, 0xC14D0001},   // up: bits 30 and 31
            {w, WM_KEYDOWN, true, VK_SPACE, 0x00390001},
            {w, WM_KEYDOWN, true, VK_ESCAPE, 0x00010001},
            {w, WM_SYSKEYDOWN, true, VK_MENU, 0x20380001}, // Alt: context bit
            {w, WM_SYSKEYDOWN, true, VK_F4, 0x203E0001},
            {w, WM_SYSKEYUP, true, VK_F4, 0xE03E0001},
            {w, WM_KEYUP, true, VK_MENU, 0xC0380001},     // Alt up after another key
            {w, WM_SYSKEYDOWN, true, VK_F10, 0x00440001}, // F10 is a system key
            {w, WM_KEYDOWN, true, VK_LEFT, 0x014B0001},   // extended, as every arrow
            {w, WM_KEYUP, true, VK_RETURN, 0xC01C0001},   // an up always has bits 30 and 31
        },
        DispatchWaiting(false)));
    // A press toggles a key once, however long it repeats.
    EXPECT_EQ(GetKeyState(VK_RIGHT), 1);
    EXPECT_EQ(GetKeyState(VK_LEFT) & 0x0001, 1);
}

// Alt makes system keys, unless Ctrl is down too (Ctrl+Alt is AltGr on many keyboards);
// Alt's own release is a system key only when no other key went down while it was held.
TEST_F(InputTest, KeyMessages_AltAndCtrl_DecideWhatIsASystemKey) {
    HWND w = MakeWindow(WS_POPUP | WS_VISIBLE);
    using Row = std::tuple<const char*, std::vector<int>, std::vector<ExpectedMessage>>;
    const Row rows[] = {
        {"Alt alone",
         {VK_MENU, -VK_MENU},
         {{w, WM_SYSKEYDOWN, true, VK_MENU, 0x20380001},
          {w, WM_SYSKEYUP, true, VK_MENU, 0xC0380001}}},
        {"Alt+A",
         {VK_MENU, 'A', -'A', -VK_MENU},
         {{w, WM_SYSKEYDOWN, true, VK_MENU, 0x20380001},
          {w, WM_SYSKEYDOWN, true, 'A', 0x201E0001},
          {w, WM_SYSKEYUP, true, 'A', 0xE01E0001},
          {w, WM_KEYUP, true, VK_MENU, 0xC0380001}}},
        {"Ctrl+Alt+A",
         {VK_CONTROL, VK_MENU, 'A', -'A', -VK_MENU, -VK_CONTROL},
         {{w, WM_KEYDOWN, true, VK_CONTROL, 0x001D0001},
          {w, WM_KEYDOWN, true, VK_MENU, 0x00380001},
          {w, WM_KEYDOWN, true, 'A', 0x001E0001},
          {w, WM_KEYUP, true, 'A', 0xC01E0001},
          {w, WM_KEYUP, true, VK_MENU, 0xC0380001},
          {w, WM_KEYUP, true, VK_CONTROL, 0xC01D0001}}},
    };
    for (const auto& [name, keys, expected] : rows) {
        SCOPED_TRACE(name);
        ScheduleKeys(keys);
        EXPECT_TRUE(SameSequence(expected, DispatchWaiting(false)));
    }
}

// F4 closes only with Alt held, as the context bit of the message says: not alone with the
// focus (WM_KEYDOWN), and not alone without it (WM_SYSKEYDOWN, context bit clear).
TEST_F(InputTest, F4_WithoutAlt_ClosesNothing) {
    HWND w = MakeWindow(WS_POPUP | WS_VISIBLE);
    ASSERT_EQ(GetFocus(), w);
    ScheduleKeys({VK_F4, -VK_F4});
    DispatchWaiting();
    EXPECT_TRUE(IsWindow(w));
    SetFocus(nullptr);
    ScheduleKeys({VK_F4, -VK_F4});
    const auto got = DispatchWaiting();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got[0].message, static_cast<UINT>(WM_SYSKEYDOWN)) << "no focus: a system key";
    EXPECT_TRUE(IsWindow(w));
    ScheduleKeys({VK_MENU, VK_F4});
    DispatchWaiting();
    EXPECT_FALSE(IsWindow(w)) << "Alt+F4 without the focus still closes";
}

// Keys go to the focus window; the state GetKeyState reports changes when the key's
// message is retrieved, not when it is seen or queued.
TEST_F(InputTest, KeyMessages_GoToTheFocusWindow_StateChangesWhenRetrieved) {
    MakeGameWindows();
    EXPECT_EQ(GetActiveWindow(), panel);
    HeadlessScheduleKey(kStartMs, VK_LEFT, true);
    const auto got = DispatchWaiting();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].hwnd, edit);

    HeadlessScheduleKey(kStartMs, VK_SPACE, true);
    EXPECT_EQ(GetKeyState(VK_SPACE) & 0x8000, 0);
    MSG m = {};
    ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE));
    EXPECT_EQ(GetKeyState(VK_SPACE) & 0x8000, 0);
    ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_NE(GetKeyState(VK_SPACE) & 0x8000, 0);
}

// The program's table is found by number only, for its module. The command must reach the
// window given to TranslateAcceleratorA, before it returns, even though the key message is
// addressed to another window (the panel's edit box).
TEST_F(InputTest, Accelerators_SendTheCommandToTheGivenWindow) {
    HACCEL table = LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(IDR_ACCEL));
    EXPECT_NE(table, nullptr);
    EXPECT_EQ(LoadAcceleratorsA(Instance(), "#102"), table);
    EXPECT_EQ(LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(999)), nullptr);
    EXPECT_EQ(LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(IDR_ACCEL)), nullptr);
    MakeGameWindows();
    for (const auto& [key, command] : {std::pair<BYTE, WORD>{VK_ESCAPE, ID_QUIT},
                                       {VK_LEFT, ID_MOVE_LEFT},
                                       {VK_RIGHT, ID_MOVE_RIGHT},
                                       {VK_SPACE, ID_DROP},
                                       {'A', 0}}) { // 0: no command
        SCOPED_TRACE(key);
        ScheduleKeys({key, -key});
        MSG m = {};
        ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
        ASSERT_EQ(m.hwnd, edit);
        MessageLog().clear();
        EXPECT_EQ(TranslateAcceleratorA(main, table, &m), command ? 1 : 0);
        EXPECT_TRUE(SameSequence(command ? std::vector<ExpectedMessage>{{main, WM_COMMAND, true,
                                                                         MAKEWPARAM(command, 1), 0}}
                                         : std::vector<ExpectedMessage>{},
                                 MessageLog()));
        ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(TranslateAcceleratorA(main, table, &m), 0) << "key-up must not translate";
    }
    // The modifiers must match: Alt+Space is no drop.
    ScheduleKeys({VK_MENU, VK_SPACE});
    MSG m = {};
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)); // Alt
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)); // Alt+Space
    EXPECT_EQ(m.message, static_cast<UINT>(WM_SYSKEYDOWN));
    MessageLog().clear();
    EXPECT_EQ(TranslateAcceleratorA(main, table, &m), 0);
    EXPECT_TRUE(MessageLog().empty());
    EXPECT_EQ(TranslateAcceleratorA(main, nullptr, &m), 0);
}

// Alt+F4 closes the top-level window that got the key, as an owned pop-up with its child
// focused shows: the pop-up alone goes, its owner lives on.
TEST_F(InputTest, AltF4_InOwnedPopup_ClosesThePopupAlone) {
    MakeGameWindows();
    ScheduleKeys({VK_MENU, VK_F4});
    DispatchWaiting();
    EXPECT_TRUE(IsWindow(main));
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_TRUE(SameSequence({{panel, WM_SYSCOMMAND, true, SC_CLOSE, 0},
                              {panel, WM_CLOSE},
                              {panel, WM_DESTROY},
                              {edit, WM_DESTROY}},
                             LoggedOnly({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY})));
}

// A click is hit-tested through window shapes: in a shape's cut-away part it reaches the
// window behind; on the shape, the shaped window, and in its child, the child, each with the
// point in its own client area and preceded by WM_SETCURSOR to its window.
TEST_F(InputTest, Clicks_HitTestedThroughShapes) {
    HWND behind = MakeSizedWindow(640, 480, WS_POPUP | WS_VISIBLE);
    HWND shaped = MakeSizedWindow(160, 60, WS_POPUP | WS_VISIBLE, behind);
    HWND child = CreateWindowExA(0, "LoggingWindow", "", WS_CHILD | WS_VISIBLE, 80, 21, 50, 13,
                                 shaped, reinterpret_cast<HMENU>(1), Instance(), nullptr);
    ASSERT_TRUE(SetWindowRgn(shaped, CreateRectRgn(10, 0, 150, 60), TRUE));
    using Row = std::tuple<const char*, int, int, HWND, POINT>;
    const Row rows[] = {
        {"the cut-away left", 1, 1, behind, {1, 1}},
        {"the shape", 20, 28, shaped, {20, 28}},
        {"the child", 100, 25, child, {20, 4}},
        {"the cut-away right", 155, 30, behind, {155, 30}},
        {"past the shaped window", 170, 20, behind, {170, 20}},
    };
    for (const auto& [name, x, y, target, client] : rows) {
        SCOPED_TRACE(name);
        HeadlessScheduleMouse(GetTickCount(), x, y, true, true);
        MSG m = {};
        MessageLog().clear();
        ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
        EXPECT_EQ(m.hwnd, target);
        EXPECT_EQ(m.lParam, MAKELPARAM(client.x, client.y)) << "client coordinates";
        EXPECT_EQ(m.wParam, static_cast<WPARAM>(MK_LBUTTON));
        const auto over = reinterpret_cast<WPARAM>(target);
        const LPARAM hit = MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN);
        std::vector<ExpectedMessage> cursor = {{target, WM_SETCURSOR, true, over, hit}};
        if (target == child) { // the default procedure asks the parent first
            cursor.push_back({shaped, WM_SETCURSOR, true, over, hit});
        }
        EXPECT_TRUE(SameSequence(cursor, LoggedOnly({WM_SETCURSOR})));
        HeadlessScheduleMouse(GetTickCount(), x, y, true, false);
        ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE));
        EXPECT_EQ(m.wParam, 0u);
    }
    // With no shape the window is its rectangle again.
    EXPECT_TRUE(SetWindowRgn(shaped, nullptr, TRUE));
    EXPECT_EQ(WindowFromPoint({1, 1}), shaped);
}

} // namespace
