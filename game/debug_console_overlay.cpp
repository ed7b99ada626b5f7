// What the console draws over every frame in cheat mode: the line being
// typed, a running message and the readouts the commands switch on.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "battle/battle_interface.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "engine/core/engine_queries.h"
#include "engine/media/sprites.h"
#include "game/debug_console.h"
#include "game/encounter_table.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "game/pick_manager.h"
#include "platform/time.h"
#include "world/game_camera.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_npc.h"

namespace {

constexpr float kDegreesPerRadian = 180 / 3.1415927f;

// The character the walker is talking to or walking up to.
const NPCDESC* PickedNpc(const CGame& g) {
  const CSceneContent* content = g.scene ? g.scene->content.get() : nullptr;
  const int at = g.pick ? g.pick->target : -1;
  if (!content || at < 0 || at >= static_cast<int>(content->people.size())) return nullptr;
  return content->people[static_cast<size_t>(at)]->npc;
}

}  // namespace

void CDebugConsole::ShowMessage(int set, const char* format, ...) {
  if (set) {
    va_list args;
    va_start(args, format);
    char text[256];
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    message = text;
    messageTimer = kMessageFrames;
  }
  Draw(260, 460, message, (messageTimer * 4 + 15) & 0xFF, 0, 0);
  --messageTimer;
}

void CDebugConsole::Draw(int x, int y, const std::string& text, int red, int green, int blue) {
  overlay.push_back({x, y, text, red, green, blue});
  if (!textSprite) {
    BeginSprite(0);
    SetSpriteBlankImage(1, 1, 1, 640, 480);
    textSprite = EndSprite(0);
    if (!textSprite) return;
    SetSpriteColorKey(textSprite, 0, 0, 0, 1);
    ShowSprite(textSprite, 0);
  }
  FillSprite(textSprite, 0, 0, 0, 0);
  DrawSpriteText(textSprite, 0, x, y, text.c_str(), red, green, blue);
  DrawSpriteOnto(textSprite, 0);
}

void CDebugConsole::DrawOverlay() {
  overlay.clear();
  if (!cheatMode) return;
  CGame& g = *game;
  if (lineLength) Draw(5, 460, line, 255, 255, 255);
  if (showFrameRate) {
    if (frameCount == 0 || frameCount >= 150) {
      frameCount = 0;
      frameStart = static_cast<double>(plat::QueryCounter()) / static_cast<double>(plat::QueryFrequency());
    }
    ++frameCount;
    const double elapsed =
        static_cast<double>(plat::QueryCounter()) / static_cast<double>(plat::QueryFrequency()) - frameStart;
    if (elapsed > 1.0) {
      int triangles = 0, primitives = 0, vertices = 0;
      GetFrameStatistics(&triangles, &primitives, &vertices);
      char text[64];
      std::snprintf(text, sizeof text, "F%5.2f P%d V%d", frameCount / elapsed, primitives, vertices);
      Draw(5, 5, text, 0, 0, 255);
    }
  }
  if (showSceneName && g.scene) Draw(5, 20, g.scene->sceneName, 0, 255, 0);
  if (messageTimer > 0) ShowMessage(0, "%s", "");
  if (showNpcName && (g.state == GS_TALK || g.state == GS_APPROACH_NPC)) {
    if (const NPCDESC* npc = PickedNpc(g)) Draw(5, 32, npc->Label() + " " + npc->Name(), 0, 255, 0);
  }
  if (showFoeName && g.state == GS_BATTLE && g.encounters) {
    for (int i = 0; i < g.encounters->groupSize; ++i) {
      const CGDEnemySoul* foe = g_gameDataBase.FindEnemy(g.encounters->group[static_cast<size_t>(i)]);
      if (foe) Draw(400, 10 + 20 * i, std::to_string(foe->id) + " " + foe->name, 0, 255, 0);
    }
  }
  if (displayFlags & 1 && g.state == GS_SCRIPT && g.events) {
    if (const EVENTDESC* event = g.events->Event(g.events->scriptEventIndex)) Draw(80, 20, event->name, 0, 0, 255);
  }
  if (displayFlags & 2 && g.state == GS_FIELD && g.walker) DrawPositions();
  g_battleInterface.DrawDebug(0);
}

void CDebugConsole::DrawPositions() {
  CGame& g = *game;
  VECTOR3 position{0, 0, 0}, direction{0, 1, 0};
  if (g.walker->creature) g.walker->GetPosition(&position, &direction);
  VECTOR3 eye{0, 0, 0};
  const CGameCamera* camera = g.scene ? g.scene->camera : nullptr;
  if (camera) camera->GetPositionAndDirection(&eye, nullptr);
  const float distance = camera ? camera->orbitDistance : 0;
  const float pitch = camera ? camera->pitch * kDegreesPerRadian : 0;
  const float yaw = camera ? camera->orbitYaw * kDegreesPerRadian : 0;
  char text[64];
  std::snprintf(text, sizeof text, "Man:%4.1f %4.1f %4.1f", position.x, position.y, position.z);
  Draw(450, 2, text, 0, 255, 0);
  std::snprintf(text, sizeof text, "Cam:%4.1f %4.1f %4.1f", eye.x, eye.y, eye.z);
  Draw(450, 22, text, 0, 255, 0);
  std::snprintf(text, sizeof text, "R: %4.1f", distance);
  Draw(450, 42, text, 0, 255, 0);
  std::snprintf(text, sizeof text, "Pose: %d", g.walker->action);
  Draw(450, 62, text, 0, 255, 0);
  std::snprintf(text, sizeof text, "XA: %4.2f ZA: %4.2f", pitch, yaw);
  Draw(450, 82, text, 0, 255, 0);
  std::snprintf(text, sizeof text, "Mouse: X:%d Y:%d", g.mouse.x, g.mouse.y);
  Draw(450, 102, text, 0, 255, 0);
}
