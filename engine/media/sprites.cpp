// The sprite table: building, filing, cloning, deleting and changing sprites.
#include "engine/media/sprites.h"

#include "engine/core/engine_state.h"
#include "engine/core/world.h"
#include "engine/media/screen.h"
#include "engine/media/sprite_images.h"
#include "engine/media/sprite_list.h"
#include "platform/threads.h"

std::array<SPRITEDESC*, kSpriteTableSize> g_spriteTable{};

namespace {

int g_spritesReady = 0;
SPRITEDESC* g_spriteUnderConstruction = nullptr;

HOBJECT SpriteHandle(int slot) { return MakeHandle(OBJTYPE_SPRITE, static_cast<uint32_t>(slot)); }

// The first free slot from 1, or -1.
int FreeSlot() {
  for (int slot = 1; slot < kSpriteTableSize; ++slot)
    if (!g_spriteTable[slot]) return slot;
  return -1;
}

void RemoveChild(SPRITEDESC* parent, SPRITEDESC* child) {
  for (SPRITEDESC** link = &parent->firstChild; *link; link = &(*link)->nextSibling) {
    if (*link == child) {
      *link = child->nextSibling;
      break;
    }
  }
  child->nextSibling = nullptr;
}

void AppendChild(SPRITEDESC* parent, SPRITEDESC* child) {
  SPRITEDESC** link = &parent->firstChild;
  while (*link) link = &(*link)->nextSibling;
  *link = child;
  child->nextSibling = nullptr;
}

bool IsSelfOrDescendant(const SPRITEDESC* sprite, const SPRITEDESC* candidate) {
  for (const SPRITEDESC* s = candidate; s; s = s->parent)
    if (s == sprite) return true;
  return false;
}

void Attach(SPRITEDESC* sprite, SPRITEDESC* parent) {
  if (sprite->parent) RemoveChild(sprite->parent, sprite);
  sprite->parent = parent;
  if (parent) AppendChild(parent, sprite);
}

// Files a finished sprite: the first free slot, the end of the draw list.
HOBJECT File(SPRITEDESC* sprite, SPRITEDESC* parent) {
  int slot = FreeSlot();
  if (slot < 0) return 0;
  g_spriteTable[slot] = sprite;
  AppendToDrawList(sprite);
  g_spriteOrderChanged = 1;
  g_spritePositionsChanged = 1;
  if (parent) Attach(sprite, parent);
  return SpriteHandle(slot);
}

void DestroyUnderConstruction() {
  if (!g_spriteUnderConstruction) return;
  Attach(g_spriteUnderConstruction, nullptr);
  delete g_spriteUnderConstruction;
  g_spriteUnderConstruction = nullptr;
}

SPRITEDESC* FiledParent(HOBJECT parent) { return parent ? LookupSprite(parent) : nullptr; }

SPRITEDESC* SpriteWithImage(HOBJECT handle) {
  SPRITEDESC* sprite = LookupSprite(handle);
  return sprite && sprite->image ? sprite : nullptr;
}

SPRITEFRAMEDESC* Frame(HOBJECT handle, int frame) {
  SPRITEDESC* sprite = SpriteWithImage(handle);
  if (!sprite || frame < 0 || frame >= sprite->image->frameCount ||
      frame >= static_cast<int>(sprite->image->frames.size()))
    return nullptr;
  return sprite->image->frames[frame].get();
}

}  // namespace

SPRITEDESC::~SPRITEDESC() {
  if (image) FreeSpriteImage(*image);
}

SPRITEDESC* LookupSprite(HOBJECT handle) {
  if (!g_engineOpen) return nullptr;
  if (handle == 0) return g_spriteUnderConstruction;
  if (GetHandleType(handle) != (uint32_t{OBJTYPE_SPRITE} << 24)) return nullptr;
  uint32_t index = GetHandleIndex(handle);
  return index >= 1 && index < kSpriteTableSize ? g_spriteTable[index] : nullptr;
}

void InitSprites() {
  plat::DisplayLock lock;
  g_spriteTable.fill(nullptr);
  if (g_gameWorld) g_gameWorld->spriteFirst = g_gameWorld->spriteLast = nullptr;
  g_spritesReady = 1;
}

