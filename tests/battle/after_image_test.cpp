#include "battle/after_image.h"

#include <gtest/gtest.h>

#include "tests/battle/battle_fixture.h"

namespace battletest {
namespace {

class AfterImageTest : public BattleTest {
 protected:
  void TearDown() override { CAfterImage::Destroy(); }
};

TEST_F(AfterImageTest, ClonesFadeOverTheirLifeOneAtATime) {
  auto body = Body();
  CAfterImage* trail = CAfterImage::Instance();
  trail->Clear();
  EXPECT_EQ(trail->Update(1), 0) << "no body, no clone";
  trail->SetBody(body.get());
  trail->SetPeriod(16);
  trail->SetLife(12);
  int most = 0;
  for (int u = 1; u <= 15; ++u) most = std::max(most, trail->Update(1));
  EXPECT_EQ(most, 0);
  // The 16th update makes the clone and counts its first frame.
  ASSERT_EQ(trail->Update(1), 1);
  ASSERT_NE(trail->desc.clones.front().clone, nullptr);
  EXPECT_FLOAT_EQ(trail->desc.clones.front().clone->alpha, 11.0f / 12.0f);
  int updates = 1;
  while (trail->desc.clones.size() == 1 && updates < 40) {
    trail->Update(1);
    ++updates;
  }
  EXPECT_EQ(updates, 12) << "gone at its twelfth update";
  for (int u = 0; u < 100; ++u) most = std::max(most, trail->Update(1));
  EXPECT_EQ(most, 1);
  trail->SetBody(nullptr);
  trail->Clear();
  EXPECT_EQ(trail->Update(1), 0);
}

}  // namespace
}  // namespace battletest
