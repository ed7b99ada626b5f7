#include "ui/gm_board.h"

#include <cstring>

#include "base/text_convert.h"
#include "database/game_resource.h"
#include "engine/media/sprites.h"
#include "ui/smooth_text.h"

namespace {

// A sprite of the picture keyed pure blue; frames 0 takes the file as named,
// 1 its first numbered picture. Without a name a hidden sprite with none.
HOBJECT MakeBoardSprite(const char* name, int frames, int width, int height) {
  BeginSprite(0);
  if (name) SetSpriteImage(name, frames, width, height);
  const HOBJECT sprite = EndSprite(0);
  if (name) SetSpriteColorKey(sprite, 0, 0, 255, 1);
  else ShowSprite(sprite, 0);
  return sprite;
}

}  // namespace

CGMBoard::CGMBoard(const char* imageName, int width, int height, int groupId)
    : CGMBase(groupId), width(width), height(height) {
  sprite = MakeBoardSprite(imageName, 0, width, height);
  SetFontName(GetMessageString(1));
}

CGMBoard::~CGMBoard() {
  if (textSprite) DeleteSprite(textSprite);
  if (sprite) DeleteSprite(sprite);
}

int CGMBoard::Update(int) { return 0; }

void CGMBoard::Show(int visible) {
  ShowSprite(sprite, visible);
  if (textSprite) ShowSprite(textSprite, visible);
}

int CGMBoard::HitTest(int x, int y) {
  int left = 0, top = 0;
  GetSpritePosition(sprite, &left, &top);
  return left < x && x < left + width && top < y && y < top + height;
}

void CGMBoard::SetDepth(int x, int y, int layer) {
  CGMBase::SetDepth(x, y, layer);
  if (textSprite) SetSpriteDepth(textSprite, x, y, layer + 1);
}

void CGMBoard::SetImage(const char* name) {
  const SPRITEDESC* old = LookupSprite(sprite);
  int x = 0, y = 0, depthX = 0, depthY = 0, layer = 0;
  if (old) {
    x = old->x;
    y = old->y;
    depthX = old->depthX;
    depthY = old->depthY;
    layer = old->layer;
  }
  if (sprite) DeleteSprite(sprite);
  sprite = MakeBoardSprite(name, 1, width, height);
  SetSpritePosition(sprite, x, y);
  SetSpriteDepth(sprite, depthX, depthY, layer);
  // The text stays on the board.
  if (textSprite) SetSpriteParent(textSprite, sprite);
}

void CGMBoard::CreateTextSprite() {
  BeginSprite(0);
  SetSpriteBlankImage(1, 1, 1, width, height);
  textSprite = EndSprite(sprite);
  SetSpriteColorKey(textSprite, 0, 0, 255, 1);
  FillSprite(textSprite, 0, 0, 0, 255);
  int depthX = 0, depthY = 0, layer = 0;
  GetSpriteDepth(sprite, &depthX, &depthY, &layer);
  SetSpriteDepth(textSprite, depthX, depthY, layer + 1);
}

int CGMBoard::DrawText(int x, int y, const char* text, int red, int green, int blue) {
  if (!textSprite) CreateTextSprite();
  SMOOTHTEXTDESC desc;
  desc.width = fontSize;
  desc.height = fontSize;
  char face[256] = {};
  SelectFontName(fontName, fontSize, fontSize, face);
  std::memcpy(desc.face, face, Big5PrefixLength(face, sizeof desc.face - 1));
  desc.red = red;
  desc.green = green;
  desc.blue = blue;
  char work[kTextBytes + 1];
  const size_t length = text ? Big5PrefixLength(text, kTextBytes) : 0;
  if (length) std::memcpy(work, text, length);
  work[length] = '\0';
  ConvertText(work);
  if (DrawSmoothTextOver(textSprite, x, y, work, &desc, sprite) < 0)
    DrawConvertedText(textSprite, 0, x, y - fontSize, work, red, green, blue);
  return 1;
}

void CGMBoard::ClearText(int remove) {
  if (!textSprite) return;
  if (remove) {
    DeleteSprite(textSprite);
    textSprite = 0;
  } else {
    FillSprite(textSprite, 0, 0, 0, 255);
  }
}

void CGMBoard::SetFontSize(int size) {
  if (size > 0) fontSize = size;
}

void CGMBoard::SetFontName(const char* name) {
  const char* source = name ? name : "";
  const size_t length = Big5PrefixLength(source, sizeof fontName - 1);
  std::memcpy(fontName, source, length);
  fontName[length] = '\0';
}
