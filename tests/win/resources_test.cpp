// The resources built into tovak.exe: the icon group and the accelerator table.
#include "driver/driver.h"

#include <gtest/gtest.h>

namespace {

class Resources : public testing::Test {
  protected:
    void SetUp() override {
        module = LoadLibraryExA(bench::TovakExe().c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr) << bench::TovakExe();
    }
    void TearDown() override {
        if (module)
            FreeLibrary(module);
    }
    HMODULE module = nullptr;
};

TEST_F(Resources, IconGroup107HoldsTwoImages) {
    HRSRC found =
        FindResourceA(module, MAKEINTRESOURCEA(107), MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
    ASSERT_NE(found, nullptr);
    const WORD* header = static_cast<const WORD*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header[1], 1); // icons
    EXPECT_EQ(header[2], 2); // images
    // There is no icon 108: the small icon is taken from 107.
    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(108), MAKEINTRESOURCEA(14)), nullptr);
}

TEST_F(Resources, AcceleratorsSwallowAltQuestionMarkAndAltSlash) {
    HACCEL table = LoadAcceleratorsA(module, MAKEINTRESOURCEA(109));
    ASSERT_NE(table, nullptr);
    ACCEL entries[8];
    int count = CopyAcceleratorTableA(table, entries, 8);
    ASSERT_EQ(count, 2);
    for (int i = 0; i < count; ++i) {
        // Character keys (no FVIRTKEY) with Alt, both giving command 104.
        EXPECT_EQ(entries[i].fVirt & (FVIRTKEY | FALT | FCONTROL | FSHIFT), FALT);
        EXPECT_EQ(entries[i].cmd, 104);
    }
    EXPECT_EQ(entries[0].key, '?');
    EXPECT_EQ(entries[1].key, '/');
    DestroyAcceleratorTable(table);
}

} // namespace
