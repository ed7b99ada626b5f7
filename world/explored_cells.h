#pragma once
#include <cstdint>
#include <vector>

// The explored cells of one scene's automap: one bit per cell of cellSize
// map pixels, row by row; bit 0x80 of byte index / 8 is the cell whose
// index is a multiple of 8. The fitting of the map when the record was made
// (its left, top and scale) goes with it, so marking stays on the same grid.
class CExploredCells {
 public:
  struct Info {
    float originX = 0;
    float originY = 0;
    float scale = 0;
    int width = 0;
    int height = 0;
    int byteCount = 0;
  };

  // Sizes below 1 count as 1. Without data every cell is unexplored; data
  // gives byteCount bytes (at least the bytes the cells need).
  CExploredCells(int width, int height, float originX, float originY, float scale, int cellSize,
                 const uint8_t* data = nullptr, int byteCount = 0);

  // Bytes the cells of a grid need.
  static int BytesFor(int width, int height, int cellSize);

  Info GetInfo() const;
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  int CellSize() const { return cellSize_; }
  const std::vector<uint8_t>& Bits() const { return bits_; }

  // The cell of a world point, false when it lies outside the grid.
  bool CellOf(float x, float y, int* column, int* row) const;
  bool IsExplored(int column, int row) const;
  void MarkExplored(int column, int row);

 private:
  int columns_;
  int rows_;
  int width_;
  int height_;
  float scale_;
  int cellSize_;
  float originX_;
  float originY_;
  std::vector<uint8_t> bits_;
};
