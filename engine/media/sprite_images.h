#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/display.h"

struct DIBSECTION;

// The picture of a sprite: frames, each an off-screen surface, divided into
// a grid of equal cells. Frames load from picture files, keep their surfaces
// in a table that survives lost surfaces, show one cell, and draw onto the
// back buffer or another sprite's frame.

struct SPRITEFRAMEDESC {
  int surfaceIndex = -1;  // entry of the sprite surface table, -1 for a surface of its own
  uint32_t colorKey = 0;  // the transparent screen pixel
  int width = 0;          // the picture
  int height = 0;
  plat::Rect source;  // the area of the surface drawn now
  plat::Rect dest;    // where it is drawn
  int stretch = 0;
  std::shared_ptr<plat::Surface> surface;  // shared by duplicated frames; null: no picture
  // Another sprite's frame that receives the drawing instead of the back
  // buffer; hasTarget stays set after that frame is gone (it then takes nothing).
  std::weak_ptr<SPRITEFRAMEDESC> target;
  int hasTarget = 0;
};

struct SPRITEIMAGEDESC {
  std::vector<std::shared_ptr<SPRITEFRAMEDESC>> frames;
  int sourceLeft = 0;  // the part of a cell that is drawn, in cell coordinates
  int sourceTop = 0;
  int sourceRight = 0;
  int sourceBottom = 0;
  int cellWidth = 0;
  int cellHeight = 0;
  int rows = 0;
  int columns = 0;
  int frameCount = 0;
  int currentRow = 0;
  int currentColumn = 0;
  int currentFrame = 0;
};

// The sprite surface table: entries of a surface and, for one in video
// memory, a system-memory copy to restore it from.
struct SPRITESURFACEENTRY {
  std::shared_ptr<plat::Surface> surface;
  std::shared_ptr<plat::Surface> copy;
  int references = 0;
};
constexpr int kSpriteSurfaceCount = 2048;
extern std::array<SPRITESURFACEENTRY, kSpriteSurfaceCount> g_spriteSurfaces;
extern int g_spriteSurfaceCount;  // one past the highest entry in use

// An entry index, or -1 when the table is full or no surface can be made.
int CreateSpriteSurface(int width, int height, int videoMemoryAllowed);
// An off-screen surface in system memory, not in the table.
std::shared_ptr<plat::Surface> CreateSystemSurface(int width, int height);
// Drops one reference; the last one empties the entry.
void ReleaseSpriteSurface(int index);
// Restores lost table surfaces from their copies.
void RestoreSpriteSurfaces();

// The picture of an image file as a bitmap (bottom row first), or null:
// from the image package (".bmp" entries only), else from the image
// directories (".qsi" set entries, ".bmp", ".qbi").
std::unique_ptr<DIBSECTION> LoadSpriteBitmap(const char* name, int* width, int* height);
// Gives the frame the named picture; without one it keeps none.
void LoadSpriteFrame(SPRITEFRAMEDESC& frame, const char* name, int videoMemoryAllowed);
// Frames from files (name: "%s%02d" per frame when frameCount > 0, the name
// itself when 0) or, without a name, blank frames of columns x cellWidth by
// rows x cellHeight. A cell size below 1 takes the first frame's picture as
// the one cell (and writes it back).
void LoadSpriteImageFrames(SPRITEIMAGEDESC& image, const char* name, int frameCount, int rows, int columns,
                           int* cellWidth, int* cellHeight, int videoMemoryAllowed);
// New frame records over the same pictures; grid, cell size and frame count copied.
std::unique_ptr<SPRITEIMAGEDESC> DuplicateSpriteImage(const SPRITEIMAGEDESC& image);
// Releases the frames' surfaces.
void FreeSpriteImage(SPRITEIMAGEDESC& image);

// Cell selection; each value is limited to 0..count - 1.
void SetImageFrame(SPRITEIMAGEDESC& image, int frame);
void SetImageColumn(SPRITEIMAGEDESC& image, int column);
void SetImageRow(SPRITEIMAGEDESC& image, int row);
// Limited to the cell (a cell width of 0 takes the rectangle as given).
void SetImageSourceRect(SPRITEIMAGEDESC& image, int left, int top, int right, int bottom);
// Re-divides the first frame into columns x rows (a value below 1 keeps the current one).
void SetImageGrid(SPRITEIMAGEDESC& image, int columns, int rows);
// Adds step; past the count it wraps once (wrap) or stops on the last and answers 0.
int StepImageColumn(SPRITEIMAGEDESC& image, int step, int wrap);
int StepImageRow(SPRITEIMAGEDESC& image, int step, int wrap);
void SetImageColorKey(SPRITEIMAGEDESC& image, uint32_t key);
// The first frame of target (null: the back buffer) receives every frame's drawing.
void SetImageTarget(SPRITEIMAGEDESC& image, const std::shared_ptr<SPRITEFRAMEDESC>& target);

// Draws the current cell at (x, y): a plain copy, a stretched or mirrored
// blit, or an alpha blend (alpha 1.0 is opaque).
void DrawSpriteImage(SPRITEIMAGEDESC& image, int x, int y, float scaleX, float scaleY, float alpha, int mirrored,
                     int keyed);

// Pixel access to one frame.
void FillSpriteFrame(SPRITEFRAMEDESC& frame, uint32_t pixel);
void DrawSpriteFrameText(SPRITEFRAMEDESC& frame, int x, int y, const char* text, uint32_t pixel);
// The first pixel, or null; the pitch becomes g_spriteLockPitch.
void* LockSpriteFrame(SPRITEFRAMEDESC& frame);
void UnlockSpriteFrame(SPRITEFRAMEDESC& frame);
// 1 when the pixel at (x, y) equals the frame's colour key; -1 outside the picture.
int TestSpriteFramePixel(SPRITEFRAMEDESC& frame, int x, int y);
