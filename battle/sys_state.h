#pragma once
#include "battle/kbs_state.h"
#include "battle/phase_codes.h"
#include "battle/reward_desc.h"

// The phases of the battle as a whole: the introduction cameras, the victory
// with its rewards, the defeat and the end. The phase code of the battle
// system says which one runs.
class CSysState : public CKBSState {
 public:
  static CSysState* Instance();

  int Update(CBattleSys* sys, int frames) override;
  int Input(CBattleSys* sys, int type, int a, int b) override;

  // The hero's turn state at code 0, by the hero fighter's kind.
  static void EnterHeroTurn(CBattleSys* sys);
  // Fills the reward of the won battle and gives it to the hero and the party.
  static void ComputeRewards(CBattleSys* sys, REWARDDESC* reward);

 private:
  CSysState() = default;

  void StartIntro(CBattleSys* sys);
  void UpdateIntro(CBattleSys* sys);
  void PlayIntroTrack2(CBattleSys* sys);
  void PlayIntroTrack3(CBattleSys* sys);
  void UpdateVictory(CBattleSys* sys);
  void UpdateDefeat(CBattleSys* sys);
  // The track circles the hero's orbit centre from where the camera stands.
  void StartEndingCamera(CBattleSys* sys, float phi, int track);
  void OnClick(CBattleSys* sys);
};
