#include "cutscene/event_tracks.h"

#include "cutscene/actor_track_set.h"
#include "cutscene/creature_actor.h"
#include "cutscene/cut_scene.h"
#include "cutscene/dialog_actor.h"
#include "cutscene/fade_actor.h"
#include "cutscene/music_actor.h"
#include "cutscene/sprite_actor.h"
#include "cutscene/visual.h"
#include "cutscene/wave_actor.h"
#include "engine/core/nodes.h"

namespace {

// Tracks only ever hold keys of their own code, so of their own class.
template <class K>
const K& KeyAs(const SKey& key) {
  return static_cast<const K&>(key);
}

int LowByte(int32_t v) { return v & 0xFF; }

}  // namespace

int SKMShow::Apply() {
  SKey* key = FindAt(cursor + 1);
  if (!key) return 0;
  int value = KeyAs<SKeyShow>(*key).value;
  if (auto* visual = dynamic_cast<SVisual*>(actor)) visual->SetVisible(value);
  else if (auto* sprite = dynamic_cast<SSprite*>(actor)) sprite->Show(value);
  return 0;
}

int SKMShow::Advance() {
  ++cursor;
  return ADVANCE_NEW_TARGET;
}

int SKMPause::Apply() {
  SKey* key = FindAt(cursor + 1);
  auto* creature = dynamic_cast<SCreature*>(actor);
  if (key && creature) creature->SetPaused(KeyAs<SKeyPause>(*key).value);
  return 0;
}

int SKMPause::Advance() {
  ++cursor;
  return ADVANCE_NEW_TARGET;
}

int SKMEvent::Apply() {
  if (!targetKey || targetKey->frame != cursor + 1) return 0;
  return Act(*targetKey);
}

void SKMEvent::Reset() {
  cursor = -1;
  previousKey = nullptr;
  nextKeyFrame = firstKeyFrame;
  targetKey = LowestKey();
}

int SKMEvent::AdvanceScan() {
  int b = ++cursor;
  if (b >= lastKeyFrame) return ADVANCE_PAST_LAST;
  SKey* candidate = FindAfter(b);
  if (!candidate) return ADVANCE_NO_KEY;
  previousKey = targetKey;
  targetKey = candidate;
  return ADVANCE_NEW_TARGET;
}

int SKMEvent::AdvanceSegment() {
  int b = ++cursor;
  if (b >= lastKeyFrame) return ADVANCE_PAST_LAST;
  if (b < nextKeyFrame - 1) return ADVANCE_IN_SEGMENT;
  SKey* candidate = FindAfter(b);
  if (!candidate) return ADVANCE_NO_KEY;
  previousKey = targetKey;
  targetKey = candidate;
  nextKeyFrame = candidate->frame;
  return ADVANCE_NEW_TARGET;
}

int SKMOnTerrain::Act(SKey& key) {
  auto* creature = dynamic_cast<SCreature*>(actor);
  if (!creature) return 0;
  if (KeyAs<SKeyOnTerrain>(key).value == 0) {
    creature->SetTerrainFollow(0);
    return 0;
  }
  if (creature->DropOnTerrain(0, 0) < 0) return -1;
  creature->SetTerrainFollow(1);
  return 0;
}

void SKMSetParent::Reset() {
  SKMEvent::Reset();
  parent = nullptr;
}

int SKMSetParent::Act(SKey& key) {
  auto* visual = dynamic_cast<SVisual*>(actor);
  if (!visual) return 0;
  const auto& k = KeyAs<SKeySetParent>(key);
  if (k.parentName == "NULL") {
    parent = nullptr;
    SetNodeParent(visual->GetNode(), 0);
    return 0;
  }
  SActor* found = owner && owner->owner ? owner->owner->FindActor(k.parentType, k.parentName) : nullptr;
  auto* creature = dynamic_cast<SCreature*>(found);
  if (!creature) return 0;
  parent = creature;
  SetNodeParent(visual->GetNode(), creature->FindPartNode(k.part.c_str()));
  return 0;
}

int SKMChangePose::Act(SKey& key) {
  auto* creature = dynamic_cast<SCreature*>(actor);
  if (!creature) return 0;
  const auto& k = KeyAs<SKeyChangePose>(key);
  POSEPLAYDESC pose{k.pose, k.from, k.to, k.playType, k.style, k.walkOut};
  if (k.playType == 0 && k.cPose >= 0) {
    POSEPLAYDESC followUp{k.cPose, -1, -1, 1, 16, 0};
    creature->PlayPose(pose, &followUp);
  } else {
    creature->PlayPose(pose, nullptr);
  }
  return 0;
}

void SKMWave::Reset() {
  SKMEvent::Reset();
  if (auto* wave = dynamic_cast<SWave*>(actor)) wave->Stop();
}

