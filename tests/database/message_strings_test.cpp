// The messages every screen reads come from one resource at a time, and a
// resource that goes away takes its answers with it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/game_resource.h"
#include "tools/datagen/game_resource_writer.h"

namespace {

class MessageStringsTest : public ::testing::Test {
 protected:
  MessageStringsTest() { SetMessageResource(nullptr); }
  ~MessageStringsTest() override { SetMessageResource(nullptr); }

  // A resource file of the given messages, opened into resource.
  static void OpenMessages(const char* name, std::vector<std::string> messages, CGameResource& resource) {
    datagen::GameResourceData data;
    data.messages = std::move(messages);
    std::string error;
    ASSERT_TRUE(datagen::WriteGameResource(std::string("resource/") + name, data, error)) << error;
    resource.Open(name);
  }
};

TEST_F(MessageStringsTest, TheChosenResourceAnswers) {
  EXPECT_EQ(GetMessageString(1), nullptr) << "none chosen";
  CGameResource resource;
  OpenMessages("Messages.res", {"first", "second", "third"}, resource);
  SetMessageResource(&resource);
  struct Case {
    int n;
    const char* text;
  } cases[] = {{-3, "first"}, {0, "first"}, {1, "first"}, {2, "second"}, {3, "third"}, {4, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    if (c.text) EXPECT_STREQ(GetMessageString(c.n), c.text);
    else EXPECT_EQ(GetMessageString(c.n), nullptr);
  }
  SetMessageResource(nullptr);
  EXPECT_EQ(GetMessageString(2), nullptr);
}

TEST_F(MessageStringsTest, AResourceThatGoesAwayStopsAnswering) {
  CGameResource kept;
  OpenMessages("Kept.res", {"kept"}, kept);
  {
    CGameResource other;
    OpenMessages("Other.res", {"other"}, other);
    SetMessageResource(&other);
    EXPECT_STREQ(GetMessageString(1), "other");
  }
  EXPECT_EQ(GetMessageString(1), nullptr);

  SetMessageResource(&kept);
  { CGameResource unchosen; }
  EXPECT_STREQ(GetMessageString(1), "kept") << "only the chosen resource's end clears the choice";
}

}  // namespace
