#pragma once
// The story logic: events test their conditions and push their actions on a
// stack; an action that hands control elsewhere (a talk, a script, a battle,
// a mini-game, a scene change) stops the run, and the rest runs once the game
// settles again. Run counts, story flags and NPC toggles are saved with the game.
#include <array>
#include <cstdint>

#include "ui/story_flags.h"

class CGameResource;
struct EVENTDESC;
struct EVENTACTIONDESC;

class CEventRunner : public IStoryFlags {
 public:
  static constexpr int kStackSize = 64;
  static constexpr int kStoryFlags = 512;
  static constexpr int kNpcToggles = 2048;
  static constexpr int kMaxRunCount = 15;
  // lastResult values.
  static constexpr int kBattleLost = 13;
  static constexpr int kBattleWon = 14;
  static constexpr int kAnswerBase = 2305;

  // Takes the tables and bases of the resource (null: no events), then Reset.
  explicit CEventRunner(CGameResource* resource);

  void Reset();
  // 1 when every condition of event index holds (0 for an index off the table).
  int CheckConditions(int index);
  // Counts a run and pushes the event's actions, first on top; 0 on overflow.
  int PushEvent(int index);
  // 1 when the action hands control elsewhere and the run must stop.
  int ExecuteAction(const EVENTACTIONDESC* action);
  void RunPending();
  // Run counts by number relative to the hero's event base.
  int GetEventCount(int relative) const;
  void SetEventCount(int relative, int value);
  int TestFlag(int n) const override;
  void SetFlag(int n, int on);
  int TestNpcToggle(int npc) const;
  void FlipNpcToggle(int npc);
  // The type of the next pending action; -1 when none.
  int NextActionType() const;
  // The event record at a table index, null off the table.
  EVENTDESC* Event(int index) const;
  int EventBase() const;
  int GroupBase() const;

  EVENTDESC* eventTable = nullptr;
  const EVENTACTIONDESC* actionTable = nullptr;
  std::array<int16_t, kStackSize> stack{};
  int approachRunning = 0;
  const CGameResource* heroBase = nullptr;
  const CGameResource* groupBase = nullptr;
  int eventCount = 0;
  int16_t lastResult = 0;
  int16_t resultTag = 0;
  int16_t top = 0;
  std::array<uint8_t, kStoryFlags / 8> storyFlags{};
  std::array<uint8_t, kNpcToggles / 8> npcToggles{};
  int scriptEventIndex = 0;

 private:
  // The action record at an index, null off the table.
  const EVENTACTIONDESC* Action(int index) const;
  int ActionCount() const;
  int CheckCondition(int index, const EVENTACTIONDESC& condition) const;
};

// An item encoded in an action or condition: the argument byte is the type
// (above 127: 256 minus the type, inverted sense), the value's low byte the
// id and its high byte the count.
struct EventItem {
  int type = 0;
  int id = 0;
  int count = 0;
  int inverted = 0;
};
EventItem DecodeEventItem(const EVENTACTIONDESC& record);
