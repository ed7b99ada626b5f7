#include "battle/battle_script.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "base/debug_trace.h"
#include "battle/battle_sys.h"
#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "battle/fighting_man.h"
#include "database/man_soul.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/qel/file_load_man.h"
#include "platform/qel/kbs_evaluator.h"

namespace {

constexpr int kLineSize = 1024;
constexpr int kWordSize = 256;

enum : int { kItemBlock = 100, kLimitBlock = 200, kExpBlock = 300, kThrowBlock = 100 };

// Tests on a fighter's flags and attributes.
enum : int {
  kStateTests = 0x40000,
  kDownOrParalysed = 0x40001,
  kHurt = 0x40002,
  kFlagTests = 0x20000,
  kParalysedFlag = 0x20001,
  kDisarmedFlag = 0x20002,
  kNumberTests = 0x10000,
  kHPNumber = 0x10001,
  kMPNumber = 0x10002,
  kElapsedNumber = 0x10003,
};

// Comparisons of number tests; kFlagClear also asks for a clear flag.
enum : int { kLess = 0x10001, kLessOrEqual = 0x10002, kEqual = 0x10003, kGreaterOrEqual = 0x10004 };
constexpr int kFlagClear = 0x20002;

// Attribute keys of the character record.
enum : int { kMaxHP = 5, kHP = 6, kMP = 8 };

std::string BattlePath(const char* name) {
  char path[300];
  std::snprintf(path, sizeof path, ".\\creature\\battle\\%s", name ? name : "");
  return path;
}

int Compare(int number, int comparison, int value) {
  switch (comparison) {
    case kLess: return number < value;
    case kLessOrEqual: return number <= value;
    case kEqual: return number == value;
    case kGreaterOrEqual: return number >= value;
    default: return 0;
  }
}

}  // namespace

int CScriptStore::Load(const char* path) {
  qmz::CFileLoadMan file(kLineSize, kWordSize);
  file.AddRemarksSymbol("//");
  file.AddRemarksSymbol(";");
  file.AddFileBlockItem(kItemBlock, "begin-script-item", "end-script-item", 0);
  file.AddFileBlockItem(kLimitBlock, "begin-script-limit", "end-script-limit", 0);
  file.AddFileBlockItem(kExpBlock, "begin-script-exp", "end-script-exp", 0);
  if (!file.Open(path)) return 0;
  while (file.Flip()) {
    int ignored = 0;
    file >> ignored;
    switch (file.GetFlipValue()) {
      case kItemBlock: {
        SCRIPTITEMDESC item;
        file >> item.subject >> item.test >> item.comparison >> item.value;
        items.push_back(item);
        break;
      }
      case kLimitBlock: {
        SCRIPTLIMITDESC limit;
        file >> limit.battleId >> limit.subject >> limit.code >> limit.value;
        limits.push_back(limit);
        break;
      }
      case kExpBlock: {
        SCRIPTEXPDESC exp;
        file >> exp.battleId >> exp.kind >> exp.text;
        expressions.push_back(exp);
        break;
      }
      default: break;
    }
  }
  if (file.EndedInsideBlock()) DebugTrace("Battle script %s ends inside a block\n", path);
  return 1;
}

CBattleScript* CBattleScript::instance_ = nullptr;

CBattleScript* CBattleScript::Instance() {
  if (!instance_) instance_ = new CBattleScript();
  return instance_;
}

void CBattleScript::Destroy() {
  delete instance_;
  instance_ = nullptr;
}

CBattleScript::CBattleScript() : store(std::make_unique<CScriptStore>()) {
  qmz::CKBSEvaluator::Instance()->BindProc(OperandProc, OperatorProc);
}

void CBattleScript::LoadScript(const char* name) {
  const std::string path = BattlePath(name);
  if (!store->Load(path.c_str())) {
    DebugTrace("Battle script %s cannot be read\n", path.c_str());
    plat::ShowMessageBox("", "Open file error: " + plat::FullPathText(path));
  } else if (store->expressions.empty()) {
    // No battle could be won or lost by its script.
    DebugTrace("Battle script %s holds no expressions\n", path.c_str());
  }
}

int CBattleScript::LoadThrows(const char* name) {
  qmz::CFileLoadMan file(kLineSize, kWordSize);
  file.AddRemarksSymbol("//");
  file.AddRemarksSymbol(";");
  file.AddFileBlockItem(kThrowBlock, "begin_throw", "end_throw", 0);
  if (!file.Open(BattlePath(name).c_str())) return 0;
  while (file.Flip()) {
    int count = 0;
    int level = 0;
    file >> count >> level;
    throwCount = count;
    throwLevel = level;
    // A broken count never reads past the record: reads stop at its marks.
    for (int i = 0; i < count && !file.Failed(); ++i) {
      VECTOR3 p{0, 0, 0};
      file >> p.x >> p.y >> p.z;
      if (file.Failed()) break;
      throwPositions.push_back(p);
    }
  }
  return 1;
}

