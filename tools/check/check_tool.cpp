#include "tools/check/check_tool.h"

#include "base/config_names.h"
#include "tools/check/menu_check.h"
#include "tools/check/menu_preview.h"
#include "tools/check/png_write.h"
#include "tovak_version.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const char* const kUsage =
    "usage: tovak-check [--json] [--preview DIR [--scale S]] GAME_FOLDER_OR_INI\n"
    "       tovak-check --version\n"
    "  Checks a game folder (its tovak.ini) or a configuration file the way the launcher reads\n"
    "  it. --json prints the findings as a JSON array; --preview DIR writes DIR/<section>.png\n"
    "  for every menu with a title image, at the scale S (0.25 to 8; 1.5 for a monitor at\n"
    "  144 DPI) when given.\n";

// The scales a preview may be drawn at.
constexpr double kMinPreviewScale = 0.25;
constexpr double kMaxPreviewScale = 8;

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream buffer;
    buffer << file.rdbuf();
    text = buffer.str();
    return !file.bad();
}

// A file name for a section: characters that a file name cannot hold become '_'.
std::string PreviewFileName(const std::string& section) {
    std::string name;
    for (char c : section) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == '-' || c == '_' || c == '.' || c == ' ';
        name += plain ? c : '_';
    }
    if (name.empty() || name[0] == '.')
        name = "_" + name;
    return name + ".png";
}

bool WritePreviews(const CheckResult& result, const std::string& dir, double scale,
                   std::ostream& err) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) {
        err << "tovak-check: cannot make the folder " << dir << "\n";
        return false;
    }
    CPreviewFont font;
    for (const CheckedMenu& menu : result.menus) {
        if (!menu.bTitleImageLoads) {
            err << "tovak-check: [" << menu.section << "] has no title image to draw\n";
            continue;
        }
        CGifImage image;
        image.Load(menu.titleImageFile.c_str());
        PreviewImage picture;
        try {
            RenderMenuPreview(*menu.model, image, font, picture);
        } catch (const std::bad_alloc&) {
            err << "tovak-check: [" << menu.section << "] title image too large to draw\n";
            continue;
        }
        if (scale != 1.0) {
            try {
                picture = ScalePreview(picture, scale);
            } catch (const std::bad_alloc&) {
                err << "tovak-check: [" << menu.section << "] title image too large to draw\n";
                continue;
            }
        }
        std::string path = (fs::path(dir) / PreviewFileName(menu.section)).string();
        std::string error;
        if (!WritePreviewPng(path, picture, error)) {
            err << "tovak-check: cannot write " << path << ": " << error << "\n";
            return false;
        }
        err << "tovak-check: wrote " << path << "\n";
    }
    return true;
}

} // namespace

int RunTovakCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    std::string previewDir;
    double scale = 1.0;
    std::string target;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json") {
            json = true;
        } else if (arg == "--preview" && i + 1 < args.size()) {
            previewDir = args[++i];
        } else if (arg == "--scale" && i + 1 < args.size()) {
            const std::string& value = args[++i];
            char* end = nullptr;
            scale = std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0' || !(scale >= kMinPreviewScale) ||
                scale > kMaxPreviewScale) {
                err << "tovak-check: --scale takes a number from 0.25 to 8, not " << value << "\n"
                    << kUsage;
                return 2;
            }
        } else if (arg == "-h" || arg == "--help") {
            out << kUsage;
            return 0;
        } else if (arg == "--version") {
            out << "tovak-check " TOVAK_VERSION "\n";
            return 0;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            err << "tovak-check: unknown option " << arg << "\n" << kUsage;
            return 2;
        } else if (target.empty()) {
            target = arg;
        } else {
            err << "tovak-check: more than one game folder given\n" << kUsage;
            return 2;
        }
    }
    if (target.empty()) {
        err << kUsage;
        return 2;
    }

    std::error_code ec;
    std::string gameDir, configFile, shownFile;
    if (fs::is_directory(target, ec)) {
        gameDir = target;
        configFile = LocalGamePath(gameDir, kConfigFileName);
        shownFile = (fs::path(target) / fs::path(configFile).filename()).string();
    } else if (fs::exists(target, ec)) {
        gameDir = fs::path(target).parent_path().string();
        if (gameDir.empty())
            gameDir = ".";
        configFile = shownFile = target;
    } else {
        err << "tovak-check: " << target << ": no such folder or file\n";
        return 2;
    }
    std::string text;
    if (!ReadFile(configFile, text)) {
        err << "tovak-check: cannot read " << configFile << "\n";
        return 2;
    }

    CPreviewFont font;
    CheckResult result = CheckGameConfig(text, shownFile, gameDir, font);
    if (json) {
        out << FindingsToJson(result.findings, shownFile);
    } else {
        for (const CheckFinding& finding : result.findings)
            out << FormatFinding(finding, shownFile) << "\n";
        out << shownFile << ": " << result.nMenus << (result.nMenus == 1 ? " menu, " : " menus, ")
            << result.nSelections << (result.nSelections == 1 ? " selection, " : " selections, ")
            << result.nErrors << (result.nErrors == 1 ? " error, " : " errors, ")
            << result.nWarnings << (result.nWarnings == 1 ? " warning" : " warnings") << "\n";
    }
    if (!previewDir.empty() && !WritePreviews(result, previewDir, scale, err))
        return 2;
    return result.nErrors > 0 ? 1 : 0;
}
