#include "components/efficacy_file.h"

#include <algorithm>

#include "platform/files.h"

namespace {

using namespace efc;

// Bytes of every record part that has a fixed size.
constexpr size_t kElementHeaderBytes = 88;  // without the placement block
constexpr size_t kRibbonKeyBytes = 188;
constexpr size_t kParticleKeyBytes = 80;
constexpr size_t kLightKeyBytes = 64;
constexpr size_t kCameraKeyBytes = 132;
constexpr size_t kCreatureKeyBytes = 60;
constexpr size_t kSoundCueBytes = 8;
constexpr size_t kSoundRecordBytes = kNameField + 4 + kWaveNameField;

class Reader {
 public:
  explicit Reader(const std::vector<uint8_t>& bytes) : in_(bytes) {}

  plat::ByteReader& in() { return in_; }

  VECTOR3 Vector() {
    VECTOR3 v;
    v.x = in_.F32();
    v.y = in_.F32();
    v.z = in_.F32();
    return v;
  }

  // A count of records of at least minBytes each that fit in what is left.
  bool Count(size_t minBytes, const char* what, int* count) {
    *count = in_.I32();
    if (in_.Failed() || *count < 0 || static_cast<size_t>(*count) > in_.Remaining() / minBytes) {
      why_ = std::string("bad count of ") + what;
      return false;
    }
    return true;
  }

  bool Header(EFCELEMENTDESC* h) {
    h->name = in_.FixedString(kNameField);
    h->placement = in_.I32();
    h->angles = Vector();
    h->position = Vector();
    switch (h->placement) {
      case kAttach: h->part = in_.FixedString(kNameField); break;
      case kAim: {
        EFCAIMDESC& a = h->aim;
        a.directionPart = in_.FixedString(kNameField);
        a.positionPart = in_.FixedString(kNameField);
        a.flattenX = in_.I32();
        a.flattenY = in_.I32();
        a.useUp = in_.I32();
        a.keepX = in_.I32();
        a.keepY = in_.I32();
        a.keepZ = in_.I32();
        break;
      }
      case kAttachPair:
        h->part = in_.FixedString(kNameField);
        h->secondPart = in_.FixedString(kNameField);
        break;
      default: break;
    }
    h->reserved = in_.I32();
    h->scale = Vector();
    h->target = in_.FixedString(kNameField);
    return Ok("element header");
  }

  void KeyStart(EFCKEYDESC* k) {
    k->frame = in_.I32();
    k->attached = in_.I32();
    k->hidden = in_.I32();
  }

  template <class Key, class ReadKey>
  bool Keys(std::vector<Key>* keys, size_t keyBytes, ReadKey readKey) {
    int count;
    if (!Count(keyBytes, "keys", &count)) return false;
    keys->resize(count);
    for (Key& k : *keys) {
      KeyStart(&k);
      readKey(k);
    }
    return Ok("keys");
  }

  bool Ok(const char* what) {
    if (in_.Failed()) why_ = std::string("file ends inside ") + what;
    return !in_.Failed();
  }

  std::string why_;

