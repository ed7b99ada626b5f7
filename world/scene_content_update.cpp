// The scene content's per-frame passes and its show, camera and weather calls.
#include <algorithm>
#include <cmath>

#include "components/aj_flare.h"
#include "components/h_fall_leaves.h"
#include "components/mix_creature.h"
#include "components/particle_field.h"
#include "components/q_chao.h"
#include "components/q_rain.h"
#include "database/scene_records.h"
#include "engine/core/billboards.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "platform/crt.h"
#include "world/ambient_sounds.h"
#include "world/scene_content.h"
#include "world/scene_environment.h"
#include "world/scene_morph_player.h"
#include "world/scene_npc.h"

namespace {

constexpr int kStartNow = 1;
constexpr int kStartRandom = 2;
constexpr uint8_t kRepeatOnce = 0;
constexpr uint8_t kRepeatBounce = 1;

int StartMode(const SCENEANIMDESC& record) { return record.mode & 0x0F; }
int Step(uint8_t direction) { return direction ? -1 : 1; }

}  // namespace

void CSceneContent::Update(int n) {
  for (const SCROLLRECORD& s : scrolls) {
    if (!IsActive(s.index)) continue;
    int count = 0;
    MESHVERTEX* v = GetMeshVertices(s.node, &count, nullptr, nullptr);
    for (int i = 0; v && i < count; ++i) v[i].u += s.u, v[i].v += s.v;
  }
  for (const SPINRECORD& s : spins)
    if (IsActive(s.index)) RotateNode(NodeOf(s.index), AXIS_POS_Z, s.degrees, TRANSFORM_LOCAL);
  for (FRAMEANIMRECORD& f : frameAnims) {
    if (!IsActive(f.index)) continue;
    if (++f.counter < f.ticksPerFrame) continue;
    f.counter = 0;
    AdvanceBillboardFrame(NodeOf(f.index), 1, 1);
  }
  for (ANIMOBJSTATE& o : keyframed)
    if (IsActive(o.index)) StepKeyframed(o);
  for (const auto& m : morphs)
    if (IsActive(m->contentIndex)) m->Step(n);
  UpdateNpcRoutines(n);
  for (const auto& l : leaves) l->Update(n);
  for (const auto& g : grass) g->Update();
}

void CSceneContent::StepKeyframed(ANIMOBJSTATE& o) {
  const SCENEANIMDESC& record = *o.record;
  switch (o.state) {
    case ANIM_WAITING: {
      const int mode = StartMode(record);
      bool start = mode == kStartNow;
      if (mode == kStartRandom) {
        ++o.frame;
        start = o.frame >= record.delay && plat::Rand() > 16383;
      }
      if (start) o.state = ANIM_PLAYING, o.frame = 1;
      return;
    }
    case ANIM_DELAYED:
      if (++o.frame >= record.delay) o.state = ANIM_PLAYING, o.frame = 1;
      return;
    case ANIM_PLAYING: break;
    default: return;
  }
  const int r = PoseAt(o);
  if (r < 0 && record.repeat == kRepeatBounce) {
    if (o.record->playsLeft > 0) --o.record->playsLeft;
    if (o.record->playsLeft == 0) o.state = ANIM_BOUNCED_OUT;
    o.direction ^= 1;
    o.frame = static_cast<int16_t>(o.frame + Step(o.direction));
  } else if (r == -2 && record.repeat == kRepeatOnce) {
    if (o.record->playsLeft > 0) --o.record->playsLeft;
    if (o.record->playsLeft > 0) o.frame = 0;
    else o.state = ANIM_PLAYED_OUT;
  } else {
    o.frame = static_cast<int16_t>(o.frame + Step(o.direction));
    if (r > 0 && o.stop) o.state = ANIM_WAITING;
  }
}

int CSceneContent::PoseAt(ANIMOBJSTATE& o) {
  const HOBJECT node = NodeOf(o.index);
  float alpha = 0;
  if (SampleVisibility(&alpha, *o.record, o.frame)) SetNodeAlpha(node, std::clamp(alpha, 0.0f, 1.0f));
  MATRIX34 m;
  GetNodeMatrix(node, &m, 0);
  const int r = SampleTransform(&m, *o.record, o.frame);
  SetNodeMatrix(node, &m, TRANSFORM_SET);
  boxes[o.index].centre = m.row[3];
  return r;
}

