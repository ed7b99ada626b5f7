#pragma once

// The screen shot taken when the main menu opens, for save thumbnails.
// MINIMAL: no pixels are captured.
class CSaveThumbnail {
 public:
  CSaveThumbnail(int width, int height) : width(width), height(height) {}
  int width;
  int height;
};
