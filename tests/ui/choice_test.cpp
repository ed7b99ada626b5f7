// The dialogue choice box: questions, answers and clicks through the overlay.
#include <gtest/gtest.h>

#include "tests/ui/dialog_fixture.h"
#include "tools/datagen/sample_world.h"
#include "ui/gm_msg_sender.h"

namespace uitest {
namespace {

using Choice = DialogTest;

TEST_F(Choice, PagesAfterTheQuestionAreTheAnswersFourAtMost) {
  WriteDialogue(kFile, {{"six", "A:Which?#:one#:two#:three#:four#:five#/"}, {"two", "Ann:Help?#:Yes#:No#/"}});
  ChoiceBox box(kFile);
  ASSERT_EQ(box.StartChoice("six", 0, nullptr, nullptr), 1);
  EXPECT_EQ(box.choiceCount, 4);
  EXPECT_EQ(box.choiceTexts[0], "one");
  EXPECT_EQ(box.choiceTexts[3], "four");
  EXPECT_EQ(box.question, "A:Which?");
  EXPECT_EQ(box.IsActive(), 1) << "a question is up";

  ASSERT_EQ(box.StartChoice("two", 0, nullptr, nullptr), 1);
  EXPECT_EQ(box.choiceCount, 2);
  EXPECT_EQ(box.choiceSprites[2], 0u) << "the earlier question's answers are gone";
  EXPECT_EQ(box.questionLines, 1);
  EXPECT_EQ(Position(box.panel), std::make_pair(0, 400));
  EXPECT_EQ(Position(box.choiceSprites[0]), std::make_pair(4, 426));
  EXPECT_EQ(Position(box.choiceSprites[1]), std::make_pair(4, 446));
  EXPECT_EQ(box.StartChoice("none", 0, nullptr, nullptr), 0);
}

TEST_F(Choice, ClicksCompleteTheQuestionThenChooseTheAnswerUnderThePointer) {
  WriteDialogue(kFile, {{"ask", "Ann:Help?#:Yes#:No#/"}});
  ChoiceBox box(kFile);
  ASSERT_EQ(box.StartChoice("ask", 0, &agency_, nullptr), 1);
  ASSERT_NE(box.sender, nullptr);
  EXPECT_EQ(agency_.childCount, 1);
  box.Update(1);
  box.Update(1);
  EXPECT_EQ(box.Text(), "An");

  box.inputBlocked = 1;
  agency_.OnLButtonDown(10, 430);
  EXPECT_EQ(box.Text(), "An") << "blocked: nothing typed";
  EXPECT_EQ(box.choicesReady, 0);
  box.inputBlocked = 0;

  agency_.OnLButtonDown(10, 430);
  EXPECT_EQ(box.Text(), "Ann:Help?") << "the click completed the question";
  EXPECT_EQ(box.choicesReady, 1);
  EXPECT_EQ(box.answer, -1) << "nothing was under the pointer yet";
  EXPECT_GT(CountColour(box.choiceSprites[1], 250, 240, 180), 0) << "answers drawn";

  agency_.OnMouseMove(10, 450);
  EXPECT_EQ(box.hovered, 1);
  EXPECT_GT(CountColour(box.choiceSprites[1], 255, 100, 100), 0) << "lit";
  agency_.OnMouseMove(10, 300);
  EXPECT_EQ(box.hovered, -1);
  EXPECT_EQ(CountColour(box.choiceSprites[1], 255, 100, 100), 0) << "back to normal";
  EXPECT_GT(CountColour(box.choiceSprites[1], 250, 240, 180), 0);

  agency_.OnMouseMove(10, 450);
  box.inputBlocked = 1;
  agency_.OnLButtonDown(10, 450);
  EXPECT_EQ(box.answer, -1) << "blocked: nothing chosen";
  box.inputBlocked = 0;
  agency_.OnLButtonDown(10, 450);
  EXPECT_EQ(box.answer, 1);
  EXPECT_EQ(box.IsActive(), 0);
  EXPECT_EQ(box.sender, nullptr);
  EXPECT_EQ(agency_.childCount, 0) << "the sender left the overlay";
  EXPECT_EQ(box.choiceSprites[0], 0u);
}

TEST_F(Choice, ANewQuestionStartsFromItsBeginning) {
  WriteDialogue(kFile, {{"ask", "Ann:Help?#:Yes#:No#/"}});
  ChoiceBox box(kFile);
  ASSERT_EQ(box.StartChoice("ask", 0, nullptr, nullptr), 1);
  for (int i = 0; i < 5; ++i) box.Update(1);
  box.Close();
  box.glyphs.clear();
  ASSERT_EQ(box.StartChoice("ask", 0, nullptr, nullptr), 1);
  box.Update(1);
  ASSERT_FALSE(box.glyphs.empty());
  EXPECT_EQ(box.glyphs[0].text, "A");
  EXPECT_EQ(box.glyphs[0].x, 16);
}

TEST_F(Choice, BalloonQuestionsSkipTheSpeakerAndStackTheAnswers) {
  WriteDialogue(kFile, {{"ask", "Ann:Help?#:Yes#:No#/"}});
  ChoiceBox box(kFile);
  ASSERT_EQ(box.SetPosition(100, 300), 1);
  ASSERT_EQ(box.StartChoice("ask", 2, nullptr, nullptr), 1);
  box.OnAdvance();
  EXPECT_EQ(box.Text(), "Help?");
  const auto question = Position(box.panel);
  EXPECT_EQ(question.first, 132);
  const int first = Position(box.choiceSprites[0]).second, second = Position(box.choiceSprites[1]).second;
  EXPECT_GT(first, question.second);
  EXPECT_EQ(second - first, 20) << "line by line";
}

TEST_F(Choice, APlainDialogueTakesItsClicksFromTheOverlay) {
  WriteDialogue(kFile, {{"talk", "A:one#B:two#/"}});
  ChoiceBox box(kFile);
  ASSERT_EQ(box.StartWithInput("talk", 0, 0, 0, &agency_, nullptr), 1);
  EXPECT_EQ(agency_.childCount, 1);
  EXPECT_EQ(box.sender->groupId, CDialogPlayerEx::kSenderGroup);
  agency_.OnLButtonDown(1, 1);
  EXPECT_EQ(box.Text(), "A:one");
  agency_.OnLButtonDown(1, 1);
  agency_.OnLButtonDown(1, 1);
  EXPECT_EQ(box.Text(), "A:oneB:two");
  EXPECT_EQ(box.Close(), 1);
  EXPECT_EQ(agency_.childCount, 0) << "Close removes the sender";
  EXPECT_EQ(box.StartWithInput("missing", 0, 0, 0, &agency_, nullptr), 0);
  EXPECT_EQ(agency_.childCount, 0);
}

TEST_F(Choice, TheSampleOpeningDialogueReadsBack) {
  ChoiceBox box(datagen::sample::kDialogueFile);
  ASSERT_EQ(box.StartWithInput(datagen::sample::kGreetEntry, 0, 0, 0, &agency_, "Aldo"), 1);
  EXPECT_EQ(box.chunks->pages.size(), 2u);
  for (int i = 0; i < 8 && box.IsActive(); ++i) box.OnAdvance();
  EXPECT_EQ(box.IsActive(), 0) << "the entry ends with '/'";
  EXPECT_EQ(box.Text().rfind("Aldo:Welcome home, traveller.", 0), 0u) << box.Text();
  EXPECT_NE(box.Text().find("\xA7\x41\xA6\x6E"), std::string::npos);

  ASSERT_EQ(box.StartChoice(datagen::sample::kAskEntry, 0, &agency_, nullptr), 1);
  EXPECT_EQ(box.choiceCount, datagen::sample::kAskAnswers);
  box.OnAdvance();
  agency_.OnMouseMove(10, 430);
  agency_.OnLButtonDown(10, 430);
  EXPECT_EQ(box.answer, 0);
}

}  // namespace
}  // namespace uitest