int SKMWave::Act(SKey& key) {
  auto* wave = dynamic_cast<SWave*>(actor);
  if (!wave) return 0;
  const auto& k = KeyAs<SKeyWave>(key);
  if (k.playMode == 0) wave->Play(k.loop != 0 ? 1 : 0);
  else wave->Stop();
  return 0;
}

int SKMMusic::Act(SKey& key) {
  auto* music = dynamic_cast<SMusic*>(actor);
  if (!music) return 0;
  const auto& k = KeyAs<SKeyMusic>(key);
  switch (k.playMode) {
    case 0: music->PlayTrack(k.track, k.loop != 0 ? 1 : 0); break;
    case 1: music->Stop(); break;
    case 2: music->Pause(); break;
    default: music->Resume(); break;
  }
  return 0;
}

int SKMPoseSpeed::Act(SKey& key) {
  if (auto* creature = dynamic_cast<SCreature*>(actor)) creature->SetPoseSpeed(KeyAs<SKeyPoseSpeed>(key).value);
  return 0;
}

int SKMWavePlay::Act(SKey& key) {
  auto* wave = dynamic_cast<SWave*>(actor);
  if (!wave) return 0;
  const auto& k = KeyAs<SKeyWavePlay>(key);
  if (k.playMode == 0) wave->Play(k.playFlag);
  else if (k.playMode == 1) wave->Pause();
  else wave->Stop();
  return 0;
}

int SKMDialog::Act(SKey& key) {
  auto* dialog = dynamic_cast<SDialog*>(actor);
  if (!dialog) return 0;
  const auto& k = KeyAs<SKeyDialog>(key);
  if (k.type != 0) dialog->Ask(k.id.c_str(), nullptr);
  else dialog->Talk(k.id.c_str(), nullptr);
  dialog->SetStopCount(k.stopCount);
  return 0;
}

int SKMROSrcBlend::Act(SKey& key) {
  if (auto* visual = dynamic_cast<SVisual*>(actor)) visual->SetRenderState(22, KeyAs<SKeyROSrcBlend>(key).value);
  return 0;
}

int SKMRODestBlend::Act(SKey& key) {
  if (auto* visual = dynamic_cast<SVisual*>(actor)) visual->SetRenderState(23, KeyAs<SKeyRODestBlend>(key).value);
  return 0;
}

int SKMROUseRGBAsOpaque::Act(SKey& key) {
  if (auto* visual = dynamic_cast<SVisual*>(actor)) visual->SetRenderState(5, KeyAs<SKeyROUseRGBAsOpaque>(key).value);
  return 0;
}

int SKMRGB::Act(SKey& key) {
  if (auto* fade = dynamic_cast<SFade*>(actor)) {
    const auto& k = KeyAs<SKeyRGB>(key);
    fade->SetColor(LowByte(k.r), LowByte(k.g), LowByte(k.b));
  }
  return 0;
}

int SKMShadow::Act(SKey& key) {
  if (auto* creature = dynamic_cast<SCreature*>(actor)) creature->ShowShadow(KeyAs<SKeyShadow>(key).shadow);
  return 0;
}

int SKMChangePage::Act(SKey& key) {
  if (auto* sprite = dynamic_cast<SSprite*>(actor)) {
    int page = KeyAs<SKeyChangePage>(key).page;
    sprite->SetPage(&page, nullptr, nullptr);
  }
  return 0;
}

int SKMShowBG::Act(SKey& key) {
  if (auto* dialog = dynamic_cast<SDialog*>(actor)) dialog->SetShowFrame(KeyAs<SKeyShowBG>(key).showBG);
  return 0;
}

int SKMPosition2D::Act(SKey& key) {
  if (auto* dialog = dynamic_cast<SDialog*>(actor)) {
    const auto& k = KeyAs<SKeyPosition2D>(key);
    int layout = 2;
    dialog->SetLayoutParams(&layout, nullptr, nullptr);
    dialog->SetPosition(k.x, k.y);
  }
  return 0;
}

int SKMTextColor::Act(SKey& key) {
  if (auto* dialog = dynamic_cast<SDialog*>(actor)) {
    const auto& k = KeyAs<SKeyTextColor>(key);
    dialog->SetTextColor(LowByte(k.r), LowByte(k.g), LowByte(k.b));
  }
  return 0;
}

int SKMTextBColor::Act(SKey& key) {
  if (auto* dialog = dynamic_cast<SDialog*>(actor)) {
    const auto& k = KeyAs<SKeyTextBColor>(key);
    dialog->SetTextBackColor(LowByte(k.r), LowByte(k.g), LowByte(k.b));
  }
  return 0;
}
