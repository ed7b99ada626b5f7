#include "cutscene/fade_actor.h"

#include "cutscene/color_quad.h"
#include "engine/core/materials.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"

STLBoard::STLBoard(float x, float y, float width, float height, int r, int g, int b)
    : r_(static_cast<uint8_t>(r)),
      g_(static_cast<uint8_t>(g)),
      b_(static_cast<uint8_t>(b)),
      quad_(BuildColorQuad(x, y, width, height, r, g, b)) {
  SetNodeAlpha(quad_, 0);
}

STLBoard::~STLBoard() { DestroyNode(quad_); }

void STLBoard::SetColor(int r, int g, int b) {
  const HOBJECT old = GetPrimitiveMaterial(quad_, 0);
  const HOBJECT made = MakeColorMaterial(r, g, b);
  // Without a material to replace, every primitive takes the new one.
  ReplaceNodeMaterial(quad_, old ? old : static_cast<HOBJECT>(-2), made ? made : static_cast<HOBJECT>(-1));
  // The quad let go of the old material; it goes now, once, whatever was made.
  if (old) DestroyMaterial(old);
  r_ = static_cast<uint8_t>(r);
  g_ = static_cast<uint8_t>(g);
  b_ = static_cast<uint8_t>(b);
}

SFade::SFade(int x, int y, int width, int height)
    : STLBoard(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width), static_cast<float>(height), 0,
               0, 0) {
  Reset();
}

void SFade::Reset() {
  SVisual::SetOpacity(0);
  STLBoard::SetColor(0, 0, 0);
}
