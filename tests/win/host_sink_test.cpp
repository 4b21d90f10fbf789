// The host's COM identity (QueryInterface table, shared reference count, fixed results), the
// event sink's close requests, and the game-screen records and their table.
#include "host_fixture.h"

#include "base/messages.h"
#include "host/control_interfaces_win.h"
#include "screen/browser_table_win.h"
#include "screen/game_screen_win.h"
#include "screen/game_session_win.h"

#include <exdispid.h>

#include <algorithm>

using hosttest::HostTest;
using hosttest::ProgIdMapping;
using Lines = std::vector<std::string>;

namespace {

// Close requests for the game screen whose background window is hwnd: the host's requests go
// through the game screen's window procedure, which decides by its record; the closes it posts
// are taken out of the queue and counted.
int TakeCloseRequests(HWND hwnd) {
    MSG msg;
    while (PeekMessageA(&msg, hwnd, kMsgHostAsksClose, kMsgHostAsksClose, PM_REMOVE))
        ClientHostWndProc(hwnd, msg.message, msg.wParam, msg.lParam);
    int count = 0;
    while (PeekMessageA(&msg, hwnd, WM_CLOSE, WM_CLOSE, PM_REMOVE))
        ++count;
    return count;
}

class SinkTest : public HostTest {
  protected:
    void SetUp() override {
        HostTest::SetUp();
        TakeCloseRequests(parent);
    }
    void TearDown() override {
        DeleteAllBrowsers();
        HostTest::TearDown();
    }

    // A record whose background window is the test's parent window.
    CBrowserFuncs* Record(int bCloseOnEvent) {
        CBrowserFuncs* record = AddBrowser();
        if (record) {
            record->BindWindow(parent);
            record->bCloseOnEvent = bCloseOnEvent;
        }
        return record;
    }

    // A session that has taken the screen without a mode to switch to: its end writes the
    // switcher's first marker and touches nothing.
    static std::unique_ptr<CGameSession> DisplaySession() {
        HDC screen = GetDC(nullptr);
        int depth = GetDeviceCaps(screen, BITSPIXEL);
        ReleaseDC(nullptr, screen);
        auto session = MakeGameSession(ScreenRequest{0, 0, 0, depth, true}, kCloseProgram, nullptr,
                                       DefaultPadMapping(), nullptr);
        EXPECT_TRUE(session->TakeScreen());
        return session;
    }

    HRESULT Invoke(CClientHost& host, DISPID id, DISPPARAMS* params) {
        VARIANT result;
        VariantInit(&result);
        EXCEPINFO exception{};
        UINT argError = 7;
        HRESULT hr = host.pHostEvent->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, params, &result,
                                             &exception, &argError);
        EXPECT_EQ(result.vt, VT_EMPTY); // never written
        EXPECT_EQ(argError, 7u);
        return hr;
    }

    // DocumentComplete's arguments with the address held directly or by reference.
    HRESULT DocumentComplete(CClientHost& host, const wchar_t* url, bool byRef,
                             DISPID id = DISPID_DOCUMENTCOMPLETE) {
        BSTR address = SysAllocString(url);
        VARIANT inner;
        VariantInit(&inner);
        if (byRef) {
            inner.vt = VT_BSTR | VT_BYREF;
            inner.pbstrVal = &address;
        } else {
            inner.vt = VT_BSTR;
            inner.bstrVal = address;
        }
        VARIANT args[2];
        args[0].vt = VT_VARIANT | VT_BYREF;
        args[0].pvarVal = &inner;
        args[1].vt = VT_DISPATCH;
        args[1].pdispVal = nullptr;
        DISPPARAMS params{args, nullptr, 2, 0};
        HRESULT hr = Invoke(host, id, &params);
        SysFreeString(address);
        return hr;
    }

    TovakDoubleCueFn Cue() {
        HMODULE doubles = GetModuleHandleA("tovak_doubles.dll");
        return doubles ? reinterpret_cast<TovakDoubleCueFn>(
                             reinterpret_cast<void*>(GetProcAddress(doubles, "TovakDoubleCue")))
                       : nullptr;
    }
};

} // namespace

