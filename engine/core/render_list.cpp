#include "engine/core/render_list.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/core/nodes.h"
#include "engine/core/world.h"

namespace {

RENDERLISTDESC* List() { return g_gameWorld ? g_gameWorld->renderList.get() : nullptr; }

void InsertAfter(RENDERLISTDESC* list, NODEDESC* node, NODEDESC* before) {
  node->renderPrev = before;
  node->renderNext = before->renderNext;
  if (before->renderNext) before->renderNext->renderPrev = node;
  else list->tail = node;
  before->renderNext = node;
}

void InsertBefore(RENDERLISTDESC* list, NODEDESC* node, NODEDESC* after) {
  node->renderNext = after;
  node->renderPrev = after->renderPrev;
  if (after->renderPrev) after->renderPrev->renderNext = node;
  else list->head = node;
  after->renderPrev = node;
}

bool InList(const RENDERLISTDESC* list, const NODEDESC* node) {
  return node->renderPrev || node->renderNext || list->head == node;
}

// Sorts each run between keys that are not numbers.
void SortRuns(std::vector<NODEDESC*>& order, size_t first, size_t last, bool ascending) {
  auto before = [ascending](const NODEDESC* a, const NODEDESC* b) {
    return ascending ? a->sortKey < b->sortKey : a->sortKey > b->sortKey;
  };
  size_t runStart = first;
  for (size_t i = first; i <= last; ++i) {
    if (i < last && !std::isnan(order[i]->sortKey)) continue;
    std::stable_sort(order.begin() + static_cast<long>(runStart), order.begin() + static_cast<long>(i), before);
    runStart = i + 1;
  }
}

}  // namespace

void SortRenderListByKey(size_t split) {
  RENDERLISTDESC* list = List();
  if (!list || !list->head) return;
  std::vector<NODEDESC*> order;
  for (NODEDESC* node = list->head; node; node = node->renderNext) order.push_back(node);
  split = std::min(split, order.size());
  SortRuns(order, 0, split, false);
  SortRuns(order, split, order.size(), true);
  NODEDESC* previous = nullptr;
  for (NODEDESC* node : order) {
    node->renderPrev = previous;
    if (previous) previous->renderNext = node;
    previous = node;
  }
  previous->renderNext = nullptr;
  list->head = order.front();
  list->tail = previous;
}

void AppendToRenderList(NODEDESC* node) {
  RENDERLISTDESC* list = List();
  if (!list || !node || InList(list, node)) return;
  node->renderNext = nullptr;
  node->renderPrev = list->tail;
  if (list->tail) list->tail->renderNext = node;
  else list->head = node;
  list->tail = node;
}

void UnlinkFromRenderList(NODEDESC* node) {
  RENDERLISTDESC* list = List();
  if (!list || !node || !InList(list, node)) return;
  if (node->renderPrev) node->renderPrev->renderNext = node->renderNext;
  else list->head = node->renderNext;
  if (node->renderNext) node->renderNext->renderPrev = node->renderPrev;
  else list->tail = node->renderPrev;
  node->renderNext = node->renderPrev = nullptr;
}

void MoveToRenderListTail(NODEDESC* node, int oneStep) {
  RENDERLISTDESC* list = List();
  if (!list || !node || list->tail == node || !InList(list, node)) return;
  NODEDESC* successor = node->renderNext;
  UnlinkFromRenderList(node);
  if (oneStep && successor && successor != list->tail) InsertAfter(list, node, successor);
  else AppendToRenderList(node);
}

void MoveToRenderListHead(NODEDESC* node, int oneStep) {
  RENDERLISTDESC* list = List();
  if (!list || !node || list->head == node || !InList(list, node)) return;
  NODEDESC* predecessor = node->renderPrev;
  UnlinkFromRenderList(node);
  if (oneStep && predecessor && predecessor != list->head) InsertBefore(list, node, predecessor);
  else if (list->head) InsertBefore(list, node, list->head);
  else AppendToRenderList(node);
}
