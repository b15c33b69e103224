// Zobu 4 platform floor: accelerator tables.
//
// In a .res file an accelerator table is a run of eight-byte entries (flags, key, command,
// padding), the last one marked with 0x80 in its flags. A loaded table is shared: loading
// the same resource again gives the same handle, and tables end with the process, as tables
// loaded from resources do on Windows.
#include "user_private.h"

#include "../kernel/resources.h"

#include <map>
#include <memory>
#include <vector>

namespace {

constexpr WORD kLastEntry = 0x80;

struct AcceleratorTable {
    std::vector<ACCEL> entries;
};

// Loaded tables, by the resource they came from.
std::map<const void*, std::unique_ptr<AcceleratorTable>> tables;

AcceleratorTable* TableFromHandle(HACCEL handle) {
    for (auto& [resource, table] : tables) {
        if (reinterpret_cast<HACCEL>(table.get()) == handle) {
            return table.get();
        }
    }
    return nullptr;
}

BYTE ModifierMask() {
    BYTE mask = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000) {
        mask |= FSHIFT;
    }
    if (GetKeyState(VK_CONTROL) & 0x8000) {
        mask |= FCONTROL;
    }
    if (GetKeyState(VK_MENU) & 0x8000) {
        mask |= FALT;
    }
    return mask;
}

bool Matches(const ACCEL& entry, const MSG& msg) {
    const BYTE modifiers = entry.fVirt & (FSHIFT | FCONTROL | FALT);
    if (entry.fVirt & FVIRTKEY) {
        return (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) &&
               msg.wParam == entry.key && ModifierMask() == modifiers;
    }
    // A character entry matches the character that the key made; Alt must agree.
    return (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) && msg.wParam == entry.key &&
           ((ModifierMask() & FALT) == (modifiers & FALT));
}

} // namespace

void AcceleratorsReset() {
    tables.clear();
}

HACCEL WINAPI LoadAcceleratorsA(HINSTANCE instance, LPCSTR tableName) {
    if (instance != ModuleHandle()) {
        return nullptr;
    }
    const ResourceTable& resources = ModuleResources();
    const Resource* found = resources.Find(RT_ACCELERATOR, tableName);
    if (!found) {
        return nullptr;
    }
    const uint8_t* data = resources.Data(*found);
    auto& table = tables[data];
    if (table) {
        return reinterpret_cast<HACCEL>(table.get());
    }
    auto loaded = std::make_unique<AcceleratorTable>();
    for (size_t at = 0; at + 8 <= found->size; at += 8) {
        auto word = [&](size_t offset) {
            return static_cast<WORD>(data[at + offset] | (data[at + offset + 1] << 8));
        };
        const WORD flags = word(0);
        loaded->entries.push_back({static_cast<BYTE>(flags & 0x7F), word(2), word(4)});
        if (flags & kLastEntry) {
            break;
        }
    }
    if (loaded->entries.empty()) {
        tables.erase(data);
        return nullptr;
    }
    table = std::move(loaded);
    return reinterpret_cast<HACCEL>(table.get());
}

int WINAPI TranslateAcceleratorA(HWND window, HACCEL table, LPMSG msg) {
    const AcceleratorTable* t = TableFromHandle(table);
    if (!t || !msg || !WindowFromHandle(window)) {
        return 0;
    }
    for (const ACCEL& entry : t->entries) {
        if (Matches(entry, *msg)) {
            // Sent, not posted: the command is carried out before this call returns, and to
            // the window given here, whichever window the key message was addressed to.
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
            return 1;
        }
    }
    return 0;
}
