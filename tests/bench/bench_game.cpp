// The game as a player meets it, on the generated sample world, on the
// device and the software path: start-up to the first title frame, one field
// frame of the village, one frame of the story's battle, the change from the
// village to the meadow, and the peak resident memory of a play-through.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "database/system_config.h"
#include "engine/core/engine_state.h"
#include "engine/core/engine_window.h"
#include "engine/core/lifecycle.h"
#include "engine/core/main_loop.h"
#include "game/field_input.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "game/game_main.h"
#include "platform/display.h"
#include "platform/time.h"
#include "platform/window.h"
#include "talk/talk_host.h"
#include "talk/talk_player.h"
#include "tests/bench/engine_bench_main.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_maps.h"
#include "world/automap_panel.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_environment.h"

namespace {

std::filesystem::path g_worldDir;

void RemoveSampleWorld() {
  std::error_code ignored;
  std::filesystem::remove_all(g_worldDir, ignored);
}

// The sample world written once into a folder of its own, made the working
// directory and removed at exit. The opening movie is left out: it plays its
// own length. The folder is also the runtime folder, so that a game running
// elsewhere on the machine does not count as a running copy.
bool EnterSampleWorld() {
  static const bool written = [] {
    g_worldDir = std::filesystem::temp_directory_path() / ("tarnwick-bench-world-" + std::to_string(::getpid()));
    std::filesystem::create_directories(g_worldDir);
    std::atexit(RemoveSampleWorld);
    std::string error;
    if (!datagen::WriteSampleWorld(g_worldDir.string(), error)) return false;
    std::filesystem::remove(g_worldDir / "starting.avi");
    std::filesystem::current_path(g_worldDir);
    return ::setenv("XDG_RUNTIME_DIR", g_worldDir.c_str(), 1) == 0;
  }();
  return written;
}

void EndAll() {
  EndGame();
  plat::SetClock(nullptr);
  CloseEngine(1);
  if (g_mainWindow && plat::IsWindow(g_mainWindow)) plat::DestroyWindow(g_mainWindow);
  g_mainWindow = 0;
  SetQuitFlag(0);
  plat::ClearMessageQueue();
}

void BM_StartUpToTitleFrame(benchmark::State& state) {
  if (!EnterSampleWorld()) {
    state.SkipWithError("the sample world cannot be written");
    return;
  }
  std::string renderer = state.range(0) ? "h" : "s";
  std::vector<char*> argv = {const_cast<char*>("tarnwick"), renderer.data()};
  // Frames are counted as presented, with or without a display to show them.
  plat::CapturePresentedFrames(true);
  int passes = 0;
  for (auto _ : state) {
    if (StartGame(2, argv.data()) != 1) {
      state.SkipWithError("the game does not start");
      break;
    }
    const int shown = plat::LastPresentedFrame().count;
    for (int pass = 0; pass < 100 && plat::LastPresentedFrame().count == shown; ++pass, ++passes) RunMainLoopPass(1);
    state.PauseTiming();
    if (!g_game || g_game->state != GS_MENU || plat::LastPresentedFrame().count == shown)
      state.SkipWithError("no title frame");
    EndAll();
    state.ResumeTiming();
  }
  plat::CapturePresentedFrames(false);
  state.counters["passes"] = benchmark::Counter(passes, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StartUpToTitleFrame)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(5);

// The game on the test clock: every pass of the main loop comes 1/30 s after
// the last, so each one ticks the game once and draws one frame.
plat::TestClock g_clock;

void Pass(int k = 1) {
  for (int i = 0; i < k; ++i) {
    g_clock.AdvanceSeconds(1.0 / 30);
    RunMainLoopPass(1);
  }
}

// Passes while the state is not `wanted`; false when it never came.
bool PassUntil(int wanted, int most = 300) {
  for (int i = 0; i < most && g_game && g_game->state != wanted; ++i) Pass();
  return g_game && g_game->state == wanted;
}

// Passes that let the scene's fade-in end, so the frames measured are the
// field's own.
constexpr int kSettle = 30;

// A new game on the given path, in the sample world of the working
// directory, through its start script into the village.
bool StartGameInTheVillage(const char* renderer) {
  plat::SetClock(&g_clock);
  std::vector<char*> argv = {const_cast<char*>("tarnwick"), const_cast<char*>(renderer)};
  if (StartGame(2, argv.data()) != 1 || !PassUntil(GS_MENU)) return false;
  g_game->OnScreenResult(SR_NEW_GAME);
  return PassUntil(GS_FIELD) && g_game->scene && g_game->scene->sceneName == "a004.SB";
}

// A new game on the benchmark's path (argument 1 the device, 0 the software
// path) in the village; false, with the error told, when it does not get there.
bool StartInTheVillage(benchmark::State& state) {
  if (EnterSampleWorld() && StartGameInTheVillage(state.range(0) ? "h" : "s")) return true;
  state.SkipWithError("the game does not reach the village");
  EndAll();
  return false;
}

// The hero walks forward `leg` frames, then back as long, and so on; called
// for every frame.
void WalkBackAndForth(int frame, int leg) {
  if (frame % leg) return;
  const uint8_t keys[2] = {g_game->config->keyForward, g_game->config->keyBack};
  const int now = (frame / leg) % 2;
  OnGameKey(keys[1 - now], 0);
  OnGameKey(keys[now], 1);
}

void StopWalking() {
  OnGameKey(g_game->config->keyForward, 0);
  OnGameKey(g_game->config->keyBack, 0);
}

// The village as the player sees it on the field: the hero walking back and
// forth north of the start, the NPCs at their routines, the village's fog,
// creature shadows on the device path, the automap panel shown.
void BM_FieldFrame(benchmark::State& state) {
  if (!StartInTheVillage(state)) return;
  CGame& g = *g_game;
  g.CycleAutomap();
  Pass(kSettle);
  const CSceneEnvironment* environment = g.scene->content ? g.scene->content->environment.get() : nullptr;
  if (!g.scene->automap || !environment || !environment->fogDensity) {
    state.SkipWithError("the village lacks its automap or fog");
    EndAll();
    return;
  }
  int frame = 0, leftField = 0;
  VECTOR3 first{0, 0, 0}, at{0, 0, 0};
  g.walker->GetPosition(&first, nullptr);
  float farthest = 0;
  for (auto _ : state) {
    WalkBackAndForth(frame, 45);
    Pass();
    ++frame;
    if (g.state != GS_FIELD) ++leftField;
    g.walker->GetPosition(&at, nullptr);
    farthest = std::max(farthest, std::abs(at.y - first.y) + std::abs(at.x - first.x));
  }
  state.counters["walked"] = farthest;
  state.counters["automap"] = g.automapMode != 2;
  state.counters["shadows"] = g.config->shadows && !g.config->softwareRendering;
  if (leftField) state.SkipWithError("the game left the field");
  StopWalking();
  EndAll();
}
BENCHMARK(BM_FieldFrame)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// The story's battle in the village as the player first sees it: the hero
// and the boss's enemies on the arena with their shadows, the battle's
// interface over them; nobody is given an order, so the passes measured are
// the fight's opening seconds.
void BM_BossBattleFrame(benchmark::State& state) {
  if (!StartInTheVillage(state)) return;
  CGame& g = *g_game;
  g.StartBattle(1, datagen::sample::kBossId);
  Pass(kSettle);
  int leftBattle = 0;
  for (auto _ : state) {
    Pass();
    if (g.state != GS_BATTLE) ++leftBattle;
  }
  state.counters["shadows"] = g.config->shadows && !g.config->softwareRendering;
  if (leftBattle) state.SkipWithError("the battle ended while measured");
  EndAll();
}
BENCHMARK(BM_BossBattleFrame)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond)->Iterations(240);

bool InScene(const char* name) { return g_game->scene && g_game->scene->sceneName == name; }

// Inside the village's portal to the meadow, facing it.
constexpr VECTOR3 kVillagePortal{560, -300, 0}, kEast{1, 0, 0};

// The hero steps into the village's portal: the meadow is loaded and the game
// passes frames until it is back on the field. Between runs (not timed) the
// hero goes back to the village the way events send him.
void BM_SceneChangeVillageToMeadow(benchmark::State& state) {
  if (!StartInTheVillage(state)) return;
  CGame& g = *g_game;
  int passes = 0, runs = 0;
  for (auto _ : state) {
    g.PlaceWalker(&kVillagePortal, &kEast, g.scene->GetTerrain());
    g.OnWalkerMoved(1);
    for (; g.state != GS_FIELD && passes < 300 * (runs + 1); ++passes) Pass();
    ++runs;
    state.PauseTiming();
    const bool arrived = InScene("e001.SB") && g.state == GS_FIELD;
    g.GoToSceneIndex(datagen::sample::kVillageRow - 1, 2);
    const bool back = PassUntil(GS_FIELD) && InScene("a004.SB");
    state.ResumeTiming();
    if (!arrived || !back) {
      state.SkipWithError(arrived ? "the hero does not get back to the village" : "the meadow is not entered");
      break;
    }
  }
  state.counters["passes"] = benchmark::Counter(passes, benchmark::Counter::kAvgIterations);
  EndAll();
}
BENCHMARK(BM_SceneChangeVillageToMeadow)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The play-through a child process runs: title, new game, a walk, the talk
// with Mira (its events play the opening and start the boss battle), the
// portal to the meadow and a walk there until a random battle. Each stage
// is bounded in passes; the exit code holds a bit for every stage reached.
enum PlayStage { kTitle = 1, kField = 2, kTalk = 4, kBattle = 8, kMeadow = 16, kMeadowBattle = 32 };
constexpr const char* kPlayThrough = "--play-through";
constexpr int kEsc = 0x1B;

// One pass, as a player answers a talk: clicking through its text and
// taking the second answer of a choice.
void PlayPass() {
  if (CTalkPlayer* talk = g_game->talk ? g_game->talk->player.get() : nullptr) {
    if (talk->state == TALKSTATE_TYPING) talk->OnClick(0, 0);
    if (talk->state == TALKSTATE_CHOOSING) {
      talk->OnKey(TALKKEY_DOWN);
      talk->OnKey(TALKKEY_RETURN);
    }
  }
  Pass();
}

int PlayThrough(const char* renderer, const char* world) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  LoadEngineCursors();
  RegisterEngineWindowClass();
  std::error_code error;
  std::filesystem::current_path(world, error);
  int reached = 0;
  if (error || !StartGameInTheVillage(renderer)) {
    EndAll();
    return reached;
  }
  reached |= kTitle | kField;
  CGame& g = *g_game;
  const uint8_t forward = g.config->keyForward;
  OnGameKey(forward, 1);
  Pass(30);
  OnGameKey(forward, 0);

