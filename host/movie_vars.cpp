#include "host/movie_vars.h"

const char* const kMovieRegKey = "SOFTWARE\\Vantorix";
const char* const kVarMovieRegKey = "strMovieRegKey";
const char* const kVarMovieLoaded = "bMovieLoaded";
const char* const kVarCustomVarIn = "strCustomVarIn";
const char* const kVarCustomVarOut = "strCustomVarOut";
const char* const kHandOverPrefix = "setv";

bool IsMovieLoaded(const char* text) {
    return text && (text[0] == 'T' || text[0] == 't');
}

std::string MakeHandOverText(const char* stored) {
    std::string text = kHandOverPrefix;
    if (stored)
        text += stored;
    return text;
}

std::string SavedValueText(const char* data, std::size_t bytes) {
    std::size_t length = 0;
    while (length < bytes && data[length] != '\0')
        ++length;
    return std::string(data, length);
}
