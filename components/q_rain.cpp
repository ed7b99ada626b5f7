#include "components/q_rain.h"

#include "engine/core/mesh_edit.h"
#include "engine/core/node_clone.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/vertex_colors.h"
#include "platform/crt.h"

namespace {

constexpr float kWindStrength = 6;
constexpr float kCentreDistance = 80;
constexpr float kCentreRise = 60;
// Half the drop's base across and its tilt.
constexpr float kBaseHalf = 0.0375f;
constexpr float kBaseTilt = 0.0075f;
constexpr float kTipFactor = 0.8333333f;
constexpr float kDropColour = 0.55f;
// (rand() - 16383.5) x this spreads up to 90 units either way.
constexpr float kSpread = 0.0054933317f;

float RandomOffset() { return (static_cast<float>(plat::Rand()) - 16383.5f) * kSpread; }

VECTOR3 Scaled(const VECTOR3& v, float s) { return {v.x * s, v.y * s, v.z * s}; }

}  // namespace

CQRain::CQRain() { SetWind(1, 0, 2); }

CQRain::~CQRain() {
  // Clones first: they share the template's mesh.
  for (int i = dropCount_ - 1; i >= 0; --i)
    if (drops_[i]) DestroyNode(drops_[i]);
}

void CQRain::SetEnabled(int on) {
  if (on) {
    if (dropCount_ == 0) CreateDrops(nullptr, nullptr);
    running_ = 1;
  } else if (running_) {
    stopping_ = 1;
  }
}

void CQRain::CreateDrops(const VECTOR3* eye, const VECTOR3* viewDirection) {
  if (dropCount_ > 0) return;
  const uint32_t colour = PackColor(kDropColour, kDropColour, kDropColour, 1);
  MESHVERTEX v[3];
  v[0].x = wind_.x * kTipFactor;
  v[0].y = wind_.y * kTipFactor;
  v[0].z = wind_.z * kTipFactor;
  v[0].u = 0;
  v[0].v = 0;
  v[1].x = -kBaseHalf;
  v[1].z = kBaseTilt;
  v[1].u = 1;
  v[1].v = 0;
  v[2].x = kBaseHalf;
  v[2].z = -kBaseTilt;
  v[2].u = 1;
  v[2].v = 1;
  for (MESHVERTEX& vertex : v) {
    vertex.diffuse = colour;
    vertex.specular = 0;
  }
  const MESHPRIM words[kTriangleWords] = {PRIM_TRIANGLE, -1, 0, 0, 1, 2};
  BeginNode(NODE_MESH);
  const HOBJECT drop = EndNode(0);
  if (!drop) return;
  SetMeshFlags(drop, MESH_PRELIT);
  AppendMeshData(drop, v, 3, words, kTriangleWords, 1, 1);
  ShowNode(drop, 0);
  drops_[0] = drop;
  dropCount_ = 1;
  if (eye && viewDirection) Update(*eye, *viewDirection);
}

void CQRain::SetWind(float x, float y, float z) {
  wind_ = {x, y, z};
  NormalizeVector3(&wind_);
  wind_ = Scaled(wind_, kWindStrength);
}

void CQRain::Update(const VECTOR3& eye, const VECTOR3& viewDirection) {
  const VECTOR3 d = Scaled(viewDirection, kCentreDistance);
  centre_ = {eye.x + d.x, eye.y + d.y, eye.z + d.z + kCentreRise};
  if (!drops_[0]) return;
  const VECTOR3 zAxis{0, 0, 1};
  VECTOR3 right{}, up{};
  CrossVector3Normalized(&right, &d, &zAxis);
  CrossVector3Normalized(&up, &right, &d);
  int count = 0, frames = 0, floats = 0;
  MESHVERTEX* v = GetMeshVertices(drops_[0], &count, &frames, &floats);
  if (!v || count < 3) return;
  v[1].x = -kBaseHalf * right.x + kBaseTilt * up.x;
  v[1].y = -kBaseHalf * right.y + kBaseTilt * up.y;
  v[1].z = -kBaseHalf * right.z + kBaseTilt * up.z;
  v[2].x = kBaseHalf * right.x - kBaseTilt * up.x;
  v[2].y = kBaseHalf * right.y - kBaseTilt * up.y;
  v[2].z = kBaseHalf * right.z - kBaseTilt * up.z;
}

void CQRain::PlaceAtTop(HOBJECT drop) {
  const float x = centre_.x + RandomOffset();
  const float y = centre_.y + RandomOffset();
  SetNodePosition(drop, x, y, centre_.z, TRANSFORM_SET);
}

void CQRain::Step(float groundZ) {
  for (int i = 0; i < dropCount_; ++i) {
    MATRIX34 local{};
    GetNodeMatrix(drops_[i], &local, 1);
    if (local.row[3].z > groundZ) SetNodePosition(drops_[i], -wind_.x, -wind_.y, -wind_.z, TRANSFORM_PARENT);
    else PlaceAtTop(drops_[i]);
  }
  if (!stopping_) {
    if (plat::Rand() % 4 == 0 && dropCount_ > 0 && dropCount_ < kMaxDrops) {
      const HOBJECT drop = CloneNode(drops_[0]);
      if (!drop) return;
      PlaceAtTop(drop);
      ShowNode(drop, 1);
      drops_[dropCount_++] = drop;
    }
  } else if (plat::Rand() % 4 == 0 && dropCount_ > 1) {
    DestroyNode(drops_[--dropCount_]);
    drops_[dropCount_] = 0;
  }
}
