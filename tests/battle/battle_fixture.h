#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "battle/battle_sys.h"
#include "battle/tarnwick.h"
#include "database/records.h"
#include "engine/media/data_directories.h"
#include "platform/files.h"
#include "tests/engine/engine_fixture.h"
#include "tests/support/captures.h"
#include "tools/datagen/battle_models.h"
#include "tools/datagen/battle_text_writer.h"
#include "tools/datagen/creature_binary_writer.h"

namespace battletest {

// An open engine in a fresh folder with "creature/battle", warnings captured.
class BattleTest : public enginetest::EngineTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Open(), 1);
    plat::CreateDirectories("creature/battle/weapon");
    plat::CreateDirectories("texture");
    SetTextureDirectory(".\\texture");
    // A battle system reads its script at construction; none decides here.
    std::string error;
    ASSERT_TRUE(datagen::WriteBattleScript("creature/battle/sbe.sc", {}, error)) << error;
  }

  void WriteModel(const std::string& name, int poses, int parts = 1) {
    plat::ByteWriter out;
    std::string error;
    ASSERT_TRUE(datagen::WriteCreatureBinary(datagen::BattleModel(name, poses, parts), out, error)) << error;
    const std::string path = "creature/battle/" + name + ".MCB";
    ASSERT_TRUE(plat::WriteFileAtomic(path, out.Bytes().data(), out.Size()));
  }

  std::unique_ptr<CTarnwick> Body(const std::string& name = "tester", int poses = 4, int parts = 1) {
    WriteModel(name, poses, parts);
    return std::make_unique<CTarnwick>(name.c_str(), 1, "creature/battle");
  }

  testsupport::ScopedWorkDir workDir_;
  testsupport::MessageBoxCapture boxes_;
  testsupport::DebugTraceCapture trace_;
};

// A one-shot action on `pose` with the pose's own frames.
inline ACTIONDESC Action(int id, int pose, int kind = 1, int mode = 2) {
  const datagen::BattlePose p = datagen::BattlePoseFrames(pose);
  ACTIONDESC a;
  a[ACTIONDESC::ID] = id;
  a[ACTIONDESC::KIND] = kind;
  a[ACTIONDESC::MODE] = mode;
  a[ACTIONDESC::POSE] = pose;
  a[ACTIONDESC::START] = p.first;
  a[ACTIONDESC::END] = p.last;
  a[ACTIONDESC::MOTION_FIRST] = p.p4;
  a[ACTIONDESC::RELEASE] = p.p5;
  return a;
}

// A weapon record as the battle reads it: id, item type, the two reaches,
// MP cost, skill gain and base power.
inline ITEMDESC Weapon(int id, int type, int reachFirst, int reachSecond, int mpCost = 0, int skillGain = 0,
                       int basePower = 0) {
  ITEMDESC item;
  item.values[kItemId] = id;
  item.values[kItemType] = type;
  item.values[kItemReachFirst] = reachFirst;
  item.values[kItemReachSecond] = reachSecond;
  item.values[kItemMpCost] = mpCost;
  item.values[kItemSkillGain] = skillGain;
  item.values[kItemBasePower] = basePower;
  return item;
}

}  // namespace battletest
