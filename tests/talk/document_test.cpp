#include <gtest/gtest.h>

#include "platform/crt.h"
#include "talk/base_talk_player.h"
#include "talk/condition_compiler.h"
#include "tests/talk/talk_fixtures.h"

namespace {

std::vector<int> Indices(const CBaseListContainer& list) {
  std::vector<int> out;
  for (const auto& child : list.children) out.push_back(child->index);
  return out;
}

TEST(TalkDocument, FilterPutsEnabledChildrenFirstInDocumentOrder) {
  talktest::SysRecorder sys;
  CBaseTalkPlayer player;
  talktest::Declare(player, "on", 1);
  COptionalContainer list;
  for (int i = 0; i < 5; ++i) {
    auto child = std::make_unique<CSentence>();
    if (i == 1 || i == 3) child->condition = CompileCondition("on == 0 && sys(q X)", player);
    list.AddChild(std::move(child));
  }
  list.Filter();
  EXPECT_EQ(Indices(list), (std::vector<int>{0, 2, 4, 1, 3}));
  EXPECT_EQ(list.enabledCount, 3);
  EXPECT_EQ(list.GetChild(3)->enabled, 0);
  EXPECT_EQ(sys.calls.size(), 2u);  // each condition evaluated once per filtering

  list.Filter();
  EXPECT_EQ(Indices(list), (std::vector<int>{0, 2, 4, 1, 3}));
  player.FindVariable("on")->value = 0;
  sys.answers["X"] = 1;
  list.Filter();
  EXPECT_EQ(Indices(list), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(list.enabledCount, 5);
}

TEST(TalkDocument, ChildrenAreAddedInOrderAndLookedUpInRange) {
  CSequenceContainer list;
  EXPECT_EQ(list.GetChild(0), nullptr);
  EXPECT_EQ(list.AddChild(std::make_unique<CSentence>()), 1);
  EXPECT_EQ(list.AddChild(std::make_unique<CRandomContainer>()), 2);
  EXPECT_EQ(list.childCount, 2);
  EXPECT_EQ(list.GetChild(1)->index, 1);
  EXPECT_EQ(list.GetChild(1)->kind, NODE_RANDOM);
  EXPECT_EQ(list.GetChild(-1), nullptr);
  EXPECT_EQ(list.GetChild(2), nullptr);
}

TEST(TalkDocument, InheritanceCopiesOnceAtCreation) {
  CBaseTalkPlayer root;
  root.style.fontxstep = 40;
  root.style.speed = 9;
  root.talkSpeed = 0;
  CTalkContainer talk;
  talk.Inherit(root);
  EXPECT_EQ(talk.style.fontxstep, 40);
  EXPECT_EQ(talk.style.speed, 0);
  EXPECT_EQ(talk.parent, nullptr);

  talk.aname = "t";
  talk.style.fontcolor.v[0] = 7;
  CSentence sentence;
  sentence.SetParent(&talk);
  EXPECT_EQ(sentence.parent, &talk);
  EXPECT_EQ(sentence.style.fontcolor.v[0], 7);
  EXPECT_EQ(sentence.aname, "");  // not inheritable
  talk.style.fontcolor.v[0] = 8;
  EXPECT_EQ(sentence.style.fontcolor.v[0], 7);
}

TEST(TalkDocument, ResetClearsVisitsAndCursorsButNotShownCounts) {
  CTalkContainer talk;
  auto list = std::make_unique<CSequenceContainer>();
  auto sentence = std::make_unique<CSentence>();
  CSentence* s = sentence.get();
  CBaseListContainer* l = list.get();
  list->AddChild(std::move(sentence));
  talk.AddChild(std::move(list));
  talk.visits = 3;
  l->cursor = 1;
  s->visits = 2;
  s->shownCount = 4;
  s->enabled = 1;
  talk.Reset();
  EXPECT_EQ(talk.visits, 0);
  EXPECT_EQ(l->cursor, 0);
  EXPECT_EQ(s->visits, 0);
  EXPECT_EQ(s->shownCount, 4);
  EXPECT_EQ(s->enabled, 1);
}

TEST(TalkDocument, EnterStepsOntoTheNodeStack) {
  CBaseTalkPlayer player;
  CTalkContainer talk;
  auto first = std::make_unique<CSentence>();
  CSentence* sentence = first.get();
  talk.AddChild(std::move(first));
  auto rl = std::make_unique<CRandomContainer>();
  CRandomContainer* random = rl.get();
  talk.AddChild(std::move(rl));

  player.current = &talk;
  EXPECT_EQ(talk.Enter(player), 1);  // a sequence enters the child at its cursor
  EXPECT_EQ(player.current, sentence);
  EXPECT_EQ(player.nodeStack, (std::vector<CBaseListContainer*>{&talk}));
  EXPECT_EQ(player.depth, 1);

  EXPECT_EQ(sentence->Enter(player), 1);  // a sentence enters itself
  EXPECT_EQ(player.current, sentence);
  EXPECT_EQ(player.depth, 2);

  EXPECT_EQ(random->Enter(player), 0);  // nothing to pick
  random->AddChild(std::make_unique<CSentence>());
  random->AddChild(std::make_unique<CSentence>());
  plat::Srand(1);
  int expected = plat::Rand() % 2;
  plat::Srand(1);
  EXPECT_EQ(random->Enter(player), 1);
  EXPECT_EQ(random->cursor, expected);
  EXPECT_EQ(player.current, random->GetChild(expected));
  EXPECT_EQ(player.Enter(player), 1);  // the root does nothing
  EXPECT_EQ(player.current, random->GetChild(expected));
}

}  // namespace
