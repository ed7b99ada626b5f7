#include "components/particle_field.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/core/engine_queries.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/render_to_texture.h"
#include "platform/crt.h"
#include "platform/time.h"

namespace {

constexpr float kBoxWidth = 1000;
constexpr float kHeightFactor = 0.3f;
constexpr float kMinSpeed = 10, kMaxSpeed = 70;
constexpr float kMinTurn = 0.05f, kMaxTurn = 0.2f;
constexpr float kQuadHalf = 8;
constexpr float kSpread = 0.5f;
constexpr float kMaterialColour = 0.5f;
constexpr float kVertexColour = 0.8f;
constexpr char kTexture[] = "light104";
constexpr int kKeyRed = 72, kKeyGreen = 184, kKeyBlue = 248;
constexpr int kParticlesPerQuad = 5;

float Radians(float degrees) { return degrees * std::numbers::pi_v<float> / 180; }

// a + rand() / 32767 x (b - a).
float RandBetween(float a, float b) { return a + static_cast<float>(plat::Rand()) * (1.0f / plat::kRandMax) * (b - a); }

VECTOR3 NewDirection(float vertical) {
  VECTOR3 d{RandBetween(-kSpread, kSpread), RandBetween(-kSpread, kSpread), vertical};
  NormalizeVector3(&d);
  return d;
}

// Back into [low, high] from the other side, at most half a box in.
float WrapInto(float v, float low, float high, float half) {
  if (half <= 0) return v;
  if (v < low) return high - std::fmod(low - v, half);
  if (v > high) return low + std::fmod(v - high, half);
  return v;
}

}  // namespace

CParticleField::CParticleField() {
  boxSize_ = {kBoxWidth, kBoxWidth, kHeightFactor * kBoxWidth * std::tan(Radians(30))};
  boxCentre_ = {0, 0, boxSize_.z / 2};
  SetBoxFromSizeAndCentre();
  boxTop_ = boxMax_.z;
  coneCosine_ = std::cos(Radians(40));
}

CParticleField::~CParticleField() { Release(); }

void CParticleField::SetBoxFromSizeAndCentre() {
  boxHalf_ = {boxSize_.x / 2, boxSize_.y / 2, boxSize_.z / 2};
  boxMin_ = {boxCentre_.x - boxHalf_.x, boxCentre_.y - boxHalf_.y, boxCentre_.z - boxHalf_.z};
  boxMax_ = {boxCentre_.x + boxHalf_.x, boxCentre_.y + boxHalf_.y, boxCentre_.z + boxHalf_.z};
}

VECTOR3 CParticleField::RandomPointInBox() const {
  const float x = RandBetween(boxMin_.x, boxMax_.x);
  const float y = RandBetween(boxMin_.y, boxMax_.y);
  return {x, y, RandBetween(boxMin_.z, boxMax_.z)};
}

void CParticleField::SetVisible(int on) {
  visible_ = on ? 1 : 0;
  if (mesh_) ShowNode(mesh_, visible_);
}

void CParticleField::SetCount(int n) {
  quadBudget_ = std::max(n, 0);
  BuildMesh();
  particles_.assign(static_cast<size_t>(quadBudget_) * kParticlesPerQuad, Particle{});
  for (Particle& p : particles_) {
    p.position = RandomPointInBox();
    p.direction = NewDirection(RandBetween(1, -1));
    p.speed = RandBetween(kMinSpeed, kMaxSpeed);
    p.age = 0;
    p.turnInterval = RandBetween(kMinTurn, kMaxTurn);
  }
}

