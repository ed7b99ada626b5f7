// The sample world's menu files read back: pictures, messages, event notes,
// the floor texture and the talk that opens the first note.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/game_resource.h"
#include "engine/media/packages.h"
#include "game/event_runner.h"
#include "platform/files.h"
#include "talk/base_talk_player.h"
#include "talk/list_container.h"
#include "talk/talk_sys_proc.h"
#include "tests/ui/ui_fixture.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_maps.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/sample_world_ui.h"
#include "ui/event_notes.h"

namespace uitest {
namespace {

std::vector<std::string> g_setCalls;

SYSRESULT RecordSets(SYSMODE mode, char* name, int argument) {
  if (mode == SYSMODE_SET) g_setCalls.push_back(std::string(name) + "=" + std::to_string(argument));
  return {0, 0, 0};
}

class SampleMenusTest : public UiTest {
 protected:
  SampleMenusTest() {
    std::string error;
    EXPECT_TRUE(datagen::WriteSampleUi("./", error)) << error;
    EXPECT_TRUE(datagen::WriteSampleMapTables("./", error)) << error;
    EXPECT_TRUE(datagen::WriteSampleMenuTextures("./", error)) << error;
    EXPECT_TRUE(datagen::WriteSampleTalk("./", error)) << error;
    resource.Open(nullptr);
  }
  ~SampleMenusTest() override {
    SetTalkSysProc(DefaultTalkSysProc);
    g_setCalls.clear();
  }

  CGameResource resource;

  // The first cell of a picture as the game reads it.
  static std::vector<uint16_t> FirstCell(const char* name, int width, int height, int rows) {
    std::vector<uint16_t> pixels;
    HOBJECT sprite = LoadGridPicture(name, width, height, 1, rows);
    if (!sprite) return pixels;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) pixels.push_back(SpritePixel(sprite, x, y));
    DeleteSprite(sprite);
    return pixels;
  }
};

TEST_F(SampleMenusTest, EveryMenuPictureLoadsWithItsCellGrid) {
  OpenImagePackage(".\\image\\ui.qxo");
  std::vector<datagen::uiart::PictureSpec> pictures = datagen::SampleMenuPictures();
  for (const char* name :
       {"if_m00", "ifsr001", "ifi5100", "ifi0100b", "ifib0900", "ifi0600", "ifib05001", "if6b0100", "it_potion"}) {
    bool listed = false;
    for (const auto& p : pictures) listed |= std::string(p.name) == name;
    EXPECT_TRUE(listed) << name;
  }
  for (const auto& p : pictures)
    if (HOBJECT sprite = LoadGridPicture(p.name, p.cellWidth, p.cellHeight, p.columns, p.rows)) DeleteSprite(sprite);
  OpenImagePackage(nullptr);
  EXPECT_TRUE(plat::FileExists("texture/ifi0100_t.qbt"));
}

// A newcomer tells the buttons of one screen apart by their words: each
// picture of a group differs from the others, and the ink of its words
// stands where a label stands, inside its border.
TEST_F(SampleMenusTest, TheButtonsAndBoxesCarryTheirWords) {
  struct Group {
    const char* what;
    std::vector<const char*> names;
    int width, height, rows;
    int left, top, right, bottom;  // where the words stand
  };
  const Group groups[] = {
      {"title buttons", {"if_mb0100", "if_mb0200", "if_mb0300", "if_mb0400"}, 136, 30, 3, 10, 4, 126, 26},
      {"yes and no", {"ifbtn01", "ifbtn00"}, 38, 19, 3, 3, 2, 35, 17},
      {"questions", {"ifi5100", "ifi5200", "ifi5500"}, 188, 77, 1, 6, 10, 182, 40},
      {"menu tabs", {"ifib0600", "ifib0700", "ifib0800", "ifib0900"}, 96, 21, 3, 4, 2, 92, 19},
      {"system page buttons", {"if6b0200", "if6b0300", "if6b0400"}, 96, 21, 3, 4, 2, 92, 19},
      {"save list buttons", {"if05b300", "if05b200", "if05b100", "ifib1000"}, 86, 21, 3, 4, 2, 82, 19},
  };
  const uint16_t ink = static_cast<uint16_t>(MapRGB(20, 20, 20));
  OpenImagePackage(".\\image\\ui.qxo");
  for (const Group& g : groups) {
    std::vector<std::vector<uint16_t>> cells;
    for (const char* name : g.names) {
      cells.push_back(FirstCell(name, g.width, g.height, g.rows));
      const std::vector<uint16_t>& cell = cells.back();
      ASSERT_EQ(cell.size(), static_cast<size_t>(g.width * g.height)) << name;
      int inside = 0, outside = 0;
      for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
          const bool words = x >= g.left && x < g.right && y >= g.top && y < g.bottom;
          (words ? inside : outside) += cell[static_cast<size_t>(y * g.width + x)] == ink;
        }
      EXPECT_GE(inside, 20) << g.what << ": " << name << " has words";
      EXPECT_EQ(outside, 0) << g.what << ": " << name;
    }
    for (size_t i = 0; i < cells.size(); ++i)
      for (size_t j = i + 1; j < cells.size(); ++j)
        EXPECT_NE(cells[i], cells[j]) << g.what << ": " << g.names[i] << " and " << g.names[j] << " look alike";
  }
  OpenImagePackage(nullptr);
}

