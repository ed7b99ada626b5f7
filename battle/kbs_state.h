#pragma once

class CBattleSys;

// A state of the battle's state machine: the battle system calls the current
// state's Update on each tick and hands it each input event. States keep no
// data of their own; the battle system's phase code says where they stand.
class CKBSState {
 public:
  virtual ~CKBSState() = default;
  virtual int Update(CBattleSys* sys, int frames) = 0;
  // type 16/17 left button down/up, 18 right button, 20/21 pointer moves with
  // a = x | y << 16, 22 a key with a = virtual-key code and b = 1 down, 0 up.
  // A left button with b = 0xFFFF comes from the heads-up display.
  virtual int Input(CBattleSys* sys, int type, int a, int b) = 0;
};
