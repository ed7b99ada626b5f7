#include <cmath>
#include <set>

#include "engine/core/composites.h"
#include "engine/core/lights.h"
#include "engine/core/lod_groups.h"
#include "engine/core/materials.h"
#include "engine/core/node_clone.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/pools.h"
#include "engine/core/world.h"
#include "tests/engine/scene_fixture.h"

namespace enginetest {
namespace {

using CloneTest = SceneTest;
using LodTest = SceneTest;
using MeshEditTest = SceneTest;
using CompositeTest = SceneTest;

const std::vector<float> kTriangle = {0, 0, 0, 1, 0, 0, 0, 1, 0};

HOBJECT MakeMaterial(float red) {
  const float colour[3] = {red, 0.5f, 0.25f};
  return CreateMaterial(colour, colour, colour, colour, 10, nullptr, 0, 0, 0, 0, 0);
}

std::vector<HOBJECT> LodMembers(HOBJECT owner) {
  std::vector<HOBJECT> members;
  for (NODEDESC* m : LookupNode(owner)->lodGroup->members) members.push_back(NodeHandle(m));
  return members;
}

TEST_F(CloneTest, ShallowCloneSharesTheMesh) {
  HOBJECT source = MakeMesh({kTriangle});
  SetNodePosition(source, 5, 0, 0, TRANSFORM_SET);
  HOBJECT clone = CloneNode(source);
  ASSERT_NE(clone, 0u);
  EXPECT_EQ(Mesh(clone), Mesh(source));
  EXPECT_EQ(Mesh(clone)->refCount, 2);
  EXPECT_EQ(GetNodeParent(clone), 0u);
  EXPECT_FLOAT_EQ(Node(clone)->local.row[3].x, 0);  // at the identity
  GetMeshVertices(source, nullptr, nullptr, nullptr)[0].x = 9;
  EXPECT_FLOAT_EQ(GetMeshVertices(clone, nullptr, nullptr, nullptr)[0].x, 9);
  DestroyNode(source);
  EXPECT_EQ(Mesh(clone)->refCount, 1);
  EXPECT_FLOAT_EQ(GetMeshVertices(clone, nullptr, nullptr, nullptr)[0].x, 9);
}

TEST_F(CloneTest, DeepCloneOwnsCopies) {
  HOBJECT source = MakeMesh({kTriangle});
  SetNodePosition(source, 5, 0, 0, TRANSFORM_SET);
  HOBJECT clone = CloneNodeDeep(source);
  ASSERT_NE(Mesh(clone), Mesh(source));
  EXPECT_EQ(Mesh(clone)->refCount, 1);
  EXPECT_FLOAT_EQ(Node(clone)->local.row[3].x, 5);  // where the source stood
  GetMeshVertices(source, nullptr, nullptr, nullptr)[0].x = 9;
  EXPECT_FLOAT_EQ(GetMeshVertices(clone, nullptr, nullptr, nullptr)[0].x, 0);

  const float red[3] = {1, 0, 0};
  HOBJECT light = CreateLightNode(0, LIGHT_POINT, 1, red);
  HOBJECT shared = CloneNode(light);
  HOBJECT own = CloneNodeDeep(light);
  SetLightColor(light, 0, 1, 0);
  float colour[3];
  GetLightProperties(shared, nullptr, colour, nullptr);
  EXPECT_FLOAT_EQ(colour[1], 1);
  GetLightProperties(own, nullptr, colour, nullptr);
  EXPECT_FLOAT_EQ(colour[0], 1);
  EXPECT_FLOAT_EQ(colour[1], 0);

  const VECTOR3 size{2, 2, 2};
  HOBJECT dummy = CreateDummyNode(0, &size);
  HOBJECT dummyCopy = CloneNodeDeep(dummy);
  EXPECT_NE(Node(dummyCopy)->kindData, Node(dummy)->kindData);
  EXPECT_FLOAT_EQ(Node(dummyCopy)->bounds->maxX, 1);
}

TEST_F(CloneTest, CopiesSomeStatesAndNotOthers) {
  HOBJECT source = CreateDummyNode(0, nullptr);
  NODEDESC* s = Node(source);
  s->visible = 0;
  s->reservedA = 7;
  s->extraBlock = {1, 2, 3};
  s->work = {4, 5};
  SetNodeRenderState(source, NRS_Z_TEST, 0);
  SetNodeRenderState(source, NRS_FOG, 0);
  SetNodeRenderState(source, NRS_LIGHTING, 0);
  SetNodeRenderState(source, NRS_SOURCE_BLEND, 9);
  SetNodeCulling(source, 0);
  SetNodeDrawMode(source, 2);
  SetNodeAxes(source, AXIS_POS_X, AXIS_POS_Y);
  SetNodeAlpha(source, 0.5f);
  NODEDESC* c = Node(CloneNode(source));
  EXPECT_EQ(c->visible, 0);
  EXPECT_EQ(c->reservedA, 7);
  EXPECT_EQ(c->extraBlock, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(c->work, (std::vector<uint8_t>{0, 0}));
  EXPECT_EQ(c->states.zTest, 0);
  EXPECT_EQ(c->states.sourceBlend, 9);
  EXPECT_EQ(c->states.alphaByte, 127);
  EXPECT_EQ(c->forwardAxis, AXIS_POS_X);
  EXPECT_EQ(c->states.fog, 1);
  EXPECT_EQ(c->states.lighting, 1);
  EXPECT_EQ(c->cull, 1);
  EXPECT_EQ(c->drawMode, 0);
  EXPECT_EQ(RenderOrder().back(), c);  // translucent: at the tail
}

TEST_F(CloneTest, DeepCloneCopiesEveryDistinctMaterial) {
  // More distinct materials than the old fixed table of 128 held.
  constexpr int kMaterials = 130;
  BeginNode(NODE_MESH);
  std::vector<HOBJECT> materials;
  for (int i = 0; i < kMaterials; ++i) {
    materials.push_back(MakeMaterial(i / 255.0f));
    const float tri[9] = {0, 0, float(i), 1, 0, float(i), 0, 1, float(i)};
    AddMeshPolygon(0, tri, nullptr, nullptr, 3, materials.back(), 0);
    AddMeshPolygon(0, tri, nullptr, nullptr, 3, materials.back(), 0);
  }
  HOBJECT source = EndNode(0);
  HOBJECT clone = CloneNodeDeep(source);
  std::set<HOBJECT> copies;
  for (int p = 0; p < 2 * kMaterials; ++p) {
    HOBJECT original = GetPrimitiveMaterial(source, p);
    HOBJECT copy = GetPrimitiveMaterial(clone, p);
    ASSERT_NE(LookupMaterial(copy), nullptr) << p;
    EXPECT_NE(copy, original);
    float a[3], b[3];
    GetMaterialColors(original, nullptr, a, nullptr, nullptr, nullptr);
    GetMaterialColors(copy, nullptr, b, nullptr, nullptr, nullptr);
    EXPECT_FLOAT_EQ(a[0], b[0]) << p;
    copies.insert(copy);
  }
  EXPECT_EQ(copies.size(), static_cast<size_t>(kMaterials));
  // The clone holds its copies: destroying the source leaves them.
  DestroyNode(source);
  for (HOBJECT copy : copies) EXPECT_NE(LookupMaterial(copy), nullptr);
  for (HOBJECT original : materials) EXPECT_EQ(LookupMaterial(original), nullptr);
}

TEST_F(CloneTest, CloneTakesTheLevelOfDetailGroupAlong) {
  HOBJECT owner = CreateDummyNode(0, nullptr);
  HOBJECT members[3] = {CreateDummyNode(0, nullptr), CreateDummyNode(0, nullptr), CreateDummyNode(0, nullptr)};
  const float distances[3] = {300, 200, 100};
  ASSERT_EQ(SetupLodGroup(owner, members, distances, 3), 1);
  ReleaseLodGroup(members[1]);  // an empty slot stays empty in the clone
  HOBJECT clone = CloneNode(owner);
  LODGROUPDESC* group = Node(clone)->lodGroup;
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->count, 3);
  EXPECT_EQ(group->members[1], nullptr);
  for (int i : {0, 2}) {
    NODEDESC* m = group->members[static_cast<size_t>(i)];
    ASSERT_NE(m, nullptr);
    EXPECT_NE(m, Node(members[i]));
    EXPECT_EQ(m->lodOwner, Node(clone));
    EXPECT_NEAR(group->distancesSquared[static_cast<size_t>(i)], distances[i] * distances[i], 0.05f);
  }
  EXPECT_EQ(GetGameWorld()->lodLast, group);
}

TEST_F(LodTest, SetupAndPropagation) {
  HOBJECT owner = MakeMesh({kTriangle});
  HOBJECT near = MakeMesh({kTriangle});
  HOBJECT far = MakeMesh({kTriangle});
  HOBJECT parent = CreateDummyNode(0, nullptr);
  SetNodeRenderState(owner, NRS_Z_TEST, 0);
  SetNodeRenderState(owner, NRS_FOG, 0);
  const HOBJECT members[2] = {far, near};
  const float distances[2] = {100, 50};
  ASSERT_EQ(SetupLodGroup(owner, members, distances, 2), 1);
  LODGROUPDESC* group = Node(owner)->lodGroup;
  EXPECT_EQ(group->active, 1);
  EXPECT_EQ(group->shown, Node(owner));
  EXPECT_FLOAT_EQ(group->distancesSquared[0], 10000);
  EXPECT_FLOAT_EQ(group->distancesSquared[1], 2500);
  EXPECT_EQ(Node(far)->lodOwner, Node(owner));
  EXPECT_EQ(Node(far)->lodGroup, group);
  EXPECT_EQ(Node(far)->states.zTest, 0);
  EXPECT_EQ(Node(far)->states.fog, 1);  // every state but fog
  EXPECT_EQ(Node(owner)->lodOwner, nullptr);

  SetNodeAlpha(owner, 0.5f);
  SetNodeCulling(owner, 0);
  SetNodeDrawMode(owner, 1);
  SetNodeRenderState(owner, NRS_SHADING, 0);
  SetMeshFlags(owner, MESH_PRELIT);
  SetNodeParent(owner, parent);
  for (HOBJECT m : members) {
    EXPECT_EQ(Node(m)->states.alphaByte, 127);
    EXPECT_EQ(Node(m)->cull, 0);
    EXPECT_EQ(Node(m)->drawMode, 1);
    EXPECT_EQ(Node(m)->states.shading, 0);
    EXPECT_EQ(Mesh(m)->flags, MESH_PRELIT);
    EXPECT_EQ(GetNodeParent(m), parent);
  }
  // A call on a member stays with it; ShowNode goes to the node now shown.
  SetNodeCulling(near, 1);
  EXPECT_EQ(Node(owner)->cull, 0);
  group->shown = Node(near);
  ShowNode(far, 0);
  EXPECT_EQ(Node(near)->visible, 0);
  EXPECT_EQ(Node(far)->visible, 1);
}

TEST_F(LodTest, RefusesMembersThatDoNotResolve) {
  HOBJECT owner = CreateDummyNode(0, nullptr);
  HOBJECT member = CreateDummyNode(0, nullptr);
  const float distances[2] = {100, 50};
  const HOBJECT bad[2] = {member, member + 40};
  EXPECT_EQ(SetupLodGroup(owner, bad, distances, 2), 0);
  const HOBJECT self[1] = {owner};
  EXPECT_EQ(SetupLodGroup(owner, self, distances, 1), 0);
  EXPECT_EQ(Node(owner)->lodGroup, nullptr);
  EXPECT_EQ(Node(member)->lodGroup, nullptr);
  EXPECT_EQ(GetGameWorld()->lodFirst, nullptr);
}

TEST_F(LodTest, ReleaseAndDestroy) {
  HOBJECT a = CreateDummyNode(0, nullptr);
  HOBJECT b = CreateDummyNode(0, nullptr);
  HOBJECT m1 = CreateDummyNode(0, nullptr), m2 = CreateDummyNode(0, nullptr), m3 = CreateDummyNode(0, nullptr);
  const float distances[2] = {100, 50};
  const HOBJECT groupA[2] = {m1, m2};
  const HOBJECT groupB[1] = {m3};
  ASSERT_EQ(SetupLodGroup(a, groupA, distances, 2), 1);
  ASSERT_EQ(SetupLodGroup(b, groupB, distances, 1), 1);
  LODGROUPDESC* first = Node(a)->lodGroup;

  ReleaseLodGroup(m1);  // a member leaves; the group stays
  EXPECT_EQ(Node(m1)->lodGroup, nullptr);
  EXPECT_EQ(LodMembers(a), (std::vector<HOBJECT>{0, m2}));

  ShowNode(b, 0);
  ReleaseLodGroup(b);  // the owner dissolves its group and keeps its visibility
  EXPECT_EQ(Node(b)->lodGroup, nullptr);
  EXPECT_EQ(Node(b)->visible, 0);
  EXPECT_EQ(Node(m3)->lodOwner, nullptr);
  EXPECT_EQ(Node(m3)->visible, 0);
  EXPECT_EQ(GetGameWorld()->lodFirst, first);
  EXPECT_EQ(GetGameWorld()->lodLast, first);  // the tail is mended

  DestroyNode(m2);  // a destroyed member leaves its slot empty
  EXPECT_EQ(LodMembers(a), (std::vector<HOBJECT>{0, 0}));
  ASSERT_EQ(SetupLodGroup(a, groupB, distances, 1), 1);  // replaces the old group
  DestroyNode(a);
  EXPECT_EQ(Node(m3)->lodGroup, nullptr);
  EXPECT_EQ(GetGameWorld()->lodFirst, nullptr);
}

TEST_F(MeshEditTest, PolygonsDropStraightVerticesAndBuildFans) {
  BeginNode(NODE_MESH);
  HOBJECT material = MakeMaterial(1);
  // (1, 0, 0) lies on the line between its neighbours.
  const float square[] = {0, 0, 0, 1, 0, 0, 2, 0, 0, 0, 2, 0};
  const float uvs[] = {0, 0, 0.5f, 0, 1, 0, 0, 1};
  AddMeshPolygon(0, square, nullptr, uvs, 4, material, 3);
  HOBJECT mesh = EndNode(0);
  const MESHDESC* m = Mesh(mesh);
  EXPECT_EQ(m->vertexCount, 3);
  EXPECT_EQ(m->primitiveCount, 1);
  EXPECT_EQ(m->primitiveCountCopy, 1);
  const MESHPRIM expected[6] = {1, static_cast<MESHPRIM>(GetHandleIndex(material)), 3, 0, 1, 2};
  EXPECT_TRUE(std::equal(expected, expected + 6, m->primitives.begin()));
  EXPECT_FLOAT_EQ(m->vertexArrays[1].x, 2);
  EXPECT_FLOAT_EQ(m->vertexArrays[1].u, 1);
  EXPECT_FLOAT_EQ(m->vertexArrays[0].nz, 1);  // the polygon's normal: counter-clockwise from +Z

  // Fewer than three kept vertices add nothing.
  const float line[] = {0, 0, 0, 1, 0, 0, 2, 0, 0};
  AddMeshPolygon(mesh, line, nullptr, nullptr, 3, 0, 0);
  EXPECT_EQ(m->vertexCount, 3);
  EXPECT_EQ(m->primitiveCount, 1);

  // A pentagon on a committed node: three triangles, the bounds grow.
  const float pentagon[] = {10, 0, 0, 12, 0, 0, 13, 2, 0, 11, 3, 0, 9, 2, 0};
  AddMeshPolygon(mesh, pentagon, nullptr, nullptr, 5, 0, 0);
  EXPECT_EQ(m->vertexCount, 8);
  EXPECT_EQ(m->primitiveCount, 4);
  const MESHPRIM last[6] = {1, -1, 0, 3, 6, 7};
  EXPECT_TRUE(std::equal(last, last + 6, m->primitives.begin() + 18));
  EXPECT_FLOAT_EQ(Node(mesh)->bounds->maxX, 13);
  EXPECT_FLOAT_EQ(Node(mesh)->bounds->radiusSquared, 6.5f * 6.5f);
}

TEST_F(MeshEditTest, LargePolygonsGrowTheArraysUntilTheyFit) {
  constexpr int kCount = 1030;
  std::vector<float> circle;
  for (int i = 0; i < kCount; ++i) {
    float angle = 2 * 3.14159265f * static_cast<float>(i) / kCount;
    circle.insert(circle.end(), {1000 * std::cos(angle), 1000 * std::sin(angle), 0});
  }
  BeginNode(NODE_MESH);
  AddMeshPolygon(0, circle.data(), nullptr, nullptr, kCount, 0, 0);
  const MESHDESC* m = LookupNode(0)->Mesh();
  EXPECT_EQ(m->vertexCapacity, 2048);
  EXPECT_EQ(m->vertexCount, kCount);
  EXPECT_EQ(m->primitiveCount, kCount - 2);
  EXPECT_GE(static_cast<int>(m->primitives.size()), m->wordsUsed);
  EXPECT_EQ(m->wordsUsed, 6 * (kCount - 2));
  EndNode(0);
}

TEST_F(MeshEditTest, PreTransformedPolygonsTakeScreenPositionsAndColours) {
  BeginNode(NODE_MESH);
  SetMeshFlags(0, MESH_PRETRANSFORMED);
  SetNodeAlpha(0, 0.5f);
  const float screen[] = {0, 0, 0.5f, 1, 10, 0, 0.5f, 1, 10, 10, 0.5f, 1, 10, 20, 0.5f, 1};
  const float colours[] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 1, 1};
  AddMeshPolygon(0, screen, colours, nullptr, 4, 0, 0);
  AddMeshPolygon(0, screen, nullptr, nullptr, 3, 0, 0);
  const MESHDESC* m = LookupNode(0)->Mesh();
  EXPECT_EQ(m->vertexCount, 7);  // every vertex is kept
  EXPECT_FLOAT_EQ(m->vertexArrays[1].rhw, 1);
  EXPECT_EQ(m->vertexArrays[0].diffuse, 0x7FFF0000u);
  EXPECT_EQ(m->vertexArrays[2].diffuse, 0x7F0000FFu);
  EXPECT_EQ(m->vertexArrays[4].diffuse, 0x7FFFFFFFu);  // white without colours
  EndNode(0);
}

TEST_F(MeshEditTest, AppendMeshData) {
  HOBJECT mesh = MakeMesh({{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}, {5, 0, 0, 6, 0, 0, 6, 1, 0, 5, 1, 0}});
  // Two squares: 8 vertices. A line adds two more.
  const float segment[6] = {0, 0, 0, 0, 0, 9};
  AddMeshLine(mesh, segment, nullptr, static_cast<HOBJECT>(-1));
  ASSERT_EQ(Mesh(mesh)->vertexCount, 10);
  EXPECT_EQ(Mesh(mesh)->primitiveMix, 2);
  const MESHPRIM lineWords[5] = {2, -1, 1, 8, 9};
  EXPECT_TRUE(std::equal(lineWords, lineWords + 5, Mesh(mesh)->primitives.begin() + 24));

  HOBJECT material = MakeMaterial(1);
  MESHVERTEX added[3];
  added[1].x = 1;
  added[2].y = 1;
  const MESHPRIM triangle[6] = {1, static_cast<MESHPRIM>(material), 0, 0, 1, 2};
  int wordsBefore = Mesh(mesh)->wordsUsed;
  AppendMeshData(mesh, added, 3, triangle, 6, 1, 0);
  const MESHDESC* m = Mesh(mesh);
  EXPECT_EQ(m->vertexCount, 13);
  EXPECT_EQ(m->primitiveCount, 6);
  const MESHPRIM stored[6] = {1, static_cast<MESHPRIM>(GetHandleIndex(material)), 0, 10, 11, 12};
  EXPECT_TRUE(std::equal(stored, stored + 6, m->primitives.begin() + wordsBefore));
  EXPECT_FLOAT_EQ(m->vertexArrays[11].x, 1);

  // Primitives naming vertices that are not there are refused whole.
  const MESHPRIM wrong[6] = {1, -1, 0, 0, 1, 3};
  AppendMeshData(mesh, added, 3, wrong, 6, 1, 0);
  EXPECT_EQ(m->vertexCount, 13);

  // With exact the arrays end exactly full.
  AppendMeshData(mesh, added, 3, triangle, 6, 1, 1);
  EXPECT_EQ(m->vertexCapacity, 16);
  EXPECT_EQ(static_cast<int>(m->primitives.size()), m->wordsUsed);
}

TEST_F(MeshEditTest, AppendGrowsPastTheVertexCapacity) {
  BeginNode(NODE_MESH);
  std::vector<MESHVERTEX> many(1000);
  AppendMeshData(0, many.data(), 1000, nullptr, 0, 0, 0);
  AppendMeshData(0, many.data(), 1000, nullptr, 0, 0, 0);  // beyond the first 1024
  const MESHDESC* m = LookupNode(0)->Mesh();
  EXPECT_EQ(m->vertexCount, 2000);
  EXPECT_GT(m->vertexCapacity, 2000);
  EXPECT_GE(m->vertexArrays.size(), 2000u);
  HOBJECT mesh = EndNode(0);
  EXPECT_EQ(Mesh(mesh)->vertexCapacity, 2000);
}

TEST_F(MeshEditTest, MaterialWordsAndReferences) {
  HOBJECT kept = MakeMaterial(1);
  HOBJECT dropped = MakeMaterial(0);
  BeginNode(NODE_MESH);
  AddMeshPolygon(0, kTriangle.data(), nullptr, nullptr, 3, kept, 0);
  AddMeshPolygon(0, kTriangle.data(), nullptr, nullptr, 3, dropped, 0);
  AddMeshPolygon(0, kTriangle.data(), nullptr, nullptr, 3, kept, 0);
  HOBJECT mesh = EndNode(0);
  EXPECT_EQ(Mesh(mesh)->materialCount, 2);
  // EndNode regroups the primitives by material in order of first use.
  EXPECT_EQ(GetPrimitiveMaterial(mesh, 1), kept);
  EXPECT_EQ(GetPrimitiveMaterial(mesh, 2), dropped);
  ReplaceNodeMaterial(mesh, dropped, kept);
  EXPECT_NE(LookupMaterial(kept), nullptr);
  DestroyNode(mesh);
  EXPECT_EQ(LookupMaterial(kept), nullptr);  // the mesh was its last holder
}

TEST_F(MeshEditTest, Normals) {
  BeginNode(NODE_MESH);
  // Two triangles meeting at (1, 0, 0) without sharing the vertex, one vertex 0.02 away.
  const float a[] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  const float b[] = {1, 0, 0, 1, 1, 1, 0.02f, 1, 0};
  AddMeshPolygon(0, a, nullptr, nullptr, 3, 0, 0);
  AddMeshPolygon(0, b, nullptr, nullptr, 3, 0, 0);
  HOBJECT mesh = EndNode(0);
  MESHVERTEX* v = GetMeshVertices(mesh, nullptr, nullptr, nullptr);
  VECTOR3 before5{v[5].nx, v[5].ny, v[5].nz};
  ASSERT_NE(v[1].nx, v[3].nx);
  ComputeMeshNormals(mesh, 0);
  EXPECT_FLOAT_EQ(v[1].nx, v[3].nx);
  EXPECT_FLOAT_EQ(v[1].nz, v[3].nz);
  EXPECT_FLOAT_EQ(v[1].nz, 0.5f * (1 + before5.z));  // the average, not made unit length
  EXPECT_FLOAT_EQ(v[5].nx, before5.x);               // 0.02 from vertex 2: alone
  EXPECT_FLOAT_EQ(v[2].nz, 1);

  ComputeMeshNormals(mesh, 1);
  EXPECT_FLOAT_EQ(v[0].nz, 1);  // only triangle a uses it

  // Pre-lit meshes carry colours there: nothing changes.
  SetMeshFlags(mesh, MESH_PRELIT);
  v[0].nz = 5;
  ComputeMeshNormals(mesh, 1);
  EXPECT_FLOAT_EQ(v[0].nz, 5);
}

TEST_F(MeshEditTest, ArraysCanBeReadAndSwapped) {
  HOBJECT mesh = MakeMesh({kTriangle});
  int count = 0, frames = 0, floats = 0;
  ASSERT_NE(GetMeshVertices(mesh, &count, &frames, &floats), nullptr);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(floats, 8);
  int primitives = 0;
  EXPECT_EQ(GetMeshPrimitives(mesh, &primitives)[0], PRIM_TRIANGLE);
  EXPECT_EQ(primitives, 1);

  std::vector<MESHVERTEX> replacement(3);
  replacement[2].z = 4;
  std::vector<MESHVERTEX> old = SetMeshVertexArray(mesh, replacement);
  EXPECT_FLOAT_EQ(old[1].x, 1);
  EXPECT_FLOAT_EQ(GetMeshVertices(mesh, nullptr, nullptr, nullptr)[2].z, 4);
  // Too short for the mesh: handed back untouched.
  std::vector<MESHVERTEX> shortArray(2);
  EXPECT_EQ(SetMeshVertexArray(mesh, shortArray).size(), 2u);
  EXPECT_FLOAT_EQ(GetMeshVertices(mesh, nullptr, nullptr, nullptr)[2].z, 4);

  HOBJECT dummy = CreateDummyNode(0, nullptr);
  EXPECT_EQ(GetMeshVertices(dummy, &count, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetMeshPrimitives(dummy, &primitives), nullptr);
}

TEST_F(CompositeTest, DestructionTakesTheNodesAlong) {
  auto* composite = new COMPOSITEDESC;
  HOBJECT root = CreateDummyNode(0, nullptr);
  HOBJECT part = MakeMesh({kTriangle});
  HOBJECT other = CreateDummyNode(0, nullptr);
  composite->root = Node(root);
  composite->parts.push_back({Node(part), {}, 0});
  composite->parts.push_back({Node(other), {}, 0});
  HOBJECT handle = MakeHandle(OBJTYPE_COMPOSITE, static_cast<uint32_t>(g_compositePool.Allocate(composite)));
  DestroyNode(other);  // a part destroyed first leaves an empty part record
  EXPECT_EQ(composite->parts[1].node, nullptr);
  DestroyComposite(handle);
  EXPECT_EQ(LookupComposite(handle), nullptr);
  EXPECT_EQ(Node(root), nullptr);
  EXPECT_EQ(Node(part), nullptr);

  auto* second = new COMPOSITE2DESC;
  HOBJECT holder = CreateDummyNode(0, nullptr);
  HOBJECT a = CreateDummyNode(holder, nullptr), b = MakeMesh({kTriangle}, 0, holder);
  second->attached = {Node(a), Node(b)};
  second->attachedCount = 2;
  HOBJECT handle2 = MakeHandle(OBJTYPE_COMPOSITE2, static_cast<uint32_t>(g_composite2Pool.Allocate(second)));
  DestroyNode(a);
  EXPECT_EQ(second->attached[0], nullptr);
  EXPECT_EQ(second->attachedCount, 2);  // only the last entry lowers the count
  DetachFromComposite2(handle2, b);
  EXPECT_EQ(GetNodeParent(b), 0u);
  EXPECT_EQ(second->attached[1], nullptr);
  EXPECT_EQ(second->attachedCount, 1);
  DestroyComposite2(handle2);
  EXPECT_EQ(LookupComposite2(handle2), nullptr);
  EXPECT_NE(Node(b), nullptr);  // attachments are not the composite's nodes
}

TEST_F(CompositeTest, LevelOfDetailGroupsOfComposites) {
  auto* owner = new COMPOSITEDESC;
  auto* member = new COMPOSITEDESC;
  member->root = Node(CreateDummyNode(0, nullptr));
  owner->lodGroup = std::make_unique<COMPOSITELODDESC>();
  owner->lodGroup->members = {member};
  member->lodOwner = owner;
  GetGameWorld()->compositeLodFirst = GetGameWorld()->compositeLodLast = owner;
  HOBJECT ownerHandle = MakeHandle(OBJTYPE_COMPOSITE, static_cast<uint32_t>(g_compositePool.Allocate(owner)));
  MakeHandle(OBJTYPE_COMPOSITE, static_cast<uint32_t>(g_compositePool.Allocate(member)));
  ReleaseCompositeLodGroup(ownerHandle);
  EXPECT_EQ(owner->lodGroup, nullptr);
  EXPECT_EQ(member->lodOwner, nullptr);
  EXPECT_EQ(member->visible, 0);
  EXPECT_EQ(member->root->visible, 0);
  EXPECT_EQ(GetGameWorld()->compositeLodFirst, nullptr);
  EXPECT_EQ(GetGameWorld()->compositeLodLast, nullptr);
}

}  // namespace
}  // namespace enginetest
