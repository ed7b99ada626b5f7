#include "game/state_report.h"

#include <cstdio>
#include <string>

#include "battle/battle_sys.h"
#include "battle/f_enemy.h"
#include "battle/hero_states.h"
#include "battle/tarnwick.h"
#include "cutscene/cut_scene.h"
#include "cutscene/cut_scene_player.h"
#include "database/game_database.h"
#include "engine/core/picking.h"
#include "game/game.h"
#include "platform/state_log.h"
#include "talk/talk_host.h"
#include "ui/am_wnd_manager.h"
#include "ui/screen_manager.h"
#include "world/map_scene.h"

namespace {

const char* StateName(int state) {
  switch (state) {
    case GS_APPROACH_NPC: return "approach";
    case GS_FIELD: return "field";
    case GS_BATTLE: return "battle";
    case GS_MINIGAME: return "minigame";
    case GS_SCRIPT: return "script";
    case GS_TALK: return "talk";
    case GS_MENU: return "menu";
    case GS_QUIT: return "quit";
    case GS_ENDING: return "ending";
    case GS_GAMEOVER: return "gameover";
    case GS_AREA_CHANGE: return "areachange";
    case GS_WORLD_MAP: return "worldmap";
    case GS_SETTLE: return "settle";
    case GS_CLOSEUP_IN: return "closeupin";
    case GS_CLOSEUP: return "closeup";
    case GS_CLOSEUP_OUT: return "closeupout";
    default: return "unknown";
  }
}

// Where the first standing enemy in view shows, at the middle of its hit
// points; false when none shows.
bool EnemyInView(CBattleSys* sys, int* x, int* y) {
  for (int i = 0; i < sys->enemyCount; ++i) {
    CFEnemy* enemy = sys->enemies[i];
    if (!enemy || !enemy->body || (enemy->flags & CMasterState::kOutOfFight)) continue;
    VECTOR3 points[CUIManager::kSmallCircles] = {};
    enemy->body->GetHitPoints(points, 0xFFFF);
    VECTOR3 middle{0, 0, 0};
    constexpr float kPoints = CUIManager::kSmallCircles;
    for (const VECTOR3& p : points)
      middle = {middle.x + p.x / kPoints, middle.y + p.y / kPoints, middle.z + p.z / kPoints};
    VECTOR3 screen{0, 0, 0};
    if (!ProjectToScreen(0, &middle, &screen, 2, 0)) continue;
    *x = static_cast<int>(screen.x);
    *y = static_cast<int>(screen.y);
    return true;
  }
  return false;
}

// What the battle shows a player: the phase, the enemy glowing under the
// reticle, how many stand, where one shows, and where the first direction
// circle is.
std::string BattleView(CBattleSys* sys) {
  int enemyX = -1, enemyY = -1;
  EnemyInView(sys, &enemyX, &enemyY);
  int circleX = -1, circleY = -1;
  for (int i = 0; i < CUIManager::kCircles && circleX < 0; ++i) {
    const qmz::CSpButton& circle = sys->hud.Circle(i);
    if (!(circle.State() & qmz::CSpriteWnd::kVisible)) continue;
    circleX = circle.X() + circle.Width() / 2;
    circleY = circle.Y() + circle.Height() / 2;
  }
  char text[128];
  std::snprintf(text, sizeof text, " phase=%d aim=%d standing=%d enemy=%d,%d circle=%d,%d", sys->phaseCode,
                CMasterState::PickedHighlighted(sys), sys->CountEnemies(1), enemyX, enemyY, circleX, circleY);
  return text;
}

}  // namespace

void ReportGameState(const CGame& game) {
  if (!plat::StateLogWanted()) return;
  const CCutScene* play = game.cutScene ? game.cutScene->GetPlay() : nullptr;
  const CTalkHost* talk = game.talk;
  int result = 0;
  const int battle = game.battle ? game.battle->IsRunning(&result) : 0;
  char line[256];
  std::snprintf(line, sizeof line, "state=%s scene=%s screen=%d windows=%zu talk=%d cut=%d battle=%d/%d money=%d",
                StateName(game.state), game.scene ? game.scene->sceneName.c_str() : "-",
                g_screenManager ? g_screenManager->kind : 0, g_amWndManager ? g_amWndManager->Stack().size() : 0,
                talk && talk->talking && talk->player ? talk->player->state : 0, play ? play->CurrentFrame() : -1,
                battle, result, g_gameDataBase.party.GetMoney());
  std::string report = line;
  if (battle) report += BattleView(game.battle);
  static std::string last;
  if (last == report) return;
  last = report;
  plat::WriteStateLine(report);
}
