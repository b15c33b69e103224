// Zobu 4: the browser's entry point. The page (page.js) starts the program
// once the art is in its file system, with the page's own options as arguments:
//
//   --script FILE   replay FILE on the headless host's virtual clock, as the tests do: the
//                   page shows the run and keeps each snapshot for the tests to read
//   --tick N        the tick count to start at (it seeds the Pot), read as the desktop reads
//                   it; else from the time of day
//
// WinMain's result goes back to the page, which says that the game ended.
#include <windows.h>

#include "host/headless/headless.h"
#include "host/host.h"
#include "host/script.h"
#include "host/web/web_host.h"
#include "kernel/embedded_resources.h"
#include "kernel/resources.h"

#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <string>
#include <vector>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

namespace {

// The headless host, with the page shown what it presents.
HostOps ReplayHost() {
    HostOps ops = *HeadlessHost();
    ops.present = [](const uint16_t* pixels, int pitch_bytes, const uint8_t* rows_changed) {
        HeadlessHost()->present(pixels, pitch_bytes, rows_changed);
        WebHostPresent(pixels, pitch_bytes, rows_changed);
    };
    return ops;
}

// Ends the run before WinMain, with one line on the console and the page told the status.
int Refuse(const std::string& what, int status) {
    fprintf(stderr, "zobu4: %s\n", what.c_str());
    WebHostEnded(status);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    std::string script_path;
    uint64_t tick = static_cast<uint64_t>(time(nullptr)) * 1000 % 0xFFFFFFFFu;
    bool tick_given = false;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--script") {
            script_path = argv[i + 1];
        } else if (option == "--tick") {
            tick_given = true;
            if (!ParseTick(argv[i + 1], &tick)) {
                return Refuse("--tick takes a whole number from 0 to 4294967295", 2);
            }
        }
    }

    std::string error;
    if (!KernelSetModuleResources(kEmbeddedModuleResources, kEmbeddedModuleResourcesSize, &error)) {
        return Refuse("the program's own resources are damaged: " + error, 1);
    }
    static HostOps replay; // outlives its use, as HostInstall asks
    if (script_path.empty()) {
        HostInstall(WebHostOpen(tick));
    } else {
        std::vector<ScriptEvent> events;
        uint64_t script_tick = 0;
        bool has_tick = false;
        if (!LoadScript(script_path, &events, &has_tick, &script_tick, &error)) {
            return Refuse(error, 2);
        }
        if (!tick_given) {
            tick = has_tick ? script_tick : 0;
        }
        HeadlessReset(HeadlessClock::Virtual, tick);
        replay = ReplayHost();
        HostInstall(&replay);
        ScheduleScript(events, tick, &HeadlessSchedule(),
                       [](const std::string& name) { WebHostKeepSnapshot(name, HeadlessFrame()); });
        HeadlessCloseWhenScriptEnds(true);
    }
    char command_line[] = "";
    const int status = WinMain(GetModuleHandleA(nullptr), nullptr, command_line, SW_SHOWDEFAULT);
    WebHostEnded(status);
    return status;
}
