// The decisions of the exchange of a Flash movie's saved data, kept apart from the registry
// and COM so that they can be checked without Windows.
#pragma once

#include <cstddef>
#include <string>

// Where the saved values live: one value per movie under this key of the current user.
extern const char* const kMovieRegKey;

// The movie's variables, as the movie names them.
extern const char* const kVarMovieRegKey;  // movie to program: name of its registry value
extern const char* const kVarMovieLoaded;  // movie to program: ready when it begins with T/t
extern const char* const kVarCustomVarIn;  // program to movie: "setv" and the stored value
extern const char* const kVarCustomVarOut; // movie to program: the value to store
extern const char* const kHandOverPrefix;  // "setv"

// The longest saved value, in bytes of UTF-8 text without the terminating zero: the
// registry's own limit for one value in its standard format (1 MiB with the terminator). A
// value the movie offers beyond it is not stored, so that everything stored can be read back
// whole.
constexpr std::size_t kMaxSavedValueBytes = 1024 * 1024 - 1;

// Timer 1 of the game screen's background window once the stored value has been handed over.
constexpr unsigned kMovieVarsSavePeriodMs = 5000;

// True when the movie reports that it is ready: its text begins with T or t ("true", "True",
// "T"...). An empty text is not ready.
bool IsMovieLoaded(const char* text);

// The text the movie receives once: "setv" followed directly by the stored value, or just
// "setv" when nothing is stored (null).
std::string MakeHandOverText(const char* stored);

// Whether a value of that many bytes (terminator not counted) is stored.
inline bool SavedValueFits(std::size_t bytes) {
    return bytes <= kMaxSavedValueBytes;
}
