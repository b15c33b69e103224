// Zobu 4 platform floor: MessageBoxA. The host shows the box (a real one with a display, a
// line on standard error without) and the loop's thread waits until it is dismissed.
#include "user_private.h"

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    return Host().message_box ? Host().message_box(text, caption, type) : IDOK;
}
