// Each failing step of the control host's set-up: a silent 0 with the markers written so far,
// and the one failure the user sees, an invalid host kind.
#include "host_fixture.h"

using hosttest::HostTest;
using hosttest::ProgIdMapping;
using Lines = std::vector<std::string>;

namespace {

std::string LastMarker(const Lines& markers) {
    return markers.empty() ? "" : markers.back();
}

} // namespace

TEST_F(HostTest, EachFailingStepReturnsZeroWithoutABox) {
    struct Case {
        int kind;
        const char* script;
        const char* lastMarker;
    } cases[] = {
        {3, "fail CreateInstance", "CClientHost::InitHost at4e"},
        {2, "fail CreateInstance", "CClientHost::InitHost at3"},
        {3, "refuse IOleObject", "CClientHost::InitHost at5"},
        {3, "fail SetClientSite", "CClientHost::InitHost at6"},
        {2, "refuse IConnectionPointContainer", "CClientHost::InitHost at7"},
        {3, "fail FindConnectionPoint", "CClientHost::InitHost at10"},
        {2, "fail FindConnectionPoint", "CClientHost::InitHost at9"},
        {1, "fail FindConnectionPoint", "CClientHost::InitHost at8"},
        {3, "fail Advise", "CClientHost::InitHost at11"},
        {1, "refuse IWebBrowser2", "CClientHost::InitHost at14"},
        {2, "refuse IShockwaveCtl", "CClientHost::InitHost at15"},
        {3, "refuse IShockwaveFlash", "CClientHost::InitHost at16"},
    };
    bench::BoxAnswerer boxes;
    ProgIdMapping mapping("Shell.Explorer.2", TOVAK_BROWSER_DOUBLE_CLSID);
    for (const Case& c : cases) {
        Script(std::string(c.script) + "\n");
        ClearLog();
        ClearJournal();
        CClientHost host;
        EXPECT_EQ(Init(host, c.kind), 0) << c.script << " kind " << c.kind;
        Lines markers = Markers();
        EXPECT_EQ(LastMarker(markers), c.lastMarker) << c.script << " kind " << c.kind;
        EXPECT_EQ(host.pControl.Get(), nullptr) << c.script;
        if (host.hWndControl)
            DestroyWindow(host.hWndControl);
    }
    PumpMessagesFor();
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(HostTest, NoContainerWindowWithoutAParent) {
    bench::BoxAnswerer boxes;
    HWND gone = CreateWindowExA(0, "HostTestParent", "", 0, 0, 0, 10, 10, nullptr, nullptr,
                                g_hInstance, nullptr);
    DestroyWindow(gone);
    ProgIdMapping mapping("Shell.Explorer.2", TOVAK_BROWSER_DOUBLE_CLSID);
    for (int kind : {1, 2, 3}) {
        ClearLog();
        CClientHost host;
        EXPECT_EQ(host.InitHost(gone, kind, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 100, 100, 4), 0);
        EXPECT_EQ(host.hWndControl, nullptr);
        Lines markers = Markers();
        ASSERT_EQ(markers.size(), 2u) << kind;
        EXPECT_EQ(markers[1], "CClientHost::InitHost at" + std::to_string(kind + 1));
    }
    PumpMessagesFor();
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(HostTest, InvalidKindShowsItsBoxAndMakesNoWindow) {
    for (int kind : {0, 4, -1}) {
        bench::BoxAnswerer boxes;
        ClearLog();
        ClearJournal();
        CClientHost host;
        EXPECT_EQ(Init(host, kind), 0) << kind;
        EXPECT_EQ(host.hWndControl, nullptr);
        EXPECT_TRUE(bench::ChildWindows(parent).empty()) << kind;
        EXPECT_TRUE(Journal().empty()) << kind; // no control was made
        EXPECT_EQ(Markers(), Lines{"CClientHost::InitHost at1"});
        std::vector<bench::BoxInfo> shown = boxes.Boxes();
        ASSERT_EQ(shown.size(), 1u) << kind;
        EXPECT_EQ(shown[0].caption, "Error");
        EXPECT_EQ(shown[0].text, "Invalid nBrowserType specified");
    }
}
