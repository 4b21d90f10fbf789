#include "screen/separate_browser_win.h"

#include "base/wide_win.h"
#include "base/com_ptr_win.h"
#include "base/scoped_win.h"
#include "base/system_library_win.h"
#include "base/diag.h"
#include "base/globals.h"
#include "base/program.h"
#include "base/text.h"
#include "screen/separate_browser.h"

#include <windows.h>
#include <exdisp.h>
#include <ole2.h>
#include <shellapi.h>

namespace {

// Waits while the browser loads the page: a read of its busy state every kBusyPollMs, until it
// is idle, cannot tell (its window was closed), or kMaxBusyPolls reads have found it busy.
void WaitWhileBusy(IWebBrowser2* browser) {
    for (unsigned poll = 0; poll < kMaxBusyPolls; ++poll) {
        Sleep(kBusyPollMs);
        VARIANT_BOOL busy = VARIANT_FALSE;
        if (FAILED(browser->get_Busy(&busy)) || busy == VARIANT_FALSE)
            return;
    }
}

// Shows the page in the browser; false when the browser has no IWebBrowser2 or refuses the
// page, in which case nothing is waited for.
bool ShowPage(IUnknown* object, const char* url) {
    CComRef<IWebBrowser2> browser;
    if (FAILED(object->QueryInterface(IID_IWebBrowser2, browser.OutVoid())) || !browser)
        return false;
    browser->put_Visible(1);

    bool shown = false;
    if (CBstr address{Utf8ToBstr(url)}) {
        // The optional arguments (flags, target frame, post data, headers) are all 0.
        VARIANT flags{}, target{}, postData{}, headers{};
        for (VARIANT* v : {&flags, &target, &postData, &headers}) {
            v->vt = VT_I4;
            v->lVal = 0;
        }
        shown = SUCCEEDED(browser->Navigate(address.Get(), &flags, &target, &postData, &headers));
    }
    if (shown) {
        WaitWhileBusy(browser.Get());
        SHANDLE_PTR window = 0;
        if (browser->get_HWND(&window) == S_OK)
            BringWindowToTop(reinterpret_cast<HWND>(window));
    }
    return shown;
}

// Opens the address with the user's own choice of program for it (the shell's "open": the
// default browser for a web address); true when the shell started one.
bool OpenWithShell(const char* address) {
    WriteLog("OpenSeparateBrowser at2");
    std::wstring file = Wide(address);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    // The shell's library, with the libraries it imports, is mapped only for this.
    using ShellExecuteExFn = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
    static const auto shellExecuteEx =
        SystemFunctionAs<ShellExecuteExFn>(L"shell32.dll", "ShellExecuteExW");
    return shellExecuteEx && shellExecuteEx(&info) && reinterpret_cast<INT_PTR>(info.hInstApp) > 32;
}

} // namespace

int OpenSeparateBrowser(const char* url) {
    if (!url)
        url = "";
    // A web address is opened as written; any other text names a file in the working
    // directory.
    char address[TEXT_MAX];
    if (!ResolveSelectionPath(address, sizeof address, g_szWorkDir, url)) {
        ShowError(BrowserUrlTooLongText(url).c_str());
        return 0;
    }
    WriteLog("OpenSeparateBrowser at1");

    // Usually OLE is already initialised on this thread (the call then only counts); at
    // start-up, without the container library, it is not yet.
    com::InitializeOle();

    // Machines without the old browser's automation object open the page in the default
    // browser; the boxes say what is missing only when that fails too.
    CLSID clsid;
    if (FAILED(com::ClassOfProgId(L"InternetExplorer.Application", &clsid))) {
        if (OpenWithShell(address))
            return 1;
        ShowError(BrowserMissingText(kBrowserMakerDomain).c_str());
        return 0;
    }
    CComRef<IUnknown> object;
    if (FAILED(com::CreateInstance(clsid, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                   object.OutVoid())) ||
        !object) {
        if (OpenWithShell(address))
            return 1;
        ShowError(BrowserCreateFailedText(kBrowserMakerDomain).c_str());
        return 0;
    }
    // The browser window stays open under the user's control; no reference to it is kept.
    return ShowPage(object.Get(), address) ? 1 : 0;
}
