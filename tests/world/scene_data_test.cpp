#include "world/scene_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "engine/core/materials.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/media/data_directories.h"
#include "platform/files.h"
#include "tests/world/scene_fixture.h"

namespace {

using namespace datagen;
using worldtest::kLargeTextureMemory;
using worldtest::Part;
using worldtest::SceneFileTest;
using worldtest::Triangle;

void ExpectVec(const VECTOR3& v, float x, float y, float z) {
  EXPECT_FLOAT_EQ(v.x, x);
  EXPECT_FLOAT_EQ(v.y, y);
  EXPECT_FLOAT_EQ(v.z, z);
}

SceneAnimData Animation() {
  SceneAnimData a;
  a.mode = 0x21;
  a.repeat = 1;
  a.delay = 30;
  a.plays = 2;
  a.keyNumber = 4;
  a.links = 8 * 2 + 4;
  a.items = {{7, 1, 2}};
  a.positionKeys = {{0, {1, 2, 3}}, {20, {4, 5, 6}}};
  a.rotationKeys = {{5, {0, 1, 0, 0}}};
  a.scaleKeys = {{0, {1, 1, 1}}};
  a.visibilityKeys = {{3, 0.5f}, {40, 1}};
  return a;
}

SceneFileData EveryRecord() {
  SceneFileData s;
  s.points = {{1, {10, 20, 30}, {0, 1, 0}}, {2, {-5, 0, 0}, {1, 0, 0}}};
  s.portals = {{"e001", 1, 0, SceneRect(0, 0, 50, 50, -10, 100)}};
  SceneTriggerData sound;
  sound.name = "stream";
  sound.type = 3;
  sound.wave = "stream.wav";
  sound.targets = {"mill", "sign"};
  sound.zone = SceneRect(100, 100, 200, 200, 0, 50);
  SceneTriggerData block;
  block.name = "gate";
  block.type = 7;
  block.initialState = 1;
  block.currentState = 2;
  block.level = 3;
  SceneTriggerData talk;
  talk.name = "chat";
  talk.type = 6;
  talk.value = -12;
  s.triggers = {sound, block, talk};
  s.start = {7, 8, 9};
  s.startExtra = {1, 2, 3, 4};
  ScenePersonData mira;
  mira.name = "Mira";
  mira.position = {1, 2, 3};
  ScenePersonData bram;
  bram.name = "Bram";
  bram.flags = 0x8001;
  bram.routine = Animation();
  s.people = {mira, bram};

  SceneObjectData ground = Triangle("ground", {Part("grass")});
  ground.kind = 1;
  SceneObjectData mill = Triangle("_mill", {Part("wood")});
  mill.kind = 6;
  mill.spin = 2.5f;
  mill.animation = Animation();
  SceneObjectData keyedClone;
  keyedClone.name = "_mill2";
  keyedClone.kind = 6;
  keyedClone.flags = 0x80;
  keyedClone.meshFlags = 1;
  keyedClone.matrix = TranslationMatrix(100, 0, 0);
  SceneObjectData staticClone = keyedClone;
  staticClone.name = "ground2";
  staticClone.kind = 4;
  staticClone.meshFlags = 0;
  ScenePartData leaf = Part("Kleaf");
  leaf.frameCount = 2;
  leaf.ticksPerFrame = 5;
  leaf.ambient = {32, 48, 0};
  leaf.diffuse = {5, 6, 7};
  SceneObjectData board;
  board.name = "board";
  board.kind = 7;
  board.parts = {leaf};
  s.objects = {ground, mill, keyedClone, staticClone, board};

  SceneCameraData cam;
  cam.name = "cam1";
  cam.position = {0, -100, 50};
  cam.target = {0, 0, 0};
  cam.fieldOfView = 45;
  cam.nearPlane = 1;
  cam.farPlane = 99;
  cam.positionKeys = {{0, {0, -100, 50}}, {30, {0, -50, 50}}};
  cam.targetKeys = {{0, {0, 0, 0}}};
  cam.fovKeys = {{0, 45}};
  cam.rollKeys = {{0, 0}, {10, 5}};
  s.cameras = {cam};
  SceneLightData lamp;
  lamp.name = "lamp";
  lamp.type = 1;
  lamp.position = {1, 2, 3};
  lamp.color = {1, 0.5f, 0.25f};
  lamp.range = 300;
  s.lights = {lamp};
  SceneMorphData morph;
  morph.frameCount = 2;
  morph.vertexCount = 3;
  morph.holdTicks = 4;
  morph.uvFlag = 1;
  for (int i = 0; i < 2 * 3 * 5; ++i) morph.frames.push_back(static_cast<float>(i));
  s.morphs = {morph};
  s.extAnims = {{"grass", 2, 12, "M_grass", SceneRect(0, 0, 10, 10, 0, 5)}};
  s.shadows = {{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}}};
  return s;
}

