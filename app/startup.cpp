#include "app/startup.h"

#include "app/cmdline.h"
#include "base/config_names.h"
#include "base/program.h"

#include <cstring>

const WindowClassName kWindowClasses[WINDOW_CLASS_COUNT] = {
    {TOVAK_MENU_WINDOW_CLASS, "RegisterClassEx for " TOVAK_MENU_WINDOW_CLASS " failed"},
    {TOVAK_GAME_SCREEN_CLASS, "RegisterClassEx for " TOVAK_GAME_SCREEN_CLASS " failed"},
    {TOVAK_LOGO_CLASS, "RegisterClassEx for " TOVAK_LOGO_CLASS " failed"},
    {TOVAK_CLOSE_BUTTON_CLASS, "RegisterClassEx for " TOVAK_CLOSE_BUTTON_CLASS " failed"},
};

bool ResolveConfigPath(const char* workDir, const char* cmdLine, std::string& error) {
    const int limit = static_cast<int>(TEXT_MAX - 1);
    g_szWorkDir[0] = '\0';
    g_szIniFile[0] = '\0';
    if (!CopyText(g_szWorkDir, sizeof g_szWorkDir, workDir)) {
        g_szWorkDir[0] = '\0';
        error = "The folder Tovak was started in has a path longer than " + std::to_string(limit) +
                " characters:\n\n" + workDir + "\n\nMove the game to a folder with a shorter path.";
        return false;
    }
    char token[TEXT_MAX];
    CommandLineResult scan = ScanCommandLine(cmdLine, token, sizeof token);
    if (scan == CMDLINE_TOO_LONG) {
        error = "The configuration file named on the command line is longer than " +
                std::to_string(limit) + " characters:\n\n" + std::string(cmdLine);
        return false;
    }
    const char* name = scan == CMDLINE_TOKEN ? token : kConfigFileName;
    if (!JoinPath(g_szIniFile, sizeof g_szIniFile, g_szWorkDir, name)) {
        error = "The path of the configuration file is longer than " + std::to_string(limit) +
                " characters:\n\n" + std::string(g_szWorkDir) + "\\" + name;
        return false;
    }
    return true;
}
