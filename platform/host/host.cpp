// Zobu 4 platform floor: the installed host, and the null host that answers until one is.
#include "host.h"

#include <stdio.h>

namespace {

// The null host, for calls made before a program installs its own (a GetTickCount in a
// static constructor, a test that forgot): each entry gives a safe answer and never
// touches a machine. Its clock moves only to the deadlines it is asked to wait for, and a
// wait for nothing is the user closing the program, so that a message loop run on it ends.
uint64_t null_now_ms = 0;
bool null_close_waiting = false;

const HostOps kNullHost = {
    [] { return null_now_ms; },
    [](uint64_t deadline_ms) {
        if (deadline_ms == kHostForever) {
            null_close_waiting = true;
        } else if (deadline_ms > null_now_ms) {
            null_now_ms = deadline_ms;
        }
    },
    [](HostInput* input) {
        if (!null_close_waiting) {
            return false;
        }
        null_close_waiting = false;
        *input = HostInput();
        input->kind = HostInputKind::Close;
        return true;
    },
    [](const uint16_t*, int, const uint8_t*) {},
    [](const char* text, const char* title, unsigned) {
        fprintf(stderr, "%s: %s\n", title ? title : "", text ? text : "");
        return 1; // IDOK
    },
    [](bool) {},
};

// The host every Win32 call goes to.
const HostOps* installed = &kNullHost;

} // namespace

void HostInstall(const HostOps* ops) {
    installed = ops ? ops : &kNullHost;
}

const HostOps& Host() {
    return *installed;
}
