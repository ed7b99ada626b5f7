// The sample world's special effect "m001e001": the first hero's attack, with
// an arc ribbon on the body, a trail from the body to the face, sparks, a
// flash of light and a slash sound; its textures and wave sit beside it.
#include <cmath>
#include <numbers>

#include "tools/datagen/efficacy_writer.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/wave_writer.h"

namespace datagen {
namespace {

using namespace efc;

constexpr const char* kEffectFile = "data/Efficacy/m001e001.efc";
constexpr const char* kTextureFolder = "data/Efficacy/Texture/";
constexpr const char* kWaveFile = "data/Efficacy/m001e001.wav";
constexpr const char* kWaveName = ".\\data\\Efficacy\\m001e001.wav";
constexpr int kFrames = 20;

// A 16 x 16 glow: bright in the middle, fading to black at the rim.
bool GlowTexture(const std::string& path, PaletteColour colour, std::string& error) {
  constexpr int kSide = 16;
  ImageDesc image;
  image.width = image.height = kSide;
  for (int level = 0; level < 4; ++level)
    image.palette.push_back({static_cast<uint8_t>(colour.red * level / 3),
                             static_cast<uint8_t>(colour.green * level / 3),
                             static_cast<uint8_t>(colour.blue * level / 3)});
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const int dx = x * 2 - (kSide - 1), dy = y * 2 - (kSide - 1);
      const int rim = (dx * dx + dy * dy) / (kSide * kSide / 4 + 1);
      image.pixels.push_back(static_cast<uint8_t>(rim >= 3 ? 0 : 3 - rim));
    }
  plat::ByteWriter bytes;
  return WriteImage(image, bytes, error) && WriteOutputFile(path, bytes.Bytes(), error);
}

EFCFILEDESC AttackEffect() {
  EFCFILEDESC f;
  f.frameCount = kFrames;

  EFCSECTIONALRECORD arc;
  arc.header.name = EfficacyTargetName(kSectionalPrefix, "arc");
  arc.header.placement = kAttach;
  arc.header.part = "body";
  arc.shape.shape = 1;
  arc.shape.width = 2;
  arc.shape.length = 10;
  arc.shape.texture = "arc.qbt";
  arc.shape.frameCount = 1;
  arc.shape.sectionCount = 8;
  arc.shape.top = {9, 14, 0};
  arc.shape.bottom = {7, 14, 0};
  arc.shape.arcAngle = static_cast<float>(2 * std::numbers::pi / 7);
  arc.shape.arcAxis = 1;
  arc.shape.uEnd = 1;
  EFCRIBBONKEYDESC turn;
  turn.attached = 1;
  turn.blend = 3;
  turn.scrollU = 0.05f;
  EFCRIBBONKEYDESC gone = turn;
  gone.frame = 14;
  gone.hidden = 1;
  arc.keys = {turn, gone};
  f.sectionals.push_back(arc);

  EFCTRACTIONRECORD trail;
  trail.header.name = EfficacyTargetName(kTractionPrefix, "trail");
  trail.header.placement = kAttachPair;
  trail.header.part = "body";
  trail.header.secondPart = "mface";
  trail.trail = {20, 2, 8, 1, 1, "trail.qbt", {0, 0, 0}, {0, 0, 0}};
  EFCRIBBONKEYDESC trailKey;
  trailKey.blend = 3;
  trail.keys = {trailKey};
  f.tractions.push_back(trail);

  EFCPARTICLERECORD sparks;
  sparks.header.name = EfficacyTargetName(kParticlePrefix, "sparks");
  sparks.header.position = {0, 20, 0};
  sparks.emitter.templateWidth = sparks.emitter.templateHeight = 3;
  sparks.emitter.templateTexture = "spark.qbt";
  sparks.emitter.templateFrames = 1;
  sparks.emitter.particleWidth = sparks.emitter.particleHeight = 2;
  sparks.emitter.speed = 0.5f;
  sparks.emitter.spin = {0, 0.2f, 0};
  sparks.emitter.poolSize = 16;
  sparks.emitter.lifetime = 6;
  sparks.emitter.spread = 3;
  EFCPARTICLEKEYDESC burst;
  burst.blend = 3;
  burst.velocity = {0.5f, 0.3f, 0};
  burst.spread = 3;
  burst.spin = {0, 0.2f, 0};
  burst.emissions = 12;
  sparks.keys = {burst};
  f.particles.push_back(sparks);

  EFCLIGHTRECORD flash;
  flash.header.name = EfficacyTargetName(kLightPrefix, "flash");
  flash.header.placement = kAttach;
  flash.header.part = "body";
  flash.header.position = {0, 15, 0};
  EFCLIGHTKEYDESC glow;
  glow.setColour = 1;
  glow.colour = {1, 0.8f, 0.4f};
  glow.flicker = 1;
  glow.flickerMin = 60;
  glow.flickerMax = 100;
  EFCLIGHTKEYDESC dark;
  dark.frame = 12;
  dark.hidden = 1;
  flash.keys = {glow, dark};
  f.lights.push_back(flash);

  EFCSOUNDRECORD slash;
  slash.label = "slash";
  slash.cues = {{2, 2}};
  slash.wave = kWaveName;
  f.sounds.push_back(slash);
  return f;
}

// A falling whoosh: a short tone sweeping down, fading out.
WaveSpec Whoosh() {
  WaveSpec spec;
  spec.sampleRate = 22050;
  const int frames = spec.sampleRate / 4;
  double phase = 0;
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / frames;
    phase += 2 * std::numbers::pi * (1200 - 900 * t) / spec.sampleRate;
    spec.samples.push_back(static_cast<int16_t>(6000 * (1 - t) * std::sin(phase)));
  }
  return spec;
}

}  // namespace

bool WriteSampleEfficacy(const std::string& root, std::string& error) {
  const std::string textures = root + kTextureFolder;
  if (!GlowTexture(textures + "arc.qbt", {120, 180, 255}, error) ||
      !GlowTexture(textures + "trail.qbt", {255, 255, 255}, error) ||
      !GlowTexture(textures + "spark.qbt", {255, 200, 80}, error))
    return false;
  if (!WriteWave(root + kWaveFile, Whoosh())) {
    error = std::string("cannot write ") + kWaveFile;
    return false;
  }
  return WriteEfficacyFile(root + kEffectFile, AttackEffect(), error);
}

}  // namespace datagen
