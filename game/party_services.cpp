// Events, talks, scripts, the mini-game and movies.
#include <string>

#include "cutscene/cut_scene_player.h"
#include "engine/media/movies.h"
#include "game/database/game_database.h"
#include "game/event_runner.h"
#include "game/game.h"
#include "world/game_resource.h"

int CGame::EventBase() const { return gameResource ? gameResource->EventBase() : 0; }

// MINIMAL: no event starts.
int CGame::StartEvent(int, int) { return 0; }
// MINIMAL: no approach event starts; the walker goes back to settling.
void CGame::StartApproachEvent(int) { state = GS_SETTLE; }
// MINIMAL: the walker does not walk up to the target; nothing starts.
int CGame::ApproachTarget(int, int) { return 0; }
// MINIMAL: the leader's attributes are not read yet.
int CGame::GetLeaderAttribute(int) { return 0; }
// MINIMAL: the leader's attributes are not changed yet.
void CGame::ChangeLeaderAttribute(int, int, int) {}
int CGame::GetMoney() { return g_gameDataBase.party.GetMoney(); }
// MINIMAL: no "findbox.wav" and no item-info box when money is added.
void CGame::ChangeMoney(int sign, int amount) {
  int64_t money = g_gameDataBase.party.GetMoney();
  if (sign == 0) money = amount;
  if (sign == 1) money += amount;
  if (sign == 2) money -= amount;
  g_gameDataBase.party.SetMoney(money);
}
// MINIMAL: the party's items are not changed yet.
int CGame::ChangeItem(int, int, int, int) { return 0; }
// MINIMAL: no item is ever chosen for use.
int CGame::MatchUsedItem(int, int) { return 0; }
// MINIMAL: story flags are not kept yet.
void CGame::SetStoryFlag(int, int) {}
// MINIMAL: no event has run yet.
int CGame::GetEventCount(int) { return 0; }
// MINIMAL: no trade window opens.
void CGame::OpenTradeWindow(int) {}
// MINIMAL: the party is not rested.
void CGame::RestParty() {}
// MINIMAL: no mini-game is entered.
void CGame::EnterMiniGame(int) {}

// MINIMAL: only the play is made and loaded; the cursor, keys, scene and
// talk window are left as they are.
void CGame::StartScript(const char* name, int event) {
  skipScript = 0;
  scriptEvent = event <= 0 ? -1 : event;
  cutScene->Create(640, 480, nullptr, 0);
  cutScene->SetDirectories("creature", "resource", "waves", "texture", "scripts");
  cutScene->Load(name, 1);
  state = GS_SCRIPT;
}

// MINIMAL: only the answer, the settle state and the stop of the play.
void CGame::EndScript() {
  if (cutScene->GetAnswer() >= 0) events->lastResult = cutScene->GetAnswer() + 2305;
  state = GS_SETTLE;
  cutScene->Stop();
}

// MINIMAL: no talk character is restored.
void CGame::EndTalk() { state = GS_SETTLE; }
// MINIMAL: no prize or result is handed out.
void CGame::EndMiniGame() { state = GS_SETTLE; }

void CGame::PlayMovie(const char* name) {
  HOBJECT movie = OpenMovie((std::string(name) + ".avi").c_str());
  if (!movie) return;
  ::PlayMovie(movie, 0, 60, 0, 0, 0);
  CloseMovie(movie);
}
