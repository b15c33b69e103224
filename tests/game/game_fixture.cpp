// A platform with the game's main window and a score panel.
#include "game/game_fixture.h"

#include "app/state.h"
#include "game/dropper.h"
#include "game/falling_item.h"
#include "game/pot.h"
#include "res/resource.h"

#include <stdlib.h>

namespace {
// Puts a game object back to the values it was constructed with.
template <typename T> void ResetToStart(T& object) {
    object = T();
}
} // namespace

void GameTest::SetUp() {
    PlatformTest::SetUp();
    ResetToStart(Dropper);
    ResetToStart(Pot);
    ResetToStart(FallingItem);
    srand(1);
    mainWindow = MakeWindow(WS_POPUP | WS_VISIBLE);
    scorePanel = MakeWindow(WS_POPUP | WS_VISIBLE, mainWindow);
    MakeWindow(WS_CHILD | WS_VISIBLE, scorePanel, IDC_SCORE);
}

void GameTest::TearDown() {
    mainWindow = nullptr;
    scorePanel = nullptr;
    PlatformTest::TearDown();
}

std::string GameTest::ScoreText() {
    char text[256] = {};
    SendDlgItemMessageA(scorePanel, IDC_SCORE, WM_GETTEXT, sizeof text,
                        reinterpret_cast<LPARAM>(text));
    return text;
}
