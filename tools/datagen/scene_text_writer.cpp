#include "tools/datagen/scene_text_writer.h"

#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "tools/datagen/output_file.h"

namespace datagen {

namespace {

class Text {
 public:
  Text& operator<<(const std::string& word) {
    Space();
    out_ += word;
    return *this;
  }
  Text& operator<<(const char* word) { return *this << std::string(word); }
  Text& operator<<(int value) { return *this << std::to_string(value); }
  Text& operator<<(float value) {
    char number[32];
    std::snprintf(number, sizeof number, "%.9g", static_cast<double>(value));
    return *this << std::string(number);
  }
  Text& operator<<(const Vec3& v) { return *this << v[0] << v[1] << v[2]; }
  void Line() {
    out_ += '\n';
    fresh_ = true;
  }
  std::string Take() { return std::move(out_); }

 private:
  void Space() {
    if (!fresh_) out_ += ' ';
    fresh_ = false;
  }
  std::string out_;
  bool fresh_ = true;
};

void Zone(Text& t, const SceneZoneData& zone) {
  // Five points: the corners (z of the first is the bottom), then the top.
  t << 5;
  t.Line();
  for (int i = 0; i < 4; ++i) {
    t << zone.corners[static_cast<size_t>(i)][0] << zone.corners[static_cast<size_t>(i)][1]
      << (i == 0 ? zone.zMin : zone.zMin);
    t.Line();
  }
  t << zone.corners[0][0] << zone.corners[0][1] << zone.zMax;
  t.Line();
}

template <typename Key, typename Value>
void Keys(Text& t, const char* word, const std::vector<Key>& keys, Value value) {
  if (keys.empty()) return;
  t << word << keys.front().frame << keys.back().frame << static_cast<int>(keys.size());
  t.Line();
  for (const Key& key : keys) {
    t << key.frame;
    value(key);
    t.Line();
  }
}

void Animation(Text& t, const SceneAnimData& a) {
  t << "Animate";
  t.Line();
  Keys(t, "KeyPos", a.positionKeys, [&](const SceneVectorKey& k) { t << k.value; });
  Keys(t, "KeyScale", a.scaleKeys, [&](const SceneVectorKey& k) { t << k.value; });
  Keys(t, "KeyRotate", a.rotationKeys, [&](const SceneRotationKey& k) {
    const float w = std::fmax(-1.0f, std::fmin(1.0f, k.value[0]));
    const float angle = 2 * std::acos(w);
    const float s = std::sin(angle / 2);
    if (s < 1e-6f) {
      t << 0.0f << 0.0f << 0.0f << 1.0f;
    } else {
      t << angle << k.value[1] / s << k.value[2] / s << k.value[3] / s;
    }
  });
  Keys(t, "KeyVisibility", a.visibilityKeys, [&](const SceneFloatKey& k) { t << k.value; });
  t << "EndAnimate";
  t.Line();
  std::vector<std::string> lines;
  const int start = a.mode & 0x0F;
  if (start == 0) lines.push_back("Past");
  if (start == 1) lines.push_back("Now");
  if (start == 2) lines.push_back("Random " + std::to_string(a.delay));
  lines.push_back(std::string(a.repeat ? "Bounce " : "Once ") + std::to_string(a.plays));
  if (a.mode >> 5) lines.push_back("Sound " + std::to_string(a.mode >> 5));
  if (a.keyNumber) lines.push_back("key " + std::to_string(a.keyNumber));
  if (a.links >> 3) lines.push_back(std::string(a.links & 4 ? "trigger " : "portal ") + std::to_string(a.links >> 3));
  for (const SceneItemData& item : a.items)
    lines.push_back("Item " + std::to_string(item.id) + " " + std::to_string(item.a) + " " + std::to_string(item.b));
  t << "Properties" << static_cast<int>(lines.size());
  t.Line();
  for (const std::string& line : lines) {
    t << line;
    t.Line();
  }
}

void Object(Text& t, const SceneObjectData& o, float version) {
  t << "BeginObject" << o.name;
  t.Line();
  if (o.flags & 0x80) {
    t << "Clone" << static_cast<int>(o.meshFlags);
    for (float f : o.matrix) t << f;
    t.Line();
    t << "EndObject";
    t.Line();
    return;
  }
  int materialFlag = 0;
  for (const ScenePartData& p : o.parts) materialFlag |= p.materialFlag;
  t << static_cast<int>(o.parts.size()) << "Parts" << materialFlag;
  t.Line();
  for (const ScenePartData& p : o.parts) {
    t << p.texture << p.options[0] << p.options[1] << p.options[2];
    if (version >= 1.299f) t << p.frameCount << p.ticksPerFrame;
    if (materialFlag) t << p.power << p.value28 << p.alpha << p.blendMode << p.value40 << p.faceFlags;
    t << p.ambient << p.diffuse << p.specular;
    t.Line();
  }
  const bool uvs = o.meshFlags & 0x08;
  const bool colors = o.meshFlags & 0x10;
  std::vector<SceneVertexData> vertices = o.vertices;
  if (o.kind == 7 && vertices.empty() && !o.parts.empty()) {
    // A billboard is given by its quad: width along x, height along z.
    const ScenePartData& p = o.parts[0];
    const float w = p.ambient[0] / 2, h = p.ambient[1] / 2;
    const Vec3 c = p.diffuse;
    for (const auto& [dx, dz] : {std::pair{-w, -h}, std::pair{w, -h}, std::pair{w, h}, std::pair{-w, h}})
      vertices.push_back({{c[0] + dx, c[1], c[2] + dz}, {}, {}});
  }
  t << static_cast<int>(vertices.size());
  if (version >= 0.999f) {
    t << (uvs ? "T" : "N") << (colors ? 1 : 0);
    t << ((o.flags & 0x04) ? 1 : 0) << o.scrollU << o.scrollV;
    if (o.kind == 5) {
      t << 1 << o.spin;
    } else {
      t << 0;
    }
    if (o.meshFlags & 0x04) {
      t << "Matrix";
      for (float f : o.matrix) t << f;
    }
  }
  t.Line();
  for (const SceneVertexData& v : vertices) {
    t << v.position;
    if (uvs) t << v.uv[0] / 256.0f << v.uv[1] / 256.0f;
    if (colors) t << v.color[2] << v.color[1] << v.color[0];
    t.Line();
  }
  t << static_cast<int>(o.triangles.size());
  t.Line();
  for (const SceneTriangleData& tri : o.triangles) {
    t << tri.part << tri.a << tri.b << tri.c;
    t.Line();
  }
  if (o.animation) Animation(t, *o.animation);
  t << "EndObject";
  t.Line();
}

}  // namespace

std::string BuildSceneText(const SceneFileData& scene, float version) {
  Text t;
  t << "# scene, text form";
  t.Line();
  t << "BeginVersion" << version;
  t.Line();
  if (!scene.points.empty()) {
    t << "BeginPoint" << static_cast<int>(scene.points.size());
    t.Line();
    for (const ScenePointData& p : scene.points) {
      t << "Point" + std::to_string(p.id) << p.position << p.direction;
      t.Line();
    }
  }
  for (const ScenePortalData& p : scene.portals) {
    t << "BeginPortal" << p.destination << p.point;
    Zone(t, p.zone);
  }
  for (const SceneTriggerData& tr : scene.triggers) {
    t << "BeginTrigger" << tr.name;
    Zone(t, tr.zone);
    static const char* const kTypes[] = {"Switch", "Jump", "Drop", "Sound", "Game", "Auto", "Talk", "Block"};
    std::vector<std::string> lines;
    const char* type = tr.type >= 0 && tr.type < 8 ? kTypes[tr.type] : "Switch";
    if (tr.type == 3) {
      lines.push_back(std::string(type) + " " + tr.wave);
    } else if (tr.type == 1 || tr.type == 2) {
      lines.push_back(std::string(type) + " n" + std::to_string(tr.value));
    } else {
      lines.push_back(std::string(type) + " " + std::to_string(tr.value));
    }
    if (tr.type != 3) lines.push_back("Level " + std::to_string(tr.level));
    for (const std::string& target : tr.targets) lines.push_back("Object " + target);
    t << "Properties" << static_cast<int>(lines.size());
    t.Line();
    for (const std::string& line : lines) {
      t << line;
      t.Line();
    }
  }
  for (const SceneExtAnimData& e : scene.extAnims) {
    t << "BeginAnimateExtend" << e.name << 8;
    t.Line();
    for (int i = 0; i < 8; ++i) {
      const auto& c = e.zone.corners[static_cast<size_t>(i % 4)];
      t << c[0] << c[1] << (i == 4 ? e.zone.zMax : e.zone.zMin);
      t.Line();
    }
    t << "Properties" << 3;
    t.Line();
    t << (e.kind == 1 ? "LEAF_FALL" : "GRASS_SWING");
    t.Line();
    t << "Count" << e.count;
    t.Line();
    t << "Object" << e.objectName;
    t.Line();
  }
  t << "BeginPeople"
    << "Start" << scene.start;
  t.Line();
  for (const ScenePersonData& p : scene.people) {
    t << "BeginDummy"
      << "*" + p.name << p.position << p.direction;
    t.Line();
    if (p.routine) Animation(t, *p.routine);
    std::vector<std::string> flags;
    if (p.flags & 0x8000) flags.push_back("Hide");
    if (p.flags & 0x1) flags.push_back("FollowKey");
    if (!flags.empty()) {
      t << "Properties" << static_cast<int>(flags.size());
      t.Line();
      for (const std::string& f : flags) {
        t << f;
        t.Line();
      }
    }
    t << "EndDummy";
    t.Line();
  }
  for (const SceneObjectData& o : scene.objects) Object(t, o, version);
  for (const SceneCameraData& c : scene.cameras) {
    t << "BeginCamera" << c.name << c.position << c.target << c.fieldOfView << c.nearPlane << c.farPlane;
    t.Line();
    Keys(t, "KeyPos", c.positionKeys, [&](const SceneVectorKey& k) { t << k.value; });
    Keys(t, "KeyFov", c.fovKeys, [&](const SceneFloatKey& k) { t << k.value; });
    Keys(t, "KeyRoll", c.rollKeys, [&](const SceneFloatKey& k) { t << k.value; });
    Keys(t, "KeyTarget", c.targetKeys, [&](const SceneVectorKey& k) { t << k.value; });
    t << "EndCamera";
    t.Line();
  }
  for (const SceneLightData& l : scene.lights) {
    t << "BeginLight" << l.name << l.type << l.position << l.direction << l.color << l.intensity << l.range
      << l.innerCone << l.outerCone;
    t.Line();
  }
  for (const SceneMorphData& m : scene.morphs) {
    t << "BeginMorphdata" << m.value0 << m.frameCount << m.vertexCount << m.holdTicks;
    if (version >= 2.099f) t << m.uvFlag;
    t.Line();
    const size_t perFrame = static_cast<size_t>(m.vertexCount) * (m.uvFlag ? 5 : 3);
    for (int f = 1; f < m.frameCount; ++f) {
      t << "Frame";
      for (size_t i = 0; i < perFrame && f * perFrame + i < m.frames.size(); ++i) t << m.frames[f * perFrame + i];
      t.Line();
    }
  }
  return t.Take();
}

bool WriteSceneText(const std::string& path, const SceneFileData& scene, std::string& error) {
  const std::string text = BuildSceneText(scene);
  return WriteOutputFile(path, std::vector<uint8_t>(text.begin(), text.end()), error);
}

}  // namespace datagen
