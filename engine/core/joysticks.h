#pragma once
#include <memory>

namespace plat {
class Joystick;
}

// Joysticks are opened and acquired but never read.
struct JOYSTICKDESC {
  std::unique_ptr<plat::Joystick> device;
  ~JOYSTICKDESC();
};

// Records every attached joystick (at most 8) with axes -1000..1000 and a
// dead zone of 5000; 1 when the joystick service could be had, else 0.
int InitJoysticks();
// Acquires every recorded joystick again (on activation).
void AcquireJoysticks();
// Releases and frees every recorded joystick.
void ReleaseJoysticks();
