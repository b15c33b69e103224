// Zobu 4 platform floor: cursors.
//
// The system's cursors are shared objects that LoadCursorA hands out by their IDC_ number;
// the program has none of its own. The cursor shown is one per program, as on Windows where
// the thread that owns the window under the pointer sets it; a host shows it, or none.
#include "user_private.h"

#include "../host/host.h"

#include <stdint.h>

namespace {

// The system cursors we know, each a distinct handle that is never a window's or a GDI
// object's.
struct SystemCursor {
    WORD id;
    uintptr_t handle;
};
constexpr SystemCursor kSystemCursors[] = {
    {32512, 0x00010003}, // IDC_ARROW
    {32513, 0x00010005}, // IDC_IBEAM
};

// The cursor shown over the program's windows.
HCURSOR current_cursor = nullptr;

} // namespace

void CursorReset() {
    current_cursor = nullptr;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (instance != nullptr || !IS_INTRESOURCE(name)) {
        return nullptr; // the program carries no cursor resources
    }
    for (const SystemCursor& c : kSystemCursors) {
        if (c.id == LOWORD(name)) {
            return reinterpret_cast<HCURSOR>(c.handle);
        }
    }
    return nullptr;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    const HCURSOR previous = current_cursor;
    current_cursor = cursor;
    if (Host().show_cursor) {
        Host().show_cursor(cursor != nullptr);
    }
    return previous;
}

HCURSOR WINAPI GetCursor(void) {
    return current_cursor;
}
