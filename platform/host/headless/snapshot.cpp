// Zobu 4 platform floor: the headless host's snapshots, as PNG files.
#include "headless.h"

#include "../png_file.h"

void HeadlessScheduleSnapshot(uint64_t at_ms, const std::string& path, uint64_t order) {
    HeadlessSchedule().AddWhenIdle(
        at_ms, [path] { WriteSnapshotPng(path, HeadlessFrame().data()); }, order);
}
