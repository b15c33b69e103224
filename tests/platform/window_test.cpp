// Conformance: window creation, showing, resizing and destruction, with the messages each
// sends in Windows' order; painting of empty windows; the cursor; the game's queries.
#include "support/platform_fixture.h"

#include "host/headless/headless.h"

#include <ddraw.h>

namespace {

class WindowTest : public PlatformTest {};

// CreateWindowExA(0, class, "Zobu 4", WS_POPUP, CW_USEDEFAULT x 4, ...)
std::vector<ExpectedMessage> CreatePopupSeq(HWND w) {
    return {{w, WM_NCCREATE},
            {w, WM_NCCALCSIZE},
            {w, WM_CREATE},
            {w, WM_SIZE, true, SIZE_RESTORED, MAKELPARAM(0, 0)},
            {w, WM_MOVE, true, 0, MAKELPARAM(0, 0)}};
}

// ShowWindow(w, SW_SHOW) of a new top-level window, with `other` a hidden top-level window
// of the same program below it.
std::vector<ExpectedMessage> ShowNewTopLevelSeq(HWND w, HWND other) {
    return {{w, WM_SHOWWINDOW, true, TRUE, 0},  {w, WM_WINDOWPOSCHANGING},
            {w, WM_ACTIVATEAPP, true, TRUE, 0}, {other, WM_ACTIVATEAPP, true, TRUE, 0},
            {w, WM_NCACTIVATE, true, TRUE, 0},  {w, WM_ACTIVATE, true, WA_ACTIVE, 0},
            {w, WM_SETFOCUS, true, 0, 0},       {w, WM_WINDOWPOSCHANGED}};
}

// DirectDraw's exclusive full-screen mode making a 0 x 0 window cover the display.
std::vector<ExpectedMessage> CoverTheDisplaySeq(HWND w) {
    return {{w, WM_WINDOWPOSCHANGING},
            {w, WM_WINDOWPOSCHANGED},
            {w, WM_SIZE, true, SIZE_RESTORED, MAKELPARAM(640, 480)}};
}

// DestroyWindow(w) of the shown, active window of the program, which has the focus.
std::vector<ExpectedMessage> DestroyActiveSeq(HWND w) {
    return {{w, WM_WINDOWPOSCHANGING},
            {w, WM_WINDOWPOSCHANGED},
            {w, WM_NCACTIVATE, true, FALSE, 0},
            {w, WM_ACTIVATE, true, WA_INACTIVE, 0},
            {w, WM_ACTIVATEAPP, true, FALSE, 0},
            {w, WM_KILLFOCUS, true, 0, 0},
            {w, WM_DESTROY},
            {w, WM_NCDESTROY}};
}

// DestroyWindow(w) of a hidden window.
std::vector<ExpectedMessage> DestroyHiddenSeq(HWND w) {
    return {{w, WM_DESTROY}, {w, WM_NCDESTROY}};
}

TEST_F(WindowTest, CreateWindow_PopupWithDefaults_AtOriginWithNoExtent) {
    HWND w = CreateWindowExA(0, "LoggingWindow", "Zobu 4", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, Instance(), nullptr);
    ASSERT_NE(w, nullptr);
    ExpectSequence(CreatePopupSeq(w), MessageLog());
    RECT r = {-1, -1, -1, -1};
    ASSERT_TRUE(GetClientRect(w, &r));
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 0);
    EXPECT_EQ(r.bottom, 0);
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(w, GWLP_HINSTANCE)), Instance());
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(w, GWL_STYLE)), static_cast<DWORD>(WS_POPUP));
}

TEST_F(WindowTest, CreateWindow_SizeAndMove_GiveTheClientArea) {
    HWND w = CreateWindowExA(0, "LoggingWindow", "", WS_POPUP, 10, 20, 30, 40, nullptr, nullptr,
                             Instance(), nullptr);
    HWND child = CreateWindowExA(0, "LoggingWindow", "", WS_CHILD, 5, 6, 7, 8, w,
                                 reinterpret_cast<HMENU>(1), Instance(), nullptr);
    std::vector<LoggedMessage> got;
    for (const LoggedMessage& m : MessageLog()) {
        if (m.message == WM_SIZE || m.message == WM_MOVE) {
            got.push_back(m);
        }
    }
    ExpectSequence({{w, WM_SIZE, true, SIZE_RESTORED, MAKELPARAM(30, 40)},
                    {w, WM_MOVE, true, 0, MAKELPARAM(10, 20)},
                    {child, WM_SIZE, true, SIZE_RESTORED, MAKELPARAM(7, 8)},
                    {child, WM_MOVE, true, 0, MAKELPARAM(5, 6)}}, // in the parent's client area
                   got);
}

