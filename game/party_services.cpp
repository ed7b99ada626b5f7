// The party values talks, events and the console read and change, and the
// starters and enders of events, talks, approaches and the mini-game.
#include <array>
#include <span>
#include <string>
#include <vector>

#include "base/debug_trace.h"
#include "base/game_audio.h"
#include "cutscene/cut_scene_player.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/item_pool.h"
#include "database/main_man_soul.h"
#include "engine/media/movies.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "game/message_board.h"
#include "game/pick_manager.h"
#include "platform/crt.h"
#include "talk/talk_host.h"
#include "ui/item_boxes.h"
#include "ui/screen_manager.h"
#include "world/map_scene.h"
#include "world/mini_game_host.h"
#include "world/scene_content.h"
#include "world/scene_environment.h"
#include "world/scene_npc.h"

namespace {

constexpr int kMoneyType = 9;
constexpr int kEventType = 10;
constexpr int kApproachType = 11;
constexpr int kHintFlagsFrom = 100;
// The second hero's script events start this far past the event base.
constexpr int kSecondHeroEvents = 1501;
// An item's values[2]: 1 when using it in a talk uses it up.
constexpr int kItemConsumable = 2;
constexpr int kMiniGamePrizeType = 7;
constexpr int kMiniGamePrizeId = 266;
// The resource's notice text the board shows before a learned skill's name.
constexpr int kSkillLearnedMessage = 125;

CGDMainManSoul* Leader() {
  const CParty& party = g_gameDataBase.party;
  return party.members.empty() ? nullptr : party.FindMember(party.members[0]);
}

}  // namespace

int CGame::StartEvent(int kind, int event) {
  if (kind == 6) {
    const int secondFrom = events->EventBase() + kSecondHeroEvents;
    if ((hero == 2 && event < secondFrom) || (hero == 1 && event >= secondFrom)) return 0;
  }
  if (!events->CheckConditions(event - 1)) return 0;
  if (walker) walker->SetAction(2);
  const EVENTACTIONDESC action{static_cast<uint8_t>(kind), 0, static_cast<int16_t>(event - 1)};
  events->ExecuteAction(&action);
  return 1;
}

int CGame::GetLeaderAttribute(int attribute) {
  CGDMainManSoul* leader = Leader();
  return leader ? leader->GetAttribute(attribute) : 0;
}

void CGame::ChangeLeaderAttribute(int attribute, int sign, int amount) {
  CGDMainManSoul* leader = Leader();
  if (!leader) return;
  switch (sign) {
    case 0: leader->SetAttributeBase(attribute, amount); break;
    case 1: leader->AddAttribute(attribute, amount); break;
    case 2: leader->AddAttribute(attribute, -amount); break;
    default: break;
  }
}

void CGame::PlaySound(const char* name) {
  if (audio && name) audio->PlayEffect(name);
}

int CGame::EventBase() const { return gameResource ? gameResource->EventBase() : 0; }

int CGame::GetMoney() { return g_gameDataBase.party.GetMoney(); }

void CGame::ChangeMoney(int sign, int value) {
  CParty& party = g_gameDataBase.party;
  const int64_t money = party.GetMoney();
  switch (sign) {
    case 0: party.SetMoney(value); break;
    case 1: {
      party.SetMoney(money + value);
      PlaySound("findbox.wav");
      ITEMINFODESC info;
      info.money = value;
      ShowItemInfo(&info);
      break;
    }
    case 2: party.SetMoney(money - value); break;
    default: break;
  }
}

int CGame::ChangeItem(int type, int id, int sign, int count) {
  ITEMINFODESC info;
  info.items[0] = g_gameDataBase.FindItem(type, id);
  info.counts[0] = count;
  switch (sign) {
    case 0:
      itemPool->SetItemCount(type, id, count);
      if (count) PlaySound("findbox.wav");
      ShowItemInfo(&info);
      return 0;
    case 1:
      PlaySound("findbox.wav");
      itemPool->AddItem(type, id, count, -1);
      ShowItemInfo(&info);
      return 0;
    case 2: return itemPool->RemoveItem(type, id, count);
    default: return 0;
  }
}

int CGame::CountItems(int type, int id) { return g_gameDataBase.party.GetItemCount(type, id); }

