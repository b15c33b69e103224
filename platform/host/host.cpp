// Zobu 4 platform floor: the installed host.
#include "host.h"

#include "headless/headless.h"

// The host every Win32 call goes to; null until installed.
static const HostOps* installed = nullptr;

void HostInstall(const HostOps* ops) {
    installed = ops;
}

const HostOps& Host() {
    return installed ? *installed : *HeadlessHost();
}