// The frame the default procedure draws takes this much of each side: a dialog frame takes
// the place of a border, and a sunken client edge comes inside either.
TEST_F(WindowTest, CreateWindow_FrameStyles_TakeTheirWidths) {
    const struct {
        DWORD style, ex_style;
        int width;
    } rows[] = {
        {0, 0, 0},
        {WS_BORDER, 0, 1},
        {0, WS_EX_DLGMODALFRAME, 3},
        {WS_BORDER, WS_EX_DLGMODALFRAME, 3},
        {0, WS_EX_CLIENTEDGE, 2},
        {WS_BORDER, WS_EX_CLIENTEDGE, 3},
        {0, WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE, 5},
    };
    for (const auto& row : rows) {
        HWND w = CreateWindowExA(row.ex_style, "LoggingWindow", "", WS_POPUP | row.style, 0, 0, 60,
                                 23, nullptr, nullptr, Instance(), nullptr);
        RECT client = {};
        GetClientRect(w, &client);
        EXPECT_EQ(client.right, 60 - 2 * row.width) << std::hex << row.style << " " << row.ex_style;
        EXPECT_EQ(client.bottom, 23 - 2 * row.width)
            << std::hex << row.style << " " << row.ex_style;
        DestroyWindow(w);
    }
}

TEST_F(WindowTest, CreateWindow_UnknownClassOrBadParent_Fails) {
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              Instance(), nullptr),
              nullptr);
    EXPECT_EQ(CreateWindowExA(0, "LoggingWindow", "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr,
                              Instance(), nullptr),
              nullptr);
    WNDCLASSA again = {};
    again.lpszClassName = "loggingwindow"; // class names ignore case
    EXPECT_EQ(RegisterClassA(&again), 0);
}

TEST_F(WindowTest, ShowWindow_NewTopLevel_ActivatesTheProgramThenTheWindow) {
    HWND other = MakeSizedWindow(10, 10);
    HWND w = MakeSizedWindow(20, 20);
    MessageLog().clear();
    EXPECT_FALSE(ShowWindow(w, SW_SHOW));
    ExpectSequence(ShowNewTopLevelSeq(w, other), MessageLog());
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(GetActiveWindow(), w);
    EXPECT_EQ(GetFocus(), w);
    MessageLog().clear();
    EXPECT_TRUE(ShowWindow(w, SW_SHOW)) << "already visible";
    EXPECT_TRUE(MessageLog().empty());
    EXPECT_TRUE(UpdateWindow(w)); // paints at once, by a sent WM_PAINT; BeginPaint sends
    EXPECT_TRUE(UpdateWindow(w)); // WM_NCPAINT for the frame; then nothing is left to paint
    ExpectSequence({{w, WM_PAINT}, {w, WM_NCPAINT, true, 1, 0}}, MessageLog());
}

// A window with no extent has nothing to paint: no WM_PAINT is sent or posted for it, until
// it grows.
TEST_F(WindowTest, EmptyWindow_GetsNoPaintUntilItHasAnArea) {
    HWND w = MakeWindow();
    ShowWindow(w, SW_SHOWDEFAULT);
    MessageLog().clear();
    UpdateWindow(w);
    MSG m = {};
    EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    EXPECT_TRUE(MessageLog().empty());

    IDirectDraw7* dd = nullptr;
    ASSERT_EQ(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&dd), IID_IDirectDraw7, nullptr),
              DD_OK);
    ASSERT_EQ(dd->SetCooperativeLevel(w, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_TRUE(PeekMessageA(&m, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    EXPECT_EQ(m.hwnd, w);
    EXPECT_EQ(dd->Release(), 0u);
}

TEST_F(WindowTest, ExclusiveFullScreen_ResizesOnceThenNeverAgain) {
    HWND w = MakeWindow();
    ShowWindow(w, SW_SHOW);
    IDirectDraw7* dd = nullptr;
    ASSERT_EQ(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&dd), IID_IDirectDraw7, nullptr),
              DD_OK);
    MessageLog().clear();
    ASSERT_EQ(dd->SetCooperativeLevel(w, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    ExpectSequence(CoverTheDisplaySeq(w), MessageLog());
    MessageLog().clear();
    ASSERT_EQ(dd->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    EXPECT_TRUE(MessageLog().empty()) << "the size it already has";
    EXPECT_EQ(dd->Release(), 0u);
}

TEST_F(WindowTest, DestroyWindow_ShownAndActive_HidesDeactivatesThenDestroys) {
    HWND w = MakeSizedWindow(20, 20);
    ShowWindow(w, SW_SHOW);
    MessageLog().clear();
    EXPECT_TRUE(DestroyWindow(w));
    ExpectSequence(DestroyActiveSeq(w), MessageLog());
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);

    HWND hidden = MakeSizedWindow(20, 20);
    MessageLog().clear();
    EXPECT_TRUE(DestroyWindow(hidden));
    ExpectSequence(DestroyHiddenSeq(hidden), MessageLog());
}

// Owned windows go first, as DestroyWindow documents; a window's children get WM_DESTROY
// after it and WM_NCDESTROY before it.
TEST_F(WindowTest, DestroyWindow_OwnedFirstThenChildrenInside) {
    HWND owner = MakeWindow(WS_POPUP | WS_VISIBLE);
    HWND owned = MakeWindow(WS_POPUP, owner);
    HWND child1 = MakeWindow(WS_CHILD, owner, 7);
    HWND child2 = MakeWindow(WS_CHILD, owner, 8);
    MessageLog().clear();
    EXPECT_TRUE(DestroyWindow(owner));
    std::vector<LoggedMessage> got;
    for (const LoggedMessage& m : MessageLog()) {
        if (m.message == WM_DESTROY || m.message == WM_NCDESTROY) {
            got.push_back(m);
        }
    }
    ExpectSequence({{owned, WM_DESTROY},
                    {owned, WM_NCDESTROY},
                    {owner, WM_DESTROY},
                    {child1, WM_DESTROY},
                    {child2, WM_DESTROY},
                    {child1, WM_NCDESTROY},
                    {child2, WM_NCDESTROY},
                    {owner, WM_NCDESTROY}},
                   got);
    for (HWND h : {owner, owned, child1, child2}) {
        EXPECT_FALSE(IsWindow(h));
    }
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_FALSE(DestroyWindow(owner));
    EXPECT_EQ(SendMessageA(owner, WM_USER, 0, 0), 0);
}

// Destroying the active owned window hands activation to its owner: the program stays
// active, so no WM_ACTIVATEAPP.
TEST_F(WindowTest, DestroyWindow_ActiveOwned_ActivatesTheOwner) {
    HWND owner = MakeSizedWindow(20, 20);
    ShowWindow(owner, SW_SHOW);
    HWND owned = MakeSizedWindow(10, 10, WS_POPUP, owner);
    ShowWindow(owned, SW_SHOW);
    ASSERT_EQ(GetActiveWindow(), owned);
    MessageLog().clear();
    DestroyWindow(owned);
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(GetFocus(), owner);
    for (const LoggedMessage& m : MessageLog()) {
        EXPECT_NE(m.message, static_cast<UINT>(WM_ACTIVATEAPP)) << Describe(m);
    }
}

TEST_F(WindowTest, SendDlgItemMessage_ReachesTheControlOrNothing) {
    HWND dialog = MakeWindow(WS_POPUP);
    HWND edit = MakeWindow(WS_CHILD, dialog, 1000);
    const char* text = "2/3";
    EXPECT_EQ(SendDlgItemMessageA(dialog, 1000, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)),
              TRUE);
    char got[16] = {};
    EXPECT_EQ(SendMessageA(edit, WM_GETTEXT, sizeof got, reinterpret_cast<LPARAM>(got)), 3);
    EXPECT_STREQ(got, "2/3");
    // No dialog, or no such control: nothing happens, 0 comes back.
    EXPECT_EQ(SendDlgItemMessageA(nullptr, 1000, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)), 0);
    EXPECT_EQ(SendDlgItemMessageA(dialog, 1001, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)), 0);
}