  // Mira stands at (-150, -200); the hero comes up to her from the south.
  const VECTOR3 nearMira{-150, -250, 0}, north{0, 1, 0};
  g.PlaceWalker(&nearMira, &north, g.scene->GetTerrain());
  g.OnWalkerMoved(1);
  for (int i = 0; i < 300 && g.state != GS_TALK && g.state != GS_BATTLE; ++i) PlayPass();
  if (g.state == GS_TALK) reached |= kTalk;
  for (int i = 0; i < 3000 && g.state != GS_FIELD; ++i) {
    if (g.state == GS_BATTLE) reached |= kBattle;
    if (g.state == GS_MENU) g.OnScreenResult(SR_NEW_GAME);
    // The opening waits for a question of its own to be answered: after
    // ten seconds of it the player skips it.
    if (g.state == GS_SCRIPT && i > 300) OnScriptEsc(kEsc, 1);
    PlayPass();
  }
  if (g.state != GS_FIELD) {
    EndAll();
    return reached;
  }

  g.PlaceWalker(&kVillagePortal, &kEast, g.scene->GetTerrain());
  g.OnWalkerMoved(1);
  PassUntil(GS_FIELD);
  if (InScene("e001.SB")) reached |= kMeadow;
  for (int i = 0; i < 1200 && g.state != GS_BATTLE; ++i) {
    WalkBackAndForth(i, 40);
    Pass();
  }
  StopWalking();
  if (g.state == GS_BATTLE) reached |= kMeadowBattle;
  for (int i = 0; i < 900 && g.state == GS_BATTLE; ++i) PlayPass();
  EndAll();
  return reached;
}

