// The exchange of a Flash movie's saved data, run by the game screen's timer: the stored value
// is handed to the movie once it is ready, and what the movie gives back is stored.
#include "screen/saved_data_win.h"

#include "host/host_text.h"
#include "host/movie_vars.h"
#include "host/movie_vars_win.h"
#include "screen/browser_table_win.h"
#include "screen/game_screen.h"

#include <new>
#include <string>

namespace {

// Hands the stored value over once the movie is ready. False when the text could not be made
// (out of memory): the hand-over is then tried again on a later tick.
bool HandOver(CBrowserFuncs& record, const char* valueName) {
    std::string text;
    try {
        std::string stored;
        bool found = ReadRegistryValue(kMovieRegKey, valueName, stored) != 0;
        text = MakeHandOverText(found ? stored.c_str() : nullptr);
    } catch (const std::bad_alloc&) {
        return false;
    }
    record.bCustomVarSent = 1;
    record.host.SetSwfVar(kVarCustomVarIn, text.c_str());
    if (record.hBkWnd)
        SetTimer(record.hBkWnd, kGameScreenTimerId, kMovieVarsSavePeriodMs, nullptr);
    return true;
}

} // namespace

void ExchangeMovieVars(CBrowserFuncs* record) {
    // Only a Flash movie keeps saved data.
    if (!record || record->host.nBrowserType != kHostFlash)
        return;
    CClientHost& host = record->host;
    // Read anew on every tick: a movie may change the name it saves under.
    char* valueName = host.GetSwfVar(kVarMovieRegKey);
    if (!valueName)
        return;
    if (!record->bCustomVarSent) {
        char* loaded = host.GetSwfVar(kVarMovieLoaded);
        if (loaded && IsMovieLoaded(loaded))
            HandOver(*record, valueName);
        // On the tick of the hand-over the movie's value is not read yet.
        delete[] loaded;
    } else if (char* out = host.GetSwfVar(kVarCustomVarOut)) {
        // Stored on every tick that yields a value, changed or not.
        WriteRegistryValue(kMovieRegKey, valueName, out);
        delete[] out;
    }
    delete[] valueName;
}
