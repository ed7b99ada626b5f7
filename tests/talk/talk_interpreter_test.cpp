// The interpreter walking written talks, with a recording sys procedure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/crt.h"
#include "talk/base_talk_player.h"
#include "tests/support/captures.h"
#include "tests/talk/talk_fixtures.h"
#include "tools/datagen/talk_writer.h"

namespace {

using datagen::TextAttr;
using talktest::SysCall;
using talktest::SysRecorder;
using talktest::ValueOf;

class TalkInterpreterTest : public testing::Test {
 protected:
  // Writes the markup and loads it; the talks are all named in anames.
  void Load(datagen::TalkWriter& w) {
    std::string error;
    ASSERT_TRUE(w.Write("resource/talk.pt", error)) << error;
    player_.Load("resource/talk.pt");
  }

  // The text of the sentence being typed, or "" when none.
  std::string Typed() const {
    if (player_.state != TALKSTATE_TYPING || !player_.current) return "";
    return static_cast<CSentence*>(player_.current)->text;
  }

  // Updates; at a sentence records its text and reads it on (the window's
  // click); stops at a menu or the end.
  std::vector<std::string> RunToStop() {
    std::vector<std::string> texts;
    for (int i = 0; i < 100; ++i) {
      int s = player_.Update();
      if (s != TALKSTATE_TYPING) break;
      texts.push_back(Typed());
      player_.state = TALKSTATE_STEPPING;
    }
    return texts;
  }