 private:
  plat::ByteReader in_;
};

void ReadRibbonKey(Reader& r, EFCRIBBONKEYDESC& k) {
  plat::ByteReader& in = r.in();
  k.blend = in.I32();
  k.speed = in.F32();
  k.spin = r.Vector();
  k.scale = r.Vector();
  k.scrollU = in.F32();
  k.scrollV = in.F32();
  k.setColours = in.I32();
  k.changeColours = in.I32();
  for (VECTOR3& c : k.colours) c = r.Vector();
  for (VECTOR3& c : k.changes) c = r.Vector();
  k.setAmbient = in.I32();
  k.changeAmbient = in.I32();
  k.ambient = r.Vector();
  k.ambientChange = r.Vector();
}

void ReadParticleKey(Reader& r, EFCPARTICLEKEYDESC& k) {
  plat::ByteReader& in = r.in();
  k.blend = in.I32();
  k.setColour = in.I32();
  k.colour = r.Vector();
  k.changeColours = in.I32();
  k.change = r.Vector();
  k.velocity = r.Vector();
  k.spread = in.I32();
  k.spin = r.Vector();
  k.emissions = in.I32();
}

void ReadLightKey(Reader& r, EFCLIGHTKEYDESC& k) {
  plat::ByteReader& in = r.in();
  k.setColour = in.I32();
  k.changeColour = in.I32();
  k.colour = r.Vector();
  k.change = r.Vector();
  k.flicker = in.I32();
  k.changeIntensity = in.I32();
  k.flickerMin = in.F32();
  k.flickerMax = in.F32();
  k.intensityChange = in.F32();
}

void ReadCameraKey(Reader& r, EFCCAMERAKEYDESC& k) {
  plat::ByteReader& in = r.in();
  k.follow = in.I32();
  k.lastFollowed = r.Vector();
  k.endFrame = in.I32();
  k.look = in.I32();
  k.target = r.Vector();
  k.eye = r.Vector();
  k.followedPart = in.FixedString(kNameField);
  k.followedNode = in.I32();
  k.orbitAxis = r.Vector();
  k.workingAxis = r.Vector();
  k.angleA = in.F32();
  k.angleB = in.F32();
  k.reserved = in.I32();
  k.movement = r.Vector();
}

void ReadCreatureKey(Reader& r, EFCCREATUREKEYDESC& k) {
  plat::ByteReader& in = r.in();
  k.reserved = in.I32();
  k.setBrightness = in.I32();
  k.brightness = in.F32();
  k.changeBrightness = in.I32();
  k.brightnessChange = in.F32();
  k.speed = in.F32();
  k.spin = r.Vector();
  k.scale = r.Vector();
}

void ReadSectionalShape(Reader& r, EFCSECTIONALDESC& s) {
  plat::ByteReader& in = r.in();
  s.shape = in.I32();
  s.width = in.F32();
  s.length = in.F32();
  s.texture = in.FixedString(kNameField);
  s.frameCount = in.I32();
  s.sectionCount = in.I32();
  s.repeat = in.I32();
  s.top = r.Vector();
  s.bottom = r.Vector();
  s.arcAngle = in.F32();
  s.arcAxis = in.I32();
  in.Skip(4);
  s.lineDirection = r.Vector();
  s.lineSpacing = in.F32();
  in.Skip(12);
  s.facingB = in.I32();
  s.facingA = in.I32();
  in.Skip(4);
  s.faceFully = in.I32();
  s.uStart = in.F32();
  s.uEnd = in.F32();
  s.vTop = in.F32();
  s.vBottom = in.F32();
}

void ReadTrail(Reader& r, EFCTRACTIONDESC& t) {
  plat::ByteReader& in = r.in();
  in.Skip(kUnusedTractionBytes);
  t.length = in.F32();
  t.width = in.F32();
  t.sectionCount = in.I32();
  t.uvMode = in.I32();
  t.frameCount = in.I32();
  t.texture = in.FixedString(kTractionTextureField);
  in.Skip(8);  // the anchor slots, filled while playing
}

void ReadEmitter(Reader& r, EFCPARTICLEDESC& p) {
  plat::ByteReader& in = r.in();
  p.templateWidth = in.F32();
  p.templateHeight = in.F32();
  p.templateTexture = in.FixedString(kNameField);
  p.templateFrames = in.I32();
  p.particleWidth = in.F32();
  p.particleHeight = in.F32();
  p.particleTexture = in.FixedString(kNameField);
  p.particleFrames = in.I32();
  p.spin = r.Vector();
  in.Skip(12);
  p.speed = in.F32();
  in.Skip(4);
  p.poolSize = in.I32();
  p.lifetime = in.I32();
  p.spread = in.F32();
  in.Skip(32);
}

// count records of kind Record: header, keys, then the kind's tail.
template <class Record, class ReadKey, class ReadTail>
bool Records(Reader& r, const char* what, size_t keyBytes, size_t tailBytes, std::vector<Record>* out, ReadKey readKey,
             ReadTail readTail) {
  int count;
  if (!r.Count(kElementHeaderBytes + tailBytes, what, &count)) return false;
  out->resize(count);
  for (Record& record : *out) {
    if (!r.Header(&record.header)) return false;
    if (!r.Keys(&record.keys, keyBytes, [&](auto& k) { readKey(r, k); })) return false;
    readTail(r, record);
    if (!r.Ok(what)) return false;
  }
  return true;
}

bool Sounds(Reader& r, std::vector<EFCSOUNDRECORD>* out) {
  int count;
  if (!r.Count(kSoundRecordBytes, "sound records", &count)) return false;
  out->resize(count);
  for (EFCSOUNDRECORD& s : *out) {
    s.label = r.in().FixedString(kNameField);
    int cues;
    if (!r.Count(kSoundCueBytes, "sound cues", &cues)) return false;
    s.cues.resize(cues);
    for (EFCSOUNDCUEDESC& c : s.cues) {
      c.frame = r.in().I32();
      c.flags = r.in().I32();
    }
    s.wave = r.in().FixedString(kWaveNameField);
    if (!r.Ok("sound records")) return false;
  }
  return true;
}

// Engine nodes the effect's ribbons, trails, emitters and lights will make.
int64_t EngineNodesNeeded(const EFCFILEDESC& f) {
  int64_t nodes = 0;
  auto ribbon = [](int sections) { return sections >= 2 ? int64_t{sections} : 0; };
  for (const EFCSECTIONALRECORD& r : f.sectionals) nodes += ribbon(r.shape.sectionCount);
  for (const EFCTRACTIONRECORD& r : f.tractions) nodes += ribbon(r.trail.sectionCount);
  for (const EFCPARTICLERECORD& r : f.particles) nodes += 3 + std::max(0, r.emitter.poolSize);
  nodes += static_cast<int64_t>(f.lights.size());
  return nodes;
}

}  // namespace

