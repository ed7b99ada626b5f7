// The sample world's shop: its pictures, its stock in the trade window and
// the recipe that makes a Tonic.
#include <string>

#include "database/database_loader.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/item_pool.h"
#include "engine/media/packages.h"
#include "tests/database/database_test_support.h"
#include "tests/ui/ui_fixture.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_ui.h"
#include "ui/am_container.h"
#include "ui/am_list_view.h"
#include "ui/am_wnd_manager.h"
#include "ui/role_rules.h"
#include "ui/screen_manager.h"
#include "ui/trade_wnd.h"
#include "ui/tw_item.h"

namespace uitest {
namespace {

using namespace datagen::sample;

class SampleShopTest : public UiTest {
 protected:
  SampleShopTest() {
    dbtest::ClearDatabase();
    std::string error;
    EXPECT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
  }
  ~SampleShopTest() override { dbtest::ClearDatabase(); }
};

TEST_F(SampleShopTest, EveryShopPictureLoadsAtItsSize) {
  OpenImagePackage(".\\image\\ui.qxo");
  for (const datagen::uiart::PictureSpec& p : datagen::SampleShopPictures()) {
    SCOPED_TRACE(p.name);
    BeginSprite(0);
    SetSpriteImage(p.name, 0, p.cellWidth, p.cellHeight);
    HOBJECT sprite = EndSprite(0);
    ASSERT_NE(LookupSprite(sprite), nullptr);
    const SPRITEIMAGEDESC* image = LookupSprite(sprite)->image.get();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->rows, p.rows);
    EXPECT_EQ(image->columns, 1);
    EXPECT_EQ(image->cellWidth, p.cellWidth);
    EXPECT_EQ(image->cellHeight, p.cellHeight);
    DeleteSprite(sprite);
  }
  OpenImagePackage(nullptr);
}

TEST_F(SampleShopTest, TheVillageStoreOpensWithItsStockAndThePartysPotions) {
  CGameDataLoader loader(0);
  CGDItemPool pool(&g_gameDataBase);
  CGameResource resource;
  resource.Open(nullptr);
  CreateScreenManager(&loader, &resource, &pool, nullptr, nullptr);
  std::vector<int> bought;
  SetBoughtItemList(&bought);

  OpenTradeWindow(kShopId);
  EXPECT_EQ(UpdateScreens(1), SR_OPEN);
  auto* shop = dynamic_cast<CTradeWnd*>(GetTopWnd());
  ASSERT_NE(shop, nullptr);
  int offered = 0;
  for (CAmContainer* cell : shop->shopGrid->cells)
    if (auto* icon = dynamic_cast<CTWItem*>(cell->held)) {
      ++offered;
      EXPECT_NE(LookupSprite(icon->sprite)->image, nullptr) << icon->record->iconName;
    }
  EXPECT_EQ(offered, 4);
  CTWItem* potions = nullptr;
  for (CAmContainer* cell : shop->inventory->cells)
    if (auto* icon = dynamic_cast<CTWItem*>(cell->held); icon && icon->itemId == kPotionId) potions = icon;
  ASSERT_NE(potions, nullptr);
  EXPECT_EQ(potions->itemId, kPotionId);
  EXPECT_EQ(potions->count, kStartingPotions);
  EXPECT_EQ(potions->price, 12);  // 0.6 of 20
  EXPECT_NE(LookupSprite(shop->sprite)->image, nullptr) << "the window has its picture";

  SetBoughtItemList(nullptr);
  DestroyScreenManager();
}

TEST_F(SampleShopTest, HerbAndPotionMakeATonic) {
  CGameDataLoader loader(0);
  CGDItemPool pool(&g_gameDataBase);
  CGameResource resource;
  resource.Open(nullptr);
  const std::vector<RECIPEDESC> recipes = ReadRecipes(resource);
  ASSERT_EQ(recipes.size(), 1u);
  ASSERT_NE(FindRecipe(recipes, kPotionType, kPotionId, kHerbType, kHerbId), nullptr);
  pool.AddItem(kHerbType, kHerbId, 1, -1);
  EXPECT_EQ(
      CombineItems(pool, g_gameDataBase.FindHero(kFirstHeroId), recipes, 1, kHerbType, kHerbId, kPotionType, kPotionId),
      CombineResult::kCombined);
  EXPECT_EQ(pool.GetItemCount(kPotionType, kTonicId), 1);
  EXPECT_EQ(pool.GetItemCount(kHerbType, kHerbId), 0);
  EXPECT_EQ(pool.GetItemCount(kPotionType, kPotionId), kStartingPotions - 1);
}

}  // namespace
}  // namespace uitest
