// Selecting the cell of a sprite image that is shown.
#include "engine/media/sprite_images.h"

#include <algorithm>

namespace {

int Limit(int value, int count) { return std::clamp(value, 0, std::max(count - 1, 0)); }

// The current frame shows the source rectangle of the current cell.
void SelectCell(SPRITEIMAGEDESC& image) {
  if (image.frames.empty()) return;
  SPRITEFRAMEDESC& frame = *image.frames[image.currentFrame];
  int dx = image.currentColumn * image.cellWidth, dy = image.currentRow * image.cellHeight;
  frame.source =
      plat::Rect{image.sourceLeft + dx, image.sourceTop + dy, image.sourceRight + dx, image.sourceBottom + dy};
}

int Step(int& current, int count, int step, int wrap) {
  int answer = 1;
  current += step;
  if (current >= count) {
    if (wrap) {
      current -= count;
    } else {
      current = count - 1;
      answer = 0;
    }
  }
  current = Limit(current, count);
  return answer;
}

}  // namespace

void SetImageFrame(SPRITEIMAGEDESC& image, int frame) {
  image.currentFrame = Limit(frame, std::min(image.frameCount, static_cast<int>(image.frames.size())));
  SelectCell(image);
}

void SetImageColumn(SPRITEIMAGEDESC& image, int column) {
  image.currentColumn = Limit(column, image.columns);
  SelectCell(image);
}

void SetImageRow(SPRITEIMAGEDESC& image, int row) {
  image.currentRow = Limit(row, image.rows);
  SelectCell(image);
}

void SetImageSourceRect(SPRITEIMAGEDESC& image, int left, int top, int right, int bottom) {
  if (image.cellWidth != 0) {
    left = std::clamp(left, 0, std::max(image.cellWidth - 1, 0));
    right = std::clamp(right, 0, std::max(image.cellWidth, 0));
    top = std::clamp(top, 0, std::max(image.cellHeight - 1, 0));
    bottom = std::clamp(bottom, 0, std::max(image.cellHeight, 0));
  }
  image.sourceLeft = left;
  image.sourceTop = top;
  image.sourceRight = right;
  image.sourceBottom = bottom;
  if (!image.frames.empty()) image.frames[image.currentFrame]->dest = plat::Rect{left, top, right, bottom};
  SelectCell(image);
}

void SetImageGrid(SPRITEIMAGEDESC& image, int columns, int rows) {
  if (image.frames.empty()) return;
  if (columns >= 1) image.columns = columns;
  if (rows >= 1) image.rows = rows;
  bool wholeCell = image.sourceLeft == 0 && image.sourceTop == 0 && image.sourceRight == image.cellWidth &&
                   image.sourceBottom == image.cellHeight;
  const SPRITEFRAMEDESC& first = *image.frames[0];
  image.cellWidth = image.columns > 0 ? first.width / image.columns : 0;
  image.cellHeight = image.rows > 0 ? first.height / image.rows : 0;
  image.currentColumn = Limit(image.currentColumn, image.columns);
  image.currentRow = Limit(image.currentRow, image.rows);
  if (wholeCell) SetImageSourceRect(image, 0, 0, image.cellWidth, image.cellHeight);
  else SetImageSourceRect(image, image.sourceLeft, image.sourceTop, image.sourceRight, image.sourceBottom);
}

int StepImageColumn(SPRITEIMAGEDESC& image, int step, int wrap) {
  int answer = Step(image.currentColumn, image.columns, step, wrap);
  SelectCell(image);
  return answer;
}

int StepImageRow(SPRITEIMAGEDESC& image, int step, int wrap) {
  int answer = Step(image.currentRow, image.rows, step, wrap);
  SelectCell(image);
  return answer;
}

void SetImageColorKey(SPRITEIMAGEDESC& image, uint32_t key) {
  for (auto& frame : image.frames) {
    frame->colorKey = key;
    if (frame->surface) frame->surface->SetColorKey(key);
  }
}

void SetImageTarget(SPRITEIMAGEDESC& image, const std::shared_ptr<SPRITEFRAMEDESC>& target) {
  for (auto& frame : image.frames) {
    frame->target = target;
    frame->hasTarget = target ? 1 : 0;
  }
}
