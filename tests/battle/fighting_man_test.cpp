#include "battle/fighting_man.h"

#include <gtest/gtest.h>

#include "database/man_soul.h"
#include "engine/core/node_transforms.h"
#include "tests/battle/battle_fixture.h"
#include "tools/datagen/action_table_writer.h"

namespace battletest {
namespace {

using datagen::BattlePoseFrames;

TEST(FighterTimers, AddMergesAndGetMatchesWholeBits) {
  CFightingMan man;
  EXPECT_EQ(man.AddTimer(0, 10, 0), 0);
  man.AddTimer(0x1000, 30, 1);
  man.AddTimer(0x1000, 20, 0);
  ASSERT_EQ(man.timers.size(), 1u);
  EXPECT_EQ(man.GetTimer(0x1000), 50);
  man.AddTimer(0x1000, 5, 1);
  EXPECT_EQ(man.GetTimer(0x1000), 5);

  CFightingMan other;
  other.AddTimer(0x3000, 10, 0);
  EXPECT_EQ(other.GetTimer(0x1000), -1);
  other.flags = 0x3000 | 0x2;
  other.Update(9);
  EXPECT_EQ(other.flags, 0x3002);
  other.Update(1);
  EXPECT_EQ(other.flags, 0x2) << "an expired timer clears its bits";
  EXPECT_TRUE(other.timers.empty());
}

TEST(BattleMessages, SetKeepsTheFirstValue) {
  BATTLEMSG m;
  m.Set(1, 100);
  m.Set(1, 5);
  EXPECT_EQ(m.Get(1), 100);
  EXPECT_EQ(m.Get(9), 0);
}

// A battle system whose table holds type 1, a hero soul and a fighter with a body.
class FighterTest : public BattleTest {
 protected:
  void Make(const datagen::ActionRecordDesc& record) {
    std::string error;
    ASSERT_TRUE(datagen::WriteActionTable("creature/battle/kbs.acb", {record}, error)) << error;
    WriteModel("m001", 4);
    sys_ = std::make_unique<CBattleSys>();
    soul_.kind = 1;
    soul_.subKind = 1;
    man_.owner = sys_.get();
    man_.soul = &soul_;
    man_.CreateBody("m001");
    ASSERT_NE(man_.body, nullptr);
  }
  void TearDown() override { man_.ReleaseBody(); }