// Peak resident memory of a process that plays the sample world, in a fresh
// process so that nothing of the other benchmarks counts.
void BM_PlayThroughPeakMemory(benchmark::State& state) {
  if (!EnterSampleWorld()) {
    state.SkipWithError("the sample world cannot be written");
    return;
  }
  const std::string world = std::filesystem::current_path().string();
  std::string renderer = state.range(0) ? "h" : "s";
  std::vector<char*> argv = {const_cast<char*>("bench_game"), const_cast<char*>(kPlayThrough), renderer.data(),
                             const_cast<char*>(world.c_str()), nullptr};
  long peakKb = 0;
  int reached = 0;
  for (auto _ : state) {
    pid_t child = 0;
    if (posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("the play-through cannot be started");
      break;
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status)) {
      state.SkipWithError("the play-through did not end");
      break;
    }
    peakKb = std::max(peakKb, usage.ru_maxrss);
    reached = WEXITSTATUS(status);
  }
  state.counters["peakMB"] = static_cast<double>(peakKb) / 1024;
  state.counters["stages"] = reached;
  constexpr int kAll = kTitle | kField | kTalk | kBattle | kMeadow | kMeadowBattle;
  if (reached != kAll) state.SkipWithError(("the play-through reached only stages " + std::to_string(reached)).c_str());
}
BENCHMARK(BM_PlayThroughPeakMemory)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

// With kPlayThrough the program plays instead (see BM_PlayThroughPeakMemory).
int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], kPlayThrough) == 0) return PlayThrough(argv[2], argv[3]);
  return RunEngineBenchmarks(argc, argv);
}
