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
