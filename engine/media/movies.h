#pragma once

// Movies played onto the back buffer.

// Prepares the movie layer when the engine opens; 1 when it is ready.
int InitMovies();
