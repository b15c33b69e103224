// Zobu 4 platform floor: DirectDraw's test hooks.
#include "ddraw_private.h"

namespace {

struct Hook {
    bool armed = false;
    int skip = 0;
    HRESULT code = DD_OK;
};

// The hooks armed, and what GetCaps is to report.
struct State {
    Hook hooks[static_cast<int>(DDrawCall::Count)];
    bool can_render_windowed = true;
};

State& S() {
    static State* state = new State();
    return *state;
}

} // namespace

HRESULT InjectedFailure(DDrawCall call) {
    Hook& hook = S().hooks[static_cast<int>(call)];
    if (!hook.armed) {
        return DD_OK;
    }
    if (hook.skip > 0) {
        --hook.skip;
        return DD_OK;
    }
    hook.armed = false;
    return hook.code;
}

bool CanRenderWindowed() {
    return S().can_render_windowed;
}

void DDrawFailCall(DDrawCall call, HRESULT code, int skip) {
    S().hooks[static_cast<int>(call)] = {true, skip, code};
}

void DDrawSetCanRenderWindowed(bool can) {
    S().can_render_windowed = can;
}

DDrawLiveObjects DDrawLive() {
    return LiveObjects();
}

void DDrawReset() {
    for (Hook& hook : S().hooks) {
        hook = Hook();
    }
    S().can_render_windowed = true;
    ExclusiveOwner() = nullptr;
}