int CBattleScript::Begin(CBattleSys* sys, int battle) {
  result = 0;
  elapsed = 0;
  battleId = battle;
  Prepare(battle);
  SetupTraps(sys);
  return 1;
}

void CBattleScript::Prepare(int battle) {
  winExpression = -1;
  loseExpression = -1;
  for (size_t i = 0; i < store->expressions.size(); ++i) {
    const SCRIPTEXPDESC& exp = store->expressions[i];
    if (exp.battleId != battle) continue;
    (exp.kind == 1 ? winExpression : loseExpression) = static_cast<int>(i);
  }
  limits.clear();
  for (size_t i = 0; i < store->limits.size(); ++i) {
    if (store->limits[i].battleId == battle) limits.push_back(static_cast<int>(i));
  }
}

void CBattleScript::SetupTraps(CBattleSys* sys) {
  if (battleId != kTrapBattle || !sys) return;
  GetValue(kHero, 0x10003);
  sys->CreateTraps(throwLevel, kTrapValue, throwPositions, static_cast<int>(throwPositions.size()));
}

int CBattleScript::Check(CBattleSys* sys, int frames) {
  (void)sys;
  elapsed += frames;
  if (Evaluate(winExpression)) {
    result = 1;
    return 1;
  }
  if (Evaluate(loseExpression)) {
    result = -1;
    return -1;
  }
  return 0;
}

int CBattleScript::GetValue(int subject, int code) const {
  for (int index : limits) {
    const SCRIPTLIMITDESC& limit = store->limits[static_cast<size_t>(index)];
    if (limit.subject == subject && limit.code == code) return limit.value;
  }
  return -1;
}

int CBattleScript::Evaluate(int expression) const {
  if (expression < 0 || expression >= static_cast<int>(store->expressions.size())) return 0;
  const std::string text = store->expressions[static_cast<size_t>(expression)].text;
  return qmz::CKBSEvaluator::Instance()->Evaluate(text.c_str());
}

int CBattleScript::CheckItem(CBattleSys* sys, int index) {
  if (!sys || index < 0 || index >= static_cast<int>(store->items.size())) return 0;
  const SCRIPTITEMDESC& item = store->items[static_cast<size_t>(index)];
  const int count = std::min(sys->enemyCount, CBattleSys::kEnemySlots);
  if (item.subject == kWholeWave) {
    for (int i = 0; i < count; ++i) {
      if (!TestFighter(sys->enemies[i], item)) return 0;
    }
    return 1;
  }
  if (item.subject == kHero) return TestFighter(sys->hero, item);
  for (int i = 0; i < count; ++i) {
    const CFEnemy* enemy = sys->enemies[i];
    if (enemy && enemy->soul && enemy->soul->id == item.subject) return TestFighter(enemy, item);
  }
  return 0;
}

int CBattleScript::TestFighter(const CFightingMan* fighter, const SCRIPTITEMDESC& item) const {
  if (!fighter) return 0;
  const int test = item.test;
  if (test & kStateTests) {
    if (test == kDownOrParalysed) return (fighter->flags & (CFightingMan::kDown | CFightingMan::kParalysed)) != 0;
    if (test == kHurt) {
      return fighter->soul && fighter->soul->GetAttribute(kHP) < fighter->soul->GetAttribute(kMaxHP);
    }
    return 0;
  }
  if (test & kFlagTests) {
    const int flag = test == kParalysedFlag  ? CFightingMan::kParalysed
                     : test == kDisarmedFlag ? CFightingMan::kDisarmed
                                             : 0;
    const bool set = (fighter->flags & flag) != 0;
    return item.comparison == kFlagClear ? !set : set;
  }
  if (test & kNumberTests) {
    int number = 0;
    if (test == kHPNumber) number = fighter->soul ? fighter->soul->GetAttribute(kHP) : 0;
    if (test == kMPNumber) number = fighter->soul ? fighter->soul->GetAttribute(kMP) : 0;
    if (test == kElapsedNumber) number = elapsed;
    return Compare(number, item.comparison, item.value);
  }
  return 0;
}

int CBattleScript::OperandProc(const char* text) {
  if (!instance_ || !text) return 0;
  errno = 0;
  char* end = nullptr;
  const long n = std::strtol(text, &end, 10);
  if (errno || end == text || n < 0 || n > 0x7fffffff) return 0;
  return instance_->CheckItem(g_battleSys, static_cast<int>(n));
}

int CBattleScript::OperatorProc(int left, int right, int code, int count) {
  if (count == 1) {
    if (code == qmz::CKBSEvaluator::OP_PLUS) return right;
    if (code == qmz::CKBSEvaluator::OP_MINUS) return -right;
    return 0;
  }
  switch (code) {
    case qmz::CKBSEvaluator::OP_AND: return left && right ? 1 : 0;
    case qmz::CKBSEvaluator::OP_OR: return left || right ? 1 : 0;
    case qmz::CKBSEvaluator::OP_NOT: return right == 0 ? 1 : 0;
    default: return 0;
  }
}
