#include "engine/core/engine_state.h"

int g_engineOpen = 0;
int g_quitRequested = 0;
int g_screenWidth = 0;
int g_screenHeight = 0;
int g_screenDepth = 0;
int g_fullscreen = 0;
uint32_t g_timerFrequency = 0;
int g_soundOpened = 0;
int g_joysticksPresent = 0;
int g_meshVertexStride = 0;
int g_sideAxisTable[36] = {};

void FillSideAxisTable() {
  // Axis codes: 0 +X, 1 +Y, 2 +Z, 3 -X, 4 -Y, 5 -Z.
  static const int kUnit[6][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 0, 0}, {0, -1, 0}, {0, 0, -1}};
  for (int up = 0; up < 6; ++up) {
    for (int forward = 0; forward < 6; ++forward) {
      const int* f = kUnit[forward];
      const int* u = kUnit[up];
      int side[3] = {f[1] * u[2] - f[2] * u[1], f[2] * u[0] - f[0] * u[2], f[0] * u[1] - f[1] * u[0]};
      int code = 0;
      for (int axis = 0; axis < 6; ++axis)
        if (kUnit[axis][0] == side[0] && kUnit[axis][1] == side[1] && kUnit[axis][2] == side[2]) code = axis;
      g_sideAxisTable[up * 6 + forward] = code;
    }
  }
}
