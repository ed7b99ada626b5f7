#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"
#include "game/boss_info.h"
#include "game/game_mouse.h"
#include "game/game_state.h"
#include "ui/screen_result.h"
#include "world/obj_bound_volume.h"

class MScene;
class CFieldWalker;
class IBsCreature;
class CSocietyExt;
class CMenuAgency;
class CDebugConsole;
class CBattleSys;
class CMiniGameHost;
class CEncounterTable;
class CPickManager;
class CMessageBoard;
class CCaptionBanner;
class CWorldMapScreen;
class CGameResource;
class CGameDataLoader;
class CGDItemPool;
class CSystemConfig;
class CCutScenePlayer;
class CTalkHost;
class CEventRunner;
class CSaveThumbnail;
struct SAVESUMMARYDESC;
namespace plat {
class ByteReader;
class ByteWriter;
}  // namespace plat
class CGameAudio;
class CLoadingAnimation;
class CTransitionPlayer;
class TerrainBoundary;
class CSceneNpc;
class CGDMainManSoul;
struct ITEMDESC;
struct EVENTDESC;
struct BATTLEDESC;

// An item reward: type 9 money (amount x 10), 10 an event and 11 a talk
// group's approach event (both id + 256 x amount), else a database item
// (a negative amount removes).
struct ITEMREWARDDESC {
  int type = 0;
  int id = 0;
  int amount = 0;
};

// A "$CHK" "Body" trigger group of the scene.
struct TRIGGERGROUPDESC {
  int group = 0;
  std::vector<int> triggers;
};

struct NPCVISIBILITYDESC {
  int npc = 0;
  int show = 0;
};

// An NPC's state saved when the main menu opened (60 bytes in a save).
struct NPCSNAPSHOTDESC {
  int flags = 0;
  int state = 0;
  int counter = 0;
  int waypoint = 0;
  int pose = 0;
  int posePlaying = 0;  // the creature's pose
  int direction = 0;
  float position[3] = {0, 0, 0};
  float facing[3] = {0, 0, 0};
  int routine[2] = {0, 0};  // the creature's own play state
};

// The one game object: it owns every gameplay object, holds the game state and
// the bookkeeping the gameplay parts share, and runs from two frame timers:
// OnGameFrame (slot 0, 30 fixed ticks a second, while a game runs) and
// OnUiFrame (slot 1, every pass of the main loop).
class CGame {
 public:
  // The arguments are not used. Builds every owned object but no scene.
  CGame(int argc, char** argv);
  // Writes the settings and closes the engine; g_game is null afterwards.
  ~CGame();
  CGame(const CGame&) = delete;
  CGame& operator=(const CGame&) = delete;

  // State machine and frame callbacks.
  void Tick(int n);
  // Back to the title: GS_MENU and the start menu.
  void Run();
  // UpdateScreens(n), then OnScreenResult with its result.
  void OnMenuResult(int n);
  void OnScreenResult(int result);
  void OpenMainMenu();
  void NewGame(int secondHero);
  void GameOver();
  // What GS_BATTLE does once the battle system reports the end.
  void OnBattleEnded(int result);
  void StopGameFrames();
  void DestroyOnQuit();
  // GS_SETTLE: a talk, then queued event actions, then back to returnState.
  void Settle();

  // The cursor (1 field, 2 interface) and its shape (0 field, 1 type, 2 none).
  void SetCursorMode(int kind);
  void SetCursorShape(int mode, int cursorType);

  // Plays name + ".avi" at (0, 60) to its end or until Esc.
  void PlayMovie(const char* name);

