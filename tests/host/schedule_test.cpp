// A script's keys as every host's schedule hands them over, the clock stepped a millisecond
// at a time: a tap's down and up a millisecond apart; a hold (for a number of milliseconds)
// repeats 500 ms after it went down, then every 33 ms while the repeats fall before its up.
#include "host/schedule.h"
#include "host/script.h"
#include "host/virtual_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using Taken = std::tuple<uint64_t, uint8_t, bool>; // when, which key, down

std::vector<Taken> TakenOver(const std::string& script, uint64_t until_ms) {
    std::vector<ScriptEvent> events;
    std::string error;
    EXPECT_TRUE(ParseScript(script, &events, &error)) << error;
    EventSchedule schedule;
    ScheduleScript(events, 0, &schedule, [](const std::string&) {});
    std::vector<Taken> taken;
    HostInput input;
    for (uint64_t now = 0; now <= until_ms; ++now) {
        while (schedule.TakeInput(now, &input)) {
            taken.emplace_back(now, input.virtual_key, input.down);
        }
    }
    return taken;
}

TEST(ScriptSchedule, KeysAreTakenWhenDue) {
    const uint8_t left = vk::kLeft, right = vk::kRight, space = vk::kSpace;
    const struct {
        const char* script;
        std::vector<Taken> taken;
    } rows[] = {
        {"10 key Left\n", {{10, left, true}, {11, left, false}}},
        {"0 hold Right 500\n", {{0, right, true}, {500, right, false}}},
        {"0 hold Right 570\n",
         {{0, right, true},
          {500, right, true},
          {533, right, true},
          {566, right, true},
          {570, right, false}}},
        {"100 hold Left 300\n120 key Space\n", // held for 300 ms, tapped meanwhile
         {{100, left, true}, {120, space, true}, {121, space, false}, {400, left, false}}},
        {"100 hold Left 600\n",
         {{100, left, true},
          {600, left, true},
          {633, left, true},
          {666, left, true},
          {699, left, true},
          {700, left, false}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.script);
        EXPECT_EQ(TakenOver(row.script, 2000), row.taken);
    }
}

} // namespace
