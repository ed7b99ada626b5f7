#include <gtest/gtest.h>

#include "talk/base_talk_player.h"
#include "tests/support/captures.h"
#include "tests/talk/talk_fixtures.h"
#include "tools/datagen/talk_writer.h"

namespace {

using datagen::NumberAttr;
using datagen::TextAttr;
using talktest::WriteRaw;

const char kPlayerWord[] = "\xAA\xB1\xAE\x61";  // Big5 "玩家"

void WriteFile(const datagen::TalkWriter& w, const std::string& path) {
  std::string error;
  ASSERT_TRUE(w.Write(path, error)) << error;
}

// resource/talk.pt with one include file, resource/side.pt.
void WriteSampleTalks() {
  datagen::TalkWriter side;
  side.Open("talk", {TextAttr("aname", "side"), TextAttr("script", "visits = visits + 1")});
  side.Sentence({}, "Side");
  side.Close();
  WriteFile(side, "resource/side.pt");

  datagen::TalkWriter w;
  w.Comment(" sample talks ");
  w.Define({{"gold", 120}, {"visits", 0}}, {NumberAttr("fontcolor", {10, 20, 30}), TextAttr("font", "Mono")});
  w.Include("resource\\side.pt");
  w.String("greet", "Hello there");
  w.Open("talk", {TextAttr("aname", "Start"), NumberAttr("fontsize", {30, 32})});
  w.Sentence({TextAttr("speaker", "Elder")}, "##greet");
  w.Open("sl", {TextAttr("aname", "menu"), NumberAttr("fontcolor", {1, 2, 3})});
  w.Sentence({}, "First");
  w.Open("ol", {TextAttr("if", "gold >= 100")});
  w.Sentence({TextAttr("speaker", "玩家")}, "Yes");
  w.Sentence({TextAttr("link", "end"), TextAttr("func", "END")}, "No");
  w.Close();
  w.Close();
  w.Sentence({TextAttr("switch", "side")}, "After");
  w.Close();
  w.Open("talk", {TextAttr("aname", "end")});
  w.Open("rl");
  w.Sentence({}, "Bye");
  w.Sentence({}, "Later");
  w.Close();
  w.Close();
  WriteFile(w, "resource/talk.pt");
}

void ExpectColor(const TalkVector& v, float r, float g, float b, const char* what) {
  EXPECT_EQ(v.count, 3) << what;
  EXPECT_EQ(v.v[0], r) << what;
  EXPECT_EQ(v.v[1], g) << what;
  EXPECT_EQ(v.v[2], b) << what;
}

CSentence* SentenceAt(CBaseListContainer* node, int i) {
  CBaseListContainer* child = node->GetChild(i);
  EXPECT_NE(child, nullptr);
  EXPECT_EQ(child ? child->kind : 0, NODE_SENTENCE);
  return static_cast<CSentence*>(child);
}

TEST(TalkLoad, WrittenMarkupWithAnIncludeBuildsTheDocument) {
  testsupport::ScopedWorkDir dir;
  WriteSampleTalks();
  CBaseTalkPlayer player;
  EXPECT_EQ(player.state, TALKSTATE_NOT_LOADED);
  ASSERT_EQ(player.Load(".\\resource\\talk.pt"), 1) << (player.errors.empty() ? "" : player.errors[0]);
  EXPECT_EQ(player.state, TALKSTATE_LOADED);
  EXPECT_EQ(player.errorCount, 0);

  // The included talk comes where the include line stood.
  ASSERT_EQ(player.childCount, 3);
  CBaseListContainer* side = player.GetChild(0);
  CBaseListContainer* start = player.GetChild(1);
  CBaseListContainer* end = player.GetChild(2);
  for (CBaseListContainer* talk : {side, start, end}) {
    EXPECT_EQ(talk->kind, NODE_TALK);
    EXPECT_EQ(talk->parent, nullptr);
  }
  EXPECT_EQ(start->aname, "Start");
  EXPECT_EQ(start->index, 1);

  // Structure and node kinds.
  ASSERT_EQ(start->childCount, 3);
  CSentence* elder = SentenceAt(start, 0);
  CBaseListContainer* menu = start->GetChild(1);
  CSentence* after = SentenceAt(start, 2);
  ASSERT_EQ(menu->kind, NODE_SEQUENCE);
  EXPECT_EQ(menu->parent, start);
  ASSERT_EQ(menu->childCount, 2);
  CSentence* first = SentenceAt(menu, 0);
  CBaseListContainer* options = menu->GetChild(1);
  ASSERT_EQ(options->kind, NODE_OPTIONAL);
  ASSERT_EQ(options->childCount, 2);
  CSentence* yes = SentenceAt(options, 0);
  CSentence* no = SentenceAt(options, 1);
  ASSERT_EQ(end->childCount, 1);
  EXPECT_EQ(end->GetChild(0)->kind, NODE_RANDOM);
  EXPECT_EQ(end->GetChild(0)->childCount, 2);

  // Texts, named strings and speakers.
  EXPECT_EQ(elder->text, "Hello there");
  EXPECT_EQ(elder->speaker, "Elder");
  EXPECT_EQ(elder->speakerIsPlayer, 0);
  EXPECT_EQ(first->text, "First");
  EXPECT_EQ(first->speaker, kPlayerWord);
  EXPECT_EQ(first->speakerIsPlayer, 1);
  EXPECT_EQ(yes->speaker, kPlayerWord);
  EXPECT_EQ(yes->speakerIsPlayer, 1);
  EXPECT_EQ(no->func, "end");

  // Inheritance: define block -> talk -> list -> sentence, never from a sibling.
  ExpectColor(start->style.fontcolor, 10, 20, 30, "talk from the define block");
  ExpectColor(elder->style.fontcolor, 10, 20, 30, "sentence before the list");
  ExpectColor(menu->style.fontcolor, 1, 2, 3, "list's own");
  ExpectColor(first->style.fontcolor, 1, 2, 3, "sentence in the list");
  ExpectColor(yes->style.fontcolor, 1, 2, 3, "sentence in the nested list");
  ExpectColor(after->style.fontcolor, 10, 20, 30, "sentence after the list");
  ExpectColor(end->style.fontcolor, 10, 20, 30, "next talk");
  for (CBaseListContainer* n : {static_cast<CBaseListContainer*>(elder), menu, static_cast<CBaseListContainer*>(no)}) {
    EXPECT_EQ(n->style.fontsize.v[0], 30);
    EXPECT_EQ(n->style.fontsize.v[1], 32);
    EXPECT_EQ(n->style.font, "Mono");
  }
  EXPECT_EQ(end->style.fontsize.v[0], 20);  // the root default
  EXPECT_EQ(end->style.lineystep, 25);
  EXPECT_EQ(end->style.headerspace, -1);

  // Names, links and variables.
  std::vector<std::string> names;
  for (const auto& [name, node] : player.anames) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"Start", "end", "menu", "side"}));
  EXPECT_EQ(player.FindAname("menu"), menu);
  EXPECT_EQ(no->linkTarget, end);
  EXPECT_EQ(after->switchTarget, side);
  EXPECT_EQ(player.FindVariable("gold")->value, 120);
  EXPECT_EQ(player.FindVariable("visits")->value, 0);
  EXPECT_EQ(player.variables.size(), 2u);

  // Conditions and scripts are compiled over the player's variables.
  ASSERT_TRUE(options->condition);
  EXPECT_EQ(options->condition.Evaluate(), 1);
  player.FindVariable("gold")->value = 99;
  EXPECT_EQ(options->condition.Evaluate(), 0);
  ASSERT_TRUE(side->script);
  side->script->Evaluate();
  side->script->Evaluate();
  EXPECT_EQ(player.FindVariable("visits")->value, 2);
}

