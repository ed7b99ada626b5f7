#include "game/picture_sprite.h"

#include "engine/media/sprites.h"

HOBJECT CreatePictureSprite(int x, int y, int width, int height, const char* imageName) {
  BeginSprite(1);
  SetSpriteImage(imageName, 0, width, height);
  HOBJECT sprite = EndSprite(0);
  if (sprite) SetSpritePosition(sprite, x, y);
  return sprite;
}
