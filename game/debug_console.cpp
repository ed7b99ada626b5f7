#include "game/debug_console.h"

#include <strings.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "battle/battle_interface.h"
#include "battle/battle_sys.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/item_pool.h"
#include "database/level_rules.h"
#include "database/main_man_soul.h"
#include "engine/core/input_hooks.h"
#include "engine/core/materials.h"
#include "engine/core/node_states.h"
#include "engine/core/terrain.h"
#include "engine/media/sprites.h"
#include "game/encounter_table.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "game/game_sys_proc.h"
#include "ui/menu_agency.h"
#include "world/automap_panel.h"
#include "world/map_scene.h"

namespace {

constexpr char kAccessCode[] = "p_lorn";
constexpr int kCtrl = 17;
constexpr int kMaxLine = CDebugConsole::kLineSize - 1;
constexpr int kSkillCount = 31;
// "Fight" gives up after this many rolls rather than spin on a rate of 0.
constexpr int kMaxFightRolls = 1000;
constexpr float kWireAlpha = 0.7f;

bool Prefix(const char* line, const char* word) { return strncasecmp(line, word, std::strlen(word)) == 0; }
bool Whole(const char* line, const char* word) { return strcasecmp(line, word) == 0; }
// The number at position at, 0 when the line is shorter.
int NumberAt(const char* line, size_t at) { return std::strlen(line) > at ? std::atoi(line + at) : 0; }
const char* TextAt(const char* line, size_t at) { return std::strlen(line) > at ? line + at : ""; }

CGDMainManSoul* Leader() {
  const CParty& party = g_gameDataBase.party;
  return party.members.empty() ? nullptr : party.FindMember(party.members[0]);
}

void GiveSkill(CGDMainManSoul* hero, int skill) {
  hero->skillProgress.push_back({skill, 100, 100});
  hero->ToggleSkill(skill, 0);
}

}  // namespace

CDebugConsole::~CDebugConsole() {
  if (textSprite) DeleteSprite(textSprite);
  if (wireMaterial) ReleaseMaterial(wireMaterial);
}

void CDebugConsole::ClearLine() {
  std::memset(line, 0, sizeof line);
  lineLength = 0;
}

void CDebugConsole::OnKey(int key, int down) {
  const int state = game->state;
  if (key == 13 && lineLength == 0 && (state == GS_BATTLE || state == GS_MENU)) {
    g_menuAgency.OnKey(13, down);
    return;
  }
  if (!down) return;
  if (key == 8) {
    if (lineLength > 0) line[--lineLength] = '\0';
    return;
  }
  if (key == 13) {
    if (state == GS_BATTLE) g_menuAgency.OnKey(13, down);
    if (lineLength == 0) return;
    if (cheatMode) {
      RunCommand();
    } else if (Whole(line, kAccessCode)) {
      cheatMode = 1;
      ShowMessage(1, "Cheat Mode On");
    }
    ClearLine();
    return;
  }
  if (!(key == 32 || (key >= 48 && key <= 90) || (key >= 187 && key <= 190))) return;
  if (lineLength >= kMaxLine) return;
  int c = key;
  if (IsKeyDown(kCtrl)) {
    if (key == 188 || key == 190) return;
    if (key == '0') c = ')';
    if (key == '9') c = '(';
    if (key == 187) c = '+';
    if (key == 189) c = '-';
  } else {
    if (key == 187) return;
    if (key == 188) c = ',';
    if (key == 189) c = '_';
    if (key == 190) c = '.';
  }
  line[lineLength++] = static_cast<char>(c);
  line[lineLength] = '\0';
}

void CDebugConsole::RunAction(int type, int argument, int value) {
  const EVENTACTIONDESC action{static_cast<uint8_t>(type), static_cast<uint8_t>(argument), static_cast<int16_t>(value)};
  game->events->ExecuteAction(&action);
}

