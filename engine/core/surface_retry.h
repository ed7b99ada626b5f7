#pragma once
#include "platform/display.h"

// The display may answer "still drawing" to a lock or blit; the engine tries
// again. Our surfaces are never busy, and the retries are bounded anyway.
template <typename Call>
plat::SurfaceResult RetryWhileStillDrawing(Call call, int attempts = 1001) {
  plat::SurfaceResult result = call();
  while (result == plat::SurfaceResult::StillDrawing && --attempts > 0) result = call();
  return result;
}