void FreeAllSprites() {
  plat::DisplayLock lock;
  for (SPRITEDESC*& sprite : g_spriteTable) {
    delete sprite;
    sprite = nullptr;
  }
  delete g_spriteUnderConstruction;
  g_spriteUnderConstruction = nullptr;
  if (g_gameWorld) g_gameWorld->spriteFirst = g_gameWorld->spriteLast = nullptr;
  g_spritesReady = 0;
}

void BeginSprite(int videoMemoryAllowed) {
  if (!g_engineOpen) return;
  plat::DisplayLock lock;
  if (!g_spritesReady) InitSprites();
  DestroyUnderConstruction();
  g_spriteUnderConstruction = new SPRITEDESC;
  g_spriteUnderConstruction->videoMemoryAllowed = videoMemoryAllowed;
}

void SetSpriteImage(const char* fileName, int frameCount, int cellWidth, int cellHeight) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = LookupSprite(0);
  if (!sprite || !fileName || frameCount < 0) return;
  sprite->name = fileName;
  if (!sprite->image) sprite->image = std::make_unique<SPRITEIMAGEDESC>();
  LoadSpriteImageFrames(*sprite->image, fileName, frameCount, 0, 0, &cellWidth, &cellHeight,
                        sprite->videoMemoryAllowed);
  sprite->cellWidth = cellWidth;
  sprite->cellHeight = cellHeight;
}

void SetSpriteBlankImage(int frames, int rows, int columns, int cellWidth, int cellHeight) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = LookupSprite(0);
  if (!sprite) return;
  sprite->cellWidth = cellWidth;
  sprite->cellHeight = cellHeight;
  if (frames < 1 || rows < 1 || columns < 1 || cellWidth < 1 || cellHeight < 1) return;
  sprite->name.clear();
  if (!sprite->image) sprite->image = std::make_unique<SPRITEIMAGEDESC>();
  LoadSpriteImageFrames(*sprite->image, nullptr, frames, rows, columns, &cellWidth, &cellHeight,
                        sprite->videoMemoryAllowed);
}

HOBJECT EndSprite(HOBJECT parent) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = LookupSprite(0);
  if (!sprite) return 0;
  if (!sprite->image) sprite->visible = 0;
  HOBJECT handle = File(sprite, FiledParent(parent));
  if (handle) g_spriteUnderConstruction = nullptr;
  return handle;
}

HOBJECT CloneSprite(HOBJECT handle) {
  plat::DisplayLock lock;
  SPRITEDESC* original = LookupSprite(handle);
  if (!original) return 0;
  auto* clone = new SPRITEDESC;
  clone->name = original->name;
  if (original->image) clone->image = DuplicateSpriteImage(*original->image);
  clone->cellWidth = original->cellWidth;
  clone->cellHeight = original->cellHeight;
  clone->videoMemoryAllowed = original->videoMemoryAllowed;
  HOBJECT cloned = File(clone, nullptr);
  if (!cloned) delete clone;
  return cloned;
}

void DeleteSprite(HOBJECT handle) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = LookupSprite(handle);
  if (!sprite) return;
  if (sprite == g_spriteUnderConstruction) {
    DestroyUnderConstruction();
    return;
  }
  RemoveFromDrawList(sprite);
  if (sprite->parent) RemoveChild(sprite->parent, sprite);
  for (SPRITEDESC* child = sprite->firstChild; child;) {
    SPRITEDESC* next = child->nextSibling;
    child->parent = nullptr;
    child->nextSibling = nullptr;
    child = next;
  }
  g_spritePositionsChanged = 1;
  g_spriteTable[GetHandleIndex(handle)] = nullptr;
  delete sprite;
}

void SetSpritePosition(HOBJECT handle, int x, int y) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = LookupSprite(handle);
  if (!sprite) return;
  sprite->x = x;
  sprite->y = y;
  g_spritePositionsChanged = g_spriteOrderChanged = 1;
}

void SetSpriteDepth(HOBJECT handle, int depthX, int depthY, int layer) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = LookupSprite(handle);
  if (!sprite) return;
  sprite->depthX = depthX;
  sprite->depthY = depthY;
  sprite->layer = layer;
  g_spriteOrderChanged = 1;
}

void SetSpriteParent(HOBJECT handle, HOBJECT parentHandle) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = LookupSprite(handle);
  if (!sprite) return;
  SPRITEDESC* parent = FiledParent(parentHandle);
  // A parent inside the sprite's own subtree would close a loop.
  if (parent && IsSelfOrDescendant(sprite, parent)) return;
  Attach(sprite, parent);
  g_spritePositionsChanged = g_spriteOrderChanged = 1;
}

