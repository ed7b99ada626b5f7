#include "game/event_runner.h"

#include <cstdio>
#include <string>

#include "base/debug_trace.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/main_man_soul.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "game/message_board.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_environment.h"

namespace {

// Types 7 and 8 keep ids past 255 in a shorter range with the count one up.
constexpr int kHighIdType7Limit = 80;
constexpr int kHighIdType8Limit = 40;

int BitOf(const uint8_t* bits, int n) { return (bits[n >> 3] >> (n & 7)) & 1; }

void SetBitOf(uint8_t* bits, int n, int on) {
  const uint8_t mask = static_cast<uint8_t>(1 << (n & 7));
  if (on) bits[n >> 3] |= mask;
  else bits[n >> 3] &= static_cast<uint8_t>(~mask);
}

void SwitchWeather(int bit, int on, int follow) {
  if (!g_game->scene || !g_game->scene->content || !g_game->scene->content->environment) return;
  g_game->scene->content->environment->EnableEffect(bit, on);
  if (follow) g_game->FollowWalker();
}

}  // namespace

EventItem DecodeEventItem(const EVENTACTIONDESC& record) {
  EventItem item;
  item.inverted = record.argument > 127;
  item.type = item.inverted ? 256 - record.argument : record.argument;
  item.id = record.value & 0xFF;
  item.count = static_cast<int8_t>(static_cast<uint16_t>(record.value) >> 8);
  if ((item.type == 7 && item.id < kHighIdType7Limit) || (item.type == 8 && item.id < kHighIdType8Limit)) {
    item.id += 256;
    item.count -= 1;
  }
  return item;
}

CEventRunner::CEventRunner(CGameResource* resource) {
  if (resource) {
    eventTable = resource->Events().data();
    actionTable = resource->Actions().data();
    eventCount = static_cast<int>(resource->Events().size());
    heroBase = resource;
    groupBase = resource;
  }
  Reset();
}

void CEventRunner::Reset() {
  approachRunning = 0;
  lastResult = 0;
  resultTag = 0;
  top = 0;
  storyFlags.fill(0);
  npcToggles.fill(0);
  for (int i = 0; i < eventCount; ++i) eventTable[i].runCount = 0;
}

EVENTDESC* CEventRunner::Event(int index) const {
  if (index < 0 || index >= eventCount) {
    DebugTrace("Event %d is not in the event table\n", index);
    return nullptr;
  }
  return &eventTable[index];
}

int CEventRunner::ActionCount() const { return heroBase ? static_cast<int>(heroBase->Actions().size()) : 0; }

const EVENTACTIONDESC* CEventRunner::Action(int index) const {
  if (index < 0 || index >= ActionCount()) {
    DebugTrace("Event action %d is not in the action table\n", index);
    return nullptr;
  }
  return &actionTable[index];
}

int CEventRunner::EventBase() const { return heroBase ? heroBase->EventBase() : 0; }
int CEventRunner::GroupBase() const { return groupBase ? groupBase->TriggerBase() : 0; }

int CEventRunner::CheckCondition(int index, const EVENTACTIONDESC& c) const {
  const int value = c.value;
  switch (c.type) {
    case 1: return !(value > 0 && eventTable[index].runCount >= value);
    case 2:
    case 6: {
      const EVENTDESC* other = Event(value);
      if (!other) return 0;
      return c.argument ? other->runCount == 0 : other->runCount != 0;
    }
    case 3: return value < 0 ? !TestFlag(-value) : TestFlag(value);
    case 4: {
      const int money = g_gameDataBase.party.GetMoney();
      return value >= 0 ? money >= value : money < -value;
    }
    case 8: {
      const EventItem item = DecodeEventItem(c);
      const int held = g_gameDataBase.party.GetItemCount(item.type, item.id);
      return item.inverted ? held < item.count : held >= item.count;
    }
    case 11: {
      const bool present = g_gameDataBase.party.FindMember(value >= 0 ? value : -value) != nullptr;
      return value >= 0 ? present : !present;
    }
    default: return 1;
  }
}

int CEventRunner::CheckConditions(int index) {
  const EVENTDESC* event = Event(index);
  if (!event) return 0;
  for (int i = 0; i < event->conditionCount; ++i) {
    const EVENTACTIONDESC* c = Action(event->firstAction + i);
    if (!c || !CheckCondition(index, *c)) return 0;
  }
  return 1;
}

