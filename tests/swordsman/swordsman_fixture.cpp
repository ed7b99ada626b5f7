#include "tests/swordsman/swordsman_fixture.h"

#include "engine/core/pools.h"
#include "platform/files.h"
#include "tools/datagen/creature_binary_writer.h"
#include "tools/datagen/sample_world_swordsman.h"

namespace swordtest {

using namespace datagen;

CreatureModel SwordModel(const std::string& name) {
  return SwordsmanModel(name, 40, {{0, 9, 0, 0, 9}, {10, 14, 10, 10, 14}, {15, 24, 15, 18, 21}, {25, 29, 27, 25, 29}});
}

FenceFile TwoFences() {
  FenceFile file;
  Fence first;
  first.id = 3;
  FenceFrame a;
  a.pose = 1;
  a.frameCount = 5;
  FenceFrame b;
  b.pose = 3;
  b.frameCount = 3;
  first.frames = {a, b};
  Fence second;
  second.id = 5;
  FenceFrame c;
  c.pose = 1;
  c.playMode = 1;
  c.frameCount = 10;
  second.frames = {c};
  second.hits = {0x210003, 0x220007};
  file.groups = {{first, second}};
  FenceTree tree0{100, 3, {FenceTree{101, 5, {}}}};
  FenceTree tree1{101, 5, {}};
  file.trees = {tree0, tree1};
  return file;
}

std::vector<uint8_t> FenceBytes(const FenceFile& file) {
  plat::ByteWriter out;
  std::string error;
  EXPECT_TRUE(WriteFenceFile(file, out, error)) << error;
  return out.Bytes();
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  ASSERT_TRUE(plat::WriteFileAtomic(path, bytes.data(), bytes.size())) << path;
}

int LiveNodes() {
  int n = 0;
  for (uint32_t i = 0; i < g_nodePool.mark; ++i) n += g_nodePool.slots[i] != nullptr;
  return n;
}

void SwordTest::SetUp() {
  ASSERT_EQ(Open(), 1);
  plat::CreateDirectories("creature");
  plat::CreateDirectories("camera");
}

void SwordTest::WriteSword(const std::string& name, const FenceFile* fences) {
  plat::ByteWriter out;
  std::string error;
  ASSERT_TRUE(WriteCreatureBinary(SwordModel(name), out, error)) << error;
  WriteBytes("creature/" + name + ".MCB", out.Bytes());
  if (fences) WriteBytes("creature/" + name + ".fn", FenceBytes(*fences));
}

std::unique_ptr<CMSwordMan> SwordTest::MakeSword(const std::string& name) {
  return std::make_unique<CMSwordMan>(name.c_str(), 1, "creature");
}

FenceFile SwordTest::ShotFence(int code, int id) {
  FenceFile file;
  Fence fence;
  fence.id = id;
  fence.flags = static_cast<uint32_t>(code) << 28;
  FenceFrame frame;
  frame.pose = 1;
  frame.frameCount = 5;
  fence.frames = {frame};
  file.groups = {{fence}};
  file.trees = {FenceTree{1, id, {}}};
  return file;
}

void SwordTest::Tick(CMSwordMan& sword, int n) {
  for (int i = 0; i < n; ++i) {
    sword.Update(1);
    sword.PostUpdate(1);
  }
}

}  // namespace swordtest