bool ReadEfficacyFile(const std::vector<uint8_t>& bytes, EFCFILEDESC* out, std::string* why) {
  *out = EFCFILEDESC{};
  Reader r(bytes);
  plat::ByteReader& in = r.in();
  in.Skip(kHeaderBytes);
  out->reserved = in.I32();
  out->frameCount = in.I32();
  auto none = [](Reader&, auto&) {};
  bool ok = r.Ok("file header") &&
            Records(r, "sectional records", kRibbonKeyBytes, kSectionalBlockBytes, &out->sectionals, ReadRibbonKey,
                    [](Reader& rr, EFCSECTIONALRECORD& rec) { ReadSectionalShape(rr, rec.shape); }) &&
            Records(r, "traction records", kRibbonKeyBytes, kUnusedTractionBytes + kTractionBlockBytes, &out->tractions,
                    ReadRibbonKey, [](Reader& rr, EFCTRACTIONRECORD& rec) { ReadTrail(rr, rec.trail); }) &&
            Records(r, "particle records", kParticleKeyBytes, kParticleBlockBytes, &out->particles, ReadParticleKey,
                    [](Reader& rr, EFCPARTICLERECORD& rec) { ReadEmitter(rr, rec.emitter); }) &&
            Records(r, "light records", kLightKeyBytes, 0, &out->lights, ReadLightKey, none) &&
            Records(r, "camera records", kCameraKeyBytes, 0, &out->cameras, ReadCameraKey, none);
  if (ok) {
    out->hasCreatures = in.Remaining() > 0;
    if (out->hasCreatures)
      ok = Records(r, "creature records", kCreatureKeyBytes, kModelNameField, &out->creatures, ReadCreatureKey,
                   [](Reader& rr, EFCCREATURERECORD& rec) { rec.model = rr.in().FixedString(kModelNameField); });
  }
  if (ok) {
    out->hasSounds = out->hasCreatures && in.Remaining() > 0;
    if (out->hasSounds) ok = Sounds(r, &out->sounds);
  }
  // A negative count would make the play's last frame overflow.
  if (ok && out->frameCount < 0) {
    ok = false;
    r.why_ = "a negative frame count";
  }
  if (ok && EngineNodesNeeded(*out) > kMaxEffectNodes) {
    ok = false;
    r.why_ = "too many ribbon sections or particles";
  }
  if (!ok) {
    if (why) *why = r.why_;
    *out = EFCFILEDESC{};
  }
  return ok;
}