  std::unique_ptr<CBattleSys> sys_;
  CGDManSoul soul_;
  CFightingMan man_;
};

TEST_F(FighterTest, FrameDefaultsComeFromThePose) {
  datagen::ActionRecordDesc record;
  record.type = 1;
  datagen::ActionDesc a;
  a.pose = 2;
  const struct {
    int start, end, first, release;
  } codes[] = {{-2, 0, -1, -2}, {0, -1, 0, 0}, {-1, -2, -2, -1}, {7, 8, 9, 10}};
  for (int i = 0; i < 4; ++i) {
    a.id = 200 + i;
    a.start = codes[i].start, a.end = codes[i].end, a.motionFirst = codes[i].first, a.release = codes[i].release;
    record.actions.push_back(a);
  }
  Make(record);
  const datagen::BattlePose p = BattlePoseFrames(2);
  auto ints = [&](int id) {
    const ACTIONDESC& d = man_.actions.at(id);
    return std::array<int, 4>{d[5], d[6], d[7], d[8]};
  };
  EXPECT_EQ(ints(200), (std::array<int, 4>{p.p5, p.last, p.first, p.last}));
  EXPECT_EQ(ints(201), (std::array<int, 4>{p.first, p.p5, p.p4, p.p5}));
  EXPECT_EQ(ints(202), (std::array<int, 4>{p.first, p.last, p.p5, p.p5}));
  EXPECT_EQ(ints(203), (std::array<int, 4>{7, 8, 9, 10}));
}

TEST_F(FighterTest, StartActionChoosesThePlayMode) {
  datagen::ActionRecordDesc record = datagen::BattleActionRecord(1, {11, 101, 102, 103});
  record.actions[3].pose = record.actions[1].pose;  // 103 shares 101's pose
  record.actions[3].mode = 3;
  record.transitions.push_back(
      {101, 102, BattlePoseFrames(2).first + 4, BattlePoseFrames(2).first + 9, BattlePoseFrames(3).first + 1});
  Make(record);
  EXPECT_EQ(man_.StartAction(999), 0);
  ASSERT_EQ(man_.StartAction(101), 1);
  EXPECT_EQ(man_.body->current[ACTIONDESC::ID], 101) << "idle body: mode 2 at once";
  ASSERT_EQ(man_.StartAction(102), 1);
  EXPECT_EQ(man_.body->pending[ACTIONDESC::MODE], 4);
  EXPECT_EQ(man_.body->pending.transition.earliest, BattlePoseFrames(2).first + 4);
  EXPECT_EQ(man_.body->pending.transition.start, BattlePoseFrames(3).first + 1);

  ASSERT_EQ(man_.StartAction(103), 1);
  EXPECT_EQ(man_.body->pending[ACTIONDESC::MODE], 3) << "same pose, no transition: the stored mode";
  EXPECT_EQ(man_.body->current[ACTIONDESC::ID], 101);
}

TEST_F(FighterTest, RangeNeedsEitherRadiusAndTheFacingTest) {
  Make(datagen::BattleActionRecord(1, {11, 101}));
  CFightingMan target;
  target.owner = sys_.get();
  target.soul = &soul_;
  target.CreateBody("m001");
  man_.StartAction(101);
  VECTOR3 forward{};
  man_.body->GetTransform(nullptr, &forward, nullptr);
  man_.SetRanges(40, 0, 0, 0);
  target.SetRanges(50, 0, 0, 0);
  SetNodePosition(target.body->Node(), forward.x * 40, forward.y * 40, forward.z * 40, 0);
  EXPECT_EQ(man_.InAttackRange(&target), 1) << "at our radius, inside the target's";
  target.SetRanges(40, 0, 0, 0);
  EXPECT_EQ(man_.InAttackRange(&target), 0);
  target.SetRanges(50, 0, 0, 0);
  SetNodePosition(target.body->Node(), -forward.x * 30, -forward.y * 30, 0, 0);
  EXPECT_EQ(man_.InAttackRange(&target), 0) << "behind";
  target.ReleaseBody();
}

TEST_F(FighterTest, CostumesPickTheirTypes) {
  Make(datagen::BattleActionRecord(1, {11}));
  const int cases[][3] = {{1, 1, 1}, {1, 2, 3}, {2, 3, 2}, {2, 4, 4}, {101, 0, 101}};
  for (const auto& c : cases) {
    soul_.kind = c[0];
    soul_.subKind = c[1];
    EXPECT_EQ(man_.FighterType(), c[2]);
  }
}

TEST(ActionTableFile, RoundTripsAndCutsKeepWholeRecords) {
  std::vector<datagen::ActionRecordDesc> records = {datagen::BattleActionRecord(1, datagen::HeroActionIds()),
                                                    datagen::BattleActionRecord(101, datagen::WolfActionIds())};
  records[0].transitions.push_back({101, 102, 3, 4, 5});
  records[0].actions[0].sideways = 1.5f;
  const std::vector<uint8_t> bytes = datagen::BuildActionTable(records);
  CActionTable table;
  ASSERT_EQ(table.Parse(bytes), 1);
  ASSERT_EQ(table.records.size(), 2u);
  const ACTIONRECORD* hero = table.FindActionRecord(1);
  ASSERT_NE(hero, nullptr);
  EXPECT_EQ(hero->actions.size(), datagen::HeroActionIds().size());
  EXPECT_EQ(hero->transitions[0].latest, 4);
  EXPECT_FLOAT_EQ(hero->actions[0].Float(ACTIONDESC::SIDEWAYS), 1.5f);
  EXPECT_EQ(table.FindActionRecord(7), nullptr);

  const size_t firstEnd = 12 + 12 + 24 + hero->actions.size() * 96;
  for (size_t n = 0; n <= bytes.size(); ++n) {
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
    CActionTable t;
    t.Parse(cut);
    const size_t expect = n < firstEnd ? 0 : n < bytes.size() ? 1 : 2;
    ASSERT_EQ(t.records.size(), expect) << n;
  }
}

}  // namespace
}  // namespace battletest
