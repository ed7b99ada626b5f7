#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Fences: scripted action segments of a swordsman, read from its ".fn" file.

// One compose frame: a pose played over frameCount fence frames while the
// creature turns, moves and may leave afterimages. Stored as 72 bytes.
struct COMPOSEFRAMEDESC {
  static constexpr int kSize = 72;

  int32_t pose = 0;
  int32_t playMode = 0;
  uint32_t flags = 0;
  int32_t frameCount = 0;
  float target[3] = {0, 0, 0};
  float angles[3] = {0, 0, 0};  // about Z, X and Y, degrees
  uint8_t startOffset = 0;
  uint8_t endMargin = 0;
  uint8_t afterimageRate = 0;
  uint8_t afterimageFade = 0;

  // 0 and 3 the pose start, 1 and 2 its loop start, 4 start + offset, others unchanged.
  int StartKind() const { return static_cast<int>(flags >> 28); }
  // 0 root motion off, 1 on, 2 move linearly to the target, 3 as it is.
  int Motion() const { return static_cast<int>(flags >> 24 & 3); }
  // 1 afterimages, 2 hidden.
  int Effect() const { return static_cast<int>(flags >> 26 & 3); }
};

struct FENCEDESC {
  int32_t id = 0;
  int32_t keptValue = 0;  // the battle body's
  uint32_t flags = 0;
  int32_t keptValue2 = 0;
  std::vector<COMPOSEFRAMEDESC> frames;
  std::vector<uint32_t> hits;  // low 16 bits the fence frame, high 16 bits the value

  int ShotCode() const { return static_cast<int>(flags >> 28); }
  // 0, 1, or -1 for any other stored value.
  int Kind() const { return Small(flags >> 24 & 0xF); }
  int MoveKind() const { return Small(flags >> 20 & 0xF); }
  bool Composite() const { return (flags >> 16 & 0xF) == 1; }
  int Length() const;

 private:
  static int Small(uint32_t v) { return v <= 1 ? static_cast<int>(v) : -1; }
};

// The follow-up tree of a fence: the fences that may follow it, by key.
class CFenceTree {
 public:
  CFenceTree(int32_t key, int32_t id) : key(key), id(id) {}
  virtual ~CFenceTree() = default;
  CFenceTree(const CFenceTree&) = delete;
  CFenceTree& operator=(const CFenceTree&) = delete;

  // Takes ownership; 1.
  virtual int AddChild(CFenceTree* tree);
  // Deletes the child, keeping the others in order; 0 for a bad index.
  virtual int RemoveChild(int index);
  // Appends its id when not negative, then its children's, depth first; 1
  // when the list is not empty.
  virtual int CollectIds(std::vector<int>* list) const;
  virtual CFenceTree* Clone() const;

  int ChildCount() const { return static_cast<int>(children.size()); }

  int32_t key;
  int32_t id;  // -1: none
  std::vector<std::unique_ptr<CFenceTree>> children;
};

// A swordsman's fences, shared by its shared clones.
struct CFenceData {
  static constexpr uint32_t kVersion = 0x20001;
  static constexpr int kMaxTreeDepth = 64;

  int32_t groupCount = 0;
  int32_t fenceCount = 0;
  std::vector<std::vector<FENCEDESC>> groups;      // groupCount x fenceCount
  std::vector<std::unique_ptr<CFenceTree>> trees;  // one per fence number
  std::array<int32_t, 4> header{};

  std::unique_ptr<CFenceData> Copy() const;
};

// Reads a ".fn" file; null (with a DebugTrace line for a wrong version or a
// damaged file) when it is missing or refused.
std::unique_ptr<CFenceData> ReadFenceFile(const std::string& path);
