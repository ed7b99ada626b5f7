// The built program played as a person plays it: under a private X server,
// through its window, with pointer and keys sent as real input (so the
// system's event path, pointer warps and relative motion are part of it), on
// both render paths. Every stage waits on the state the game writes to its
// state log; the frames seen on the screen are checked and kept as pictures.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "tests/realplay/game_run.h"
#include "tests/support/frame_png.h"
#include "tests/support/x_session.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_maps.h"

namespace realplay {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const fs::path kStartDirectory = fs::current_path();

// Where the sample world draws what a player clicks, in picture coordinates.
struct Box {
  int x, y, width, height;
  int CentreX() const { return x + width / 2; }
  int CentreY() const { return y + height / 2; }
};
constexpr Box kTitleButtons[] = {{38, 311, 136, 30}, {38, 348, 136, 30}, {38, 385, 136, 30}, {38, 422, 136, 30}};
constexpr int kNewGame = 0;
constexpr int kLoad = 1;
constexpr int kQuit = 3;
// Yes in the title's question.
constexpr int kTitleYes[2] = {285, 254};
// The talk player's state while it offers answers.
constexpr int kTalkChoosing = 2;
// The meadow's ground, below the dark strip along the horizon.
constexpr Box kGround = {0, 296, 640, 184};
// The open screen's kind (ui/screen_manager.h).
constexpr int kStartMenu = 1;
// The talk's first answer, and the cut-scene question's first answer.
constexpr int kTalkAnswer[2] = {70, 347};
constexpr int kCutSceneAnswer[2] = {100, 435};

// The game is in state (and scene).
auto In(std::string state, std::string scene = "") {
  return [state, scene](const GameState& s) {
    return s.Get("state") == state && (scene.empty() || s.Get("scene") == scene);
  };
}

// Pixels that differ between two pictures of one size.
int Differing(const Picture& a, const Picture& b) {
  int n = 0;
  for (size_t i = 0; i < a.rgb.size() && i < b.rgb.size(); ++i) n += a.rgb[i] != b.rgb[i];
  return n;
}

// Pixels inside the box that differ where neither picture shows a mote. The
// meadow's motes drift; lit, they are far redder than its ground (red at most
// 24) or sky.
int DifferingBesideMotes(const Picture& a, const Picture& b, const Box& area) {
  constexpr uint32_t kMoteRed = 64;
  int n = 0;
  for (int y = area.y; y < area.y + area.height; ++y)
    for (int x = area.x; x < area.x + area.width; ++x) {
      const uint32_t pa = a.At(x, y), pb = b.At(x, y);
      n += pa != pb && std::max(pa >> 16 & 0xFF, pb >> 16 & 0xFF) < kMoteRed;
    }
  return n;
}

int Colours(const Picture& p, int limit) {
  std::vector<uint32_t> seen;
  for (uint32_t c : p.rgb) {
    if (std::find(seen.begin(), seen.end(), c) == seen.end()) seen.push_back(c);
    if (static_cast<int>(seen.size()) >= limit) break;
  }
  return static_cast<int>(seen.size());
}

// The first block of size x size black pixels inside the box, or false.
bool FindBlackBlock(const Picture& p, const Box& area, int size, int* atX, int* atY) {
  for (int y = area.y; y + size <= area.y + area.height; y += size / 2)
    for (int x = area.x; x + size <= area.x + area.width; x += size / 2) {
      bool black = true;
      for (int dy = 0; dy < size && black; ++dy)
        for (int dx = 0; dx < size && black; ++dx) black = p.At(x + dx, y + dy) == 0;
      if (black) {
        *atX = x;
        *atY = y;
        return true;
      }
    }
  return false;
}

// The hero's turn, where the player has the battle in hand.
constexpr int kHeroTurn = 201;

bool InMenu(const GameState& s) { return s.Get("state") == "menu" && s.Int("windows") > 0; }
bool OnTitle(const GameState& s) { return s.Int("screen") == kStartMenu && s.Int("windows") > 0; }

class RealPlay : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const std::vector<std::string> missing = xtest::MissingXTools(false);
    if (!missing.empty()) {
      std::string names;
      for (const std::string& m : missing) names += " " + m;
      GTEST_SKIP() << "the real-input play needs" << names << " (tools/deps.sh installs them)";
    }
    world_ = fs::temp_directory_path() / ("tarnwick-realplay-" + std::to_string(::getpid()) + "-" + GetParam());
    fs::remove_all(world_);
    std::string error;
    ASSERT_TRUE(datagen::WriteSampleWorld(world_.string(), error)) << error;
  }
  // Starts the X session and the program: windowed on a bare server, or
  // full screen under a window manager.
  void Start(bool fullScreen) {
    if (fullScreen && !xtest::MissingXTools(true).empty())
      GTEST_SKIP() << "full screen is played under openbox, which is missing";
    x_ = std::make_unique<XSession>(fullScreen);
    ASSERT_EQ(x_->Error(), "");
    game_ = std::make_unique<GameRun>(*x_, world_.string(), GetParam(), !fullScreen);
  }
  void TearDown() override {
    game_.reset();
    x_.reset();
    std::error_code ignored;
    if (!HasFailure()) fs::remove_all(world_, ignored);
  }

  // What the game said and printed, for a failure's message.
  std::string History() const { return "state log:\n" + game_->History() + "program output:\n" + game_->Output(); }

  // Keeps the picture for a reviewer, as realplay-shots/<path>-<n>-<name>.png.
  void Keep(const Picture& picture, const std::string& name) {
    const fs::path shots = kStartDirectory / "realplay-shots";
    fs::create_directories(shots);
    char file[96];
    std::snprintf(file, sizeof file, "%s-%02d-%s.png", GetParam(), shot_++, name.c_str());
    EXPECT_TRUE(testsupport::WritePng((shots / file).string(), picture.width, picture.height, picture.rgb)) << file;
  }

  // Clicks the points in turn. Most clicks open or close a window, which
  // the log tells; a window just opened takes a moment before it answers.
  void ClickInTurn(std::initializer_list<std::pair<int, int>> points) {
    for (const auto& [x, y] : points) {
      game_->Pause(0.3);
      ASSERT_TRUE(game_->Click(x, y));
      game_->WaitForChange(1.5);
    }
  }

  // The title: its four buttons carry different words.
  void SeeTheTitle() {
    ASSERT_TRUE(game_->WaitFor(OnTitle, 30)) << History();
    ASSERT_TRUE(game_->FindWindow(10)) << History();
    const Picture title = game_->Grab();
    ASSERT_FALSE(title.rgb.empty());
    Keep(title, "title");
    for (int a = 0; a < 4; ++a) {
      const Box& box = kTitleButtons[a];
      const Picture face = title.Crop(box.x, box.y, box.width, box.height);
      EXPECT_GT(Colours(face, 3), 2) << "button " << a << " shows a word";
      for (int b = a + 1; b < 4; ++b) {
        const Box& other = kTitleButtons[b];
        EXPECT_GT(Differing(face, title.Crop(other.x, other.y, other.width, other.height)), 50)
            << "buttons " << a << " and " << b << " look the same";
      }
    }
  }

  // New game: the start script plays, then the hero stands in the village.
  void StartANewGame() {
    ASSERT_TRUE(game_->Click(kTitleButtons[kNewGame].CentreX(), kTitleButtons[kNewGame].CentreY()));
    ASSERT_TRUE(game_->WaitFor(In("script", "a004.SB"), 20)) << History();
    ASSERT_TRUE(game_->WaitFor(In("field", "a004.SB"), 30)) << History();
    Keep(game_->Grab(), "village");
  }

  // Walking east brings the hero to Mira, who stops him and talks; clicks
  // through the greeting, the first answer (it pays), the rest of the talk;
  // the cut-scene then holds on its own question, answered with the mouse.
  void TalkToMiraAndWatchTheOpening() {
    const int startMoney = game_->State().Int("money");
    ASSERT_TRUE(game_->MoveTo(320, 240));
    ASSERT_TRUE(game_->KeyDown("d"));
    const bool met = game_->WaitFor([](const GameState& s) { return s.Get("state") != "field"; }, 10);
    ASSERT_TRUE(game_->KeyUp("d"));
    ASSERT_TRUE(met) << History();
    ASSERT_TRUE(game_->WaitFor(In("talk"), 10)) << History();

    for (int click = 0; click < 10 && game_->State().Int("talk") != kTalkChoosing; ++click) {
      ASSERT_TRUE(game_->Click(320, 400));
      game_->WaitFor([](const GameState& s) { return s.Int("talk") == kTalkChoosing; }, 1.5);
    }
    ASSERT_EQ(game_->State().Int("talk"), kTalkChoosing) << "the question is asked\n" << History();
    Keep(game_->Grab(), "talk-question");
    ASSERT_TRUE(game_->MoveTo(kTalkAnswer[0], kTalkAnswer[1]));
    ASSERT_TRUE(game_->Click(kTalkAnswer[0], kTalkAnswer[1]));
    ASSERT_TRUE(game_->WaitFor([&](const GameState& s) { return s.Int("money") > startMoney; }, 5))
        << "the first answer pays\n"
        << History();
    for (int click = 0; click < 10 && game_->State().Get("state") == "talk"; ++click) {
      ASSERT_TRUE(game_->Click(320, 400));
      game_->WaitFor([](const GameState& s) { return s.Get("state") != "talk"; }, 1.5);
    }

    const int held = datagen::sample::kOpeningAskFrame + datagen::sample::kOpeningStopCount;
    ASSERT_TRUE(
        game_->WaitFor([&](const GameState& s) { return s.Get("state") == "script" && s.Int("cut") == held; }, 20))
        << History();
    // The answer is taken once the question is typed out, and the box marks
    // the answer under the pointer as the pointer moves: a person moves and
    // clicks again while nothing happens.
    for (int click = 0; click < 10 && game_->State().Get("state") == "script"; ++click) {
      if (click == 1) Keep(game_->Grab(), "cut-scene-question");
      ASSERT_TRUE(game_->MoveTo(kCutSceneAnswer[0] + click % 2, kCutSceneAnswer[1]));
      ASSERT_TRUE(game_->ClickHere());
      game_->WaitFor([](const GameState& s) { return s.Get("state") != "script"; }, 0.7);
    }
    ASSERT_TRUE(game_->WaitFor(In("battle"), 20)) << History();
    ASSERT_TRUE(game_->WaitFor([](const GameState& s) { return s.Int("phase") == kHeroTurn; }, 20)) << History();
  }

  // As the README tells it: turn the view with the mouse onto an enemy (the
  // pointer moved towards where it shows, or sideways while none shows),
  // walk up to it until it glows under the reticle, throw at it, strike
  // from one of its circles; again until no enemy stands.
  void FightByHand() {
    const auto end = Clock::now() + std::chrono::seconds(150);
    bool kept = false;
    while (game_->State().Get("battle") == "1/0" && Clock::now() < end) {
      int ex = -1, ey = -1;
      game_->State().Pair("enemy", &ex, &ey);
      int cx = -1, cy = -1;
      if (game_->State().Pair("circle", &cx, &cy) && cx >= 0) {
        if (!std::exchange(kept, true)) Keep(game_->Grab(), "battle-circles");
        ASSERT_TRUE(game_->Click(cx, cy));
      } else if (game_->State().Int("aim", -1) >= 0) {
        ASSERT_TRUE(game_->ClickHere());
      } else if (ex >= 0 && std::abs(ex - 320) < 24 && std::abs(ey - 240) < 40) {
        // Ahead but not glowing: too far for a throw, so walk up to it.
        ASSERT_TRUE(game_->KeyDown("w"));
        game_->Pause(0.3);
        ASSERT_TRUE(game_->KeyUp("w"));
      } else if (ex >= 0) {
        ASSERT_TRUE(game_->MoveBy(std::clamp((ex - 320) / 4, -12, 12), std::clamp((ey - 240) / 4, -12, 12)));
      } else {
        ASSERT_TRUE(game_->MoveBy(20, 0));
      }
      game_->WaitForChange(0.15);
    }
  }

  // The battle won by hand; the rewards are clicked away and the hero is
  // back in the village, richer.
  void WinTheStoryBattle() {
    const int moneyBefore = game_->State().Int("money");
    ASSERT_NO_FATAL_FAILURE(FightByHand());
    ASSERT_TRUE(game_->WaitFor([](const GameState& s) { return s.Get("battle").ends_with("/1"); }, 5))
        << "the story battle is won\n"
        << History();
    for (int click = 0; click < 20 && game_->State().Get("state") != "field"; ++click) {
      game_->WaitForChange(1.0);
      ASSERT_TRUE(game_->ClickHere());
    }
    ASSERT_TRUE(game_->WaitFor(In("field", "a004.SB"), 10)) << History();
    EXPECT_GT(game_->State().Int("money"), moneyBefore) << "the battle's reward\n" << History();
  }

  // South, then east through the portal into the meadow, in short taps so
  // the walker does not walk on into the meadow's wolves while it loads.
  void WalkIntoTheMeadow() {
    ASSERT_TRUE(game_->KeyDown("s"));
    game_->Pause(1.3);
    ASSERT_TRUE(game_->KeyUp("s"));
    for (int tap = 0; tap < 60 && game_->State().Get("scene") == "a004.SB"; ++tap) {
      ASSERT_TRUE(game_->KeyDown("d"));
      game_->Pause(0.2);
      ASSERT_TRUE(game_->KeyUp("d"));
      game_->Pause(0.1);
    }
    ASSERT_TRUE(game_->WaitFor(In("field", "e001.SB"), 10)) << History();
  }

  // Esc, then the menu's system tab.
  void OpenSystemPage() {
    ASSERT_TRUE(game_->Key("Escape"));
    ASSERT_TRUE(game_->WaitFor(InMenu, 5)) << History();
    ASSERT_NO_FATAL_FAILURE(ClickInTurn({{520, 417}}));
  }

  // Save and load, Save on the new slot's row (the list opens on it), OK to
  // the name, then the list's and the menu's close buttons.
  void SaveInANewSlot(int slot) {
    ASSERT_NO_FATAL_FAILURE(OpenSystemPage());
    ASSERT_NO_FATAL_FAILURE(ClickInTurn({{514, 290}, {39, 325}, {273, 152}, {520, 439}, {520, 439}}));
    ASSERT_TRUE(game_->WaitFor(In("field"), 10)) << History();
    char name[32];
    std::snprintf(name, sizeof name, "TWSave%02d.sav", slot);
    EXPECT_TRUE(fs::exists(world_ / "save" / name)) << History();
  }

  // The title's Quit, and Yes to its question, end the program well.
  void QuitFromTheTitle() {
    for (int click = 0; click < 5 && game_->State().Int("windows") == 1; ++click) {
      game_->Pause(0.3);
      ASSERT_TRUE(game_->Click(kTitleButtons[kQuit].CentreX(), kTitleButtons[kQuit].CentreY()));
      game_->WaitForChange(1);
    }
    ASSERT_NO_FATAL_FAILURE(ClickInTurn({{kTitleYes[0], kTitleYes[1]}}));
    EXPECT_EQ(game_->WaitForEnd(15), 0) << History();
  }

  fs::path world_;
  std::unique_ptr<XSession> x_;
  std::unique_ptr<GameRun> game_;
  int shot_ = 0;
};

