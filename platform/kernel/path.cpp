// Zobu 4 platform floor: Windows paths on a Linux file system.
#include "path.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <vector>

namespace {

bool Exists(const std::string& path) {
    struct stat info = {};
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

// The components joined into a path, each followed by a slash.
std::string Join(bool absolute, const std::vector<std::string>& parts) {
    std::string path = absolute ? "/" : "";
    for (const std::string& part : parts) {
        path += part + "/";
    }
    return path;
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
    const bool absolute = path[0] == '/';
    // A name that ends in a separator names a directory, so a file of that name does not
    // match it: Windows refuses "Bitmaps\back1.bmp\" too.
    const bool names_directory = path.back() == '/';

    // Windows takes "." and ".." out of a path by its text, before it looks at any disk:
    // "none\..\Bitmaps" is "Bitmaps" even where "none" does not exist. Above the root there
    // is nothing to climb to; above the current directory there is.
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..") {
                parts.pop_back();
            } else if (!absolute) {
                parts.push_back(part);
            }
            continue;
        }
        const std::string directory = Join(absolute, parts);
        std::string found = part;
        if (!Exists(directory + part) && !FindIgnoringCase(directory, part, &found)) {
            return false;
        }
        parts.push_back(found);
    }

    std::string resolved = Join(absolute, parts);
    if (resolved.empty()) {
        resolved = "."; // nothing but dots: the current directory
    } else if (resolved.size() > 1) {
        resolved.pop_back();
    }
    struct stat info = {};
    if (names_directory && (stat(resolved.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))) {
        return false;
    }
    *native = resolved;
    return true;
}
