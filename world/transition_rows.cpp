#include <algorithm>

#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "world/transition_effects.h"

namespace {

constexpr int kPieceCount = STrans3::kRows * STrans3::kPerRow;

// The fall of the step that brings a row's countdown to c: k^2 / 7 after k steps.
float FallStep(int c, float scale) {
  const float now = static_cast<float>((30 - c) * (30 - c));
  const float before = static_cast<float>((31 - c) * (31 - c));
  return (now - before) * scale;
}

struct PieceRange {
  int first, last;
};
constexpr PieceRange kGroupA[] = {{21, 33}, {44, 56}, {69, 81}, {96, 108}};
constexpr PieceRange kGroupB[] = {{12, 20},   {36, 43},   {58, 68},   {83, 95},
                                  {109, 119}, {135, 139}, {141, 143}, {161, 165}};

template <size_t N>
std::vector<int> Members(const PieceRange (&ranges)[N], int count) {
  std::vector<int> pieces;
  for (const PieceRange& r : ranges) {
    for (int n = r.first; n <= r.last && n < count; ++n) pieces.push_back(n);
  }
  return pieces;
}

}  // namespace

STrans3::STrans3(const uint16_t* image) : STransCommon(image, Planes::kPieces, AxisZ::kSigned) {
  BuildRows(std::vector<bool>(ModelCount(), false));
}

void STrans3::BuildRows(const std::vector<bool>& skip) {
  const int count = std::min(ModelCount(), kPieceCount);
  for (std::vector<int>& row : rows) row.clear();
  // In reverse scene order: the last 24 pieces are row 0.
  for (int i = 0; i < count; ++i) {
    const int piece = ModelCount() - 1 - i;
    if (!skip[piece]) rows[i / kPerRow].push_back(piece);
  }
}

int STrans3::Reset() {
  STransCommon::Reset();
  std::fill(std::begin(rowCountdown), std::end(rowCountdown), kFrames);
  activeRows = 0;
  return 0;
}

void STrans3::FallRow(int row) {
  const int c = --rowCountdown[row];
  const float fall = FallStep(c, 1.0f / 7);
  for (int piece : rows[row]) {
    const PIECEMOTIONDESC& m = motions[piece];
    SetNodePosition(Model(piece), m.speed * m.velocity.x, fall, 0, TRANSFORM_PARENT);
  }
}

int STrans3::Step() {
  if (!NextFrame()) return -2;
  activeRows = std::min(activeRows + 1, kRows);
  for (int row = 0; row < activeRows; ++row) FallRow(row);
  return 0;
}

STransExplodeDrop::STransExplodeDrop(const uint16_t* image) : STrans3(image) {
  groupA = Members(kGroupA, ModelCount());
  groupB = Members(kGroupB, ModelCount());
  std::vector<bool> skip(ModelCount(), false);
  for (int piece : groupA) skip[piece] = true;
  for (int piece : groupB) skip[piece] = true;
  BuildRows(skip);
  const VECTOR3 size = {1, 1, 1};
  groupNodeA = CreateDummyNode(0, &size);
  groupNodeB = CreateDummyNode(0, &size);
  for (int piece : groupA) SetNodeParent(Model(piece), groupNodeA);
  for (int piece : groupB) SetNodeParent(Model(piece), groupNodeB);
}

STransExplodeDrop::~STransExplodeDrop() {
  // The pieces belong to the scene: take them back before the groups go.
  for (int piece : groupA) SetNodeParent(Model(piece), 0);
  for (int piece : groupB) SetNodeParent(Model(piece), 0);
  DestroyNode(groupNodeA);
  DestroyNode(groupNodeB);
}

int STransExplodeDrop::Reset() {
  STrans3::Reset();
  MATRIX34 identity;
  SetIdentityMatrix34(&identity);
  SetNodeMatrix(groupNodeA, &identity, 0);
  SetNodeMatrix(groupNodeB, &identity, 0);
  groupCountdown = kFrames;
  return 0;
}

int STransExplodeDrop::Step() {
  if (!NextFrame()) return -2;
  const int f = framesLeft;
  activeRows = kRows;
  for (int row = 0; row < kRows; ++row) FallRow(row);
  if (f < 25) SetNodePosition(groupNodeA, 0, FallStep(rowCountdown[0], 1.0f / 7), 0, TRANSFORM_PARENT);
  if (f < 20) {
    const float fall = FallStep(groupCountdown, 0.2f);
    if (f >= 15) {
      const float drift = motions.size() > 1 ? motions[1].speed * motions[1].velocity.x : 0;
      SetNodePosition(groupNodeB, drift, fall, 0, TRANSFORM_PARENT);
    } else {
      for (int piece : groupB) {
        const PIECEMOTIONDESC& m = motions[piece];
        SetNodePosition(Model(piece), m.speed * m.velocity.x, fall, 0, TRANSFORM_PARENT);
      }
    }
    --groupCountdown;
  }
  return 0;
}
