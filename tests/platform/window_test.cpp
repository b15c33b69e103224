// Conformance: window creation, showing, resizing and destruction, with the messages each
// sends in Windows' order; painting of empty windows; the cursor; the game's queries. The
// tests before the last few use the Windows API alone and run under Wine too.
#include "support/platform_fixture.h"

#include <tuple>

#ifndef _WIN32
#include "host/headless/headless.h"
#include "kernel/embedded_resources.h"
#include "kernel/resources.h"
#include "res/resource.h"
#include "support/ddraw_helpers.h"
#include "support/res_builder.h"
#endif

namespace {

using WindowTest = PlatformTest;

TEST_F(WindowTest, CreateWindow_PopupWithDefaults_AtOriginWithNoExtent) {
    HWND w = CreateWindowExA(0, "LoggingWindow", "Zobu 4", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, Instance(), nullptr);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(SameSequence({{w, WM_NCCREATE},
                              {w, WM_NCCALCSIZE},
                              {w, WM_CREATE},
                              {w, WM_SIZE, true, SIZE_RESTORED, MAKELPARAM(0, 0)},
                              {w, WM_MOVE, true, 0, MAKELPARAM(0, 0)}},
                             MessageLog()));
    EXPECT_EQ(ClientRectOf(w), (RECT{0, 0, 0, 0}));
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(w, GWLP_HINSTANCE)), Instance());
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(LoggingWindowProc));
    EXPECT_EQ(GetWindowLongPtrA(nullptr, GWL_STYLE), 0) << "no window";
    // A top-level window always clips its siblings, asked or not; a child only when asked.
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(w, GWL_STYLE)),
              static_cast<DWORD>(WS_POPUP | WS_CLIPSIBLINGS));
    // A child's position is in its parent's client area.
    MessageLog().clear();
    HWND p = CreateWindowExA(0, "LoggingWindow", "", WS_POPUP, 10, 20, 30, 40, nullptr, nullptr,
                             Instance(), nullptr);
    HWND child = CreateWindowExA(0, "LoggingWindow", "", WS_CHILD, 5, 6, 7, 8, p,
                                 reinterpret_cast<HMENU>(1), Instance(), nullptr);
    EXPECT_EQ(GetWindowLongPtrA(child, GWLP_ID), 1);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE)),
              static_cast<DWORD>(WS_CHILD));
    EXPECT_TRUE(SameSequence({{p, WM_SIZE, true, SIZE_RESTORED, MAKELPARAM(30, 40)},
                              {p, WM_MOVE, true, 0, MAKELPARAM(10, 20)},
                              {child, WM_SIZE, true, SIZE_RESTORED, MAKELPARAM(7, 8)},
                              {child, WM_MOVE, true, 0, MAKELPARAM(5, 6)}},
                             LoggedOnly({WM_SIZE, WM_MOVE})));
}

// The frame the default procedure draws takes this much of each side: a dialog frame takes
// the place of a border, and a sunken client edge comes inside either. A dialog frame always
// has the raised edge too, asked or not.
TEST_F(WindowTest, CreateWindow_FrameStyles_TakeTheirWidths) {
    const DWORD modal = WS_EX_DLGMODALFRAME, raised = WS_EX_WINDOWEDGE, sunken = WS_EX_CLIENTEDGE;
    struct Row {
        DWORD style, ex_style;
        LONG frame_width;
        DWORD ex_style_read_back;
    };
    static const Row rows[] = {
        {0, 0, 0, 0},
        {WS_BORDER, 0, 1, 0},
        {0, modal, 3, modal | raised},
        {WS_BORDER, modal, 3, modal | raised},
        {0, sunken, 2, sunken},
        {WS_BORDER, sunken, 3, sunken},
        {0, modal | sunken, 5, modal | raised | sunken},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << row.style << " " << row.ex_style);
        HWND w = CreateWindowExA(row.ex_style, "LoggingWindow", "", WS_POPUP | row.style, 0, 0, 60,
                                 23, nullptr, nullptr, Instance(), nullptr);
        EXPECT_EQ(ClientRectOf(w),
                  (RECT{0, 0, 60 - 2 * row.frame_width, 23 - 2 * row.frame_width}));
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(w, GWL_EXSTYLE)), row.ex_style_read_back);
        DestroyWindow(w);
    }
}

