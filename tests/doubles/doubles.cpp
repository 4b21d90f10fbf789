// In-process COM servers standing in for the Flash, Shockwave and web browser controls and for
// the separate browser's automation object. Each writes every call it receives to a journal, can be
// told by a script to refuse an interface or fail a call, and fires its events on cue. The
// controls' own interfaces are built here as raw tables of slots, independently of the launcher's
// declarations, so that a call through a wrong slot shows up in the journal as the slot it really
// reached.
#include "doubles/doubles.h"

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>
#include <olectl.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

class CDouble;

namespace {

LONG g_objects = 0;
LONG g_locks = 0;
HINSTANCE g_module = nullptr;

enum Kind { kFlash, kShockwave, kBrowser, kApplication };
constexpr int kKinds = 4;

// The own interface of each kind, as the journal and the script name it.
const char* const kOwnNames[] = {"IShockwaveFlash", "IShockwaveCtl", "IWebBrowser2",
                                 "IWebBrowser2"};
// The object itself, in the journal's lines of creation and destruction.
const char* const kObjectNames[] = {"IShockwaveFlash", "IShockwaveCtl", "IWebBrowser2",
                                    "InternetExplorer.Application"};

const IID kOwnIids[] = {
    {0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}},
    {0x166B1BC8, 0x3F9C, 0x11CF, {0x80, 0x75, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}},
    {0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}},
    {0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}}};
const IID kEventIids[] = {
    {0xD27CDB6D, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}},
    {0x166B1BC9, 0x3F9C, 0x11CF, {0x80, 0x75, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}},
    {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}},
    {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}}};
// The "WebBrowser" class's own interface IWebBrowser (the ancestor of IWebBrowser2) and
// IWebBrowserApp are answered with the same table.
const IID kIidWebBrowser = {
    0xEAB22AC1, 0x30C1, 0x11CF, {0xA7, 0xEB, 0x00, 0x00, 0xC0, 0x5B, 0xAE, 0x0B}};
const IID kIidWebBrowserApp = {
    0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// ---- Journal and script -----------------------------------------------------------------

std::string Narrow(const wchar_t* text) {
    if (!text)
        return "(null)";
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return "";
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &result[0], size, nullptr, nullptr);
    result.resize(static_cast<std::size_t>(size - 1));
    return result;
}

BSTR Wide(const std::string& text) {
    int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(size > 0 ? size - 1 : 0));
    if (result && size > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, result, size);
    return result;
}

// The process's environment (not the C library's copy): a test sets it in-process.
std::string Env(const char* name) {
    char value[MAX_PATH * 2];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

void Journal(const std::string& line) {
    std::string path = Env(TOVAK_DOUBLE_JOURNAL_ENV);
    if (path.empty())
        return;
    if (std::FILE* file = std::fopen(path.c_str(), "a")) {
        std::fputs((line + "\n").c_str(), file);
        std::fclose(file);
    }
}

std::vector<std::string> ScriptLines() {
    std::vector<std::string> lines;
    std::string path = Env(TOVAK_DOUBLE_SCRIPT_ENV);
    if (path.empty())
        return lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

bool ScriptHas(const std::string& line) {
    for (const std::string& l : ScriptLines())
        if (l == line)
            return true;
    return false;
}

// The browser-emulation value of the current user named after this program's file name, as
// a number, or "none".
std::string BrowserEmulation() {
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, sizeof module);
    DWORD value = 0, size = sizeof value;
    return RegGetValueA(HKEY_CURRENT_USER,
                        "Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\"
                        "FEATURE_BROWSER_EMULATION",
                        std::strrchr(module, '\\') + 1, RRF_RT_REG_DWORD, nullptr, &value,
                        &size) == ERROR_SUCCESS
               ? std::to_string(value)
               : "none";
}

std::string VariantText(const VARIANT* v) {
    if (!v)
        return "null";
    char text[64];
    if (v->vt == VT_I4)
        std::snprintf(text, sizeof text, "I4:%ld", static_cast<long>(v->lVal));
    else if (v->vt == VT_EMPTY)
        std::snprintf(text, sizeof text, "EMPTY");
    else
        std::snprintf(text, sizeof text, "vt%u", static_cast<unsigned>(v->vt));
    return text;
}

std::vector<CDouble*> g_live;
HWND g_cueWindow = nullptr;

// ---- The own interface as a raw table of slots -------------------------------------------

struct RawInterface {
    void* const* vtbl;
    CDouble* owner;
};

CDouble* Owner(RawInterface* self) {
    return self->owner;
}

} // namespace

