// The screen-size dialog: a menu of several selections without title image, as tovak.exe shows
// it under Wine, and its end codes driven in-process.
#include "menu_test_support.h"

#include "base/diag.h"
#include "app/startup.h"
#include "app/startup_win.h"
#include "menu/menu_wnd_win.h"
#include "platform/profile_win.h"
#include "resources/resource.h"

#include <cstring>
#include <thread>

using namespace bench;
using namespace menutest;

namespace {

constexpr DWORD kLong = 15000;

const char* const kDialogMenu = "[Settings]\r\ntitle=Pick a size\r\nnumselections=3\r\n"
                                "seldesc1=640 x 480\r\nseldesc2=800 x 600\r\n"
                                "selcode3=run\r\nselurl3=nothing.txt\r\n"
                                "defaultselection=2\r\n"
                                "playtitle=Go\r\nvisittitle=Our site\r\nexittitle=Leave\r\n";

// tovak.exe started in a folder whose first menu shows the dialog.
struct DialogRun {
    Folder folder;
    TovakProcess proc;
    HWND dlg = nullptr;

    DialogRun(const std::string& name, const std::string& ini) : folder(name, ini) {}
    void Start() {
        ASSERT_TRUE(proc.Start(folder.path)) << proc.error;
        dlg = proc.WaitWindow("#32770", kLong);
        ASSERT_NE(dlg, nullptr);
    }
};

RECT ChildRect(HWND dlg, int id) {
    RECT r = WindowRect(GetDlgItem(dlg, id));
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

struct Place {
    long x, y, cx, cy;
    bool operator==(const Place& o) const {
        return x == o.x && y == o.y && cx == o.cx && cy == o.cy;
    }
};
std::ostream& operator<<(std::ostream& os, const Place& p) {
    return os << "(" << p.x << "," << p.y << " " << p.cx << "x" << p.cy << ")";
}
Place PlaceOf(HWND dlg, int id) {
    RECT r = ChildRect(dlg, id);
    return Place{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// The text of a list line (asked in wide characters: Wine passes them across processes).
std::string ListLine(HWND list, int i) {
    wchar_t wide[TEXT_MAX] = L"";
    LRESULT n = SendMessageW(list, LB_GETTEXTLEN, i, 0);
    if (n >= 0 && n < static_cast<LRESULT>(TEXT_MAX))
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
    char text[TEXT_MAX * 2] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

// The dialog template 129 as tovak.exe holds it: an extended template, read field by field.
struct TemplateItem {
    DWORD exStyle, style;
    short x, y, cx, cy;
    int id;
    std::string className, text;
};
struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    short cx = 0, cy = 0;
    std::string caption, font;
    WORD pointSize = 0;
    std::vector<TemplateItem> items;
};

class TemplateReader {
  public:
    explicit TemplateReader(const BYTE* data) : p(data) {}
    WORD Word() {
        WORD v;
        memcpy(&v, p, 2);
        p += 2;
        return v;
    }
    DWORD Dword() {
        DWORD v;
        memcpy(&v, p, 4);
        p += 4;
        return v;
    }
    // A text, or "#n" for an ordinal.
    std::string SzOrOrd() {
        WORD first = Word();
        if (first == 0xFFFF)
            return "#" + std::to_string(Word());
        std::string s;
        for (WORD c = first; c != 0; c = Word())
            s += static_cast<char>(c);
        return s;
    }
    void Align() {
        while (reinterpret_cast<std::uintptr_t>(p) % 4 != 0)
            ++p;
    }
    const BYTE* p;
};

DialogTemplate ReadDialogTemplate() {
    DialogTemplate t;
    HMODULE exe = LoadLibraryExA(TovakExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC res = exe ? FindResourceA(exe, MAKEINTRESOURCEA(IDD_SELECT_SIZE), RT_DIALOG) : nullptr;
    const BYTE* data =
        res ? static_cast<const BYTE*>(LockResource(LoadResource(exe, res))) : nullptr;
    if (!data)
        return t;
    TemplateReader r(data);
    t.extended = r.Word() == 1 && r.Word() == 0xFFFF;
    if (!t.extended)
        return t;
    r.Dword(); // help id
    r.Dword(); // extended style
    t.style = r.Dword();
    WORD count = r.Word();
    r.Word(); // x
    r.Word(); // y
    t.cx = static_cast<short>(r.Word());
    t.cy = static_cast<short>(r.Word());
    r.SzOrOrd(); // menu
    r.SzOrOrd(); // class
    t.caption = r.SzOrOrd();
    t.pointSize = r.Word();
    r.Word(); // weight
    r.Word(); // italic, charset
    t.font = r.SzOrOrd();
    for (WORD i = 0; i < count; ++i) {
        r.Align();
        TemplateItem item;
        r.Dword(); // help id
        item.exStyle = r.Dword();
        item.style = r.Dword();
        item.x = static_cast<short>(r.Word());
        item.y = static_cast<short>(r.Word());
        item.cx = static_cast<short>(r.Word());
        item.cy = static_cast<short>(r.Word());
        item.id = static_cast<int>(r.Dword());
        item.className = r.SzOrOrd();
        item.text = r.SzOrOrd();
        WORD extra = r.Word();
        r.p += extra;
        t.items.push_back(item);
    }
    FreeLibrary(exe);
    return t;
}

// Checks every control's place against the layout rules for an outer size cx x cy.
void ExpectLayout(HWND dlg, int cx, int cy) {
    RECT wr = WindowRect(dlg);
    EXPECT_EQ(wr.right - wr.left, cx);
    EXPECT_EQ(wr.bottom - wr.top, cy);
    EXPECT_EQ(wr.left, (GetSystemMetrics(SM_CXSCREEN) - cx) / 2);
    EXPECT_EQ(wr.top, (GetSystemMetrics(SM_CYSCREEN) - cy) / 2);

    // The heights kept from the template.
    long textH = PlaceOf(dlg, IDC_SIZE_PROMPT).cy, noticeH = PlaceOf(dlg, -1).cy;
    long buttonH = PlaceOf(dlg, IDC_SIZE_PLAY).cy;
    EXPECT_GT(textH, 0);
    EXPECT_GT(noticeH, 0);
    EXPECT_GT(buttonH, 0);
    long unit = (cx - 54) / 6, listH = cy - buttonH - noticeH - textH - 80;
    long buttonTop = cy - buttonH - noticeH - 45;
    EXPECT_EQ(PlaceOf(dlg, IDC_SIZE_PROMPT), (Place{15, 15, cx - 34, textH}));
    EXPECT_EQ(PlaceOf(dlg, IDC_SIZE_LIST), (Place{15, textH + 25, cx - 34, listH}));
    EXPECT_EQ(PlaceOf(dlg, IDC_SIZE_PLAY), (Place{15, buttonTop, 2 * unit, buttonH}));
    EXPECT_EQ(PlaceOf(dlg, IDC_SIZE_VISIT), (Place{2 * unit + 25, buttonTop, 3 * unit, buttonH}));
    EXPECT_EQ(PlaceOf(dlg, IDC_SIZE_EXIT), (Place{5 * unit + 35, buttonTop, unit, buttonH}));
    EXPECT_EQ(PlaceOf(dlg, -1), (Place{15, cy - noticeH - 35, cx - 34, noticeH}));
}

// Clicks a button as the mouse would.
void ClickButton(HWND dlg, int id) {
    HWND button = GetDlgItem(dlg, id);
    RECT r = WindowRect(button);
    Click(button, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
}

} // namespace

TEST(SelectSizeDialog, ShowsTheMenuLaidOutAndExitEnds) {
    DialogRun run("menu_dialog_layout", kDialogMenu);
    ASSERT_NO_FATAL_FAILURE(run.Start());
    HWND dlg = run.dlg;

    EXPECT_EQ(Text(dlg), "Pick a size");
    // The system adds DS_3DLOOK and the clipping and visibility bits.
    EXPECT_EQ(Style(dlg) & ~static_cast<LONG_PTR>(WS_CLIPSIBLINGS | WS_VISIBLE | DS_3DLOOK),
              0x80C800C0);
    EXPECT_EQ(Owner(dlg), nullptr);
    ExpectLayout(dlg, 450, 250); // xsize and ysize default to 450 x 250

    // Control ids and styles, in tab order.
    std::vector<HWND> children = ChildWindows(dlg);
    ASSERT_EQ(children.size(), 6u);
    const int ids[] = {IDC_SIZE_LIST, IDC_SIZE_PLAY,   IDC_SIZE_VISIT,
                       IDC_SIZE_EXIT, IDC_SIZE_PROMPT, -1};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(GetDlgCtrlID(children[i]), ids[i]) << i;
    // The list box drops its own border and hidden scroll bar styles: its template has them.
    EXPECT_EQ(Style(children[0]) & ~static_cast<LONG_PTR>(WS_BORDER | WS_VSCROLL), 0x50010101);
    EXPECT_EQ(Style(children[1]), 0x50010001);
    EXPECT_EQ(Style(children[2]), 0x50010000);
    EXPECT_EQ(Style(children[3]), 0x50010000);
    EXPECT_EQ(ExStyle(children[4]) & WS_EX_TRANSPARENT, WS_EX_TRANSPARENT);
    EXPECT_EQ(Style(children[5]) & (SS_TYPEMASK | WS_GROUP), SS_RIGHT | WS_GROUP);
    EXPECT_EQ(Text(children[4]), "Select The Screen Size To Play The Game With");
    EXPECT_FALSE(Text(children[5]).empty());

    // Labels from the section; the list holds the descriptions with their indices.
    EXPECT_EQ(Text(children[1]), "Go");
    EXPECT_EQ(Text(children[2]), "Our site");
    EXPECT_EQ(Text(children[3]), "Leave");
    HWND list = children[0];
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(ListLine(list, 0), "640 x 480");
    EXPECT_EQ(ListLine(list, 1), "800 x 600");
    EXPECT_EQ(ListLine(list, 2), ""); // no description: an empty line
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, i, 0), i);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1); // defaultselection=2

    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &info));
    EXPECT_EQ(info.hwndFocus, list);
    EXPECT_EQ(info.hwndActive, dlg);