int CEventRunner::PushEvent(int index) {
  EVENTDESC* event = Event(index);
  if (!event) return 0;
  if (event->runCount < kMaxRunCount) ++event->runCount;
  const int first = event->firstAction + event->conditionCount;
  for (int i = event->actionCount - 1; i >= 0; --i) {
    if (top < 0) top = 0;
    if (top >= kStackSize) {
      DebugTrace("Event statck over flow !\n");
      return 0;
    }
    stack[static_cast<size_t>(top++)] = static_cast<int16_t>(first + i);
    if (top == kStackSize) {
      DebugTrace("Event statck over flow !\n");
      return 0;
    }
  }
  return 1;
}

void CEventRunner::RunPending() {
  while (top > 0) {
    const int index = stack[static_cast<size_t>(--top)];
    const EVENTACTIONDESC* action = Action(index);
    if (action && ExecuteAction(action)) break;
  }
  if (top == 0) {
    lastResult = 0;
    resultTag = 0;
    if (approachRunning == 1) top = -1;
  } else if (top == -1) {
    top = 0;
    if (g_game) g_game->EndTalk();
  }
}

int CEventRunner::ExecuteAction(const EVENTACTIONDESC* action) {
  switch (action->type) {
    case 9: resultTag = action->value; return 0;
    case 13:
    case 14: resultTag = action->type; return 0;
    default: break;
  }
  if (resultTag != 0 && lastResult != resultTag) return 0;
  CGame* game = g_game;
  if (!game) return 0;
  const int value = action->value;
  switch (action->type) {
    case 2:
      if (CheckConditions(value)) {
        game->StartTalk(Event(value), value);
        PushEvent(value);
      }
      return 1;
    case 3: game->SetStoryFlag(value < 0 ? -value : value, value >= 0); return 0;
    case 4:
      if (value > 0) game->ChangeMoney(1, value);
      else game->ChangeMoney(2, -value);
      return 0;
    case 5:
      game->skipUiFrame = 1;
      game->EnterMiniGame(value);
      return 1;
    case 6:
      if (CheckConditions(value)) {
        game->skipUiFrame = 1;
        scriptEventIndex = value;
        game->StartScript(Event(value)->name, value);
        PushEvent(value);
      }
      return 1;
    case 7: game->StartBattle(0, 0); return 1;
    case 8: {
      const EventItem item = DecodeEventItem(*action);
      const ITEMREWARDDESC reward{item.type, item.id, item.inverted ? -item.count : item.count};
      game->GiveItems(&reward, 1);
      return 0;
    }
    case 10: game->LearnLeaderSkill(value); return 0;
    case 11: game->ChangeHeroForm(value); return 0;
    case 12:
      resultTag = 0;
      game->skipUiFrame = 1;
      game->StartBattle(1, action->argument);
      return 1;
    case 15: game->ChangeSceneByEvent(value, action->argument); return 1;
    case 16:
      if (game->scene) game->scene->StartFade(value, 1);
      return 0;
    case 17: game->ShowNpc(value, static_cast<int8_t>(action->argument) > 0); return 0;
    case 18: SwitchWeather(2, value, 1); return 0;
    case 19: SwitchWeather(4, value, 1); return 0;
    case 20: SwitchWeather(8, value, 1); return 0;
    case 21: SwitchWeather(1, value, 0); return 0;
    case 22: game->ChangeLeaderAttribute(action->argument >> 2, 1, value); return 0;
    default: return 0;
  }
}

int CEventRunner::GetEventCount(int relative) const {
  const int index = relative + EventBase() - 1;
  return index >= 0 && index < eventCount ? eventTable[index].runCount : 0;
}

void CEventRunner::SetEventCount(int relative, int value) {
  const int index = relative + EventBase() - 1;
  if (index >= 0 && index < eventCount) eventTable[index].runCount = static_cast<uint8_t>(value);
}

int CEventRunner::TestFlag(int n) const {
  if (n < 0 || n >= kStoryFlags) {
    DebugTrace("Story flag %d is out of range\n", n);
    return 0;
  }
  return BitOf(storyFlags.data(), n);
}

void CEventRunner::SetFlag(int n, int on) {
  if (n < 0 || n >= kStoryFlags) {
    DebugTrace("Story flag %d is out of range\n", n);
    return;
  }
  SetBitOf(storyFlags.data(), n, on);
}

int CEventRunner::TestNpcToggle(int npc) const {
  return npc >= 0 && npc < kNpcToggles ? BitOf(npcToggles.data(), npc) : 0;
}

void CEventRunner::FlipNpcToggle(int npc) {
  if (npc < 0 || npc >= kNpcToggles) return;
  SetBitOf(npcToggles.data(), npc, !BitOf(npcToggles.data(), npc));
}

int CEventRunner::NextActionType() const {
  if (top <= 0) return -1;
  const EVENTACTIONDESC* action = Action(stack[static_cast<size_t>(top - 1)]);
  return action ? action->type : -1;
}
