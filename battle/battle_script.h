#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/core/math3d.h"

class CBattleSys;
class CFightingMan;

// A condition on a fighter: subject, test, comparison, value.
struct SCRIPTITEMDESC {
  int subject = 0;
  int test = 0;
  int comparison = 0;
  int value = 0;
};

// A parameter of one battle for one subject.
struct SCRIPTLIMITDESC {
  int battleId = 0;
  int subject = 0;
  int code = 0;
  int value = 0;
};

// A win (kind 1) or lose (any other kind) expression of one battle.
struct SCRIPTEXPDESC {
  int battleId = 0;
  int kind = 0;
  std::string text;
};

// The records of "sbe.sc", in file order.
class CScriptStore {
 public:
  // 0 when the file did not open; records are appended.
  int Load(const char* path);

  std::vector<SCRIPTITEMDESC> items;
  std::vector<SCRIPTLIMITDESC> limits;
  std::vector<SCRIPTEXPDESC> expressions;
};

// Decides per battle id when a battle is won or lost and what its fighters
// may do. Expressions combine condition items by number through the qel
// evaluator, which calls back here for operands and operators.
class CBattleScript {
 public:
  static constexpr int kHero = 0x10000;
  static constexpr int kWholeWave = 0xffff;
  static constexpr int kTrapBattle = 8;
  static constexpr int kTrapValue = 1800;

  static CBattleScript* Instance();
  static void Destroy();

  // ".\creature\battle\<name>"; a missing file shows "Open file error" and
  // its full path.
  void LoadScript(const char* name);
  // 1 when the file opened.
  int LoadThrows(const char* name);

  // Starts a battle: result and elapsed 0, its records chosen, its traps set. 1.
  int Begin(CBattleSys* sys, int battle);
  void Prepare(int battle);
  void SetupTraps(CBattleSys* sys);
  // 1 won, -1 lost, 0 undecided; the result keeps a decision.
  int Check(CBattleSys* sys, int frames);
  // The value of this battle's first limit of that subject and code, -1 when none.
  int GetValue(int subject, int code) const;
  // Whether condition item `index` holds; 0 for an index outside the items.
  int CheckItem(CBattleSys* sys, int index);
  // A missing expression (-1) does not hold.
  int Evaluate(int expression) const;

  static int OperandProc(const char* text);
  static int OperatorProc(int left, int right, int code, int count);

  int battleId = 0;
  int result = 0;
  int elapsed = 0;
  std::unique_ptr<CScriptStore> store;
  int winExpression = -1;
  int loseExpression = -1;
  std::vector<int> limits;
  int throwCount = 0;
  int throwLevel = 0;
  std::vector<VECTOR3> throwPositions;

 private:
  CBattleScript();
  CBattleScript(const CBattleScript&) = delete;
  CBattleScript& operator=(const CBattleScript&) = delete;

  int TestFighter(const CFightingMan* fighter, const SCRIPTITEMDESC& item) const;

  static CBattleScript* instance_;
};
