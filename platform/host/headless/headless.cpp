// Zobu 4 platform floor: the headless host.
#include "headless.h"

#include "../changed_rects.h"

#include <stdio.h>
#include <string.h>
#include <time.h>

#include <algorithm>
#include <utility>

namespace {

// Which clock drives the host.
HeadlessClock clock_kind = HeadlessClock::Virtual;
// The virtual clock's reading.
uint64_t virtual_now_ms = 0;
// Input not yet delivered, and tasks for when the program is idle.
EventSchedule script;
// Presents since the last reset, and the rows the last one said had changed.
uint64_t presents = 0;
std::vector<uint8_t> last_present_rows;
// What the program last asked of the user's screen: a message box's style, the pointer.
unsigned message_box_style = 0;
bool cursor_shown = true;
// The end of the script closes the program, timers or not.
bool close_when_script_ends = false;
// The screen's memory, as the last present gave it; null before the first.
const uint16_t* screen_pixels = nullptr;
int screen_pitch_bytes = 0;

// The screen as it stands, rows back to back.
std::vector<uint16_t> Frame() {
    std::vector<uint16_t> frame(size_t{kScreenWidth} * kScreenHeight, 0);
    if (screen_pixels) {
        CopyScreen(screen_pixels, screen_pitch_bytes, frame.data());
    }
    return frame;
}

uint64_t RealNowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000u +
           static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

uint64_t NowMs() {
    return clock_kind == HeadlessClock::Real ? RealNowMs() : virtual_now_ms;
}

void SleepUntilReal(uint64_t deadline_ms) {
    timespec until{};
    until.tv_sec = static_cast<time_t>(deadline_ms / 1000u);
    until.tv_nsec = static_cast<long>((deadline_ms % 1000u) * 1000000u);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) != 0) {
    }
}

void WaitUntil(uint64_t deadline_ms) {
    const uint64_t now = NowMs();
    // The program waits, so everything due until now has been handled: the tasks due
    // (snapshots, probes) see the program as it stands.
    script.RunIdleTasks(now);
    uint64_t wake = deadline_ms;
    if (!script.Empty()) {
        wake = std::min(wake, std::max(now, script.NextAt()));
    } else if (deadline_ms == kHostForever || close_when_script_ends) {
        // The script is over, or nothing will ever happen again: the user closes the program.
        HostInput close;
        close.kind = HostInputKind::Close;
        script.AddInput(now, close);
        return;
    }
    if (wake <= now) {
        return;
    }
    if (clock_kind == HeadlessClock::Real) {
        SleepUntilReal(wake);
    } else {
        virtual_now_ms = wake;
    }
}

bool PollInput(HostInput* input) {
    return script.TakeInput(NowMs(), input);
}

// Counts, and remembers where the screen is; a snapshot reads all of it when it is taken.
// Which rows changed is kept only for the tests of the floor that reports them.
void Present(const uint16_t* pixels, int pitch_bytes, const uint8_t* rows_changed) {
    ++presents;
    last_present_rows.assign(rows_changed, rows_changed + kScreenHeight);
    screen_pixels = pixels;
    screen_pitch_bytes = pitch_bytes;
}

// No one to press a button: the message goes to standard error, one line, and is taken as
// dismissed at once.
int MessageBox(const char* text, const char* title, unsigned style) {
    message_box_style = style;
    fprintf(stderr, "%s: %s\n", title ? title : "", text ? text : "");
    return 1; // IDOK
}

// No pointer to show or hide: what was asked is kept, for tests.
void ShowCursor(bool shown) {
    cursor_shown = shown;
}

const HostOps kHeadlessOps = {NowMs, WaitUntil, PollInput, Present, MessageBox, ShowCursor};

} // namespace

const HostOps* HeadlessHost() {
    return &kHeadlessOps;
}

void HeadlessReset(HeadlessClock clock, uint64_t start_ms) {
    clock_kind = clock;
    virtual_now_ms = start_ms;
    script.Clear();
    presents = 0;
    message_box_style = 0;
    cursor_shown = true;
    close_when_script_ends = false;
    screen_pixels = nullptr;
    screen_pitch_bytes = 0;
}

EventSchedule& HeadlessSchedule() {
    return script;
}

void HeadlessScheduleInput(uint64_t at_ms, const HostInput& input) {
    script.AddInput(at_ms, input);
}

void HeadlessScheduleKey(uint64_t at_ms, uint8_t virtual_key, bool down) {
    HostInput key;
    key.virtual_key = virtual_key;
    key.down = down;
    script.AddInput(at_ms, key);
}

void HeadlessScheduleClose(uint64_t at_ms) {
    HostInput close;
    close.kind = HostInputKind::Close;
    script.AddInput(at_ms, close);
}

void HeadlessCloseWhenScriptEnds(bool yes) {
    close_when_script_ends = yes;
}

void HeadlessScheduleWhenIdle(uint64_t at_ms, std::function<void()> task) {
    script.AddWhenIdle(at_ms, std::move(task));
}

void HeadlessScheduleProbe(uint64_t at_ms, void (*probe)(void*), void* context) {
    HeadlessScheduleWhenIdle(at_ms, [probe, context] { probe(context); });
}

void HeadlessScheduleDisplayLost(uint64_t at_ms) {
    HostInput lost;
    lost.kind = HostInputKind::Lost;
    script.AddInput(at_ms, lost);
}

void HeadlessScheduleMouse(uint64_t at_ms, int32_t x, int32_t y, bool button, bool down) {
    HostInput mouse;
    mouse.kind = HostInputKind::Mouse;
    mouse.button = button;
    mouse.down = down;
    mouse.x = x;
    mouse.y = y;
    script.AddInput(at_ms, mouse);
}

void HeadlessAdvance(uint64_t delta_ms) {
    if (clock_kind == HeadlessClock::Virtual) {
        virtual_now_ms += delta_ms;
    }
}

unsigned HeadlessMessageBoxStyle() {
    return message_box_style;
}

bool HeadlessCursorShown() {
    return cursor_shown;
}

uint64_t HeadlessPresentCount() {
    return presents;
}

std::vector<uint8_t> HeadlessLastPresentRows() {
    return last_present_rows;
}

std::vector<uint16_t> HeadlessFrame() {
    return Frame();
}
