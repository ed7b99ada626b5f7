#include "components/b_sprite.h"

#include <cstring>

#include "engine/media/sprites.h"

CBSprite::~CBSprite() { Release(); }

const char* CBSprite::SetDirectory(const char* text) {
  if (!text) return nullptr;
  path = text;
  return text + std::strlen(text) + 1;
}

int CBSprite::Load(const char* name, int newWidth, int newHeight, int newFrameCount, int /*reserved1*/,
                   int /*reserved2*/) {
  if (newWidth <= 0 || newHeight <= 0) return 0;
  const std::string joined = path + '\\' + (name ? name : "");
  if (joined.size() > kMaxPath) return 0;
  if (path.empty()) Release();
  path = joined;
  frameCount = newFrameCount;
  width = newWidth;
  height = newHeight;
  BeginSprite(0);
  SetSpriteImage(path.c_str(), frameCount, 0, 0);
  SetSpriteDepth(0, 0, 0, 1);
  const HOBJECT made = EndSprite(0);
  if (!made) return 0;
  sprite = made;
  ShowSprite(sprite, 0);
  return 1;
}

void CBSprite::Release() {
  if (sprite) DeleteSprite(sprite);
  sprite = 0;
}

void CBSprite::SetAlpha(float value) {
  if (!sprite) return;
  SetSpriteAlpha(sprite, value);
  alpha = value;
}

void CBSprite::SetPosition(int newX, int newY) {
  if (!sprite) return;
  SetSpritePosition(sprite, newX, newY);
  x = newX;
  y = newY;
}
