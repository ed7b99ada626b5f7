#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "engine/core/material_device.h"
#include "engine/core/materials.h"
#include "engine/core/nodes.h"
#include "engine/core/pixel_format.h"
#include "engine/core/pools.h"
#include "engine/core/vertex_colors.h"
#include "engine/media/model_binary.h"
#include "engine/media/model_files.h"
#include "engine/media/model_text.h"
#include "engine/media/model_text_lines.h"
#include "engine/media/packages.h"
#include "engine/media/texture_table.h"
#include "tests/assets/asset_fixtures.h"
#include "tests/assets/engine_assets_fixture.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/lightmap_writer.h"
#include "tools/datagen/model_binary_writer.h"
#include "tools/datagen/model_text_writer.h"

namespace {

using assets_test::Encode;
using assets_test::EngineAssetsTest;
using assets_test::WriteFile;
using Bytes = std::vector<uint8_t>;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

void PutU32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

MESHDESC* MeshOf(HOBJECT node) {
  NODEDESC* n = LookupNodeOfKind(node, NODE_MESH);
  return n ? n->Mesh() : nullptr;
}

template <typename Pool>
int Live(const Pool& pool) {
  int count = 0;
  for (uint32_t i = 0; i < pool.mark; ++i) count += pool.slots[i] != nullptr;
  return count;
}

int LiveTextures() {
  int n = 0;
  for (int i = 0; i < g_textureCount; ++i) n += g_textureTable[i] != nullptr;
  return n;
}

// The triangles of a mesh as {material word, face flags, a, b, c}.
std::vector<std::vector<int>> Triangles(const MESHDESC* mesh) {
  std::vector<std::vector<int>> out;
  for (int at = 0; at < mesh->wordsUsed;) {
    const MESHPRIM* w = mesh->primitives.data() + at;
    if (w[0] == PRIM_TRIANGLE) out.push_back({w[1], w[2], w[3], w[4], w[5]});
    at += PrimitiveWordCount(mesh->primitives.data(), at, mesh->wordsUsed);
  }
  return out;
}

Bytes OnePixelQbt() {
  datagen::ImageDesc image;
  image.width = 1;
  image.height = 1;
  image.palette = {{1, 2, 3}};
  image.pixels = {0};
  return Encode(datagen::WriteImage, image);
}

class ModelFilesTest : public EngineAssetsTest {
 protected:
  HOBJECT LoadText(const std::string& text, HOBJECT parent = 0) {
    WriteFile("model/m.qx3", Text(text));
    return LoadModel(parent, "m");
  }
};

TEST(TextModelLines, JoinLinesAtABackslashAndTrimBlanks) {
  const std::string text = "v 1\\\n 2\t3\r\n\n  # note \t\nlast";
  Bytes bytes = Text(text);
  plat::ByteReader in(bytes);
  std::string line;
  struct Step {
    int length;
    const char* line;
  } steps[] = {{7, "v 1 2 3"}, {0, ""}, {10, "# note"}, {4, "last"}, {-1, ""}};
  for (const Step& s : steps) {
    EXPECT_EQ(ReadLine(in, line), s.length) << s.line;
    if (s.length > 0) {
      std::string trimmed = line;
      EXPECT_EQ(TrimLine(trimmed), s.line[0] == '#' ? 2 : 0);
      EXPECT_EQ(trimmed, s.line);
    }
  }
}

TEST_F(ModelFilesTest, TextModelsBuildTheHierarchyTheLinesSay) {
  const HOBJECT root = CreateDummyNode(0, nullptr);
  const std::string objects =
      "BeginObject 3 third\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 3 -1 0 1 2\nEndObject\n"
      "BeginObject 1 first\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 3 -1 0 1 2\nEndObject\n"
      "BeginObject 2 second\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 3 -1 0 1 2\nEndObject\n"
      "BeginDummy 7\nEndDummy\n";
  // The node of object 1 answers whatever the "o" lines call the root.
  const HOBJECT first = LoadText(objects + "BeginRelationship\no 2 1\no 3 2\no 7 3\no 3 0\nEndRelationship\n", root);
  ASSERT_TRUE(first);
  EXPECT_EQ(MeshOf(first)->name, "first");
  EXPECT_EQ(GetNodeParent(first), root);
  NODEDESC* node1 = LookupNode(first);
  ASSERT_TRUE(node1->firstChild);
  const HOBJECT second = NodeHandle(node1->firstChild);
  EXPECT_EQ(MeshOf(second)->name, "second");
  const HOBJECT third = NodeHandle(LookupNode(second)->firstChild);
  EXPECT_EQ(MeshOf(third)->name, "third");
  NODEDESC* dummy = LookupNode(third)->firstChild;
  ASSERT_TRUE(dummy);
  EXPECT_EQ(dummy->kind, NODE_DUMMY);

  // A single object of index 0 answers that object's node.
  const HOBJECT zero = LoadText("BeginObject 0 only\nv 0 0 0\nEndObject\n");
  ASSERT_TRUE(zero);
  EXPECT_EQ(MeshOf(zero)->name, "only");
  // Nothing to build: no node.
  EXPECT_EQ(LoadText("# nothing\nBeginRelationship\nEndRelationship\n"), 0u);
}

TEST_F(ModelFilesTest, FacesBecomeFansAndLightMappedQuads) {
  WriteFile("texture/sails.qmp",
            Encode(datagen::WriteLightMapSet, std::vector<datagen::LightMapDesc>{{1, {1, 2, 3}}, {1, {4, 5, 6}}}));
  const HOBJECT node = LoadText(
      "BeginObject 1\nNormal_Smooth FALSE\nMaterial 2 NULL DIFFUSE 0.5 0.5 0.5\nLightMap sails\n"
      "v 0 0 0 vt 0.5 0.5\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
      "f 3 -1 0 1 2\nf 4 2 0 1 2 3 BOTH L 1\nl 2 -1 0 1 2 3\nEndObject\n");
  ASSERT_TRUE(node);
  MESHDESC* mesh = MeshOf(node);
  ASSERT_TRUE(mesh);
  EXPECT_EQ(mesh->primitiveCount, 4);
  ASSERT_EQ(mesh->materialCount, 1);
  std::vector<std::vector<int>> triangles = Triangles(mesh);
  ASSERT_EQ(triangles.size(), 3u);
  // The untextured triangle and the fan (0 1 2), (0 2 3) of the quad, double-sided.
  int plain = 0, doubled = 0, materialWord = -1;
  for (const auto& t : triangles) {
    if (t[0] == -1) {
      ++plain;
      EXPECT_EQ(t, std::vector<int>({-1, 0, 0, 1, 2}));
    } else {
      ++doubled;
      EXPECT_EQ(t[1], 1);
      materialWord = t[0];
    }
  }
  EXPECT_EQ(plain, 1);
  EXPECT_EQ(doubled, 2);
  MATERIALDESC* m = LookupMaterial(MakeHandle(OBJTYPE_MATERIAL, static_cast<uint32_t>(materialWord)));
  ASSERT_TRUE(m);
  EXPECT_FLOAT_EQ(m->diffuse[0], 0.5f);
  ASSERT_TRUE(mesh->lightMaps);
  const LIGHTMAPSETDESC& set = *mesh->lightMaps;
  EXPECT_EQ(set.lightMapCount, 2);
  EXPECT_EQ(set.quadCount, 1);
  EXPECT_EQ(set.quadVertexCount, 4);
  EXPECT_EQ(set.quads, std::vector<int32_t>({materialWord, 1, 1, 0, 1, 2, 3}));
  ASSERT_EQ(set.quadVerticesB.size(), 4u);
  EXPECT_FLOAT_EQ(set.quadVerticesA[0].u, 0.5f);
  const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(set.quadVerticesB[i].u, corners[i][0]);
    EXPECT_FLOAT_EQ(set.quadVerticesB[i].v, corners[i][1]);
    EXPECT_FLOAT_EQ(set.quadVerticesB[i].x, set.quadVerticesA[i].x);
  }
  DestroyNode(node);
}