TEST_F(SceneFileTest, EveryRecordReadsBackFieldForField) {
  auto scene = Load(EveryRecord());
  EXPECT_EQ(scene->version, 513);
  ASSERT_EQ(scene->points.size(), 2u);
  EXPECT_EQ(scene->points[1].id, 2);
  ExpectVec(scene->points[0].position, 10, 20, 30);
  VECTOR3 pos, dir;
  ASSERT_TRUE(scene->FindPoint(2, &pos, &dir));
  ExpectVec(pos, -5, 0, 0);
  ExpectVec(dir, 1, 0, 0);
  EXPECT_FALSE(scene->FindPoint(3, &pos, &dir));

  ASSERT_EQ(scene->portals.size(), 1u);
  EXPECT_EQ(scene->portals[0].destination, "e001");
  EXPECT_EQ(scene->portals[0].destinationPoint, 1);
  EXPECT_FLOAT_EQ(scene->portals[0].zone.corners[2][0], 50);
  EXPECT_FLOAT_EQ(scene->portals[0].zone.zMax, 100);

  ASSERT_EQ(scene->triggers.size(), 3u);
  EXPECT_EQ(scene->triggers[0].name, "stream");
  EXPECT_EQ(scene->triggers[0].type, TRIGGER_SOUND);
  EXPECT_EQ(scene->triggers[0].WaveName(), "stream.wav");
  EXPECT_EQ(scene->triggers[0].targetNames, (std::vector<std::string>{"mill", "sign"}));
  EXPECT_FLOAT_EQ(scene->triggers[0].zone.corners[1][0], 200);
  EXPECT_EQ(scene->triggers[1].InitialState(), 1);
  EXPECT_EQ(scene->triggers[1].CurrentState(), 2);
  EXPECT_EQ(scene->triggers[1].Level(), 3);
  EXPECT_EQ(scene->triggers[2].Value(), -12);

  ExpectVec(scene->startPosition, 7, 8, 9);
  EXPECT_EQ(scene->startExtra[3], 4);
  EXPECT_EQ(scene->startExtra[15], 0);

  ASSERT_EQ(scene->people.size(), 2u);
  EXPECT_EQ(scene->people[0].name, "Mira");
  EXPECT_EQ(scene->people[0].routine, nullptr);
  EXPECT_EQ(scene->people[1].flags, 0x8001);
  ASSERT_NE(scene->people[1].routine, nullptr);
  const SCENEANIMDESC& r = *scene->people[1].routine;
  EXPECT_EQ(r.mode, 0x21);
  EXPECT_EQ(r.repeat, 1);
  EXPECT_EQ(r.delay, 30);
  EXPECT_EQ(r.playsLeft, 2);
  EXPECT_EQ(r.keyNumber, 4);
  EXPECT_EQ(r.links & 3, 1);
  ASSERT_EQ(r.items.size(), 1u);
  EXPECT_EQ(r.items[0].itemId, 7);
  EXPECT_EQ(r.firstKey, 0);
  EXPECT_EQ(r.lastKey, 40);
  EXPECT_EQ(r.position.lastFrame, 20);
  ASSERT_EQ(r.positionKeys.size(), 2u);
  ExpectVec(r.positionKeys[1].value, 4, 5, 6);
  ASSERT_EQ(r.rotationKeys.size(), 1u);
  EXPECT_EQ(r.rotationKeys[0].frame, 5);
  EXPECT_FLOAT_EQ(r.rotationKeys[0].value.x, 1);
  ASSERT_EQ(r.scaleKeys.size(), 1u);
  ASSERT_EQ(r.visibilityKeys.size(), 2u);
  EXPECT_FLOAT_EQ(r.visibilityKeys[0].value, 0.5f);

  ASSERT_EQ(scene->objects.size(), 5u);
  const SCENEOBJECTDESC& mill = *scene->objects[1];
  EXPECT_EQ(mill.name, "_mill");
  EXPECT_EQ(mill.kind, SOBJ_KEYFRAMED);
  EXPECT_FLOAT_EQ(mill.spin, 2.5f);
  ASSERT_NE(mill.animation, nullptr);
  EXPECT_EQ(mill.animation->positionKeys.size(), 2u);
  for (const auto& o : scene->objects) EXPECT_NE(o->node, 0u) << o->name;
  // A keyframed clone owns its mesh; a static one shares its source's.
  EXPECT_NE(LookupNode(scene->objects[2]->node)->kindData, LookupNode(mill.node)->kindData);
  EXPECT_EQ(LookupNode(scene->objects[3]->node)->kindData, LookupNode(scene->objects[0]->node)->kindData);
  EXPECT_FLOAT_EQ(LookupNode(scene->objects[2]->node)->local.row[3].x, 100);
  const SCENEOBJECTDESC& board = *scene->objects[4];
  NODEDESC* bb = LookupNode(board.node);
  ASSERT_NE(bb, nullptr);
  EXPECT_EQ(bb->kind, NODE_BILLBOARD);
  EXPECT_FLOAT_EQ(bb->local.row[3].y, 6);
  EXPECT_EQ(board.parts[0].frameCount, 2);
  EXPECT_EQ(board.parts[0].ticksPerFrame, 5);

  ASSERT_EQ(scene->cameras.size(), 1u);
  const SCENECAMERADESC& cam = scene->cameras[0];
  EXPECT_EQ(cam.name, "cam1");
  EXPECT_FLOAT_EQ(cam.fieldOfView, 45);
  EXPECT_FLOAT_EQ(cam.nearPlane, 10);
  EXPECT_FLOAT_EQ(cam.farPlane, 12500);
  EXPECT_EQ(cam.positionKeyCount, 2);
  EXPECT_EQ(cam.positionKeys.size(), 2u);
  EXPECT_EQ(cam.targetKeys.size(), 1u);
  EXPECT_EQ(cam.fovKeys.size(), 1u);
  ASSERT_EQ(cam.rollKeys.size(), 2u);
  EXPECT_FLOAT_EQ(cam.rollKeys[1].value, 5);

  ASSERT_EQ(scene->lights.size(), 1u);
  EXPECT_EQ(scene->lights[0].type, 1);
  EXPECT_FLOAT_EQ(scene->lights[0].color[1], 0.5f);
  EXPECT_FLOAT_EQ(scene->lights[0].range, 300);

  ASSERT_EQ(scene->morphs.size(), 1u);
  EXPECT_EQ(scene->morphs[0].holdTicks, 4);
  EXPECT_EQ(scene->morphs[0].uvFlag, 1);
  ASSERT_EQ(scene->morphs[0].frames.size(), 30u);
  EXPECT_FLOAT_EQ(scene->morphs[0].frames[29], 29);

  ASSERT_EQ(scene->extAnims.size(), 1u);
  EXPECT_EQ(scene->extAnims[0].kind, EXTANIM_GRASS_SWING);
  EXPECT_EQ(scene->extAnims[0].count, 12);
  EXPECT_EQ(scene->extAnims[0].objectName, "M_grass");

  ASSERT_EQ(scene->shadows.size(), 2u);
  EXPECT_EQ(scene->shadows[0].points.size(), 3u);
  ASSERT_EQ(scene->shadows[1].points.size(), 4u);
  ExpectVec(scene->shadows[1].points[3], 4, 4, 4);

  // Destruction takes the nodes with it.
  HOBJECT node = mill.node;
  scene.reset();
  EXPECT_EQ(LookupNode(node), nullptr);
}

