#include "cutscene/actor_track_set.h"

#include "cutscene/key_track_factory.h"

void SActorTrackSet::Frame() {
  for (auto& [code, track] : tracks) track->Apply();
  for (auto& [code, track] : tracks) track->Advance();
}

void SActorTrackSet::Reset() {
  for (auto& [code, track] : tracks) track->Reset();
}

int SActorTrackSet::AddKey(std::unique_ptr<SKey> key) {
  if (!key) return -1;
  auto it = tracks.find(key->Code());
  if (it != tracks.end()) return it->second->AddKey(std::move(key));
  std::unique_ptr<SKeyManager> track = CreateKeyTrack(std::move(key));
  if (!track) return -1;
  track->actor = actor;
  track->owner = this;
  int code = track->Code();
  tracks[code] = std::move(track);
  return 0;
}

void SActorTrackSet::BindActor(SActor* newActor) {
  actor = newActor;
  for (auto& [code, track] : tracks) track->actor = newActor;
}