void CDebugConsole::RunCommand() {
  CGame& g = *game;
  const char* l = line;
  static const struct {
    const char* word;
    int type;
    int value;
  } kWeather[] = {{"FogOn", 21, 1},  {"FogOff", 21, 0},  {"FlareOn", 20, 1}, {"FlareOff", 20, 0},
                  {"RainOn", 18, 1}, {"RainOff", 18, 0}, {"SnowOn", 19, 1},  {"SnowOff", 19, 0}};
  if (Prefix(l, "Position")) {
    VECTOR3 position{0, 0, 0};
    if (std::strlen(l) > 9 && g.walker && std::sscanf(l + 9, "%f %f %f", &position.x, &position.y, &position.z) >= 2) {
      const HOBJECT terrain = g.scene ? g.scene->GetTerrain() : 0;
      GetTerrainHeight(terrain, &position, &position.z);
      VECTOR3 here{0, 0, 0}, direction{0, 1, 0};
      if (g.walker->creature) g.walker->GetPosition(&here, &direction);
      g.PlaceWalker(&position, &direction, terrain);
    } else if (std::strlen(l) <= 9) {
      displayFlags ^= 2;
    }
    return;
  }
  if (Prefix(l, "PotentialAll")) {
    if (CGDMainManSoul* hero = Leader())
      for (int skill = 1; skill <= kSkillCount; ++skill) GiveSkill(hero, skill);
    return;
  }
  if (Prefix(l, "Potential")) {
    if (CGDMainManSoul* hero = Leader()) GiveSkill(hero, NumberAt(l, 9));
    return;
  }
  if (Whole(l, "Black sheep wall")) {
    if (g.scene && g.scene->automap)
      g.scene->automap->BuildForScene(g.scene->sceneName.c_str(), g.scene->GetTerrain(), 0);
    return;
  }
  if (Whole(l, "SceneName")) {
    showSceneName ^= 1;
    return;
  }
  if (Prefix(l, "Go")) {
    g.GoToScene(TextAt(l, 2), -1);
    return;
  }
  if (Whole(l, "Function")) {
    g.debugSwitches ^= 2;
    return;
  }
  if (Whole(l, "Camera")) {
    cameraToggle ^= 1;
    return;
  }
  for (const auto& w : kWeather) {
    if (Whole(l, w.word)) {
      RunAction(w.type, 0, w.value);
      return;
    }
  }
  if (Prefix(l, "man")) {
    g.pendingHeroForm = NumberAt(l, 3);
    return;
  }
  if (Prefix(l, "Boss")) {
    RunAction(12, NumberAt(l, 4), 0);
    return;
  }
  if (Prefix(l, "Fence")) {
    RunAction(10, 0, NumberAt(l, 5));
    return;
  }
  if (Whole(l, "noFight")) {
    g.debugSwitches ^= 1;
    return;
  }
  if (Prefix(l, "Game")) {
    RunAction(5, 0, NumberAt(l, 4));
    return;
  }
  if (Whole(l, "win")) {
    if (g.state == GS_BATTLE && g.battle) g.battle->ForceWin();
    return;
  }
  if (Whole(l, "FightOn") || Whole(l, "FightOff")) {
    const int on = Whole(l, "FightOn") ? 1 : 0;
    g.encountersOn = on;
    if (g.encounters) g.encounters->enabled = on;
    ShowMessage(1, on ? "Enable Fight!!" : "Disable Fight!!");
    return;
  }
  if (Prefix(l, "Fight")) {
    if (!g.encounters) return;
    g.encounters->enabled = 1;
    if (g.encounters->candidateCount == 0 || g.state == GS_BATTLE) return;
    const int map = NumberAt(l, 5);
    if (map > 0 && g.gameResource) g.encounters->Reset(*g.gameResource, map);
    if (!g.encounters->enabled) return;
    // The walker's own factor: a form that never meets battles rolls none here.
    const int factor = g.walker ? g.walker->encounterFactor : 0;
    for (int roll = 0; roll < kMaxFightRolls; ++roll) {
      int steps = 100000;
      if (g.encounters->Roll(&steps, factor)) {
        RunAction(7, 0, 0);
        return;
      }
    }
    return;
  }
  if (Prefix(l, "Attr")) {
    int a = 0, b = 0, c = 0;
    if (std::sscanf(l + 4, "%d %d %d", &a, &b, &c) == 3) RunAction(22, (a - 1) | (b * 4), c);
    return;
  }
  if (Prefix(l, "item")) {
    int type = 0, id = 0, count = 1;
    if (std::sscanf(l + 4, "%d %d %d", &type, &id, &count) < 2 || !g.itemPool) return;
    const int kind = std::abs(type);
    if (type < 0) count = -count;
    if (count > 0) g.itemPool->AddItem(kind, id, count, -1);
    else if (count < 0) g.itemPool->RemoveItem(kind, id, -count);
    return;
  }
  if (Prefix(l, "Money")) {
    g_gameDataBase.party.header[CParty::kMoney] += NumberAt(l, 5);
    return;
  }
  if (Prefix(l, "Level")) {
    if (CGDMainManSoul* hero = Leader()) RaiseToLevel(hero, NumberAt(l, 5));
    return;
  }
  if (Prefix(l, "Flag")) {
    const int n = NumberAt(l, 4);
    RunAction(3, 0, n);
    if (n >= 1) ShowMessage(1, "FLAG %d On", n);
    else ShowMessage(1, "FLAG %d Off", -n);
    return;
  }
  if (Whole(l, "Redraw")) {
    sceneHidden = 0;
    g.ShowLeaderCreature(1);
    g.ShowScene(1, 0);
    return;
  }
  if (Whole(l, "HideScene")) {
    sceneHidden = 1;
    g.ShowScene(0, 0);
    return;
  }
  if (Whole(l, "frameRate")) {
    showFrameRate ^= 1;
    return;
  }
  if (Whole(l, "NpcName")) {
    showNpcName ^= 1;
    return;
  }
  if (Whole(l, "FoeName")) {
    showFoeName ^= 1;
    return;
  }
  if (Whole(l, "AutoName")) {
    displayFlags ^= 1;
    return;
  }
  if (Prefix(l, "AutoFlag")) {
    const int n = NumberAt(l, 8);
    if (n >= 1) g.events->SetEventCount(n, 1);
    else g.events->SetEventCount(-n, 0);
    return;
  }
  if (Prefix(l, "AutoF")) {
    g.StartScript(TextAt(l, 5), -1);
    return;
  }
  if (Prefix(l, "Auto")) {
    g.StartEvent(6, NumberAt(l, 4) + g.EventBase());
    return;
  }
  if (Whole(l, "Exit")) {
    g.skipUiFrame = 1;
    g.state = GS_QUIT;
    return;
  }
  if (Whole(l, "terrain")) {
    ToggleTerrainWires();
    return;
  }
  if (Prefix(l, "sys")) {
    AccessVariable(l);
    return;
  }
  if (Prefix(l, "day")) {
    if (g.scene && g.scene->mapRecord && g.scene->mapRecord->DayPhase() == 1) ShowMessage(1, "It is Day now!");
    else if (g.dayPhase == 2) ShowMessage(1, "It is Night now!");
    return;
  }
  if (g.state == GS_BATTLE) g_battleInterface.DebugCommand(l);
}

