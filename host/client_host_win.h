// The control host: puts the Flash, Shockwave or web browser control into an "AtlAxWin"
// container window, gives it the program's own client site and event sink, sets its
// properties and loads the movie or page into it.
#pragma once

#include "base/com_ptr_win.h"

#include <windows.h>
#include <ole2.h>
#include <oleidl.h>

class CClientHost;

// A COM object of the host: it implements Interface, and its IUnknown is the host's, so the
// control sees one object that offers several interfaces.
template <class Interface> class CHostPart : public Interface {
  public:
    explicit CHostPart(CClientHost* host) : pHost(host) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    CClientHost* const pHost;
};

// The client site the control is given. Every operation but the shared IUnknown answers
// E_NOTIMPL.
class CHostClientSite : public CHostPart<IOleClientSite> {
  public:
    using CHostPart::CHostPart;
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer**) override { return E_NOTIMPL; }
    STDMETHODIMP ShowObject() override { return E_NOTIMPL; }
    STDMETHODIMP OnShowWindow(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
};

// The in-place site: the control's window is its container window in the game screen.
class CHostInPlaceSite : public CHostPart<IOleInPlaceSite> {
  public:
    using CHostPart::CHostPart;
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT,
                                  LPRECT, LPOLEINPLACEFRAMEINFO) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP OnInPlaceDeactivate() override { return E_NOTIMPL; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return E_NOTIMPL; }
};

// The event sink: turns the closing event of each kind of control into a close request for
// the game screen whose background window is the host's parent.
class CHostEvent : public CHostPart<IDispatch> {
  public:
    using CHostPart::CHostPart;
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                        DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                        UINT* puArgErr) override;
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
    // For the web browser: zooms the page to nZoomPercent (nothing at 100 %), through the
    // browser's optical zoom. A browser without a page may refuse it; the loaded page asks
    // again.
    void ApplyZoom();
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
    // The web page's zoom: the game screen's scale as a percentage.
    int nZoomPercent = 100;
    CComRef<IUnknown> pControl;
    // The container's own client site, taken from the control before the host's site
    // replaces it and held until the container window is gone: the container frees itself
    // when the control lets go of its last reference to it, and then detaches the control.
    CComRef<IOleClientSite> pContainerSite;

    // The value of a Flash movie's variable as new text (free it with delete[]), or null when
    // the movie has no value for it or the host is not a Flash host.
    char* GetSwfVar(const char* name);
    // Sets a Flash movie's variable. 1 for a Flash host, whether or not the movie took the
    // value; 0 for any other host.
    int SetSwfVar(const char* name, const char* value);
};

template <class Interface>
STDMETHODIMP CHostPart<Interface>::QueryInterface(REFIID riid, void** ppv) {
    return pHost->QueryInterface(riid, ppv);
}
template <class Interface> STDMETHODIMP_(ULONG) CHostPart<Interface>::AddRef() {
    return pHost->AddRef();
}
template <class Interface> STDMETHODIMP_(ULONG) CHostPart<Interface>::Release() {
    return pHost->Release();
}