class CDouble : public IOleObject,
                public IOleInPlaceObject,
                public IPersistStreamInit,
                public IConnectionPointContainer,
                public IConnectionPoint {
  public:
    explicit CDouble(Kind kind);
    virtual ~CDouble();

    std::string Name() const { return kObjectNames[nKind]; }
    // Refusals and failures take effect once the container has activated the control: the
    // container's own set-up is never refused, so that each step of the launcher's set-up can
    // be made to fail.
    bool Refuses(const char* iface) const {
        return bActivated && ScriptHas(std::string("refuse ") + iface);
    }
    HRESULT Outcome(const std::string& method) const {
        return bActivated && ScriptHas("fail " + method) ? E_FAIL : S_OK;
    }

    // IUnknown (shared by every interface of the object)
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++nRefs); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG left = --nRefs;
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override {
        Journal(std::string("IOleObject::SetClientSite ") + (site ? "site" : "NULL"));
        HRESULT hr = Outcome("SetClientSite");
        if (FAILED(hr))
            return hr;
        if (site)
            site->AddRef();
        if (pSite)
            pSite->Release();
        pSite = site;
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** site) override {
        Journal("IOleObject::GetClientSite");
        if (!site)
            return E_POINTER;
        *site = pSite;
        if (pSite)
            pSite->AddRef();
        return S_OK;
    }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override {
        Journal("IOleObject::SetHostNames");
        return S_OK;
    }
    STDMETHODIMP Close(DWORD option) override {
        Journal("IOleObject::Close " + std::to_string(option));
        DestroyView();
        return S_OK;
    }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND parent,
                        LPCRECT rect) override {
        Journal("IOleObject::DoVerb " + std::to_string(verb));
        bActivated = true;
        if (!hView && parent && rect)
            MakeView(parent, *rect);
        return S_OK;
    }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
    STDMETHODIMP GetExtent(DWORD, SIZEL* size) override {
        if (!size)
            return E_POINTER;
        size->cx = size->cy = 0;
        return S_OK;
    }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
        if (!status)
            return E_POINTER;
        *status = 0;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleInPlaceObject
    STDMETHODIMP GetWindow(HWND* window) override {
        if (!window)
            return E_POINTER;
        *window = hView;
        return hView ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override {
        Journal("IOleInPlaceObject::InPlaceDeactivate");
        DestroyView();
        return S_OK;
    }
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT) override {
        if (hView && position)
            MoveWindow(hView, position->left, position->top, position->right - position->left,
                       position->bottom - position->top, TRUE);
        return S_OK;
    }
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }

    // IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM) override { return E_NOTIMPL; }
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override {
        Journal("IPersistStreamInit::InitNew");
        return S_OK;
    }

    // IConnectionPointContainer: the one point of the kind's event interface.
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
        Journal("IConnectionPointContainer::FindConnectionPoint");
        if (!point)
            return E_POINTER;
        *point = nullptr;
        if (FAILED(Outcome("FindConnectionPoint")) || !IsEqualIID(riid, kEventIids[nKind]))
            return CONNECT_E_NOCONNECTION;
        *point = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }

    // IConnectionPoint: the sink is asked for the event interface, as real controls do.
    STDMETHODIMP GetConnectionInterface(IID* iid) override {
        if (!iid)
            return E_POINTER;
        *iid = kEventIids[nKind];
        return S_OK;
    }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override {
        if (!container)
            return E_POINTER;
        *container = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override {
        Journal("IConnectionPoint::Advise");
        if (!sink || !cookie)
            return E_POINTER;
        if (FAILED(Outcome("Advise")))
            return CONNECT_E_ADVISELIMIT;
        IDispatch* dispatch = nullptr;
        if (FAILED(sink->QueryInterface(kEventIids[nKind], reinterpret_cast<void**>(&dispatch))))
            return CONNECT_E_CANNOTCONNECT;
        if (pSink)
            pSink->Release();
        pSink = dispatch;
        *cookie = 1;
        return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD) override {
        Journal("IConnectionPoint::Unadvise");
        if (pSink)
            pSink->Release();
        pSink = nullptr;
        return S_OK;
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    // Events.
    int Fire(DISPID id, DISPPARAMS* params, const std::string& what) {
        if (!pSink)
            return 0;
        VARIANT result;
        VariantInit(&result);
        EXCEPINFO exception{};
        UINT argError = 0;
        IDispatch* sink = pSink;
        sink->AddRef();
        HRESULT hr = sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, params,
                                  &result, &exception, &argError);
        sink->Release();
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lx", static_cast<unsigned long>(hr));
        Journal("fire " + what + " -> " + code);
        return 1;
    }

    // Movie variables of the Flash double.
    void ApplyScriptedVariables() {
        for (const std::string& line : ScriptLines()) {
            unsigned calls = 0;
            int used = 0;
            if (std::sscanf(line.c_str(), "after %u calls: %n", &calls, &used) == 1 && used > 0 &&
                calls <= nVariableCalls && !applied[line]) {
                SetFromLine(line.substr(static_cast<std::size_t>(used)));
                applied[line] = true;
            }
        }
    }
    void SetFromLine(const std::string& assignment) {
        std::size_t eq = assignment.find('=');
        if (eq != std::string::npos)
            variables[assignment.substr(0, eq)] = assignment.substr(eq + 1);
    }

    Kind nKind;
    LONG nRefs = 1;
    IOleClientSite* pSite = nullptr;
    IDispatch* pSink = nullptr;
    RawInterface own;
    HWND hView = nullptr;
    bool bActivated = false;
    COLORREF clrView = RGB(0, 0, 128);
    unsigned nBusyCalls = 0;
    unsigned nVariableCalls = 0;
    std::map<std::string, std::string> variables;
    std::map<std::string, bool> applied;

    // The automation object's own top-level window, shown by put_Visible.
    void MakeBrowserWindow();

  private:
    void MakeView(HWND parent, const RECT& rect);
    void DestroyView() {
        if (hView && IsWindow(hView))
            DestroyWindow(hView);
        hView = nullptr;
    }
};

