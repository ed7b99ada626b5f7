#include <gtest/gtest.h>

#include "database/records.h"
#include "engine/media/sprites.h"
#include "tests/ui/ui_fixture.h"
#include "ui/am_text_styles.h"
#include "ui/tw_item.h"

namespace {

class TWItemTest : public uitest::UiTest {
 protected:
  TWItemTest() {
    WriteGrid("it_herb", 46, 46, 1, 1);
    herb.iconName = "it_herb";
    herb.values[kItemType] = 8;
    herb.values[kItemId] = 2;
    herb.values[kItemPrice] = 5;
  }
  ITEMDESC herb;
};

TEST_F(TWItemTest, TheFirstShowBuildsTheIconAndItsCount) {
  auto* page = new CAmObject(200, 200, 255, 255, 255, nullptr);
  page->SetPosition(10, 20);
  auto* item = new CTWItem(&herb, 46, 46, 7, -1);
  item->AttachTo(page, 0);
  item->SetPosition(4, 6);
  EXPECT_EQ(item->price, 5);
  EXPECT_EQ(item->countText, nullptr);

  item->Show(1);
  EXPECT_EQ(item->imagePending, 0);
  ASSERT_NE(item->sprite, 0u);
  int w = 0, h = 0;
  GetSpriteSize(item->sprite, &w, &h);
  EXPECT_EQ(w, 46);
  EXPECT_EQ(h, 46);
  EXPECT_EQ(SpritePixel(item->sprite, 20, 20), GridPixel(0, 0));
  int x = 0, y = 0;
  item->GetPosition(&x, &y);
  EXPECT_EQ(x, 14);
  EXPECT_EQ(y, 26);
  ASSERT_NE(item->countText, nullptr);
  item->countText->GetPosition(&x, &y);
  EXPECT_EQ(x, 14 + 34);
  EXPECT_EQ(y, 26 + 38);
  EXPECT_EQ(item->countText->text, " 7");

  item->Show(1);  // built once
  EXPECT_EQ(item->children.size(), 1u);
}

TEST_F(TWItemTest, CountsShowAndStayWithinTheirBounds) {
  auto* item = new CTWItem(&herb, 46, 46, 5, 12);
  item->Show(1);
  struct Step {
    int add, remove;
    int count;
    const char* text;
  } steps[] = {{90, 0, 95, "95"}, {10, 0, 99, "99"}, {0, 98, 1, " "}, {0, 3, 0, " "}, {12, 0, 12, "12"}};
  for (const Step& s : steps) {
    if (s.add) item->AddCount(s.add);
    if (s.remove) item->RemoveCount(s.remove);
    EXPECT_EQ(item->count, s.count);
    EXPECT_EQ(item->countText->text, s.text) << s.count;
  }
  item->SetCount(-1);
  item->AddCount(5);
  EXPECT_EQ(item->count, -1);  // a negative count is left alone
}

TEST_F(TWItemTest, AClonesCarriesTheItemAndItsCount) {
  auto* item = new CTWItem(&herb, 46, 46, 3, -1);
  item->Show(1);
  item->equipped = 1;
  item->soldOut = 1;
  auto* clone = dynamic_cast<CTWItem*>(item->CloneForGhost());
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->itemId, 2);
  EXPECT_EQ(clone->itemType, 8);
  EXPECT_EQ(clone->price, 5);
  EXPECT_EQ(clone->record, &herb);
  EXPECT_EQ(clone->equipped, 1);
  EXPECT_EQ(clone->soldOut, 1);
  ASSERT_NE(clone->countText, nullptr);
  EXPECT_EQ(clone->countText->text, " 3");
  EXPECT_EQ(SpritePixel(clone->sprite, 20, 20), GridPixel(0, 0));
  EXPECT_EQ(item->Matches(clone), 1);
  ITEMDESC other = herb;
  other.values[kItemId] = 3;
  auto* different = new CTWItem(&other, 46, 46, 1, -1);
  EXPECT_EQ(item->Matches(different), 0);
}

}  // namespace
