// Zobu 4 platform floor: Windows paths on a Linux file system.
#include "path.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <vector>

namespace {

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// The entry of `directory` whose name equals `name` ignoring ASCII case, if there is one.
bool FindIgnoringCase(const std::string& directory, const std::string& name, std::string* found) {
    DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
    if (!dir) {
        return false;
    }
    bool matched = false;
    while (const dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0) {
            *found = entry->d_name;
            matched = true;
            break;
        }
    }
    closedir(dir);
    return matched;
}

} // namespace

bool ResolveWindowsPath(const char* windows_path, std::string* native) {
    std::string path = windows_path ? windows_path : "";
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    *native = path;
    if (path.empty()) {
        return false;
    }
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = path.find('/', start);
        const std::string part = path.substr(start, end == std::string::npos ? end : end - start);
        if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    std::string resolved = path[0] == '/' ? "/" : "";
    for (const std::string& part : parts) {
        std::string candidate = resolved + part;
        if (!Exists(candidate)) {
            std::string found;
            if (part == ".." || !FindIgnoringCase(resolved, part, &found)) {
                return false;
            }
            candidate = resolved + found;
        }
        resolved = candidate + "/";
    }
    resolved.pop_back(); // the last component is not a directory
    *native = resolved;
    return true;
}
