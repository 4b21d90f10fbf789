#include "screen/game_session_win.h"

#include "base/messages.h"
#include "platform/pad_win.h"
#include "screen/monitors_win.h"

namespace {

class CWinGameDesktop : public IGameDesktop {
  public:
    CWinGameDesktop(HWND hMenuWnd, const PadMapping& mapping, CBusyCursor* busy)
        : hMenu(hMenuWnd), pad(mapping), pBusy(busy) {}

    void GiveControllers(std::uintptr_t gameScreen, std::uint32_t processId) override {
        g_Pads.BeginGame(pad, reinterpret_cast<HWND>(gameScreen), processId);
    }
    void TakeControllersBack() override { g_Pads.EndGame(); }
    void EndBusyCursor() override {
        if (pBusy)
            pBusy->End();
        pBusy = nullptr; // the launch path's cursor may be gone by the session's end
    }
    void HideCursor() override {
        while (::ShowCursor(FALSE) >= 0) {
        }
    }
    void ShowCursor() override { ::ShowCursor(TRUE); }
    void TellMenuStarted() override {
        if (hMenu)
            SendMessageW(hMenu, kMsgGameStarted, 0, 0);
    }
    bool MenuOpen() override { return hMenu && IsWindow(hMenu); }
    void TellMenuEnded(int nCloseKind) override {
        SendMessageW(hMenu, kMsgGameEnded, static_cast<WPARAM>(nCloseKind), 0);
    }
    void Quit() override { PostQuitMessage(0); }

  private:
    HWND hMenu;
    PadMapping pad;
    CBusyCursor* pBusy;
};

} // namespace

std::unique_ptr<CGameSession> MakeGameSession(const ScreenRequest& request, int nCloseKind,
                                              HWND hMenu, const PadMapping& pad,
                                              CBusyCursor* busy) {
    // A mode switch applies to the display of the menu's monitor (the pointer's, without a
    // menu), and is given back there.
    g_DisplayMode.UseDevice(MonitorOfWindow(hMenu).device);
    return std::make_unique<CGameSession>(std::make_unique<CWinGameDesktop>(hMenu, pad, busy),
                                          g_DisplayMode, request, nCloseKind);
}
