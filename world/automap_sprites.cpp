#include "world/automap_sprites.h"

#include "engine/media/sprites.h"

HOBJECT CreateAutomapBlankSprite(int width, int height, int red, int green, int blue) {
  BeginSprite(0);
  SetSpriteBlankImage(1, 1, 1, width, height);
  HOBJECT sprite = EndSprite(0);
  ShowSprite(sprite, 0);
  FillSprite(sprite, 0, red, green, blue);
  return sprite;
}

HOBJECT CreateAutomapImageSprite(const char* image, int cellWidth, int cellHeight, int layer, int visible) {
  BeginSprite(0);
  SetSpriteImage(image, 0, cellWidth, cellHeight);
  ShowSprite(0, visible);
  SetSpriteColorKey(0, 0, 0, 255, 1);
  SetSpriteDepth(0, 0, 0, layer);
  return EndSprite(0);
}

void DeleteAutomapSprite(HOBJECT& sprite) {
  if (sprite) DeleteSprite(sprite);
  sprite = 0;
}