TEST_F(ModelFilesTest, MaterialNumbersAreLocalToTheirObject) {
  const int materialsBefore = Live(g_materialPool);
  const HOBJECT node = LoadText(
      "BeginObject 1\nMaterial 0 NULL\nMaterial 1 NULL\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"
      "f 3 0 0 1 2\nEndObject\n"
      "BeginObject 2\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 3 0 0 1 2\nEndObject\no 2 1\n");
  ASSERT_TRUE(node);
  EXPECT_GE(Triangles(MeshOf(node))[0][0], 0);
  const HOBJECT second = NodeHandle(LookupNode(node)->firstChild);
  EXPECT_EQ(Triangles(MeshOf(second))[0][0], -1);  // the table was cleared
  // Material 1 was used by no face and is gone; material 0 lives with its mesh.
  EXPECT_EQ(Live(g_materialPool), materialsBefore + 1);
  DestroyNode(second);
  DestroyNode(node);
  EXPECT_EQ(Live(g_materialPool), materialsBefore);
}

TEST_F(ModelFilesTest, VertexAttributesLandInTheirSlots) {
  const HOBJECT node = LoadText(
      "BeginObject 1\nTransformed_Vertex\nv 10 20 0.5 2 vc 1 0 0 vt 0.25 0.75\n"
      "v 1 2 3 4\nEndObject\n"
      "BeginObject 2\nv 0 0 0 vn 0 0 1 vt 0.5 1\nEndObject\n"
      "BeginObject 3\nMorph 0\nv 1 1 1 vc 0 1 0\nv 2 2 2\nEndObject\n"
      "BeginObject 4\r\nNormal_Smooth TRUE\r\nMorph 2\r\nv 0 0 0\r\nv 0 0 1\r\nEndObject\r\n"
      "o 2 1\no 3 1\no 4 1\n");
  ASSERT_TRUE(node);
  MESHDESC* screen = MeshOf(node);
  EXPECT_EQ(screen->flags, MESH_PRETRANSFORMED | MESH_PRELIT);
  ASSERT_EQ(screen->vertexArrays.size(), 2u);
  const MESHVERTEX& s = screen->vertexArrays[0];
  EXPECT_FLOAT_EQ(s.x, 10);
  EXPECT_FLOAT_EQ(s.rhw, 2);
  EXPECT_EQ(s.diffuse, PackColor(1, 0, 0, 1));
  EXPECT_EQ(s.specular, 0u);
  EXPECT_FLOAT_EQ(s.u, 0.25f);
  EXPECT_FLOAT_EQ(s.v, 0.75f);
  EXPECT_FLOAT_EQ(screen->vertexArrays[1].x, 1);  // the next vertex is untouched

  NODEDESC* child = LookupNode(node)->firstChild;
  const MESHVERTEX& plain = child->Mesh()->vertexArrays[0];
  EXPECT_FLOAT_EQ(plain.nz, 1);
  EXPECT_FLOAT_EQ(plain.u, 0.5f);
  EXPECT_FLOAT_EQ(plain.v, 1);
  child = child->nextSibling;
  EXPECT_EQ(child->Mesh()->flags, MESH_PRELIT);
  EXPECT_EQ(child->Mesh()->frameCount, 1);  // Morph 0 counts as 1
  EXPECT_EQ(child->Mesh()->vertexArrays[0].diffuse, PackColor(0, 1, 0, 1));
  child = child->nextSibling;  // CR-terminated lines read as plain ones
  EXPECT_EQ(child->Mesh()->frameCount, 2);
  EXPECT_EQ(child->Mesh()->vertexCount, 1);
}

