// libFuzzer target: tovak-check on an arbitrary configuration file in a game folder that holds
// a few fixed files (title images of the sample's names, a logo, a page, a movie and a program):
// the file read as the tool reads it, every finding formatted as text and JSON, and the
// preview of every menu drawn.
#include "fuzz_support.h"

#include "tools/check/menu_check.h"
#include "support/gif_writer.h"
#include "tools/check/menu_preview.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        std::abort();
}

std::string Gif(int width, int height, int bits) {
    gifwriter::GifBuilder gif;
    gif.Header(width, height, bits)
        .Image(width, height, gifwriter::Pixels(width, height, bits, 7))
        .Trailer();
    return std::string(gif.bytes.begin(), gif.bytes.end());
}

// The game folder, made once per process and removed at its end.
struct GameFolderFiles {
    std::string dir;
    GameFolderFiles() {
        const char* tmp = std::getenv("TMPDIR");
        dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/tovak-check-fuzz-" +
              std::to_string(getpid());
        fs::create_directories(dir + "/Data");
        WriteFile(dir + "/title.gif", Gif(160, 120, 4));
        WriteFile(dir + "/options.gif", Gif(96, 64, 2));
        WriteFile(dir + "/exitnag.gif", Gif(64, 48, 1));
        WriteFile(dir + "/tovak_logo.gif", Gif(32, 16, 1));
        WriteFile(dir + "/game.htm", "<html><body>game</body></html>\n");
        WriteFile(dir + "/Data/movie.swf", "FWS");
        WriteFile(dir + "/arcade.exe", "MZ");
        WriteFile(dir + "/notes.exe.txt", "not a program");
    }
    ~GameFolderFiles() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

const std::string& GameFolder() {
    static const GameFolderFiles files;
    return files.dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& dir = GameFolder();
    const std::string config = dir + "/tovak.ini";
    WriteFile(config, std::string(reinterpret_cast<const char*>(data), size));
    std::ifstream in(config, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    CPreviewFont font;
    CheckResult result = CheckGameConfig(text, config, dir, font);
    if (result.nErrors + result.nWarnings != static_cast<int>(result.findings.size()))
        std::abort();
    for (const CheckFinding& finding : result.findings)
        FormatFinding(finding, config);
    FindingsToJson(result.findings, config);
    for (const CheckedMenu& menu : result.menus) {
        if (!menu.bTitleImageLoads)
            continue;
        CGifImage image;
        image.Load(menu.titleImageFile.c_str());
        PreviewImage picture;
        RenderMenuPreview(*menu.model, image, font, picture);
    }
    return 0;
}
