#include "host/movie_vars_win.h"

// NOT BUILT YET: the movie-variable exchange. The game screen's timer already calls it.
void ExchangeMovieVars(CBrowserFuncs*) {}