namespace {

// ---- Slot functions ---------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE RawQueryInterface(RawInterface* self, REFIID riid, void** ppv) {
    return Owner(self)->QueryInterface(riid, ppv);
}
ULONG STDMETHODCALLTYPE RawAddRef(RawInterface* self) {
    return Owner(self)->AddRef();
}
ULONG STDMETHODCALLTYPE RawRelease(RawInterface* self) {
    return Owner(self)->Release();
}
HRESULT STDMETHODCALLTYPE RawNotImpl(RawInterface*) {
    return E_NOTIMPL;
}

// Any slot without its own function: the journal names the slot that was reached. (The
// doubles run only as 64-bit code, where the caller cleans up the arguments, so one
// signature serves every slot.)
template <int N> HRESULT STDMETHODCALLTYPE RawUnusedSlot(RawInterface* self) {
    Journal(Owner(self)->Name() + "::slot" + std::to_string(N));
    return E_NOTIMPL;
}

HRESULT JournalText(RawInterface* self, const char* method, BSTR value) {
    Journal(Owner(self)->Name() + "::" + method + " " + Narrow(value));
    return Owner(self)->Outcome(method);
}

HRESULT STDMETHODCALLTYPE FlashPutMovie(RawInterface* self, BSTR v) {
    return JournalText(self, "put_Movie", v);
}
HRESULT STDMETHODCALLTYPE FlashPutWMode(RawInterface* self, BSTR v) {
    return JournalText(self, "put_WMode", v);
}
HRESULT STDMETHODCALLTYPE FlashPutBGColor(RawInterface* self, BSTR v) {
    HRESULT hr = JournalText(self, "put_BGColor", v);
    unsigned long rgb = std::wcstoul(v ? v : L"0", nullptr, 16);
    Owner(self)->clrView = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    if (Owner(self)->hView)
        InvalidateRect(Owner(self)->hView, nullptr, TRUE);
    return hr;
}
HRESULT STDMETHODCALLTYPE FlashPutQuality2(RawInterface* self, BSTR v) {
    return JournalText(self, "put_Quality2", v);
}
HRESULT STDMETHODCALLTYPE FlashSetVariable(RawInterface* self, BSTR name, BSTR value) {
    CDouble* owner = Owner(self);
    owner->ApplyScriptedVariables();
    ++owner->nVariableCalls;
    Journal("IShockwaveFlash::SetVariable " + Narrow(name) + " " + Narrow(value));
    HRESULT hr = owner->Outcome("SetVariable");
    if (SUCCEEDED(hr))
        owner->variables[Narrow(name)] = Narrow(value);
    return hr;
}
HRESULT STDMETHODCALLTYPE FlashGetVariable(RawInterface* self, BSTR name, BSTR* value) {
    CDouble* owner = Owner(self);
    owner->ApplyScriptedVariables();
    ++owner->nVariableCalls;
    if (!value)
        return E_POINTER;
    *value = nullptr;
    auto found = owner->variables.find(Narrow(name));
    if (found == owner->variables.end() || FAILED(owner->Outcome("GetVariable"))) {
        Journal("IShockwaveFlash::GetVariable " + Narrow(name) + " -> missing");
        return E_FAIL;
    }
    Journal("IShockwaveFlash::GetVariable " + Narrow(name) + " -> " + found->second);
    *value = Wide(found->second);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ShockwavePutSrc(RawInterface* self, BSTR v) {
    return JournalText(self, "put_SRC", v);
}
template <int N> HRESULT STDMETHODCALLTYPE ShockwavePutSetting(RawInterface* self, BSTR v) {
    return JournalText(self, ("put" + std::to_string(N)).c_str(), v);
}

HRESULT STDMETHODCALLTYPE BrowserNavigate(RawInterface* self, BSTR url, VARIANT* flags,
                                          VARIANT* target, VARIANT* postData, VARIANT* headers) {
    Journal("IWebBrowser2::Navigate " + Narrow(url) + " flags=" + VariantText(flags) +
            " target=" + VariantText(target) + " post=" + VariantText(postData) +
            " headers=" + VariantText(headers));
    return Owner(self)->Outcome("Navigate");
}
HRESULT STDMETHODCALLTYPE BrowserGetBusy(RawInterface* self, VARIANT_BOOL* busy) {
    CDouble* owner = Owner(self);
    if (FAILED(owner->Outcome("get_Busy"))) {
        Journal("IWebBrowser2::get_Busy -> failed");
        return E_FAIL;
    }
    unsigned limit = 0;
    for (const std::string& line : ScriptLines())
        std::sscanf(line.c_str(), "busy %u", &limit);
    bool isBusy = owner->nBusyCalls < limit;
    ++owner->nBusyCalls;
    Journal(std::string("IWebBrowser2::get_Busy -> ") + (isBusy ? "true" : "false"));
    if (!busy)
        return E_POINTER;
    *busy = isBusy ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE BrowserGetHwnd(RawInterface* self, SHANDLE_PTR* handle) {
    Journal("IWebBrowser2::get_HWND");
    if (!handle)
        return E_POINTER;
    bool answers = Owner(self)->nKind == kApplication || ScriptHas("hwnd");
    if (!answers || !Owner(self)->hView)
        return E_FAIL;
    *handle = reinterpret_cast<SHANDLE_PTR>(Owner(self)->hView);
    return S_OK;
}
HRESULT STDMETHODCALLTYPE BrowserPutVisible(RawInterface* self, VARIANT_BOOL v) {
    Journal("IWebBrowser2::put_Visible " + std::to_string(v));
    if (Owner(self)->nKind == kApplication && v)
        Owner(self)->MakeBrowserWindow();
    return S_OK;
}
// Slot 54, IWebBrowser2::ExecWB(command, option, in, out): the command (63 is the optical
// zoom, its percentage in "in") is journalled and carried out by nothing.
HRESULT STDMETHODCALLTYPE BrowserExecWB(RawInterface*, int command, int option, VARIANT* in,
                                        VARIANT*) {
    Journal("IWebBrowser2::ExecWB " + std::to_string(command) +
            " option=" + std::to_string(option) + " in=" + VariantText(in));
    return S_OK;
}
HRESULT STDMETHODCALLTYPE BrowserPutSilent(RawInterface*, VARIANT_BOOL v) {
    Journal("IWebBrowser2::put_Silent " + std::to_string(v));
    return S_OK;
}

constexpr int kFlashSlots = 67;     // up to GetVariable (66)
constexpr int kShockwaveSlots = 79; // up to 78
constexpr int kBrowserSlots = 61;   // up to put_Silent (60)

template <int... N> void FillUnused(void** table, std::integer_sequence<int, N...>) {
    ((table[N] = reinterpret_cast<void*>(&RawUnusedSlot<N>)), ...);
}

template <class F> void* Slot(F function) {
    return reinterpret_cast<void*>(function);
}

struct Tables {
    void* flash[kFlashSlots];
    void* shockwave[kShockwaveSlots];
    void* browser[kBrowserSlots];

    Tables() {
        FillUnused(flash, std::make_integer_sequence<int, kFlashSlots>());
        FillUnused(shockwave, std::make_integer_sequence<int, kShockwaveSlots>());
        FillUnused(browser, std::make_integer_sequence<int, kBrowserSlots>());
        for (void** t : {flash, shockwave, browser}) {
            t[0] = Slot(&RawQueryInterface);
            t[1] = Slot(&RawAddRef);
            t[2] = Slot(&RawRelease);
            for (int i = 3; i <= 6; ++i)
                t[i] = Slot(&RawNotImpl);
        }
        flash[22] = Slot(&FlashPutMovie);
        flash[41] = Slot(&FlashPutWMode);
        flash[55] = Slot(&FlashPutBGColor);
        flash[57] = Slot(&FlashPutQuality2);
        flash[65] = Slot(&FlashSetVariable);
        flash[66] = Slot(&FlashGetVariable);
        shockwave[56] = Slot(&ShockwavePutSrc);
        shockwave[58] = Slot(&ShockwavePutSetting<58>);
        shockwave[60] = Slot(&ShockwavePutSetting<60>);
        shockwave[64] = Slot(&ShockwavePutSetting<64>);
        shockwave[66] = Slot(&ShockwavePutSetting<66>);
        shockwave[68] = Slot(&ShockwavePutSetting<68>);
        shockwave[70] = Slot(&ShockwavePutSetting<70>);
        shockwave[74] = Slot(&ShockwavePutSetting<74>);
        shockwave[76] = Slot(&ShockwavePutSetting<76>);
        shockwave[78] = Slot(&ShockwavePutSetting<78>);
        browser[11] = Slot(&BrowserNavigate);
        browser[31] = Slot(&BrowserGetBusy);
        browser[37] = Slot(&BrowserGetHwnd);
        browser[41] = Slot(&BrowserPutVisible);
        browser[54] = Slot(&BrowserExecWB);
        browser[60] = Slot(&BrowserPutSilent);
    }
};

const Tables& OwnTables() {
    static Tables tables;
    return tables;
}

// ---- The view window and the cue window ----------------------------------------------

LRESULT CALLBACK ViewProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        auto* owner = reinterpret_cast<CDouble*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        HBRUSH brush = CreateSolidBrush(owner ? owner->clrView : RGB(0, 0, 0));
        RECT rect;
        GetClientRect(window, &rect);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
        EndPaint(window, &ps);
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        auto* owner = reinterpret_cast<CDouble*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (owner && owner->hView == window)
            owner->hView = nullptr;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

int RunCue(const std::string& line);

LRESULT CALLBACK CueProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COPYDATA) {
        auto* data = reinterpret_cast<COPYDATASTRUCT*>(lParam);
        if (!data || !data->lpData)
            return -1;
        std::string line(static_cast<const char*>(data->lpData), data->cbData);
        line = line.c_str(); // up to the first terminator
        return RunCue(line);
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

void RegisterClasses() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    WNDCLASSA view{};
    view.lpfnWndProc = ViewProc;
    view.hInstance = g_module;
    view.lpszClassName = "TovakDoubleView";
    RegisterClassA(&view);
    WNDCLASSA cue{};
    cue.lpfnWndProc = CueProc;
    cue.hInstance = g_module;
    cue.lpszClassName = TOVAK_DOUBLE_CUE_CLASS;
    RegisterClassA(&cue);
}

// ---- Events on cue ------------------------------------------------------------------------

int FireOn(Kind kind, DISPID id, DISPPARAMS* params, const std::string& what) {
    int fired = 0;
    std::vector<CDouble*> targets;
    for (CDouble* d : g_live)
        if (d->nKind == kind) {
            d->AddRef();
            targets.push_back(d);
        }
    for (CDouble* d : targets) {
        fired += d->Fire(id, params, what);
        d->Release();
    }
    return fired;
}

std::string Rest(const std::string& line, std::size_t words) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < words; ++i) {
        at = line.find(' ', at);
        if (at == std::string::npos)
            return "";
        ++at;
    }
    return line.substr(at);
}