TEST_F(WindowTest, Classes_UnknownClassOrBadParent_Fails) {
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              Instance(), nullptr),
              nullptr);
    EXPECT_EQ(CreateWindowExA(0, "LoggingWindow", "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr,
                              Instance(), nullptr),
              nullptr);
    WNDCLASSA again = {};
    again.lpszClassName = "loggingwindow"; // class names ignore case
    EXPECT_EQ(RegisterClassA(&again), 0);
    EXPECT_TRUE(GetClassInfoA(Instance(), "loggingwindow", &again));
    EXPECT_EQ(again.lpfnWndProc, LoggingWindowProc);
    EXPECT_FALSE(GetClassInfoA(Instance(), "NoSuchClass", &again));
    EXPECT_FALSE(GetClassInfoA(nullptr, "LoggingWindow", &again)) << "not a system class";
}

// Showing a new top-level window activates the program (every window of it hears), then
// the window; a paint is sent at once by UpdateWindow, and BeginPaint sends WM_NCPAINT. Wine
// differs, and this test is left out of its run: its ShowWindow sends WM_NCPAINT and
// WM_ERASEBKGND itself, before WM_WINDOWPOSCHANGED, and its BeginPaint sends neither.
// Windows' documentation does not say which; our floor leaves both to the first paint.
TEST_F(WindowTest, ShowWindow_NewTopLevel_ActivatesTheProgramThenTheWindow) {
    HWND other = MakeSizedWindow(10, 10);
    HWND w = MakeSizedWindow(20, 20);
    MessageLog().clear();
    EXPECT_FALSE(ShowWindow(w, SW_SHOW));
    EXPECT_TRUE(SameSequence({{w, WM_SHOWWINDOW, true, TRUE, 0},
                              {w, WM_WINDOWPOSCHANGING},
                              {w, WM_ACTIVATEAPP, true, TRUE, 0},
                              {other, WM_ACTIVATEAPP, true, TRUE, 0},
                              {w, WM_NCACTIVATE, true, TRUE, 0},
                              {w, WM_ACTIVATE, true, WA_ACTIVE, 0},
                              {w, WM_SETFOCUS, true, 0, 0},
                              {w, WM_WINDOWPOSCHANGED}},
                             MessageLog()));
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(GetActiveWindow(), w);
    EXPECT_EQ(GetFocus(), w);
    MessageLog().clear();
    EXPECT_TRUE(ShowWindow(w, SW_SHOW)) << "already visible";
    EXPECT_TRUE(MessageLog().empty());
    EXPECT_TRUE(UpdateWindow(w));
    EXPECT_TRUE(UpdateWindow(w)); // nothing left to paint
    EXPECT_TRUE(SameSequence({{w, WM_PAINT}, {w, WM_NCPAINT, true, 1, 0}}, MessageLog()));
}

TEST_F(WindowTest, DestroyWindow_ShownAndActive_HidesDeactivatesThenDestroys) {
    HWND w = MakeSizedWindow(20, 20);
    ShowWindow(w, SW_SHOW);
    MessageLog().clear();
    EXPECT_TRUE(DestroyWindow(w));
    EXPECT_TRUE(SameSequence({{w, WM_WINDOWPOSCHANGING},
                              {w, WM_WINDOWPOSCHANGED},
                              {w, WM_NCACTIVATE, true, FALSE, 0},
                              {w, WM_ACTIVATE, true, WA_INACTIVE, 0},
                              {w, WM_ACTIVATEAPP, true, FALSE, 0},
                              {w, WM_KILLFOCUS, true, 0, 0},
                              {w, WM_DESTROY},
                              {w, WM_NCDESTROY}},
                             MessageLog()));
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);

    HWND hidden = MakeSizedWindow(20, 20);
    MessageLog().clear();
    EXPECT_TRUE(DestroyWindow(hidden));
    EXPECT_TRUE(SameSequence({{hidden, WM_DESTROY}, {hidden, WM_NCDESTROY}}, MessageLog()));
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
    EXPECT_TRUE(SameSequence({{owned, WM_DESTROY},
                              {owned, WM_NCDESTROY},
                              {owner, WM_DESTROY},
                              {child1, WM_DESTROY},
                              {child2, WM_DESTROY},
                              {child1, WM_NCDESTROY},
                              {child2, WM_NCDESTROY},
                              {owner, WM_NCDESTROY}},
                             LoggedOnly({WM_DESTROY, WM_NCDESTROY})));
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
    EXPECT_TRUE(LoggedOnly({WM_ACTIVATEAPP}).empty());
}

