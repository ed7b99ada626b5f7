#pragma once

// The counters of the last rendered frame, zeroed when a viewport render starts.
struct FRAMESTATISTICS {
  int trianglesDrawn = 0;
  int primitivesSubmitted = 0;
  int verticesTransformed = 0;
};

extern FRAMESTATISTICS g_frameStatistics;