TEST(TalkLoad, ReloadReplacesTheWholeDocument) {
  testsupport::ScopedWorkDir dir;
  WriteSampleTalks();
  WriteRaw("other.pt", "<define>int gold = 7 fontcolor = (9 9 9)</define><talk aname=\"only\"></talk>");
  CBaseTalkPlayer player;
  ASSERT_EQ(player.Load("resource/talk.pt"), 1);
  ASSERT_EQ(player.Load("other.pt"), 1);
  EXPECT_EQ(player.childCount, 1);
  EXPECT_EQ(player.anames.size(), 1u);
  EXPECT_EQ(player.variables.size(), 1u);
  EXPECT_EQ(player.FindVariable("gold")->value, 7);
  ExpectColor(player.GetChild(0)->style.fontcolor, 9, 9, 9, "reloaded define");
  // The defaults are reset before each load.
  ASSERT_EQ(player.Load("resource/talk.pt"), 1);
  WriteRaw("plain.pt", "<talk></talk>");
  ASSERT_EQ(player.Load("plain.pt"), 1);
  ExpectColor(player.GetChild(0)->style.fontcolor, 255, 255, 255, "default");
  EXPECT_EQ(player.GetChild(0)->style.font, "\xB7\x73\xB2\xD3\xA9\xFA\xC5\xE9");
}

