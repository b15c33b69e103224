// A platform with the game's main window and a score panel, and the game objects at their
// start values.
#pragma once

#include "support/platform_fixture.h"

#include <string>

class GameTest : public PlatformTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // What the score panel's edit box shows.
    std::string ScoreText();
};
