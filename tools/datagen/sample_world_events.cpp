// The sample world's story: Mira's talk leads to the opening cut-scene and
// then the first boss battle; the sounds of boxes, traps and rewards.
#include "tools/datagen/game_resource_writer.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/wave_writer.h"

namespace datagen {
namespace {

using namespace sample;

// Event rows: the talk first, then the script it starts.
constexpr int16_t kTalkEvent = 0;
constexpr int16_t kScriptEvent = 1;
constexpr uint8_t kConditionRunsBelow = 1;
constexpr uint8_t kActionScript = 6;
constexpr uint8_t kActionBossBattle = 12;

WaveSpec Click(int hertz) {
  WaveSpec spec;
  spec.sampleRate = kSampleRate;
  const int frames = kSampleRate / 20;
  for (int i = 0; i < frames; ++i) {
    const int phase = i * hertz * 2 / kSampleRate;
    spec.samples.push_back(static_cast<int16_t>((phase & 1 ? 1 : -1) * kBeepAmplitude * (frames - i) / frames));
  }
  return spec;
}

}  // namespace

void AddSampleEvents(GameResourceData& r) {
  // Mira stops the walker whenever he comes near: her story runs once, or
  // every later approach would play the talk, the script and the battle again.
  r.events = {{kTalkName, 0, 1, 2, 0}, {kCutSceneName, 0, 0, 0, 3}};
  r.actions = {{kConditionRunsBelow, 0, 1}, {kActionScript, 0, kScriptEvent}, {kActionBossBattle, kBossId, 0}};
  // Talk group 1 (Mira's) holds the events from 0 up to its end, 1.
  ResourceSectionData groupEnds;
  groupEnds.kind = 32;
  groupEnds.data = {static_cast<uint8_t>(kTalkEvent + 1), 0};
  r.raw.push_back(groupEnds);
}

bool WriteSampleEventSounds(const std::string& root, std::string& error) {
  const char* names[] = {"findbox", "info",   "TalkToNpc",   "OpenBox", "wood",
                         "stone",   "stone1", "stone_broke", "snake",   "boom005"};
  int hertz = 300;
  for (const char* name : names) {
    const std::string file = std::string("waves/") + name + ".wav";
    if (!WriteWave(root + file, Click(hertz))) {
      error = "cannot write " + file;
      return false;
    }
    hertz += 60;
  }
  return true;
}

}  // namespace datagen
