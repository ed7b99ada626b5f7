#include <cstdio>

#include "engine/core/billboards.h"
#include "engine/core/cameras.h"
#include "engine/core/device_setup.h"
#include "engine/core/lod_groups.h"
#include "engine/core/materials.h"
#include "engine/core/node_bounds.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/pools.h"
#include "engine/core/viewports.h"
#include "tests/engine/scene_fixture.h"

namespace enginetest {
namespace {

using NodesTest = SceneTest;

constexpr float kSquare[] = {0, 0, 0, 4, 0, 0, 4, 2, 0, 0, 2, 0};

TEST_F(NodesTest, BoundsByKind) {
  const VECTOR3 size{2, 4, 6};
  struct Case {
    const char* name;
    HOBJECT node;
    float box[6];
    float radiusSquared;
  } cases[] = {
      {"dummy 2x4x6", CreateDummyNode(0, &size), {-1, 1, -2, 2, -3, 3}, 9},
      {"dummy default", CreateDummyNode(0, nullptr), {-0.5f, 0.5f, -0.5f, 0.5f, -0.5f, 0.5f}, 0.25f},
      {"empty mesh", MakeMesh({}), {-1, 1, -1, 1, -1, 1}, 1},
      {"mesh 4x2", MakeMesh({{std::begin(kSquare), std::end(kSquare)}}), {0, 4, 0, 2, 0, 0}, 4},
      {"camera", CreateCameraNode(0, 1.33f, 50, 0.86f, 2, 5000), {-1, 1, -1, 1, -1, 1}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(c.node, 0u);
    float box[6] = {};
    GetNodeBoundingBox(c.node, box);
    for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(box[i], c.box[i]) << i;
    EXPECT_FLOAT_EQ(Node(c.node)->bounds->radiusSquared, c.radiusSquared);
  }
  // The centre of a mesh is the average of its vertices, not the box middle.
  const VECTOR3 centre = Node(cases[3].node)->bounds->centre;
  EXPECT_FLOAT_EQ(centre.x, 2);
  EXPECT_FLOAT_EQ(centre.y, 1);
  const VECTOR3 emptyCentre = Node(cases[2].node)->bounds->centre;
  EXPECT_FLOAT_EQ(emptyCentre.x, 0);
}

TEST_F(NodesTest, EndNodeShrinksMeshArraysToTheirContent) {
  HOBJECT mesh = MakeMesh({{std::begin(kSquare), std::end(kSquare)}});
  MESHDESC* m = Mesh(mesh);
  EXPECT_EQ(m->vertexCount, 4);
  EXPECT_EQ(m->vertexCapacity, 4);
  EXPECT_EQ(m->vertexArrays.size(), 4u);
  EXPECT_EQ(m->primitives.size(), static_cast<size_t>(m->wordsUsed));
  EXPECT_EQ(m->primitiveMix, 0);
  EXPECT_EQ(m->name, "model");

  // Moved vertices need UpdateMeshBounds; an emptied mesh keeps its radius.
  GetMeshVertices(mesh, nullptr, nullptr, nullptr)[1].x = 8;
  UpdateMeshBounds(mesh);
  EXPECT_FLOAT_EQ(Node(mesh)->bounds->maxX, 8);
  EXPECT_FLOAT_EQ(Node(mesh)->bounds->radiusSquared, 16);
  m->vertexCount = 0;
  UpdateMeshBounds(mesh);
  EXPECT_FLOAT_EQ(Node(mesh)->bounds->maxX, 1);
  EXPECT_FLOAT_EQ(Node(mesh)->bounds->radiusSquared, 16);
}

TEST_F(NodesTest, HandleZeroNamesTheNodeUnderConstructionOnly) {
  BeginNode(NODE_DUMMY);
  NODEDESC* open = LookupNode(0);
  ASSERT_NE(open, nullptr);
  BeginNode(NODE_MESH);  // ignored: one node at a time
  EXPECT_EQ(LookupNode(0), open);
  SetNodeCulling(0, 0);
  HOBJECT node = EndNode(0);
  EXPECT_EQ(Node(node), open);
  EXPECT_EQ(open->cull, 0);
  EXPECT_EQ(LookupNode(0), nullptr);
  SetNodeCulling(0, 1);  // nothing is open now
  EXPECT_EQ(open->cull, 0);
  EXPECT_EQ(EndNode(0), 0u);
}

TEST_F(NodesTest, KindDefaults) {
  struct Case {
    int kind;
    int up, forward;
    bool drawable;
  } cases[] = {{NODE_SOUND, AXIS_POS_Z, AXIS_NEG_Y, false},    {NODE_LISTENER, AXIS_POS_Y, AXIS_NEG_Z, false},
               {NODE_LIGHT, AXIS_POS_Y, AXIS_NEG_Z, false},    {NODE_CAMERA, AXIS_POS_Y, AXIS_NEG_Z, false},
               {NODE_DUMMY, AXIS_POS_Z, AXIS_NEG_Y, true},     {NODE_MESH, AXIS_POS_Z, AXIS_NEG_Y, true},
               {NODE_BILLBOARD, AXIS_POS_Z, AXIS_NEG_Y, true}, {NODE_POINTS, AXIS_POS_Z, AXIS_NEG_Y, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    BeginNode(c.kind);
    NODEDESC* node = Node(EndNode(0));
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->upAxis, c.up);
    EXPECT_EQ(node->forwardAxis, c.forward);
    std::vector<NODEDESC*> order = RenderOrder();
    EXPECT_EQ(std::find(order.begin(), order.end(), node) != order.end(), c.drawable);
    EXPECT_EQ(node->kindData != nullptr, c.kind != NODE_SOUND && c.kind != NODE_LISTENER);
  }
}

TEST_F(NodesTest, AlphaMovesNodesInTheRenderListAndSetsDepthWrite) {
  HOBJECT a = CreateDummyNode(0, nullptr);
  HOBJECT b = CreateDummyNode(0, nullptr);
  HOBJECT c = CreateDummyNode(0, nullptr);
  // Committed opaque nodes go to the head.
  EXPECT_EQ(RenderOrder(), (std::vector<NODEDESC*>{Node(c), Node(b), Node(a)}));

  struct Step {
    HOBJECT node;
    float alpha;
    float stored;
    int byte;
    int depthWrite;
    std::vector<HOBJECT> order;
  } steps[] = {
      {c, 0.5f, 0.5f, 127, 0, {b, a, c}},
      {b, 1.5f, 1.0f, 255, 1, {b, a, c}},
      {b, -2.0f, 0.0f, 0, 0, {a, c, b}},
      {c, 1.0f, 1.0f, 255, 1, {c, a, b}},
  };
  for (const Step& s : steps) {
    SetNodeAlpha(s.node, s.alpha);
    EXPECT_FLOAT_EQ(Node(s.node)->states.alpha, s.stored);
    EXPECT_EQ(Node(s.node)->states.alphaByte, s.byte);
    EXPECT_EQ(Node(s.node)->states.depthWrite, s.depthWrite);
    std::vector<NODEDESC*> expected;
    for (HOBJECT h : s.order) expected.push_back(Node(h));
    EXPECT_EQ(RenderOrder(), expected);
  }

  // A node under construction only gets its depth write; EndNode places it.
  BeginNode(NODE_DUMMY);
  SetNodeAlpha(0, 0.25f);
  EXPECT_EQ(LookupNode(0)->states.depthWrite, 0);
  HOBJECT d = EndNode(0);
  EXPECT_EQ(RenderOrder().back(), Node(d));
}

TEST_F(NodesTest, RenderListMovesOneStep) {
  HOBJECT a = CreateDummyNode(0, nullptr), b = CreateDummyNode(0, nullptr);
  HOBJECT c = CreateDummyNode(0, nullptr), d = CreateDummyNode(0, nullptr);
  // Order d c b a.
  MoveToRenderListTail(Node(d), 1);
  EXPECT_EQ(RenderOrder(), (std::vector<NODEDESC*>{Node(c), Node(d), Node(b), Node(a)}));
  MoveToRenderListTail(Node(b), 1);  // its successor is the tail: all the way
  EXPECT_EQ(RenderOrder(), (std::vector<NODEDESC*>{Node(c), Node(d), Node(a), Node(b)}));
  MoveToRenderListHead(Node(a), 1);
  EXPECT_EQ(RenderOrder(), (std::vector<NODEDESC*>{Node(c), Node(a), Node(d), Node(b)}));
  MoveToRenderListHead(Node(a), 1);  // its predecessor is the head: becomes the head
  EXPECT_EQ(RenderOrder(), (std::vector<NODEDESC*>{Node(a), Node(c), Node(d), Node(b)}));
  MoveToRenderListHead(Node(a), 0);
  MoveToRenderListTail(Node(b), 0);
  EXPECT_EQ(RenderOrder(), (std::vector<NODEDESC*>{Node(a), Node(c), Node(d), Node(b)}));
  EXPECT_EQ(GetGameWorld()->renderList->tail, Node(b));
}

TEST_F(NodesTest, RenderStates) {
  HOBJECT mesh = MakeMesh({{0, 0, 0, 1, 0, 0, 0, 1, 0}});
  NODEDESC* node = Node(mesh);
  const MESHPRIM* tri = Mesh(mesh)->primitives.data();
  ASSERT_EQ(tri[3], 0);
  ASSERT_EQ(tri[5], 2);

  SetNodeRenderState(mesh, NRS_WINDING, 1);
  SetNodeRenderState(mesh, NRS_WINDING, 1);
  EXPECT_EQ(tri[3], 2);  // swapped once
  EXPECT_EQ(tri[5], 0);
  SetNodeRenderState(mesh, NRS_WINDING, 0);
  EXPECT_EQ(tri[3], 0);

  SetNodeRenderState(mesh, NRS_FACE_FLAGS, 1);
  EXPECT_EQ(tri[2], 1);

  SetNodeRenderState(mesh, NRS_ADDITIVE, 1);
  EXPECT_EQ(node->states.sourceBlend, 2);
  EXPECT_EQ(node->states.destBlend, 2);
  EXPECT_FLOAT_EQ(node->states.alpha, 0.5f);
  SetNodeRenderState(mesh, NRS_ADDITIVE, 0);
  EXPECT_EQ(node->states.sourceBlend, 5);
  EXPECT_EQ(node->states.destBlend, 6);
  EXPECT_FLOAT_EQ(node->states.alpha, 1.0f);

  SetNodeRenderState(mesh, NRS_Z_TEST, 0);
  SetNodeRenderState(mesh, NRS_LIGHTING, 0);
  SetNodeRenderState(mesh, 99, 0);
  EXPECT_EQ(node->states.zTest, 0);
  EXPECT_EQ(node->states.lighting, 0);

  // Texture addressing only for stages the device has; other values mean wrap.
  int stages = g_textureStageCount;
  g_textureStageCount = 3;
  SetNodeRenderState(mesh, 12, 2);
  EXPECT_EQ(node->states.addressing[2], 2);
  SetNodeRenderState(mesh, 12, 5);
  EXPECT_EQ(node->states.addressing[2], 1);
  g_textureStageCount = 2;
  SetNodeRenderState(mesh, 12, 2);
  EXPECT_EQ(node->states.addressing[2], 1);
  g_textureStageCount = stages;

  // Winding and face flags are mesh states; a dummy ignores them.
  HOBJECT dummy = CreateDummyNode(0, nullptr);
  SetNodeRenderState(dummy, NRS_WINDING, 1);
  EXPECT_EQ(Node(dummy)->states.winding, 0);
}

TEST_F(NodesTest, ShowCullDrawModeAndMeshFlags) {
  HOBJECT mesh = MakeMesh({});
  ShowNode(mesh, 0);
  SetNodeCulling(mesh, 0);
  SetNodeDrawMode(mesh, 2);
  SetMeshFlags(mesh, MESH_PRETRANSFORMED);
  SetMeshName(mesh, "rock");
  EXPECT_EQ(Node(mesh)->visible, 0);
  EXPECT_EQ(Node(mesh)->cull, 0);
  EXPECT_EQ(Node(mesh)->drawMode, 2);
  EXPECT_EQ(Mesh(mesh)->flags, MESH_PRETRANSFORMED | MESH_PRELIT);
  EXPECT_EQ(Mesh(mesh)->name, "rock");
  // Wrong kind or a bad handle: nothing.
  HOBJECT dummy = CreateDummyNode(0, nullptr);
  SetMeshName(dummy, "x");
  SetNodeCulling(mesh | 0x00FFF000u, 1);
  EXPECT_EQ(Node(mesh)->cull, 0);
}

TEST_F(NodesTest, PreLitAlphaRepacksVertexColours) {
  BeginNode(NODE_MESH);
  SetMeshFlags(0, MESH_PRELIT);
  const float positions[] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  const float colours[] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  AddMeshPolygon(0, positions, colours, nullptr, 3, 0, 0);
  HOBJECT mesh = EndNode(0);
  EXPECT_EQ(Mesh(mesh)->vertexArrays[0].diffuse, 0xFFFF0000u);
  SetNodeAlpha(mesh, 0.5f);
  EXPECT_EQ(Mesh(mesh)->vertexArrays[0].diffuse, 0x7FFF0000u);
  EXPECT_EQ(Mesh(mesh)->vertexArrays[2].diffuse, 0x7F0000FFu);
}

TEST_F(NodesTest, HierarchyAndOrphans) {
  HOBJECT parent = CreateDummyNode(0, nullptr);
  HOBJECT first = CreateDummyNode(parent, nullptr);
  HOBJECT second = CreateDummyNode(parent, nullptr);
  EXPECT_EQ(GetNodeParent(first), parent);
  EXPECT_EQ(Node(parent)->firstChild, Node(first));
  EXPECT_EQ(Node(first)->nextSibling, Node(second));

  // Reparenting appends as the last child; a node never goes below itself.
  SetNodeParent(first, second);
  EXPECT_EQ(Node(parent)->firstChild, Node(second));
  EXPECT_EQ(GetNodeParent(first), second);
  SetNodeParent(parent, first);
  EXPECT_EQ(GetNodeParent(parent), 0u);

  SetNodePosition(parent, 5, 0, 0, TRANSFORM_SET);
  SetNodePosition(second, 1, 0, 0, TRANSFORM_SET);
  EXPECT_GE(DestroyNode(parent), 0);
  EXPECT_EQ(Node(parent), nullptr);
  ASSERT_NE(Node(second), nullptr);
  EXPECT_EQ(GetNodeParent(second), 0u);
  EXPECT_EQ(Node(second)->nextSibling, nullptr);
  EXPECT_EQ(GetNodeParent(first), second);  // grandchildren keep their parent
  VECTOR3 position;
  GetNodeWorldVectors(second, &position, nullptr, nullptr);
  EXPECT_FLOAT_EQ(position.x, 1);  // the world transform starts at its own local one
}

TEST_F(NodesTest, WorldBoxCornersInOrder) {
  const VECTOR3 size{2, 4, 6};
  HOBJECT node = CreateDummyNode(0, &size);
  SetNodePosition(node, 10, 0, 0, TRANSFORM_SET);
  VECTOR3 centre, corners[8], scale;
  GetNodeWorldBox(node, &centre, corners, &scale);
  EXPECT_FLOAT_EQ(centre.x, 10);
  const VECTOR3 expected[8] = {{11, 2, -3},  {9, 2, -3},  {9, 2, 3},  {11, 2, 3},
                               {11, -2, -3}, {9, -2, -3}, {9, -2, 3}, {11, -2, 3}};
  for (int i = 0; i < 8; ++i) {
    EXPECT_FLOAT_EQ(corners[i].x, expected[i].x) << i;
    EXPECT_FLOAT_EQ(corners[i].y, expected[i].y) << i;
    EXPECT_FLOAT_EQ(corners[i].z, expected[i].z) << i;
  }
  EXPECT_FLOAT_EQ(scale.x, 1);
  // Every face's normal points out of the box.
  for (const auto& face : kBoxFaces) {
    VECTOR3 normal;
    TriangleNormal(&normal, &corners[face[3]], &corners[face[0]], &corners[face[1]]);
    VECTOR3 out{corners[face[0]].x - centre.x, corners[face[0]].y - centre.y, corners[face[0]].z - centre.z};
    EXPECT_GT(DotVector3(&normal, &out), 0);
  }
}

TEST_F(NodesTest, DestroyFreesTheSlotAndKeepsTheMark) {
  HOBJECT a = CreateDummyNode(0, nullptr);
  HOBJECT b = CreateDummyNode(0, nullptr);
  HOBJECT c = CreateDummyNode(0, nullptr);
  EXPECT_EQ(g_nodePool.mark, 3u);
  EXPECT_EQ(DestroyNode(c), 2);
  EXPECT_EQ(g_nodePool.mark, 3u);  // the mark only grows while the engine is open
  EXPECT_EQ(DestroyNode(a), 0);
  EXPECT_EQ(DestroyNode(a), -1);
  EXPECT_EQ(CreateDummyNode(0, nullptr), a);  // lowest free slot first
  EXPECT_EQ(CreateDummyNode(0, nullptr), c);
  EXPECT_EQ(g_nodePool.mark, 3u);
  EXPECT_EQ(RenderOrder().size(), 3u);
  (void)b;
}

TEST_F(NodesTest, DestroyCleansEveryReferenceToTheNode) {
  HOBJECT a = CreateDummyNode(0, nullptr);
  HOBJECT b = CreateDummyNode(0, nullptr);
  HOBJECT c = CreateDummyNode(0, nullptr);
  // b pairs with a and c; a with b.
  auto pair = [](HOBJECT x, HOBJECT y) {
    for (auto [from, to] : {std::pair{x, y}, std::pair{y, x}}) {
      auto* entry = new COLLISIONDESC{1, Node(to), nullptr};
      NODEDESC* n = Node(from);
      if (n->collisionTail) n->collisionTail->next = entry;
      else n->collisionHead = entry;
      n->collisionTail = entry;
    }
  };
  pair(b, a);
  pair(b, c);
  SetLastPartner(Node(b), Node(a));
  Node(b)->partnerPrimitive = 3;
  HOBJECT camera = CreateCameraNode(0, 1.33f, 50, 0.86f, 2, 5000);
  SetViewportCamera(0, camera);

  DestroyNode(a);
  ASSERT_NE(Node(b)->collisionHead, nullptr);
  EXPECT_EQ(Node(b)->collisionHead->partner, Node(c));
  EXPECT_EQ(Node(b)->collisionTail, Node(b)->collisionHead);
  EXPECT_EQ(Node(b)->lastPartner, nullptr);
  EXPECT_EQ(Node(b)->partnerPrimitive, -1);
  DestroyNode(c);
  EXPECT_EQ(Node(b)->collisionHead, nullptr);
  EXPECT_EQ(Node(b)->collisionTail, nullptr);
  DestroyNode(camera);
  EXPECT_EQ(LookupViewport(0)->camera, nullptr);
}

TEST_F(NodesTest, MaterialSharedByTwoMeshesOutlivesOne) {
  const float grey[3] = {0.5f, 0.5f, 0.5f};
  HOBJECT material = CreateMaterial(grey, grey, grey, grey, 10, nullptr, 0, 0, 0, 0, 0);
  ASSERT_NE(LookupMaterial(material), nullptr);
  HOBJECT first = MakeMesh({{0, 0, 0, 1, 0, 0, 0, 1, 0}}, material);
  HOBJECT second = MakeMesh({{0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 0, 1, 1, 0, 1, 0, 1, 1}}, material);
  DestroyNode(first);
  EXPECT_NE(LookupMaterial(material), nullptr);
  DestroyNode(second);
  EXPECT_EQ(LookupMaterial(material), nullptr);  // the last holder frees it
}

TEST_F(NodesTest, BillboardsOwnTheirMaterial) {
  HOBJECT plain = CreateBillboardNode(0, nullptr, 0, 4, 2, 0, 0, 0, 0);
  auto* record = static_cast<BILLBOARDDESC*>(Node(plain)->kindData);
  EXPECT_EQ(record->materialIndex, -1);
  EXPECT_FLOAT_EQ(record->halfWidth, 2);
  EXPECT_FLOAT_EQ(record->halfHeight, 1);
  EXPECT_EQ(Node(plain)->states.addressing[0], kAddressClamp);
  EXPECT_EQ(AdvanceBillboardFrame(plain, 1, 1), 0);

  HOBJECT textured = CreateBillboardNode(0, "nosuchtexture", 0, 4, 2, 0, 0, 0, 0);
  int index = static_cast<BILLBOARDDESC*>(Node(textured)->kindData)->materialIndex;
  ASSERT_GE(index, 0);
  HOBJECT material = MakeHandle(OBJTYPE_MATERIAL, static_cast<uint32_t>(index));
  EXPECT_NE(LookupMaterial(material), nullptr);
  DestroyNode(textured);
  EXPECT_EQ(LookupMaterial(material), nullptr);
}

TEST_F(NodesTest, FullPoolIsFatal) {
  for (uint32_t i = 0; i < g_nodePool.kSize; ++i) ASSERT_NE(CreateDummyNode(0, nullptr), 0u) << i;
  EXPECT_EQ(CreateDummyNode(0, nullptr), 0u);
  EXPECT_TRUE(boxes_.Contains("Fatal message", "No more node available. (N01)"));
  EXPECT_EQ(g_engineOpen, 0);
}

TEST_F(NodesTest, CloseFreesANodeLeftUnderConstruction) {
  BeginNode(NODE_MESH);
  const float triangle[] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  AddMeshPolygon(0, triangle, nullptr, nullptr, 3, 0, 0);
  CloseEngine(1);
  EXPECT_EQ(g_nodeUnderConstruction, nullptr);
}

TEST_F(NodesTest, CallsDoNothingWhileClosed) {
  HOBJECT node = CreateDummyNode(0, nullptr);
  CloseEngine(1);
  BeginNode(NODE_DUMMY);
  EXPECT_EQ(LookupNode(0), nullptr);
  EXPECT_EQ(CreateDummyNode(0, nullptr), 0u);
  EXPECT_EQ(GetNodeParent(node), 0u);
  EXPECT_EQ(DestroyNode(node), -1);
}

}  // namespace
}  // namespace enginetest
