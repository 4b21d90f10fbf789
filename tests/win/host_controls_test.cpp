// The control host with each kind of control: the calls the control receives, in order and
// with their values, the container window, the progress markers, loading and waiting.
#include "host_fixture.h"

#include "host/control_interfaces_win.h"

using hosttest::HostTest;
using hosttest::ProgIdMapping;
using hosttest::WindowText;
using Lines = std::vector<std::string>;

namespace {

// The journal from the host's own first call on (the container's set-up of the control
// comes before it).
Lines HostCalls(const Lines& journal) {
    for (std::size_t i = 0; i < journal.size(); ++i)
        if (journal[i] == "IOleObject::GetClientSite")
            return Lines(journal.begin() + static_cast<std::ptrdiff_t>(i), journal.end());
    return {};
}

const Lines kConnect = {"IOleObject::GetClientSite", "IOleObject::SetClientSite site",
                        "IConnectionPointContainer::FindConnectionPoint",
                        "IConnectionPoint::Advise"};

Lines Concat(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Lines InitMarkers(const Lines& steps) {
    Lines result;
    for (const std::string& step : steps)
        result.push_back("CClientHost::InitHost " + step);
    return result;
}

const Lines kCloseMarkers = {"CClientHost::CloseHost at1", "CClientHost::CloseHost at2",
                             "CClientHost::CloseHost at3", "CClientHost::CloseHost at4"};

} // namespace

TEST_F(HostTest, FlashIsHostedWithColourQualityAndMode) {
    CClientHost host;
    ASSERT_EQ(Init(host, 3, 0xFF, 4), 1);
    EXPECT_EQ(HostCalls(Journal()), Concat(kConnect, {"IShockwaveFlash::put_BGColor 0000ff",
                                                      "IShockwaveFlash::put_Quality2 high",
                                                      "IShockwaveFlash::put_WMode Opaque"}));
    EXPECT_EQ(Markers(), InitMarkers({"at1", "at4", "at4a", "at4b", "at4c", "at4d", "at4e", "at5",
                                      "at6", "at7", "at10", "at11", "at12", "at16", "at17"}));
    EXPECT_EQ(WindowText(host.hWndControl), "");
    EXPECT_EQ(GetParent(host.hWndControl), parent);
    EXPECT_EQ(host.nBrowserType, 3);
    EXPECT_NE(host.pControl.Get(), nullptr);
    EXPECT_EQ(GetFocus(), host.hWndControl);

    // The double shows its background colour where the control sits in the parent.
    PumpMessagesFor();
    EXPECT_EQ(bench::ReadPixel(parent, 10 + 160, 20 + 120), RGB(0, 0, 255));
}

TEST_F(HostTest, FlashColourAndQualityTexts) {
    struct Case {
        int color, quality;
        const char* bg;
        const char* text;
    } cases[] = {{0xABCDEF, 1, "abcdef", "low"}, {0, 2, "000000", "autolow"},
                 {0x10, 3, "000010", "medium"},  {0xFF0000, 5, "ff0000", "autohigh"},
                 {0xFF, 0, "0000ff", "high"},    {0xFF, 7, "0000ff", "high"}};
    for (const Case& c : cases) {
        ClearJournal();
        CClientHost host;
        ASSERT_EQ(Init(host, 3, c.color, c.quality), 1);
        EXPECT_EQ(JournalOf("IShockwaveFlash::"),
                  (Lines{std::string("put_BGColor ") + c.bg, std::string("put_Quality2 ") + c.text,
                         "put_WMode Opaque"}))
            << "quality " << c.quality;
        DestroyWindow(host.hWndControl);
    }
}

TEST_F(HostTest, ShockwaveIsHostedWithItsNineSettings) {
    CClientHost host;
    ASSERT_EQ(Init(host, 2), 1);
    EXPECT_EQ(HostCalls(Journal()),
              Concat(kConnect, {"IShockwaveCtl::put58 TRUE", "IShockwaveCtl::put60 TRUE",
                                "IShockwaveCtl::put64 FALSE", "IShockwaveCtl::put66 FALSE",
                                "IShockwaveCtl::put68 FALSE", "IShockwaveCtl::put70 FALSE",
                                "IShockwaveCtl::put76 left", "IShockwaveCtl::put78 top",
                                "IShockwaveCtl::put74 stage"}));
    EXPECT_EQ(Markers(), InitMarkers({"at1", "at3", "at5", "at6", "at7", "at9", "at11", "at12",
                                      "at15", "at17"}));
    EXPECT_EQ(WindowText(host.hWndControl), "");
}

TEST_F(HostTest, BrowserDoubleIsHostedVisibleAndSilent) {
    ProgIdMapping mapping("Shell.Explorer.2", TOVAK_BROWSER_DOUBLE_CLSID);
    ASSERT_TRUE(mapping.mapped);
    CClientHost host;
    ASSERT_EQ(Init(host, 1), 1);
    EXPECT_EQ(HostCalls(Journal()),
              Concat(kConnect, {"IWebBrowser2::put_Visible 1", "IWebBrowser2::put_Silent -1"}));
    EXPECT_EQ(Markers(), InitMarkers({"at1", "at2", "at5", "at6", "at7", "at8", "at11", "at12",
                                      "at14", "at17"}));
    EXPECT_EQ(WindowText(host.hWndControl), "Shell.Explorer.2");
}

// Replacing the control's site must not let the container detach: the host holds the
// container's own site until the window is gone.
TEST_F(HostTest, ContainerStaysAttachedAfterTheSiteIsReplaced) {
    for (int kind : {2, 3}) {
        ClearJournal();
        CClientHost host;
        ASSERT_EQ(Init(host, kind), 1);
        PumpMessagesFor();
        Lines journal = Journal();
        for (const std::string& line : journal) {
            EXPECT_NE(line.rfind("IOleObject::Close", 0), 0u) << kind;
            EXPECT_NE(line, "IOleObject::SetClientSite NULL") << kind;
        }
        IUnknown* control = nullptr;
        EXPECT_EQ(g_AtlLib.AxGetControl(host.hWndControl, &control), S_OK) << kind;
        ASSERT_NE(control, nullptr);
        control->Release();
        EXPECT_NE(host.pContainerSite.Get(), nullptr);

        // Once the window is gone, the host's destructor lets the container go.
        DestroyWindow(host.hWndControl);
    }
}

// A host that goes while its window is open takes the window and the control along, so that
// the control never calls into a host that is gone.
TEST_F(HostTest, DestroyedHostTakesItsControlAlong) {
    for (int kind : {2, 3}) {
        HWND container = nullptr;
        {
            CClientHost host;
            ASSERT_EQ(Init(host, kind), 1);
            container = host.hWndControl;
            ClearJournal();
        }
        EXPECT_FALSE(IsWindow(container));
        Lines journal = Journal();
        ASSERT_FALSE(journal.empty());
        EXPECT_EQ(journal.back(),
                  std::string(kind == 2 ? "IShockwaveCtl" : "IShockwaveFlash") + " destroyed");
    }
}

TEST_F(HostTest, OpenUrlLoadsEachKind) {
    {
        CClientHost flash;
        ASSERT_EQ(Init(flash, 3), 1);
        ClearJournal();
        ClearLog();
        // A path in any script reaches the control whole (the double journals it in UTF-8).
        const std::string movie =
            "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0"
            "\xF0\x9F\x8E\xAE\\movie.swf";
        EXPECT_EQ(flash.OpenUrl(movie.c_str()), 1);
        EXPECT_EQ(Journal(), Lines{"IShockwaveFlash::put_Movie " + movie});
        EXPECT_EQ(Markers(), (Lines{"CClientHost::OpenUrl at1", "CClientHost::OpenUrl at2"}));
    }
    {
        CClientHost shockwave;
        ASSERT_EQ(Init(shockwave, 2), 1);
        ClearJournal();
        EXPECT_EQ(shockwave.OpenUrl("C:\\games\\movie.dcr"), 1);
        EXPECT_EQ(Journal(), Lines{"IShockwaveCtl::put_SRC C:\\games\\movie.dcr"});
    }
    {
        ProgIdMapping mapping("Shell.Explorer.2", TOVAK_BROWSER_DOUBLE_CLSID);
        CClientHost browser;
        ASSERT_EQ(Init(browser, 1), 1);
        ClearJournal();
        // Returns at once: nothing waits for the page.
        EXPECT_EQ(browser.OpenUrl("http://example.invalid/page.htm"), 1);
        EXPECT_EQ(Journal(), Lines{"IWebBrowser2::Navigate http://example.invalid/page.htm "
                                   "flags=I4:2 target=I4:0 post=I4:0 headers=I4:0"});
    }
    // A long address converts whole.
    {
        CClientHost flash;
        ASSERT_EQ(Init(flash, 3), 1);
        ClearJournal();
        std::string longName = "C:\\" + std::string(600, 'a') + ".swf";
        EXPECT_EQ(flash.OpenUrl(longName.c_str()), 1);
        EXPECT_EQ(Journal(), Lines{"IShockwaveFlash::put_Movie " + longName});
    }
}

TEST_F(HostTest, RefusedLoadsReturnZeroSilently) {
    bench::BoxAnswerer boxes;
    Script("fail put_Movie\nfail put_SRC\nfail Navigate\n");
    ProgIdMapping mapping("Shell.Explorer.2", TOVAK_BROWSER_DOUBLE_CLSID);
    for (int kind : {3, 2, 1}) {
        CClientHost host;
        ASSERT_EQ(Init(host, kind), 1);
        ClearLog();
        EXPECT_EQ(host.OpenUrl("C:\\games\\refused"), 0) << kind;
        EXPECT_EQ(Markers(), Lines{"CClientHost::OpenUrl at1"}) << kind;
    }
    // A host whose InitHost never made a control has nothing to load into.
    CClientHost empty;
    EXPECT_EQ(empty.OpenUrl("C:\\games\\movie.swf"), 1); // kind 0: nothing is loaded
    CClientHost failed;
    Script("fail CreateInstance\n");
    EXPECT_EQ(Init(failed, 3), 0);
    EXPECT_EQ(failed.OpenUrl("C:\\games\\movie.swf"), 0);
    PumpMessagesFor();
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(HostTest, WaitBusyPollsTheBrowserOnly) {
    ProgIdMapping mapping("Shell.Explorer.2", TOVAK_BROWSER_DOUBLE_CLSID);
    {
        CClientHost idle;
        ASSERT_EQ(Init(idle, 1), 1);
        ClearJournal();
        ClearLog();
        idle.WaitBusy();
        EXPECT_EQ(Journal(), Lines{"IWebBrowser2::get_Busy -> false"});
        EXPECT_EQ(Markers(), Lines{"WaitBusy at1"});
    }
    {
        Script("busy 1000\n");
        CClientHost busy;
        ASSERT_EQ(Init(busy, 1), 1);
        ClearJournal();
        busy.WaitBusy();
        EXPECT_EQ(Journal(), Lines(10, "IWebBrowser2::get_Busy -> true"));
    }
    {
        Script("busy 2\n");
        CClientHost briefly;
        ASSERT_EQ(Init(briefly, 1), 1);
        ClearJournal();
        briefly.WaitBusy();
        EXPECT_EQ(Journal(),
                  (Lines{"IWebBrowser2::get_Busy -> true", "IWebBrowser2::get_Busy -> true",
                         "IWebBrowser2::get_Busy -> false"}));
    }
    for (int kind : {2, 3}) {
        Script("");
        CClientHost other;
        ASSERT_EQ(Init(other, kind), 1);
        ClearJournal();
        ClearLog();
        DWORD start = GetTickCount();
        other.WaitBusy();
        EXPECT_LT(GetTickCount() - start, 400u) << "no sleep for kind " << kind;
        EXPECT_TRUE(Journal().empty());
        EXPECT_EQ(Markers(), Lines{"WaitBusy at1"});
    }
}

TEST_F(HostTest, ActivateHostBringsTheBrowserWindowUp) {
    ProgIdMapping mapping("Shell.Explorer.2", TOVAK_BROWSER_DOUBLE_CLSID);
    Script("hwnd\n");
    CClientHost browser;
    ASSERT_EQ(Init(browser, 1), 1);
    ClearJournal();
    browser.ActivateHost();
    EXPECT_EQ(Journal(), (Lines{"IWebBrowser2::get_Busy -> false", "IWebBrowser2::get_HWND"}));

    CClientHost flash;
    ASSERT_EQ(Init(flash, 3), 1);
    ClearJournal();
    ClearLog();
    flash.ActivateHost();
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(Markers().empty());
}

TEST_F(HostTest, CloseHostOnlyWritesItsMarkers) {
    CClientHost host;
    ASSERT_EQ(Init(host, 3), 1);
    ClearJournal();
    ClearLog();
    host.CloseHost();
    host.CloseHost();
    EXPECT_EQ(Markers(), Concat(kCloseMarkers, kCloseMarkers));
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(IsWindow(host.hWndControl));
    IUnknown* control = nullptr;
    EXPECT_EQ(g_AtlLib.AxGetControl(host.hWndControl, &control), S_OK);
    if (control)
        control->Release();
}

// The movie variables through the slots the launcher declares, against the double's script.
TEST_F(HostTest, FlashVariablesFollowTheScript) {
    Script(
        "var bMovieLoaded=0\nafter 2 calls: bMovieLoaded=1\nafter 3 calls: strCustomVarOut=hi\n");
    CClientHost host;
    ASSERT_EQ(Init(host, 3), 1);
    IShockwaveFlash* flash = static_cast<IShockwaveFlash*>(host.pControl.Get());
    ClearJournal();
    auto get = [&](const wchar_t* name) {
        BSTR bname = SysAllocString(name);
        BSTR value = nullptr;
        HRESULT hr = flash->GetVariable(bname, &value);
        std::string text =
            SUCCEEDED(hr) && value ? std::string(value, value + SysStringLen(value)) : "(failed)";
        SysFreeString(value);
        SysFreeString(bname);
        return text;
    };
    EXPECT_EQ(get(L"bMovieLoaded"), "0");
    EXPECT_EQ(get(L"strCustomVarOut"), "(failed)");
    EXPECT_EQ(get(L"bMovieLoaded"), "1");
    BSTR name = SysAllocString(L"strMovieRegKey");
    BSTR value = SysAllocString(L"key");
    EXPECT_EQ(flash->SetVariable(name, value), S_OK);
    SysFreeString(name);
    SysFreeString(value);
    EXPECT_EQ(get(L"strMovieRegKey"), "key");
    EXPECT_EQ(get(L"strCustomVarOut"), "hi");
    EXPECT_EQ(Journal(), (Lines{"IShockwaveFlash::GetVariable bMovieLoaded -> 0",
                                "IShockwaveFlash::GetVariable strCustomVarOut -> missing",
                                "IShockwaveFlash::GetVariable bMovieLoaded -> 1",
                                "IShockwaveFlash::SetVariable strMovieRegKey key",
                                "IShockwaveFlash::GetVariable strMovieRegKey -> key",
                                "IShockwaveFlash::GetVariable strCustomVarOut -> hi"}));
}

// Events can be cued from another process through the doubles' window.
TEST_F(HostTest, CueWindowFiresEvents) {
    CClientHost host;
    ASSERT_EQ(Init(host, 3), 1);
    HWND cue = FindWindowA(TOVAK_DOUBLE_CUE_CLASS, nullptr);
    ASSERT_NE(cue, nullptr);
    char line[] = "FSCommand quit";
    COPYDATASTRUCT data{0, sizeof line, line};
    ClearJournal();
    EXPECT_EQ(SendMessageA(cue, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 1);
    EXPECT_EQ(Journal(), Lines{"fire FSCommand -> 0x00000000"});
    char bad[] = "Nonsense";
    COPYDATASTRUCT badData{0, sizeof bad, bad};
    EXPECT_EQ(SendMessageA(cue, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&badData)), -1);
}

// Wine's own web browser control.
TEST_F(HostTest, RealBrowserControlNavigatesToALocalPage) {
    std::string page = bench::Join(tmp, "page.htm");
    ASSERT_TRUE(bench::WriteTextFile(page, "<html><body>hello</body></html>"));
    CClientHost host;
    ASSERT_EQ(Init(host, 1), 1);
    EXPECT_EQ(WindowText(host.hWndControl), "Shell.Explorer.2");
    EXPECT_NE(host.pControl.Get(), nullptr);
    EXPECT_EQ(host.OpenUrl(page.c_str()), 1);
    host.WaitBusy(); // reads idle: one poll
    PumpMessagesFor();
}
