// The talk window on a headless engine with the test clock and a real font.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/core/mesh_edit.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/media/sprites.h"
#include "talk/talk_host.h"
#include "talk/talk_player.h"
#include "tests/engine/engine_fixture.h"
#include "tests/talk/talk_fixtures.h"
#include "tools/datagen/talk_writer.h"

namespace {

using datagen::NumberAttr;
using datagen::TextAttr;

class TalkWindowTest : public enginetest::EngineTest {
 protected:
  TalkWindowTest() {
    EXPECT_EQ(Open(), 1);
    player_.SetScreen(640, 480);
    player_.SetPlayerName("Hero");
  }

  void Load(datagen::TalkWriter& w) {
    std::string error;
    ASSERT_TRUE(w.Write("resource/talk.pt", error)) << error;
    ASSERT_EQ(player_.Load("resource/talk.pt"), 1) << player_.errors[0];
  }

  // The pixel values in the text sprite, the key colour left out.
  std::set<uint16_t> Colours() {
    std::set<uint16_t> found;
    auto* pixels = static_cast<uint16_t*>(LockSprite(player_.textSprite, 0));
    EXPECT_NE(pixels, nullptr);
    if (!pixels) return found;
    const int pitch = GetSpriteLockPitch() / 2;
    const uint16_t key = pixels[0];
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        if (pixels[y * pitch + x] != key) found.insert(pixels[y * pitch + x]);
    UnlockSprite(player_.textSprite, 0);
    return found;
  }

  // The 16-bit value the sprite stores for a colour.
  uint16_t Pixel(int r, int g, int b) {
    HOBJECT probe = 0;
    BeginSprite(0);
    SetSpriteBlankImage(1, 1, 1, 1, 1);
    probe = EndSprite(0);
    FillSprite(probe, 0, r, g, b);
    uint16_t value = *static_cast<uint16_t*>(LockSprite(probe, 0));
    UnlockSprite(probe, 0);
    DeleteSprite(probe);
    return value;
  }

  bool TextShown() { return LookupSprite(player_.textSprite)->visible != 0; }
  bool FrameShown() { return LookupNode(player_.frameNode)->visible != 0; }