TEST_F(ModelFilesTest, BinaryMaterialsNameTheirTextureFrames) {
  for (const char* name : {"wall00", "wall01", "wall02", "wall03", "gate"})
    WriteFile(std::string("texture/") + name + ".qbt", OnePixelQbt());
  datagen::Qb3Model model;
  datagen::Qb3Material animated;
  animated.texture = "wall01";
  animated.textureFrames = 4;
  datagen::Qb3Material single = animated;
  single.texture = "gate";
  single.textureFrames = 1;
  single.colourKey = true;
  single.keyGreen = 255;
  datagen::Qb3Material unused;
  model.materials = {animated, single, unused};
  model.frames = 2;
  model.vertices.resize(6);
  model.vertices[3].x = 5;
  model.primitives = {{datagen::ModelPrimitive::Triangle, 0, 1, {0, 1, 2}},
                      {datagen::ModelPrimitive::Triangle, 1, 0, {2, 1, 0}},
                      {datagen::ModelPrimitive::Lines, -1, 0, {0, 1, 1, 2}}};
  WriteFile("model/box.qb3", Encode(datagen::WriteBinaryModel, model));
  const int materialsBefore = Live(g_materialPool);
  const HOBJECT node = LoadModel(0, "box");
  ASSERT_TRUE(node);
  MESHDESC* mesh = MeshOf(node);
  EXPECT_EQ(mesh->frameCount, 2);
  EXPECT_EQ(mesh->vertexCount, 3);
  EXPECT_FLOAT_EQ(mesh->vertexArrays[3].x, 5);
  EXPECT_EQ(mesh->primitiveCount, 3);
  EXPECT_EQ(mesh->primitiveMix, 2);
  EXPECT_EQ(Live(g_materialPool), materialsBefore + 2);  // the unused one is gone
  MATERIALDESC* frames = LookupMaterial(GetPrimitiveMaterial(node, 0));
  MATERIALDESC* plain = LookupMaterial(GetPrimitiveMaterial(node, 1));
  ASSERT_TRUE(frames && plain);
  if (std::strcmp(frames->textureName, "wall") != 0) std::swap(frames, plain);
  EXPECT_STREQ(frames->textureName, "wall");
  EXPECT_EQ(frames->frameCount, 4);
  ASSERT_TRUE(frames->firstFrame);
  EXPECT_STREQ(frames->firstFrame->name, "wall00");
  EXPECT_STREQ(frames->firstFrame->next->name, "wall01");
  EXPECT_STREQ(plain->textureName, "gate");
  ASSERT_TRUE(plain->firstFrame);
  EXPECT_EQ(plain->firstFrame->keyIndex, 1);
  EXPECT_EQ(plain->firstFrame->keyGreen, 255);
  DestroyNode(node);
  EXPECT_EQ(Live(g_materialPool), materialsBefore);
}

