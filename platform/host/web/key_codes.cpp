// Zobu 4 platform floor: the browser's key codes.
#include "key_codes.h"

#include <stdlib.h>
#include <string.h>

uint8_t VirtualKeyFromCode(const char* code) {
    if (code == nullptr) {
        return 0;
    }
    const size_t length = strlen(code);
    // "KeyA" to "KeyZ", "Digit0" to "Digit9": Windows' virtual keys are the letters and
    // digits themselves.
    if (length == 4 && strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z') {
        return static_cast<uint8_t>(code[3]);
    }
    if (length == 6 && strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9') {
        return static_cast<uint8_t>(code[5]);
    }
    if ((length == 2 || length == 3) && code[0] == 'F' && code[1] >= '1' && code[1] <= '9') {
        char* end = nullptr;
        const long n = strtol(code + 1, &end, 10);
        if (*end == '\0' && n >= 1 && n <= 12) {
            return static_cast<uint8_t>(0x70 + n - 1); // VK_F1
        }
        return 0;
    }
    struct Named {
        const char* code;
        uint8_t virtual_key;
    };
    static const Named named[] = {
        {"ArrowLeft", 0x25},   {"ArrowUp", 0x26},      {"ArrowRight", 0x27}, {"ArrowDown", 0x28},
        {"Space", 0x20},       {"Escape", 0x1B},       {"Enter", 0x0D},      {"NumpadEnter", 0x0D},
        {"Tab", 0x09},         {"Backspace", 0x08},    {"AltLeft", 0x12},    {"AltRight", 0x12},
        {"ControlLeft", 0x11}, {"ControlRight", 0x11}, {"ShiftLeft", 0x10},  {"ShiftRight", 0x10},
    };
    for (const Named& n : named) {
        if (strcmp(n.code, code) == 0) {
            return n.virtual_key;
        }
    }
    return 0;
}
