#pragma once
// Looped 3D sounds of a scene (its Sound triggers), switched on near a point
// and heard through a listener node that hangs under the game camera.
#include <cstdint>
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"

class CAmbientSounds {
 public:
  static constexpr int32_t kPlaying = 0x1;
  static constexpr int32_t kKeptOn = 0x1000;
  static constexpr int32_t kDisabled = 0x2000;
  // Emitters within this distance of the point sound.
  static constexpr float kHearingDistance = 500;
  // Distances are tested on every this-many-th update.
  static constexpr int kTestInterval = 16;

  struct Emitter {
    HOBJECT node = 0;  // 0: a free slot
    VECTOR3 position{0, 0, 0};
    int32_t flags = 0;
  };

  // count free emitter slots.
  explicit CAmbientSounds(int count);
  ~CAmbientSounds();
  CAmbientSounds(const CAmbientSounds&) = delete;
  CAmbientSounds& operator=(const CAmbientSounds&) = delete;

  // Moves the listener under parent, making it the first time.
  void AttachListener(HOBJECT parent);
  // Takes the first free slot (none free: ignored); the emitter starts silent.
  void AddEmitter(const char* wave, const VECTOR3& position);
  void SetActive(int i, int on);
  // On restarts every sounding emitter's loop; off stops them all.
  void Enable(int on);
  // follow: the 3D listener takes the listener node's placement.
  void Update(int follow, const VECTOR3& point);

  const std::vector<Emitter>& Emitters() const { return emitters_; }
  HOBJECT Listener() const { return listener_; }

 private:
  static bool IsSounding(const Emitter& e) { return (e.flags & (kPlaying | kKeptOn)) && !(e.flags & kDisabled); }

  std::vector<Emitter> emitters_;
  int calls_ = 0;
  HOBJECT listener_ = 0;
};