void CDebugConsole::AccessVariable(const char* text) {
  const std::string s = std::strlen(text) > 3 ? text + 3 : "";
  const size_t open = s.find('(');
  const size_t comma = s.find(',');
  if (open == std::string::npos || comma == std::string::npos || comma < open) return;
  const std::string modeText = s.substr(open + 1, comma - open - 1);
  const int mode = modeText == "Q" ? 0 : modeText == "S" ? 1 : modeText == "E" ? 2 : 255;
  std::string name;
  int value = 0;
  if (mode == 1) {
    const size_t next = s.find(',', comma + 1);
    if (next == std::string::npos) return;
    name = s.substr(comma + 1, next - comma - 1);
    value = std::atoi(s.c_str() + next + 1);
  } else {
    const size_t close = s.find(')', comma + 1);
    name = s.substr(comma + 1, close == std::string::npos ? std::string::npos : close - comma - 1);
  }
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  const SYSRESULT result = GameTalkSysProc(static_cast<SYSMODE>(mode), buffer.data(), value);
  if (mode == 0 && result.type == 0) ShowMessage(1, "%s = %d ", name.c_str(), result.value);
}

void CDebugConsole::ToggleTerrainWires() {
  if (!wireMaterial) {
    const float white[4] = {1, 1, 1, 1};
    wireMaterial = CreateMaterial(white, white, white, nullptr, 0, nullptr, 0, 0, 0, 0, 0);
    if (wireMaterial) RetainMaterial(wireMaterial);
  }
  displayFlags ^= 4;
  const HOBJECT node = game->scene ? game->scene->GetTerrainNode() : 0;
  if (!node) return;
  const int shown = (displayFlags & 4) ? 1 : 0;
  if (shown && wireMaterial) ReplaceNodeMaterial(node, static_cast<HOBJECT>(-2), wireMaterial);
  ShowNode(node, shown);
  SetNodeDrawMode(node, 2);
  SetNodeAlpha(node, kWireAlpha);
}
