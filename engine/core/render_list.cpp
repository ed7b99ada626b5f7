#include "engine/core/render_list.h"

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

}  // namespace

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