  testsupport::ScopedWorkDir dir_;
  SysRecorder sys_;
  CBaseTalkPlayer player_;
};

TEST_F(TalkInterpreterTest, TwoSentencesAlternateBetweenStepAndType) {
  datagen::TalkWriter w;
  w.Open("talk", {TextAttr("aname", "t")});
  w.Sentence({}, "one");
  w.Sentence({}, "two");
  w.Close();
  Load(w);
  ASSERT_EQ(player_.errorCount, 0);

  ASSERT_NE(player_.StartTalk("t"), nullptr);
  std::vector<int> states = {player_.state};
  states.push_back(player_.Update());
  EXPECT_EQ(Typed(), "one");
  player_.state = TALKSTATE_STEPPING;  // the window after the click
  states.push_back(player_.state);
  states.push_back(player_.Update());
  EXPECT_EQ(Typed(), "two");
  player_.state = TALKSTATE_STEPPING;
  states.push_back(player_.state);
  states.push_back(player_.Update());
  EXPECT_EQ(states, (std::vector<int>{1, 3, 1, 3, 1, 4}));
  EXPECT_EQ(player_.depth, 0);
  EXPECT_TRUE(player_.nodeStack.empty());
}

TEST_F(TalkInterpreterTest, WalksListsMenusBackAndLinks) {
  datagen::TalkWriter w;
  w.Define({{"off", 0}, {"n", 0}}, {});
  // A sequence whose children are all switched off, left with its event.
  w.Open("talk", {TextAttr("aname", "allFalse")});
  w.Open("sl", {TextAttr("event", "E1")});
  w.Sentence({TextAttr("if", "off")}, "a");
  w.Sentence({TextAttr("if", "off")}, "b");
  w.Close();
  w.Close();
  // A chosen option is not typed; its children are.
  w.Open("talk", {TextAttr("aname", "chosen")});
  w.Open("li");
  w.Text("Question?");
  w.Open("ol");
  w.Open("li", {TextAttr("script", "n = n + 1")});
  w.Text("Yes");
  w.Sentence({}, "inner");
  w.Close();
  w.Sentence({}, "No");
  w.Close();
  w.Close();
  w.Close();
  // Back shows the question again; it is left once at the end.
  w.Open("talk", {TextAttr("aname", "back")});
  w.Open("li", {TextAttr("event", "Q")});
  w.Text("Again?");
  w.Open("ol");
  w.Sentence({TextAttr("func", "back")}, "again");
  w.Sentence({}, "done");
  w.Close();
  w.Close();
  w.Close();
  // A link to an earlier sentence loops once, then the walk goes on.
  w.Open("talk", {TextAttr("aname", "link")});
  w.Sentence({TextAttr("aname", "top")}, "A");
  w.Sentence(
      {TextAttr("aname", "jump"), TextAttr("if", "n == 0"), TextAttr("script", "n = 1"), TextAttr("link", "top")}, "B");
  w.Sentence({}, "C");
  w.Close();
  Load(w);
  ASSERT_EQ(player_.errorCount, 0) << player_.errors[0];

  player_.StartTalk("allFalse");
  EXPECT_TRUE(RunToStop().empty());
  EXPECT_EQ(player_.state, TALKSTATE_IDLE);
  EXPECT_EQ(sys_.calls, (std::vector<SysCall>{{SYSMODE_DO, "E1", 0}}));

  player_.StartTalk("chosen");
  EXPECT_TRUE(RunToStop().empty());
  ASSERT_EQ(player_.state, TALKSTATE_CHOOSING);
  EXPECT_EQ(player_.selectedOption, -1);
  CBaseListContainer* menu = player_.current;
  EXPECT_EQ(player_.Choose(menu->childCount), 0);
  EXPECT_EQ(player_.state, TALKSTATE_CHOOSING);
  auto* yes = static_cast<CSentence*>(menu->GetChild(0));
  ASSERT_EQ(player_.Choose(0), 1);
  EXPECT_EQ(player_.state, TALKSTATE_STEPPING);
  EXPECT_EQ(RunToStop(), (std::vector<std::string>{"inner"}));
  EXPECT_EQ(player_.state, TALKSTATE_IDLE);
  EXPECT_EQ(yes->shownCount, 1);
  EXPECT_EQ(ValueOf(player_, "n"), 1);

  sys_.calls.clear();
  player_.StartTalk("back");
  RunToStop();
  ASSERT_EQ(player_.state, TALKSTATE_CHOOSING);
  ASSERT_EQ(player_.Choose(0), 1);
  RunToStop();
  ASSERT_EQ(player_.state, TALKSTATE_CHOOSING) << "the question is shown again";
  EXPECT_EQ(player_.depth, 3) << "talk, question and menu, each once";
  EXPECT_TRUE(sys_.calls.empty());
  ASSERT_EQ(player_.Choose(1), 1);
  RunToStop();
  EXPECT_EQ(player_.state, TALKSTATE_IDLE);
  EXPECT_EQ(sys_.calls, (std::vector<SysCall>{{SYSMODE_DO, "Q", 0}}));

  player_.FindVariable("n")->value = 0;
  player_.StartTalk("link");
  EXPECT_EQ(RunToStop(), (std::vector<std::string>{"A", "B", "A", "C"}));
  EXPECT_EQ(player_.FindAname("jump")->visits, 1);
  EXPECT_EQ(player_.state, TALKSTATE_IDLE);
}

TEST_F(TalkInterpreterTest, RandomListDrawsTheEndsHalfAsOftenAndNeverADisabledChild) {
  datagen::TalkWriter w;
  w.Define({{"off", 0}}, {});
  w.Open("talk", {TextAttr("aname", "r")});
  w.Open("rl");
  w.Sentence({}, "0");
  w.Sentence({TextAttr("if", "off")}, "x");
  w.Sentence({}, "1");
  w.Sentence({TextAttr("if", "off")}, "y");
  w.Sentence({}, "2");
  w.Close();
  w.Close();
  Load(w);
  ASSERT_EQ(player_.errorCount, 0);

  plat::Srand(7);
  std::map<std::string, int> counts;
  constexpr int kStarts = 4000;
  for (int i = 0; i < kStarts; ++i) {
    player_.StartTalk("r");
    for (const std::string& text : RunToStop()) ++counts[text];
  }
  EXPECT_EQ(counts.count("x") + counts.count("y"), 0u);
  const double tolerance = 0.03 * kStarts;
  EXPECT_NEAR(counts["0"], kStarts / 4, tolerance);
  EXPECT_NEAR(counts["1"], kStarts / 2, tolerance);
  EXPECT_NEAR(counts["2"], kStarts / 4, tolerance);
}

TEST_F(TalkInterpreterTest, NothingToEnterLeavesTheListOrEndsTheTalk) {
  datagen::TalkWriter w;
  w.Define({{"off", 0}}, {});
  w.Open("talk", {TextAttr("aname", "emptyRandom")});
  w.Open("rl", {TextAttr("event", "R")});
  w.Close();
  w.Sentence({}, "after");
  w.Close();
  w.Open("talk", {TextAttr("aname", "deadMenu")});
  w.Open("li");
  w.Text("Question?");
  w.Open("ol", {TextAttr("event", "O")});
  w.Sentence({TextAttr("if", "off")}, "a");
  w.Sentence({TextAttr("if", "off")}, "b");
  w.Close();
  w.Close();
  w.Sentence({}, "after");
  w.Close();
  w.Open("talk", {TextAttr("aname", "endless")});
  w.Sentence({TextAttr("aname", "self"), TextAttr("link", "self")}, "");
  w.Close();
  w.Open("talk", {TextAttr("aname", "brokenJump")});
  w.Sentence({TextAttr("link", "nowhere")}, "jump");
  w.Sentence({}, "never");
  w.Close();
  Load(w);
  EXPECT_EQ(player_.errorCount, 1) << "the unresolved link";

  EXPECT_EQ(player_.StartTalk("nobody"), nullptr);
  EXPECT_EQ(player_.Update(), TALKSTATE_IDLE);

  player_.StartTalk("emptyRandom");
  EXPECT_EQ(RunToStop(), (std::vector<std::string>{"after"}));
  player_.StartTalk("deadMenu");
  EXPECT_EQ(RunToStop(), (std::vector<std::string>{"after"}));
  EXPECT_EQ(sys_.calls, (std::vector<SysCall>{{SYSMODE_DO, "R", 0}, {SYSMODE_DO, "O", 0}}));

  player_.StartTalk("brokenJump");
  EXPECT_EQ(RunToStop(), (std::vector<std::string>{"jump"}));
  EXPECT_EQ(player_.state, TALKSTATE_IDLE);

  testsupport::DebugTraceCapture trace;
  player_.StartTalk("endless");
  EXPECT_EQ(player_.Update(), TALKSTATE_IDLE) << "a loop that never stops is ended";
  EXPECT_TRUE(trace.Contains("loops"));
  EXPECT_EQ(player_.depth, 0);
}

TEST_F(TalkInterpreterTest, StartTalkAtTakesTalksByIndex) {
  datagen::TalkWriter w;
  w.Open("talk", {TextAttr("aname", "first")});
  w.Sentence({}, "one");
  w.Close();
  w.Open("talk", {TextAttr("aname", "second")});
  w.Sentence({}, "two");
  w.Close();
  Load(w);
  EXPECT_EQ(player_.StartTalkAt(2), nullptr);
  EXPECT_EQ(player_.current, nullptr);
  ASSERT_NE(player_.StartTalkAt(1), nullptr);
  EXPECT_EQ(player_.talkName, "second");
  EXPECT_EQ(RunToStop(), (std::vector<std::string>{"two"}));
}

}  // namespace
