#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// How a started action blends out of the one the body plays.
struct ACTIONTRANSITION {
  int32_t fromAction = 0;
  int32_t toAction = 0;
  int32_t unused = 0;
  int32_t earliest = 0;
  int32_t latest = 0;
  int32_t start = 0;
};

// One action of the table: 24 ints as stored (ints 11 and 12 hold floats).
// Int 23 is only a slot in the file; a started action keeps its transition
// in `transition` instead.
struct ACTIONDESC {
  static constexpr int kInts = 24;
  enum {
    ID = 0,
    KIND,
    FACING,
    MODE,
    POSE,
    START,
    END,
    MOTION_FIRST,
    RELEASE,
    TRACK_MOTION,
    ACTION_MOTION,
    SIDEWAYS,
    FORWARD,
    HIT_FIRST,
    HIT_COUNT = 21,
    TRANSITION = 23
  };
  static constexpr int kMaxHits = 8;

  std::array<int32_t, kInts> ints{};
  ACTIONTRANSITION transition;

  int32_t& operator[](int i) { return ints[static_cast<size_t>(i)]; }
  int32_t operator[](int i) const { return ints[static_cast<size_t>(i)]; }
  float Float(int i) const;
  void SetFloat(int i, float v);
  // The used hit frames (int 21, at most 8).
  int HitCount() const;
};

// The actions of one fighter type.
struct ACTIONRECORD {
  int32_t type = 0;
  std::vector<ACTIONTRANSITION> transitions;
  std::vector<ACTIONDESC> actions;
};

// "kbs.acb": two unread ints, a record count, then per record the fighter
// type, the transition and action counts and their entries (24 and 96 bytes).
class CActionTable {
 public:
  static constexpr size_t kTransitionBytes = 24;
  static constexpr size_t kActionBytes = 96;

  // Keeps every whole record; a record cut short or with counts beyond the
  // file ends the table. 0 when the file is missing or has no header.
  int Load(const std::string& path);
  int Parse(const std::vector<uint8_t>& bytes);
  const ACTIONRECORD* FindActionRecord(int type) const;
  void Clear() { records.clear(); }

  std::vector<ACTIONRECORD> records;
  // The record count the file's header gives.
  size_t declared = 0;
};