TEST_F(SceneFileTest, VersionsAndCameraPlanes) {
  SceneFileData s = EveryRecord();
  s.version = 256;
  auto old = Load(s);
  EXPECT_EQ(old->objects[4]->parts[0].frameCount, 0);
  EXPECT_EQ(old->objects[4]->parts[0].ticksPerFrame, 0);
  // No longer a billboard part, it gets a material of its own.
  EXPECT_NE(LookupMaterial(old->objects[4]->parts[0].material), nullptr);

  s.version = 512;
  auto v512 = Load(s);
  ASSERT_EQ(v512->morphs.size(), 1u);
  EXPECT_EQ(v512->morphs[0].uvFlag, 0);  // 20-byte entries carry no flag
  EXPECT_EQ(v512->morphs[0].frames.size(), 18u);
  EXPECT_FLOAT_EQ(v512->morphs[0].frames[17], 17);
  EXPECT_EQ(v512->extAnims.size(), 1u);  // the sections after it still line up
}

TEST_F(SceneFileTest, NamesSelectFormPackageAndTextureDirectory) {
  struct Case {
    const char* dir;
    const char* file;
    const char* package;
    const char* textureDir;
    size_t points;
  };
  const Case cases[] = {
      {"scenes", "a004s", "a00", ".\\texture\\", 0},  // the text form
      {"scenes", "a004.sb", "a00", ".\\texture\\", 2},
      {"m\\scenes", "a004.sb", "a00", ".\\m\\texture\\", 2},
      {"m\\scenes\\", "e1.sb", "e1", ".\\m\\texture\\", 2},
  };
  std::string error;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.dir) + " " + c.file);
    std::string path = plat::NormalizePath(std::string(c.dir) + "\\" + c.file);
    ASSERT_TRUE(WriteSceneFile(path, EveryRecord(), error)) << error;
    CSceneData scene(c.dir, c.file);
    EXPECT_EQ(scene.texturePackage, c.package);
    EXPECT_EQ(GetTextureDirectory(), c.textureDir);
    EXPECT_EQ(scene.points.size(), c.points);
    EXPECT_EQ(scene.name, std::string(c.file).substr(0, 11));
  }
}

