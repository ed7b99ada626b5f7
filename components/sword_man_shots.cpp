// Camera shots of the swordsman's fences: scripts, placed cameras and the
// per-tick steering of the society's view camera.
#include <cmath>
#include <cstdio>

#include "components/camera_track_file.h"
#include "components/f_cameras.h"
#include "components/society_ext.h"
#include "components/sword_man.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"
#include "platform/crt.h"

namespace {

constexpr int kFileShot = 0x4;
constexpr int kRandomShot = 0xF;

// rand x 32769 / 2^30: just under rand / 32767, so below 1.
float DrawUnit() { return static_cast<float>(static_cast<int64_t>(plat::Rand()) * 32769) / 1073741824.0f; }

void Place(HOBJECT camera, VECTOR3 position, VECTOR3 direction) {
  if (camera) SetNodeDirection(camera, &position, &direction, nullptr);
}

HOBJECT DefaultCamera() {
  VIEWPORTDESC* viewport = g_gameWorld ? g_gameWorld->defaultViewport : nullptr;
  return viewport ? NodeHandle(viewport->camera) : 0;
}

VECTOR3 PositionOf(HOBJECT node, VECTOR3* direction = nullptr) {
  VECTOR3 p{0, 0, 0};
  GetNodeWorldVectors(node, &p, direction, nullptr);
  return p;
}

}  // namespace

std::string CMSwordMan::ShotFilePath(int fenceId) const {
  char path[320];
  std::snprintf(path, sizeof path, "%s\\%sf%02d.sc", "camera", BaseName().c_str(), fenceId);
  return path;
}

int CMSwordMan::PlayCameraShot(int flag) {
  if (!Society()) return 0;
  const FENCEDESC* fence = CurrentFence();
  const int shot = fence ? fence->ShotCode() : 0;
  if (flag && shot != kFileShot) return PlayShot(0);
  int code = shot;
  if (code == kRandomShot) do {
      code = 5 + static_cast<int>(static_cast<int64_t>(plat::Rand()) * 32769 / 134217728);
    } while (code == lastShot);
  return PlayShot(static_cast<int>(static_cast<uint32_t>(code) << 28));
}

int CMSwordMan::PlayShot(int value) {
  viewCode = 0;
  CSocietyExt* society = Society();
  if (!society) return 0;
  const int code = static_cast<int>(static_cast<uint32_t>(value) >> 28);
  lastShot = code;
  auto* cameras = dynamic_cast<CFCameras*>(society->CameraComponent());
  const HOBJECT view = society->ViewCamera();
  VECTOR3 d{0, 1, 0};
  const VECTOR3 p = PositionOf(rootNode, &d);
  VECTOR3 t{0, 0, 0}, td{0, 1, 0};
  if (target) t = PositionOf(target->rootNode, &td);
  const auto steer = [this](int code, unsigned k, unsigned k2) {
    viewCode = code;
    approachK = k;
    turnK = k2;
  };
  switch (code) {
    case 0: return 1;
    case 0x1:
    case 0x2:
      if (cameras) {
        const int camera = (code == 0x1 ? 10 : 7) + static_cast<int>(3 * DrawUnit());
        cameras->Start(camera, code == 0x1 ? 0 : rootNode, 0, 0, nullptr, 0);
        cameras->SetLooping(1);
      }
      return 1;
    case kFileShot: {
      const FENCEDESC* fence = CurrentFence();
      auto* script = new CFCameras(ShotFilePath(fence ? fence->id : 0).c_str());
      CGCBase* replaced = society->SetCameraComponent(script);
      // A second file shot in a row keeps the first displaced component.
      if (shotCamera) delete replaced;
      else shotCamera = replaced;
      const int count = script->trackFile ? script->trackFile->cameraCount : 0;
      if (count > 0) {
        HOBJECT reference = 0;
        if (d.y > 0) {
          if (!shotDummy) {
            BeginNode(NODE_DUMMY);
            shotDummy = EndNode(0);
          }
          Place(shotDummy, {0, p.y, p.z}, {0, d.y, d.z});
          reference = shotDummy;
        }
        script->Start(static_cast<int>(DrawUnit() * static_cast<float>(count)) % count, reference, 0, 0, nullptr, 0);
      }
      return 1;
    }
    case 0x5:
      if (!target) return 1;
      Place(DefaultCamera(), {t.x - 80 * td.x + (t.x >= 0 ? 50.0f : -50.0f), t.y - 80 * td.y, 30}, td);
      steer(3, approachK, 2);
      return 1;
    case 0x6:
      if (!target) return 1;
      Place(view, {p.x - 90 * d.x - 20, p.y - 90 * d.y, 20}, d);
      steer(33, 3, 2);
      return 1;
    case 0x7:
      if (d.y > 0) Place(DefaultCamera(), {190, 120, 100}, {-1, -1, -0.1f});
      else Place(DefaultCamera(), {190, -120, 100}, {-1, 1, -0.1f});
      steer(2, approachK, 2);
      return 1;
    case 0x8: {
      if (!target) return 1;
      const float h = std::sqrt((t.x - p.x) * (t.x - p.x) + (t.y - p.y) * (t.y - p.y));
      const float e = h >= 100 ? h : 0;
      const VECTOR3 at{p.x + 20, d.y >= 0 ? p.y - 40 : p.y + 40, p.z + e + 20};
      Place(view, at, {t.x - at.x, t.y - at.y, t.z + 20 - at.z});
      shotPoint = {0, 0, p.z + 300 + 1.5f * e};
      steer(51, 4, 0);
      return 1;
    }
    case 0x9:
    case 0xB:
      if (d.y >= 0) {
        Place(view, {0, -200, 30}, {0, 1, 0});
        shotPoint = {-100, -120, 60};
      } else {
        Place(view, {0, 200, 30}, {0, -1, 0});
        shotPoint = {-100, 120, 60};
      }
      steer(code == 0x9 ? 50 : 49, 2, 1);
      return 1;
    case 0xA: steer(67, 3, 1); return 1;
    case 0xC:
      if (!target) return 1;
      if (t.x > 0) Place(view, {-160, 140, 30}, {1, 0, 0});
      else Place(view, {160, 140, 30}, {-1, 0, 0});
      shotPoint = {t.x > 0 ? -100.0f : 100.0f, d.y < 0 ? -180.0f : 180.0f, 60};
      steer(50, 2, 1);
      return 1;
    default: return 0;
  }
}

