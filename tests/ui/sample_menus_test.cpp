// The sample world's menu files read back: pictures, messages, event notes,
// the floor texture and the talk that opens the first note.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
#include "world/game_resource.h"

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
};

TEST_F(SampleMenusTest, EveryMenuPictureLoadsWithItsCellGrid) {
  OpenImagePackage(".\\image\\ui.qxo");
  std::vector<datagen::uiart::PictureSpec> pictures = datagen::SampleMenuPictures();
  for (const char* name : {"if_m00", "ifsr001", "ifi5100", "ifi0100b", "ifib0900", "ifi0600", "ifib05001",
                           "if6b0100", "it_potion"}) {
    bool listed = false;
    for (const auto& p : pictures) listed |= std::string(p.name) == name;
    EXPECT_TRUE(listed) << name;
  }
  for (const auto& p : pictures)
    if (HOBJECT sprite = LoadGridPicture(p.name, p.cellWidth, p.cellHeight, p.columns, p.rows)) DeleteSprite(sprite);
  OpenImagePackage(nullptr);
  EXPECT_TRUE(plat::FileExists("texture/ifi0100_t.qbt"));
}

TEST_F(SampleMenusTest, TheMenusMessagesStandBesideTheOthers) {
  EXPECT_STREQ(resource.MessageText(52), "Character");
  EXPECT_STREQ(resource.MessageText(53), "Equipment, items and the hero's state.");
  EXPECT_STREQ(resource.MessageText(80), "--");
  EXPECT_STREQ(resource.MessageText(81), "Up");
  EXPECT_STREQ(resource.MessageText(108), "\\");
  EXPECT_STREQ(resource.MessageText(123), "Num /");
  EXPECT_STREQ(resource.MessageText(124), datagen::sample::kMoneyLabel) << "another part's message kept";
  EXPECT_STREQ(resource.MessageText(125), "(New journey)");
  EXPECT_STREQ(resource.MessageText(126), "Journey");
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