SCENEANIMDESC* CSceneContent::TriggerAnimation(int k) {
  if (k < 0 || k >= static_cast<int>(keyframed.size())) return nullptr;
  ANIMOBJSTATE& o = keyframed[k];
  o.state = ANIM_PLAYING;
  o.stop = 0;
  if (o.frame != 0) return nullptr;
  o.frame = 1;
  return (o.record->links & 0x03) ? o.record : nullptr;
}

void CSceneContent::PoseKeyframedObjects() {
  for (ANIMOBJSTATE& o : keyframed) {
    if (o.frame == 0) o.direction = 0;
    else PoseAt(o);
  }
}

void CSceneContent::Show(int visible) {
  for (size_t i = 0; i < objects.size(); ++i)
    if (IsContentActive(boxes[i].flags)) ShowNode(objects[i]->node, visible);
  if (skyNode) ShowNode(skyNode, visible);
  if (backgroundNode) ShowNode(backgroundNode, visible);
  for (const auto& p : people)
    if (p->creature && IsContentActive(p->flags)) p->creature->SetVisible(visible);
  for (HOBJECT light : lightNodes) ShowNode(light, visible);
  if (ambientSounds) ambientSounds->Enable(visible);
}

void CSceneContent::ShowNpcs(int visible) {
  for (const auto& p : people)
    if (p->creature && IsContentActive(p->flags)) p->creature->SetVisible(visible);
}

void CSceneContent::ShowNpc(int npcId, int show) {
  for (const auto& p : people) {
    if (!p->creature || p->person.npcId != npcId) continue;
    if (show) p->flags &= 0xFFFF & ~(CF_ALWAYS | CF_HIDDEN);
    else p->flags |= CF_HIDDEN;
    p->creature->SetVisible(IsContentActive(p->flags) ? 1 : 0);
  }
}

void CSceneContent::FaceCamera(const VECTOR3& eye) {
  for (int16_t index : cameraFacing) {
    if (!IsActive(index)) continue;
    const HOBJECT node = NodeOf(index);
    MATRIX34 m;
    GetNodeMatrix(node, &m, 1);
    float dx = eye.x - m.row[3].x, dy = eye.y - m.row[3].y;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length <= 0) continue;
    dx /= length, dy /= length;
    m.row[0].x = -dy, m.row[0].y = dx;
    m.row[1].x = -dx, m.row[1].y = -dy;
    SetNodeMatrix(node, &m, TRANSFORM_SET);
  }
}

void CSceneContent::FadeOccluders(const VECTOR3& camera, const VECTOR3& walker) {
  for (OCCLUDERRECORD& o : occluders) {
    const CULLBOX& box = boxes[o.index];
    const bool crossed = IntersectSegmentBox(&camera, &walker, &box.half, &box.centre) != 0;
    if (crossed == (o.faded != 0)) continue;
    o.faded = crossed ? 1 : 0;
    SetNodeAlpha(NodeOf(o.index), crossed ? 0.3f : 1.0f);
  }
}

void CSceneContent::FollowCamera(const VECTOR3& eye, const VECTOR3& direction) {
  if (!environment) return;
  if (CQRain* rain = environment->Rain(); rain && rain->IsRunning()) rain->Update(eye, direction);
  if (CAJFlare* flare = environment->Flare(); flare && flare->IsEnabled()) flare->Update(eye, direction);
}

void CSceneContent::TickWeather(int, const VECTOR3& ground) {
  if (!environment) return;
  if (CQRain* rain = environment->Rain(); rain && rain->IsRunning()) rain->Step(ground.z);
  if (CParticleField* field = environment->ParticleField(); field && field->IsVisible()) {
    field->Update();
    field->SetGroundLevel(ground.z);
  }
}

void CSceneContent::UpdateNpcRoutines(int n) {
  for (const auto& p : people)
    if (p->creature && IsContentActive(p->flags)) p->RunRoutine(n);
}
