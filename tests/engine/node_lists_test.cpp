#include <algorithm>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "engine/core/render_list.h"
#include "platform/crt.h"
#include "tests/engine/scene_fixture.h"

namespace enginetest {
namespace {

using NodeListsTest = SceneTest;

// The order repeated passes of neighbour swaps give: [first, last) by
// ascending or descending key.
void SwapSort(std::vector<std::pair<float, int>>& keys, size_t first, size_t last, bool ascending) {
  for (size_t end = last; end > first + 1; --end) {
    bool swapped = false;
    for (size_t i = first; i + 1 < end; ++i) {
      const float a = keys[i].first, b = keys[i + 1].first;
      if (ascending ? a > b : a < b) {
        std::swap(keys[i], keys[i + 1]);
        swapped = true;
      }
    }
    if (!swapped) return;
  }
}

TEST_F(NodeListsTest, KeySortGivesTheOrderOfNeighbourSwaps) {
  const float nan = NAN;
  struct Case {
    const char* name;
    std::vector<float> keys;  // in list order
    size_t split;             // opaque places at the head
  } cases[] = {
      {"sorted", {9, 7, 5, 3, 1}, 5},
      {"reversed", {1, 2, 3, 4, 5, 6}, 6},
      {"ties keep their order", {2, 5, 2, 5, 2, 1, 5}, 7},
      {"translucent tail near to far", {1, 8, 3, 9, 4, 2, 7}, 3},
      {"all translucent", {3, 1, 2, 2, 1}, 0},
      {"not a number stays put", {1, 4, nan, 9, 2, 7, nan, 3, 8}, 9},
      {"not a number in the tail", {5, 6, 9, nan, 1, 4, 0}, 2},
      {"infinities and signed zeros", {-0.0f, INFINITY, 0.0f, -INFINITY, 3}, 3},
      {"one node", {4}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<HOBJECT> made;
    for (size_t i = 0; i < c.keys.size(); ++i) {
      BeginNode(NODE_MESH);
      made.push_back(EndNode(0));
    }
    std::vector<NODEDESC*> before = RenderOrder();
    ASSERT_EQ(before.size(), c.keys.size());
    std::vector<std::pair<float, int>> expected;
    for (size_t i = 0; i < before.size(); ++i) {
      before[i]->sortKey = c.keys[i];
      expected.push_back({c.keys[i], static_cast<int>(i)});
    }
    SwapSort(expected, c.split, expected.size(), true);
    SwapSort(expected, 0, c.split, false);

    SortRenderListByKey(c.split);
    const std::vector<NODEDESC*> after = RenderOrder();
    ASSERT_EQ(after.size(), expected.size());
    for (size_t i = 0; i < after.size(); ++i) {
      EXPECT_EQ(after[i], before[static_cast<size_t>(expected[i].second)]) << "place " << i;
      EXPECT_EQ(after[i]->renderPrev, i ? after[i - 1] : nullptr);
    }
    EXPECT_EQ(GetGameWorld()->renderList->tail, after.back());
    for (HOBJECT node : made) DestroyNode(node);
  }
}

// Every link between live nodes names a live node and is mirrored.
void ExpectConsistent(const std::set<NODEDESC*>& live) {
  for (NODEDESC* n : live) {
    if (n->parent) {
      EXPECT_TRUE(live.count(n->parent));
    }
    NODEDESC* previous = nullptr;
    for (NODEDESC* child = n->firstChild; child; previous = child, child = child->nextSibling) {
      ASSERT_TRUE(live.count(child));
      EXPECT_EQ(child->parent, n);
      EXPECT_EQ(child->prevSibling, previous);
    }
    EXPECT_EQ(n->lastChild, previous);
    if (n->lastPartner) {
      ASSERT_TRUE(live.count(n->lastPartner));
      const auto& back = n->lastPartner->partnerOf;
      EXPECT_EQ(std::count(back.begin(), back.end(), n), 1);
    }
    for (NODEDESC* other : n->partnerOf) {
      ASSERT_TRUE(live.count(other));
      EXPECT_EQ(other->lastPartner, n);
    }
    for (const COLLISIONDESC* e = n->collisionHead; e; e = e->next) EXPECT_TRUE(live.count(e->partner));
  }
}

TEST_F(NodeListsTest, DestroyingInAnyOrderLeavesNoLinkToAGoneNode) {
  plat::Srand(11);
  for (int round = 0; round < 6; ++round) {
    SCOPED_TRACE(round);
    constexpr int kCount = 24;
    std::vector<HOBJECT> handles;
    for (int i = 0; i < kCount; ++i) {
      const HOBJECT parent = i > 0 && plat::Rand() % 3 ? handles[plat::Rand() % i] : 0;
      handles.push_back(CreateDummyNode(parent, nullptr));
    }
    // Contacts and collision pairs between random nodes, some onto themselves.
    for (int i = 0; i < kCount; ++i) {
      NODEDESC* a = Node(handles[i]);
      SetLastPartner(a, Node(handles[plat::Rand() % kCount]));
      NODEDESC* b = Node(handles[plat::Rand() % kCount]);
      if (a == b) continue;
      for (auto [from, to] : {std::pair{a, b}, std::pair{b, a}}) {
        auto* entry = new COLLISIONDESC{1, to, nullptr};
        (from->collisionTail ? from->collisionTail->next : from->collisionHead) = entry;
        from->collisionTail = entry;
      }
    }
    // Moving a few under other parents exercises the middle of sibling lists.
    for (int i = 0; i < 6; ++i) SetNodeParent(handles[plat::Rand() % kCount], handles[plat::Rand() % kCount]);
    std::vector<HOBJECT> order = handles;
    for (int i = kCount - 1; i > 0; --i) std::swap(order[i], order[plat::Rand() % (i + 1)]);
    std::set<NODEDESC*> live;
    for (HOBJECT h : handles) live.insert(Node(h));
    for (HOBJECT h : order) {
      live.erase(Node(h));
      DestroyNode(h);
      ExpectConsistent(live);
    }
  }
}

}  // namespace
}  // namespace enginetest