void SetSpriteAlpha(HOBJECT handle, float alpha) {
  plat::DisplayLock lock;
  if (SPRITEDESC* sprite = LookupSprite(handle)) sprite->alpha = alpha;
}

void ShowSprite(HOBJECT handle, int visible) {
  plat::DisplayLock lock;
  if (SPRITEDESC* sprite = LookupSprite(handle)) sprite->visible = visible;
}

void SetSpriteColorKey(HOBJECT handle, int red, int green, int blue, int keyOn) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = LookupSprite(handle);
  if (!sprite) return;
  if (sprite->image) SetImageColorKey(*sprite->image, MapRGB(red, green, blue));
  sprite->colorKeyOn = keyOn;
}

void SetSpriteFrame(HOBJECT handle, const int* frame, const int* column, const int* row) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = SpriteWithImage(handle);
  if (!sprite) return;
  if (frame) SetImageFrame(*sprite->image, *frame);
  if (column) SetImageColumn(*sprite->image, *column);
  if (row) SetImageRow(*sprite->image, *row);
}

void SetSpriteSourceRect(HOBJECT handle, int x, int y, int width, int height) {
  plat::DisplayLock lock;
  if (SPRITEDESC* sprite = SpriteWithImage(handle)) SetImageSourceRect(*sprite->image, x, y, x + width, y + height);
}

void SetSpriteGrid(HOBJECT handle, int columns, int rows) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = SpriteWithImage(handle);
  if (!sprite) return;
  SetImageGrid(*sprite->image, columns, rows);
  sprite->cellWidth = sprite->image->cellWidth;
  sprite->cellHeight = sprite->image->cellHeight;
}

int StepSpriteColumn(HOBJECT handle, int step, int wrap) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = SpriteWithImage(handle);
  return sprite ? StepImageColumn(*sprite->image, step, wrap) : 0;
}

int StepSpriteRow(HOBJECT handle, int step, int wrap) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = SpriteWithImage(handle);
  return sprite ? StepImageRow(*sprite->image, step, wrap) : 0;
}

void GetSpritePosition(HOBJECT handle, int* x, int* y) {
  plat::DisplayLock lock;
  if (SPRITEDESC* sprite = LookupSprite(handle)) SumSpritePosition(*sprite, x, y);
}

void GetSpriteDepth(HOBJECT handle, int* x, int* y, int* layer) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = LookupSprite(handle);
  if (!sprite) return;
  int ax = 0, ay = 0;
  SumSpritePosition(*sprite, &ax, &ay);
  if (x) *x = ax + sprite->depthX;
  if (y) *y = ay + sprite->depthY;
  if (layer) *layer = sprite->layer;
}

void GetSpriteSize(HOBJECT handle, int* width, int* height) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = LookupSprite(handle);
  if (!sprite) return;
  if (width) *width = sprite->cellWidth;
  if (height) *height = sprite->cellHeight;
}

void GetSpriteGrid(HOBJECT handle, int* frames, int* columns, int* rows) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = LookupSprite(handle);
  if (!sprite) return;
  const SPRITEIMAGEDESC* image = sprite->image.get();
  if (frames) *frames = image ? image->frameCount : 0;
  if (columns) *columns = image ? image->columns : 0;
  if (rows) *rows = image ? image->rows : 0;
}

void FillSprite(HOBJECT handle, int frame, int red, int green, int blue) {
  plat::DisplayLock lock;
  if (SPRITEFRAMEDESC* f = Frame(handle, frame)) FillSpriteFrame(*f, MapRGB(red, green, blue));
}

void DrawSpriteText(HOBJECT handle, int frame, int x, int y, const char* text, int red, int green, int blue) {
  plat::DisplayLock lock;
  if (SPRITEFRAMEDESC* f = Frame(handle, frame)) DrawSpriteFrameText(*f, x, y, text, MapRGB(red, green, blue));
}

void* LockSprite(HOBJECT handle, int frame) {
  plat::DisplayLock lock;
  SPRITEFRAMEDESC* f = Frame(handle, frame);
  return f ? LockSpriteFrame(*f) : nullptr;
}

void UnlockSprite(HOBJECT handle, int frame) {
  plat::DisplayLock lock;
  if (SPRITEFRAMEDESC* f = Frame(handle, frame)) UnlockSpriteFrame(*f);
}
