#pragma once
#include <string>

#include "engine/core/handles.h"

// The owner of one engine sprite loaded from an image directory; the caller
// shows it through the engine with its handle.
class CBSprite {
 public:
  static constexpr size_t kMaxPath = 127;  // the longest path a load accepts

  CBSprite() = default;
  virtual ~CBSprite();
  CBSprite(const CBSprite&) = delete;
  CBSprite& operator=(const CBSprite&) = delete;

  // Makes the text the path; answers the byte after its terminating zero, so
  // that a list of zero-separated texts can be walked; null for null.
  const char* SetDirectory(const char* text);
  // Appends '\' and the name to the path (each load builds on the last: set
  // the directory before each) and makes a hidden sprite of that image.
  // With an empty path the present sprite is released first; otherwise it
  // is not, and the caller releases it. 0 for a width or height below 1, or
  // a path longer than kMaxPath (nothing changes then), else 1 when a sprite
  // was made.
  int Load(const char* name, int width, int height, int frameCount, int reserved1 = 0, int reserved2 = 0);
  void Release();
  // Both do nothing without a sprite.
  void SetAlpha(float value);
  void SetPosition(int newX, int newY);

  HOBJECT sprite = 0;
  std::string path;
  int frameCount = 0;  // 0 loads the named file itself
  int width = 0;
  int height = 0;
  float alpha = 1.0f;
  int x = 0;
  int y = 0;
};
