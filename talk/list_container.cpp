#include "talk/list_container.h"

#include <algorithm>
#include <cstdio>

#include "platform/crt.h"
#include "talk/base_talk_player.h"

namespace {

// Pushes the player's current node and makes node current.
void Descend(CBaseTalkPlayer& player, CBaseListContainer* node) {
  if (player.current) player.nodeStack.push_back(player.current);
  player.depth = static_cast<int>(player.nodeStack.size());
  player.current = node;
}

}  // namespace

void CBaseListContainer::Dump() const {
  switch (kind) {
    case NODE_SEQUENCE: std::fputs("Sequence list\n", stdout); break;
    case NODE_RANDOM: std::fputs("Random list\n", stdout); break;
    case NODE_OPTIONAL: std::fputs("Optional list\n", stdout); break;
    case NODE_TALK: std::fputs("Talk\n", stdout); break;
    default: break;
  }
  DumpMembers();
}

void CBaseListContainer::DumpMembers() const {
  if (childCount == 0) return;
  std::printf("%d members\n", childCount);
  for (const auto& child : children) child->Dump();
}

int CBaseListContainer::AddChild(std::unique_ptr<CBaseListContainer> child) {
  child->index = childCount;
  children.push_back(std::move(child));
  return ++childCount;
}

void CBaseListContainer::ResolveLinks(CBaseTalkPlayer& player) {
  if (!link.empty()) {
    linkTarget = player.FindAname(link);
    if (!linkTarget) player.ReportError("Symbol Name:\"%s\" is undefined\n", link.c_str());
  }
  if (!switchName.empty()) {
    switchTarget = player.FindAname(switchName);
    if (!switchTarget) player.ReportError("Symbol Name:\"%s\" is undefined\n", switchName.c_str());
  }
  for (auto& child : children) child->ResolveLinks(player);
}

CBaseListContainer* CBaseListContainer::GetChild(int childIndex) const {
  if (childIndex < 0 || childIndex >= childCount) return nullptr;
  return children[static_cast<size_t>(childIndex)].get();
}

void CBaseListContainer::Reset() {
  visits = 0;
  cursor = 0;
  for (auto& child : children) child->Reset();
}

void CBaseListContainer::SetParent(CBaseListContainer* newParent) {
  parent = newParent;
  if (parent) style = parent->style;
}

void CBaseListContainer::Inherit(const CBaseTalkPlayer& root) {
  style = root.style;
  style.speed = root.talkSpeed;
}

void CBaseListContainer::Filter() {
  enabledCount = 0;
  for (auto& child : children) {
    child->enabled = (!child->condition || child->condition.Evaluate() != 0) ? 1 : 0;
    enabledCount += child->enabled;
  }
  std::sort(children.begin(), children.end(), [](const auto& a, const auto& b) {
    if (a->enabled != b->enabled) return a->enabled > b->enabled;
    return a->index < b->index;
  });
}

int CSequenceContainer::Enter(CBaseTalkPlayer& player) {
  CBaseListContainer* child = GetChild(cursor);
  if (!child) return 0;
  Descend(player, child);
  return 1;
}

int CRandomContainer::Enter(CBaseTalkPlayer& player) {
  if (childCount == 0) return 0;
  cursor = plat::Rand() % childCount;
  Descend(player, GetChild(cursor));
  return 1;
}

int COptionalContainer::Enter(CBaseTalkPlayer& player) {
  Descend(player, this);
  return 1;
}

CSentence::CSentence() : CSequenceContainer(NODE_SENTENCE) { speaker = kBig5Player; }

void CSentence::Dump() const {
  std::printf("%s:%s\n", speaker.c_str(), text.c_str());
  DumpMembers();
}

int CSentence::Enter(CBaseTalkPlayer& player) {
  Descend(player, this);
  return 1;
}