void CParticleField::BuildMesh() {
  if (material_) DestroyMaterial(material_);
  if (mesh_) DestroyNode(mesh_);
  material_ = 0;
  mesh_ = 0;
  const float colour[3] = {kMaterialColour, kMaterialColour, kMaterialColour};
  material_ = CreateMaterial(colour, colour, colour, colour, 1.0f, kTexture, 0, 1, kKeyRed, kKeyGreen, kKeyBlue);
  BeginNode(NODE_MESH);
  mesh_ = EndNode(0);
  if (!mesh_) return;
  SetNodeRenderState(mesh_, NRS_ADDITIVE, 1);
  SetNodeRenderState(mesh_, NRS_FOG, 0);
  SetNodeRenderState(mesh_, NRS_SOURCE_BLEND, 3);
  SetNodeRenderState(mesh_, NRS_DEST_BLEND, 2);
  SetNodeAlpha(mesh_, 1.0f);
  SetNodeCulling(mesh_, 0);
  ShowNode(mesh_, visible_);
  SetNodeRenderState(mesh_, NRS_LIGHTING, 0);
  SetMeshFlags(mesh_, MESH_PRELIT);
  if (quadBudget_ == 0) return;

  const float corners[4][2] = {
      {-kQuadHalf, -kQuadHalf}, {kQuadHalf, -kQuadHalf}, {kQuadHalf, kQuadHalf}, {-kQuadHalf, kQuadHalf}};
  const float uvs[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  std::vector<MESHVERTEX> vertices(static_cast<size_t>(quadBudget_) * 4);
  std::vector<MESHPRIM> words;
  words.reserve(static_cast<size_t>(quadBudget_) * 2 * kTriangleWords);
  const MESHPRIM materialWord = static_cast<MESHPRIM>(material_);
  for (int q = 0; q < quadBudget_; ++q) {
    for (int c = 0; c < 4; ++c) {
      MESHVERTEX& v = vertices[static_cast<size_t>(q) * 4 + c];
      v.x = corners[c][0];
      v.y = 0;
      v.z = corners[c][1];
      // A pre-lit mesh takes float colours in the normal slots; they are
      // packed as the quads are appended.
      v.nx = v.ny = v.nz = kVertexColour;
      v.u = uvs[c][0];
      v.v = uvs[c][1];
    }
    const MESHPRIM base = q * 4;
    for (MESHPRIM w : {PRIM_TRIANGLE, materialWord, 0, base, base + 1, base + 2}) words.push_back(w);
    for (MESHPRIM w : {PRIM_TRIANGLE, materialWord, 0, base, base + 2, base + 3}) words.push_back(w);
  }
  AppendMeshData(mesh_, vertices.data(), static_cast<int>(vertices.size()), words.data(),
                 static_cast<int>(words.size()), quadBudget_ * 2, 1);
}

void CParticleField::SetDrift(const VECTOR3& direction, float speed) {
  driftDirection_ = direction;
  NormalizeVector3(&driftDirection_);
  driftSpeed_ = speed;
}

void CParticleField::SetGroundLevel(float z) {
  groundLevel_ = z;
  boxSize_.z = boxTop_ - groundLevel_;
  boxCentre_.z = groundLevel_ + boxSize_.z / 2;
  SetBoxFromSizeAndCentre();
}

void CParticleField::Update() {
  const HOBJECT camera = GetCurrentCamera();
  if (!camera) return;
  MATRIX34 world{};
  GetNodeMatrix(camera, &world, 2);
  const VECTOR3 eye = world.row[3];
  const VECTOR3 axis = world.row[2];
  across_ = {-world.row[0].x, -world.row[0].y, -world.row[0].z};
  up_ = {-world.row[1].x, -world.row[1].y, -world.row[1].z};
  boxCentre_.x = eye.x;
  boxCentre_.y = eye.y;
  // The previous frame's field of view sets the top, as it always has.
  if (followCameraHeight_) boxTop_ = std::tan(Radians(fieldOfView_ / 2)) * boxSize_.y * kHeightFactor + eye.z;
  boxSize_.z = boxTop_ - groundLevel_;
  boxCentre_.z = groundLevel_ + boxSize_.z / 2;
  SetBoxFromSizeAndCentre();
  const float fov = GetCameraFieldOfView(camera);
  if (fov > 0) fieldOfView_ = fov;
  coneCosine_ = std::cos(Radians(fieldOfView_ * 4 / 3) / 2);

  const uint32_t now = plat::TickCountMs();
  const float dt = timed_ ? static_cast<float>(now - lastUpdateMs_) * 0.001f : 0.0f;
  timed_ = true;
  lastUpdateMs_ = now;

  const VECTOR3 drift{driftSpeed_ * dt * driftDirection_.x, driftSpeed_ * dt * driftDirection_.y,
                      driftSpeed_ * dt * driftDirection_.z};
  for (Particle& p : particles_) {
    if (p.position.z < boxMin_.z || p.position.z > boxMax_.z) {
      const float x = RandBetween(boxMin_.x, boxMax_.x);
      p.position = {x, RandBetween(boxMin_.y, boxMax_.y), boxMax_.z};
      p.speed = RandBetween(kMinSpeed, kMaxSpeed);
    }
    p.position.x = WrapInto(p.position.x, boxMin_.x, boxMax_.x, boxHalf_.x);
    p.position.y = WrapInto(p.position.y, boxMin_.y, boxMax_.y, boxHalf_.y);
    VECTOR3 toEye{eye.x - p.position.x, eye.y - p.position.y, eye.z - p.position.z};
    NormalizeVector3(&toEye);
    p.inView = DotVector3(&toEye, &axis) > coneCosine_ ? 1 : 0;
    p.position.x += p.speed * dt * p.direction.x + drift.x;
    p.position.y += p.speed * dt * p.direction.y + drift.y;
    p.position.z += p.speed * dt * p.direction.z + drift.z;
    p.age += dt;
    if (p.age > p.turnInterval) {
      p.direction = NewDirection(-1);
      p.age = 0;
      p.turnInterval = RandBetween(kMinTurn, kMaxTurn);
    }
  }

  quadsDrawn_ = 0;
  if (!mesh_) return;
  int vertexCount = 0, frames = 0, floats = 0;
  MESHVERTEX* vertices = GetMeshVertices(mesh_, &vertexCount, &frames, &floats);
  const int budget = vertices ? std::min(quadBudget_, vertexCount / 4) : 0;
  const VECTOR3 a{kQuadHalf * across_.x, kQuadHalf * across_.y, kQuadHalf * across_.z};
  const VECTOR3 u{kQuadHalf * up_.x, kQuadHalf * up_.y, kQuadHalf * up_.z};
  for (const Particle& p : particles_) {
    if (quadsDrawn_ >= budget) break;
    if (!p.inView) continue;
    MESHVERTEX* q = vertices + static_cast<size_t>(quadsDrawn_) * 4;
    const VECTOR3& s = p.position;
    const VECTOR3 corners[4] = {s,
                                {s.x + a.x, s.y + a.y, s.z + a.z},
                                {s.x + a.x + u.x, s.y + a.y + u.y, s.z + a.z + u.z},
                                {s.x + u.x, s.y + u.y, s.z + u.z}};
    for (int c = 0; c < 4; ++c) {
      q[c].x = corners[c].x;
      q[c].y = corners[c].y;
      q[c].z = corners[c].z;
    }
    ++quadsDrawn_;
  }
  SetMeshDrawLimit(mesh_, quadsDrawn_ * 2);
}

void CParticleField::Release() {
  particles_.clear();
  if (material_) DestroyMaterial(material_);
  if (mesh_) DestroyNode(mesh_);
  material_ = 0;
  mesh_ = 0;
}