TEST_F(WindowTest, WmClose_Default_DestroysTheWindow) {
    HWND w = MakeWindow();
    SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(w));
}

TEST_F(WindowTest, LoadCursor_SystemArrow_OneSharedHandle) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
    EXPECT_NE(LoadCursorA(nullptr, IDC_IBEAM), arrow);
    EXPECT_EQ(LoadCursorA(Instance(), IDC_ARROW), nullptr) << "not a cursor of the program's";
    // SetCursor answers with the cursor it replaces, and the host shows the pointer or not.
    SetCursor(arrow);
    EXPECT_TRUE(HeadlessCursorShown());
    EXPECT_EQ(SetCursor(nullptr), arrow);
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_FALSE(HeadlessCursorShown());
    EXPECT_EQ(SetCursor(arrow), nullptr);
    EXPECT_TRUE(HeadlessCursorShown());
}

// Over the client area the default procedure shows the class cursor, none when the class
// has none, and answers 0; a child asks its parent first, which may decide.
TEST_F(WindowTest, DefWindowProc_SetCursor_ClassCursorOverTheClientArea) {
    WNDCLASSA c = {};
    c.lpfnWndProc = LoggingWindowProc;
    c.hInstance = Instance();
    c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    c.lpszClassName = "ArrowWindow";
    ASSERT_NE(RegisterClassA(&c), 0);
    HWND with = CreateWindowExA(0, "ArrowWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                Instance(), nullptr);
    HWND without = MakeWindow();
    const LPARAM over_client = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    SetCursor(nullptr);
    EXPECT_EQ(DefWindowProcA(with, WM_SETCURSOR, reinterpret_cast<WPARAM>(with), over_client), 0);
    EXPECT_EQ(GetCursor(), c.hCursor);
    EXPECT_EQ(DefWindowProcA(without, WM_SETCURSOR, reinterpret_cast<WPARAM>(without), over_client),
              0);
    EXPECT_EQ(GetCursor(), nullptr);

    HWND child = CreateWindowExA(0, "ArrowWindow", "", WS_CHILD, 0, 0, 5, 5, without,
                                 reinterpret_cast<HMENU>(1), Instance(), nullptr);
    MessageLog().clear();
    DefWindowProcA(child, WM_SETCURSOR, reinterpret_cast<WPARAM>(child), over_client);
    ExpectSequence({{without, WM_SETCURSOR, true, reinterpret_cast<WPARAM>(child), over_client}},
                   MessageLog());
    EXPECT_EQ(GetCursor(), c.hCursor) << "the parent's default answer lets the child decide";
}

} // namespace