TEST_P(RealPlay, FromTheTitleThroughTheOpeningToADefeatAndBack) {
  ASSERT_NO_FATAL_FAILURE(Start(false));
  ASSERT_NO_FATAL_FAILURE(SeeTheTitle());
  ASSERT_NO_FATAL_FAILURE(StartANewGame());
  ASSERT_NO_FATAL_FAILURE(SaveInANewSlot(0));
  const int savedMoney = game_->State().Int("money");
  ASSERT_NO_FATAL_FAILURE(TalkToMiraAndWatchTheOpening());
  Keep(game_->Grab(), "story-battle");

  // Esc gives the battle up: the game is over, then the title comes back.
  ASSERT_TRUE(game_->Key("Escape"));
  ASSERT_TRUE(game_->WaitFor(In("gameover"), 10)) << History();
  Keep(game_->Grab(), "game-over");
  ASSERT_TRUE(game_->WaitFor(OnTitle, 20)) << History();

  // The title's Load: the saved row, Load, and Yes to the question.
  game_->Pause(0.4);
  ASSERT_TRUE(game_->Click(kTitleButtons[kLoad].CentreX(), kTitleButtons[kLoad].CentreY()));
  ASSERT_NO_FATAL_FAILURE(ClickInTurn({{100, 71}, {172, 330}, {272, 250}}));
  ASSERT_TRUE(game_->WaitFor(In("field", "a004.SB"), 15)) << History();
  EXPECT_EQ(game_->State().Int("money"), savedMoney) << "the saved game, before the talk paid\n" << History();

  // The system page's Quit, Yes, and the title's Quit end the program.
  ASSERT_NO_FATAL_FAILURE(OpenSystemPage());
  ASSERT_NO_FATAL_FAILURE(ClickInTurn({{557, 321}, {285, 193}}));
  ASSERT_TRUE(game_->WaitFor(OnTitle, 10)) << History();
  ASSERT_NO_FATAL_FAILURE(QuitFromTheTitle());
}

