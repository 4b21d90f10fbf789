#include "host/client_host_win.h"

#include "base/wide_win.h"
#include "base/com_ptr_win.h"
#include "base/diag.h"
#include "base/globals_win.h"
#include "base/scoped_win.h"
#include "base/messages.h"
#include "host/control_interfaces_win.h"
#include "host/host_text.h"
#include "host/library_win.h"

#include <ocidl.h>

#include <string>

const IID IID_IShockwaveFlash = {
    0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID DIID__IShockwaveFlashEvents = {
    0xD27CDB6D, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID IID_IShockwaveCtl = {
    0x166B1BC8, 0x3F9C, 0x11CF, {0x80, 0x75, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID DIID__ShockwaveEvents = {
    0x166B1BC9, 0x3F9C, 0x11CF, {0x80, 0x75, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

HRESULT PutShockwaveSetting(IShockwaveCtl* control, int nSlot, BSTR value) {
    switch (nSlot) {
    case 58:
        return control->put_Setting58(value);
    case 60:
        return control->put_Setting60(value);
    case 64:
        return control->put_Setting64(value);
    case 66:
        return control->put_Setting66(value);
    case 68:
        return control->put_Setting68(value);
    case 70:
        return control->put_Setting70(value);
    case 74:
        return control->put_StretchStyle(value);
    case 76:
        return control->put_StretchHAlign(value);
    case 78:
        return control->put_StretchVAlign(value);
    default:
        return E_INVALIDARG;
    }
}

namespace {

// Makes a BSTR of the text, hands it to put, frees it. The result of put, or E_OUTOFMEMORY.
template <class Put> HRESULT PutText(const char* text, Put put) {
    CBstr value{Utf8ToBstr(text)};
    if (!value)
        return E_OUTOFMEMORY;
    return put(value.Get());
}

// What InitHost needs per host kind: the container's ProgID, the event interface, and the
// markers and failure texts of the steps that differ by kind.
struct HostKindSteps {
    const char* progId;
    const char* createMarker;
    const char* createFailure;
    const IID* eventIid;
    const char* findMarker;
    const char* findFailure;
};

const HostKindSteps& StepsOf(int nKind) {
    static const HostKindSteps kSteps[] = {
        {},
        {kWebBrowserProgId, "CClientHost::InitHost at2", "CreateWindow for web browser failed",
         &DIID_DWebBrowserEvents2, "CClientHost::InitHost at8",
         "FindConnectionPoint for DIID_DWebBrowserEvents2 failed"},
        {kShockwaveProgId, "CClientHost::InitHost at3", "CreateWindow for shockwave control failed",
         &DIID__ShockwaveEvents, "CClientHost::InitHost at9",
         "FindConnectionPoint for DIID__ShockwaveEvents failed"},
        {"ShockwaveFlash.ShockwaveFlash.1", "CClientHost::InitHost at4",
         "CreateWindow for shockwave control failed", &DIID__IShockwaveFlashEvents,
         "CClientHost::InitHost at10",
         "FindConnectionPoint for DIID__IShockwaveFlashEvents failed"},
    };
    return kSteps[nKind];
}

} // namespace

// ---- CClientHost as IUnknown ------------------------------------------------------------

STDMETHODIMP CClientHost::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_INVALIDARG;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown))
        *ppv = static_cast<IUnknown*>(this);
    else if (IsEqualIID(riid, IID_IOleClientSite))
        *ppv = pClientSite;
    else if (IsEqualIID(riid, IID_IOleInPlaceSite))
        *ppv = pInPlaceSite;
    else if (IsEqualIID(riid, DIID_DWebBrowserEvents2) || IsEqualIID(riid, DIID__ShockwaveEvents) ||
             IsEqualIID(riid, DIID__IShockwaveFlashEvents))
        *ppv = pHostEvent;
    if (!*ppv)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CClientHost::AddRef() {
    return static_cast<ULONG>(++nRefCount);
}

// Never deletes: the host belongs to its game-screen record.
STDMETHODIMP_(ULONG) CClientHost::Release() {
    return static_cast<ULONG>(--nRefCount);
}

CClientHost::~CClientHost() {
    CloseHost();
    // A host normally dies after its container window. When the window is still there (a
    // record deleted while its game screen is open), it goes first, so that the control
    // detaches while the host's objects it calls are still valid. Then the control and the
    // container's own site are let go. After the container library has been freed (at program
    // end) nothing of it is touched: its code is gone, and so is the process soon.
    if (g_AtlLib.hModule) {
        if (hWndControl && IsWindow(hWndControl) && GetParent(hWndControl) == hWndParent)
            DestroyWindow(hWndControl);
        pControl.Reset();
        pContainerSite.Reset();
    }
    // Otherwise the references are dropped without a call into the library's freed code.
    pControl.Detach();
    pContainerSite.Detach();
}

// ---- InitHost ---------------------------------------------------------------------------

int CClientHost::InitHost(HWND hParent, int nKind, const char* text, DWORD style, int clrBackground,
                          int x, int y, int width, int height, int nQuality) {
    WriteLog("CClientHost::InitHost at1");
    nBrowserType = nKind;
    nRefCount = 1;
    hWndParent = hParent;

    // Made once per host, and kept for the host's lifetime: the control may call them until
    // its container window is gone.
    if (!pClientSite)
        pClientSite = new CHostClientSite(this);
    if (!pInPlaceSite)
        pInPlaceSite = new CHostInPlaceSite(this);
    if (!pHostEvent)
        pHostEvent = new CHostEvent(this);

    if (!IsValidHostKind(nKind)) {
        ShowError("Invalid nBrowserType specified");
        return 0;
    }

    // Every reference obtained below is given back on the way out, whichever way that is; a
    // failure leaves the container window to go with its parent.
    const HostKindSteps& steps = StepsOf(nKind);
    WriteLog(steps.createMarker);
    hWndControl = CreateWindowExW(0, L"AtlAxWin", Wide(steps.progId).c_str(), style, x, y, width,
                                  height, hParent, nullptr, g_hInstance, nullptr);
    if (!hWndControl) {
        ReportFailure(steps.createFailure);
        return 0;
    }
    CComRef<IUnknown> unknown;
    if (nKind == kHostWebBrowser) {
        g_AtlLib.AxGetControl(hWndControl, unknown.Out());
    } else if (nKind == kHostShockwave) {
        SetWindowTextW(hWndControl, Wide(text).c_str());
        ShowWindow(hWndControl, SW_SHOW);
        UpdateWindow(hWndControl);
        g_AtlLib.AxGetControl(hWndControl, unknown.Out());
    } else {
        WriteLog("CClientHost::InitHost at4a");
        SetWindowTextW(hWndControl, Wide(text).c_str());
        WriteLog("CClientHost::InitHost at4b");
        ShowWindow(hWndControl, SW_SHOW);
        WriteLog("CClientHost::InitHost at4c");
        UpdateWindow(hWndControl);
        WriteLog("CClientHost::InitHost at4d");
        g_AtlLib.AxGetControl(hWndControl, unknown.Out());
        WriteLog("CClientHost::InitHost at4e");
    }
    if (!unknown)
        return 0;

    WriteLog("CClientHost::InitHost at5");
    CComRef<IOleObject> oleObject;
    if (FAILED(unknown->QueryInterface(IID_IOleObject, oleObject.OutVoid()))) {
        ReportFailure("QueryInterface for client site failed");
        return 0;
    }

    WriteLog("CClientHost::InitHost at6");
    if (!pContainerSite)
        oleObject->GetClientSite(pContainerSite.Out());
    if (FAILED(oleObject->SetClientSite(pClientSite))) {
        ReportFailure("SetClientSite failed");
        return 0;
    }

    WriteLog("CClientHost::InitHost at7");
    CComRef<IConnectionPointContainer> container;
    if (FAILED(unknown->QueryInterface(IID_IConnectionPointContainer, container.OutVoid()))) {
        ReportFailure("QueryInterface for IID_IConnectionPointContainer failed");
        return 0;
    }

    WriteLog(steps.findMarker);
    CComRef<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(*steps.eventIid, point.Out())) || !point) {
        ReportFailure(steps.findFailure);
        return 0;
    }

    WriteLog("CClientHost::InitHost at11");
    DWORD cookie = 0; // the connection is never broken: the cookie is not kept
    if (FAILED(point->Advise(pHostEvent, &cookie))) {
        ReportFailure("pConnectionPoint->Advise failed");
        return 0;
    }

    WriteLog("CClientHost::InitHost at12");
    if (nKind == kHostWebBrowser) {
        WriteLog("CClientHost::InitHost at14");
        CComRef<IWebBrowser2> browser;
        if (FAILED(unknown->QueryInterface(IID_IWebBrowser2, browser.OutVoid()))) {
            ReportFailure("QueryInterface for IID_IWebBrowser2 failed");
            return 0;
        }
        browser->put_Visible(1);
        browser->put_Silent(VARIANT_TRUE);
        pControl.Attach(browser.Detach());
    } else if (nKind == kHostShockwave) {
        WriteLog("CClientHost::InitHost at15");
        CComRef<IShockwaveCtl> shockwave;
        if (FAILED(unknown->QueryInterface(IID_IShockwaveCtl, shockwave.OutVoid()))) {
            ReportFailure("QueryInterface for IID_IShockwaveCtl failed");
            return 0;
        }
        for (const ShockwaveSetting& setting : kShockwaveSettings)
            PutText(setting.value, [&](BSTR value) {
                return PutShockwaveSetting(shockwave.Get(), setting.nSlot, value);
            });
        pControl.Attach(shockwave.Detach());
    } else {
        WriteLog("CClientHost::InitHost at16");
        CComRef<IShockwaveFlash> flash;
        if (FAILED(unknown->QueryInterface(IID_IShockwaveFlash, flash.OutVoid()))) {
            ReportFailure("QueryInterface for IID_IShockwaveFlash failed");
            return 0;
        }
        char color[16];
        FormatFlashColor(color, sizeof color,
                         static_cast<unsigned long>(clrBackground) & 0xFFFFFFFFul);
        PutText(color, [&](BSTR value) { return flash->put_BGColor(value); });
        PutText(FlashQualityText(nQuality), [&](BSTR value) { return flash->put_Quality2(value); });
        PutText("Opaque", [&](BSTR value) { return flash->put_WMode(value); });
        pControl.Attach(flash.Detach());
    }

    WriteLog("CClientHost::InitHost at17");
    SetFocus(hWndControl);
    return 1;
}

// ---- Loading and the browser's waits ----------------------------------------------------

int CClientHost::OpenUrl(const char* name) {
    CBstr url{Utf8ToBstr(name)};
    WriteLog("CClientHost::OpenUrl at1");
    if (!url)
        return 0;
    int result = 1;
    // Without a control (InitHost failed or never ran) there is nothing to load into.
    if (IsValidHostKind(nBrowserType) && !pControl) {
        result = 0;
    } else if (nBrowserType == kHostWebBrowser) {
        VARIANT flags{}, empty{};
        flags.vt = VT_I4;
        flags.lVal = navNoHistory;
        empty.vt = VT_I4;
        empty.lVal = 0;
        VARIANT target = empty, postData = empty, headers = empty;
        // A refused navigation fails the load; the program goes on.
        if (FAILED(static_cast<IWebBrowser2*>(pControl.Get())
                       ->Navigate(url.Get(), &flags, &target, &postData, &headers)))
            result = 0;
    } else if (nBrowserType == kHostShockwave) {
        if (FAILED(static_cast<IShockwaveCtl*>(pControl.Get())->put_SRC(url.Get()))) {
            std::string text = "put_SRC failed for shockwave movie\n\nmovie=";
            ReportFailure((text + name).c_str());
            result = 0;
        }
    } else if (nBrowserType == kHostFlash) {
        if (FAILED(static_cast<IShockwaveFlash*>(pControl.Get())->put_Movie(url.Get()))) {
            std::string text = "put_Movie failed for flash movie\n\nmovie=";
            ReportFailure((text + name).c_str());
            result = 0;
        }
    }
    if (!result)
        return 0;
    ApplyZoom();
    WriteLog("CClientHost::OpenUrl at2");
    return 1;
}

void CClientHost::ApplyZoom() {
    if (!pControl || nBrowserType != kHostWebBrowser || nZoomPercent == 100)
        return;
    VARIANT percent{};
    percent.vt = VT_I4;
    percent.lVal = nZoomPercent;
    static_cast<IWebBrowser2*>(pControl.Get())
        ->ExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &percent, nullptr);
}

void CClientHost::WaitBusy() {
    WriteLog("WaitBusy at1");
    if (!pControl || nBrowserType != kHostWebBrowser)
        return;
    IWebBrowser2* browser = static_cast<IWebBrowser2*>(pControl.Get());
    for (int poll = 0; poll < 10; ++poll) {
        Sleep(500);
        VARIANT_BOOL busy = VARIANT_FALSE;
        // A browser that cannot tell counts as idle.
        if (FAILED(browser->get_Busy(&busy)) || busy == VARIANT_FALSE)
            break;
    }
}

void CClientHost::ActivateHost() {
    if (!pControl || nBrowserType != kHostWebBrowser)
        return;
    WaitBusy();
    SHANDLE_PTR handle = 0;
    if (static_cast<IWebBrowser2*>(pControl.Get())->get_HWND(&handle) == S_OK)
        BringWindowToTop(reinterpret_cast<HWND>(handle));
}

void CClientHost::CloseHost() {
    WriteLog("CClientHost::CloseHost at1");
    WriteLog("CClientHost::CloseHost at2");
    WriteLog("CClientHost::CloseHost at3");
    WriteLog("CClientHost::CloseHost at4");
}

// ---- The in-place site and the sink ------------------------------------------------------

STDMETHODIMP CHostInPlaceSite::GetWindow(HWND* phwnd) {
    if (!phwnd)
        return E_POINTER;
    // The container window: a control that makes a window of its own puts it inside this one
    // at (0, 0), which must be the game area, not the whole game screen.
    *phwnd = pHost->hWndControl ? pHost->hWndControl : pHost->hWndParent;
    return S_OK;
}
STDMETHODIMP CHostInPlaceSite::GetWindowContext(IOleInPlaceFrame** ppFrame,
                                                IOleInPlaceUIWindow** ppDoc, LPRECT, LPRECT,
                                                LPOLEINPLACEFRAMEINFO) {
    if (ppFrame)
        *ppFrame = nullptr;
    if (ppDoc)
        *ppDoc = nullptr;
    return S_OK;
}

namespace {

// The address of a DocumentComplete event: its last argument (rgvarg[0]) refers by reference
// to a variant that holds the address as a BSTR, directly or by reference. Null for any other
// shape.
BSTR DocumentAddress(const DISPPARAMS* params) {
    if (!params || params->cArgs < 1 || !params->rgvarg)
        return nullptr;
    const VARIANT& outer = params->rgvarg[0];
    if (outer.vt != (VT_VARIANT | VT_BYREF) || !outer.pvarVal)
        return nullptr;
    const VARIANT& inner = *outer.pvarVal;
    if (inner.vt == VT_BSTR)
        return inner.bstrVal;
    if (inner.vt == (VT_BSTR | VT_BYREF) && inner.pbstrVal)
        return *inner.pbstrVal;
    return nullptr;
}

// The game asked to close: its game screen's background window decides whether it does.
void RequestClose(HWND hWndParent) {
    PostMessageW(hWndParent, kMsgHostAsksClose, 0, 0);
}

} // namespace

STDMETHODIMP CHostEvent::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS* pDispParams,
                                VARIANT*, EXCEPINFO*, UINT*) {
    WriteLog("CHostEvent::Invoke");
    switch (pHost->nBrowserType) {
    case kHostWebBrowser:
        WriteLog("CHostEvent::Invoke at2");
        if (dispIdMember == DISPID_DOCUMENTCOMPLETE) {
            char* address = BstrToUtf8(DocumentAddress(pDispParams));
            if (!address)
                break;
            bool close = IsCloseWindowAddress(address);
            delete[] address;
            if (close)
                RequestClose(pHost->hWndParent);
            else
                pHost->ApplyZoom(); // a new page has the browser's own zoom
        }
        break;
    case kHostShockwave:
        WriteLog("CHostEvent::Invoke at3");
        if (dispIdMember == kDispIdShockwaveClose)
            RequestClose(pHost->hWndParent);
        break;
    case kHostFlash:
        WriteLog("CHostEvent::Invoke at4");
        if (dispIdMember == kDispIdFlashFsCommand)
            RequestClose(pHost->hWndParent);
        break;
    default:
        return E_NOTIMPL;
    }
    return S_OK;
}