    ClickButton(dlg, IDC_SIZE_EXIT);
    EXPECT_EQ(run.proc.WaitExit(kLong), 0); // no parent: exit ends the program
    EXPECT_TRUE(run.folder.Logged("CMenuWnd::RunMenu at4"));
    EXPECT_FALSE(run.folder.Logged("CMenuWnd::RunSelection"));
}

TEST(SelectSizeDialog, TemplateIsExtendedWithTheControlsInOrder) {
    DialogTemplate t = ReadDialogTemplate();
    ASSERT_TRUE(t.extended);
    EXPECT_EQ(t.style, 0x80C800C0u);
    EXPECT_EQ(t.cx, 288);
    EXPECT_EQ(t.cy, 178);
    EXPECT_EQ(t.caption, "Select Game Size");
    EXPECT_EQ(t.font, "System");
    EXPECT_EQ(t.pointSize, 8);
    ASSERT_EQ(t.items.size(), 6u);
    struct Want {
        int id;
        const char* className;
        DWORD style;
        short x, y, cx, cy;
    };
    const Want want[] = {{IDC_SIZE_LIST, "LISTBOX", 0x50A10101, 22, 36, 246, 85},
                         {IDC_SIZE_PLAY, "BUTTON", 0x50010001, 22, 133, 82, 19},
                         {IDC_SIZE_VISIT, "BUTTON", 0x50010000, 116, 132, 82, 20},
                         {IDC_SIZE_EXIT, "BUTTON", 0x50010000, 204, 132, 66, 20},
                         {IDC_SIZE_PROMPT, "STATIC", 0x50020000, 22, 22, 242, 8},
                         {-1, "STATIC", 0x50020002, 24, 164, 244, 8}};
    // A predefined class may be written by name or by its ordinal.
    auto sameClass = [](const std::string& got, const std::string& name) {
        const char* ordinal = name == "BUTTON" ? "#128" : name == "STATIC" ? "#130" : "#131";
        return _stricmp(got.c_str(), name.c_str()) == 0 || got == ordinal;
    };
    for (int i = 0; i < 6; ++i) {
        const TemplateItem& item = t.items[i];
        EXPECT_EQ(item.id, want[i].id) << i;
        EXPECT_TRUE(sameClass(item.className, want[i].className)) << i << " " << item.className;
        EXPECT_EQ(item.style, want[i].style) << i;
        EXPECT_EQ(item.x, want[i].x) << i;
        EXPECT_EQ(item.y, want[i].y) << i;
        EXPECT_EQ(item.cx, want[i].cx) << i;
        EXPECT_EQ(item.cy, want[i].cy) << i;
    }
    EXPECT_EQ(t.items[4].exStyle, static_cast<DWORD>(WS_EX_TRANSPARENT));
    EXPECT_EQ(t.items[1].text, "Play Game");
    EXPECT_EQ(t.items[2].text, "Visit");
    EXPECT_EQ(t.items[3].text, "Exit");
    EXPECT_EQ(t.items[4].text, "Select The Screen Size To Play The Game With");
    EXPECT_FALSE(t.items[5].text.empty());
}

