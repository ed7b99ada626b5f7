#pragma once
// The party: header values (money among them), the member list with the
// leader first, and the five item lists.
#include <array>
#include <cstdint>
#include <vector>

#include "database/records.h"

class CGDMainManSoul;

// The five item lists, in this order.
enum : int { kListType8 = 0, kListType7 = 1, kListType6 = 2, kListType1 = 3, kListGear = 4 };
constexpr int kPartyListCount = 5;
// The list that keeps an item type (2 to 5 share one), -1 outside 1 to 8.
int PartyListOfType(int32_t type);

constexpr int32_t kMaxMoney = 999999;

class CParty {
 public:
  // Indices into header.
  enum : int { kSummaryValue = 2, kMoney = 4 };

  // The hero record of a member, null when the id is not in the member list.
  CGDMainManSoul* FindMember(int32_t id) const;
  int32_t GetItemCount(int32_t type, int32_t id) const;
  // Adds amount (setFlag 0) or sets the count (setFlag 1); no stack limit here.
  int ChangeItemCount(int32_t id, int32_t amount, int32_t type, int setFlag);
  void TickMemberEffects();
  // Ends every active effect of every member, taking revertible changes back.
  void ClearMemberEffects();
  void Clear();
  void Reset();

  int32_t GetMoney() const { return header[kMoney]; }
  // Money is kept within 0..999999.
  void SetMoney(int64_t money);

  std::array<int32_t, 8> header{};
  std::vector<int32_t> members;
  std::array<std::vector<PARTYITEMDESC>, kPartyListCount> itemLists;
};
