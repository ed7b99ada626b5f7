#include "cutscene/sprite_actor.h"

#include "cutscene/directory_switch.h"
#include "engine/media/data_directories.h"
#include "engine/media/sprites.h"

SSprite::SSprite(const std::string& file, const std::string& directory, int frames, int columns, int rows, int grid)
    : fileName_(file) {
  ScopedDirectory images(GetImageDirectory, SetImageDirectory, directory);
  BeginSprite(0);
  if (grid) {
    SetSpriteImage(file.c_str(), frames, 0, 0);
    sprite_ = EndSprite(0);
    SetSpriteGrid(sprite_, columns, rows);
  } else {
    SetSpriteImage(file.c_str(), frames, columns, rows);
    sprite_ = EndSprite(0);
  }
}

SSprite::~SSprite() { DeleteSprite(sprite_); }

void SSprite::Show(int flag) { ShowSprite(sprite_, flag); }

void SSprite::SetPage(const int* frame, const int* column, const int* row) {
  SetSpriteFrame(sprite_, frame, column, row);
}
