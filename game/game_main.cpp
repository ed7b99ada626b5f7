#include "game/game_main.h"

#include <cstdio>
#include <string>

#include "base/game_globals.h"
#include "database/game_resource.h"
#include "engine/core/device_setup.h"
#include "engine/core/engine_queries.h"
#include "engine/core/lifecycle.h"
#include "engine/core/main_loop.h"
#include "engine/media/data_directories.h"
#include "game/game.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/instance.h"
#include "platform/message_box.h"

namespace {

constexpr const char* kProductName = "Tarnwick";
constexpr const char* kVersionText = "Vf 1.02";

// This process's claim to be the running copy, held until EndGame.
int g_copyClaim = plat::kNoCopyLock;

// Whether this start is the running copy: none other holds the claim and no
// window of the title is open (this process's own game still showing one
// counts too). Claiming and testing are one step, so two copies started at
// the same moment cannot both pass.
bool BecomeTheRunningCopy(const char* title) {
  if (g_copyClaim < 0) {
    const int claim = plat::ClaimProgramCopy(title);
    if (claim == plat::kCopyRunning) return false;
    g_copyClaim = claim;
  }
  return !plat::FindWindowByTitle(title);
}

// TARNWICK_WINDOWED=1 plays in a window instead of full screen.
int FullScreenWanted() { return plat::WantsWindowed() ? 0 : 1; }

// Started in a folder without the game's data, the game would show a black
// window and wait: tell where it looked and for what instead.
bool DataFound() {
  const std::string resource = CGameResource::PathOf(CGame::kResourceName);
  if (plat::FileExists(resource)) return true;
  plat::ShowMessageBox(kProductName, "The game's data was not found in " + plat::FullPathText(".") + ".\nIt needs " +
                                         plat::FullPathText(resource) +
                                         ".\nStart the game in the folder that holds its data.");
  return false;
}

}  // namespace

void SetDataFolders() {
  SetTextureDirectory(".\\texture");
  SetSceneDirectory(".\\scenes");
  SetCreatureDirectory(".\\creature");
  SetImageDirectory(".\\image");
  SetSoundDirectory(".\\waves");
  SetOverrideDirectory(".\\extra");
}

int StartGame(int argc, char** argv) {
  char title[52];
  std::snprintf(title, sizeof title, "%s %s", kProductName, kVersionText);
  if (!BecomeTheRunningCopy(title)) {
    std::fprintf(stderr, "tarnwick: %s is already running; this copy ends\n", kProductName);
    return 0;
  }

  g_hardwareRendering = DetectHardware3D(nullptr);
  char choice = argc >= 2 && argv[1] ? argv[1][0] : 'H';
  if (choice == 'H' || choice == 'h') {
    g_hardwareRendering = 1;
    SetRenderMode(1);
  } else if (choice == 'S' || choice == 's') {
    g_hardwareRendering = 0;
    SetRenderMode(0);
  }
  SelectDisplayDevice(1);
  EnableCDAudio(0);
  OpenEngine(FullScreenWanted(), title, 640, 480, 16);
  if (g_hardwareRendering) {
    uint32_t free = GetFreeTextureMemory();
    // The flag is an int; a larger figure still means "plenty".
    g_hardwareRendering = free == 0 ? 1 : free > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(free);
  } else {
    SetLineDoubling(1, 0);
  }
  SetDataFolders();
  g_game = new CGame(argc, argv);
  g_game->PlayMovie("starting");
  g_game->Run();
  return 1;
}

void EndGame() {
  delete g_game;
  g_game = nullptr;
  plat::ReleaseProgramCopy(g_copyClaim);
  g_copyClaim = plat::kNoCopyLock;
}

int GameMain(int argc, char** argv) {
  if (DataFound() && StartGame(argc, argv)) {
    RunMainLoop(1);
    EndGame();
  }
  return 0;
}