// A control's text through its dialog; no dialog or no such control: nothing, and 0. The
// default answer to a close is to destroy the window.
TEST_F(WindowTest, SendDlgItemMessage_ReachesTheControlOrNothing_CloseDestroys) {
    HWND dialog = MakeWindow(WS_POPUP);
    HWND edit = MakeWindow(WS_CHILD, dialog, 1000);
    const auto text = reinterpret_cast<LPARAM>("2/3");
    EXPECT_EQ(SendDlgItemMessageA(dialog, 1000, WM_SETTEXT, 0, text), TRUE);
    char got[16] = {};
    EXPECT_EQ(SendMessageA(edit, WM_GETTEXT, sizeof got, reinterpret_cast<LPARAM>(got)), 3);
    EXPECT_STREQ(got, "2/3");
    EXPECT_EQ(SendDlgItemMessageA(nullptr, 1000, WM_SETTEXT, 0, text), 0);
    EXPECT_EQ(SendDlgItemMessageA(dialog, 1001, WM_SETTEXT, 0, text), 0);
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(dialog));
}

#ifndef _WIN32
// These need our floor's own hooks (the host's pointer, DirectDraw's display, the module's
// resources set at run time), so they run on our floor alone.

// A dialog procedure that records what it is sent, and what stood when WM_INITDIALOG came.
struct DialogRecord {
    std::vector<UINT> messages;
    HWND init_focus_param = nullptr;
    LPARAM init_param = 0;
    HFONT control_font_at_init = nullptr;
    std::vector<WPARAM> commands;
};
DialogRecord record;

INT_PTR CALLBACK RecordingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFONT || message == WM_INITDIALOG || message == WM_DESTROY) {
        record.messages.push_back(message);
    }
    if (message == WM_COMMAND) {
        record.commands.push_back(wParam);
    }
    if (message == WM_INITDIALOG) {
        record.init_focus_param = reinterpret_cast<HWND>(wParam);
        record.init_param = lParam;
        record.control_font_at_init =
            reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog, IDC_SCORE, WM_GETFONT, 0, 0));
        return TRUE;
    }
    return FALSE;
}

