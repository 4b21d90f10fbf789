// tovak-check: checks a game folder the way the launcher reads it and draws its menus.
//
//   tovak-check [--json] [--preview DIR] GAME_FOLDER_OR_INI
//   tovak-check --version
//
// Exit code 0 without errors, 1 with errors, 2 for a usage problem or a folder or file that
// cannot be read.
#pragma once

#include <ostream>
#include <string>
#include <vector>

int RunTovakCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
