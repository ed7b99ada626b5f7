#include "components/b_sprite.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/media/sprites.h"
#include "tests/engine/engine_fixture.h"

namespace {

class BSpriteTest : public enginetest::EngineTest {
 protected:
  void SetUp() override { ASSERT_EQ(Open(), 1); }
  static bool Exists(HOBJECT sprite) { return sprite && LookupSprite(sprite) != nullptr; }
  static int LiveSprites() {
    int live = 0;
    for (SPRITEDESC* s : g_spriteTable) live += s ? 1 : 0;
    return live;
  }
};

TEST_F(BSpriteTest, LoadsHiddenSpritesAlongTheChainedPath) {
  CBSprite sprite;
  EXPECT_EQ(sprite.SetDirectory(nullptr), nullptr);
  const char list[] = "image\\map\0other";
  EXPECT_STREQ(sprite.SetDirectory(list), "other");

  EXPECT_EQ(sprite.Load("back.qbi", 0, 10, 0), 0);
  EXPECT_EQ(sprite.Load("back.qbi", 10, -1, 0), 0);
  EXPECT_EQ(sprite.path, "image\\map");
  EXPECT_EQ(sprite.sprite, 0u);

  ASSERT_EQ(sprite.Load("back.qbi", 64, 32, 0), 1);
  EXPECT_EQ(sprite.path, "image\\map\\back.qbi");
  EXPECT_EQ(sprite.width, 64);
  const HOBJECT first = sprite.sprite;
  ASSERT_TRUE(Exists(first));
  EXPECT_EQ(LookupSprite(first)->visible, 0);
  EXPECT_EQ(LookupSprite(first)->layer, 1);

  // A second load builds on the first path and keeps the first sprite.
  ASSERT_EQ(sprite.Load("icon.qbi", 8, 8, 2), 1);
  EXPECT_EQ(sprite.path, "image\\map\\back.qbi\\icon.qbi");
  EXPECT_EQ(sprite.frameCount, 2);
  EXPECT_NE(sprite.sprite, first);
  EXPECT_TRUE(Exists(first));
  DeleteSprite(first);

  // An empty path releases the sprite first and loads from '\' and the name.
  const int live = LiveSprites();
  sprite.SetDirectory("");
  ASSERT_EQ(sprite.Load("x.qbi", 8, 8, 0), 1);
  EXPECT_EQ(sprite.path, "\\x.qbi");
  EXPECT_EQ(LiveSprites(), live);
}

TEST_F(BSpriteTest, AnOverLongPathIsRefused) {
  CBSprite sprite;
  const std::string directory(120, 'd');
  sprite.SetDirectory(directory.c_str());
  EXPECT_EQ(sprite.Load("name.qbi", 8, 8, 0), 0);  // 120 + 1 + 8 characters
  EXPECT_EQ(sprite.path, directory);
  EXPECT_EQ(sprite.sprite, 0u);
  EXPECT_EQ(sprite.Load("n.qbi", 8, 8, 0), 1);  // 126 characters fit
}

TEST_F(BSpriteTest, AlphaAndPositionNeedASprite) {
  HOBJECT made = 0;
  {
    CBSprite sprite;
    sprite.SetAlpha(0.5f);
    sprite.SetPosition(10, 20);
    EXPECT_FLOAT_EQ(sprite.alpha, 1.0f);
    EXPECT_EQ(sprite.x, 0);
    EXPECT_EQ(sprite.y, 0);

    sprite.SetDirectory("image");
    ASSERT_EQ(sprite.Load("a.qbi", 8, 8, 0), 1);
    sprite.SetAlpha(0.5f);
    sprite.SetPosition(10, 20);
    EXPECT_FLOAT_EQ(sprite.alpha, 0.5f);
    EXPECT_FLOAT_EQ(LookupSprite(sprite.sprite)->alpha, 0.5f);
    EXPECT_EQ(LookupSprite(sprite.sprite)->x, 10);
    EXPECT_EQ(sprite.y, 20);
    made = sprite.sprite;
  }
  EXPECT_FALSE(Exists(made));  // released with its owner
}

}  // namespace