TEST_F(SinkTest, QueryInterfaceTableIsTheSameForEveryKind) {
    ProgIdMapping mapping("Shell.Explorer.2", TOVAK_BROWSER_DOUBLE_CLSID);
    for (int kind : {1, 2, 3}) {
        CClientHost host;
        ASSERT_EQ(Init(host, kind), 1);
        IUnknown* objects[] = {&host, host.pClientSite, host.pInPlaceSite, host.pHostEvent};
        for (IUnknown* object : objects) {
            void* answer = reinterpret_cast<void*>(1);
            LONG before = host.nRefCount;
            EXPECT_EQ(object->QueryInterface(IID_IUnknown, &answer), S_OK);
            EXPECT_EQ(answer, static_cast<IUnknown*>(&host));
            EXPECT_EQ(host.nRefCount, before + 1);
            EXPECT_EQ(object->QueryInterface(IID_IOleClientSite, &answer), S_OK);
            EXPECT_EQ(answer, host.pClientSite);
            EXPECT_EQ(object->QueryInterface(IID_IOleInPlaceSite, &answer), S_OK);
            EXPECT_EQ(answer, host.pInPlaceSite);
            for (const IID* events :
                 {&DIID_DWebBrowserEvents2, &DIID__ShockwaveEvents, &DIID__IShockwaveFlashEvents}) {
                EXPECT_EQ(object->QueryInterface(*events, &answer), S_OK) << kind;
                EXPECT_EQ(answer, host.pHostEvent);
            }
            EXPECT_EQ(host.nRefCount, before + 6);
            for (const IID* refused :
                 {&IID_IDispatch, &IID_IOleWindow, &IID_IOleObject, &IID_IShockwaveFlash}) {
                answer = reinterpret_cast<void*>(1);
                EXPECT_EQ(object->QueryInterface(*refused, &answer), E_NOINTERFACE);
                EXPECT_EQ(answer, nullptr);
            }
            EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_INVALIDARG);
            EXPECT_EQ(host.nRefCount, before + 6);
            host.nRefCount = before;
        }
    }
}

TEST_F(SinkTest, ReferenceCountIsSharedAndNeverDeletes) {
    CClientHost host;
    ASSERT_EQ(Init(host, 3), 1);
    LONG start = host.nRefCount;
    EXPECT_GE(start, 1);
    EXPECT_EQ(host.pClientSite->AddRef(), static_cast<ULONG>(start + 1));
    EXPECT_EQ(host.pInPlaceSite->AddRef(), static_cast<ULONG>(start + 2));
    EXPECT_EQ(host.pHostEvent->AddRef(), static_cast<ULONG>(start + 3));
    EXPECT_EQ(host.AddRef(), static_cast<ULONG>(start + 4));
    for (int i = 0; i < start + 6; ++i)
        host.pHostEvent->Release();
    EXPECT_EQ(host.nRefCount, -2);
    // Everything is still there and answers.
    void* answer = nullptr;
    EXPECT_EQ(host.pClientSite->QueryInterface(IID_IOleInPlaceSite, &answer), S_OK);
    EXPECT_EQ(answer, host.pInPlaceSite);
    EXPECT_EQ(host.nRefCount, -1);
    EXPECT_EQ(host.pClientSite->Release(), static_cast<ULONG>(-2));
    host.nRefCount = start;
}

