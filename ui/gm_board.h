#pragma once
#include "ui/gm_base.h"

// An image board of the overlay that can carry smoothed text in a second
// sprite one layer above the picture.
class CGMBoard : public CGMBase {
 public:
  static constexpr int kTextBytes = 239;  // longest text DrawText takes

  // A sprite of one width x height cell of the named picture keyed pure blue,
  // or a hidden one without a picture for a null name.
  CGMBoard(const char* imageName, int width, int height, int groupId);
  ~CGMBoard() override;

  int Update(int steps) override;
  void Show(int visible) override;
  // Inside the board, its left and top edges excluded.
  int HitTest(int x, int y) override;
  void SetDepth(int x, int y, int layer) override;

  // The first numbered picture of the name ("name00"), or none for null, at
  // the old place and depth.
  void SetImage(const char* name);
  // Smoothed over the board's picture, or with the plain glyph font when that
  // cannot be done; the text's top is at y - font size. Texts are cut to
  // 239 bytes, never inside a character. 1.
  int DrawText(int x, int y, const char* text, int red, int green, int blue);
  // 1 deletes the text sprite, 0 only empties it.
  void ClearText(int remove);
  // Ignored unless positive.
  void SetFontSize(int size);
  // At most 255 bytes.
  void SetFontName(const char* name);

  int width;
  int height;
  HOBJECT textSprite = 0;
  int fontSize = 18;
  char fontName[256] = {};

 private:
  void CreateTextSprite();
};
