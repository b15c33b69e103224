// Zobu 4 platform floor: kernel32's time and module entry points.
#include <windows.h>

#include "../host/host.h"
#include "resources.h"

DWORD WINAPI GetTickCount(void) {
    return static_cast<DWORD>(Host().now_ms());
}

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    return moduleName == nullptr ? ModuleHandle() : nullptr;
}