TEST(SelectSizeDialog, SizeFromTheSectionAndEscapeEnds) {
    DialogRun run("menu_dialog_size", "[Settings]\r\nnumselections=2\r\nxsize=500\r\n"
                                      "ysize=301\r\n");
    ASSERT_NO_FATAL_FAILURE(run.Start());
    HWND dlg = run.dlg;
    EXPECT_EQ(Text(dlg), "No title");
    ExpectLayout(dlg, 500, 301);
    EXPECT_EQ(PlaceOf(dlg, IDC_SIZE_PLAY).cx, 148); // unit (500 - 54) / 6 = 74
    EXPECT_EQ(Text(GetDlgItem(dlg, IDC_SIZE_PLAY)), "Play Game");
    EXPECT_EQ(Text(GetDlgItem(dlg, IDC_SIZE_VISIT)), "Not Set");
    EXPECT_EQ(Text(GetDlgItem(dlg, IDC_SIZE_EXIT)), "Exit");
    EXPECT_EQ(SendMessageA(GetDlgItem(dlg, IDC_SIZE_LIST), LB_GETCURSEL, 0, 0), LB_ERR);

    PressKey(GetDlgItem(dlg, IDC_SIZE_LIST), VK_ESCAPE);
    EXPECT_EQ(run.proc.WaitExit(kLong), 0);
    EXPECT_FALSE(run.folder.Logged("CMenuWnd::RunSelection"));
}

