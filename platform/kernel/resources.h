// Zobu 4 platform floor: the program's own resources, read from a compiled .res file.
//
// res/zobu4.rc is compiled by windres for both builds. On Windows the resources end up in
// the executable; on Linux the build embeds the .res file in the program and the launcher
// hands it to KernelSetModuleResources before WinMain. The .res format is a run of entries,
// each a header (data size, header size, type, name, language, ...) followed by its data,
// every part aligned to four bytes.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

// A resource type or name: a 16-bit number, or a string (kept upper-cased, since names are
// matched without regard to ASCII case, as on Windows).
struct ResourceName {
    bool is_number = false;
    WORD number = 0;
    std::u16string text;
};

struct Resource {
    ResourceName type;
    ResourceName name;
    WORD language = 0;
    size_t offset = 0; // of the data, within the table's bytes
    size_t size = 0;
};

// Asks for no particular language: FindResource's order of preference applies.
constexpr int kAnyLanguage = -1;

class ResourceTable {
  public:
    // Reads a whole .res file. On a malformed file it returns false, says why in *error
    // (naming the byte offset), and leaves *out empty. The bytes are copied.
    static bool Parse(const void* bytes, size_t size, ResourceTable* out, std::string* error);

    // Looks a resource up as FindResourceExA does: type and name as numbers
    // (MAKEINTRESOURCEA), "#123" strings, or names. With kAnyLanguage it prefers neutral,
    // then the neutral default, then US English, then whatever comes first in the file.
    const Resource* Find(LPCSTR type, LPCSTR name, int language = kAnyLanguage) const;

    const uint8_t* Data(const Resource& resource) const { return bytes_.data() + resource.offset; }
    size_t Count() const { return resources_.size(); }

  private:
    std::vector<uint8_t> bytes_;
    std::vector<Resource> resources_;
};

// Replaces the program's resources with those of a .res file. On a malformed file the
// program is left with no resources and false is returned with the reason.
bool KernelSetModuleResources(const void* bytes, size_t size, std::string* error);

// The program's resources, as last set (empty until then).
const ResourceTable& ModuleResources();

// The handle GetModuleHandleA(NULL) gives: the program's one module.
HMODULE ModuleHandle();
