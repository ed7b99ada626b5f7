#include <gtest/gtest.h>

#include "battle/ai_monitor.h"
#include "battle/kbs_console.h"
#include "tests/battle/enemy_fixture.h"
#include "tools/datagen/battle_text_writer.h"

namespace battletest {
namespace {

class MonitorTest : public EnemyBattleTest {
 protected:
  void SetUp() override {
    EnemyBattleTest::SetUp();
    std::vector<std::string> names;
    for (int i = 0; i <= 32; ++i) names.push_back("name" + std::to_string(i));
    std::string error;
    ASSERT_TRUE(datagen::WriteInfoNames("creature/battle/Info.txt", names, error)) << error;
  }
};

TEST_F(MonitorTest, ShowsTheWatchedEnemysStateBehaviourAndSwitches) {
  Battle({2, 5, 12});
  CFEnemy* e = Spawn({0, -100, 0}, {0, 1, 0});
  CAIMonitor monitor;
  EXPECT_EQ(monitor.names.size(), 33u);
  char name[CAIMonitor::kNameSize];
  EXPECT_EQ(monitor.GetName(32, name), 1);
  EXPECT_STREQ(name, "name32");
  EXPECT_EQ(monitor.GetName(33, name), 0);
  EXPECT_STREQ(name, "");
  monitor.Draw(580, 50);
  EXPECT_TRUE(monitor.drawn.empty()) << "no enemy";

  EXPECT_EQ(monitor.Attach(e), 3);
  EXPECT_EQ(e->monitor, &monitor);
  e->behaviour = 5;
  monitor.Draw(580, 50);
  const std::vector<std::string> texts = {
      "ID : wolf",  "Current Status:name32", "Last Behavior:name5", "=== ENABLE AI ===", "( 2) name2", "( 5) name5",
      "(12) name12"};
  ASSERT_EQ(monitor.drawn.size(), texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    const DEBUGTEXTLINE& line = monitor.drawn[i];
    EXPECT_EQ(line.text, texts[i]);
    EXPECT_EQ(line.y, 70 + 20 * static_cast<int>(i));
    EXPECT_EQ(line.x, 580 - 4 * static_cast<int>(texts[i].size())) << "centred at 8 pixels a character";
    EXPECT_EQ(line.red, i == 3 ? 255 : 0);
    EXPECT_EQ(line.green, i == 3 ? 0 : 255);
  }
  EXPECT_EQ(monitor.stateNumber, 32);

  // Reset with its wave, the enemy lets the monitor go; the names stay.
  e->Reset();
  EXPECT_EQ(monitor.enemy, nullptr);
  EXPECT_EQ(monitor.GetName(15, name), 1);
  EXPECT_STREQ(name, "name15");
  CFEnemy* next = Spawn({0, -200, 0}, {0, 1, 0});
  monitor.Attach(next);
  monitor.Draw(580, 50);
  ASSERT_GE(monitor.drawn.size(), 2u);
  EXPECT_EQ(monitor.drawn[1].text, "Current Status:name32") << "the names still show after a reset";

  next->Remove();
  monitor.Draw(580, 50);
  EXPECT_TRUE(monitor.drawn.empty()) << "a removed enemy's overlay is gone";
  EXPECT_EQ(monitor.enemy, nullptr);
  EXPECT_EQ(next->monitor, nullptr);
}

TEST_F(MonitorTest, MissingNamesPrintEmpty) {
  Battle({1});
  CFEnemy* e = Spawn({0, -100, 0}, {0, 1, 0});
  CAIMonitor monitor("creature/battle/nothing.txt");
  EXPECT_TRUE(monitor.names.empty());
  monitor.Attach(e);
  monitor.Draw(580, 50);
  ASSERT_EQ(monitor.drawn.size(), 4u) << "a switch without a name draws no line";
  EXPECT_EQ(monitor.drawn[1].text, "Current Status:");
}

}  // namespace
}  // namespace battletest
