#include "battle/x_shot.h"

#include <algorithm>
#include <cmath>

#include "battle/battle_sys.h"
#include "battle/fighting_man.h"
#include "battle/tarnwick.h"
#include "engine/core/collision.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_bounds.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/walking.h"
#include "platform/crt.h"

namespace {

constexpr float kLeft = 0.001f;
constexpr float kHitBoxOpacity = 0.1f;
constexpr float kFadeStep = 0.1f;
constexpr float kDegreesPerRadian = 57.29578f;

// The box corners in the engine's numbering from min/max x, y, z.
void Corners(const float box[6], VECTOR3 out[8]) {
  const float minX = box[0], minY = box[1], minZ = box[2], maxX = box[3], maxY = box[4], maxZ = box[5];
  const VECTOR3 c[8] = {{maxX, maxY, minZ}, {minX, maxY, minZ}, {minX, maxY, maxZ}, {maxX, maxY, maxZ},
                        {maxX, minY, minZ}, {minX, minY, minZ}, {minX, minY, maxZ}, {maxX, minY, maxZ}};
  std::copy(c, c + 8, out);
}

}  // namespace

CXShot::CXShot(const char* name) : modelName(name ? name : "") {
  fadeTimer.Stop();
  lifeTimer.Stop();
  lifeTimer.Set(life, 1);
  lifeTimer.Start();
}

CXShot::~CXShot() {
  if (hitBox) DestroyNode(hitBox);
  if (body) body->Detach();
  Detach();
}

int CXShot::Attach(CBattleSys* battle) {
  body = std::make_unique<CTarnwick>();
  body->LoadModel(modelName.c_str(), "creature/battle/weapon");
  if (battle && battle->owner) {
    body->Attach(battle->owner);
    CGCBase::Attach(battle->owner);
  }
  ground = battle ? battle->ArenaTerrainNode() : 0;
  return IsAttached();
}

void CXShot::SetSlowMotion(int n) {
  if (body) body->SetSlowMotion(n);
}

int CXShot::Divider() const { return body ? std::max(1, body->divider) : 1; }

void CXShot::Place(const VECTOR3* where, const VECTOR3* forward, const VECTOR3* upward) {
  if (!body) return;
  if (where) position = *where;
  SetNodeDirection(body->Node(), &position, forward, upward);
  GetNodeWorldVectors(body->Node(), &position, &direction, &up);
  BuildHitBox();
}

void CXShot::ReadBox() {
  float box[6] = {};
  if (body && body->GetFrameBox(box) == 0) Corners(box, boxCorners);
}

void CXShot::BuildHitBox() {
  if (hitBox || !body) return;
  ReadBox();
  const float green[3] = {0, 1, 0}, red[3] = {1, 0, 0};
  const HOBJECT greenMaterial = CreateMaterial(green, green, green, green, 20, nullptr, 0, 0, 0, 0, 0);
  const HOBJECT redMaterial = CreateMaterial(red, red, red, red, 20, nullptr, 0, 0, 0, 0, 0);
  BeginNode(NODE_MESH);
  for (int e = 0; e < 12; ++e) {
    const VECTOR3& a = boxCorners[kBoxEdges[e][0]];
    const VECTOR3& b = boxCorners[kBoxEdges[e][1]];
    const float line[6] = {a.x, a.y, a.z, b.x, b.y, b.z};
    const float uvs[4] = {0, 0, 0, 0};
    AddMeshLine(0, line, uvs, e < 2 ? redMaterial : greenMaterial);
  }
  hitBox = EndNode(body->Node());
  SetNodeAlpha(hitBox, kHitBoxOpacity);
  ShowNode(hitBox, boxShown);
}

void CXShot::UpdateHitBox() {
  if (!hitBox) return;
  ReadBox();
  int count = 0, frames = 0, floats = 0;
  MESHVERTEX* vertices = GetMeshVertices(hitBox, &count, &frames, &floats);
  for (int e = 0; e < 12 && vertices && 2 * e + 1 < count; ++e)
    for (int end = 0; end < 2; ++end) {
      const VECTOR3& c = boxCorners[kBoxEdges[e][end]];
      MESHVERTEX& v = vertices[2 * e + end];
      v.x = c.x, v.y = c.y, v.z = c.z;
    }
  UpdateMeshBounds(hitBox);
}

int CXShot::Update(int frames) {
  if (!lifeTimer.CountDown(frames)) {
    if (!finished) Finish();
    return 1;
  }
  float s = speed, sum = 0;
  for (int i = 0; i < frames; ++i) {
    if (s < kTopSpeed) s += static_cast<float>(frames) * acceleration;
    sum += s;
  }
  speed = s;
  float left = sum / static_cast<float>(Divider());
  const HOBJECT node = body ? body->Node() : 0;
  while (node && left > kLeft) {
    const float step = std::min(kStep, left);
    WalkNodeOnTerrain(node, step, 0, 0, 0, 1);
    if (ground && hitBox && !finished && TestObjectCollision(hitBox, VOLUME_BOX, ground, VOLUME_BOX)) Finish();
    if (target && hitBox && TestObjectCollision(hitBox, VOLUME_BOX, target, VOLUME_BOX)) {
      hit = 1;
      break;
    }
    left -= step;
  }
  previousPosition = position;
  if (node) GetNodeWorldVectors(node, &position, &direction, &up);
  stepLength = static_cast<float>(frames) * speed;
  UpdateHitBox();
  return 1;
}

void CXShot::Finish() {
  finished = 1;
  hit = 0;
  lifeTimer.Stop();
  fadeTimer.Set(kFadeFrames, 1);
  fadeTimer.Start();
  if (body) body->SetFade(2, kFadeStep);
}

void CXShot::BuildMessage(BATTLEMSG* message) const {
  message->type = 1;
  message->code = 7;
  message->Set(1, power);
  VECTOR3 theirs{0, 1, 0};
  if (target) GetNodeWorldVectors(target, nullptr, &theirs, nullptr);
  const float dot = std::clamp(direction.x * theirs.x + direction.y * theirs.y + direction.z * theirs.z, -1.0f, 1.0f);
  message->Set(2, std::acos(dot) * kDegreesPerRadian > 90 ? 1 : 2);
  message->Set(4, plat::Rand() % 6);
}