TEST(TalkLoad, PlayerErrorsFailTheLoadWithTheirTexts) {
  struct Case {
    const char* name;
    std::string markup;
    std::vector<std::string> errors;
  } cases[] = {
      {"duplicate aname", "<talk aname=\"a\"><li aname=\"a\">x</li></talk>", {"Symble Name:\"a\" was used again\n"}},
      {"duplicate variable", "<define>int x = 1 int x = 2</define>", {"Symble Name:\"x\" was used again\n"}},
      {"undefined link and switch",
       "<talk><li link=\"nowhere\" switch=\"Start\">x</li></talk><talk aname=Start></talk>",
       {"Symbol Name:\"nowhere\" is undefined\n", "Symbol Name:\"Start\" is undefined\n"}},
  };
  for (const auto& c : cases) {
    testsupport::ScopedWorkDir dir;
    WriteRaw("talk.pt", c.markup);
    CBaseTalkPlayer player;
    EXPECT_EQ(player.Load("talk.pt"), 0) << c.name;
    EXPECT_EQ(player.errors, c.errors) << c.name;
    EXPECT_EQ(player.errorCount, static_cast<int>(c.errors.size())) << c.name;
    EXPECT_EQ(player.state, TALKSTATE_NOT_LOADED) << c.name;
  }
}

TEST(TalkLoad, DuplicateVariableKeepsTheFirst) {
  testsupport::ScopedWorkDir dir;
  WriteRaw("talk.pt", "<define>int x = 5.9 int x = 2</define>");
  CBaseTalkPlayer player;
  EXPECT_EQ(player.Load("talk.pt"), 0);
  EXPECT_EQ(player.FindVariable("x")->value, 5);
}

TEST(TalkLoad, MissingFileIsReported) {
  testsupport::ScopedWorkDir dir;
  CBaseTalkPlayer player;
  EXPECT_EQ(player.Load(".\\resource\\talk.pt"), 0);
  EXPECT_EQ(player.errors, (std::vector<std::string>{"Open file .\\resource\\talk.pt fail."}));
  EXPECT_EQ(player.childCount, 0);
}

TEST(TalkLoad, LongNamesKeepTheirWholeMessage) {
  testsupport::ScopedWorkDir dir;
  const std::string name(400, 'n');
  WriteRaw("talk.pt", "<talk><li link=\"" + name + "\">x</li></talk>");
  CBaseTalkPlayer player;
  EXPECT_EQ(player.Load("talk.pt"), 0);
  ASSERT_EQ(player.errors.size(), 1u);
  EXPECT_EQ(player.errors[0], "Symbol Name:\"" + name + "\" is undefined\n");
}

TEST(TalkLoad, DumpDescribesEveryTalk) {
  testsupport::ScopedWorkDir dir;
  WriteRaw("talk.pt",
           "<talk><li sp=\"Ann\">Hi<ol><li sp=Bob>A</li><li>B</li></ol></li><rl></rl></talk>"
           "<talk><sl><li sp=\"C\"></li></sl></talk>");
  CBaseTalkPlayer player;
  ASSERT_EQ(player.Load("talk.pt"), 1);
  std::string out = talktest::CaptureStdout([&] { player.Dump(); });
  EXPECT_EQ(out, std::string("Talk\n"
                             "2 members\n"
                             "Ann:Hi\n"
                             "1 members\n"
                             "Optional list\n"
                             "2 members\n"
                             "bob:A\n") +
                     kPlayerWord +
                     ":B\n"
                     "Random list\n"
                     "Talk\n"
                     "1 members\n"
                     "Sequence list\n"
                     "1 members\n"
                     "C:\n");
}

}  // namespace
