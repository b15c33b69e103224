// Zobu 4 platform floor: DirectDraw's test hooks and its bookkeeping of live objects.
#include "ddraw_private.h"

#include <algorithm>
#include <vector>

namespace {

struct Hook {
    bool armed = false;
    int skip = 0;
    HRESULT code = DD_OK;
};

// Never destroyed: surfaces are released by game objects' exit-time destructors.
struct State {
    Hook hooks[static_cast<int>(DDrawCall::Count)];
    bool can_render_windowed = true;
    std::vector<Surface*> surfaces;
    DDrawLiveObjects live;
    DirectDraw* exclusive = nullptr;
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

void TrackSurface(Surface* surface, bool alive) {
    auto& all = S().surfaces;
    if (alive) {
        all.push_back(surface);
    } else {
        all.erase(std::remove(all.begin(), all.end(), surface), all.end());
    }
    S().live.surfaces = static_cast<int>(all.size());
}

void TrackObject(DDrawLiveObjects delta) {
    S().live.direct_draws += delta.direct_draws;
    S().live.clippers += delta.clippers;
}

DirectDraw*& ExclusiveOwner() {
    return S().exclusive;
}

void DDrawFailCall(DDrawCall call, HRESULT code, int skip) {
    S().hooks[static_cast<int>(call)] = {true, skip, code};
}

void LoseDisplaySurfaces() {
    for (Surface* surface : S().surfaces) {
        surface->Lose();
    }
}


void DDrawSetCanRenderWindowed(bool can) {
    S().can_render_windowed = can;
}

DDrawLiveObjects DDrawLive() {
    return S().live;
}

void DDrawReset() {
    for (Hook& hook : S().hooks) {
        hook = Hook();
    }
    S().can_render_windowed = true;
    S().exclusive = nullptr;
}
