// The score panel over the game's window, as start-up makes them: a shown pop-up window in
// DirectDraw's exclusive full-screen mode (so it covers the display), and on request the
// primary surface with its back buffer and a clipper bound to that window.
#pragma once

#include "support/ddraw_helpers.h"

class PanelTest : public DirectDrawTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the panel from its template, owned by the game's window; sets scorePanel.
    void OpenPanel();
    // Destroys it, and deletes the skin the program itself would keep until it ends.
    void ClosePanel();
    // Dispatches every WM_PAINT waiting, parents before children, as the loop would.
    void PaintAll();
    // The primary and its back buffer, with a clipper bound to the game's window.
    void OpenDisplay();
    // Presents the back buffer onto the primary through the clipper.
    void Present();

    IDirectDrawSurface7* primary = nullptr;
    IDirectDrawSurface7* back = nullptr;
};