  testsupport::ScopedWorkDir dir_;
  CTalkPlayer player_;
};

TEST_F(TalkWindowTest, InlineColoursAndShadowsReachTheGlyphs) {
  datagen::TalkWriter w;
  const auto green = NumberAttr("speakercolor", {0, 255, 0});
  const auto blue = NumberAttr("bgcolor", {0, 0, 255});
  w.Open("talk", {TextAttr("aname", "red"), green, blue});
  w.Sentence({}, "\\255,0,0CWW");
  w.Close();
  w.Open("talk", {TextAttr("aname", "reset"), green, blue});
  w.Sentence({}, "\\255,0,0C\\rCWW\\M");
  w.Close();
  w.Open("talk", {TextAttr("aname", "shadow"), green, blue, NumberAttr("opaque", {0.5f})});
  w.Sentence({}, "WW");
  w.Close();
  w.Open("talk", {TextAttr("aname", "noBorder"), green, blue, NumberAttr("opaque", {0.5f}), NumberAttr("border", {0})});
  w.Sentence({}, "WW");
  w.Close();
  Load(w);
  const uint16_t red = Pixel(255, 0, 0), white = Pixel(255, 255, 255), greenPx = Pixel(0, 255, 0),
                 bluePx = Pixel(0, 0, 255);
  const struct {
    const char* talk;
    std::set<uint16_t> expected;
  } cases[] = {
      {"red", {greenPx, red}},
      {"reset", {greenPx, white}},
      {"shadow", {greenPx, white, bluePx}},
      {"noBorder", {greenPx, white}},
  };
  for (const auto& c : cases) {
    player_.StartTalk(c.talk);
    ASSERT_EQ(player_.Update(), TALKSTATE_TYPING) << c.talk;
    EXPECT_EQ(Colours(), c.expected) << c.talk;
    EXPECT_TRUE(TextShown());
  }
}

TEST_F(TalkWindowTest, TheDefaultFrameSitsAtTheBottomWithOpaqueAlpha) {
  datagen::TalkWriter w;
  w.Open("talk", {TextAttr("aname", "t"), NumberAttr("opaque", {0.5f})});
  w.Sentence({}, "Hello");
  w.Close();
  Load(w);
  EXPECT_FALSE(FrameShown());
  player_.StartTalk("t");
  player_.Update();
  EXPECT_TRUE(FrameShown());
  int count = 0, frames = 0, floats = 0;
  MESHVERTEX* v = GetMeshVertices(player_.frameNode, &count, &frames, &floats);
  ASSERT_EQ(count, 4);
  float left = 1e9f, top = 1e9f, right = -1, bottom = -1;
  for (int i = 0; i < 4; ++i) {
    left = std::min(left, v[i].x), right = std::max(right, v[i].x);
    top = std::min(top, v[i].y), bottom = std::max(bottom, v[i].y);
    EXPECT_EQ(v[i].diffuse >> 24, 127u);
  }
  EXPECT_FLOAT_EQ(left, 1);
  EXPECT_FLOAT_EQ(top, 317);
  EXPECT_FLOAT_EQ(right, 564);
  EXPECT_FLOAT_EQ(bottom, 440);
}

TEST_F(TalkWindowTest, TypingTakesOneGlyphPerIntervalAndClicksHurryIt) {
  datagen::TalkWriter w;
  w.Open("talk", {TextAttr("aname", "slow"), NumberAttr("speed", {10})});
  w.Sentence({}, "abcdefghijklmnopqrst");
  w.Sentence({}, "next");
  w.Close();
  Load(w);
  player_.StartTalk("slow");
  ASSERT_EQ(player_.Update(), TALKSTATE_TYPING);
  const int header = player_.typedCount;
  EXPECT_EQ(header, 5) << "\"Hero:\" is typed at once";
  for (int tick = 1; tick <= 20; ++tick) {
    clock_->AdvanceSeconds(0.1);
    player_.Update();
    player_.Update();  // a second poll within the tick types nothing more
    EXPECT_EQ(player_.typedCount - header, tick);
  }
  EXPECT_EQ(player_.typedCount, player_.textLength);
  EXPECT_EQ(player_.state, TALKSTATE_TYPING);

  player_.StartTalk("slow");
  player_.Update();
  player_.OnClick(0, 0);
  EXPECT_EQ(player_.typedCount, player_.textLength);
  EXPECT_EQ(player_.state, TALKSTATE_TYPING);
  player_.OnClick(0, 0);
  EXPECT_EQ(player_.state, TALKSTATE_STEPPING);
  EXPECT_EQ(player_.Update(), TALKSTATE_TYPING);
  EXPECT_EQ(static_cast<CSentence*>(player_.current)->text, "next");
}

TEST_F(TalkWindowTest, FullPagesWaitAndVerticalWritingNeverFillsOne) {
  datagen::TalkWriter w;
  w.Open("talk", {TextAttr("aname", "pages")});
  w.Sentence({}, "a\\Nb\\Nc\\Nd\\Ne\\Nf\\Ng\\Nh\\P!");
  w.Close();
  w.Open("talk", {TextAttr("aname", "vertical"), NumberAttr("fontystep", {22}), NumberAttr("linexstep", {-25}),
                  NumberAttr("fontxstep", {0})});
  w.Sentence({}, std::string(200, 'v'));
  w.Close();
  Load(w);

  player_.StartTalk("pages");
  EXPECT_EQ(player_.Update(), TALKSTATE_PAGE_FULL);
  EXPECT_LT(player_.typedCount, player_.textLength);
  player_.OnKey(TALKKEY_RETURN);
  EXPECT_EQ(player_.state, TALKSTATE_TYPING);
  EXPECT_EQ(player_.Update(), TALKSTATE_HELD) << "the hold code";
  player_.OnClick(0, 0);
  EXPECT_EQ(player_.state, TALKSTATE_TYPING);
  player_.Update();
  EXPECT_EQ(player_.typedCount, player_.textLength);

  player_.StartTalk("vertical");
  EXPECT_EQ(player_.Update(), TALKSTATE_TYPING);
  EXPECT_EQ(player_.typedCount, player_.textLength);
}

TEST_F(TalkWindowTest, InlineCodesStayInsideTheText) {
  datagen::TalkWriter w;
  const char* texts[] = {"\\12,3", "ab\\", "\\\\x", "\\255,0,0", "end\xA4"};
  for (int i = 0; i < 5; ++i) {
    w.Open("talk", {TextAttr("aname", "t" + std::to_string(i))});
    w.Open("li");
    w.Text("x");
    w.Close();
    w.Close();
  }
  Load(w);
  // The texts are set directly: the markup would not carry every byte.
  for (int i = 0; i < 5; ++i) {
    player_.StartTalk("t" + std::to_string(i));
    auto* sentence = static_cast<CSentence*>(player_.current->GetChild(0));
    sentence->text = texts[i];
    ASSERT_EQ(player_.Update(), TALKSTATE_TYPING) << i;
    EXPECT_EQ(player_.typedCount, player_.textLength) << i;
    EXPECT_FALSE(Colours().empty()) << i;
  }
}

TEST_F(TalkWindowTest, MenusFollowTheMouseAndTheKeys) {
  datagen::TalkWriter w;
  w.Define({{"off", 0}}, {});
  w.Open("talk", {TextAttr("aname", "menu")});
  w.Open("li");
  w.Text("Which?");
  w.Open("ol");
  w.Sentence({}, "first");
  w.Sentence({}, "second");
  w.Sentence({TextAttr("if", "off")}, "hidden");
  w.Close();
  w.Close();
  w.Close();
  Load(w);

  player_.StartTalk("menu");
  ASSERT_EQ(player_.Update(), TALKSTATE_CHOOSING);
  ASSERT_EQ(player_.optionRects.size(), 2u);
  const OPTIONRECT second = player_.optionRects[1];
  EXPECT_LT(player_.optionRects[0].top, second.top);

  player_.MouseOver(second.right, second.bottom);
  EXPECT_EQ(player_.selectedOption, 1);
  player_.MouseOver(player_.optionRects[0].left, (player_.optionRects[0].top + player_.optionRects[0].bottom) / 2);
  EXPECT_EQ(player_.selectedOption, 0);

  const struct {
    int from, key, to;
  } keys[] = {
      {-1, TALKKEY_UP, 1}, {-1, TALKKEY_DOWN, 0}, {0, TALKKEY_UP, 1}, {1, TALKKEY_DOWN, 0}, {0, TALKKEY_DOWN, 1}};
  for (const auto& k : keys) {
    player_.selectedOption = k.from;
    player_.OnKey(k.key);
    EXPECT_EQ(player_.selectedOption, k.to) << k.from << " " << k.key;
  }

  {
    // A menu left with nothing enabled answers no key.
    const int enabled = player_.current->enabledCount;
    player_.current->enabledCount = 0;
    player_.selectedOption = -1;
    player_.OnKey(TALKKEY_DOWN);
    player_.OnKey(TALKKEY_UP);
    EXPECT_EQ(player_.selectedOption, -1);
    player_.current->enabledCount = enabled;
  }
  player_.selectedOption = 2;  // the enabled count: the disabled option's place
  player_.OnKey(TALKKEY_RETURN);
  EXPECT_EQ(player_.state, TALKSTATE_CHOOSING);
  player_.selectedOption = -1;
  player_.OnClick(0, 0);
  EXPECT_EQ(player_.state, TALKSTATE_CHOOSING);

  player_.Pause();
  EXPECT_FALSE(TextShown());
  EXPECT_EQ(player_.Update(), TALKSTATE_PAUSED);
  player_.selectedOption = 1;
  player_.OnKey(TALKKEY_DOWN);
  player_.OnKey(TALKKEY_RETURN);
  player_.MouseOver(player_.optionRects[0].left, player_.optionRects[0].top);
  EXPECT_EQ(player_.selectedOption, 1);
  EXPECT_EQ(player_.state, TALKSTATE_CHOOSING);
  player_.Resume();
  EXPECT_TRUE(TextShown());

  player_.OnKey(TALKKEY_RETURN);
  EXPECT_EQ(player_.state, TALKSTATE_STEPPING);
  EXPECT_EQ(player_.Update(), TALKSTATE_IDLE);
  EXPECT_FALSE(TextShown());
  EXPECT_FALSE(FrameShown());
}

TEST_F(TalkWindowTest, AChosenOptionIsDrawnInTheSelectedColourNextTime) {
  datagen::TalkWriter w;
  const auto plain = NumberAttr("fontcolor", {255, 255, 255});
  w.Open("talk", {TextAttr("aname", "menu"), NumberAttr("speakercolor", {0, 255, 0})});
  w.Open("li");
  w.Text("Q");
  w.Open("ol");
  w.Sentence({plain}, "A");
  w.Close();
  w.Close();
  w.Close();
  Load(w);
  const uint16_t chosen = Pixel(255, 50, 50);
  player_.StartTalk("menu");
  ASSERT_EQ(player_.Update(), TALKSTATE_CHOOSING);
  EXPECT_EQ(Colours().count(chosen), 0u);
  player_.Choose(0);
  EXPECT_EQ(player_.Update(), TALKSTATE_IDLE);
  player_.StartTalk("menu");
  ASSERT_EQ(player_.Update(), TALKSTATE_CHOOSING);
  EXPECT_EQ(Colours().count(chosen), 1u);
}

class TalkHostTest : public enginetest::EngineTest {
 protected:
  TalkHostTest() { EXPECT_EQ(Open(), 1); }
  // "resource/talk.pt" with one talk "t" of one sentence.
  static void WriteOneTalk() {
    datagen::TalkWriter w;
    w.Open("talk", {TextAttr("aname", "t")});
    w.Sentence({}, "one");
    w.Close();
    std::string error;
    ASSERT_TRUE(w.Write("resource/talk.pt", error)) << error;
  }
  testsupport::ScopedWorkDir dir_;
};

TEST_F(TalkHostTest, SysCallsAnswerNothingBeforeTheFirstLoad) {
  SetTalkSysProc(DefaultTalkSysProc);
  CTalkHost host(640, 480, [](SYSMODE, char*, int) { return SYSRESULT{0, 7, 0}; });
  char name[] = "MONEY";
  SYSRESULT r = g_talkSysProc(SYSMODE_GET, name, 0);
  EXPECT_EQ(r.type, 0);
  EXPECT_EQ(r.value, 0);
  EXPECT_EQ(r.value2, 0);
  EXPECT_EQ(host.Update(), 0);

  EXPECT_EQ(host.Load(std::string(400, 'n').c_str()), 0) << "a long name is only a missing file";
  EXPECT_EQ(g_talkSysProc(SYSMODE_GET, name, 0).value, 7) << "the host's own procedure, installed by the load";
  ASSERT_FALSE(host.player->errors.empty());
  EXPECT_EQ(host.player->errors[0].rfind("Open file resource/", 0), 0u);
  SetTalkSysProc(DefaultTalkSysProc);
}

TEST_F(TalkHostTest, RunsATalkAndShowsTheWindowOnceOnItsOwn) {
  WriteOneTalk();

  CTalkHost host(640, 480);
  EXPECT_EQ(host.lastState, TALKSTATE_IDLE);
  EXPECT_EQ(host.event, 0);
  ASSERT_EQ(host.Load("talk.pt"), 1);
  ASSERT_NE(host.StartTalk("t"), nullptr);
  EXPECT_EQ(host.talking, 1);
  EXPECT_EQ(host.Update(), 1);
  EXPECT_EQ(host.windowShown, 1);
  EXPECT_TRUE(LookupSprite(host.player->textSprite)->visible);
  host.ShowWindow(0, 0);
  EXPECT_EQ(host.Update(), 1);
  EXPECT_FALSE(LookupSprite(host.player->textSprite)->visible) << "shown once in the host's life";
  host.ShowWindow(1, 1);
  host.player->OnClick(0, 0);
  EXPECT_EQ(host.Update(), 0);
  EXPECT_EQ(host.lastState, TALKSTATE_IDLE);
  EXPECT_FALSE(LookupSprite(host.player->textSprite)->visible);
  EXPECT_FALSE(LookupNode(host.player->frameNode)->visible);

  EXPECT_EQ(host.StartTalk("nobody"), nullptr);
  EXPECT_EQ(host.Update(), 0);
  SetTalkSysProc(DefaultTalkSysProc);
}

TEST_F(TalkHostTest, AnUnknownTalkRunsUntilTheNextPollFindsThePlayerIdle) {
  WriteOneTalk();
  CTalkHost host(640, 480);
  ASSERT_EQ(host.Load("talk.pt"), 1);
  ASSERT_EQ(host.player->state, TALKSTATE_LOADED);
  EXPECT_EQ(host.StartTalk("nobody"), nullptr);
  EXPECT_EQ(host.talking, 1) << "runs until the next poll";
  EXPECT_EQ(host.player->Update(), TALKSTATE_IDLE) << "no talk: idle, not the state the load left";
  EXPECT_EQ(host.Update(), 0);
  EXPECT_EQ(host.talking, 0);
  EXPECT_EQ(host.lastState, TALKSTATE_IDLE);
  SetTalkSysProc(DefaultTalkSysProc);
}

}  // namespace
