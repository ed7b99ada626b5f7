#include "world/explored_cells.h"

#include <algorithm>
#include <cmath>

namespace {

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

}  // namespace

CExploredCells::CExploredCells(int width, int height, float originX, float originY, float scale, int cellSize,
                               const uint8_t* data, int byteCount)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      scale_(scale),
      cellSize_(std::max(cellSize, 1)),
      originX_(originX),
      originY_(originY) {
  columns_ = CeilDiv(width_, cellSize_);
  rows_ = CeilDiv(height_, cellSize_);
  int needed = (columns_ * rows_ + 7) / 8;
  if (data && byteCount >= needed) bits_.assign(data, data + byteCount);
  else bits_.assign(static_cast<size_t>(needed), 0);
}

int CExploredCells::BytesFor(int width, int height, int cellSize) {
  cellSize = std::max(cellSize, 1);
  return (CeilDiv(std::max(width, 1), cellSize) * CeilDiv(std::max(height, 1), cellSize) + 7) / 8;
}

CExploredCells::Info CExploredCells::GetInfo() const {
  return {originX_, originY_, scale_, width_, height_, static_cast<int>(bits_.size())};
}

bool CExploredCells::CellOf(float x, float y, int* column, int* row) const {
  // Pixels are truncated first, then divided by the cell size, as the grid was made.
  double px = std::trunc((static_cast<double>(x) - originX_) * scale_);
  double py = std::trunc((static_cast<double>(originY_) - y) * scale_);
  if (!(std::fabs(px) < 1e9) || !(std::fabs(py) < 1e9)) return false;
  int c = static_cast<int>(px) / cellSize_;
  int r = static_cast<int>(py) / cellSize_;
  if (c < 0 || c >= columns_ || r < 0 || r >= rows_) return false;
  *column = c;
  *row = r;
  return true;
}

bool CExploredCells::IsExplored(int column, int row) const {
  int index = column + row * columns_;
  return (bits_[static_cast<size_t>(index / 8)] & (0x80 >> (index % 8))) != 0;
}

void CExploredCells::MarkExplored(int column, int row) {
  int index = column + row * columns_;
  bits_[static_cast<size_t>(index / 8)] |= static_cast<uint8_t>(0x80 >> (index % 8));
}
