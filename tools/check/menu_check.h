// Checking a game folder the way the launcher reads it: the first menu, every menu that its
// "menu" selections reach, the exit screen, their title images, the files that their selections
// run, and the keys of the configuration file that the launcher never reads. Each finding names
// the line of the configuration file it is about.
#pragma once

#include "menu/menu_layout.h"

#include <memory>
#include <string>
#include <vector>

enum class CheckSeverity { Error, Warning };

struct CheckFinding {
    CheckSeverity severity = CheckSeverity::Warning;
    int nLine = 0;       // line of the configuration file; 0 for none (a missing key)
    std::string section; // the section as written in the file; empty for the whole folder
    std::string key;     // the key, or a file name for a finding about the whole folder
    std::string message;
};

// A menu that loaded, kept for drawing its preview.
struct CheckedMenu {
    std::string section; // as written in the file's header
    std::unique_ptr<CMenuModel> model;
    std::string titleImageFile; // the title image's local path; empty without one
    bool bTitleImageLoads = false;
};

struct CheckResult {
    std::vector<CheckFinding> findings; // in the order of their lines; those without first
    std::vector<CheckedMenu> menus;     // in the order they are reached
    int nMenus = 0;                     // menu sections reached that exist
    int nSelections = 0;                // selections of the menus that loaded
    int nErrors = 0;
    int nWarnings = 0;
};

// The window's client area that a description box must stay in: the title image's size less
// one column, as the menu window is made one pixel narrower than its image.
constexpr int kMenuClientWidthLoss = 1;

// Checks the configuration text read from configPath, with gameDir as the working directory
// that the launcher runs in (files named in the configuration are looked for there). measure
// sizes description texts as the menu window's default font does.
CheckResult CheckGameConfig(const std::string& configText, const std::string& configPath,
                            const std::string& gameDir, IMenuTextMeasure& measure);

// The local file that a name of the configuration means when the launcher runs in gameDir: a
// relative name joined to it. Off Windows, backslashes separate folders and each part of the
// path is matched without regard to case, as Windows matches file names.
std::string LocalGamePath(const std::string& gameDir, const std::string& name);

// One finding in the form compilers use: "FILE:LINE: error: [section] key: message" (no line
// number when there is none). Line breaks and other control characters of the message are
// written as C escapes (\n), so that each finding is one line.
std::string FormatFinding(const CheckFinding& finding, const std::string& fileName);

// The findings as a JSON array of objects with file, line (null when none), severity, section,
// key and message.
std::string FindingsToJson(const std::vector<CheckFinding>& findings, const std::string& fileName);