TEST(SelectSizeDialog, EnterPlaysTheChosenLine) {
    DialogRun run("menu_dialog_enter", kDialogMenu);
    ASSERT_NO_FATAL_FAILURE(run.Start());
    HWND dlg = run.dlg;
    PressKey(GetDlgItem(dlg, IDC_SIZE_LIST), VK_RETURN);
    std::vector<std::string> boxes;
    // The chosen line names no file of a kind Tovak launches: the first menu has failed.
    EXPECT_EQ(WaitExitAnsweringBoxes(run.proc, boxes), 1);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().compare(0, 37, "Invalid file type specified to launch"), 0);
    EXPECT_TRUE(run.folder.Logged("CMenuWnd::RunSelection"));
}

// ---- In-process: the dialog's end codes and the chosen selection ----

namespace {

// Runs a menu loaded from the ini text in this process, its dialog template taken from
// tovak.exe, while act drives the dialog from another thread.
struct InProcessMenu {
    Folder folder;
    CMenuWnd* menu = nullptr;
    HMODULE exe = nullptr;

    InProcessMenu(const std::string& name, const std::string& ini) : folder(name, ini) {
        exe = LoadLibraryExA(TovakExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        g_hInstance = exe;
        CopyText(g_szIniFile, sizeof g_szIniFile, Join(folder.path, kConfigFileName).c_str());
        CopyText(g_szLogFile, sizeof g_szLogFile, folder.log.c_str());
        g_bLogEnabled = 1;
        menu = new CMenuWnd; // the window table owns it
    }
    ~InProcessMenu() {
        g_bLogEnabled = 0;
        if (exe)
            FreeLibrary(exe);
    }

    int Run(HWND parent, const std::function<void(HWND)>& act) {
        EXPECT_NE(exe, nullptr);
        CIniProfile profile = CIniProfile::FromFile(g_szIniFile, WinProfileCodec());
        EXPECT_EQ(menu->LoadMenu(kFirstMenuSection, profile), 1);
        std::thread driver([&] {
            HWND dlg = nullptr;
            WaitUntil(
                [&] {
                    std::vector<HWND> found = TopWindowsOf(GetCurrentProcessId(), "#32770");
                    dlg = found.empty() ? nullptr : found[0];
                    return dlg != nullptr;
                },
                kLong);
            if (!dlg)
                return;
            act(dlg);
            // A dialog that the actions left open is ended, so that the test cannot hang.
            if (!WaitGone(dlg, kLong))
                PostMessageA(dlg, WM_COMMAND, IDC_SIZE_EXIT, 0);
        });
        int result = menu->RunMenu(parent, SW_SHOWNORMAL);
        driver.join();
        return result;
    }
};

bool QuitPosted() {
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

void DoubleClickLine(HWND list, int line) {
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, line, reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM(r.left + 5, (r.top + r.bottom) / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
}

} // namespace

TEST(SelectSizeDialogInProcess, EnterPlaysTheDefaultLine) {
    InProcessMenu m("menu_dialog_inproc_enter", kDialogMenu);
    BoxAnswerer answerer(IDOK, "Error"); // the launch's error box
    CWinFuncs* routed = nullptr;
    int result = m.Run(nullptr, [&](HWND dlg) {
        routed = FindWindowObject(dlg); // the dialog's messages find the menu
        PressKey(GetDlgItem(dlg, IDC_SIZE_LIST), VK_RETURN);
        WaitGone(dlg, kLong);
    });
    EXPECT_EQ(routed, m.menu);
    EXPECT_EQ(m.menu->hWnd, nullptr);    // no stale handle once the dialog is gone
    EXPECT_EQ(m.menu->nDialogChoice, 1); // defaultselection=2 is index 1
    EXPECT_EQ(result, 0);                // the selection's file could not be launched
    EXPECT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_TRUE(m.folder.Logged("CMenuWnd::RunSelection"));
    EXPECT_FALSE(QuitPosted());
}

TEST(SelectSizeDialogInProcess, PlayWithoutLineStaysThenDoubleClickPlays) {
    std::string ini = kDialogMenu;
    ini.replace(ini.find("defaultselection=2"), 18, "defaultselection=0");
    InProcessMenu m("menu_dialog_inproc_dblclk", ini);
    BoxAnswerer answerer(IDOK, "Error"); // the launch's error box
    bool stayedOpen = false;
    m.Run(nullptr, [&](HWND dlg) {
        ClickButton(dlg, IDC_SIZE_PLAY);
        // Nothing chosen: the dialog stays; a second later it is still there.
        stayedOpen = !WaitGone(dlg, 1000) && IsWindow(dlg);
        DoubleClickLine(GetDlgItem(dlg, IDC_SIZE_LIST), 2);
        WaitGone(dlg, kLong);
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(m.menu->nDialogChoice, 2);
    EXPECT_EQ(m.folder.CountLogged("CMenuWnd::RunSelection"), 1);
}

TEST(SelectSizeDialogInProcess, ExitEndsTheProgramOnlyWithoutParent) {
    InProcessMenu first("menu_dialog_inproc_exit", kDialogMenu);
    EXPECT_EQ(first.Run(nullptr, [](HWND dlg) { ClickButton(dlg, IDC_SIZE_EXIT); }), 1);
    EXPECT_TRUE(QuitPosted());

    HWND parent = CreateWindowExA(0, "STATIC", "parent", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    InProcessMenu sub("menu_dialog_inproc_exit_sub", kDialogMenu);
    HWND owner = nullptr;
    EXPECT_EQ(sub.Run(parent,
                      [&](HWND dlg) {
                          owner = Owner(dlg);
                          PressKey(GetDlgItem(dlg, IDC_SIZE_LIST), VK_ESCAPE);
                      }),
              1);
    EXPECT_EQ(owner, parent);
    EXPECT_FALSE(QuitPosted());
    EXPECT_FALSE(sub.folder.Logged("CMenuWnd::RunSelection"));
    DestroyWindow(parent);
}
