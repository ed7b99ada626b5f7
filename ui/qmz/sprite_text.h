#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/handles.h"
#include "ui/qmz/base_list.h"

namespace qmz {

class CSpriteWnd;
struct FONTDESC;

// A caller's description of a text item. Colour entries are 0xBBGGRR,
// -1 for none: 0 normal, 1 disabled, and for button captions 2 hover,
// 3 pressed, 4 clicked.
struct SPTEXTPARAM {
  static constexpr int kColourEntries = 6;
  int id = 0;
  int x = 0;
  int y = 0;
  int height = 0;
  int width = 0;
  int flags = 0;
  int32_t colours[kColourEntries] = {0, -1, -1, -1, -1, -1};
  char fontName[32] = "Verdana";
  int fontWidth = 16;
  int fontHeight = 16;
};

// Item flags: 4 aligns the text to the item's right edge, with 0x10 or 8
// choosing the character advance the edge is measured with.
constexpr int kTextAlignRight = 0x4;
constexpr int kTextRightTight = 0x8;
constexpr int kTextRightLoose = 0x10;

// A text surface inside a sprite window: a blank sprite keyed with its
// background colour, so only the text shows, holding text items addressed
// by id. Items stand on the bottom edge of their rectangles.
class CSpriteText {
 public:
  struct TEXTDESC {
    int id = 0;
    std::string text;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int flags = 0;
    int drawX = 0;
    int drawY = 0;
    std::vector<int32_t> colours;  // 0xBBGGRR with the entry index in the top byte
    const FONTDESC* font = nullptr;
  };

  static constexpr int32_t kDefaultBackground = 0x101010;

  CSpriteText() = default;
  CSpriteText(const CSpriteText&) = delete;
  CSpriteText& operator=(const CSpriteText&) = delete;
  ~CSpriteText();

  // 0 without a window or when the rectangle does not lie inside it; else
  // (re)builds the surface in the window's text layer.
  int SetRect(int x, int y, int width, int height, CSpriteWnd* window);
  void AddItem(int id);
  int SetItemDesc(const char* text, const SPTEXTPARAM& param);
  // id -1 names the first item.
  int SetItemText(const char* text, int id);
  void DrawItem(const TEXTDESC& item, int entryIndex);
  void DrawAll(int entryIndex);
  // Clears to the background and draws every item with the entry.
  void Redraw(int entryIndex);
  void Show(int flag);
  void Clear();

  // The surface's screen position: the window's plus the offset.
  void Place(int windowX, int windowY);
  void SetLayer(int layer);
  void SetPressed(int flag);

  int HasItem(int id) const;
  const TEXTDESC* FindItem(int id) const;
  HOBJECT Sprite() const { return sprite_; }
  int X() const { return x_; }
  int Y() const { return y_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Visible() const { return visible_; }
  int ItemBits() const { return itemBits_; }
  const CBaseList<TEXTDESC*>& Items() const { return items_; }

 private:
  TEXTDESC* Find(int id);
  void FillBackground();
  static void PlaceText(TEXTDESC& item);

  HOBJECT sprite_ = 0;
  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
  int32_t background_ = kDefaultBackground;
  int visible_ = 1;
  int itemBits_ = 0;
  CSpriteWnd* owner_ = nullptr;
  CBaseList<TEXTDESC*> items_;
};

}  // namespace qmz
