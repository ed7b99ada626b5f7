#include <gtest/gtest.h>

#include "talk/base_talk_player.h"
#include "tests/support/captures.h"
#include "tests/talk/talk_fixtures.h"

namespace {

using talktest::WriteRaw;

// Loads markup written as is; returns the load result.
int LoadRaw(CBaseTalkPlayer& player, const std::string& markup) {
  WriteRaw("talk.pt", markup);
  return player.Load("talk.pt");
}

std::string TextOf(CBaseListContainer* node) {
  EXPECT_NE(node, nullptr);
  if (!node || node->kind != NODE_SENTENCE) return "<not a sentence>";
  return static_cast<CSentence*>(node)->text;
}

TEST(TalkMarkup, MalformedEndTagKeepsTheNodeOpen) {
  testsupport::ScopedWorkDir dir;
  testsupport::DebugTraceCapture trace;
  CBaseTalkPlayer player;
  ASSERT_EQ(LoadRaw(player,
                    "<talk><sl><li>a</li></sl li><li>b</li></talk>"
                    "<talk><sl><li>c</li></xyz><li>d</li></talk>"),
            1);
  ASSERT_EQ(player.childCount, 2);
  for (int t = 0; t < 2; ++t) {
    CBaseListContainer* talk = player.GetChild(t);
    ASSERT_EQ(talk->childCount, 1);
    CBaseListContainer* list = talk->GetChild(0);
    ASSERT_EQ(list->childCount, 2) << "the element after the bad end tag joins the open list";
    EXPECT_EQ(list->GetChild(1)->parent, list);
  }
  EXPECT_TRUE(trace.Contains("\">\" expected"));
  EXPECT_TRUE(trace.Contains("\"</SL>\" expected"));
}

TEST(TalkMarkup, MissingEndTagOfAListTakesTheFollowingSentences) {
  testsupport::ScopedWorkDir dir;
  testsupport::DebugTraceCapture trace;
  CBaseTalkPlayer player;
  ASSERT_EQ(LoadRaw(player, "<talk><sl><li>a</li><li>b</li></talk><talk><li>c</li></talk>"), 1);
  ASSERT_EQ(player.childCount, 2);
  EXPECT_EQ(player.GetChild(0)->GetChild(0)->childCount, 2);
  CBaseListContainer* next = player.GetChild(1);
  ASSERT_EQ(next->childCount, 1);
  EXPECT_EQ(TextOf(next->GetChild(0)), "c");
  EXPECT_TRUE(trace.Contains("\"</SL>\" expected"));
}

TEST(TalkMarkup, TalkWithMalformedEndTagIsNotAdded) {
  testsupport::ScopedWorkDir dir;
  testsupport::DebugTraceCapture trace;
  CBaseTalkPlayer player;
  ASSERT_EQ(LoadRaw(player,
                    "<talk aname=lost><li aname=inner>x</li></talk li>"
                    "<talk aname=next><li link=inner>y</li></talk>"),
            1);
  ASSERT_EQ(player.childCount, 1);
  EXPECT_EQ(player.GetChild(0)->aname, "next");
  // Its names stay valid, as do links to them.
  ASSERT_NE(player.FindAname("lost"), nullptr);
  EXPECT_EQ(TextOf(player.FindAname("inner")), "x");
  EXPECT_EQ(player.GetChild(0)->GetChild(0)->linkTarget, player.FindAname("inner"));
  EXPECT_TRUE(trace.Contains("\">\" expected"));
  EXPECT_TRUE(trace.Contains("Structure error."));
}

TEST(TalkMarkup, DefineBlockDeclaresVariablesAndDefaults) {
  testsupport::ScopedWorkDir dir;
  CBaseTalkPlayer player;
  EXPECT_EQ(LoadRaw(player,
                    "<talk aname=early></talk>"
                    "<define>int x = 5.9 int y int Z = -3 color c = (1 2 3) vector3 w vector2 v = 1 2 "
                    "size s = (1, 2) size = 640 80; fontsize = 30, 40; speed = 3 border = 0 "
                    "bgcolor = \"7,8\" header = \"|\"</define>"
                    "<talk aname=late><li>a</li></talk>"),
            1);
  EXPECT_EQ(player.FindVariable("x")->value, 5);
  EXPECT_EQ(player.FindVariable("y")->value, 0);
  EXPECT_EQ(player.FindVariable("z")->value, -3);  // bare names are lower-cased
  EXPECT_EQ(player.variables.size(), 3u);
  const TalkStyle& early = player.FindAname("early")->style;
  const TalkStyle& late = player.FindAname("late")->style;
  EXPECT_EQ(early.fontsize.v[0], 20);  // created before the define block
  EXPECT_EQ(late.fontsize.v[0], 30);
  EXPECT_EQ(late.fontsize.v[1], 40);
  EXPECT_EQ(late.size.v[0], 640);
  EXPECT_EQ(late.size.v[1], 80);
  EXPECT_EQ(late.border, 0);
  EXPECT_EQ(late.header, "|");
  EXPECT_EQ(late.bgcolor.v[0], 7);
  EXPECT_EQ(late.bgcolor.v[1], 8);
  EXPECT_EQ(late.bgcolor.v[2], 0);  // not in the text: keeps its value
  EXPECT_EQ(player.style.speed, 3);
  EXPECT_EQ(late.speed, 0);  // a talk's speed comes from talkSpeed
  EXPECT_EQ(player.FindAname("late")->GetChild(0)->style.fontsize.v[0], 30);
}

TEST(TalkMarkup, NamedStringsAndTheirReferences) {
  testsupport::ScopedWorkDir dir;
  testsupport::DebugTraceCapture trace;
  CBaseTalkPlayer player;
  ASSERT_EQ(LoadRaw(player,
                    "<string greet>Hi  there</string><string Greet2>X</string>"
                    "<string \"Big\">Y</string><str greet>dup</str>"
                    "<talk><li>##greet</li><li>##Greet2</li><li>##greet2</li><li>##Big</li>"
                    "<li>##later</li><li>#plain</li></talk>"
                    "<string later>L</string>"),
            1);
  CBaseListContainer* talk = player.GetChild(0);
  ASSERT_EQ(talk->childCount, 6);
  const char* expected[] = {"Hi there", "", "X", "Y", "", "#plain"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(TextOf(talk->GetChild(i)), expected[i]) << i;
  EXPECT_TRUE(trace.Contains("string greet already defined"));
  EXPECT_TRUE(trace.Contains("string Greet2 is not defined"));
  EXPECT_TRUE(trace.Contains("string later is not defined"));
}

TEST(TalkMarkup, AttributeValueForms) {
  testsupport::ScopedWorkDir dir;
  CBaseTalkPlayer player;
  std::string out = talktest::CaptureStdout([&] {
    EXPECT_EQ(LoadRaw(player,
                      "<define>int x</define>"
                      "<talk bgcolor=\"1,2\" fontxstep=\"3.5\" headerspace=(7) opaque=(0.5) speed=\"12\" "
                      "border=(2.9) position=\"9,10\" highlight=(4 5 6) linexstep=(1) lineystep=\"2\" "
                      "fontystep=(3) selectedcolor=\"1,1,1\" speakercolor=(2 2 2)>"
                      "<li func=\"BACK\" event=E1 pevent=P pose=sit audio=\"v.wav\" header=\"-\" font=\"F\" "
                      "if=\"1 == 1\" if=\"x ==\" script=\"x = 1\" script=\"x = 2\" speaker=\"Bob\">t</li>"
                      "<li speaker=\"\xAA\xB1\xAE\x61\" if=\"x\">u</li></talk>"),
              1);
  });
  EXPECT_EQ(out, "if error\n");
  CBaseListContainer* talk = player.GetChild(0);
  const TalkStyle& s = talk->style;
  EXPECT_EQ(s.bgcolor.v[0], 1);
  EXPECT_EQ(s.bgcolor.v[1], 2);
  EXPECT_EQ(s.bgcolor.v[2], 0);
  EXPECT_EQ(s.fontxstep, 3.5f);
  EXPECT_EQ(s.headerspace, 7);
  EXPECT_EQ(s.opaque, 0.5f);
  EXPECT_EQ(s.speed, 12);
  EXPECT_EQ(s.border, 2);
  EXPECT_EQ(s.position.v[0], 9);
  EXPECT_EQ(s.highlight.v[2], 6);
  EXPECT_EQ(s.linexstep, 1);
  EXPECT_EQ(s.lineystep, 2);
  EXPECT_EQ(s.fontystep, 3);
  EXPECT_EQ(s.selectedcolor.v[1], 1);
  EXPECT_EQ(s.speakercolor.v[0], 2);

  CBaseListContainer* li = talk->GetChild(0);
  EXPECT_EQ(li->func, "back");
  EXPECT_EQ(li->event, "e1");
  EXPECT_EQ(li->pevent, "p");
  EXPECT_EQ(li->pose, "sit");
  EXPECT_EQ(li->audio, "v.wav");
  EXPECT_EQ(li->style.header, "-");
  EXPECT_EQ(li->style.font, "F");
  EXPECT_EQ(li->style.speed, 12);  // inherited from the talk
  EXPECT_EQ(li->speaker, "Bob");
  EXPECT_EQ(li->speakerIsPlayer, 0);
  ASSERT_TRUE(li->condition);  // the broken second if leaves the first
  EXPECT_EQ(li->condition.Evaluate(), 1);
  ASSERT_TRUE(li->script);  // the later script replaces the earlier
  EXPECT_EQ(li->script->statementCount, 1);
  li->script->Evaluate();
  EXPECT_EQ(player.FindVariable("x")->value, 2);

  CBaseListContainer* hero = talk->GetChild(1);
  EXPECT_EQ(hero->speakerIsPlayer, 1);
  EXPECT_EQ(hero->condition.get(),
            player.FindVariable("x"));  // a bare variable is shared, not owned
}

TEST(TalkMarkup, AttributeErrorsAreReportedAndTheTagGoesOn) {
  testsupport::ScopedWorkDir dir;
  testsupport::DebugTraceCapture trace;
  CBaseTalkPlayer player;
  ASSERT_EQ(LoadRaw(player,
                    "<talk><li fontsize=(25) aname= fontcolor=(1 2) link speed=(4) pose=(1)>a</li>"
                    "<li fontsize=\"x\" func bad=1 speed=(5)>b</li></talk>"),
            1);
  EXPECT_EQ(trace.Lines(), (std::vector<std::string>{
                               "parse error",
                               "missing font height",
                               "parse error",
                               "aname=\"????\" , no name assigned.",
                               "parse error",
                               "missing color information",
                               "parse error",
                               "\"=xxx\" expected",
                               "parse error",
                               "\">\" expected",
                               "parse error",
                               "\"=xxx\" expected",
                               "Unknown token 1\n",
                           }));
  CBaseListContainer* talk = player.GetChild(0);
  ASSERT_EQ(talk->childCount, 2);
  CBaseListContainer* a = talk->GetChild(0);
  EXPECT_EQ(TextOf(a), "a");
  EXPECT_EQ(a->style.fontsize.v[0], 20);
  EXPECT_EQ(a->style.fontcolor.v[0], 255);
  EXPECT_EQ(a->style.speed, 4);
  EXPECT_EQ(TextOf(talk->GetChild(1)), "b");
  EXPECT_EQ(talk->GetChild(1)->style.speed, 5);  // read after the broken attribute
}

TEST(TalkMarkup, StrayTokensAreStructureErrors) {
  testsupport::ScopedWorkDir dir;
  testsupport::DebugTraceCapture trace;
  CBaseTalkPlayer player;
  ASSERT_EQ(LoadRaw(player, "stray text<li>x</li></talk><talk>inside<li>y</li>(</talk><talk aname=ok></talk>"), 1);
  EXPECT_EQ(player.childCount, 2);
  EXPECT_EQ(player.GetChild(0)->childCount, 1);
  EXPECT_EQ(player.GetChild(1)->aname, "ok");
  EXPECT_TRUE(trace.Contains("Structure error."));
}

}  // namespace
