#pragma once
#include <string>

// The sample world: every file name, id and name the world's files share, so
// the writers below and the tests that read the world agree on them.
namespace datagen {

// Writes the sample world under outDir (created when missing). It grows with
// each subsystem; every file is produced by the format writers of this folder.
bool WriteSampleWorld(const std::string& outDir, std::string& error);

namespace sample {

// Files, relative to the world's root.
inline constexpr const char* kDatabaseFile = "resource/DoRevu.res";
inline constexpr const char* kTalkFile = "resource/talk.pt";
inline constexpr const char* kTexturePackage = "texture/sample.qxo";
inline constexpr const char* kGroundModelFile = "scenes/ground.qx3";
inline constexpr const char* kCutSceneFile = "scripts/opening.spb";
inline constexpr const char* kBattleFolder = "creature/battle/";
inline constexpr const char* kBeepFile = "waves/beep.wav";
inline constexpr const char* kCdTrackFile = "cdaudio/track02.wav";

// Database records.
inline constexpr int kFirstHeroId = 1;
inline constexpr const char* kFirstHeroName = "Aldo";
inline constexpr int kSecondHeroId = 2;
inline constexpr const char* kSecondHeroName = "Vela";
inline constexpr int kWeaponType = 1;
inline constexpr int kSwordId = 1;
inline constexpr const char* kSwordName = "Oak Sword";
inline constexpr int kArmourType = 2;
inline constexpr int kVestId = 2;
inline constexpr int kCharmType = 6;
inline constexpr int kCharmId = 3;
inline constexpr int kPotionType = 8;
inline constexpr int kPotionId = 4;
inline constexpr const char* kPotionName = "Potion";
inline constexpr int kHerbType = 7;
inline constexpr int kHerbId = 5;
inline constexpr int kTonicId = 6;  // type 8, from the recipe Herb + Potion
inline constexpr const char* kTonicName = "Tonic";
// The first hero's thrown weapon: first in the type-8 list, where the battle looks for it.
inline constexpr int kKnifeId = 21;
inline constexpr const char* kKnifeName = "Throwing Knife";
inline constexpr int kStartingKnives = 10;
inline constexpr int kStartingBlades = 5;
inline constexpr int kShopId = 1;
inline constexpr int kEnemyId = 101;
inline constexpr const char* kEnemyModel = "E101";
inline constexpr int kShooterId = 102;  // a style-2 enemy that shoots
inline constexpr const char* kShooterModel = "E102";
inline constexpr int kPoisonId = 3;
inline constexpr int kStartingMoney = 300;
inline constexpr int kStartingPotions = 3;

// Talk.
inline constexpr const char* kTalkName = "villager";
// The heroes' names in talks, game resource messages: the first hero's, the
// second's, and the first hero's in his two changed shapes.
inline constexpr int kFirstHeroTalkNameMessage = 127;
inline constexpr int kSecondHeroTalkNameMessage = 128;
inline constexpr int kShapeTalkNameMessage = 129;
inline constexpr const char* kTalkVariable = "visits";
// Counts the times the player took the villager's offer (and its money).
inline constexpr const char* kTalkHelpedVariable = "helped";
inline constexpr int kTalkReward = 50;
// The greeting sets story flag 101 (the first event note); the last answer opens shop 1.
inline constexpr const char* kTalkMetFlagScript = "sys(s FLAG101 1)";
inline constexpr const char* kTalkShopEvent = "SHOP1";

// Textures (package entries) and the ground model.
inline constexpr const char* kGrassTexture = "grass";
inline constexpr const char* kStoneTexture = "stone";
inline constexpr int kTextureSide = 16;
inline constexpr const char* kGroundModel = "ground";
inline constexpr float kGroundHalfSide = 100.0f;

// Cut-scene and battle.
inline constexpr const char* kCutSceneName = "opening";
inline constexpr const char* kFadeActor = "black";
inline constexpr int kCutSceneFrames = 60;
// The opening's other players: the hero walking in, the camera following him
// through the one viewport, the question, and the sound, music, sign and title.
inline constexpr const char* kOpeningHero = "hero";
inline constexpr const char* kOpeningCamera = "cam";
inline constexpr const char* kOpeningDialog = "talk";
inline constexpr int kOpeningAskFrame = 35;
inline constexpr int kOpeningStopCount = 10;
inline constexpr int kOpeningMusicTrack = 2;
inline constexpr int kOpeningActors = 9;
inline constexpr int kBattleCameraShot = 101;

// Sounds.
inline constexpr int kSampleRate = 22050;
inline constexpr int kBeepHertz = 880;
inline constexpr int kBeepMilliseconds = 150;
inline constexpr int kBeepAmplitude = 12000;
inline constexpr int kTrackHertz = 440;
inline constexpr int kTrackSeconds = 2;
inline constexpr int kTrackAmplitude = 1500;  // quiet: under 5% of full scale

// Game core.
inline constexpr const char* kBossTableFile = "resource/bi.dat";
inline constexpr int kBossId = 1;  // its battle: kEnemyId twice
inline constexpr const char* kStartingMovieFile = "starting.avi";
inline constexpr int kStartingMovieFrames = 10;  // one second at 10 a second
inline constexpr const char* kGameOverImageFile = "image/end.qbi";
inline constexpr int kGameOverWidth = 300;
inline constexpr int kGameOverHeight = 160;
inline constexpr const char* kStartScriptName = "start";
inline constexpr const char* kStartScriptFile = "scripts/start.spb";

// Dialogue box and overlay.
inline constexpr const char* kDialogueFile = "resource/opening.dlg";
inline constexpr const char* kGreetEntry = "greet";  // two pages, the hero speaking first
inline constexpr const char* kAskEntry = "ask";      // a question and two answers
inline constexpr int kAskAnswers = 2;
inline constexpr const char* kCursorImageFile = "image/TwCursor01.bmp";

}  // namespace sample
}  // namespace datagen
