// Zobu 4 platform floor: recordings.
#include "recorder.h"

#include "script.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The recording under way: its file, its temporary name, the name it takes at the end.
FILE* file = nullptr;
std::string temporary_path;
std::string final_path;
// The host recorded, and the table that wraps it.
const HostOps* recorded = nullptr;
HostOps wrapper = {};
uint64_t start_tick_ms = 0;

// The line an input makes; empty for one that scripts cannot say.
std::string LineOf(const HostInput& input) {
    switch (input.kind) {
    case HostInputKind::Key: {
        const std::string name = NameFromVirtualKey(input.virtual_key);
        return name.empty() ? "" : (input.down ? "down " : "up ") + name;
    }
    case HostInputKind::Close:
        return "close";
    case HostInputKind::Lost:
        return "lose";
    case HostInputKind::Mouse:
        return "";
    }
    return "";
}

bool PollAndRecord(HostInput* input) {
    if (!recorded->poll_input(input)) {
        return false;
    }
    const std::string line = LineOf(*input);
    if (file && !line.empty()) {
        fprintf(file, "%llu %s\n",
                static_cast<unsigned long long>(recorded->now_ms() - start_tick_ms), line.c_str());
    }
    return true;
}

} // namespace

bool RecorderOpen(const std::string& path, std::string* error) {
    final_path = path;
    temporary_path = path + ".XXXXXX";
    const int fd = mkstemp(&temporary_path[0]);
    if (fd < 0) {
        *error = strerror(errno);
        return false;
    }
    // mkstemp makes a file only its owner may read; a recording is an ordinary file.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    file = fdopen(fd, "w");
    if (!file) {
        *error = strerror(errno);
        close(fd);
        unlink(temporary_path.c_str());
        return false;
    }
    return true;
}

const HostOps* RecorderWrap(const HostOps* host, uint64_t start_tick) {
    recorded = host;
    start_tick_ms = start_tick;
    wrapper = *host;
    wrapper.poll_input = PollAndRecord;
    fprintf(file, "tick %llu\n", static_cast<unsigned long long>(start_tick));
    return &wrapper;
}

bool RecorderFinish(std::string* error) {
    if (!file) {
        return true;
    }
    const bool written = ferror(file) == 0 && fflush(file) == 0 && fsync(fileno(file)) == 0;
    const int failure = errno;
    const bool closed = fclose(file) == 0;
    file = nullptr;
    if (!written || !closed) {
        *error = strerror(written ? errno : failure);
        unlink(temporary_path.c_str());
        return false;
    }
    if (rename(temporary_path.c_str(), final_path.c_str()) != 0) {
        *error = strerror(errno);
        unlink(temporary_path.c_str());
        return false;
    }
    return true;
}

void RecorderDiscard() {
    if (file) {
        fclose(file);
        file = nullptr;
        unlink(temporary_path.c_str());
    }
}
