// Zobu 4: the process-wide state.
#include "app/state.h"

HWND mainWindow = nullptr;
WNDCLASSA windowClass = {};
MSG msg = {};
Screen* gameScreen = nullptr;
Image* background = nullptr;
Image* speedText = nullptr;
HWND scorePanel = nullptr;
HBITMAP panelSkin = nullptr;
