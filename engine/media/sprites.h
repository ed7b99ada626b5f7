#pragma once
#include <array>
#include <memory>
#include <string>

#include "engine/core/handles.h"

struct SPRITEIMAGEDESC;

// The 2D pictures drawn over the 3D image every frame. A sprite shows one
// cell of its image, sits in a parent-child hierarchy with positions relative
// to its parent, and is drawn in the order of a sorted draw list (layer, then
// the y and x of its sort point). Sprites are built in two steps: BeginSprite
// starts one that handle 0 addresses, its image is given, and EndSprite
// files it and answers its handle.
//
// Every call holds the display lock (platform/threads.h): a worker thread may
// draw the sprites and present while the main thread changes them.

struct SPRITEDESC {
  std::unique_ptr<SPRITEIMAGEDESC> image;  // null when it has none
  std::string name;                        // empty for a blank or image-less sprite
  int x = 0;                               // relative to the parent (to the viewport origin without one)
  int y = 0;
  int cellWidth = 0;
  int cellHeight = 0;
  int absoluteX = 0;  // the parents' positions added, kept up to date before drawing
  int absoluteY = 0;
  int depthX = 0;  // added to the absolute position to give the sort point
  int depthY = 0;
  int layer = 0;  // the first sort key
  float alpha = 1.0f;
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  int visible = 1;
  int mirrored = 0;
  int colorKeyOn = 0;
  int positionDirty = 1;
  int videoMemoryAllowed = 0;
  SPRITEDESC* parent = nullptr;
  SPRITEDESC* nextSibling = nullptr;
  SPRITEDESC* firstChild = nullptr;
  SPRITEDESC* previous = nullptr;  // draw list
  SPRITEDESC* next = nullptr;
  ~SPRITEDESC();
};

constexpr int kSpriteTableSize = 2048;  // slot 0 is never used
extern std::array<SPRITEDESC*, kSpriteTableSize> g_spriteTable;

// Empties the table and the draw list (engine open).
void InitSprites();
// Frees every sprite (engine close).
void FreeAllSprites();

// Starts a sprite addressed by handle 0 (dropping one still under construction).
void BeginSprite(int videoMemoryAllowed);
// The picture of the sprite under construction: frameCount 0 loads the named
// file, n > 0 the files "%s%02d" from 00; a cell size of 0 takes the whole
// picture as one cell. Nothing for a null name or a negative count.
void SetSpriteImage(const char* fileName, int frameCount, int cellWidth, int cellHeight);
// Blank frames of columns x cellWidth by rows x cellHeight pixels.
void SetSpriteBlankImage(int frames, int rows, int columns, int cellWidth, int cellHeight);
// Files the sprite under construction under parent (0: none); its handle, or
// 0 (still under construction) when the table is full.
HOBJECT EndSprite(HOBJECT parent);
// A new filed sprite over the same pictures, with default placement.
HOBJECT CloneSprite(HOBJECT sprite);
// Its children stay, their positions now counting from the viewport origin.
void DeleteSprite(HOBJECT sprite);

void SetSpritePosition(HOBJECT sprite, int x, int y);
void SetSpriteDepth(HOBJECT sprite, int depthX, int depthY, int layer);
// Appends the sprite to the new parent's children (0: none). A parent that
// is the sprite itself or one of its descendants is refused.
void SetSpriteParent(HOBJECT sprite, HOBJECT parent);
void SetSpriteAlpha(HOBJECT sprite, float alpha);
void ShowSprite(HOBJECT sprite, int visible);
// The colour's screen pixel becomes every frame's colour key.
void SetSpriteColorKey(HOBJECT sprite, int red, int green, int blue, int keyOn);
// Each pointer may be null (unchanged); values are limited to 0..count - 1.
void SetSpriteFrame(HOBJECT sprite, const int* frame, const int* column, const int* row);
// The part of the cell that is drawn, limited to the cell.
void SetSpriteSourceRect(HOBJECT sprite, int x, int y, int width, int height);
// Re-divides the image (a value below 1 keeps the current one).
void SetSpriteGrid(HOBJECT sprite, int columns, int rows);
// Past the count: wraps once with wrap, else stops on the last and answers 0.
int StepSpriteColumn(HOBJECT sprite, int step, int wrap);
int StepSpriteRow(HOBJECT sprite, int step, int wrap);

// Outputs may be null. The position is the sum along the parent chain.
void GetSpritePosition(HOBJECT sprite, int* x, int* y);
void GetSpriteDepth(HOBJECT sprite, int* x, int* y, int* layer);
void GetSpriteSize(HOBJECT sprite, int* width, int* height);
void GetSpriteGrid(HOBJECT sprite, int* frames, int* columns, int* rows);

// Pixel access to one frame; frames outside 0..count - 1 do nothing.
void FillSprite(HOBJECT sprite, int frame, int red, int green, int blue);
// Big5 text in the glyph font with the top of its cell at y.
void DrawSpriteText(HOBJECT sprite, int frame, int x, int y, const char* text, int red, int green, int blue);
// The frame's first pixel (GetSpriteLockPitch gives the pitch), or null.
void* LockSprite(HOBJECT sprite, int frame);
void UnlockSprite(HOBJECT sprite, int frame);

// Draws the sprite at once onto target's first frame (0 or a sprite without
// frames: the back buffer); from then on DrawSprites leaves it out.
void DrawSpriteOnto(HOBJECT sprite, HOBJECT target);
// Draws the draw list into a viewport (0: the default one), filling it with
// colour 0 first when clear is set.
void DrawSprites(HOBJECT viewport, int clear);
// 1 when the point lies on the sprite (with pixelTest: on a pixel that is not
// the colour key).
int HitTestSprite(HOBJECT sprite, int x, int y, int pixelTest);
// 0 gives the sprite under construction. Scales and mirroring have no
// setter of their own: they are written into the record found here.
SPRITEDESC* LookupSprite(HOBJECT sprite);

// The pitch in bytes of the sprite frame locked last (0 when none is locked).
extern int g_spriteLockPitch;
