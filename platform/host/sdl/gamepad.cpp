// Zobu 4 platform floor: game controllers.
#include "gamepad.h"

namespace {

constexpr uint64_t kRepeatDelayMs = 500;
constexpr uint64_t kRepeatPeriodMs = 33;
// The stick counts as pushed past this, and as let go again below the smaller number, so
// that it does not flicker at the edge.
constexpr int kStickPushed = 16000;
constexpr int kStickLetGo = 8000;

HostInput Key(uint8_t virtual_key, bool down) {
    HostInput input;
    input.virtual_key = virtual_key;
    input.down = down;
    return input;
}

} // namespace

void Gamepads::Hold(Direction& d, bool* source, bool held, uint64_t now_ms,
                    std::deque<HostInput>* out) {
    const bool was = d.Held();
    *source = held;
    if (d.Held() != was) {
        out->push_back(Key(d.key, d.Held()));
        d.next_repeat_ms = now_ms + kRepeatDelayMs;
    }
}

void Gamepads::ReleaseAll(uint64_t now_ms, std::deque<HostInput>* out) {
    for (Direction* d : {&left_, &right_}) {
        Hold(*d, &d->dpad, false, now_ms, out);
        Hold(*d, &d->stick, false, now_ms, out);
    }
}

bool Gamepads::Take(const SDL_Event& e, uint64_t now_ms, std::deque<HostInput>* out) {
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED:
        if (SDL_GameController* pad = SDL_GameControllerOpen(e.cdevice.which)) {
            open_[SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad))] = pad;
        }
        return true;
    case SDL_CONTROLLERDEVICEREMOVED: {
        const auto found = open_.find(e.cdevice.which);
        if (found != open_.end()) {
            SDL_GameControllerClose(found->second);
            open_.erase(found);
        }
        ReleaseAll(now_ms, out);
        return true;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        const bool down = e.type == SDL_CONTROLLERBUTTONDOWN;
        switch (e.cbutton.button) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            Hold(left_, &left_.dpad, down, now_ms, out);
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            Hold(right_, &right_.dpad, down, now_ms, out);
            break;
        case SDL_CONTROLLER_BUTTON_A:
            out->push_back(Key(0x20, down)); // VK_SPACE
            break;
        case SDL_CONTROLLER_BUTTON_BACK:
            out->push_back(Key(0x1B, down)); // VK_ESCAPE
            break;
        default:
            break;
        }
        return true;
    }
    case SDL_CONTROLLERAXISMOTION:
        if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
            const int x = e.caxis.value;
            const bool left = left_.stick ? x < -kStickLetGo : x < -kStickPushed;
            const bool right = right_.stick ? x > kStickLetGo : x > kStickPushed;
            Hold(left_, &left_.stick, left, now_ms, out);
            Hold(right_, &right_.stick, right, now_ms, out);
        }
        return true;
    default:
        return false;
    }
}

void Gamepads::Repeat(uint64_t now_ms, std::deque<HostInput>* out) {
    for (Direction* d : {&left_, &right_}) {
        if (d->Held() && d->next_repeat_ms <= now_ms) {
            out->push_back(Key(d->key, true));
            // A host that was away long does not make up for it: one repeat, then onwards.
            d->next_repeat_ms = std::max(d->next_repeat_ms + kRepeatPeriodMs, now_ms + 1);
        }
    }
}

uint64_t Gamepads::NextRepeat() const {
    uint64_t next = UINT64_MAX;
    for (const Direction* d : {&left_, &right_}) {
        if (d->Held()) {
            next = std::min(next, d->next_repeat_ms);
        }
    }
    return next;
}
