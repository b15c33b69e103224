// Zobu 4 platform floor: the .res reader and the program's resource table.
#include "resources.h"

#include <string.h>

namespace {

// Type 0 and name 0 with no data: the entry windres writes first to mark a 32-bit .res.
bool IsNullEntry(const Resource& r) {
    return r.type.is_number && r.type.number == 0 && r.name.is_number && r.name.number == 0 &&
           r.size == 0;
}

char16_t UpperAscii(char16_t c) {
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
}

bool SameName(const ResourceName& a, const ResourceName& b) {
    return a.is_number == b.is_number && (a.is_number ? a.number == b.number : a.text == b.text);
}

// Turns an LPCSTR as FindResourceA takes it into a ResourceName.
ResourceName NameFromArgument(LPCSTR argument) {
    ResourceName name;
    if (IS_INTRESOURCE(argument)) {
        name.is_number = true;
        name.number = LOWORD(argument);
        return name;
    }
    if (argument[0] == '#') {
        unsigned long value = 0;
        const char* p = argument + 1;
        while (*p >= '0' && *p <= '9' && value <= 0xFFFF) {
            value = value * 10 + static_cast<unsigned long>(*p - '0');
            ++p;
        }
        if (*p == '\0' && p != argument + 1 && value <= 0xFFFF) {
            name.is_number = true;
            name.number = static_cast<WORD>(value);
            return name;
        }
    }
    for (const char* p = argument; *p; ++p) {
        name.text.push_back(UpperAscii(static_cast<unsigned char>(*p)));
    }
    return name;
}

// A bounds-checked little-endian reader over one .res file.
class Reader {
  public:
    Reader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

    bool Word(size_t at, WORD* out) const {
        if (at > size_ || size_ - at < 2) {
            return false;
        }
        *out = static_cast<WORD>(bytes_[at] | (bytes_[at + 1] << 8));
        return true;
    }

    bool Dword(size_t at, DWORD* out) const {
        WORD low = 0, high = 0;
        if (!Word(at, &low) || !Word(at + 2, &high)) {
            return false;
        }
        *out = static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
        return true;
    }

    // Reads a type or name field that must end before `end`; *at moves past it, aligned.
    bool Name(size_t* at, size_t entry_start, size_t end, ResourceName* out) const {
        WORD first = 0;
        if (*at + 2 > end || !Word(*at, &first)) {
            return false;
        }
        if (first == 0xFFFF) {
            if (*at + 4 > end || !Word(*at + 2, &out->number)) {
                return false;
            }
            out->is_number = true;
            *at += 4;
        } else {
            size_t p = *at;
            for (;;) {
                WORD unit = 0;
                if (p + 2 > end || !Word(p, &unit)) {
                    return false;
                }
                p += 2;
                if (unit == 0) {
                    break;
                }
                out->text.push_back(UpperAscii(static_cast<char16_t>(unit)));
            }
            *at = p;
        }
        *at = entry_start + ((*at - entry_start + 3) & ~size_t{3});
        return true;
    }

  private:
    const uint8_t* bytes_;
    size_t size_;
};

std::string At(size_t offset, const char* what) {
    return "malformed .res at byte " + std::to_string(offset) + ": " + what;
}

// The program's resources.
ResourceTable module_resources;

} // namespace

bool ResourceTable::Parse(const void* bytes, size_t size, ResourceTable* out, std::string* error) {
    *out = ResourceTable();
    ResourceTable table;
    if (size > 0) {
        table.bytes_.assign(static_cast<const uint8_t*>(bytes),
                            static_cast<const uint8_t*>(bytes) + size);
    }
    const Reader reader(table.bytes_.data(), size);
    // Fixed fields after the name: data version, memory flags, language, version,
    // characteristics.
    constexpr size_t kTrailer = 16;

    size_t pos = 0;
    while (pos < size) {
        DWORD data_size = 0, header_size = 0;
        if (!reader.Dword(pos, &data_size) || !reader.Dword(pos + 4, &header_size)) {
            *error = At(pos, "truncated entry header");
            return false;
        }
        const size_t remaining = size - pos;
        if (header_size < 8 + 4 + 4 + kTrailer || header_size > remaining) {
            *error = At(pos, "header size out of range");
            return false;
        }
        if (data_size > remaining - header_size) {
            *error = At(pos, "data runs past the end of the file");
            return false;
        }
        const size_t header_end = pos + header_size;
        Resource resource;
        size_t at = pos + 8;
        if (!reader.Name(&at, pos, header_end, &resource.type)) {
            *error = At(at, "resource type runs past its header");
            return false;
        }
        if (!reader.Name(&at, pos, header_end, &resource.name)) {
            *error = At(at, "resource name runs past its header");
            return false;
        }
        if (at > header_end || header_end - at < kTrailer) {
            *error = At(at, "header too short for its fields");
            return false;
        }
        reader.Word(at + 6, &resource.language);
        resource.offset = header_end;
        resource.size = data_size;

        if (!IsNullEntry(resource)) {
            for (const Resource& seen : table.resources_) {
                if (SameName(seen.type, resource.type) && SameName(seen.name, resource.name) &&
                    seen.language == resource.language) {
                    *error = At(pos, "duplicate resource");
                    return false;
                }
            }
            table.resources_.push_back(resource);
        }
        const size_t next = header_end + data_size;
        pos = next + ((4 - next % 4) % 4);
    }
    *out = std::move(table);
    return true;
}

const Resource* ResourceTable::Find(LPCSTR type, LPCSTR name, int language) const {
    if (type == nullptr || name == nullptr) {
        return nullptr;
    }
    const ResourceName wanted_type = NameFromArgument(type);
    const ResourceName wanted_name = NameFromArgument(name);
    const Resource* best = nullptr;
    int best_rank = 99;
    for (const Resource& r : resources_) {
        if (!SameName(r.type, wanted_type) || !SameName(r.name, wanted_name)) {
            continue;
        }
        if (language != kAnyLanguage) {
            if (r.language == language) {
                return &r;
            }
            continue;
        }
        // Neutral, neutral default, US English, then the first one in the file.
        const int rank = r.language == 0x0000   ? 0
                         : r.language == 0x0400 ? 1
                         : r.language == 0x0409 ? 2
                                                : 3;
        if (rank < best_rank) {
            best = &r;
            best_rank = rank;
        }
    }
    return best;
}

bool KernelSetModuleResources(const void* bytes, size_t size, std::string* error) {
    return ResourceTable::Parse(bytes, size, &module_resources, error);
}

const ResourceTable& ModuleResources() {
    return module_resources;
}

// Windows loads a program at 0x00400000 by default; any distinct non-null value would do.
HMODULE ModuleHandle() {
    return reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x00400000));
}
