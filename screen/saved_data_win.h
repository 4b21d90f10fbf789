// The exchange of a Flash movie's saved data between its game screen and the registry.
#pragma once

class CBrowserFuncs;

// One step of the exchange for a Flash game screen (run on each tick of its timer 1).
void ExchangeMovieVars(CBrowserFuncs* record);