TEST_F(ModelFilesTest, PackageEntriesComeFirstAndEndWithTheirEntry) {
  // Entry a.qx3 is followed in the package by b.qx3; a's last line has no
  // line break, so a reader that counted lines past its end would run on.
  WriteFile("model/props.qxo", assets_test::Package({{"a.qx3", Text("BeginObject 1 a\nv 0 0 0\nEndObject")},
                                                     {"b.qx3", Text("\nv 1 1 1\nv 2 2 2\n")},
                                                     {"c.qb3", Encode(datagen::WriteBinaryModel, [] {
                                                        datagen::Qb3Model m;
                                                        m.vertices.resize(1);
                                                        return m;
                                                      }())}}));
  WriteFile("model/a.qx3", Text("BeginObject 1 loose\nv 0 0 0\nEndObject\n"));
  OpenModelPackage("props");
  const HOBJECT a = LoadModel(0, "a");
  ASSERT_TRUE(a);
  EXPECT_EQ(MeshOf(a)->name, "a");
  EXPECT_EQ(MeshOf(a)->vertexCount, 1);
  EXPECT_TRUE(LoadModel(0, "c"));
  EXPECT_EQ(LoadModel(0, "missing"), 0u);
  OpenModelPackage(nullptr);
  EXPECT_EQ(MeshOf(LoadModel(0, "a"))->name, "loose");
  WriteFile("model/odd.txt", Text("BeginObject 1\nEndObject\n"));
  EXPECT_EQ(LoadModel(0, "model\\odd.txt"), 0u);  // neither extension
  EXPECT_EQ(LoadModelBinaryFile(0, "model\\none.qb3"), 0u);
  EXPECT_TRUE(boxes_.Contains("Error message", "Error to load model\\none.qb3!(M01)"));
}

TEST_F(ModelFilesTest, SoftwareMeshesGetTheirWorkBuffers) {
  CloseEngine(1);
  SetQuitFlag(0);
  OpenWith(0);
  const HOBJECT node = LoadText("BeginObject 1\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 3 -1 0 1 2\nEndObject\n");
  ASSERT_TRUE(node);
  EXPECT_EQ(LookupNode(node)->softBuffer.size(), 3u * 24);
  EXPECT_EQ(MeshOf(node)->softWork.size(), 3u);
}

