// Game controllers as keys, driven through SDL's virtual controller: plugged in, buttons,
// the stick, held directions repeating with the keyboard's timing, and pulled out.
#include "host/sdl/gamepad.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

std::string Describe(const std::deque<HostInput>& keys) {
    std::string text;
    for (const HostInput& k : keys) {
        text += (k.down ? "down " : "up ") + std::to_string(k.virtual_key) + "; ";
    }
    return text;
}

class GamepadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        PlugIn(0);
    }

    // Plugs a virtual controller in, with every button and axis, and lets the pads see it.
    void PlugIn(uint64_t now_ms) {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.name = "test pad";
        device = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(device, 0) << SDL_GetError();
        Pump(now_ms);
        joystick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device));
        ASSERT_NE(joystick, nullptr) << "opened when it was plugged in";
    }
    void TearDown() override { SDL_Quit(); }

    // Hands every event SDL has to the gamepads, at the given time; returns the keys made.
    std::deque<HostInput> Pump(uint64_t now_ms) {
        SDL_GameControllerUpdate();
        std::deque<HostInput> keys;
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            pads.Take(e, now_ms, &keys);
        }
        return keys;
    }
    std::deque<HostInput> Button(SDL_GameControllerButton button, bool down, uint64_t now_ms) {
        SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0);
        return Pump(now_ms);
    }

    Gamepads pads;
    int device = -1;
    SDL_Joystick* joystick = nullptr;
};

TEST_F(GamepadTest, ButtonsAreTheGamesKeys) {
    using Row = std::tuple<SDL_GameControllerButton, uint8_t>;
    static const Row rows[] = {{SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0x25},
                               {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0x27},
                               {SDL_CONTROLLER_BUTTON_A, 0x20},
                               {SDL_CONTROLLER_BUTTON_BACK, 0x1B}};
    for (const auto& [button, key] : rows) {
        SCOPED_TRACE(key);
        EXPECT_EQ(Describe(Button(button, true, 100)), "down " + std::to_string(key) + "; ");
        EXPECT_EQ(Describe(Button(button, false, 110)), "up " + std::to_string(key) + "; ");
    }
    EXPECT_EQ(Describe(Button(SDL_CONTROLLER_BUTTON_Y, true, 120)), "") << "not one of the game's";
}

// A held direction repeats after 500 ms, then every 33 ms, as a held key does; the d-pad and
// the stick together hold it once.
TEST_F(GamepadTest, HeldDirection_RepeatsWithTheKeyboardsTiming) {
    Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true, 1000);
    EXPECT_EQ(pads.NextRepeat(), 1500u);
    std::deque<HostInput> keys;
    pads.Repeat(1499, &keys);
    EXPECT_TRUE(keys.empty());
    pads.Repeat(1500, &keys);
    pads.Repeat(1533, &keys);
    EXPECT_EQ(Describe(keys), "down 39; down 39; ");
    // Then a step every 10 ms: the stick pushed to a position, or the d-pad let go, and the
    // keys that makes.
    const struct {
        bool dpad_up;
        int16_t stick;
        const char* keys;
        const char* why;
    } steps[] = {
        {false, 30000, "", "already held by the d-pad"},
        {true, 30000, "", "still held by the stick"},
        {false, 12000, "", "not yet let go"},
        {false, 0, "up 39; ", "let go"},
        {false, -30000, "down 37; ", "the stick to the left"},
        {false, -12000, "", "not yet let go, to the left either"},
        {false, 0, "up 37; ", "let go"},
        {false, -12000, "", "not pushed far enough to hold"},
    };
    uint64_t at = 1540;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.why);
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, step.stick);
        EXPECT_EQ(
            Describe(step.dpad_up ? Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false, at) : Pump(at)),
            step.keys);
        at += 10;
    }
    EXPECT_EQ(pads.NextRepeat(), UINT64_MAX);
}

// Pulled out, a pad lets go of what it held; plugged in again, it plays again.
TEST_F(GamepadTest, HotPlug_PulledOutReleasesItsKeys) {
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true, 100);
    ASSERT_EQ(SDL_JoystickDetachVirtual(device), 0);
    EXPECT_EQ(Describe(Pump(200)), "up 37; ");
    PlugIn(300);
    EXPECT_EQ(Describe(Button(SDL_CONTROLLER_BUTTON_A, true, 400)), "down 32; ");
}

} // namespace