// ---- A Flash movie's variables -------------------------------------------------------------

char* CClientHost::GetSwfVar(const char* name) {
    if (nBrowserType != kHostFlash)
        return nullptr;
    CBstr wideName{Utf8ToBstr(name)};
    WriteLog("CClientHost::GetSwfVar at1");
    char* text = nullptr;
    // Any failure on the way (no control, no memory, no such variable) just gives no value.
    if (wideName && pControl) {
        CBstr value;
        if (SUCCEEDED(static_cast<IShockwaveFlash*>(pControl.Get())
                          ->GetVariable(wideName.Get(), value.Out())) &&
            value)
            text = BstrToUtf8(value.Get());
    }
    WriteLog("CClientHost::GetClientVar at2");
    return text;
}

int CClientHost::SetSwfVar(const char* name, const char* value) {
    if (nBrowserType != kHostFlash)
        return 0;
    WriteLog("CClientHost::SetSwfVar at1");
    CBstr wideValue{Utf8ToBstr(value)};
    CBstr wideName{Utf8ToBstr(name)};
    // Whether the movie took the value is not asked: a refusal changes nothing here.
    if (wideValue && wideName && pControl)
        static_cast<IShockwaveFlash*>(pControl.Get())->SetVariable(wideName.Get(), wideValue.Get());
    WriteLog("CClientHost::SetSwfVar at2");
    return 1;
}
