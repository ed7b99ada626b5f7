#pragma once
#include <cstddef>
#include <string>

#include "engine/core/handles.h"

// A line of text drawn straight into a sprite's image, with hover and press
// tests against its rectangle (in the image's pixels).
class CTextLabel {
 public:
  static constexpr int kFontMessage = 50;  // the label font's face name
  static constexpr int kFontSize = 22;

  CTextLabel();

  void SetRect(int newLeft, int newTop, int newRight, int newBottom);
  // Without a sprite nothing; otherwise keeps the values and, for a
  // non-empty text, draws it into the first frame at (left, bottom).
  // A null font is the default face.
  void DrawText(const char* newText, int newRed, int newGreen, int newBlue, const char* font, int width, int height);
  // Draws the kept text again in the new colour.
  void SetColor(int newRed, int newGreen, int newBlue, const char* font, int width, int height);
  // The hit state becomes 1 (hover) or 2 (press) when the screen point lies
  // strictly inside the rectangle placed at the sprite's position, else 0.
  int HoverTest(int x, int y);
  int PressTest(int x, int y);

  HOBJECT sprite = 0;
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  std::string text;
  int red = 0;
  int green = 0;
  int blue = 0;
  std::string fontName;
  int fontWidth = kFontSize;
  int fontHeight = kFontSize;
  int hitState = 0;  // 0 outside, 1 hovered, 2 pressed

 private:
  bool Inside(int x, int y) const;
};

class CTextButton : public CTextLabel {
 public:
  std::string caption;
  int enabled = 0;
};

// Characters of a Big5 text: a byte above 160 starts a two-byte character.
int CountTextChars(const char* text);
// Copies characters first to last (1-based; last -1 is the one character
// first) into the buffer and ends it after them, never writing more than
// size bytes (a character that does not fit whole is left out). Answers the
// position after the terminating zero, -1 when the text has fewer than first
// characters, 0 for a missing buffer or text or a size of 0.
int CutTextByChars(char* buffer, size_t size, const char* text, int first, int last);