TEST_F(SceneFileTest, MissingFileLeavesTablesEmpty) {
  CSceneData scene("scenes", "none.sb");
  EXPECT_TRUE(trace_.Contains("File .\\scenes\\none.sb Opend Error."));
  EXPECT_TRUE(scene.points.empty());
  EXPECT_TRUE(scene.objects.empty());
  EXPECT_FALSE(scene.FindPoint(1, nullptr, nullptr));
}

TEST_F(SceneFileTest, BlendModesAndFilterFlagSetRenderStates) {
  struct Case {
    int mode;
    int16_t meshFlags;
    int fog, source, dest, filter;
    float alpha;
  };
  const NODESTATES d;
  const Case cases[] = {
      {0, 0, d.fog, 1, 4, 1, 1.0f},
      {1, 0, 0, kBlendOne, kBlendOne, 1, 0.5f},  // additive: the device path halves alpha
      {2, 0, d.fog, d.sourceBlend, d.destBlend, 1, 1.0f},
      {3, 0x02, 0, 2, 4, 0, 0.75f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    SceneFileData s;
    ScenePartData part = Part("stone");
    part.blendMode = c.mode;
    s.objects = {Triangle("rock", {part})};
    s.objects[0].meshFlags = c.meshFlags;
    auto scene = Load(s);
    NODEDESC* node = LookupNode(scene->objects[0]->node);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->states.fog, c.fog);
    EXPECT_EQ(node->states.sourceBlend, c.source);
    EXPECT_EQ(node->states.destBlend, c.dest);
    EXPECT_EQ(node->states.textureFilter, c.filter);
    EXPECT_FLOAT_EQ(node->states.alpha, c.alpha);
  }
}

TEST_F(SceneFileTest, SoftwarePathMaterialsAndStates) {
  SceneFileData s;
  ScenePartData part = Part("stone");
  part.blendMode = 0;
  part.diffuse = {0.5f, 0.25f, 1};
  s.objects = {Triangle("rock", {part})};
  for (int memory : {0, kLargeTextureMemory}) {
    SCOPED_TRACE(memory);
    g_hardwareRendering = memory;
    auto scene = Load(s);
    const SCENEPARTDESC& p = scene->objects[0]->parts[0];
    float ambient[3], diffuse[3], emissive[3];
    GetMaterialColors(p.material, ambient, diffuse, nullptr, emissive, nullptr);
    const float glow = memory ? 0.0f : 1.0f;
    EXPECT_FLOAT_EQ(emissive[0], glow);
    EXPECT_FLOAT_EQ(emissive[2], glow);
    EXPECT_FLOAT_EQ(ambient[1], 1);
    EXPECT_FLOAT_EQ(diffuse[1], 0.25f);
    NODEDESC* node = LookupNode(scene->objects[0]->node);
    EXPECT_EQ(node->states.perspective, memory ? NODESTATES{}.perspective : 1);
    EXPECT_EQ(node->states.destBlend, memory ? 4 : NODESTATES{}.destBlend);
  }
}

