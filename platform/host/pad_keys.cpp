// Zobu 4 platform floor: game controllers as keys.
#include "pad_keys.h"

#include "virtual_keys.h"

#include <algorithm>

namespace {

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

void PadKeys::Hold(Direction& d, bool* source, bool held, uint64_t now_ms,
                   std::deque<HostInput>* out) {
    const bool was = d.Held();
    *source = held;
    if (d.Held() != was) {
        out->push_back(Key(d.key, d.Held()));
        d.next_repeat_ms = now_ms + kKeyRepeatDelayMs;
    }
}

void PadKeys::Press(Button button, bool down, uint64_t now_ms, std::deque<HostInput>* out) {
    switch (button) {
    case Button::DpadLeft:
        Hold(left_, &left_.dpad, down, now_ms, out);
        break;
    case Button::DpadRight:
        Hold(right_, &right_.dpad, down, now_ms, out);
        break;
    case Button::South:
        out->push_back(Key(vk::kSpace, down));
        break;
    case Button::Back:
        out->push_back(Key(vk::kEscape, down));
        break;
    }
}

void PadKeys::Stick(int x, uint64_t now_ms, std::deque<HostInput>* out) {
    const bool left = left_.stick ? x < -kStickLetGo : x < -kStickPushed;
    const bool right = right_.stick ? x > kStickLetGo : x > kStickPushed;
    Hold(left_, &left_.stick, left, now_ms, out);
    Hold(right_, &right_.stick, right, now_ms, out);
}

void PadKeys::ReleaseAll(uint64_t now_ms, std::deque<HostInput>* out) {
    for (Direction* d : {&left_, &right_}) {
        Hold(*d, &d->dpad, false, now_ms, out);
        Hold(*d, &d->stick, false, now_ms, out);
    }
}

void PadKeys::Repeat(uint64_t now_ms, std::deque<HostInput>* out) {
    for (Direction* d : {&left_, &right_}) {
        if (d->Held() && d->next_repeat_ms <= now_ms) {
            out->push_back(Key(d->key, true));
            // A host that was away long does not make up for it: one repeat, then onwards.
            d->next_repeat_ms = std::max(d->next_repeat_ms + kKeyRepeatPeriodMs, now_ms + 1);
        }
    }
}

uint64_t PadKeys::NextRepeat() const {
    uint64_t next = UINT64_MAX;
    for (const Direction* d : {&left_, &right_}) {
        if (d->Held()) {
            next = std::min(next, d->next_repeat_ms);
        }
    }
    return next;
}
