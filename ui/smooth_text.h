#pragma once
#include <cstdint>

#include "engine/core/handles.h"

// Text with soft edges drawn into 16-bit sprite pictures: the string is drawn
// hard-edged with the glyph font on the key colour, pure blue (0, 0, 255),
// then every pixel of its rectangle is averaged with its neighbours, empty
// pixels counting as what lies under the text. Pixels with nothing of the
// text near them become key colour, so they stay transparent. The text's
// rectangle has its top at y - height, as the plain interface texts have.

struct SMOOTHTEXTDESC {
  int width = 0;   // glyph cell width
  int height = 0;  // glyph cell height; the size in points for measuring
  char face[128] = {};
  int red = 0;  // the low byte of each is used
  int green = 0;
  int blue = 0;
  float threshold = 0.0f;       // least covered share of a neighbourhood; 0 takes any
  const int* kernel = nullptr;  // 3 x 3 weights, null for the built-in ones
};

// Results besides 1: the scratch picture cannot be made or locked, the
// background or the destination cannot be locked, y lies above the text's
// height, the display's pixel layout is not one the filter reads.
constexpr int kSmoothNoScratch = -1;
constexpr int kSmoothNoBackground = -2;
constexpr int kSmoothNoDestination = -3;
constexpr int kSmoothAboveTop = -4;

// Draws into frame 0 of destination, mixing with what lies at the same
// screen place in background's shown cell (0: the back buffer). Places off
// the background picture become key colour. Callers fall back to plain
// drawing on a negative result.
int DrawSmoothTextOver(HOBJECT destination, int x, int y, const char* text, const SMOOTHTEXTDESC* desc,
                       HOBJECT background);
// The same over one solid colour.
int DrawSmoothText(HOBJECT destination, int x, int y, const char* text, const SMOOTHTEXTDESC* desc, int red, int green,
                   int blue);
