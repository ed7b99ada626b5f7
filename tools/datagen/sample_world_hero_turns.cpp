// The sample world's hero-turn effects and voices: the glow that marks an
// enemy for the finishing move ("BatCh00", played looping), the threat's
// flash ("m001s110"), the hurt and block cries, the special's hymn and the
// finishing moves' voices.
#include <cmath>
#include <numbers>

#include "tools/datagen/efficacy_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/wave_writer.h"

namespace datagen {
namespace {

using namespace efc;

constexpr const char* kEffectFolder = "data/Efficacy/";
// Written beside the effects by the attack effect's writer.
constexpr const char* kGlowTexture = "spark.qbt";

// A light over the body's head that pulses while the effect plays.
EFCLIGHTRECORD Pulse(const char* name, float red, float green, float blue, int frames) {
  EFCLIGHTRECORD light;
  light.header.name = EfficacyTargetName(kLightPrefix, name);
  light.header.placement = kAttach;
  light.header.part = "body";
  light.header.position = {0, 40, 0};
  EFCLIGHTKEYDESC on;
  on.setColour = 1;
  on.colour = {red, green, blue};
  on.flicker = 1;
  on.flickerMin = 40;
  on.flickerMax = 100;
  EFCLIGHTKEYDESC off;
  off.frame = frames - 1;
  off.hidden = 1;
  light.keys = {on, off};
  return light;
}

// A few glowing motes rising from the body.
EFCPARTICLERECORD Motes(const char* name, int emissions) {
  EFCPARTICLERECORD motes;
  motes.header.name = EfficacyTargetName(kParticlePrefix, name);
  motes.header.position = {0, 30, 0};
  motes.emitter.templateWidth = motes.emitter.templateHeight = 3;
  motes.emitter.templateTexture = kGlowTexture;
  motes.emitter.templateFrames = 1;
  motes.emitter.particleWidth = motes.emitter.particleHeight = 2;
  motes.emitter.speed = 0.3f;
  motes.emitter.poolSize = 12;
  motes.emitter.lifetime = 10;
  motes.emitter.spread = 4;
  EFCPARTICLEKEYDESC rise;
  rise.blend = 3;
  rise.velocity = {0, 0.4f, 0};
  rise.spread = 4;
  rise.emissions = emissions;
  motes.keys = {rise};
  return motes;
}

// The mark on an enemy chosen for the finishing move.
EFCFILEDESC MarkEffect() {
  EFCFILEDESC f;
  f.frameCount = 30;
  f.lights.push_back(Pulse("mark", 1.0f, 0.3f, 0.2f, f.frameCount));
  f.particles.push_back(Motes("mark", 4));
  return f;
}

// The first hero's threatening shout.
EFCFILEDESC ThreatEffect() {
  EFCFILEDESC f;
  f.frameCount = 20;
  f.lights.push_back(Pulse("threat", 1.0f, 0.9f, 0.5f, f.frameCount));
  f.particles.push_back(Motes("threat", 10));
  return f;
}

// A tone gliding from one pitch to another, fading out.
WaveSpec Glide(double fromHertz, double toHertz, int milliseconds, int amplitude) {
  WaveSpec spec;
  const int frames = spec.sampleRate * milliseconds / 1000;
  double phase = 0;
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / frames;
    phase += 2 * std::numbers::pi * (fromHertz + (toHertz - fromHertz) * t) / spec.sampleRate;
    spec.samples.push_back(static_cast<int16_t>(amplitude * (1 - t) * std::sin(phase)));
  }
  return spec;
}

struct Voice {
  const char* name;
  double from, to;
  int milliseconds;
};

constexpr Voice kVoices[] = {
    {"MajorHurt", 500, 250, 250}, {"MajorDef", 1500, 1400, 80}, {"HolySong", 330, 440, 3000},
    {"SpecialS", 900, 1300, 150}, {"Run01", 200, 600, 300},     {"VekS01", 300, 200, 400},
    {"VekS02", 330, 220, 450},    {"VekS03", 360, 240, 500},    {"VekS04", 390, 260, 550},
    {"YsaS01", 600, 500, 400},    {"YsaS02", 650, 540, 450},    {"YsaS03", 700, 580, 500},
};

}  // namespace

bool WriteSampleHeroTurns(const std::string& root, std::string& error) {
  const std::string effects = root + kEffectFolder;
  if (!WriteEfficacyFile(effects + "BatCh00.efc", MarkEffect(), error) ||
      !WriteEfficacyFile(effects + "m001s110.efc", ThreatEffect(), error))
    return false;
  for (const Voice& v : kVoices)
    if (!WriteOutputFile(root + "waves/" + v.name + ".wav", BuildWave(Glide(v.from, v.to, v.milliseconds, 5000)),
                         error))
      return false;
  return true;
}

}  // namespace datagen
