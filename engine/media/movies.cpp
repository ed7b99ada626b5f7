#include "engine/media/movies.h"

// MINIMAL: movies are not built yet; there is nothing to prepare.
int InitMovies() { return 1; }