// Files that break the readers' rules build nothing and answer 0.
TEST_F(ModelFilesTest, RefusesCorruptModels) {
  const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
  WriteFile("texture/one.qmp", Encode(datagen::WriteLightMapSet, std::vector<datagen::LightMapDesc>{{1, {1, 2, 3}}}));
  struct TextCase {
    const char* label;
    std::string text;
  } textCases[] = {
      {"line of 244 characters", "BeginObject 1\n" + triangle + "#" + std::string(243, 'x') + "\n"},
      {"texture name of 128", "BeginObject 1\nMaterial 0 " + std::string(128, 't') + "\n"},
      {"light-map name of 128", "BeginObject 1\nLightMap " + std::string(128, 't') + "\n"},
      {"material number 256", "BeginObject 1\nMaterial 256 NULL\n"},
      {"face material 256", "BeginObject 1\n" + triangle + "f 3 256 0 1 2\n"},
      {"object index 1024", "BeginObject 1024\n" + triangle + "EndObject\n"},
      {"dummy index -1", "BeginDummy -1\nEndDummy\n"},
      {"link index 1024", "BeginObject 1\n" + triangle + "EndObject\no 1024 1\n"},
      {"face of 257 vertices", "BeginObject 1\n" + triangle + "f 257 -1 0 1 2\n"},
      {"129 line pairs", "BeginObject 1\n" + triangle + "l 129 -1 0 1\n"},
      {"index beyond the vertices", "BeginObject 1\n" + triangle + "f 3 -1 0 1 3\nEndObject\n"},
      {"negative index", "BeginObject 1\n" + triangle + "l 1 -1 0 -1\nEndObject\n"},
      {"index beyond one morph frame", "BeginObject 1\nMorph 3\n" + triangle + "f 3 -1 0 1 2\n"},
      {"partial morph frame", "BeginObject 1\nMorph 2\n" + triangle + "EndObject\n"},
      {"light-map number beyond the set",
       "BeginObject 1\nLightMap one\n" + triangle + "v 1 1 0\nf 4 -1 0 1 2 3 L 1\nEndObject\n"},
      {"object inside a dummy", "BeginDummy 2\nBeginObject 1\n"},
  };
  const int nodesBefore = Live(g_nodePool);
  const int materialsBefore = Live(g_materialPool);
  const int texturesBefore = LiveTextures();
  for (const TextCase& c : textCases) {
    // An earlier good object is undone with the refused file.
    const std::string good = "BeginObject 5\nMaterial 0 NULL\n" + triangle + "f 3 0 0 1 2\nEndObject\n";
    EXPECT_EQ(LoadText(good + c.text), 0u) << c.label;
    EXPECT_EQ(Live(g_nodePool), nodesBefore) << c.label;
    EXPECT_EQ(Live(g_materialPool), materialsBefore) << c.label;
    EXPECT_EQ(g_nodeUnderConstruction, nullptr) << c.label;
  }
  EXPECT_EQ(LiveTextures(), texturesBefore);

  datagen::Qb3Model model;
  model.materials.resize(2);
  model.materials[1].texture = "bark";
  model.materials[1].textureFrames = 1;
  model.vertices.resize(3);
  model.primitives = {{datagen::ModelPrimitive::Triangle, 1, 0, {0, 1, 2}}};
  const Bytes qb3 = Encode(datagen::WriteBinaryModel, model);
  // Offsets: materials at 12 (63 bytes untextured; the second names its
  // texture at 131), frames at 146, vertices per frame at 150, vertices at
  // 154, primitive count at 250, word count at 254, the triangle at 258, the
  // extra-data flag at 282.
  ASSERT_EQ(qb3.size(), 286u);
  struct BinaryCase {
    const char* label;
    std::function<void(Bytes&)> damage;
  } binaryCases[] = {
      {"truncated header", [](Bytes& b) { b.resize(6); }},
      {"wrong magic", [](Bytes& b) { b[3] = 'X'; }},
      {"257 materials", [](Bytes& b) { PutU32(b, 8, 257); }},
      {"material count beyond the file", [](Bytes& b) { PutU32(b, 8, 200); }},
      {"name of 64 characters", [](Bytes& b) { PutU32(b, 131, 64); }},
      {"name of 60 beyond the file",
       [](Bytes& b) {
         b.resize(140);
         PutU32(b, 131, 60);
       }},
      {"vertex count beyond the file", [](Bytes& b) { PutU32(b, 150, 0x10000000); }},
      {"zero frames", [](Bytes& b) { PutU32(b, 146, 0); }},
      {"word count beyond the file", [](Bytes& b) { PutU32(b, 254, 0x40000000); }},
      {"words that do not add up", [](Bytes& b) { PutU32(b, 254, 7); }},
      {"primitive count beyond the words", [](Bytes& b) { PutU32(b, 250, 3); }},
      {"unknown primitive type", [](Bytes& b) { PutU32(b, 258, 3); }},
      {"material number beyond the count", [](Bytes& b) { PutU32(b, 262, 2); }},
      {"index beyond the vertex count", [](Bytes& b) { PutU32(b, 274, 3); }},
      {"line pairs beyond the words",
       [](Bytes& b) {
         PutU32(b, 258, 2);
         PutU32(b, 266, 100);
       }},
      {"extra data beyond the file", [](Bytes& b) { PutU32(b, 282, 1); }},
  };
  for (const BinaryCase& c : binaryCases) {
    Bytes bytes = qb3;
    c.damage(bytes);
    WriteFile("model/bad.qb3", bytes);
    EXPECT_EQ(LoadModel(0, "bad"), 0u) << c.label;
    EXPECT_EQ(Live(g_nodePool), nodesBefore) << c.label;
    EXPECT_EQ(Live(g_materialPool), materialsBefore) << c.label;
  }
  WriteFile("model/good.qb3", qb3);
  const HOBJECT good = LoadModel(0, "good");
  EXPECT_TRUE(good);
  DestroyNode(good);
}

}  // namespace