TEST_F(SinkTest, SitesAnswerTheirFixedResults) {
    CClientHost host;
    ASSERT_EQ(Init(host, 3), 1);
    HWND window = nullptr;
    EXPECT_EQ(host.pInPlaceSite->GetWindow(&window), S_OK);
    // The container window, so that a control that makes its own window inside it stays in
    // the game area.
    EXPECT_EQ(window, host.hWndControl);
    EXPECT_EQ(GetParent(window), parent);
    EXPECT_EQ(host.pInPlaceSite->CanInPlaceActivate(), S_OK);
    EXPECT_EQ(host.pInPlaceSite->OnInPlaceActivate(), S_OK);
    EXPECT_EQ(host.pInPlaceSite->OnUIActivate(), S_OK);
    IOleInPlaceFrame* frame = reinterpret_cast<IOleInPlaceFrame*>(1);
    IOleInPlaceUIWindow* document = reinterpret_cast<IOleInPlaceUIWindow*>(1);
    RECT position{1, 2, 3, 4}, clip{5, 6, 7, 8};
    OLEINPLACEFRAMEINFO info{};
    info.cb = 99;
    EXPECT_EQ(host.pInPlaceSite->GetWindowContext(&frame, &document, &position, &clip, &info),
              S_OK);
    EXPECT_EQ(frame, nullptr);
    EXPECT_EQ(document, nullptr);
    EXPECT_EQ(position.left, 1); // not filled
    EXPECT_EQ(info.cb, 99u);
    EXPECT_EQ(host.pInPlaceSite->OnInPlaceDeactivate(), E_NOTIMPL);
    EXPECT_EQ(host.pInPlaceSite->OnPosRectChange(&position), E_NOTIMPL);
    IOleContainer* container = reinterpret_cast<IOleContainer*>(1);
    EXPECT_EQ(host.pClientSite->GetContainer(&container), E_NOTIMPL);
    EXPECT_EQ(container, reinterpret_cast<IOleContainer*>(1)); // untouched
    EXPECT_EQ(host.pClientSite->ShowObject(), E_NOTIMPL);
    UINT count = 5;
    EXPECT_EQ(host.pHostEvent->GetTypeInfoCount(&count), E_NOTIMPL);
    EXPECT_EQ(count, 5u);
    EXPECT_EQ(host.pHostEvent->GetTypeInfo(0, 0, nullptr), E_NOTIMPL);
    EXPECT_EQ(host.pHostEvent->GetIDsOfNames(IID_NULL, nullptr, 0, 0, nullptr), E_NOTIMPL);
}

TEST_F(SinkTest, DocumentCompleteClosesOnCloseWindowAddresses) {
    ProgIdMapping mapping("Shell.Explorer.2", TOVAK_BROWSER_DOUBLE_CLSID);
    CClientHost host;
    ASSERT_EQ(Init(host, 1), 1);
    CBrowserFuncs* record = Record(1);
    ASSERT_NE(record, nullptr);
    ClearLog();

    for (bool byRef : {false, true}) {
        EXPECT_EQ(DocumentComplete(host, L"file:///C:/Game/CloseWindow.htm", byRef), S_OK);
        EXPECT_EQ(TakeCloseRequests(parent), 1) << byRef;
        EXPECT_EQ(DocumentComplete(host, L"http://x/closewindow", byRef), S_OK);
        EXPECT_EQ(TakeCloseRequests(parent), 0) << byRef;
    }
    Lines markers = Markers();
    ASSERT_EQ(markers.size(), 8u);
    EXPECT_EQ(markers[0], "CHostEvent::Invoke");
    EXPECT_EQ(markers[1], "CHostEvent::Invoke at2");

    // Other events, even with such an address, do nothing.
    EXPECT_EQ(DocumentComplete(host, L"closewindow.htm", false, DISPID_BEFORENAVIGATE2), S_OK);
    EXPECT_EQ(TakeCloseRequests(parent), 0);
    // Malformed arguments are ignored.
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(Invoke(host, DISPID_DOCUMENTCOMPLETE, &none), S_OK);
    EXPECT_EQ(Invoke(host, DISPID_DOCUMENTCOMPLETE, nullptr), S_OK);
    VARIANT plain;
    plain.vt = VT_BSTR;
    plain.bstrVal = SysAllocString(L"closewindow.htm");
    DISPPARAMS direct{&plain, nullptr, 1, 0};
    EXPECT_EQ(Invoke(host, DISPID_DOCUMENTCOMPLETE, &direct), S_OK);
    SysFreeString(plain.bstrVal);
    EXPECT_EQ(TakeCloseRequests(parent), 0);

    // With the flag clear, or without a record, nothing is posted.
    record->bCloseOnEvent = 0;
    EXPECT_EQ(DocumentComplete(host, L"closewindow.htm", false), S_OK);
    EXPECT_EQ(TakeCloseRequests(parent), 0);
    DeleteBrowser(record);
    EXPECT_EQ(DocumentComplete(host, L"closewindow.htm", false), S_OK);
    EXPECT_EQ(TakeCloseRequests(parent), 0);
}