void CGame::SetStoryFlag(int n, int on) {
  events->SetFlag(n, on);
  if (on && n > kHintFlagsFrom && (n & 1) && n < CEventRunner::kStoryFlags) {
    PlaySound("info.wav");
    ShowNewHint();
  }
}

int CGame::GetEventCount(int relative) { return events->GetEventCount(relative); }

int CGame::MatchUsedItem(int type, int id) {
  if (!usedItem || usedItem->Type() != type || usedItem->Id() != id) return 0;
  usedItemConsumed = 1;
  ReleaseSelectedItem();
  return 1;
}

void CGame::ConsumeUsedItem() {
  if (usedItem && usedItem->values[kItemConsumable] == 1) itemPool->RemoveItem(usedItem->Type(), usedItem->Id(), 1);
  usedItemConsumed = 0;
  usedItem = nullptr;
}

void CGame::RestParty() {
  if (scene) scene->Show(0, 1);
  if (CGDMainManSoul* leader = Leader()) {
    leader->SetAttributeValue(kAttrHp, leader->GetAttribute(kAttrMaxHp));
    leader->SetAttributeValue(kAttrMp, leader->GetAttribute(kAttrMaxMp));
  }
  if (scene) scene->Show(1, 1);
}

void CGame::OpenTradeWindow(int shop) {
  talk->ShowWindow(0, 0);
  SetCursorShape(2, 0);
  state = GS_MENU;
  ShowScene(0, 0);
  if (audio) audio->ApplyMusicVolume();
  ::OpenTradeWindow(shop);
}

void CGame::GiveItems(const ITEMREWARDDESC* records, int count) {
  if (!records || count <= 0) return;
  bool all = false;
  for (int i = 0; i < count; ++i) all = all || records[i].type > kMoneyType;
  std::vector<int> chosen(static_cast<size_t>(count), 1);
  if (!all) {
    bool any = false;
    for (int& c : chosen) {
      c = plat::Rand() > 16383;
      any = any || c;
    }
    if (!any) chosen[0] = 1;
  }
  ITEMINFODESC info;
  size_t slot = 0;
  bool given = false;
  int startKind = 0;
  int startNumber = 0;
  for (int i = 0; i < count; ++i) {
    if (!chosen[static_cast<size_t>(i)]) continue;
    const ITEMREWARDDESC& r = records[i];
    if (r.type == kMoneyType) {
      g_gameDataBase.party.SetMoney(static_cast<int64_t>(g_gameDataBase.party.GetMoney()) + r.amount * 10);
      info.money += r.amount * 10;
      given = true;
    } else if (r.type == kEventType || r.type == kApproachType) {
      startKind = r.type;
      startNumber = r.id + 256 * r.amount;
    } else if (ITEMDESC* item = g_gameDataBase.FindItem(r.type, r.id)) {
      if (r.amount > 0) {
        if (slot < info.items.size()) {
          info.items[slot] = item;
          info.counts[slot++] = r.amount;
        }
        itemPool->AddItem(r.type, r.id, r.amount, -1);
        given = true;
      } else if (r.amount < 0) {
        itemPool->RemoveItem(r.type, r.id, -r.amount);
      }
    }
  }
  if (given) {
    PlaySound("findbox.wav");
    ShowItemInfo(&info);
  }
  if (startKind == kEventType) StartEvent(6, startNumber + events->EventBase());
  else if (startKind == kApproachType) StartApproachEvent(startNumber + events->GroupBase());
}

void CGame::LearnLeaderSkill(int skill) {
  CGDMainManSoul* leader = Leader();
  if (!leader) return;
  leader->LearnAction(skill);
  if (skill < 1 || skill > static_cast<int>(leader->actions.size())) {
    DebugTrace("Skill %d: the leader has no such skill record\n", skill);
    return;
  }
  const char* notice = gameResource ? gameResource->MessageText(kSkillLearnedMessage) : nullptr;
  ShowBoardMessage(board, "%s %s", notice ? notice : "", leader->actions[static_cast<size_t>(skill - 1)].name.c_str());
}

void CGame::ChangeSceneByEvent(int mapIndex, int entry) {
  tickCounter = 0;
  if (!gameResource || mapIndex < 0 || mapIndex >= static_cast<int>(gameResource->Maps().size())) {
    DebugTrace("Scene change to map %d: no such map\n", mapIndex);
    return;
  }
  // The scene the party stands in is re-entered, keeping its people and timers.
  if (scene && IsSceneFileName(mapIndex, scene->sceneName.c_str()) == 0) {
    ReenterScene(entry);
    return;
  }
  GoToSceneIndex(mapIndex, entry);
}

