// Zobu 4 platform floor: SDL's game controllers.
#include "gamepad.h"

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
        keys_.ReleaseAll(now_ms, out);
        return true;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        const bool down = e.type == SDL_CONTROLLERBUTTONDOWN;
        switch (e.cbutton.button) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            keys_.Press(PadKeys::Button::DpadLeft, down, now_ms, out);
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            keys_.Press(PadKeys::Button::DpadRight, down, now_ms, out);
            break;
        case SDL_CONTROLLER_BUTTON_A:
            keys_.Press(PadKeys::Button::South, down, now_ms, out);
            break;
        case SDL_CONTROLLER_BUTTON_BACK:
            keys_.Press(PadKeys::Button::Back, down, now_ms, out);
            break;
        default:
            break;
        }
        return true;
    }
    case SDL_CONTROLLERAXISMOTION:
        if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
            keys_.Stick(e.caxis.value, now_ms, out);
        }
        return true;
    default:
        return false;
    }
}