void CMSwordMan::SteerCamera() {
  CSocietyExt* society = Society();
  auto* cameras = society ? dynamic_cast<CFCameras*>(society->CameraComponent()) : nullptr;
  if (!cameras) return;
  const HOBJECT top = CGCBMixCreature::FindPartNode("_top");
  const HOBJECT targetRoot = target ? target->rootNode : 0;
  const HOBJECT targetTop = target ? target->FindPartNode("_top") : 0;
  const VECTOR3 p = PositionOf(rootNode);
  switch (viewCode >> 4) {
    case 1:
      if (target) {
        const VECTOR3 offset{0, -90, 20};
        cameras->ApproachNode(targetRoot, 2, &offset, 0);
      }
      break;
    case 2: {
      const VECTOR3 offset{target ? 40.0f : 0.0f, -50, top ? -20.0f : 20.0f};
      cameras->ApproachNode(top ? top : rootNode, approachK, &offset, targetRoot);
      break;
    }
    case 3: cameras->ApproachPoint(&shotPoint, approachK); break;
    case 4:
      if (target) {
        const VECTOR3 t = PositionOf(targetRoot);
        const float dx = t.x - p.x, dy = t.y - p.y;
        const float length = std::sqrt(dx * dx + dy * dy);
        if (length <= 0) break;
        const float s = 1.8f * (1 + 30 / length);
        const VECTOR3 point{(p.x + t.x) / 2 + s * dy, (p.y + t.y) / 2 - s * dx, 20};
        cameras->ApproachPoint(&point, approachK);
      }
      break;
    default: break;
  }
  switch (viewCode & 0xF) {
    case 1:
      if (!target) break;
      if (targetTop) {
        cameras->TurnTowardsBetween(targetTop, rootNode, turnK, 0.4f);
      } else {
        const VECTOR3 offset{0, 0, 20};
        cameras->TurnTowardsNode(targetRoot, turnK, &offset);
      }
      break;
    case 2:
      if (top) {
        cameras->TurnTowardsBetween(top, rootNode, turnK, 0.5f);
      } else {
        const VECTOR3 offset{0, 0, 20};
        cameras->TurnTowardsNode(rootNode, turnK, &offset);
      }
      break;
    case 3:
      if (!target) break;
      if (targetTop) {
        cameras->TurnTowardsBetween(targetTop, rootNode, turnK, 0.5f);
      } else {
        const VECTOR3 t = PositionOf(targetRoot);
        const VECTOR3 middle{(t.x + p.x) / 2, (t.y + p.y) / 2, 20};
        cameras->TurnTowardsPoint(&middle, turnK);
      }
      break;
    default: break;
  }
}