TEST_F(SceneFileTest, DetailFollowsTextureMemory) {
  struct Case {
    int memory, detail, mip;
  };
  for (const Case& c : {Case{0, 0, 3}, Case{8000000, 1, 2}, Case{1, 1, 2}, Case{8000001, 0, 3}}) {
    g_hardwareRendering = c.memory;
    CSceneData scene("scenes", "none.sb");
    EXPECT_EQ(scene.detailFlag, c.detail) << c.memory;
    EXPECT_EQ(scene.mipOption, c.mip) << c.memory;
  }
}

TEST_F(SceneFileTest, VertexColoursAndTextureCoordinates) {
  SceneFileData s;
  s.objects = {Triangle("lit", {Part("stone")})};
  s.objects[0].meshFlags = 0x10 | 0x08;
  s.objects[0].vertices[0].color = {10, 20, 30, 40};
  s.objects[0].vertices[0].uv = {256, -128};
  auto scene = Load(s);
  MESHDESC* mesh = LookupNode(scene->objects[0]->node)->Mesh();
  ASSERT_NE(mesh, nullptr);
  ASSERT_EQ(mesh->vertexCount, 3);
  const MESHVERTEX& v = mesh->vertexArrays[0];
  EXPECT_FLOAT_EQ(v.nx, 30 / 255.0f);
  // Vertex-colour mode on the device path packs the colour slots.
  EXPECT_NE(mesh->flags & MESH_PRELIT, 0u);
  EXPECT_EQ(v.diffuse & 0x00FFFFFFu, (30u << 16 | 20u << 8 | 10u));
  EXPECT_FLOAT_EQ(v.u, 1);
  EXPECT_FLOAT_EQ(v.v, -0.5f);

  // Elsewhere the normal slots get smooth normals of the faces.
  g_hardwareRendering = 0;
  auto soft = Load(s);
  MESHDESC* softMesh = LookupNode(soft->objects[0]->node)->Mesh();
  EXPECT_EQ(softMesh->flags & MESH_PRELIT, 0u);
  const MESHVERTEX& w = softMesh->vertexArrays[0];
  EXPECT_FLOAT_EQ(w.nx, 0);
  EXPECT_FLOAT_EQ(w.nz, 1);
  EXPECT_FLOAT_EQ(w.u, 1);
}

TEST_F(SceneFileTest, UnusedAndKeyedParts) {
  SceneFileData s;
  ScenePartData keyed = Part("Kfence");
  keyed.options = {0x07, 0x02, 0xFF};
  s.objects = {Triangle("fence", {keyed, Part("unused")})};
  auto scene = Load(s);
  const SCENEOBJECTDESC& o = *scene->objects[0];
  EXPECT_EQ(o.parts[0].options, (std::array<uint8_t, 3>{0x04, 0x00, 0xFC}));
  EXPECT_EQ(o.parts[0].used, 1);
  EXPECT_NE(LookupMaterial(o.parts[0].material), nullptr);
  EXPECT_EQ(o.parts[1].used, 0);
  EXPECT_EQ(o.parts[1].material, kNoMaterial);
  EXPECT_EQ(LookupNode(o.node)->Mesh()->primitives[1], static_cast<MESHPRIM>(GetHandleIndex(o.parts[0].material)));
}

