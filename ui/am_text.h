#pragma once
#include <string>
#include <vector>

#include "ui/am_object.h"

// Font faces the text widgets refer to by index; entry 0 is the default face.
extern std::vector<std::string> g_amFontNames;
// Replaces entry 0 (null: an empty name, which lets the font layer choose).
void SetDefaultFontName(const char* name);
// The index of an equal entry, 0 for an empty name, else a new entry's.
int FindFontName(const char* name);

// A label drawn line by line into its own sprite, plainly with the glyph
// font or, when smooth is set and the update's budget allows, through the
// smoothed renderer over its background widget. Text is Big5 and a line
// never splits a two-byte character.
//
// Placement: line n has its bottom at y = fontHeight + n x (fontHeight +
// lineSpacing) and its top at y - fontHeight, for plain and smoothed lines
// alike, so both share their rows. Every plain interface text follows that.
//
// The surface is 1.1 times the width (the width field keeps the requested
// one) and keyed pure blue, so what is not drawn on stays transparent.
class CAmText : public CAmObject {
 public:
  // background: the widget whose picture smoothed lines blend over; null
  // for the parent's. Font 16 x 16 of the default face, colour (10, 10, 10).
  CAmText(int width, int height, int id, CAmObject* parent, CAmObject* background);

  // Draws the string when the text is not drawn yet, or smoothed when smooth
  // is set and the text has not been drawn smoothed (and the budget allows).
  virtual void Redraw(const std::string& text);
  virtual void DrawLineSmooth(int y, const std::string& line);
  virtual void DrawLinePlain(int y, const std::string& line);

  // Each colour channel given here is stored as at least 10, so no text is
  // the key colour. Both clear smooth and mark the text for drawing without
  // drawing it: the old drawing stays until the text changes.
  void SetFont(const char* name, int fontWidth, int fontHeight, int red, int green, int blue);
  void SetColour(int red, int green, int blue);
  void SetSpacing(int characterSpacing, int lineSpacing);
  // n + 1 characters per line.
  void SetColumns(int n);
  // Stores and draws at once; null is an empty text.
  void SetText(const char* text);
  void SetNumber(int value, const char* format);
  // Stores length bytes (the whole string when length < 1) without drawing.
  void SetTextRaw(const char* bytes, int length);
  // Fills the surface with the key colour.
  void Clear();

  // Upgrades a text drawn plainly for lack of budget.
  void OnTick(int steps) override;

  // The widget smoothed lines blend over.
  CAmObject* BackgroundWidget() const { return background ? background : parent; }

  int fontIndex = 0;
  int fontWidth = 0;
  int fontHeight = 0;
  int red = 10;
  int green = 10;
  int blue = 10;
  int columns = 0;  // characters per line
  int lines = 0;
  int lineSpacing = 5;
  int characterSpacing = 2;
  std::string text;
  int smooth = 0;
  CAmObject* background = nullptr;  // null: the parent
  int drawn = 0;
  int smoothDrawn = 0;

 protected:
  void MarkNotDrawn();
  void StoreColour(int red, int green, int blue);
  const std::string& FaceName() const;

 private:
  void Recompute();
  // The bytes of the line starting at start, at most 2 x columns, never
  // ending inside a two-byte character.
  size_t LineLength(const std::string& text, size_t start) const;
};
