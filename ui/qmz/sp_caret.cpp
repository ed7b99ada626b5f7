#include "ui/qmz/sp_caret.h"

#include "engine/media/sprites.h"

namespace qmz {

int CSpCaret::Create(const char* imageName, int x, int y, int width, int height, int style, int id, CSpriteWnd* parent,
                     int32_t colour, int value) {
  if (!InitWindow(x, y, width, height, style, parent)) return 0;
  id_ = id;
  value_ = value;
  AddSurface(&mainSurface_, imageName, colour);
  UpdatePosition();
  if (mainSurface_) ShowSprite(mainSurface_, (state_ & kVisible) != 0);
  return 1;
}

}  // namespace qmz
