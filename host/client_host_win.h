// The control host: puts the Flash, Shockwave or web browser control into an "AtlAxWin"
// container window, gives it the program's own client site and event sink, sets its
// properties and loads the movie or page into it.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oleidl.h>

class CClientHost;

// The client site the control is given. Every operation but the shared IUnknown answers
// E_NOTIMPL.
class CHostClientSite : public IOleClientSite {
  public:
    explicit CHostClientSite(CClientHost* host) : pHost(host) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override;
    STDMETHODIMP GetContainer(IOleContainer**) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL) override;
    STDMETHODIMP RequestNewObjectLayout() override;

    CClientHost* const pHost;
};

// The in-place site: the game screen's background window is the control's window.
class CHostInPlaceSite : public IOleInPlaceSite {
  public:
    explicit CHostInPlaceSite(CClientHost* host) : pHost(host) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override;
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT,
                                  LPRECT, LPOLEINPLACEFRAMEINFO) override;
    STDMETHODIMP Scroll(SIZE) override;
    STDMETHODIMP OnUIDeactivate(BOOL) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT) override;

    CClientHost* const pHost;
};

// The event sink: turns the closing event of each kind of control into a close request for
// the game screen whose background window is the host's parent.
class CHostEvent : public IDispatch {
  public:
    explicit CHostEvent(CClientHost* host) : pHost(host) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT*) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                        DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                        UINT* puArgErr) override;

    CClientHost* const pHost;
};

// One COM identity for the host and its three objects: they share nRefCount, and reference
// counting never deletes anything; the host lives as long as its game-screen record.
class CClientHost : public IUnknown {
  public:
    CClientHost() = default;
    // Runs CloseHost. A container window still open goes now (the control must not outlive
    // the objects it calls); then the control and the container's site are released.
    virtual ~CClientHost();
    CClientHost(const CClientHost&) = delete;
    CClientHost& operator=(const CClientHost&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // Creates the container window and the control, connects the sink and sets the
    // properties. 1 on success; 0 after a silent failure, or after the error box for an
    // invalid host kind.
    int InitHost(HWND hParent, int nKind, const char* text, DWORD style, int clrBackground, int x,
                 int y, int width, int height, int nQuality);
    // Loads the page or movie. 1 on success, 0 when the control refuses it.
    int OpenUrl(const char* name);
    // For the web browser: polls get_Busy every 500 ms, at most ten times.
    void WaitBusy();
    // For the web browser: waits while busy, then brings its window to the top.
    void ActivateHost();
    // Writes its markers; the control goes away with its container window.
    void CloseHost();

    CHostClientSite* pClientSite = nullptr;
    CHostInPlaceSite* pInPlaceSite = nullptr;
    CHostEvent* pHostEvent = nullptr;
    LONG nRefCount = 0;
    HWND hWndControl = nullptr;
    HWND hWndParent = nullptr;
    int nBrowserType = 0;
    IUnknown* pControl = nullptr;
    // The container's own client site, taken from the control before the host's site
    // replaces it and held until the container window is gone: the container frees itself
    // when the control lets go of its last reference to it, and then detaches the control.
    IOleClientSite* pContainerSite = nullptr;

  private:
    int Fail(const char* text, IUnknown* obtained1, IUnknown* obtained2, IUnknown* obtained3);
};