// A clone draws with its source's materials: the ones made for its own parts
// go at once, so visiting a scene again and again does not fill the pool.
TEST_F(SceneFileTest, EveryVisitOfAClonedSceneFreesItsMaterials) {
  const auto liveMaterials = [] {
    return std::count_if(g_materialPool.slots.begin(), g_materialPool.slots.begin() + g_materialPool.mark,
                         [](const MATERIALDESC* m) { return m != nullptr; });
  };
  SceneFileData s;
  SceneObjectData mill = Triangle("_mill", {Part("wood")});
  mill.kind = 6;
  SceneObjectData clone;
  clone.name = "_mill2";
  clone.kind = 6;
  clone.flags = 0x80;
  clone.parts = {Part("wood"), Part("stone")};
  SceneObjectData staticClone = clone;
  staticClone.name = "mill3";
  staticClone.kind = 4;
  s.objects = {mill, clone, staticClone};
  const auto before = liveMaterials();
  for (int visit = 0; visit < 3; ++visit) {
    auto scene = Load(s);
    ASSERT_EQ(scene->objects.size(), 3u);
    for (size_t i : {1u, 2u}) {
      EXPECT_NE(scene->objects[i]->node, 0u);
      for (const SCENEPARTDESC& part : scene->objects[i]->parts) EXPECT_EQ(part.material, kNoMaterial);
    }
  }
  EXPECT_EQ(liveMaterials(), before);
}

