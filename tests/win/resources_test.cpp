// The resources built into tovak.exe: the icon group, the accelerator table, the application
// manifest, and the version resource (of tovak-check.exe beside it too).
#include "driver/driver.h"
#include "tovak_version.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>

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

// The manifest that Windows reads at start (resource 1 of type 24, RT_MANIFEST).
std::string ManifestOf(HMODULE module) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    if (!found)
        return "";
    const char* text = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return text ? std::string(text, SizeofResource(module, found)) : "";
}

TEST_F(Resources, ManifestRunsAsInvokerOnWindowsUpTo11) {
    std::string manifest = ManifestOf(module);
    ASSERT_FALSE(manifest.empty());
    // No elevation under any file name (setup.exe, install.exe), no UI access.
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"),
              std::string::npos);
    // Vista, 7, 8, 8.1, 10 and 11.
    for (const char* os :
         {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
          "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
          "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"{") + os + "}\"/>"),
                  std::string::npos)
            << os;
}

TEST_F(Resources, ManifestActivatesCommonControls6) {
    // The system's own reading of the manifest: in an activation context made from the
    // program's resource, the common controls load from their version 6 assembly. (Its file's
    // DllGetVersion is no witness: Wine's answers 5.81 there too.)
    ACTCTXA request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    std::string exe = bench::TovakExe();
    request.lpSource = exe.c_str();
    request.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE context = CreateActCtxA(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << GetLastError();
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(ActivateActCtx(context, &cookie));
    HMODULE controls = LoadLibraryA("comctl32.dll");
    char file[MAX_PATH] = "";
    GetModuleFileNameA(controls, file, sizeof file);
    FreeLibrary(controls);
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(context);
    std::string path = CharLowerA(file);
    EXPECT_NE(path.find("\\winsxs\\"), std::string::npos) << path;
    EXPECT_NE(path.find("_microsoft.windows.common-controls_6595b64144ccf1df_6.0."),
              std::string::npos)
        << path;
}

// What Windows shows of a program's version: the fixed part and the texts of the version
// resource.
TEST(VersionResource, NamesTheProductAndTheVersionOfEachProgram) {
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(std::sscanf(TOVAK_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);
    std::string dir = bench::TovakExe().substr(0, bench::TovakExe().find_last_of('\\'));
    struct Case {
        const char* file;
        const char* description;
    };
    for (Case c : {Case{"tovak.exe", "Tovak game launcher"},
                   Case{"tovak-check.exe", "Tovak game folder checker"}}) {
        SCOPED_TRACE(c.file);
        std::string path = bench::Join(dir, c.file);
        DWORD size = GetFileVersionInfoSizeA(path.c_str(), nullptr);
        ASSERT_GT(size, 0u);
        std::string data(size, '\0');
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, &data[0]));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(&data[0], "\\", reinterpret_cast<void**>(&fixed), &length));
        ASSERT_GE(length, sizeof *fixed);
        EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(fixed->dwFileVersionMS, (major << 16) | minor);
        EXPECT_EQ(fixed->dwFileVersionLS, patch << 16);
        EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
        EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

        // The texts, in the language the translation table names.
        WORD* translation = nullptr;
        ASSERT_TRUE(VerQueryValueA(&data[0], "\\VarFileInfo\\Translation",
                                   reinterpret_cast<void**>(&translation), &length));
        ASSERT_GE(length, 4u);
        char block[64];
        std::snprintf(block, sizeof block, "\\StringFileInfo\\%04x%04x\\", translation[0],
                      translation[1]);
        auto text = [&](const char* name) {
            char* value = nullptr;
            UINT chars = 0;
            std::string query = std::string(block) + name;
            if (!VerQueryValueA(&data[0], query.c_str(), reinterpret_cast<void**>(&value),
                                &chars) ||
                !value)
                return std::string("(none)");
            return std::string(value);
        };
        EXPECT_EQ(text("FileVersion"), TOVAK_VERSION);
        EXPECT_EQ(text("ProductVersion"), TOVAK_VERSION);
        EXPECT_EQ(text("ProductName"), "Tovak");
        EXPECT_EQ(text("FileDescription"), c.description);
        EXPECT_EQ(text("OriginalFilename"), c.file);
        // As Explorer's details show them.
        std::cout << c.file << ": file version " << text("FileVersion") << ", product "
                  << text("ProductName") << " " << text("ProductVersion") << ", description \""
                  << text("FileDescription") << "\", copyright \"" << text("LegalCopyright")
                  << "\", company \"" << text("CompanyName") << "\"\n";
    }
}

} // namespace