// Full screen under a window manager: the picture fills the screen, scaled
// with its shape kept, takes clicks where it shows them, and Alt+F4 ends it.
TEST_P(RealPlay, FullScreenFillsTheScreenAndTakesClicks) {
  ASSERT_NO_FATAL_FAILURE(Start(true));
  ASSERT_NO_FATAL_FAILURE(SeeTheTitle());
  int sx = 0, sy = 0, right = 0, bottom = 0;
  game_->ToScreen(0, 0, &sx, &sy);
  game_->ToScreen(639, 479, &right, &bottom);
  EXPECT_LE(sx, 1);
  EXPECT_LE(sy, 1);
  EXPECT_GE(right, XSession::kScreenWidth - 2);
  EXPECT_GE(bottom, XSession::kScreenHeight - 2);
  ASSERT_NO_FATAL_FAILURE(StartANewGame());
  ASSERT_TRUE(game_->Key("alt+F4"));
  EXPECT_EQ(game_->WaitForEnd(15), 0) << History();
}

// The whole story as a person plays it, the story battle won with the mouse,
// and the meadow looked at while the hero stands in it.
TEST_P(RealPlay, FromTheTitleToTheEndWithTheStoryBattleWonByHand) {
  ASSERT_NO_FATAL_FAILURE(Start(false));
  ASSERT_NO_FATAL_FAILURE(SeeTheTitle());
  ASSERT_NO_FATAL_FAILURE(StartANewGame());
  ASSERT_NO_FATAL_FAILURE(TalkToMiraAndWatchTheOpening());
  ASSERT_NO_FATAL_FAILURE(WinTheStoryBattle());
  const int moneyWon = game_->State().Int("money");
  ASSERT_NO_FATAL_FAILURE(SaveInANewSlot(0));
  ASSERT_NO_FATAL_FAILURE(WalkIntoTheMeadow());

  // Nothing but the motes moves over the ground once the hero stands and the
  // place's name has gone (the hero's head may still bob above it): two
  // frames a while apart show the same ground beside the motes, and no black
  // holes.
  game_->Pause(3);
  const Picture meadow = game_->Grab();
  game_->Pause(0.5);
  const Picture again = game_->Grab();
  Keep(meadow, "meadow");
  Keep(again, "meadow-again");
  EXPECT_EQ(DifferingBesideMotes(meadow, again, kGround), 0) << "the still meadow changed between frames";
  for (const Picture* frame : {&meadow, &again}) {
    int holeX = 0, holeY = 0;
    EXPECT_FALSE(FindBlackBlock(*frame, kGround, 8, &holeX, &holeY)) << "a black hole at " << holeX << "," << holeY;
  }

  // Loaded from the menu: save and load, the saved row, Load, Yes.
  ASSERT_NO_FATAL_FAILURE(OpenSystemPage());
  ASSERT_NO_FATAL_FAILURE(ClickInTurn({{514, 290}, {100, 71}, {172, 330}, {272, 250}}));
  ASSERT_TRUE(game_->WaitFor(In("field", "a004.SB"), 15)) << History();
  EXPECT_EQ(game_->State().Int("money"), moneyWon) << History();

  // The system page's Quit, Yes, and the title's Quit end the program.
  ASSERT_NO_FATAL_FAILURE(OpenSystemPage());
  ASSERT_NO_FATAL_FAILURE(ClickInTurn({{557, 321}, {285, 193}}));
  ASSERT_TRUE(game_->WaitFor(OnTitle, 10)) << History();
  Keep(game_->Grab(), "title-again");
  ASSERT_NO_FATAL_FAILURE(QuitFromTheTitle());
}

INSTANTIATE_TEST_SUITE_P(RenderPaths, RealPlay, ::testing::Values("h", "s"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param[0] == 'h' ? "Device" : "Software");
                         });

}  // namespace
}  // namespace realplay