// Files that break the limits or lie about their sizes: the rest dropped or
// cut, a trace line, nothing read past the data.
TEST_F(SceneFileTest, CorruptScenes) {
  struct Case {
    const char* what;
    SceneFileData (*make)();
    void (*patch)(std::vector<uint8_t>&);
    void (*check)(const CSceneData&);
  };
  const Case cases[] = {
      {"objects past 600",
       [] {
         SceneFileData s;
         for (int i = 0; i < 602; ++i) s.objects.push_back(Triangle("o" + std::to_string(i), {}));
         return s;
       },
       nullptr, [](const CSceneData& d) { EXPECT_EQ(d.objects.size(), 600u); }},
      {"cameras past 24 and lights past 10",
       [] {
         SceneFileData s;
         s.cameras.resize(26);
         s.lights.resize(12);
         s.extAnims.resize(1);
         return s;
       },
       nullptr,
       [](const CSceneData& d) {
         EXPECT_EQ(d.cameras.size(), 24u);
         EXPECT_EQ(d.lights.size(), 10u);
         EXPECT_EQ(d.extAnims.size(), 1u);
       }},
      {"an object over 160000 bytes",
       [] {
         SceneFileData s;
         s.objects = {Triangle("a", {}), Triangle("big", {}), Triangle("c", {})};
         s.objects[1].vertices.resize(13400);
         return s;
       },
       nullptr, [](const CSceneData& d) { EXPECT_EQ(d.objects.size(), 1u); }},
      {"sections past 11",
       [] {
         SceneFileData s = EveryRecord();
         return s;
       },
       [](std::vector<uint8_t>& b) {
         // Twelve sections claimed: the directory grows by one empty entry.
         b[18] = 12;
         b.insert(b.begin() + 20 + 11 * 16, 16, 0);
       },
       [](const CSceneData& d) {
         EXPECT_EQ(d.points.size(), 2u);
         EXPECT_EQ(d.shadows.size(), 2u);
       }},
      {"bad triangle indices skipped",
       [] {
         SceneFileData s;
         s.objects = {Triangle("t", {Part("a")})};
         s.objects[0].triangles.push_back({0, 0, 1, 3});
         s.objects[0].triangles.push_back({0, -1, 1, 2});
         s.objects[0].triangles.push_back({5, 2, 1, 0});  // unknown part: untextured
         return s;
       },
       nullptr,
       [](const CSceneData& d) {
         MESHDESC* mesh = LookupNode(d.objects[0]->node)->Mesh();
         ASSERT_NE(mesh, nullptr);
         EXPECT_EQ(mesh->primitiveCount, 2);
       }},
      {"target names past 4",
       [] {
         SceneFileData s;
         SceneTriggerData t;
         t.name = "many";
         t.targets = {"a", "b", "c", "d", "e", "f"};
         SceneTriggerData u;
         u.name = "next";
         u.targets = {"g"};
         s.triggers = {t, u};
         return s;
       },
       nullptr,
       [](const CSceneData& d) {
         ASSERT_EQ(d.triggers.size(), 2u);
         EXPECT_EQ(d.triggers[0].targetNames, (std::vector<std::string>{"a", "b", "c", "d"}));
         EXPECT_EQ(d.triggers[1].targetNames, (std::vector<std::string>{"g"}));
       }},
      {"a clone of a later object",
       [] {
         SceneFileData s;
         SceneObjectData clone;
         clone.name = "early";
         clone.flags = 0x80;
         clone.meshFlags = 1;
         s.objects = {clone, Triangle("later", {})};
         return s;
       },
       nullptr,
       [](const CSceneData& d) {
         ASSERT_EQ(d.objects.size(), 2u);
         EXPECT_EQ(d.objects[0]->node, 0u);
         EXPECT_NE(d.objects[1]->node, 0u);
       }},
      {"records beyond their section",
       [] {
         SceneFileData s = EveryRecord();
         s.points.resize(3);
         return s;
       },
       [](std::vector<uint8_t>& b) {
         b[20 + 2] = 9;  // nine points claimed, three there
       },
       [](const CSceneData& d) {
         EXPECT_EQ(d.points.size(), 3u);
         EXPECT_EQ(d.portals.size(), 1u);
       }},
      {"names fill their fields",
       [] {
         SceneFileData s;
         s.points = {{1}};
         s.portals = {{"abcdefghijklmnopqrst", 1, 0, {}}};
         return s;
       },
       [](std::vector<uint8_t>& b) {
         size_t portal = 20 + 11 * 16 + 28;
         std::memset(b.data() + portal, 'x', 16);
       },
       [](const CSceneData& d) {
         ASSERT_EQ(d.portals.size(), 1u);
         EXPECT_EQ(d.portals[0].destination, std::string(16, 'x'));
       }},
      {"fewer than 4 sections",
       [] {
         SceneFileData s = EveryRecord();
         return s;
       },
       [](std::vector<uint8_t>& b) { b[18] = 3; },
       [](const CSceneData& d) {
         ExpectVec(d.startPosition, 0, 0, 0);
         EXPECT_EQ(d.triggers.size(), 3u);
       }},
      {"a part's alpha not a number",
       [] {
         SceneFileData s;
         ScenePartData part = Part("glass");
         part.alpha = std::numeric_limits<float>::quiet_NaN();
         s.objects = {Triangle("pane", {part})};
         return s;
       },
       nullptr,
       [](const CSceneData& d) {
         ASSERT_EQ(d.objects.size(), 1u);
         const NODEDESC* node = LookupNode(d.objects[0]->node);
         ASSERT_NE(node, nullptr);
         EXPECT_FLOAT_EQ(node->states.alpha, 1.0f) << "drawn opaque";
         EXPECT_EQ(node->states.alphaByte, 255);
       }},
      {"huge sizes and counts", [] { return EveryRecord(); },
       [](std::vector<uint8_t>& b) {
         for (int i = 0; i < 11; ++i) {
           b[20 + 16 * i + 2] = 0xFF;
           b[20 + 16 * i + 3] = 0x7F;
           if (i % 2) std::memset(b.data() + 20 + 16 * i + 8, 0xFF, 8);
         }
       },
       [](const CSceneData& d) { EXPECT_LE(d.objects.size(), 600u); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> bytes = BuildSceneFile(c.make());
    if (c.patch) c.patch(bytes);
    plat::CreateDirectories("scenes");
    ASSERT_TRUE(plat::WriteFileAtomic("scenes/bad.sb", bytes.data(), bytes.size()));
    CSceneData scene("scenes", "bad.sb");
    c.check(scene);
  }
}

TEST_F(SceneFileTest, SeededDamageReadsWithoutHarm) {
  const std::vector<uint8_t> good = BuildSceneFile(EveryRecord());
  plat::CreateDirectories("scenes");
  std::mt19937 rng(102);
  for (int round = 0; round < 200; ++round) {
    std::vector<uint8_t> b = good;
    int flips = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < flips; ++i) b[rng() % b.size()] = static_cast<uint8_t>(rng());
    if (round % 4 == 0) b.resize(rng() % b.size());
    ASSERT_TRUE(plat::WriteFileAtomic("scenes/bad.sb", b.data(), b.size()));
    CSceneData scene("scenes", "bad.sb");
    EXPECT_LE(scene.objects.size(), good.size());
  }
}

}  // namespace
