#pragma once
#include <array>
#include <memory>

#include "engine/core/handles.h"
#include "platform/movie.h"

// Full-screen movies: opened by file name, played onto the back buffer at a
// point in their own frame size, blocking until their last frame or Esc.
// Handles are 0x0F000000 | slot for slots 1 to 30; the mark is the highest
// slot handed out and drops past empty slots when the top one is closed.

struct MOVIEDESC {
  int index = 0;
  std::unique_ptr<plat::Movie> movie;
  int frameWidth = 0;
  int frameHeight = 0;
  int x = 0;
  int y = 0;
  // Kept as asked; a movie is always drawn in its own frame size.
  int requestedWidth = 0;
  int requestedHeight = 0;
};

constexpr int kMovieTableSize = 32;

struct MOVIETABLE {
  std::array<MOVIEDESC*, kMovieTableSize> slots{};
  int mark = 0;
};

extern MOVIETABLE g_movieTable;

// At engine open: empties the table (closing what an earlier run left open); 1.
int InitMovies();
// The record of a handle: type 0x0F, slot 1 to the mark, filled.
MOVIEDESC* LookupMovie(HOBJECT handle);
// 0 when no slot is free or the file is missing or cannot be played (with a
// line to the debugger output); the caller goes on without the movie.
HOBJECT OpenMovie(const char* fileName);
// Plays at (x, y) on a black screen, presenting every frame, until the movie
// ends or Esc is pressed. Other window messages are dispatched as they come.
// The size and the last argument do not change the drawing. 0 when the handle
// does not resolve or the back buffer cannot take the frames.
int PlayMovie(HOBJECT movie, int x, int y, int width, int height, int extra);
// 1 when the handle resolved.
int CloseMovie(HOBJECT movie);
