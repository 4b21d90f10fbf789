// The registry store of a Flash movie's saved data.
#pragma once

#include <string>

// Writes data as REG_SZ text (with its terminating zero) into the value valueName of the key
// subKey of the current user, making the key when it is missing. A value longer than
// kMaxSavedValueBytes is not written. Failures are silent: always 1.
int WriteRegistryValue(const char* subKey, const char* valueName, const char* data);

// Reads the value valueName of the key subKey of the current user as text (up to its first
// zero byte; any type), measured first so that whatever the program stored comes back whole.
// 1 with value set; 0, value unchanged, when the key or value is missing or cannot be read.
int ReadRegistryValue(const char* subKey, const char* valueName, std::string& value);
