#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "components/creature_model.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "tests/creature/creature_fixture.h"

namespace creaturetest {
namespace {

class ModelFiles : public CreatureTest {};

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
float F32At(const std::vector<uint8_t>& b, size_t at) {
  uint32_t v = U32At(b, at);
  float f;
  std::memcpy(&f, &v, 4);
  return f;
}

TEST_F(ModelFiles, TheReaderIsChosenByThePathsLastThreeLetters) {
  const auto mcb = McbBytes(TestModel(false));
  const auto text = TextBytes(TestModel(false));
  struct Case {
    const char* path;
    const std::vector<uint8_t>* bytes;
    int mcbFlag;
  } cases[] = {{"creature/a.mcb", &mcb, 1},
               {"creature/b.MCB", &mcb, 1},
               {"creature/c.Mcb", &mcb, 1},
               {"creature/d.txt", &text, 0},
               {"creature/e.mcx", &text, 0}};
  for (const Case& c : cases) {
    WriteFile(c.path, *c.bytes);
    CModelData model(c.path);
    EXPECT_EQ(model.mcb, c.mcbFlag) << c.path;
    EXPECT_FALSE(model.Empty()) << c.path;
    EXPECT_EQ(model.ObjectCount(), 2) << c.path;
    EXPECT_EQ(model.PartCount(), 1) << c.path;
  }
  // ".MCB" bytes under another name go to the text reader, which finds nothing.
  WriteFile("creature/f.bin", mcb);
  EXPECT_TRUE(CModelData("creature/f.bin").Empty());
}

TEST_F(ModelFiles, WrittenModelsLoadWithTheirCountsPosesAndNodes) {
  struct Case {
    const char* path;
    std::vector<uint8_t> bytes;
  } cases[] = {{"creature/plain.MCB", McbBytes(TestModel(false))},
               {"creature/small.MCB", McbBytes(TestModel(true))},
               {"creature/text.txt", TextBytes(TestModel(false))}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    WriteFile(c.path, c.bytes);
    CModelData model(c.path);
    ASSERT_FALSE(model.Empty());
    EXPECT_STREQ(model.name, "tester");
    EXPECT_EQ(model.frameCount, 31);
    ASSERT_EQ(model.PoseCount(), 4);
    EXPECT_EQ(model.poses[1].start, 0);
    EXPECT_EQ(model.poses[1].loopStart, 10);
    EXPECT_EQ(model.poses[1].length, 31);
    EXPECT_FLOAT_EQ(model.frameOffsets[3].y, -6);
    EXPECT_FLOAT_EQ(model.frameOffsets[3].z, 1.5f);
    EXPECT_STREQ(model.objects[0].name, "body");
    EXPECT_FALSE(model.objects[0].Hidden());
    EXPECT_TRUE(model.objects[1].Hidden());
    EXPECT_FLOAT_EQ(model.objects[0].transforms[7].row[3].x, 7);
    EXPECT_FLOAT_EQ(model.objects[1].transforms[7].row[3].z, 7);
    EXPECT_EQ(GetNodeParent(model.objects[0].node), model.root);
    EXPECT_EQ(GetNodeParent(model.parts[0].node), model.root);
    int vertices = 0;
    const MESHVERTEX* body = GetMeshVertices(model.objects[0].node, &vertices, nullptr, nullptr);
    ASSERT_EQ(vertices, 3);
    EXPECT_FLOAT_EQ(body[1].x, 2);
    EXPECT_FLOAT_EQ(body[2].v, 1);
    EXPECT_EQ(model.parts[0].keyCount, model.mcb ? 2 : 31);
    EXPECT_FLOAT_EQ(model.parts[0].weights[1], 0.5f);
    ASSERT_EQ(model.meshAlphas.size(), 3u);
    EXPECT_FLOAT_EQ(model.meshAlphas[0], 0.5f);
    EXPECT_FLOAT_EQ(LookupOpenNode(model.objects[0].node)->states.alpha, 0.5f);
    std::vector<HOBJECT> materials;
    GetNodeMaterials(model.objects[0].node, &materials, nullptr);
    ASSERT_EQ(materials.size(), 1u);
    EXPECT_FLOAT_EQ(LookupMaterial(materials[0])->power, 0.5f);
    EXPECT_STREQ(LookupMaterial(materials[0])->textureName, "skin");
  }
}

TEST_F(ModelFiles, RecordLayoutsStayWhereTheWriterPutsThem) {
  const auto bytes = McbBytes(TestModel(false));
  const uint32_t d = U32At(bytes, 76), e = U32At(bytes, 80);
  const size_t material = d + 3 * 40;                  // two objects and one part before the materials
  EXPECT_FLOAT_EQ(F32At(bytes, material + 24), 0.5f);  // power after the pad byte at 23
  EXPECT_FLOAT_EQ(F32At(bytes, material + 32), 0.5f);  // alpha
  EXPECT_EQ(U32At(bytes, material + 36), 2u);          // render type
  EXPECT_EQ(U32At(bytes, e + 44 + 36), 0x80u);         // the hidden object's flag word
  EXPECT_EQ(U32At(bytes, d + 40 + 16), 0u);            // second header: an object
  EXPECT_EQ(U32At(bytes, d + 80 + 16), 1u);            // third: the part
}

TEST_F(ModelFiles, AHiddenObjectReadsNoMeshButKeepsItsTransformsAndGetsAxes) {
  datagen::CreatureModel m = TestModel(true);
  std::swap(m.objects[0], m.objects[1]);  // the hidden object first
  WriteFile("creature/h.MCB", McbBytes(m));
  CModelData model("creature/h.MCB");
  ASSERT_FALSE(model.Empty());
  int primitives = 0;
  const MESHPRIM* words = GetMeshPrimitives(model.objects[0].node, &primitives);
  ASSERT_TRUE(words);
  EXPECT_EQ(primitives, 3);
  EXPECT_EQ(words[0], PRIM_LINES);
  EXPECT_FLOAT_EQ(model.objects[0].transforms[30].row[3].z, 30);
  int vertices = 0;
  const MESHVERTEX* body = GetMeshVertices(model.objects[1].node, &vertices, nullptr, nullptr);
  ASSERT_EQ(vertices, 3);
  EXPECT_FLOAT_EQ(body[1].x, 2);
  EXPECT_FLOAT_EQ(model.objects[1].transforms[4].row[3].x, 4);
}

TEST_F(ModelFiles, AQuantisedKeyVertexDecodesWithItsDivisors) {
  const uint8_t key[10] = {100, 0, 0x38, 0xFF, 50, 0, 127, 0, 127, 1};  // 100, -200, 50
  MESHVERTEX v;
  DecodeQuantisedKey(key, 1, 100, 127, &v);
  EXPECT_FLOAT_EQ(v.x, 1);
  EXPECT_FLOAT_EQ(v.y, -2);
  EXPECT_FLOAT_EQ(v.z, 0.5f);
  EXPECT_FLOAT_EQ(v.nx, -1);
  EXPECT_FLOAT_EQ(v.ny, 0);
  EXPECT_FLOAT_EQ(v.nz, 1);

  // The writer stores the same key, and the part's mesh shows it.
  datagen::CreatureModel m = TestModel(true);
  m.parts[0].keys[0][0] = {1, -2, 0.5f, -1, 0, 1};
  const auto bytes = McbBytes(m);
  const size_t keys = bytes.size() - 2 * 3 * 10;
  EXPECT_TRUE(std::equal(key, key + 10, bytes.begin() + keys));
  WriteFile("creature/q.MCB", bytes);
  CModelData model("creature/q.MCB");
  ASSERT_EQ(model.PartCount(), 1);
  EXPECT_EQ(model.parts[0].normalDivisor, 127);
  const MESHVERTEX* live = GetMeshVertices(model.parts[0].node, nullptr, nullptr, nullptr);
  EXPECT_FLOAT_EQ(live[0].y, -2);
  EXPECT_FLOAT_EQ(live[0].nx, -1);
}

// Each fixture leaves an empty model, one trace line and every node and
// material it made freed.
TEST_F(ModelFiles, DamagedFilesGiveAnEmptyModelAndFreeWhatTheyBuilt) {
  const auto good = McbBytes(TestModel(true));
  auto at16 = [](std::vector<uint8_t> b, size_t at, int16_t v) {
    b[at] = static_cast<uint8_t>(v), b[at + 1] = static_cast<uint8_t>(v >> 8);
    return b;
  };
  auto at32 = [](std::vector<uint8_t> b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    return b;
  };
  const uint32_t e = U32At(good, 80);
  // Two object records, the body's 3 vertices and triangle, 31 transforms each.
  const size_t partRecord = e + 2 * 44 + 3 * 16 + 10 + 2 * 31 * 24;
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"cut in the header", std::vector<uint8_t>(good.begin(), good.begin() + 60)},
      {"cut in the key sets", std::vector<uint8_t>(good.begin(), good.end() - 7)},
      {"cut after the objects", std::vector<uint8_t>(good.begin(), good.begin() + e + 150)},
      {"frame count beyond the data", at16(good, 58, 30000)},
      {"part count beyond the records", at16(good, 56, 100)},
      {"more than 127 meshes", at16(good, 54, 127)},
      {"negative pose count", at16(good, 52, -3)},
      {"offset past the end", at32(good, 76, 0x7FFFFFF0)},
      {"offsets out of order", at32(good, 68, 20)},
      {"vertex count beyond the data", at32(good, e + 16, 0x40000000)},
      {"key count beyond the data", at32(good, partRecord + 20, 5000000)},
      {"mesh header of no mesh", at32(good, U32At(good, 76) + 20, 9)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile("creature/bad.MCB", c.bytes);
    const int nodes = LiveNodes(), materials = LiveMaterials();
    const size_t lines = trace_.Lines().size();
    {
      CModelData model("creature/bad.MCB");
      EXPECT_TRUE(model.Empty());
      EXPECT_EQ(model.ObjectCount() + model.PartCount() + model.PoseCount() + model.frameCount, 0);
    }
    EXPECT_EQ(trace_.Lines().size(), lines + 1);
    EXPECT_EQ(LiveNodes(), nodes);
    EXPECT_EQ(LiveMaterials(), materials);
  }
}

TEST_F(ModelFiles, MissingFilesAndLongPathsLeaveAnEmptyModel) {
  CModelData missing("creature/none.MCB");
  EXPECT_TRUE(missing.Empty());
  EXPECT_TRUE(trace_.Contains("file creature/none.MCB open error"));
  EXPECT_TRUE(CModelData("creature/none.txt").Empty());
  const std::string longPath = "creature/" + std::string(60, 'x') + ".MCB";
  EXPECT_TRUE(CModelData(longPath.c_str()).Empty());
}

TEST_F(ModelFiles, ALoadedModelFreesEveryNodeAndMaterialItMade) {
  const int nodes = LiveNodes(), materials = LiveMaterials();
  WriteFile("creature/t.txt", TextBytes(TestModel(false)));
  WriteFile("creature/m.MCB", McbBytes(TestModel(true)));
  {
    CModelData text("creature/t.txt");
    CModelData mcb("creature/m.MCB");
    std::unique_ptr<CModelData> copy(mcb.Copy());
    EXPECT_GT(LiveNodes(), nodes);
    ASSERT_EQ(copy->ObjectCount(), 2);
    EXPECT_NE(copy->objects[0].node, mcb.objects[0].node);
    EXPECT_EQ(GetNodeParent(copy->parts[0].node), copy->root);
  }
  EXPECT_EQ(LiveNodes(), nodes);
  EXPECT_EQ(LiveMaterials(), materials);
}

}  // namespace
}  // namespace creaturetest
