#include "tools/datagen/efficacy_writer.h"

#include "platform/files.h"
#include "tools/datagen/output_file.h"

namespace datagen {
namespace {

using namespace efc;

class Writer {
 public:
  plat::ByteWriter out;

  void Vector(const VECTOR3& v) {
    out.F32(v.x);
    out.F32(v.y);
    out.F32(v.z);
  }
  void Name(const std::string& text, size_t field = kNameField) { out.FixedString(text, field); }

  void Header(const EFCELEMENTDESC& h) {
    Name(h.name);
    out.I32(h.placement);
    Vector(h.angles);
    Vector(h.position);
    switch (h.placement) {
      case kAttach: Name(h.part); break;
      case kAim:
        Name(h.aim.directionPart);
        Name(h.aim.positionPart);
        for (int v : {h.aim.flattenX, h.aim.flattenY, h.aim.useUp, h.aim.keepX, h.aim.keepY, h.aim.keepZ}) out.I32(v);
        break;
      case kAttachPair:
        Name(h.part);
        Name(h.secondPart);
        break;
      default: break;
    }
    out.I32(h.reserved);
    Vector(h.scale);
    Name(h.target);
  }

  void KeyStart(const EFCKEYDESC& k) {
    out.I32(k.frame);
    out.I32(k.attached);
    out.I32(k.hidden);
  }

  void Key(const EFCRIBBONKEYDESC& k) {
    KeyStart(k);
    out.I32(k.blend);
    out.F32(k.speed);
    Vector(k.spin);
    Vector(k.scale);
    out.F32(k.scrollU);
    out.F32(k.scrollV);
    out.I32(k.setColours);
    out.I32(k.changeColours);
    for (const VECTOR3& c : k.colours) Vector(c);
    for (const VECTOR3& c : k.changes) Vector(c);
    out.I32(k.setAmbient);
    out.I32(k.changeAmbient);
    Vector(k.ambient);
    Vector(k.ambientChange);
  }

  void Key(const EFCPARTICLEKEYDESC& k) {
    KeyStart(k);
    out.I32(k.blend);
    out.I32(k.setColour);
    Vector(k.colour);
    out.I32(k.changeColours);
    Vector(k.change);
    Vector(k.velocity);
    out.I32(k.spread);
    Vector(k.spin);
    out.I32(k.emissions);
  }

  void Key(const EFCLIGHTKEYDESC& k) {
    KeyStart(k);
    out.I32(k.setColour);
    out.I32(k.changeColour);
    Vector(k.colour);
    Vector(k.change);
    out.I32(k.flicker);
    out.I32(k.changeIntensity);
    out.F32(k.flickerMin);
    out.F32(k.flickerMax);
    out.F32(k.intensityChange);
  }

  void Key(const EFCCAMERAKEYDESC& k) {
    KeyStart(k);
    out.I32(k.follow);
    Vector(k.lastFollowed);
    out.I32(k.endFrame);
    out.I32(k.look);
    Vector(k.target);
    Vector(k.eye);
    Name(k.followedPart);
    out.I32(k.followedNode);
    Vector(k.orbitAxis);
    Vector(k.workingAxis);
    out.F32(k.angleA);
    out.F32(k.angleB);
    out.I32(k.reserved);
    Vector(k.movement);
  }

  void Key(const EFCCREATUREKEYDESC& k) {
    KeyStart(k);
    out.I32(k.reserved);
    out.I32(k.setBrightness);
    out.F32(k.brightness);
    out.I32(k.changeBrightness);
    out.F32(k.brightnessChange);
    out.F32(k.speed);
    Vector(k.spin);
    Vector(k.scale);
  }

  void Block(const EFCSECTIONALDESC& s) {
    out.I32(s.shape);
    out.F32(s.width);
    out.F32(s.length);
    Name(s.texture);
    out.I32(s.frameCount);
    out.I32(s.sectionCount);
    out.I32(s.repeat);
    Vector(s.top);
    Vector(s.bottom);
    out.F32(s.arcAngle);
    out.I32(s.arcAxis);
    out.Zeros(4);
    Vector(s.lineDirection);
    out.F32(s.lineSpacing);
    out.Zeros(12);
    out.I32(s.facingB);
    out.I32(s.facingA);
    out.Zeros(4);
    out.I32(s.faceFully);
    for (float v : {s.uStart, s.uEnd, s.vTop, s.vBottom}) out.F32(v);
  }

  void Block(const EFCTRACTIONDESC& t) {
    out.Zeros(kUnusedTractionBytes);
    out.F32(t.length);
    out.F32(t.width);
    out.I32(t.sectionCount);
    out.I32(t.uvMode);
    out.I32(t.frameCount);
    Name(t.texture, kTractionTextureField);
    out.Zeros(8);
  }

  void Block(const EFCPARTICLEDESC& p) {
    out.F32(p.templateWidth);
    out.F32(p.templateHeight);
    Name(p.templateTexture);
    out.I32(p.templateFrames);
    out.F32(p.particleWidth);
    out.F32(p.particleHeight);
    Name(p.particleTexture);
    out.I32(p.particleFrames);
    Vector(p.spin);
    out.Zeros(12);
    out.F32(p.speed);
    out.Zeros(4);
    out.I32(p.poolSize);
    out.I32(p.lifetime);
    out.F32(p.spread);
    out.Zeros(32);
  }

  template <class Record, class Tail>
  void Records(const std::vector<Record>& list, Tail tail) {
    out.I32(static_cast<int32_t>(list.size()));
    for (const Record& r : list) {
      Header(r.header);
      out.I32(static_cast<int32_t>(r.keys.size()));
      for (const auto& k : r.keys) Key(k);
      tail(r);
    }
  }
};

}  // namespace

std::vector<uint8_t> BuildEfficacyFile(const EFCFILEDESC& file) {
  Writer w;
  w.out.FixedString("Tarnwick effect", kHeaderBytes);
  w.out.I32(file.reserved);
  w.out.I32(file.frameCount);
  auto none = [](const auto&) {};
  w.Records(file.sectionals, [&](const EFCSECTIONALRECORD& r) { w.Block(r.shape); });
  w.Records(file.tractions, [&](const EFCTRACTIONRECORD& r) { w.Block(r.trail); });
  w.Records(file.particles, [&](const EFCPARTICLERECORD& r) { w.Block(r.emitter); });
  w.Records(file.lights, none);
  w.Records(file.cameras, none);
  if (file.hasCreatures) {
    w.Records(file.creatures, [&](const EFCCREATURERECORD& r) { w.Name(r.model, kModelNameField); });
    if (file.hasSounds) {
      w.out.I32(static_cast<int32_t>(file.sounds.size()));
      for (const EFCSOUNDRECORD& s : file.sounds) {
        w.Name(s.label);
        w.out.I32(static_cast<int32_t>(s.cues.size()));
        for (const EFCSOUNDCUEDESC& c : s.cues) {
          w.out.I32(c.frame);
          w.out.I32(c.flags);
        }
        w.Name(s.wave, kWaveNameField);
      }
    }
  }
  return w.out.Bytes();
}

bool WriteEfficacyFile(const std::string& path, const EFCFILEDESC& file, std::string& error) {
  return WriteOutputFile(path, BuildEfficacyFile(file), error);
}

std::string EfficacyTargetName(const char* prefix, const std::string& text) {
  return std::string(prefix, kPrefixBytes) + text;
}

}  // namespace datagen
