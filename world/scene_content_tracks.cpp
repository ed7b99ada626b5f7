// The keyframe track samplers of keyframed objects and people's routines.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "base/game_math.h"
#include "database/scene_records.h"
#include "world/scene_content.h"

namespace {

// The last key at or before frame a (keys ascend); 0 when a is before all.
template <typename Key>
size_t KeyAtOrBefore(const std::vector<Key>& keys, int a) {
  size_t i = 0;
  while (i + 1 < keys.size() && keys[i + 1].frame <= a) ++i;
  return i;
}

float Fraction(int a, int from, int to) { return to > from ? static_cast<float>(a - from) / (to - from) : 0.0f; }

VECTOR3 Lerp(const VECTOR3& p, const VECTOR3& q, float t) {
  return {p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t, p.z + (q.z - p.z) * t};
}

// Interpolated between the keys around a, or the last key at its frame and after.
VECTOR3 SampleVectors(const std::vector<VECTORKEY>& keys, int a) {
  const size_t i = KeyAtOrBefore(keys, a);
  if (i + 1 >= keys.size()) return keys[i].value;
  return Lerp(keys[i].value, keys[i + 1].value, Fraction(a, keys[i].frame, keys[i + 1].frame));
}

// The key's quaternion as the game's {x, y, z, w}, with w negated.
void Negated(const QUATERNION& q, float out[4]) { out[0] = q.x, out[1] = q.y, out[2] = q.z, out[3] = -q.w; }

void Accumulate(float rotation[9], const float q[4]) {
  float m[9];
  QuaternionToMatrix(m, q);
  MultiplyMatrix9(rotation, m, rotation);
}

template <typename Key>
int KeyOnFrame(const std::vector<Key>& keys, int a) {
  for (size_t i = 0; i < keys.size(); ++i)
    if (keys[i].frame == a) return static_cast<int>(i);
  return -1;
}

}  // namespace

int CSceneContent::SampleVisibility(float* out, const SCENEANIMDESC& record, int f) {
  const std::vector<FLOATKEY>& keys = record.visibilityKeys;
  if (keys.empty()) return 0;
  const int a = f + record.firstKey;
  if (a <= record.visibility.firstFrame) {
    *out = keys.front().value;
  } else if (a < record.visibility.lastFrame) {
    const size_t i = KeyAtOrBefore(keys, a);
    *out = i + 1 < keys.size()
               ? keys[i].value + (keys[i + 1].value - keys[i].value) * Fraction(a, keys[i].frame, keys[i + 1].frame)
               : keys[i].value;
  } else {
    *out = keys.back().value;
  }
  return 1;
}

int CSceneContent::SamplePosition(VECTOR3* out, const SCENEANIMDESC& record, int f) {
  const std::vector<VECTORKEY>& keys = record.positionKeys;
  if (keys.empty()) return -2;
  const int a = f + record.firstKey;
  const int previous = lastSampledFrame_;
  lastSampledFrame_ = a;
  if (a <= record.position.firstFrame) {
    *out = keys.front().value;
    return -1;
  }
  if (a >= record.position.lastFrame) {
    *out = keys.back().value;
    return 1;
  }
  const size_t i = KeyAtOrBefore(keys, a);
  *out = SampleVectors(keys, a);
  if (i + 1 < keys.size() && keys[i + 1].frame == a + 1) return 2;
  return previous < keys[i].frame - 1 ? 3 : 0;
}

int CSceneContent::SampleTransform(MATRIX34* m, const SCENEANIMDESC& record, int f) {
  const int a = f + record.firstKey;
  if (!record.positionKeys.empty() && a > record.position.firstFrame)
    m->row[3] =
        a > record.position.lastFrame ? record.positionKeys.back().value : SampleVectors(record.positionKeys, a);
  if (!record.scaleKeys.empty() && a > record.scale.firstFrame) {
    const VECTOR3 s = a > record.scale.lastFrame ? record.scaleKeys.back().value : SampleVectors(record.scaleKeys, a);
    m->row[0].x = s.x, m->row[1].y = s.y, m->row[2].z = s.z;
  }
  const std::vector<ROTATIONKEY>& turns = record.rotationKeys;
  if (turns.size() >= 2 && a >= record.rotation.firstFrame && a <= record.rotation.lastFrame) {
    // Each key turns on from the keys before it.
    float rotation[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    float q[4];
    size_t i = 0;
    for (; i < turns.size() && turns[i].frame <= a; ++i) {
      Negated(turns[i].value, q);
      Accumulate(rotation, q);
    }
    if (i < turns.size() && i > 0) {
      float partial[4];
      Negated(turns[i].value, q);
      QuaternionSlerp(nullptr, q, Fraction(a, turns[i - 1].frame, turns[i].frame), partial);
      Accumulate(rotation, partial);
    }
    for (int r = 0; r < 3; ++r) m->row[r] = {rotation[3 * r], rotation[3 * r + 1], rotation[3 * r + 2]};
  }
  if (a >= record.lastKey) return -2;
  if (a <= record.firstKey) return -1;
  const int onPosition = KeyOnFrame(record.positionKeys, a);
  if (onPosition >= 0) return onPosition;
  return std::max(KeyOnFrame(turns, a), 0);
}
