// libFuzzer target: Windows paths resolved on our file system, from any bytes.
//
// Each input is resolved in a directory of its own that holds what the game looks for
// (Bitmaps\back1.bmp and a few neighbours), so that relative names reach real entries;
// absolute ones wander the whole file system, read-only. Between inputs the fuzzer is back
// in the directory it started in, where its corpus lies.
#include "kernel/path.h"

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace {
// The inputs' working directory, removed again when the run ends.
char directory[] = "/tmp/zobu4-path-fuzz-XXXXXX";
// Open directories: the inputs' one, and the one the fuzzer started in.
int inputs_fd = -1;
int start_fd = -1;

void RemoveDirectory() {
    if (fchdir(inputs_fd) == 0) {
        for (const char* name : {"Bitmaps/sub/x", "Bitmaps/sub", "Bitmaps/back1.bmp",
                                 "Bitmaps/ZOBU1.BMP", "Bitmaps"}) {
            remove(name);
        }
    }
    if (fchdir(start_fd) == 0) {
        rmdir(directory);
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    start_fd = open(".", O_RDONLY | O_DIRECTORY);
    if (start_fd < 0 || !mkdtemp(directory) || chdir(directory) != 0 ||
        mkdir("Bitmaps", 0755) != 0 || mkdir("Bitmaps/sub", 0755) != 0) {
        perror("path_fuzz: cannot make its working directory");
        abort();
    }
    atexit(RemoveDirectory);
    for (const char* name : {"Bitmaps/back1.bmp", "Bitmaps/ZOBU1.BMP", "Bitmaps/sub/x"}) {
        if (FILE* file = fopen(name, "w")) {
            fclose(file);
        }
    }
    inputs_fd = open(".", O_RDONLY | O_DIRECTORY);
    if (inputs_fd < 0 || fchdir(start_fd) != 0) {
        abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size); // up to its first NUL
    std::string native;
    if (fchdir(inputs_fd) != 0) {
        abort();
    }
    if (ResolveWindowsPath(name.c_str(), &native)) {
        // What it resolves to exists, and a name ending in a separator is a directory.
        struct stat info;
        const char last = name.c_str()[strlen(name.c_str()) - 1];
        if (stat(native.c_str(), &info) != 0 ||
            ((last == '/' || last == '\\') && !S_ISDIR(info.st_mode))) {
            __builtin_trap();
        }
    }
    if (fchdir(start_fd) != 0) {
        abort();
    }
    return 0;
}