TEST_F(SinkTest, ShockwaveAndFlashCloseOnTheirEvent) {
    CBrowserFuncs* record = Record(1);
    ASSERT_NE(record, nullptr);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    {
        CClientHost shockwave;
        ASSERT_EQ(Init(shockwave, 2), 1);
        ClearLog();
        EXPECT_EQ(Invoke(shockwave, 1, &none), S_OK);
        EXPECT_EQ(TakeCloseRequests(parent), 1);
        for (DISPID other : {0, 2, 150, 259})
            EXPECT_EQ(Invoke(shockwave, other, &none), S_OK);
        EXPECT_EQ(TakeCloseRequests(parent), 0);
        EXPECT_EQ(Markers()[1], "CHostEvent::Invoke at3");
    }
    {
        CClientHost flash;
        ASSERT_EQ(Init(flash, 3), 1);
        ClearLog();
        EXPECT_EQ(Invoke(flash, 150, &none), S_OK); // whatever the command, none at all too
        EXPECT_EQ(TakeCloseRequests(parent), 1);
        for (DISPID other : {1, 151, 259})
            EXPECT_EQ(Invoke(flash, other, &none), S_OK);
        EXPECT_EQ(TakeCloseRequests(parent), 0);
        EXPECT_EQ(Markers()[1], "CHostEvent::Invoke at4");
        record->bCloseOnEvent = 0;
        EXPECT_EQ(Invoke(flash, 150, &none), S_OK);
        EXPECT_EQ(TakeCloseRequests(parent), 0);
    }
}

TEST_F(SinkTest, InvalidKindAnswersNotImplemented) {
    bench::BoxAnswerer boxes;
    CClientHost host;
    EXPECT_EQ(Init(host, 0), 0);
    ASSERT_NE(host.pHostEvent, nullptr);
    Record(1);
    ClearLog();
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(Invoke(host, 150, &none), E_NOTIMPL);
    EXPECT_EQ(TakeCloseRequests(parent), 0);
    EXPECT_EQ(Markers(), Lines{"CHostEvent::Invoke"});
}

// The events as the doubles fire them, through the connection the host made.
TEST_F(SinkTest, EventsFiredByTheControlsReachTheSink) {
    TovakDoubleCueFn cue = nullptr;
    CBrowserFuncs* record = Record(1);
    ASSERT_NE(record, nullptr);
    {
        CClientHost flash;
        ASSERT_EQ(Init(flash, 3), 1);
        cue = Cue();
        ASSERT_NE(cue, nullptr);
        EXPECT_EQ(cue("FSCommand quit now"), 1);
        EXPECT_EQ(TakeCloseRequests(parent), 1);
        EXPECT_EQ(cue("FSCommand "), 1); // an empty command closes too
        EXPECT_EQ(TakeCloseRequests(parent), 1);
        DestroyWindow(flash.hWndControl);
    }
    {
        CClientHost shockwave;
        ASSERT_EQ(Init(shockwave, 2), 1);
        EXPECT_EQ(cue("ShockwaveEvent 2"), 1);
        EXPECT_EQ(TakeCloseRequests(parent), 0);
        EXPECT_EQ(cue("ShockwaveEvent 1"), 1);
        EXPECT_EQ(TakeCloseRequests(parent), 1);
        DestroyWindow(shockwave.hWndControl);
    }
    {
        ProgIdMapping mapping("Shell.Explorer.2", TOVAK_BROWSER_DOUBLE_CLSID);
        CClientHost browser;
        ASSERT_EQ(Init(browser, 1), 1);
        EXPECT_EQ(cue("BeforeNavigate2 file:///C:/closewindow.htm"), 1);
        EXPECT_EQ(TakeCloseRequests(parent), 0);
        EXPECT_EQ(cue("DocumentComplete direct file:///C:/game/next.htm"), 1);
        EXPECT_EQ(TakeCloseRequests(parent), 0);
        EXPECT_EQ(cue("DocumentComplete direct file:///C:/game/CLOSEWINDOW.htm"), 1);
        EXPECT_EQ(TakeCloseRequests(parent), 1);
        EXPECT_EQ(cue("DocumentComplete byref file:///C:/game/closewindow.html"), 1);
        EXPECT_EQ(TakeCloseRequests(parent), 1);
        DestroyWindow(browser.hWndControl);
    }
    for (const std::string& line : JournalOf("fire "))
        EXPECT_NE(line.find("-> 0x00000000"), std::string::npos) << line;
}

// ---- Game-screen records and their table ---------------------------------------------------