  // Walker.
  void ChangeHeroForm(int form);
  void SetupWalker();
  // The hero, talk name, camera, leader creature, party leader, story events
  // and ranges of a hero form.
  void ApplyHeroForm(int form);
  void PlaceWalker(const VECTOR3* position, const VECTOR3* direction, HOBJECT terrain);
  // Shows or hides the leader's stand-in creature (reset pose, opaque).
  void ShowLeaderCreature(int on);
  // Field input and close-ups.
  void BindFieldKeys(int walkKeys);
  void BindTalkKeys();
  void BindWorldMapKeys();
  void BindBattleKeys();
  void BindScriptKeys();
  void BindConsoleKeys(int on);
  void ClearBindings();
  void ClearWalkMask();
  // The cursor follows (x, y) and picking starts.
  void OnMouseMove(int x, int y);
  // Acts on what lies under the cursor; a slow click opens a door.
  void OnLeftClick(int x, int y);
  void OnSlowClick();
  // Automap: 2 hidden, then 0 shown fixed, then 1 shown following.
  void CycleAutomap();
  void StepCloseUpIn(int n);
  void StepCloseUpOut(int n);
  void UpdateCloseUp();
  // Scene change. An entry point 0 keeps the walker where it stands, a
  // positive one is a scene point id, a negative one the start position.
  void CreateScene(const char* sceneFile);
  void OpenScene(const char* sceneFile);
  // A "map..." name opens the world map; a scene of the other day phase is
  // reached through a travel script; any other is entered at once.
  void GoToScene(const std::string& scene, int entry);
  void GoToSceneIndex(int mapIndex, int entry);
  void TravelToArea(int phase);
  int UpdateAreaChange(int n);
  void EnterScene(const std::string& scene, int entry);
  void ReenterScene(int entry);
  // 0, and nothing changed, when "scenes\<name>" is no file.
  int LoadScene(const std::string& scene, int entry);
  void FinishSceneEntry();
  void OpenWorldMap(int place);
  void ShowScene(int show, int partial);
  // Nested calls are counted: the outermost hide stops the worker.
  void ShowLoading(int show, int keepWalkerHidden);
  void ApplyDisplaySettings();
  void ApplyEffectFlags(int on);
  void RefreshAutomap(int redraw);
  void OnWalkerMoved(int stepped);
  void BuildNpcLists();
  void BuildObjectLists();
  void BuildTriggerLists();
  // The walker's, the NPCs' and the objects' collision volumes, built anew.
  void BuildCollisionVolumes();
  // The camera follows the walker again.
  void FollowWalker();
  // Every collision volume moved to its node.
  void FollowVolumes();
  void ReattachSceneObjects();
  void PlaceWalkerAtStart();
  // Event action 17: applied now when the NPC is in the scene, else kept
  // for its scene's next entry.
  void ShowNpc(int npc, int show);
  // 0 when no scene NPC has that NPC-table id.
  int SetNpcVisible(int npc, int show);
  void ApplyPendingNpcVisibility();
  void SaveNpcSnapshots();
  // Only when the snapshot count matches the scene's NPC count.
  void RestoreNpcSnapshots();
  // The map record's CD track, when it names one.
  void PlaySceneTrack();
  // Events, talks, scripts and services.
  int StartEvent(int kind, int event);
  // Added to hero-relative event numbers (0 without a game resource).
  int EventBase() const;
  void StartApproachEvent(int group);
  // The talk group's (1-based) first event whose conditions hold; else
  // kNoApproachEvents or kApproachEventsSpent.
  static constexpr int kNoApproachEvents = -1;
  static constexpr int kApproachEventsSpent = -2;
  int FindApproachEvent(int group);
  int GetLeaderAttribute(int attribute);
  void ChangeLeaderAttribute(int attribute, int sign, int amount);
  void StartScript(const char* name, int event);
  void EndScript();
  void EndTalk();
  void EndMiniGame();
  void StartTalk(EVENTDESC* event, int index);
  void EnterMiniGame(int game);
  // An effect sound of the sound folder, when the game has audio.
  void PlaySound(const char* name);
  // Party services: money (0..999999) and items; sign 0 sets, 1 adds, 2
  // subtracts or removes.
  int GetMoney();
  void ChangeMoney(int sign, int value);
  int ChangeItem(int type, int id, int sign, int count);
  int CountItems(int type, int id);
  void SetStoryFlag(int n, int on);
  // How often the event (relative to the hero's event base) has run.
  int GetEventCount(int relative);
  // 1 when the item chosen in the menu for use has this type and id.
  int MatchUsedItem(int type, int id);
  void ConsumeUsedItem();
  void RestParty();
  void OpenTradeWindow(int shop);
  void GiveItems(const ITEMREWARDDESC* records, int count);
  // The party leader learns a skill and the board says so.
  void LearnLeaderSkill(int skill);
  // Event action 15: to map row index (0-based), entry.
  void ChangeSceneByEvent(int mapIndex, int entry);
  // Boxes and triggers: 1 when handled.
  int OpenBox(int keyframedIndex);
  int FireTrigger(int trigger);
  void CheckTriggers();
  // An NPC of the scene content was reached or clicked; 1 when handled.
  int ApproachTarget(int npc, int holdNpc);
  // Whether reaching the character would start anything: an event of its
  // talk group whose conditions hold, or catching the chaser on its way.
  bool ApproachStartsSomething(int npc);
  // Battles.
  int TryRandomEncounter();
  void StartBattle(int scripted, int bossId);
  // Fills the record of a battle about to start; 0 when it has no enemies
  // (and is no boss battle 8), so none starts.
  int FillBattleDesc(BATTLEDESC& desc, int scripted, int bossId);
  void PlayBattleTransition(int start);
  // Saves (the slot files are described in save_slots.h).
  // Writes the slot's ".map", ".bmp" and then ".sav", each through a temporary
  // file, after removing the temporaries interrupted saves left in "save";
  // 1 when all three were written whole. A ".map" or ".bmp" not written
  // leaves the old ".sav"; a ".sav" not written leaves the old one.
  int SaveGame(int slot, const SAVESUMMARYDESC& summary);
  // Reads the whole slot and checks every chunk first: 1 when loaded; 0 and
  // the game unchanged when the slot is missing or damaged.
  int LoadGame(int slot);
  // 1 when LoadGame would find the slot whole; changes nothing.
  int CanLoadGame(int slot) const;
  // The slot's summary into 100 bytes; 0 (zero-filled) when the slot is missing.
  int ReadSlotSummary(uint8_t* buffer, int slot);
  // Deletes a slot and renumbers the later ones; -1 when it does not exist.
  int DeleteSaveFiles(int slot);
  // int32 n, n show/hide requests and, unless requestsOnly, int32 m and m NPC snapshots.
  void WriteNpcStates(plat::ByteWriter& out, int requestsOnly) const;
  bool ReadNpcStates(plat::ByteReader& in, int requestsOnly, std::vector<NPCVISIBILITYDESC>& requests,
                     std::vector<NPCSNAPSHOTDESC>& snapshots) const;
  // 1 for a row beyond the map table; 0 when name is the row's scene file (any case).
  int IsSceneFileName(int mapRow, const char* name) const;
  // The super save of the first hero's ending; 1 when written whole.
  int CheckSuperSave();
  int WriteSuperSave();
  void ImportSuperSave();