namespace {

// Loaded or refused, a model gives back every material and texture it took
// once it is destroyed, on both render paths; colours of any float value
// pack into bytes held to 0..255.
TEST_F(ModelFilesTest, EveryLoadGivesBackItsMaterialsAndTextures) {
  const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
  // A model of one vertex less that vertex: frames at 12, vertices per frame
  // at 16, then no vertices, no primitives and the extra-data flag.
  datagen::Qb3Model oneVertex;
  oneVertex.vertices.resize(1);
  Bytes empty = Encode(datagen::WriteBinaryModel, oneVertex);
  ASSERT_EQ(empty.size(), 64u);
  empty.erase(empty.begin() + 20, empty.begin() + 52);
  PutU32(empty, 16, 0);
  Bytes emptyFrames = empty;
  PutU32(emptyFrames, 12, 0x80000000u);
  Bytes twoEmptyFrames = empty;
  PutU32(twoEmptyFrames, 12, 2);
  datagen::Qb3Model oddColours;
  oddColours.materials.resize(1);
  oddColours.materials[0].diffuse[0] = std::numeric_limits<float>::quiet_NaN();
  oddColours.materials[0].diffuse[1] = 1e30f;
  oddColours.materials[0].diffuse[2] = -1e30f;
  oddColours.materials[0].ambient[0] = std::numeric_limits<float>::infinity();
  oddColours.materials[0].texture = "one";
  oddColours.materials[0].textureFrames = 1;
  oddColours.vertices.resize(3);
  oddColours.primitives = {{datagen::ModelPrimitive::Triangle, 0, 0, {0, 1, 2}}};

  auto diffuseOfFirstTriangle = [](HOBJECT node) {
    const MATERIALDESC* m = LookupMaterial(GetPrimitiveMaterial(node, 0));
    if (!m) return uint32_t{1};
    if (m->deviceMaterial) return m->deviceMaterial->packedDiffuse;
    // The software ramp's brightest entry is the screen pixel of the colour.
    EXPECT_EQ(m->softMaterial->ramp[255], m->softMaterial->packedDiffuse);
    return m->softMaterial->packedDiffuse == PackScreenPixel(0, 255, 0) ? 0xFF00FF00u : 0u;
  };
  struct Case {
    const char* label;
    std::string file;  // under model/
    Bytes bytes;
    const char* name;                    // given to LoadModel
    std::function<void(HOBJECT)> check;  // null: the file is refused
  } cases[] = {
      {"face of two vertices naming a textured material", "m.qx3",
       Text("BeginObject 1\nMaterial 0 one\n" + triangle + "f 2 0 0 1\nf 3 -1 0 1 2\nEndObject\n"), "m",
       [](HOBJECT node) { EXPECT_EQ(MeshOf(node)->primitiveCount, 1); }},
      {"empty line list naming a textured material", "m.qx3",
       Text("BeginObject 1\nMaterial 3 one\n" + triangle + "l 0 3\nf 3 -1 0 1 2\nEndObject\n"), "m",
       [](HOBJECT node) { EXPECT_EQ(MeshOf(node)->primitiveCount, 1); }},
      {"used material defined again", "m.qx3",
       Text("BeginObject 1\nMaterial 0 one\n" + triangle +
            "f 3 0 0 1 2\nMaterial 0 one DIFFUSE 0 1 0\nf 3 0 2 1 0\nEndObject\n"),
       "m", [](HOBJECT node) { EXPECT_NE(GetPrimitiveMaterial(node, 0), GetPrimitiveMaterial(node, 1)); }},
      {"used material defined again, then a refused line", "m.qx3",
       Text("BeginObject 1\nMaterial 0 one\n" + triangle +
            "f 3 0 0 1 2\nMaterial 0 one\nf 3 0 2 1 0\nf 3 -1 0 1 -2\nEndObject\n"),
       "m", nullptr},
      {"used material defined again in a file that ends refused", "m.qx3",
       Text("BeginObject 1\nMaterial 0 one\n" + triangle +
            "f 3 0 0 1 2\nMaterial 0 one\nf 3 0 2 1 0\nf 3 -1 0 1 7\nEndObject\n"),
       "m", nullptr},
      {"huge and NaN colours in a text model", "m.qx3",
       Text("BeginObject 1\nMaterial 0 one DIFFUSE nan 1e30 -1e30 AMBIENT inf 0 0 EMISSIVE -inf 0 0\n"
            "Lite_Vertex\nv 0 0 0 vc 1e30 nan -1e30\nv 1 0 0 vc 2 0.5 -3\nv 0 1 0 vc inf -inf 1\n"
            "f 3 0 0 1 2\nEndObject\n"),
       "m",
       [&](HOBJECT node) {
         const MESHDESC* mesh = MeshOf(node);
         EXPECT_EQ(mesh->vertexArrays[0].diffuse, 0xFFFF0000u);
         EXPECT_EQ(mesh->vertexArrays[1].diffuse, 0xFFFF7F00u);
         EXPECT_EQ(mesh->vertexArrays[2].diffuse, 0xFFFF00FFu);
         EXPECT_EQ(diffuseOfFirstTriangle(node), 0xFF00FF00u);
       }},
      {"huge and NaN colours in a binary model", "c.qb3", Encode(datagen::WriteBinaryModel, oddColours), "c",
       [&](HOBJECT node) { EXPECT_EQ(diffuseOfFirstTriangle(node), 0xFF00FF00u); }},
      {"two thousand million frames without vertices", "e.qb3", emptyFrames, "e", nullptr},
      {"the same inside a package", "pack.qxo", assets_test::Package({{"p.qb3", emptyFrames}}), "p", nullptr},
      {"two frames without vertices", "e.qb3", twoEmptyFrames, "e", nullptr},
      {"one frame without vertices", "e.qb3", empty, "e",
       [](HOBJECT node) { EXPECT_EQ(MeshOf(node)->vertexCount, 0); }},
  };
  WriteFile("texture/one.qbt", OnePixelQbt());
  for (int direct3D : {1, 0}) {
    CloseEngine(1);
    SetQuitFlag(0);
    OpenWith(direct3D);
    const int nodesBefore = Live(g_nodePool);
    const int materialsBefore = Live(g_materialPool);
    const int texturesBefore = LiveTextures();
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.label) + (direct3D ? " (Direct3D)" : " (software)"));
      WriteFile("model/" + std::string(c.file), c.bytes);
      const bool packaged = std::string(c.file).ends_with(".qxo");
      if (packaged) OpenModelPackage("pack");
      testsupport::DebugOutputCapture debug;
      const HOBJECT node = LoadModel(0, c.name);
      if (packaged) OpenModelPackage(nullptr);
      if (c.check) {
        ASSERT_TRUE(node);
        c.check(node);
        DestroyNode(node);
      } else {
        EXPECT_EQ(node, 0u);
        EXPECT_FALSE(debug.Lines().empty());
      }
      EXPECT_EQ(Live(g_nodePool), nodesBefore);
      EXPECT_EQ(Live(g_materialPool), materialsBefore);
      EXPECT_EQ(LiveTextures(), texturesBefore);
      std::filesystem::remove("model/" + std::string(c.file));
    }
  }
}

}  // namespace