TEST_F(SinkTest, RecordForwardsOpenUrlAndIsFoundByItsWindow) {
    ClearLog();
    CBrowserFuncs* record = AddBrowser();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(Markers(), Lines{"CBrowserFuncs"});

    ASSERT_EQ(record->host.InitHost(parent, 3, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 100, 100, 4), 1);
    ClearJournal();
    EXPECT_EQ(record->OpenUrl("C:\\movie.swf"), 1);
    EXPECT_EQ(Journal(), Lines{"IShockwaveFlash::put_Movie C:\\movie.swf"});
    Script("fail put_Movie\n");
    EXPECT_EQ(record->OpenUrl("C:\\movie.swf"), 0);
    EXPECT_EQ(FindBrowser(nullptr), record);
    EXPECT_EQ(FindBrowser(parent), nullptr);
    record->hBkWnd = parent;
    EXPECT_EQ(FindBrowser(parent), record);
}

TEST_F(SinkTest, TableRefusesTheEleventhAndPrunesClosedRecords) {
    bench::BoxAnswerer boxes;
    CBrowserFuncs* records[10];
    for (CBrowserFuncs*& record : records) {
        record = AddBrowser();
        ASSERT_NE(record, nullptr);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(AddBrowser(), nullptr);
    std::vector<bench::BoxInfo> shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].text, "Too many browser windows already open");

    records[6]->bClosed = 1;
    records[6]->hBkWnd = parent;
    ClearLog();
    CBrowserFuncs* added = AddBrowser();
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(FindBrowser(parent), nullptr); // the closed record is gone
    Lines markers = Markers();
    ASSERT_FALSE(markers.empty());
    EXPECT_EQ(markers.front(), "~CBrowserFuncs");
    EXPECT_EQ(markers.back(), "CBrowserFuncs");
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(SinkTest, CleanUpDeletesTheLastRecordFirst) {
    CBrowserFuncs* first = AddBrowser();
    CBrowserFuncs* last = AddBrowser();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(last, nullptr);
    // Only the last record has a display change to undo; with no mode chosen the switcher
    // writes its first marker and touches nothing.
    last->session = DisplaySession();
    ClearLog();
    DeleteAllBrowsers();
    const Lines close = {"CClientHost::CloseHost at1", "CClientHost::CloseHost at2",
                         "CClientHost::CloseHost at3", "CClientHost::CloseHost at4"};
    Lines expected = {"~CBrowserFuncs", "RemoveBrowser at1", "CloseBrowser at1",
                      "ChangeDisplayMode at1"};
    expected.insert(expected.end(), close.begin(), close.end());
    expected.push_back("RemoveBrowser at3");
    expected.insert(expected.end(), close.begin(), close.end()); // the host's destructor
    expected.insert(expected.end(), {"~CBrowserFuncs", "RemoveBrowser at1", "CloseBrowser at1"});
    expected.insert(expected.end(), close.begin(), close.end());
    expected.push_back("RemoveBrowser at3");
    expected.insert(expected.end(), close.begin(), close.end());
    EXPECT_EQ(Markers(), expected);
    EXPECT_EQ(FindBrowser(nullptr), nullptr);
}

TEST_F(SinkTest, CloseBrowserRestoresTheDisplayAndShowsTheCursorOnce) {
    CBrowserFuncs* record = AddBrowser();
    ASSERT_NE(record, nullptr);
    int before = ShowCursor(FALSE) + 1; // the display count, read without changing it
    ShowCursor(TRUE);
    record->session = DisplaySession();
    record->session->HideCursor();
    int hidden = ShowCursor(FALSE) + 1;
    ShowCursor(TRUE);
    ClearLog();
    EXPECT_EQ(record->CloseBrowser(), 1);
    EXPECT_EQ(record->session, nullptr);
    EXPECT_EQ(record->CloseBrowser(), 1);
    Lines markers = Markers();
    EXPECT_EQ(std::count(markers.begin(), markers.end(), "ChangeDisplayMode at1"), 1);
    EXPECT_EQ(std::count(markers.begin(), markers.end(), "CloseBrowser at1"), 2);
    int after = ShowCursor(FALSE) + 1;
    ShowCursor(TRUE);
    EXPECT_EQ(after, hidden + 1);
    while (ShowCursor(TRUE) < before) {
    }
    while (ShowCursor(FALSE) > before) {
    }
}
