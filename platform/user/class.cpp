// Zobu 4 platform floor: window classes: the system's (the edit control, the dialog) and the
// program's, by name or atom.
#include "user_private.h"

#include <strings.h>

#include <vector>

namespace {

// Registered classes, the system's first; the program's atoms count up from 0xC000 as
// Windows' string atoms do.
std::vector<WindowClass> classes;
ATOM next_atom = 0xC000;

// The system's classes exist before any window, and again after a reset.
void RegisterSystemClasses() {
    if (!classes.empty()) {
        return;
    }
    auto add = [](const char* name, ATOM atom, WNDPROC procedure, LPCSTR cursor) {
        WindowClass c;
        c.name = name;
        c.atom = atom;
        c.procedure = procedure;
        c.cursor = LoadCursorA(nullptr, cursor);
        classes.push_back(c);
    };
    add("Edit", kEditClassAtom, EditWindowProc, IDC_IBEAM);
    add("#32770", kDialogClassAtom, DialogWindowProc, IDC_ARROW);
}

} // namespace

const WindowClass* FindClass(LPCSTR name) {
    RegisterSystemClasses();
    for (const WindowClass& c : classes) {
        if (IS_INTRESOURCE(name) ? c.atom == LOWORD(name) : strcasecmp(c.name.c_str(), name) == 0) {
            return &c;
        }
    }
    return nullptr;
}

void ClassesReset() {
    classes.clear();
    next_atom = 0xC000;
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    if (!windowClass || !windowClass->lpszClassName || IS_INTRESOURCE(windowClass->lpszClassName) ||
        FindClass(windowClass->lpszClassName)) {
        return 0;
    }
    WindowClass c;
    c.name = windowClass->lpszClassName;
    c.atom = next_atom++;
    c.style = windowClass->style;
    c.procedure = windowClass->lpfnWndProc;
    c.instance = windowClass->hInstance;
    c.cursor = windowClass->hCursor;
    c.background = windowClass->hbrBackground;
    classes.push_back(c);
    return c.atom;
}

BOOL WINAPI GetClassInfoA(HINSTANCE instance, LPCSTR className, LPWNDCLASSA windowClass) {
    const WindowClass* c = className && windowClass ? FindClass(className) : nullptr;
    if (!c || c->instance != instance) {
        return FALSE;
    }
    *windowClass = WNDCLASSA();
    windowClass->style = c->style;
    windowClass->lpfnWndProc = c->procedure;
    windowClass->hInstance = c->instance;
    windowClass->hCursor = c->cursor;
    windowClass->hbrBackground = c->background;
    windowClass->lpszClassName = className;
    return TRUE;
}
