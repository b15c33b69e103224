// The score panel over the game's window.
#include "panel/panel_fixture.h"

#include "app/state.h"
#include "kernel/embedded_resources.h"
#include "kernel/resources.h"
#include "panel/score_panel.h"
#include "res/resource.h"

void PanelTest::SetUp() {
    DirectDrawTest::SetUp();
    std::string error;
    ASSERT_TRUE(
        KernelSetModuleResources(kEmbeddedModuleResources, kEmbeddedModuleResourcesSize, &error))
        << error;
    mainWindow = window;
}

void PanelTest::TearDown() {
    if (scorePanel) {
        ClosePanel();
    }
    if (back) {
        back->Release();
    }
    if (primary) {
        EXPECT_EQ(primary->Release(), 0u);
    }
    mainWindow = nullptr;
    DirectDrawTest::TearDown();
}

void PanelTest::OpenPanel() {
    scorePanel = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SCORE),
                                    mainWindow, ScorePanelProc, 0);
    ASSERT_NE(scorePanel, nullptr);
}

void PanelTest::ClosePanel() {
    DestroyWindow(scorePanel);
    EXPECT_EQ(scorePanel, nullptr) << "forgotten on WM_DESTROY";
    DeleteObject(panelSkin);
    panelSkin = nullptr;
}

void PanelTest::PaintAll() {
    MSG m = {};
    while (PeekMessageA(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        DispatchMessageA(&m);
    }
}

void PanelTest::OpenDisplay() {
    MakePrimary(dd, &primary, &back);
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_HR(DD_OK, dd->CreateClipper(0, &clipper, nullptr));
    clipper->SetHWnd(0, window);
    ASSERT_HR(DD_OK, primary->SetClipper(clipper));
    clipper->Release();
}

void PanelTest::Present() {
    ASSERT_HR(DD_OK, primary->Blt(nullptr, back, nullptr, DDBLT_WAIT, nullptr));
}