TEST_F(SampleMenusTest, TheMenusMessagesStandBesideTheOthers) {
  EXPECT_STREQ(resource.MessageText(52), "Character");
  EXPECT_STREQ(resource.MessageText(53), "Equipment, items and the hero's state.");
  EXPECT_STREQ(resource.MessageText(70), "Trade") << "the trade window's help";
  EXPECT_STREQ(resource.MessageText(75), "Put everything back and leave the shop.");
  EXPECT_STREQ(resource.MessageText(80), "--");
  EXPECT_STREQ(resource.MessageText(81), "Up");
  EXPECT_STREQ(resource.MessageText(108), "\\");
  EXPECT_STREQ(resource.MessageText(123), "Num /");
  EXPECT_STREQ(resource.MessageText(124), datagen::sample::kMoneyLabel) << "another part's message kept";
  EXPECT_STREQ(resource.MessageText(125), "(New journey)");
  EXPECT_STREQ(resource.MessageText(126), "Journey");
  EXPECT_STREQ(resource.MessageText(datagen::sample::kFirstHeroTalkNameMessage), datagen::sample::kFirstHeroName);
  EXPECT_STREQ(resource.MessageText(datagen::sample::kSecondHeroTalkNameMessage), datagen::sample::kSecondHeroName);
  EXPECT_STREQ(resource.MessageText(datagen::sample::kShapeTalkNameMessage), datagen::sample::kFirstHeroName);
}

TEST_F(SampleMenusTest, TheNotesShowAsTheStoryGoes) {
  CEventRunner runner(&resource);
  EXPECT_TRUE(ReadEventNotes(resource, &runner).empty());
  runner.SetFlag(101, 1);
  std::vector<EVENTNOTEDESC> notes = ReadEventNotes(resource, &runner);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].title, "The letter");
  EXPECT_EQ(notes[0].body.rfind("The villager", 0), 0u);
  runner.SetFlag(103, 1);
  notes = ReadEventNotes(resource, &runner);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[1].title, "Wolves");
}

TEST_F(SampleMenusTest, TheVillagersGreetingSetsTheFirstNotesFlag) {
  CBaseTalkPlayer player;
  ASSERT_EQ(player.Load(datagen::sample::kTalkFile), 1);
  CBaseListContainer* talk = player.FindAname(datagen::sample::kTalkName);
  ASSERT_NE(talk, nullptr);
  ASSERT_TRUE(talk->script);
  SetTalkSysProc(RecordSets);
  talk->script->Evaluate();
  EXPECT_EQ(g_setCalls, (std::vector<std::string>{"FLAG101=1"}));
}

}  // namespace
}  // namespace uitest
