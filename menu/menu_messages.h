// The texts of a menu that does not load, as its error box shows them. Every such text is
// made here from the error's kind and operands, so that the launcher's box and the checker's
// findings show the same text and nothing needs to read a text back.
#pragma once

#include "menu/menu_config.h"

#include <cstddef>

// Writes the text of the error into text (size bytes, terminator included; cut when longer).
// configPath names the configuration file in the texts that name it. An error of kind None
// has the empty text. Returns true when the whole text fit.
bool FormatMenuLoadError(const MenuLoadError& error, const char* configPath, char* text,
                         std::size_t size);
