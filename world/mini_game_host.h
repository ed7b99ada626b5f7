#pragma once

class CMenuAgency;

// The bottom-panel mini-game host.
// MINIMAL: no mini-game exists; a started one is finished at once, lost
// (result 1 with its win flag set).
class CMiniGameHost {
 public:
  explicit CMiniGameHost(CMenuAgency* root) : root(root) {}

  void Start(int) {}
  void Tick(int) {}
  int IsFinished(int) { return 1; }
  void Stop() {}

  CMenuAgency* root;
  int result = 1;
  int lostFlag = 1;  // clear for a win
};
