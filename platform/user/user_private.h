// Zobu 4 platform floor: what the pieces of our user32 share with each other.
#pragma once

#include <windows.h>

#include "../gdi/region.h"
#include "../host/host.h"

#include <stdint.h>

#include <string>
#include <vector>

// A registered window class: what CreateWindowExA gives a window of it (class.cpp).
struct WindowClass {
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
};

// The class of that name or atom (the system's are there from the start); null for none.
const WindowClass* FindClass(LPCSTR name);
// Forgets the program's classes: a fresh start for a test fixture.
void ClassesReset();

struct Window {
    HWND handle = nullptr;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    HCURSOR class_cursor = nullptr; // the class's, shown over the client area by default
    DWORD style = 0;
    DWORD ex_style = 0;
    RECT rect = {0, 0, 0, 0};      // in the parent's client coordinates, or the screen's
    RECT nonclient = {0, 0, 0, 0}; // border widths around the client area, from WM_NCCALCSIZE
    HWND parent = nullptr;         // child windows only
    HWND owner = nullptr;          // top-level windows only
    UINT_PTR id = 0;               // child windows: the control id from the menu argument
    LONG_PTR user_data = 0;
    std::string text;
    bool visible = false;
    Region update;                  // what is to be painted, in client coordinates
    bool frame_needs_paint = false; // the frame is to be drawn, by WM_NCPAINT
    bool has_shape = false;         // SetWindowRgn gave it a shape
    Region shape;                   // in the window's own coordinates
    bool destroying = false;
    HFONT font = nullptr;               // what WM_SETFONT gave it (controls and dialogs)
    DLGPROC dialog_procedure = nullptr; // dialogs: the program's procedure
    HWND dialog_focus = nullptr;        // dialogs: the control that had the focus last

    bool IsTopLevel() const { return (style & WS_CHILD) == 0; }
    // The client area, in the parent's client coordinates (the screen's for a top-level one).
    RECT Client() const;
    bool HasClientArea() const;
    // Whether it is to get WM_PAINT: shown, with something to paint (a window with no client
    // area never has: its update region is cut to the area).
    bool WantsPaint() const { return visible && !update.Empty(); }
};

// The live window behind a handle, or null for a handle that is not (or no longer) a window.
Window* WindowFromHandle(HWND handle);

// Calls the window's procedure, as SendMessageA does; 0 for a handle that is not a window.
LRESULT SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Top-level ancestor through parents, then the top of its owner chain.
HWND RootOwner(HWND handle);

// The top-level window a window belongs to, through parents only: what gets activated.
HWND TopLevelOf(HWND handle);

// True when `descendant` is `ancestor` or lies below it through parents.
bool IsSelfOrChild(HWND ancestor, HWND descendant);

// The children of a window, oldest first.
std::vector<HWND> ChildrenOf(HWND parent);

// Whether the point of the screen lies in the window's rectangle and its shape.
bool WindowContainsPoint(const Window& w, POINT screen_point);

// --- the system's window classes ---

// The predefined classes every program has, by name or atom: "Edit" (0x0081, edit.cpp) and
// the dialog class "#32770" (0x8002, dialog.cpp).
constexpr ATOM kEditClassAtom = 0x0081;
constexpr ATOM kDialogClassAtom = 0x8002;
LRESULT CALLBACK EditWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// --- painting (paint.cpp) ---

// The whole window is to be painted, frame and client area, and its visible children too.
void MarkForPaint(Window& w);

// Every visible window is to be painted again: the screen under them was lost.
void RepaintAllWindows();

// The widths of the frame the default procedure gives a window of these styles: 3 pixels
// of dialog frame for WS_EX_DLGMODALFRAME, or else 1 of border for WS_BORDER; 2 more of
// sunken edge for WS_EX_CLIENTEDGE.
RECT FrameWidths(DWORD style, DWORD ex_style);

// Draws that frame through the window's DC: the default answer to WM_NCPAINT.
void DrawFrame(HWND window);

void PaintReset();

// The window that the host's Close request goes to: the root of the active window, or the
// oldest live top-level window. Null when there is none.
HWND MainWindowForClose();

// Called while a window is destroyed, so that nothing it left behind reaches it later.
void TimersForgetWindow(HWND window);
void QueueForgetWindow(HWND window);

// --- positions, showing, z-order, activation and focus (winpos.cpp) ---

