#include "tests/creature/creature_fixture.h"

#include "engine/core/mesh_edit.h"
#include "engine/core/node_transforms.h"
#include "engine/core/terrain.h"

namespace creaturetest {

using namespace datagen;

CreatureModel TestModel(bool quantised) {
  CreatureModel m;
  m.name = "tester";
  m.quantisedObjects = quantised;
  m.quantisedParts = quantised;
  m.frames = 31;
  for (int f = 0; f < m.frames; ++f) m.frameOffsets.push_back({0, -2.0f * f, 0.5f * f});
  m.poses = {{10, 20, 10, 10, 20}, {0, 30, 0, 10, 30}, {0, 9, 0, 0, 9}, {25, 28, 25, 25, 28}};

  CreatureMaterial skin;
  skin.texture = "skin";
  skin.power = 0.5f;
  skin.alpha = 0.5f;
  CreatureObject body;
  body.name = "body";
  body.materials = {skin};
  body.vertices = {{0, 0, 0, 0, 0, 1, 0, 0}, {2, 0, 0, 0, 0, 1, 1, 0}, {0, 2, 0, 0, 0, 1, 0, 1}};
  body.triangles = {{0, 0, 0, 1, 2}};
  CreatureObject hand;
  hand.name = "hand";
  hand.hidden = true;
  for (int f = 0; f < m.frames; ++f) {
    body.transforms.push_back({1, 0, 0, 0, 1, 0, 0, 0, 1, float(f), 0, 0});
    hand.transforms.push_back({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, float(f)});
  }
  m.objects = {body, hand};

  CreatureMaterial face;
  face.texture = "face";
  CreaturePart part;
  part.name = "mface";
  part.materials = {face};
  part.vertices = {{0, 0, 0, 0, 0, 1, 0, 0}, {1, 0, 0, 0, 0, 1, 1, 0}, {0, 1, 0, 0, 0, 1, 0, 1}};
  part.triangles = {{0, 0, 0, 1, 2}};
  part.keys = {{{0, 0, 0, 0, 0, 1}, {1, 0, 0, 0, 0, 1}, {0, 1, 0, 0, 0, 1}},
               {{0, 0, 10, 0, 0, 1}, {1, 0, 10, 0, 0, 1}, {0, 1, 10, 0, 0, 1}}};
  part.weights.assign(m.frames, 0.0f);
  part.weights[1] = 0.5f;
  part.weights[2] = 1.0f;
  m.parts = {part};
  return m;
}

std::vector<uint8_t> McbBytes(const CreatureModel& model) {
  plat::ByteWriter out;
  std::string error;
  EXPECT_TRUE(WriteCreatureBinary(model, out, error)) << error;
  return out.Bytes();
}

std::vector<uint8_t> TextBytes(const CreatureModel& model) {
  plat::ByteWriter out;
  std::string error;
  EXPECT_TRUE(WriteCreatureText(model, out, error)) << error;
  return out.Bytes();
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  ASSERT_TRUE(plat::WriteFileAtomic(path, bytes.data(), bytes.size())) << path;
}

namespace {
template <class Pool>
int Occupied(const Pool& pool) {
  int n = 0;
  for (uint32_t i = 0; i < pool.mark; ++i) n += pool.slots[i] != nullptr;
  return n;
}
}  // namespace

int LiveNodes() { return Occupied(g_nodePool); }

HOBJECT MakeGround(float half, HOBJECT* meshNode) {
  std::vector<MESHVERTEX> corners(4);
  const float xy[4][2] = {{-half, -half}, {half, -half}, {half, half}, {-half, half}};
  for (int i = 0; i < 4; ++i) {
    corners[i].x = xy[i][0], corners[i].y = xy[i][1], corners[i].nz = 1;
    corners[i].u = xy[i][0] > 0 ? 1.0f : 0.0f, corners[i].v = xy[i][1] > 0 ? 1.0f : 0.0f;
  }
  const std::vector<MESHPRIM> words = {PRIM_TRIANGLE, 0, 0, 0, 1, 2, PRIM_TRIANGLE, 0, 0, 0, 2, 3};
  BeginNode(NODE_MESH);
  AppendMeshData(0, corners.data(), 4, words.data(), static_cast<int>(words.size()), 2, 1);
  const HOBJECT mesh = EndNode(0);
  if (meshNode) *meshNode = mesh;
  return CreateTerrain(mesh, 1, 1);
}

float BodyX(CGCBMixCreature& creature) {
  MATRIX34 m;
  GetNodeMatrix(creature.objectNodes[0], &m, 1);
  return m.row[3].x;
}

float PartZ(CGCBMixCreature& creature) {
  const MESHVERTEX* v = GetMeshVertices(creature.partNodes[0], nullptr, nullptr, nullptr);
  return v ? v[0].z : -1000;
}
int LiveMaterials() { return Occupied(g_materialPool); }

}  // namespace creaturetest
