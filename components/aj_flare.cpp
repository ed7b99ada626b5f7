#include "components/aj_flare.h"

#include <cmath>

#include "engine/core/billboards.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/picking.h"

namespace {

struct FlareElement {
  int texture;  // index into kTextures
  float size;
  float t;  // 1 on the light, 0 on the view centre
};

constexpr const char* kTextures[] = {"flare0", "flare1", "light103", "light105"};

constexpr FlareElement kElements[CAJFlare::kElementCount] = {
    {1, 17.0f, 1.562f}, {1, 7.0f, 1.56f},   {1, 2.0f, 1.281f},  {3, 4.0f, 1.0f},
    {1, 1.0f, 0.5f},    {1, 3.0f, 0.4375f}, {1, 1.5f, 0.406f},  {1, 1.0f, 0.1875f},
    {2, 0.4f, 0.0f},    {2, 0.6f, -0.25f},  {1, 2.0f, -0.406f}, {1, 3.5f, -0.4375f},
    {1, 1.0f, -0.5f},   {1, 1.5f, -0.625f}, {1, 4.5f, -1.0f},   {0, 9.0f, -1.3125f},
};

// The view centre lies this far along the view.
constexpr float kCentreDepth = 20;

}  // namespace

CAJFlare::CAJFlare() { NormalizeVector3(&lightDirection_); }

CAJFlare::~CAJFlare() {
  for (HOBJECT sprite : sprites_)
    if (sprite) DestroyNode(sprite);
}

void CAJFlare::SetEnabled(int on) {
  on = on ? 1 : 0;
  if (on == enabled_) return;
  if (on && !sprites_[0]) CreateSprites(nullptr, nullptr);
  enabled_ = on;
  for (HOBJECT sprite : sprites_)
    if (sprite) ShowNode(sprite, on);
}

void CAJFlare::CreateSprites(const VECTOR3* eye, const VECTOR3* viewDirection) {
  for (int i = 0; i < kElementCount; ++i) {
    if (sprites_[i]) continue;
    const FlareElement& e = kElements[i];
    sprites_[i] = CreateBillboardNode(0, kTextures[e.texture], 0, e.size, e.size, 0, 0, 0, 0);
    if (sprites_[i]) SetNodeRenderState(sprites_[i], NRS_ADDITIVE, 1);
  }
  enabled_ = 1;
  if (eye && viewDirection) {
    VECTOR3 direction = *viewDirection;
    NormalizeVector3(&direction);
    Update(*eye, direction);
  }
}

void CAJFlare::SetLightDirection(const VECTOR3& direction) {
  lightDirection_ = direction;
  NormalizeVector3(&lightDirection_);
}

void CAJFlare::Update(const VECTOR3& eye, const VECTOR3& viewDirection) {
  const VECTOR3 centre{eye.x + kCentreDepth * viewDirection.x, eye.y + kCentreDepth * viewDirection.y,
                       eye.z + kCentreDepth * viewDirection.z};
  const float a = std::fabs(DotVector3(&viewDirection, &lightDirection_));
  // Light across the view: no point of it lies at the centre's depth.
  if (a < 0.01f) return;
  const float reach = kCentreDepth / a;
  const VECTOR3 light{eye.x + reach * lightDirection_.x, eye.y + reach * lightDirection_.y,
                      eye.z + reach * lightDirection_.z};
  const VECTOR3 line{light.x - centre.x, light.y - centre.y, light.z - centre.z};
  VECTOR3 screen{};
  const int visible = ProjectToScreen(0, &light, &screen, 2, 0) ? 1 : 0;
  if (visible != visible_) {
    visible_ = visible;
    for (HOBJECT sprite : sprites_)
      if (sprite) ShowNode(sprite, visible);
  }
  if (!visible_) return;
  for (int i = 0; i < kElementCount; ++i) {
    if (!sprites_[i]) continue;
    const float t = kElements[i].t;
    SetNodePosition(sprites_[i], centre.x + t * line.x, centre.y + t * line.y, centre.z + t * line.z, TRANSFORM_SET);
  }
}