void CGame::StartTalk(EVENTDESC* event, int index) {
  if (walker) {
    walker->idleTimer = 0;
    walker->idleAllowed = 0;
  }
  state = GS_TALK;
  if (talk->player) talk->player->Resume();
  SetCursorMode(2);
  talk->event = index;
  talk->StartTalk(event ? event->name : "");
  BindTalkKeys();
}

void CGame::EndTalk() {
  if (usedItemConsumed) ConsumeUsedItem();
  state = GS_SETTLE;
  if (walker) {
    walker->idleTimer = 0;
    walker->idleAllowed = 1;
  }
  if (talkNpc) {
    talkNpc->ResumeRoutine();
    talkNpc->SetPose(talkNpcPose, 1);
    talkNpc->state = static_cast<uint8_t>(talkNpcState);
    if (talkNpcPose) talkNpc->FaceTowards(talkNpc->walkTarget);
    else talkNpc->heading = VECTOR3{talkNpcFacing[0], talkNpcFacing[1], talkNpcFacing[2]};
  }
  talkNpc = nullptr;
  events->approachRunning = 0;
}

void CGame::EnterMiniGame(int game) {
  state = GS_MINIGAME;
  SetCursorMode(2);
  BindTalkKeys();
  (void)game;  // one mini-game: the number guess
  miniGame->Start();
}

void CGame::EndMiniGame() {
  state = GS_SETTLE;
  miniGame->Stop();
  if (scene && scene->content && scene->content->environment) scene->content->environment->Apply();
  int result = CEventRunner::kBattleLost;
  if (!miniGame->lost) {
    ChangeItem(kMiniGamePrizeType, kMiniGamePrizeId, 1, 1);
    result = CEventRunner::kBattleWon;
  }
  if (events->top > 0) {
    events->lastResult = static_cast<int16_t>(result);
    events->RunPending();
  }
}

void CGame::PlayMovie(const char* name) {
  HOBJECT movie = OpenMovie((std::string(name) + ".avi").c_str());
  if (!movie) return;
  ::PlayMovie(movie, 0, 60, 0, 0, 0);
  CloseMovie(movie);
}

// The group end table is the block kept with the group base: int16 event
// indices where each talk group's events end, the first group starting at
// the int16 at the front of the base's number block.
int CGame::FindApproachEvent(int group) {
  const int g = group - 1;
  const std::span<const uint8_t> ends = gameResource ? gameResource->Block(32) : std::span<const uint8_t>{};
  const int groups = static_cast<int>(ends.size() / 2);
  if (g < 0 || g >= groups || !events) return kNoApproachEvents;
  auto endOf = [&](int i) {
    return static_cast<int16_t>(ends[static_cast<size_t>(2 * i)] | ends[static_cast<size_t>(2 * i + 1)] << 8);
  };
  const std::array<uint8_t, CGameResource::kNumberBlockSize>& base = gameResource->NumberBlock(29);
  const int from = g == 0 ? static_cast<int16_t>(base[0] | base[1] << 8) : endOf(g - 1);
  if (from >= endOf(g)) return kNoApproachEvents;
  for (int index = from; index < endOf(g); ++index)
    if (events->CheckConditions(index)) return index;
  return kApproachEventsSpent;
}

void CGame::StartApproachEvent(int group) {
  if (group != 0) {
    if (pick) pick->target = -1;
    SetCursorShape(1, 0);
  } else {
    // The group of the character the pick manager holds.
    CSceneContent* content = scene ? scene->content.get() : nullptr;
    const int npc = pick ? pick->target : -1;
    const bool known = content && npc >= 0 && npc < static_cast<int>(content->people.size()) &&
                       content->people[static_cast<size_t>(npc)]->npc;
    group = known ? content->people[static_cast<size_t>(npc)]->npc->Role() : 0;
  }
  const int index = FindApproachEvent(group);
  if (index < 0) {
    if (index == kNoApproachEvents) DebugTrace("Talk group %d has no events\n", group);
    state = GS_SETTLE;
    return;
  }
  events->approachRunning = 1;
  const EVENTACTIONDESC talkAction{2, 0, static_cast<int16_t>(index)};
  events->ExecuteAction(&talkAction);
}
