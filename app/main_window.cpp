// Zobu 4: WinMain, the main window and the message loop.
#include "app/shell.h"

#include "app/state.h"
#include "game/dropper.h"
#include "game/falling_item.h"
#include "res/resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "ZOBU4";
    RegisterClassA(&windowClass);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCEL));
    mainWindow = CreateWindowExA(0, "ZOBU4", "Zobu 4", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    // A start-up that failed is a failure: the loop is not entered, no frame is composed,
    // and the program says so with its exit status.
    if (FAILED(StartGame(mainWindow))) {
        return 1;
    }
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        // The main window is the target whatever window the key was for, so the four keys
        // work while the score panel's edit box has the focus.
        TranslateAcceleratorA(mainWindow, accelerators, &msg);
        RenderFrame();
        DispatchMessageA(&msg);
    }
    return 0;
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        StopGame();
        PostQuitMessage(0);
        break;
    case WM_SETCURSOR:
        SetCursor(nullptr); // no cursor over the game
        return 1;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case ID_QUIT:
            StopGame();
            PostQuitMessage(0);
            break;
        case ID_MOVE_LEFT:
            Dropper.Step(0);
            break;
        case ID_MOVE_RIGHT:
            Dropper.Step(1);
            break;
        case ID_DROP:
            OnDropCommand();
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
