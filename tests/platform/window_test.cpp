// Conformance: window creation, destruction and the queries the game makes.
#include "support/platform_fixture.h"

namespace {

class WindowTest : public PlatformTest {};

TEST_F(WindowTest, CreateWindow_PopupWithDefaults_IsAtOriginWithNoExtent) {
    HWND w = CreateWindowExA(0, "LoggingWindow", "Zobu 4", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, Instance(), nullptr);
    ASSERT_NE(w, nullptr);
    RECT r = {-1, -1, -1, -1};
    ASSERT_TRUE(GetClientRect(w, &r));
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 0);
    EXPECT_EQ(r.bottom, 0);
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(w, GWLP_HINSTANCE)), Instance());
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(w, GWL_STYLE)), static_cast<DWORD>(WS_POPUP));
    ExpectSequence({{w, WM_NCCREATE}, {w, WM_CREATE}}, MessageLog());
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

TEST_F(WindowTest, ShowWindow_Visible_ActivatesFocusesAndWantsPaint) {
    HWND w = MakeWindow();
    MessageLog().clear();
    EXPECT_FALSE(ShowWindow(w, SW_SHOWDEFAULT));
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(GetActiveWindow(), w);
    EXPECT_EQ(GetFocus(), w);
    ExpectSequence(
        {{w, WM_SHOWWINDOW, true, TRUE, 0}, {w, WM_ACTIVATE, true, WA_ACTIVE, 0}, {w, WM_SETFOCUS}},
        MessageLog());
    MessageLog().clear();
    EXPECT_TRUE(UpdateWindow(w)); // paints at once, by a sent WM_PAINT
    EXPECT_TRUE(UpdateWindow(w)); // nothing left to paint
    ExpectSequence({{w, WM_PAINT}}, MessageLog());
}

TEST_F(WindowTest, DestroyWindow_SendsDestroyThenIsGone) {
    HWND owner = MakeWindow(WS_POPUP | WS_VISIBLE);
    HWND owned = MakeWindow(WS_POPUP, owner);
    HWND child = MakeWindow(WS_CHILD, owner, 7);
    MessageLog().clear();
    EXPECT_TRUE(DestroyWindow(owner));
    ExpectSequence({{owned, WM_DESTROY},
                    {owned, WM_NCDESTROY},
                    {owner, WM_DESTROY},
                    {child, WM_DESTROY},
                    {child, WM_NCDESTROY},
                    {owner, WM_NCDESTROY}},
                   MessageLog());
    EXPECT_FALSE(IsWindow(owner));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_FALSE(DestroyWindow(owner));
    EXPECT_EQ(SendMessageA(owner, WM_USER, 0, 0), 0);
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

} // namespace
