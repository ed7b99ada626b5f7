#include "battle/fighting_man.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "battle/battle_interface.h"
#include "battle/battle_sys.h"
#include "battle/tarnwick.h"
#include "battle/wire_box.h"
#include "database/man_soul.h"
#include "engine/core/nodes.h"

namespace {

constexpr float kFacingDot = 0.24f;
constexpr float kPi = 3.14159265358979f;

float GroundDistance(const VECTOR3& a, const VECTOR3& b) {
  const float dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace

int BATTLEMSG::Get(int key) const {
  auto found = values.find(key);
  return found == values.end() ? 0 : found->second;
}

CFightingMan::~CFightingMan() = default;

void CFightingMan::Init() {
  kind = style = flags = frozen = stopped = 0;
  spare[0] = spare[1] = spare[2] = 0;
  position = facing = {0, 0, 0};
  spareAfterFacing = 0;
  range2 = range3 = range1 = collisionRadius = 0;
  hitDirection = 0;
  body = nullptr;
  soul = nullptr;
}

void CFightingMan::Reset() {
  flags = 0;
  timers.clear();
}

void CFightingMan::Attach(CBattleSys* battle, CTarnwick* newBody, CGDManSoul* newSoul) {
  owner = battle;
  body = newBody;
  soul = newSoul;
  LoadActions();
  BuildWireBox();
}

void CFightingMan::SetOwner(CBattleSys* battle, int) { owner = battle; }

int CFightingMan::Update(int frames) {
  if (frozen) return 0;
  if (body) body->GetTransform(&position, &facing, nullptr);
  float box[6] = {};
  if (boxNode && body && body->GetFrameBox(box) == 0) FitWireBox(boxNode, box);
  for (auto it = timers.begin(); it != timers.end();) {
    it->frames -= frames;
    if (it->frames <= 0) {
      flags &= ~it->bits;
      it = timers.erase(it);
    } else {
      ++it;
    }
  }
  return 1;
}

int CFightingMan::StartAction(int id) {
  auto found = actions.find(id);
  if (found == actions.end() || !body) return 0;
  ACTIONDESC action = found->second;
  const ACTIONDESC& playing = body->current;
  if (playing[ACTIONDESC::KIND] == 0) {
    action[ACTIONDESC::MODE] = 2;
  } else {
    const ACTIONTRANSITION* transition = nullptr;
    for (const ACTIONTRANSITION& t : transitions)
      if (t.fromAction == playing[ACTIONDESC::ID] && t.toAction == id) {
        transition = &t;
        break;
      }
    if (transition) {
      action[ACTIONDESC::MODE] = 4;
      action.transition = *transition;
    } else if (body->currentPose != action[ACTIONDESC::POSE]) {
      action[ACTIONDESC::MODE] = 2;
    }
  }
  body->PlayAction(action);
  return 1;
}

void CFightingMan::GetTarget(int* id, int* valid) {
  if (id) *id = -1;
  if (valid) *valid = 0;
}

void CFightingMan::CreateBody(const char* modelFile) {
  ReleaseBody();
  body = new CTarnwick(modelFile, 1, "creature/battle");
  if (owner && owner->owner) body->Attach(owner->owner);
  body->ShowShadow(1);
  body->SetShadowOnGround(1);
  body->SetShadowMode(g_battleInterface.GetShadowMode());
  BuildWireBox();
  LoadActions();
}

void CFightingMan::BuildWireBox() {
  DestroyWireBox();
  if (!body) return;
  // A body without a frame box still gets one, at its origin, for the gauges to follow.
  float box[6] = {};
  body->GetFrameBox(box);
  boxNode = CreateWireBox(body->Node(), box);
  boxSpare = 0;
}

void CFightingMan::DestroyWireBox() {
  if (boxNode) DestroyNode(boxNode);
  boxNode = 0;
}

void CFightingMan::ReleaseBody() {
  DestroyWireBox();
  if (!body) return;
  body->Detach();
  delete body;
  body = nullptr;
}

int CFightingMan::GetModelBaseName(char* buffer, int size) const {
  if (!body || !buffer || size <= 0) return 0;
  std::string name = body->fileName;
  const size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(dot);
  if (name.size() + 1 > static_cast<size_t>(size)) return 0;
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  return 1;
}

void CFightingMan::SetRanges(float radius, float r1, float r2, float r3) {
  collisionRadius = radius;
  range1 = r1;
  range2 = r2;
  range3 = r3;
}

int CFightingMan::FighterType() const {
  if (!soul) return 0;
  if (soul->kind == 1 && soul->subKind == 2) return 3;
  if (soul->kind == 2 && soul->subKind == 4) return 4;
  return soul->kind;
}

void CFightingMan::LoadActions() {
  transitions.clear();
  actions.clear();
  const ACTIONRECORD* record = owner ? owner->actionTable.FindActionRecord(FighterType()) : nullptr;
  if (!record) return;
  transitions = record->transitions;
  const auto* poses = body && body->modelData ? &body->modelData->poses : nullptr;
  for (ACTIONDESC action : record->actions) {
    const int pose = action[ACTIONDESC::POSE];
    if (poses && pose >= 0 && pose < static_cast<int>(poses->size())) {
      const CREATUREPOSE& p = (*poses)[static_cast<size_t>(pose)];
      int& start = action[ACTIONDESC::START];
      int& end = action[ACTIONDESC::END];
      int& first = action[ACTIONDESC::MOTION_FIRST];
      int& release = action[ACTIONDESC::RELEASE];
      if (start == 0 || start == -1) start = p.start;
      else if (start == -2) start = p.loopEnd;
      if (end == 0 || end == -2) end = p.end;
      else if (end == -1) end = p.loopEnd;
      if (first == 0) first = p.loopStart;
      else if (first == -1) first = p.start;
      else if (first == -2) first = p.loopEnd;
      if (release == 0 || release == -1) release = p.loopEnd;
      else if (release == -2) release = p.end;
    }
    actions.emplace(action[ACTIONDESC::ID], action);
  }
}

int CFightingMan::GetActionParam(int id, int i) const {
  auto found = actions.find(id);
  if (found == actions.end() || i < 0 || ACTIONDESC::HIT_FIRST + i >= ACTIONDESC::kInts) return -1;
  return found->second[ACTIONDESC::HIT_FIRST + i];
}

int CFightingMan::GetActionLength() const {
  return body ? body->current[ACTIONDESC::END] - body->current[ACTIONDESC::START] + 1 : 0;
}

int CFightingMan::GetFramesLeft() const { return body ? body->current[ACTIONDESC::END] - body->currentFrame : 0; }

int CFightingMan::IsActing() const {
  if (flags & (kDown | kParalysed)) return 0;
  return body && body->IsPlaying();
}

void CFightingMan::SetHidden(int hidden) {
  frozen = !hidden;
  if (body) body->frozen = !hidden;
}

VECTOR3 CFightingMan::TurnByFacing(const VECTOR3& forward, int code) {
  const float angle = code == 2 ? kPi : code == 4 ? kPi / 2 : code == 8 ? -kPi / 2 : 0.0f;
  const float c = std::cos(angle), s = std::sin(angle);
  return {forward.x * c - forward.y * s, forward.x * s + forward.y * c, forward.z};
}

int CFightingMan::GetActionFacing(VECTOR3* out) const {
  if (!body || !out || !HasAction(body->current[ACTIONDESC::ID])) return 0;
  VECTOR3 forward{0, 0, 0};
  body->GetTransform(nullptr, &forward, nullptr);
  *out = TurnByFacing(forward, body->current[ACTIONDESC::FACING]);
  return 1;
}

int CFightingMan::InAttackRange(const CFightingMan* target) const {
  if (!body || !target || !target->body || body->current[ACTIONDESC::KIND] == 0) return 0;
  VECTOR3 here{0, 0, 0}, there{0, 0, 0}, forward{0, 0, 0};
  body->GetTransform(&here, &forward, nullptr);
  target->body->GetTransform(&there, nullptr, nullptr);
  const float d = GroundDistance(here, there);
  if (d >= collisionRadius && d >= target->collisionRadius) return 0;
  auto found = actions.find(body->current[ACTIONDESC::ID]);
  if (found == actions.end()) return 0;
  const VECTOR3 turned = TurnByFacing(forward, found->second[ACTIONDESC::FACING]);
  if (d <= 0) return 0;
  const float tx = (there.x - here.x) / d, ty = (there.y - here.y) / d;
  return turned.x * tx + turned.y * ty > kFacingDot ? 1 : 0;
}

void CFightingMan::GetFrontPoint(VECTOR3* point, VECTOR3* direction, float distance) const {
  if (point) {
    *point = {position.x + distance * facing.x, position.y + distance * facing.y, position.z + distance * facing.z};
    float box[6] = {};
    if (body && body->GetFrameBox(box) == 0) point->z = position.z + (box[2] + box[5]) * 0.5f;
  }
  if (direction) *direction = {-facing.x, -facing.y, -facing.z};
}

int CFightingMan::ActionEffectName(char* out, int size) const {
  char base[64] = {};
  if (!body || !out || size <= 0 || !GetModelBaseName(base, sizeof base)) return 0;
  std::snprintf(out, static_cast<size_t>(size), "%se%03d", base, body->current[ACTIONDESC::POSE]);
  return 1;
}

int CFightingMan::PlayActionEffect() {
  char name[96];
  return ActionEffectName(name, sizeof name) ? body->PlayEffect(name, 0, 0, 0, 0) : 0;
}

int CFightingMan::AddTimer(int bits, int frames, int timerMode) {
  if (bits == 0) return 0;
  bool found = false;
  for (FIGHTERTIMER& t : timers)
    if (t.bits & bits) {
      t.frames = timerMode == 1 ? frames : t.frames + frames;
      found = true;
    }
  if (!found) timers.push_back({bits, frames});
  return 1;
}

void CFightingMan::RemoveTimers(int bits) {
  timers.remove_if([bits](const FIGHTERTIMER& t) { return (t.bits & bits) != 0; });
}

int CFightingMan::GetTimer(int bits) const {
  for (const FIGHTERTIMER& t : timers)
    if (t.bits == bits) return t.frames;
  return -1;
}