  int state;
  int cameraFollow;
  int skipUiFrame;
  int16_t debugSwitches;
  int16_t currentTrigger;
  CGameMouse mouse;
  int tickCounter = 0;
  int sceneTicks = 0;
  MScene* scene = nullptr;
  CFieldWalker* walker = nullptr;
  IBsCreature* leaderCreature = nullptr;
  CSocietyExt* society = nullptr;
  CMenuAgency* menuAgency = nullptr;
  CDebugConsole* console = nullptr;
  HOBJECT gameOverSprite = 0;
  CBattleSys* battle = nullptr;
  CMiniGameHost* miniGame = nullptr;
  CEncounterTable* encounters = nullptr;
  CPickManager* pick = nullptr;
  CMessageBoard* board = nullptr;
  CCaptionBanner* banner = nullptr;
  CWorldMapScreen* worldMap = nullptr;
  int worldMapChosen = 0;
  static constexpr const char* kResourceName = "zudur.res";
  CGameResource* gameResource = nullptr;
  CGameDataLoader* dataLoader = nullptr;
  CGDItemPool* itemPool = nullptr;
  CSystemConfig* config = nullptr;
  CCutScenePlayer* cutScene = nullptr;
  CTalkHost* talk = nullptr;
  CEventRunner* events = nullptr;
  CSaveThumbnail* menuShot = nullptr;
  CGameAudio* audio = nullptr;
  CLoadingAnimation* loading = nullptr;
  CTransitionPlayer* transition = nullptr;
  TwAppearBossInfo bosses;
  std::vector<int>* boughtItems = nullptr;
  TerrainBoundary* boundary = nullptr;
  int hero = 0;
  int returnState = 0;
  int cursorMode = 0;
  int sceneEffectFlags = 0;
  std::vector<int> otherNpcs;
  std::vector<int> npcsHtoJ;
  std::vector<int> npcsK;
  std::vector<int> npcsL;
  std::vector<int> plainObjects;
  std::vector<int> chkObjects;
  std::vector<int> hitDoorObjects;
  std::vector<int> wwwObjects;
  std::vector<int> animatedObjects;
  std::vector<int> walkInTriggers;
  std::vector<TRIGGERGROUPDESC> bodyTriggerGroups;
  std::vector<int> chkTriggers;
  int battleZones = 0;
  int skipScript = 0;
  float npcRange = 0;
  float objectRange = 0;
  float triggerRange = 0;
  int pendingHeroForm = 0;
  CSceneNpc* talkNpc = nullptr;
  int talkNpcPose = 0;
  int talkNpcState = 0;
  float talkNpcFacing[3] = {0, 0, 0};
  float menuWalkerPos[3] = {0, 0, 0};
  float menuWalkerDir[3] = {0, 0, 0};
  ITEMDESC* usedItem = nullptr;
  int usedItemConsumed = 0;
  std::string pendingScene;
  int pendingEntry = 0;
  int encountersOn = 1;
  int mapHookPaused = 0;
  int dayPhase = 0;
  int milestoneEvent = 0;
  int endingEvent = 0;
  int scriptEvent = -1;
  CGDMainManSoul* battleLeader = nullptr;
  int bossId = 0;
  int gameOverAfter = 0;
  int showCaption = 1;
  std::vector<NPCVISIBILITYDESC> pendingNpcVisibility;
  std::vector<NPCSNAPSHOTDESC> npcSnapshots;
  int leaveCloseUp = 0;
  int automapMode = 2;
  // User-interface frames so far; slow clicks are measured in them.
  unsigned uiFrames = 0;
  unsigned lastLeftPress = 0;
  int slowClickArmed = 0;
  ObjBoundVolume walkerVolume;
  std::vector<ObjBoundVolume> npcVolumes;
  std::vector<ObjBoundVolume> objectVolumes;

 private:
  // Places the walker at an entry point (not 0) of the loaded scene.
  void PlaceWalkerAtEntry(int entry);
  // Deletes leaderCreature unless it is the walker's own.
  void DeleteSeparateLeader();
  // Attaches the walker's creature to the scene society and hands it the
  // scene's characters and triggers.
  void GiveWalkerTheScene();
};

extern CGame* g_game;

// The per-map hooks of the field: a frame hook the scene entry installs and a
// pause hook the main menu calls (1 pause, 0 resume).
using FieldHook = void (*)(int);
extern FieldHook g_fieldFrameHook;
extern FieldHook g_fieldPauseHook;

// Frame-timer callbacks: slot 0 steps the game, slot 1 draws and runs the menus.
void OnGameFrame(int n);
void OnUiFrame(int n);