// Where the crash cue writes: a pointer that the compiler cannot know to be null.
int* volatile g_nowhere = nullptr;

DWORD WINAPI CrashThread(void*) {
    *g_nowhere = 1;
    return 0;
}

int RunCue(const std::string& line) {
    std::string word = line.substr(0, line.find(' '));
    if (word == "Crash") {
        // On a thread of its own: a fault inside message dispatch may be swallowed by the
        // system, and the process would run on.
        if (g_live.empty())
            return 0;
        HANDLE thread = CreateThread(nullptr, 0, CrashThread, nullptr, 0, nullptr);
        if (!thread)
            return -1;
        CloseHandle(thread);
        return 1;
    }
    if (word == "FSCommand") {
        std::string rest = Rest(line, 1);
        std::string command = rest.substr(0, rest.find(' '));
        std::string args = rest.find(' ') == std::string::npos ? "" : Rest(rest, 1);
        VARIANT argv[2];
        argv[0].vt = VT_BSTR; // the last argument comes first
        argv[0].bstrVal = Wide(args);
        argv[1].vt = VT_BSTR;
        argv[1].bstrVal = Wide(command);
        DISPPARAMS params{argv, nullptr, 2, 0};
        int fired = FireOn(kFlash, 150, &params, "FSCommand");
        SysFreeString(argv[0].bstrVal);
        SysFreeString(argv[1].bstrVal);
        return fired;
    }
    if (word == "ShockwaveEvent") {
        DISPPARAMS params{nullptr, nullptr, 0, 0};
        return FireOn(kShockwave, std::atoi(Rest(line, 1).c_str()), &params, line);
    }
    if (word == "DocumentComplete" || word == "BeforeNavigate2") {
        bool document = word == "DocumentComplete";
        std::string shape = document ? Rest(line, 1).substr(0, Rest(line, 1).find(' ')) : "direct";
        if (shape != "direct" && shape != "byref")
            return -1;
        BSTR url = Wide(Rest(line, document ? 2 : 1));
        VARIANT inner;
        VariantInit(&inner);
        if (shape == "direct") {
            inner.vt = VT_BSTR;
            inner.bstrVal = url;
        } else {
            inner.vt = VT_BSTR | VT_BYREF;
            inner.pbstrVal = &url;
        }
        VARIANT address;
        address.vt = VT_VARIANT | VT_BYREF;
        address.pvarVal = &inner;
        int fired;
        if (document) {
            VARIANT argv[2];
            argv[0] = address;
            argv[1].vt = VT_DISPATCH;
            argv[1].pdispVal = nullptr;
            DISPPARAMS params{argv, nullptr, 2, 0};
            fired = FireOn(kBrowser, 259, &params, "DocumentComplete");
        } else {
            VARIANT_BOOL cancel = VARIANT_FALSE;
            VARIANT argv[7];
            for (VARIANT& v : argv)
                VariantInit(&v);
            argv[0].vt = VT_BOOL | VT_BYREF;
            argv[0].pboolVal = &cancel;
            argv[5] = address;
            DISPPARAMS params{argv, nullptr, 7, 0};
            fired = FireOn(kBrowser, 250, &params, "BeforeNavigate2");
        }
        SysFreeString(url);
        return fired;
    }
    return -1;
}

} // namespace

