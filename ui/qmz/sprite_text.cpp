#include "ui/qmz/sprite_text.h"

#include "database/game_resource.h"
#include "engine/media/glyph_font.h"
#include "engine/media/sprites.h"
#include "ui/qmz/sp_codes.h"
#include "ui/qmz/sp_kernel.h"
#include "ui/qmz/sprite_wnd.h"

namespace qmz {

namespace {

// The message-table string naming the face of every text item.
constexpr int kFaceMessage = 50;

}  // namespace

CSpriteText::~CSpriteText() { Clear(); }

int CSpriteText::SetRect(int x, int y, int width, int height, CSpriteWnd* window) {
  if (!window || x < 0 || y < 0 || width <= 0 || height <= 0 || x + width > window->Width() ||
      y + height > window->Height())
    return 0;
  if (sprite_) DeleteSprite(sprite_);
  sprite_ = 0;
  BeginSprite(1);
  SetSpriteBlankImage(1, 1, 1, width, height);
  HOBJECT sprite = EndSprite(0);
  if (!sprite) return 0;
  sprite_ = sprite;
  x_ = x;
  y_ = y;
  width_ = width;
  height_ = height;
  owner_ = window;
  SPRGB key = SplitColour(background_);
  SetSpriteColorKey(sprite_, key.red, key.green, key.blue, 1);
  FillBackground();
  SetLayer(window->TextLayer());
  int wx = 0, wy = 0;
  window->GetAbsolutePosition(&wx, &wy);
  Place(wx, wy);
  // The surface shows with its window.
  visible_ = (window->State() & CSpriteWnd::kVisible) != 0;
  ShowSprite(sprite_, visible_);
  return 1;
}

void CSpriteText::FillBackground() {
  SPRGB fill = SplitColour(background_);
  FillSprite(sprite_, 0, fill.red, fill.green, fill.blue);
}

void CSpriteText::Place(int windowX, int windowY) {
  if (sprite_) SetSpritePosition(sprite_, windowX + x_, windowY + y_);
}

void CSpriteText::SetLayer(int layer) {
  if (sprite_) SetSpriteDepth(sprite_, 0, 0, layer);
}

void CSpriteText::SetPressed(int flag) {
  if (flag) itemBits_ |= CSpriteWnd::kPressed;
  else itemBits_ &= ~CSpriteWnd::kPressed;
}

void CSpriteText::AddItem(int id) {
  auto* item = new TEXTDESC;
  item->id = id;
  items_.Append(item);
}

const CSpriteText::TEXTDESC* CSpriteText::FindItem(int id) const {
  for (const TEXTDESC* item : items_)
    if (item->id == id) return item;
  return nullptr;
}

CSpriteText::TEXTDESC* CSpriteText::Find(int id) { return const_cast<TEXTDESC*>(FindItem(id)); }

int CSpriteText::HasItem(int id) const { return FindItem(id) != nullptr; }

void CSpriteText::PlaceText(TEXTDESC& item) {
  int n = static_cast<int>(item.text.size());
  int fontWidth = item.font ? item.font->width : 0;
  item.drawX = item.x;
  if (item.flags & kTextAlignRight) {
    if (item.flags & kTextRightLoose) item.drawX = item.x + 1 + item.width - n * (fontWidth / 2);
    else if (item.flags & kTextRightTight) item.drawX = item.x + item.width - n * (fontWidth / 2 + 1);
  }
  item.drawY = item.y + item.height;
}

int CSpriteText::SetItemDesc(const char* text, const SPTEXTPARAM& param) {
  if (!sprite_ || param.x < 0 || param.y < 0 || param.x + param.width > width_ || param.y + param.height > height_ ||
      param.width < param.fontWidth || param.height < param.fontHeight)
    return 0;
  TEXTDESC* item = Find(param.id);
  if (!item) return 0;
  item->x = param.x;
  item->y = param.y;
  item->width = param.width;
  item->height = param.height;
  item->flags = param.flags;
  char name[sizeof param.fontName + 1] = {};
  for (size_t i = 0; i < sizeof param.fontName && param.fontName[i]; ++i) name[i] = param.fontName[i];
  item->font = g_spKernel.FindOrAddFont(name, param.fontWidth, param.fontHeight);
  item->colours.clear();
  for (int i = 0; i < SPTEXTPARAM::kColourEntries; ++i)
    if (param.colours[i] != -1) item->colours.push_back((param.colours[i] & 0xFFFFFF) | i << 24);
  item->text = text ? text : "";
  PlaceText(*item);
  Redraw(0);
  return 1;
}

int CSpriteText::SetItemText(const char* text, int id) {
  if (!text || !sprite_) return 0;
  TEXTDESC* item = id == -1 ? (items_.IsEmpty() ? nullptr : *items_.begin()) : Find(id);
  if (!item) return 0;
  item->text = text;
  PlaceText(*item);
  Redraw(0);
  return 1;
}

void CSpriteText::DrawItem(const TEXTDESC& item, int entryIndex) {
  // An item never described has no font to size its text with.
  if (item.text.empty() || !item.font || !sprite_) return;
  int32_t colour = 0;  // a missing entry draws black
  for (int32_t entry : item.colours)
    if ((entry >> 24 & 0xFF) == entryIndex) {
      colour = entry & 0xFFFFFF;
      break;
    }
  SetTextFont(GetMessageString(kFaceMessage), item.font->width, item.font->height);
  SPRGB rgb = SplitColour(colour);
  DrawSpriteText(sprite_, 0, item.drawX, item.drawY - item.font->height, item.text.c_str(), rgb.red, rgb.green,
                 rgb.blue);
}

void CSpriteText::DrawAll(int entryIndex) {
  for (const TEXTDESC* item : items_) DrawItem(*item, entryIndex);
}

void CSpriteText::Redraw(int entryIndex) {
  if (!sprite_) return;
  FillBackground();
  DrawAll(entryIndex);
}

void CSpriteText::Show(int flag) {
  int visible = flag ? 1 : 0;
  if (visible == visible_) return;
  visible_ = visible;
  if (sprite_) ShowSprite(sprite_, visible);
}

void CSpriteText::Clear() {
  if (sprite_) DeleteSprite(sprite_);
  sprite_ = 0;
  for (TEXTDESC* item : items_) delete item;
  items_.Clear();
}

}  // namespace qmz