// A window with no extent has nothing to paint, until DirectDraw's exclusive full-screen
// mode makes it cover the display: resized once, and never again by the display mode.
TEST_F(WindowTest, EmptyWindow_NoPaintUntilExclusiveModeGivesItTheDisplay) {
    HWND w = MakeWindow();
    ShowWindow(w, SW_SHOWDEFAULT);
    MessageLog().clear();
    UpdateWindow(w);
    MSG m = {};
    EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    EXPECT_TRUE(MessageLog().empty());

    IDirectDraw7* dd = NewDirectDraw();
    ASSERT_EQ(dd->SetCooperativeLevel(w, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_TRUE(SameSequence({{w, WM_WINDOWPOSCHANGING},
                              {w, WM_WINDOWPOSCHANGED},
                              {w, WM_SIZE, true, SIZE_RESTORED, MAKELPARAM(640, 480)}},
                             MessageLog()));
    EXPECT_TRUE(PeekMessageA(&m, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    EXPECT_EQ(m.hwnd, w);
    MessageLog().clear();
    ASSERT_EQ(dd->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    EXPECT_TRUE(MessageLog().empty()) << "the size it already has";
    EXPECT_EQ(dd->Release(), 0u);
}

// One shared system arrow; SetCursor answers with the cursor it replaces, and the host
// shows the pointer or not. Over the client area the default procedure shows the class
// cursor, none when the class has none, and answers 0; a child asks its parent first.
TEST_F(WindowTest, Cursor_SharedArrow_ClassCursorOverTheClientArea) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
    EXPECT_NE(LoadCursorA(nullptr, IDC_IBEAM), arrow);
    EXPECT_EQ(LoadCursorA(Instance(), IDC_ARROW), nullptr) << "not a cursor of the program's";
    SetCursor(arrow);
    EXPECT_TRUE(HeadlessCursorShown());
    EXPECT_EQ(SetCursor(nullptr), arrow);
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_FALSE(HeadlessCursorShown());
    EXPECT_EQ(SetCursor(arrow), nullptr);
    EXPECT_TRUE(HeadlessCursorShown());

    WNDCLASSA c = {};
    c.lpfnWndProc = LoggingWindowProc;
    c.hInstance = Instance();
    c.hCursor = arrow;
    c.lpszClassName = "ArrowWindow";
    ASSERT_NE(RegisterClassA(&c), 0);
    HWND with = CreateWindowExA(0, "ArrowWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                Instance(), nullptr);
    HWND without = MakeWindow();
    const LPARAM over_client = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    SetCursor(nullptr);
    EXPECT_EQ(DefWindowProcA(with, WM_SETCURSOR, reinterpret_cast<WPARAM>(with), over_client), 0);
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_EQ(DefWindowProcA(without, WM_SETCURSOR, reinterpret_cast<WPARAM>(without), over_client),
              0);
    EXPECT_EQ(GetCursor(), nullptr);
    HWND child = CreateWindowExA(0, "ArrowWindow", "", WS_CHILD, 0, 0, 5, 5, without,
                                 reinterpret_cast<HMENU>(1), Instance(), nullptr);
    MessageLog().clear();
    DefWindowProcA(child, WM_SETCURSOR, reinterpret_cast<WPARAM>(child), over_client);
    EXPECT_TRUE(
        SameSequence({{without, WM_SETCURSOR, true, reinterpret_cast<WPARAM>(child), over_client}},
                     MessageLog()));
    EXPECT_EQ(GetCursor(), arrow) << "the parent's default answer lets the child decide";
}

// The score panel's template: the dialog hears of its font, then its controls exist with
// theirs, then WM_INITDIALOG names the first control with WS_TABSTOP; answering TRUE puts the focus
// there. Alt+F4 there closes the dialog, which the dialog manager turns into Cancel: the dialog
// stays.
TEST_F(WindowTest, CreateDialog_FontThenControlsThenInitDialog_PlacedAsTheTemplateSays) {
    std::string error;
    ASSERT_TRUE(
        KernelSetModuleResources(kEmbeddedModuleResources, kEmbeddedModuleResourcesSize, &error));
    const HWND mainWindow = MakeWindow(WS_POPUP | WS_VISIBLE);
    record = DialogRecord();
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SCORE),
                                     mainWindow, RecordingDialogProc, 0x1234);
    ASSERT_NE(dialog, nullptr);
    HWND edit = GetDlgItem(dialog, IDC_SCORE);
    EXPECT_EQ(record.messages, (std::vector<UINT>{WM_SETFONT, WM_INITDIALOG}));
    EXPECT_EQ(record.init_focus_param, edit);
    EXPECT_EQ(record.init_param, 0x1234);
    EXPECT_NE(record.control_font_at_init, nullptr) << "controls exist, with their font";
    // The template's WS_BORDER (0x00800000) became the dialog's 3-D sunken edge.
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(edit, GWL_STYLE)), 0x50010880u);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWL_EXSTYLE),
              WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetFocus(), edit);
    ScheduleKeys({VK_MENU, VK_F4});
    DispatchWaiting();
    EXPECT_EQ(record.commands, (std::vector<WPARAM>{MAKEWPARAM(IDCANCEL, BN_CLICKED)}));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(IsWindow(mainWindow));
    DestroyWindow(dialog);
    EXPECT_EQ(record.messages.back(), static_cast<UINT>(WM_DESTROY));
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(999), mainWindow,
                                 RecordingDialogProc, 0),
              nullptr)
        << "no such template";
    // A dialog stands at its template's place in its owner's client area, or on the screen with
    // DS_ABSALIGN: the panel's template, as it is and with that style.
    const Resource* score = ModuleResources().Find(RT_DIALOG, MAKEINTRESOURCEA(IDD_SCORE));
    ASSERT_NE(score, nullptr);
    const uint8_t* bytes = ModuleResources().Data(*score);
    std::vector<uint8_t> absolute(bytes, bytes + score->size);
    absolute[12] |= DS_ABSALIGN; // the style: after version, signature, help id, extended style
    ResBuilder res;
    res.Add(5, 1, 0x0409, {bytes, bytes + score->size}).Add(5, 2, 0x0409, absolute);
    ASSERT_TRUE(KernelSetModuleResources(res.Bytes().data(), res.Bytes().size(), &error)) << error;
    HWND owner = CreateWindowExA(0, "LoggingWindow", "", WS_POPUP | WS_VISIBLE, 100, 50, 300, 200,
                                 nullptr, nullptr, Instance(), nullptr);
    for (const auto& [id, at] : {std::pair<WORD, POINT>{1, {100, 50}}, {2, {0, 0}}}) {
        dialog =
            CreateDialogParamA(Instance(), MAKEINTRESOURCEA(id), owner, RecordingDialogProc, 0);
        EXPECT_EQ(WindowRectOf(dialog), (RECT{at.x, at.y, at.x + 159, at.y + 59})) << id;
        DestroyWindow(dialog);
    }
    KernelSetModuleResources(nullptr, 0, &error);
}
#endif

} // namespace
