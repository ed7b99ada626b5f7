#include "battle/kbs_console.h"

#include <strings.h>

#include <cstdio>
#include <cstring>

#include "battle/battle_sys.h"
#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "database/man_soul.h"
#include "engine/core/device_setup.h"

namespace {

constexpr char kMonitorWord[] = "MVX.LIFTAI";
constexpr int kWordSize = 64;

int Starts(const char* line, const char* word, size_t compared) { return strncasecmp(line, word, compared) == 0; }

int Attribute(const CFightingMan* f, int key) { return f && f->soul ? f->soul->GetAttribute(key) : 0; }

int DatabaseId(const CFightingMan* f) { return f->soul ? f->soul->id : 0; }

}  // namespace

CKBSConsole::CKBSConsole() : CKBSConsole(std::make_unique<CAIMonitor>()) {}

CKBSConsole::CKBSConsole(std::unique_ptr<CAIMonitor> aiMonitor) : monitor(std::move(aiMonitor)) {}

void CKBSConsole::AddMessage(const char* text, int y, int x, int frames, int red, int green, int blue) {
  messages.push_back({text ? text : "", y, x, red, green, blue, frames});
}

int CKBSConsole::Argument(const char* line) {
  // The word is read into a bounded buffer: a longer one is cut, not overrun.
  char word[kWordSize] = {};
  int n = 0;
  return std::sscanf(line, "%63s %d", word, &n) == 2 ? n : 0;
}

void CKBSConsole::SetAi(CBattleSys* battle, int id, int enabled) {
  for (int i = 0; i < battle->enemyCount && i < CBattleSys::kEnemySlots; ++i) {
    CFEnemy* enemy = battle->enemies[i];
    if (!enemy) continue;
    if (id == 0) {
      if (!(enemy->flags & CFightingMan::kDown)) enemy->aiEnabled = enabled;
    } else if (DatabaseId(enemy) == id) {
      enemy->aiEnabled = enabled;
      return;
    }
  }
}

int CKBSConsole::Command(CBattleSys* battle, const char* line) {
  if (!battle || !line || !battle->IsRunning(nullptr)) return 0;
  if (!open) {
    if (!Starts(line, kOpeningWord, std::strlen(kOpeningWord))) return 0;
    open = 1;
    return 1;
  }
  if (!*line) return 0;
  if (Starts(line, "KBS.CURE", 8)) {
    if (CFMaster* hero = battle->hero) {
      hero->ChangeHP(Attribute(hero, 5), 0);
      hero->ChangeMP(Attribute(hero, 7), 0);
      hero->ChangeSP(Attribute(hero, 18), 0);
    }
  } else if (Starts(line, "KBS.FREEZE", 10)) {
    SetAi(battle, Argument(line), 0);
  } else if (Starts(line, "KBS.UNFREEZE", 12)) {
    SetAi(battle, Argument(line), 1);
  } else if (Starts(line, "KBS.SHOWINFO", 12)) {
    showInfo = Argument(line);
  } else if (Starts(line, "KBS.WIN", 7)) {
    battle->Finish(1);
  } else if (Starts(line, "KBS.FAILURE", 11)) {
    battle->Finish(0);
  } else if (Starts(line, kMonitorWord, 10)) {
    const int id = Argument(line);
    for (int i = 0; i < battle->enemyCount && i < CBattleSys::kEnemySlots; ++i) {
      CFEnemy* enemy = battle->enemies[i];
      if (enemy && DatabaseId(enemy) == id) {
        monitor->Attach(enemy);
        monitor->SetEnabled(1);
        break;
      }
    }
  } else if (Starts(line, "KBS.CLOSEAI", 11)) {
    monitor->SetEnabled(0);
  } else if (Starts(line, "KBS.CLOSE", 9)) {
    open = 0;
  } else {
    // The line is cut to fit the message's 64 bytes.
    char text[kInvalidSize];
    std::snprintf(text, sizeof text, "Invalid command '%s'", line);
    AddMessage(text, 400, 10, kInvalidFrames, 255, 255, 255);
  }
  return 1;
}

void CKBSConsole::AddPanel(CBattleSys* battle) {
  CFMaster* hero = battle->hero;
  char text[128];
  int y = 80;
  if (hero) {
    std::snprintf(text, sizeof text, "%s, ID: %03d", hero->soul ? hero->soul->name.c_str() : "", DatabaseId(hero));
    AddMessage(text, y, 10, 1, 255, 255, 255);
    const int pairs[3][2] = {{6, 5}, {8, 7}, {17, 18}};
    const char* formats[3] = {"HP/MAX: %d/%d", "MP/MAX: %d/%d", "AC/MAX: %d/%d"};
    for (int i = 0; i < 3; ++i) {
      std::snprintf(text, sizeof text, formats[i], Attribute(hero, pairs[i][0]), Attribute(hero, pairs[i][1]));
      AddMessage(text, y += 20, 10, 1, 255, 0, 0);
    }
    std::snprintf(text, sizeof text, "ATTACK: %d", hero->GetAttackPower());
    AddMessage(text, y += 20, 10, 1, 255, 0, 0);
    if (hero->kind == CFightingMan::kFirstHero) {
      std::snprintf(text, sizeof text, "ANGLE/MAX: %d/%d", Attribute(hero, 19), Attribute(hero, 20));
      AddMessage(text, y += 20, 10, 1, 255, 0, 0);
    }
  }
  AddMessage("===============", y + 20, 10, 1, 255, 255, 255);
  y += 40;
  for (int i = 0; i < battle->enemyCount && i < CBattleSys::kEnemySlots; ++i) {
    CFEnemy* enemy = battle->enemies[i];
    if (!enemy || (enemy->flags & (CFightingMan::kDown | CFEnemy::kEscaped))) continue;
    std::snprintf(text, sizeof text, "%s, ID:%03d", enemy->soul ? enemy->soul->name.c_str() : "", DatabaseId(enemy));
    AddMessage(text, y, 10, 1, 255, 255, 255);
    std::snprintf(text, sizeof text, "HP/MAXHP: %d/%d  ATT: %d", Attribute(enemy, 6), Attribute(enemy, 5),
                  enemy->GetAttackPower());
    AddMessage(text, y + 16, 10, 1, 255, 0, 0);
    y += 32;
  }
}

void CKBSConsole::Draw(CBattleSys* battle, int frames) {
  if (!open) return;
  monitor->Draw(580, 50);
  if (showInfo && battle) AddPanel(battle);
  for (auto it = messages.begin(); it != messages.end();) {
    if (it->framesLeft < 1) {
      it = messages.erase(it);
      continue;
    }
    DrawDebugText(it->x, it->y, it->text.c_str(), it->red, it->green, it->blue);
    if (it->framesLeft != CONSOLEMSGDESC::kForever) it->framesLeft -= frames;
    ++it;
  }
}