// Moves, sizes, shows or hides a window as SetWindowPos does, with WM_WINDOWPOSCHANGING
// before and WM_WINDOWPOSCHANGED after (whose default answer is WM_MOVE and WM_SIZE). A
// position or size it already has counts as not asked for; a call that changes nothing
// sends nothing. Showing a top-level window without SWP_NOACTIVATE activates it.
void WinPosSet(HWND window, const RECT& rect, UINT flags);

// A new top-level window goes on top of the z-order; a destroyed one leaves it, and stops
// being active or focused without a message.
void WinPosAdd(HWND window);
void WinPosForget(HWND window);

// The top-level windows above this top-level one, topmost first; all of them for null.
std::vector<HWND> TopLevelWindowsAbove(HWND window);

// Makes a top-level window the active one (null: none of the program's), with Windows'
// messages: WM_NCACTIVATE and WM_ACTIVATE to the window losing it, WM_ACTIVATEAPP to every
// top-level window when the program as a whole gains or loses activation, WM_NCACTIVATE
// and WM_ACTIVATE to the window gaining it; then the focus moves into the active window, or
// nowhere.
void Activate(HWND window);

// After `leaving` is hidden or destroyed: activates its owner, or the topmost other window
// that can be, or none.
void ActivateOther(HWND leaving);

void WinPosReset();

// --- timers (timer.cpp) ---

struct MessageFilter;

// The due tick of a timer that passes the filter, earliest first; with `remove`, the timer
// moves on to its next tick. False when no timer is due.
bool TimerTakeDue(const MessageFilter& filter, uint64_t now_ms, bool remove, MSG* out);

// When the next timer that passes the filter falls due; kHostForever when none is armed.
uint64_t TimerNextDeadline(const MessageFilter& filter);

// True when `procedure` is the procedure of timer `id` armed on `window`: DispatchMessageA
// calls only such procedures, never an address found in a message.
bool TimerIsArmedWith(HWND window, UINT_PTR id, TIMERPROC procedure);

// --- the caret (caret.cpp) ---

// The message that blinks the caret: Windows' own timer message for system timers.
constexpr UINT kSysTimer = 0x0118; // WM_SYSTIMER

// The caret's blink when it is due and passes the filter; with `remove`, the next one is
// scheduled.
bool CaretTakeDue(const MessageFilter& filter, uint64_t now_ms, bool remove, MSG* out);
// When the next blink falls due; kHostForever while there is no caret shown.
uint64_t CaretNextDeadline(const MessageFilter& filter);
// Dispatching the blink: the bar turns on or off.
void CaretBlink(HWND window, WPARAM id);
// BeginPaint and EndPaint of the caret's owner hide and show it.
void CaretHideForPaint(HWND window);
void CaretShowAfterPaint(HWND window);
// A destroyed owner takes its caret with it.
void CaretForgetWindow(HWND window);

// --- keyboard (keyboard.cpp) ---

// Builds the keyboard message for one key event; with `commit`, also records the key's new
// state, as retrieving the message does on Windows. Returns false when the key has nowhere
// to go (no focus and no active window).
bool KeyboardCookEvent(uint8_t virtual_key, bool down, bool commit, MSG* out);

// --- mouse (mouse.cpp) ---

// Builds the mouse message for one pointer event: to the window under the pointer, through
// window regions, in its client coordinates. With `commit`, also records the button's new
// state and sends WM_SETCURSOR to that window first, as retrieving the message does on
// Windows. False when no window is under the pointer.
bool MouseCookEvent(const HostInput& input, bool commit, MSG* out);

// --- the message filter of GetMessageA and PeekMessageA ---

struct MessageFilter {
    HWND window = nullptr;
    UINT min = 0;
    UINT max = 0;

    bool AcceptsWindow(HWND target) const {
        if (window == nullptr) {
            return true;
        }
        if (window == reinterpret_cast<HWND>(-1)) {
            return target == nullptr;
        }
        return target != nullptr && IsSelfOrChild(window, target);
    }
    bool AcceptsMessage(UINT message) const {
        return (min == 0 && max == 0) || (message >= min && message <= max);
    }
    bool Accepts(HWND target, UINT message) const {
        return AcceptsWindow(target) && AcceptsMessage(message);
    }
};

// The first visible window, in creation order, that needs painting and passes the filter.
HWND FindWindowToPaint(const MessageFilter& filter);

// Windows alive: for a soak test, which expects the count not to grow.
size_t UserLiveWindows();

// Forgets every window, message, timer, accelerator table and key state: a fresh start for
// a test fixture.
void UserReset();
void WindowsReset();
void CursorReset();
void CaretReset();
void QueueReset();
void TimersReset();
void KeyboardReset();
void MouseReset();
void AcceleratorsReset();
