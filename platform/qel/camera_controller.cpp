#include "platform/qel/camera_controller.h"

#include <algorithm>
#include <string>

#include "platform/debug_output.h"
#include "platform/qel/file_load_man.h"
#include "platform/qel/vector_math.h"
#include "platform/qel/view_matrix.h"

namespace qmz {
namespace {

constexpr int kShotBlock = 1;
// Farthest key frame a shot may name: far beyond any shot, and far from the
// ends of the int range the frame arithmetic works in.
constexpr int kMaxKeyFrame = 1000000;

// Reads one shot record; the reason it is malformed, or null.
const char* ReadShot(CFileLoadMan& file, CAMERACONTROLDESC& shot) {
  int count = 0;
  file >> shot.id >> shot.length >> count;
  if (file.Failed()) return "bad header";
  if (shot.length < 1) return "no frames";
  if (count < 1 || count > CCameraController::kMaxKeys) return "bad key count";
  shot.keys.resize(static_cast<size_t>(count));
  for (CAMERAKEYDESC& key : shot.keys) {
    file >> key.frame >> key.eye[0] >> key.eye[1] >> key.eye[2] >> key.lookAt[0] >> key.lookAt[1] >> key.lookAt[2] >>
        key.roll;
    if (file.Failed()) return "short key";
    if (key.frame < -kMaxKeyFrame || key.frame > kMaxKeyFrame) return "key frame out of range";
    if (GetVectorLength(key.eye, key.lookAt) < 1e-3f) return "eye on its look-at point";
  }
  std::stable_sort(shot.keys.begin(), shot.keys.end(),
                   [](const CAMERAKEYDESC& a, const CAMERAKEYDESC& b) { return a.frame < b.frame; });
  return nullptr;
}

}  // namespace

int CCameraController::LoadController(const char* path) {
  shots_.clear();
  playing_ = false;
  CFileLoadMan file(1024, 64);
  file.AddRemarksSymbol(kRemark);
  file.AddFileBlockItem(kShotBlock, kBeginMark, kEndMark, 0);
  if (!file.Open(path)) return 0;
  while (file.Flip()) {
    CAMERACONTROLDESC shot{};
    if (const char* why = ReadShot(file, shot)) {
      plat::DebugOutput(std::string("qel: ") + path + ": camera shot " + std::to_string(shot.id) + " left out: " + why +
                        "\n");
      continue;
    }
    bool known = std::any_of(shots_.begin(), shots_.end(), [&](const CAMERACONTROLDESC& s) { return s.id == shot.id; });
    if (known) {
      plat::DebugOutput(std::string("qel: ") + path + ": camera shot " + std::to_string(shot.id) +
                        " given twice; the first stays\n");
      continue;
    }
    shots_.push_back(std::move(shot));
  }
  return 1;
}

int CCameraController::GetCameraControlID(std::vector<int>& ids) const {
  ids.clear();
  for (const CAMERACONTROLDESC& shot : shots_) ids.push_back(shot.id);
  return static_cast<int>(ids.size());
}

int CCameraController::SelectController(int id) {
  playing_ = false;
  for (size_t i = 0; i < shots_.size(); ++i) {
    if (shots_[i].id == id) {
      current_ = i;
      frame_ = 0;
      playing_ = true;
      Pose();
      return 1;
    }
  }
  return 0;
}

int CCameraController::Update(int frames) {
  if (!playing_) return 0;
  const CAMERACONTROLDESC& shot = shots_[current_];
  frame_ = static_cast<int>(std::min<int64_t>(int64_t{frame_} + std::max(frames, 1), shot.length));
  Pose();
  if (frame_ >= shot.length) playing_ = false;
  return 1;
}

void CCameraController::Pose() {
  const std::vector<CAMERAKEYDESC>& keys = shots_[current_].keys;
  size_t next = 0;
  while (next < keys.size() && keys[next].frame <= frame_) ++next;
  const CAMERAKEYDESC& a = keys[next == 0 ? 0 : next - 1];
  const CAMERAKEYDESC& b = keys[next == keys.size() ? keys.size() - 1 : next];
  float t = 0.0f;
  if (next > 0 && next < keys.size()) t = static_cast<float>(frame_ - a.frame) / static_cast<float>(b.frame - a.frame);
  float eye[3], look[3], forward[3];
  for (int i = 0; i < 3; ++i) {
    eye[i] = a.eye[i] + (b.eye[i] - a.eye[i]) * t;
    look[i] = a.lookAt[i] + (b.lookAt[i] - a.lookAt[i]) * t;
  }
  NormalizeVector(eye, look, forward);
  // Two keys may cross so that the eye meets the look-at point; keep the last good view.
  if (forward[0] == 0.0f && forward[1] == 0.0f && forward[2] == 0.0f) return;
  BuildViewMatrix12(eye, forward, a.roll + (b.roll - a.roll) * t, matrix_);
}

}  // namespace qmz
