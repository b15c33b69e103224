// Zobu 4: the process-wide state that the shell, the game and the panel share.
//
// All of it starts zeroed before WinMain runs and lives until the process ends. Only the
// thread that runs WinMain touches it, so there is no lock.
#pragma once

#include <windows.h>

class Screen;
class Image;

extern HWND mainWindow;       // set once by WinMain; the owner of every timer
extern WNDCLASSA windowClass; // the main window's class, filled by WinMain
extern MSG msg;               // the message loop's one message record
extern Screen* gameScreen;    // the display device; never released
extern Image* background;     // 640 x 480; released by StopGame
extern Image* speedText;      // the speed figure, remade for every frame; never released
extern HWND scorePanel;       // null until start-up opens the panel, and after it is gone
extern HBITMAP panelSkin;     // the panel's skin; never released