void CDouble::MakeView(HWND parent, const RECT& rect) {
    RegisterClasses();
    hView = CreateWindowExA(0, "TovakDoubleView", "", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                            g_module, nullptr);
    if (hView)
        SetWindowLongPtrA(hView, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void CDouble::MakeBrowserWindow() {
    RegisterClasses();
    if (!hView)
        hView = CreateWindowExA(0, "TovakDoubleView", "Tovak test browser", WS_POPUP | WS_VISIBLE,
                                0, 0, 200, 150, nullptr, nullptr, g_module, nullptr);
    if (hView)
        SetWindowLongPtrA(hView, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

CDouble::CDouble(Kind kind) : nKind(kind), bActivated(kind == kApplication) {
    own.owner = this;
    const Tables& tables = OwnTables();
    own.vtbl = kind == kFlash       ? tables.flash
               : kind == kShockwave ? tables.shockwave
                                    : tables.browser; // the control and the automation object
    for (const std::string& line : ScriptLines())
        if (line.compare(0, 4, "var ") == 0)
            SetFromLine(line.substr(4));
    InterlockedIncrement(&g_objects);
    g_live.push_back(this);
    RegisterClasses();
    if (!g_cueWindow)
        g_cueWindow = CreateWindowExA(0, TOVAK_DOUBLE_CUE_CLASS, TOVAK_DOUBLE_CUE_CLASS, 0, 0, 0, 0,
                                      0, nullptr, nullptr, g_module, nullptr);
    Journal(Name() + " created");
    if (kind == kBrowser && ScriptHas("emulation"))
        Journal(Name() + " emulation " + BrowserEmulation());
}

CDouble::~CDouble() {
    Journal(Name() + " destroyed");
    DestroyView();
    if (pSink)
        pSink->Release();
    if (pSite)
        pSite->Release();
    for (std::size_t i = 0; i < g_live.size(); ++i)
        if (g_live[i] == this) {
            g_live.erase(g_live.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    if (g_live.empty() && g_cueWindow) {
        DestroyWindow(g_cueWindow);
        g_cueWindow = nullptr;
    }
    InterlockedDecrement(&g_objects);
}

STDMETHODIMP CDouble::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleObject)) {
        if (!IsEqualIID(riid, IID_IUnknown) && Refuses("IOleObject"))
            return E_NOINTERFACE;
        *ppv = static_cast<IOleObject*>(this);
    } else if (IsEqualIID(riid, IID_IOleInPlaceObject) || IsEqualIID(riid, IID_IOleWindow)) {
        *ppv = static_cast<IOleInPlaceObject*>(this);
    } else if (IsEqualIID(riid, IID_IPersistStreamInit)) {
        if (Refuses("IPersistStreamInit"))
            return E_NOINTERFACE;
        *ppv = static_cast<IPersistStreamInit*>(this);
    } else if (IsEqualIID(riid, IID_IConnectionPointContainer)) {
        if (Refuses("IConnectionPointContainer"))
            return E_NOINTERFACE;
        *ppv = static_cast<IConnectionPointContainer*>(this);
    } else if (IsEqualIID(riid, kOwnIids[nKind]) || IsEqualIID(riid, IID_IDispatch) ||
               ((nKind == kBrowser || nKind == kApplication) &&
                (IsEqualIID(riid, kIidWebBrowser) || IsEqualIID(riid, kIidWebBrowserApp)))) {
        if (Refuses(kOwnNames[nKind]))
            return E_NOINTERFACE;
        *ppv = &own;
    }
    if (!*ppv)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

// ---- Class factory and DLL entry points ----------------------------------------------------

namespace {

class CFactory : public IClassFactory {
  public:
    explicit CFactory(Kind kind) : nKind(kind) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        if (ScriptHas("fail CreateInstance")) {
            Journal(std::string(kObjectNames[nKind]) + " creation refused");
            return E_FAIL;
        }
        CDouble* object = new CDouble(nKind);
        HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock)
            InterlockedIncrement(&g_locks);
        else
            InterlockedDecrement(&g_locks);
        return S_OK;
    }

  private:
    Kind nKind;
};

CFactory g_factories[kKinds] = {CFactory(kFlash), CFactory(kShockwave), CFactory(kBrowser),
                                CFactory(kApplication)};
const char* const kClsids[kKinds] = {TOVAK_FLASH_DOUBLE_CLSID, TOVAK_SHOCKWAVE_DOUBLE_CLSID,
                                     TOVAK_BROWSER_DOUBLE_CLSID, TOVAK_APPLICATION_DOUBLE_CLSID};

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // Unloaded while the process goes on: the window classes must not outlive their code.
        UnregisterClassA("TovakDoubleView", instance);
        UnregisterClassA(TOVAK_DOUBLE_CUE_CLASS, instance);
    }
    return TRUE;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    for (int i = 0; i < kKinds; ++i) {
        wchar_t text[64];
        MultiByteToWideChar(CP_ACP, 0, kClsids[i], -1, text, 64);
        CLSID id;
        if (SUCCEEDED(CLSIDFromString(text, &id)) && IsEqualCLSID(id, clsid))
            return g_factories[i].QueryInterface(riid, ppv);
    }
    if (ppv)
        *ppv = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

__declspec(dllexport) int __cdecl TovakDoubleCue(const char* line) {
    return line ? RunCue(line) : -1;
}
}
