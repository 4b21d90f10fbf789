// The exchange of a Flash movie's saved data with the registry, driven by the game screen's
// timer.
#pragma once

class CBrowserFuncs;

// One step of the exchange for a Flash game screen (run on each tick of its timer 1).
void ExchangeMovieVars(CBrowserFuncs* record);
