// Zobu 4 platform floor: the keys every host knows.
#include "virtual_keys.h"

#include <stdlib.h>
#include <string.h>
#include <strings.h>

namespace {

struct Key {
    uint8_t virtual_key;
    const char* name; // in scripts; null: the key has another row's name
    const char* code; // KeyboardEvent.code
    int usage;        // USB keyboard page
};
const Key kKeys[] = {
    {vk::kLeft, "Left", "ArrowLeft", 80},
    {vk::kRight, "Right", "ArrowRight", 79},
    {vk::kUp, "Up", "ArrowUp", 82},
    {vk::kDown, "Down", "ArrowDown", 81},
    {vk::kSpace, "Space", "Space", 44},
    {vk::kEscape, "Escape", "Escape", 41},
    {vk::kReturn, "Return", "Enter", 40},
    {vk::kReturn, nullptr, "NumpadEnter", 88},
    {vk::kTab, "Tab", "Tab", 43},
    {vk::kBack, "Backspace", "Backspace", 42},
    {vk::kMenu, "Alt", "AltLeft", 226},
    {vk::kMenu, nullptr, "AltRight", 230},
    {vk::kControl, "Ctrl", "ControlLeft", 224},
    {vk::kControl, nullptr, "ControlRight", 228},
    {vk::kShift, "Shift", "ShiftLeft", 225},
    {vk::kShift, nullptr, "ShiftRight", 229},
};
// The USB usages of the rule-made keys: A to Z, then 1 to 9 and 0, and F1 to F12.
constexpr int kUsageA = 4, kUsage1 = 30, kUsage0 = 39, kUsageF1 = 58;

// The number of an F key's name, "F1" to "F12" (or "f1"), `length` characters; 0 for none.
int FKeyNumber(const char* text, size_t length) {
    if (length < 2 || length > 3 || (text[0] != 'F' && text[0] != 'f') || text[1] < '1' ||
        text[1] > '9') {
        return 0;
    }
    char* end = nullptr;
    const long n = strtol(text + 1, &end, 10);
    return end == text + length && n >= 1 && n <= 12 ? static_cast<int>(n) : 0;
}

} // namespace

uint8_t VirtualKeyFromName(const std::string& name) {
    for (const Key& k : kKeys) {
        if (k.name && name.size() == strlen(k.name) && strcasecmp(k.name, name.c_str()) == 0) {
            return k.virtual_key;
        }
    }
    if (name.size() == 1 && isalnum(static_cast<unsigned char>(name[0]))) {
        return static_cast<uint8_t>(toupper(static_cast<unsigned char>(name[0])));
    }
    const int f = FKeyNumber(name.c_str(), name.size());
    return f ? static_cast<uint8_t>(vk::kF1 + f - 1) : 0;
}

std::string NameFromVirtualKey(uint8_t key) {
    for (const Key& k : kKeys) {
        if (k.name && k.virtual_key == key) {
            return k.name;
        }
    }
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= vk::kF1 && key < vk::kF1 + 12) {
        return "F" + std::to_string(key - vk::kF1 + 1);
    }
    return "";
}

uint8_t VirtualKeyFromCode(const char* code) {
    if (code == nullptr) {
        return 0;
    }
    const size_t length = strlen(code);
    if (length == 4 && strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z') {
        return static_cast<uint8_t>(code[3]);
    }
    if (length == 6 && strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9') {
        return static_cast<uint8_t>(code[5]);
    }
    if (code[0] == 'F') { // not "f": the browser's codes have one spelling
        const int f = FKeyNumber(code, length);
        return f ? static_cast<uint8_t>(vk::kF1 + f - 1) : 0;
    }
    for (const Key& k : kKeys) {
        if (strcmp(k.code, code) == 0) {
            return k.virtual_key;
        }
    }
    return 0;
}

uint8_t VirtualKeyFromUsage(int usage) {
    if (usage >= kUsageA && usage < kUsageA + 26) {
        return static_cast<uint8_t>('A' + (usage - kUsageA));
    }
    if (usage >= kUsage1 && usage < kUsage0) {
        return static_cast<uint8_t>('1' + (usage - kUsage1));
    }
    if (usage == kUsage0) {
        return '0';
    }
    if (usage >= kUsageF1 && usage < kUsageF1 + 12) {
        return static_cast<uint8_t>(vk::kF1 + (usage - kUsageF1));
    }
    for (const Key& k : kKeys) {
        if (k.usage == usage) {
            return k.virtual_key;
        }
    }
    return 0;
}
