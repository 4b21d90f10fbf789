// The holder of the control-container library, in this process.
#include "host/library_win.h"
#include "base/program.h"

#include <gtest/gtest.h>

#include <objbase.h>

namespace {

TEST(Library, HoldsOneModuleAndFindsTheContainerEntryPoints) {
    CAtlLibrary atl;
    EXPECT_EQ(atl.AxWinInit(), 0); // nothing loaded yet
    IUnknown* control = nullptr;
    EXPECT_EQ(atl.AxGetControl(nullptr, &control), E_FAIL);

    // The check before any window finds the library without loading it: the load that follows
    // must map it afresh, imports and initialisation included, or AxWinInit fails.
    ASSERT_EQ(GetModuleHandleA(kContainerLibraryName), nullptr);
    EXPECT_EQ(CAtlLibrary::Present(kContainerLibraryName), 1);
    EXPECT_EQ(GetModuleHandleA(kContainerLibraryName), nullptr);

    ASSERT_EQ(atl.Load(kContainerLibraryName), 1);
    EXPECT_NE(atl.pfnAtlAxWinInit, nullptr);
    EXPECT_NE(atl.pfnAtlAxGetControl, nullptr);
    HMODULE held = atl.hModule;
    EXPECT_EQ(atl.Load(kContainerLibraryName), 0); // one module at a time, the first stays
    EXPECT_EQ(atl.hModule, held);

    EXPECT_EQ(atl.AxWinInit(), 1);
    // The container library has initialised COM on this thread already, so CoInitialize
    // answers S_FALSE, which start-up takes as success.
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    CoUninitialize();

    // A window that holds no control gives no control.
    HWND plain =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(FAILED(atl.AxGetControl(plain, &control)));
    DestroyWindow(plain);

    EXPECT_EQ(atl.Free(), 1);
    EXPECT_EQ(atl.hModule, nullptr);
    EXPECT_EQ(atl.Free(), 1);
}

TEST(Library, ALibraryWithoutTheEntryPointsIsNotKept) {
    CAtlLibrary other;
    EXPECT_EQ(CAtlLibrary::Present("no_such_library.dll"), 0);
    EXPECT_EQ(other.Load("version.dll"), 0);
    EXPECT_EQ(other.hModule, nullptr);
    EXPECT_EQ(other.pfnAtlAxWinInit, nullptr);
    EXPECT_EQ(other.Load("no_such_library.dll"), 0);
    EXPECT_EQ(other.hModule, nullptr);

    CLibrary plain;
    EXPECT_EQ(plain.Load("version.dll"), 1);
    EXPECT_NE(plain.hModule, nullptr);
}

} // namespace
