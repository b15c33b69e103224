// libFuzzer target: the .res reader and lookups in what it read.
#include "kernel/resources.h"

#include <stddef.h>
#include <stdint.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ResourceTable table;
    std::string error;
    if (!ResourceTable::Parse(data, size, &table, &error)) {
        if (error.empty() || table.Count() != 0) {
            __builtin_trap();
        }
        return 0;
    }
    for (const WORD type : {WORD{2}, WORD{5}, WORD{9}, WORD{10}}) {
        for (LPCSTR name :
             {LPCSTR(MAKEINTRESOURCEA(102)), LPCSTR(MAKEINTRESOURCEA(1)), "#103", "NAME"}) {
            if (const Resource* r = table.Find(MAKEINTRESOURCEA(type), name)) {
                volatile uint8_t sink = 0;
                for (size_t i = 0; i < r->size; ++i) {
                    sink = sink ^ table.Data(*r)[i]; // every byte must be readable
                }
            }
        }
    }
    return 0;
}
