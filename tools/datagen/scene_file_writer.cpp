#include "tools/datagen/scene_file_writer.h"

#include <algorithm>

#include "platform/files.h"
#include "tools/datagen/output_file.h"

namespace datagen {

namespace {

constexpr int kSections = 11;

void Vector(plat::ByteWriter& w, const Vec3& v) {
  for (float f : v) w.F32(f);
}

void Zone(plat::ByteWriter& w, const SceneZoneData& zone) {
  for (const auto& corner : zone.corners) {
    w.F32(corner[0]);
    w.F32(corner[1]);
  }
  w.F32(zone.zMin);
  w.F32(zone.zMax);
}

template <typename Key>
void Track(plat::ByteWriter& w, const std::vector<Key>& keys) {
  w.I32(keys.empty() ? 0 : keys.front().frame);
  w.I32(keys.empty() ? 0 : keys.back().frame);
  w.I32(static_cast<int32_t>(keys.size()));
}

void VectorKeys(plat::ByteWriter& w, const std::vector<SceneVectorKey>& keys) {
  for (const SceneVectorKey& k : keys) {
    w.I32(k.frame);
    Vector(w, k.value);
  }
}

void FloatKeys(plat::ByteWriter& w, const std::vector<SceneFloatKey>& keys) {
  for (const SceneFloatKey& k : keys) {
    w.I32(k.frame);
    w.F32(k.value);
  }
}

void Animation(plat::ByteWriter& w, const SceneAnimData& a) {
  int first = 9999;
  int last = 0;
  auto span = [&](const auto& keys) {
    if (keys.empty()) return;
    first = std::min(first, keys.front().frame);
    last = std::max(last, keys.back().frame);
  };
  span(a.positionKeys);
  span(a.rotationKeys);
  span(a.scaleKeys);
  span(a.visibilityKeys);
  w.U8(a.mode);
  w.U8(a.repeat);
  w.I16(a.delay);
  w.I16(a.plays);
  w.U8(a.keyNumber);
  w.U8(static_cast<uint8_t>((a.links & ~3) | (a.items.size() & 3)));
  w.U32(0);
  w.I16(static_cast<int16_t>(first));
  w.I16(static_cast<int16_t>(last));
  Track(w, a.positionKeys);
  Track(w, a.rotationKeys);
  Track(w, a.scaleKeys);
  Track(w, a.visibilityKeys);
  w.Zeros(16);
  for (size_t i = 0; i < (a.items.size() & 3); ++i) {
    w.I16(a.items[i].id);
    w.U8(a.items[i].a);
    w.U8(a.items[i].b);
  }
  VectorKeys(w, a.positionKeys);
  VectorKeys(w, a.scaleKeys);
  for (const SceneRotationKey& k : a.rotationKeys) {
    w.I32(k.frame);
    for (float f : k.value) w.F32(f);
  }
  FloatKeys(w, a.visibilityKeys);
}

void Part(plat::ByteWriter& w, const ScenePartData& p) {
  w.FixedString(p.texture, 16);
  for (uint8_t o : p.options) w.U8(o);
  w.U8(0);
  w.U8(p.materialFlag);
  w.U8(p.frameCount);
  w.U8(p.ticksPerFrame);
  w.U8(0);
  w.F32(p.power);
  w.F32(p.value28);
  w.F32(p.alpha);
  w.I32(p.blendMode);
  w.F32(p.value40);
  w.I16(p.faceFlags);
  w.Zeros(2);
  Vector(w, p.ambient);
  Vector(w, p.diffuse);
  Vector(w, p.specular);
  w.Zeros(4);
}

void Matrix(plat::ByteWriter& w, const SceneMatrix& m) {
  for (float f : m) w.F32(f);
}

std::vector<uint8_t> Triggers(const std::vector<SceneTriggerData>& triggers) {
  plat::ByteWriter w;
  for (const SceneTriggerData& t : triggers) {
    w.FixedString(t.name, 16);
    w.I16(t.type);
    w.I16(static_cast<int16_t>(t.targets.size()));
    w.Zeros(8);
    if (t.type == 3) {
      w.FixedString(t.wave, 16);
    } else {
      if (t.type == 7) {
        w.U8(t.initialState);
        w.U8(t.currentState);
        w.Zeros(2);
      } else {
        w.I32(t.value);
      }
      w.I32(t.level);
      w.Zeros(8);
    }
    Zone(w, t.zone);
  }
  for (const SceneTriggerData& t : triggers)
    for (const std::string& target : t.targets) w.FixedString(target, 12);
  return w.Bytes();
}

std::vector<uint8_t> People(const std::vector<ScenePersonData>& people) {
  plat::ByteWriter w;
  for (const ScenePersonData& p : people) {
    w.FixedString(p.name, 8);
    w.Zeros(8);
    w.I16(p.npcProperty);
    w.I16(0);
    w.I32(p.flags);
    Vector(w, p.position);
    Vector(w, p.direction);
    w.U32(p.routine ? 1 : 0);
  }
  for (const ScenePersonData& p : people)
    if (p.routine) Animation(w, *p.routine);
  return w.Bytes();
}

std::vector<uint8_t> Camera(const SceneCameraData& c) {
  plat::ByteWriter w;
  w.FixedString(c.name, 16);
  Vector(w, c.position);
  Vector(w, c.target);
  w.F32(c.fieldOfView);
  w.F32(c.roll);
  w.F32(c.nearPlane);
  w.F32(c.farPlane);
  w.I32(static_cast<int32_t>(c.positionKeys.size()));
  Track(w, c.positionKeys);
  Track(w, c.fovKeys);
  Track(w, c.rollKeys);
  Track(w, c.targetKeys);
  VectorKeys(w, c.positionKeys);
  VectorKeys(w, c.targetKeys);
  FloatKeys(w, c.fovKeys);
  FloatKeys(w, c.rollKeys);
  return w.Bytes();
}

}  // namespace

SceneZoneData SceneRect(float x0, float y0, float x1, float y1, float zMin, float zMax) {
  SceneZoneData z;
  z.corners = {{{x0, y1}, {x1, y1}, {x1, y0}, {x0, y0}}};
  z.zMin = zMin;
  z.zMax = zMax;
  return z;
}

SceneMatrix TranslationMatrix(float x, float y, float z) {
  SceneMatrix m = kIdentityMatrix;
  m[9] = x;
  m[10] = y;
  m[11] = z;
  return m;
}

std::vector<uint8_t> BuildSceneObject(const SceneObjectData& o) {
  plat::ByteWriter w;
  w.FixedString(o.name, 16);
  w.U8(o.kind);
  w.U8(o.flags);
  w.I16(o.meshFlags);
  w.F32(o.scrollU);
  w.F32(o.scrollV);
  w.F32(o.spin);
  w.U32(0);
  w.I32(static_cast<int32_t>(o.parts.size()));
  w.U32(0);
  w.U32(o.animation ? 1 : 0);
  for (const ScenePartData& p : o.parts) Part(w, p);
  if (o.flags & 0x80) {
    Matrix(w, o.matrix);
  } else if (o.kind == 7) {
    w.Zeros(20);
  } else {
    if (o.meshFlags & 0x04) Matrix(w, o.matrix);
    w.I16(static_cast<int16_t>(o.vertices.size()));
    w.I16(static_cast<int16_t>(o.triangles.size()));
    for (const SceneTriangleData& t : o.triangles) {
      w.I16(t.part);
      w.I16(t.a);
      w.I16(t.b);
      w.I16(t.c);
    }
    for (const SceneVertexData& v : o.vertices) {
      Vector(w, v.position);
      if (o.meshFlags & 0x10) w.Bytes(v.color.data(), 4);
      if (o.meshFlags & 0x08) {
        w.I16(v.uv[0]);
        w.I16(v.uv[1]);
      }
    }
  }
  if (o.animation) Animation(w, *o.animation);
  return w.Bytes();
}

std::vector<uint8_t> BuildSceneFile(const SceneFileData& s) {
  struct Body {
    int16_t count = 0;
    int32_t tableSize = 0;
    std::vector<uint8_t> bytes;
    uint32_t size = 0;  // differs from bytes.size() only for section 10
  };
  std::vector<Body> bodies(kSections);
  auto records = [](auto& body, size_t count) { body.count = static_cast<int16_t>(count); };

  plat::ByteWriter points;
  for (const ScenePointData& p : s.points) {
    points.I32(p.id);
    Vector(points, p.position);
    Vector(points, p.direction);
  }
  records(bodies[0], s.points.size());
  bodies[0].bytes = points.Bytes();

  plat::ByteWriter portals;
  for (const ScenePortalData& p : s.portals) {
    portals.FixedString(p.destination, 16);
    portals.I16(p.point);
    portals.I16(p.closed);
    Zone(portals, p.zone);
  }
  records(bodies[1], s.portals.size());
  bodies[1].bytes = portals.Bytes();

  records(bodies[2], s.triggers.size());
  bodies[2].bytes = Triggers(s.triggers);

  plat::ByteWriter start;
  Vector(start, s.start);
  start.Bytes(s.startExtra.data(), std::min<size_t>(s.startExtra.size(), 16));
  bodies[3].bytes = start.Bytes();

  records(bodies[4], s.people.size());
  bodies[4].bytes = People(s.people);

  plat::ByteWriter objects;
  std::vector<std::vector<uint8_t>> objectBytes;
  for (const SceneObjectData& o : s.objects) objectBytes.push_back(BuildSceneObject(o));
  for (const auto& b : objectBytes) objects.I32(static_cast<int32_t>(b.size()));
  for (const auto& b : objectBytes) objects.Bytes(b.data(), b.size());
  records(bodies[5], s.objects.size());
  bodies[5].bytes = objects.Bytes();

  plat::ByteWriter cameras;
  for (const SceneCameraData& c : s.cameras) {
    std::vector<uint8_t> b = Camera(c);
    cameras.Bytes(b.data(), b.size());
  }
  records(bodies[6], s.cameras.size());
  bodies[6].bytes = cameras.Bytes();

  plat::ByteWriter lights;
  for (const SceneLightData& l : s.lights) {
    lights.FixedString(l.name, 16);
    lights.I32(l.type);
    Vector(lights, l.position);
    Vector(lights, l.direction);
    Vector(lights, l.color);
    lights.F32(l.intensity);
    lights.F32(l.range);
    lights.F32(l.innerCone);
    lights.F32(l.outerCone);
  }
  records(bodies[7], s.lights.size());
  bodies[7].bytes = lights.Bytes();

  plat::ByteWriter morphs;
  const bool wide = s.version >= 513;
  for (const SceneMorphData& m : s.morphs) {
    morphs.I32(m.value0);
    morphs.I32(m.frameCount);
    morphs.I32(m.vertexCount);
    morphs.I32(m.holdTicks);
    if (wide) morphs.I32(m.uvFlag);
    morphs.U32(0);
  }
  bodies[8].tableSize = static_cast<int32_t>(morphs.Size());
  for (const SceneMorphData& m : s.morphs)
    for (float f : m.frames) morphs.F32(f);
  records(bodies[8], s.morphs.size());
  bodies[8].bytes = morphs.Bytes();

  plat::ByteWriter ext;
  for (const SceneExtAnimData& e : s.extAnims) {
    ext.FixedString(e.name, 16);
    ext.I32(e.kind);
    ext.I32(e.count);
    ext.I32(0);
    ext.FixedString(e.objectName, 16);
    Zone(ext, e.zone);
  }
  records(bodies[9], s.extAnims.size());
  bodies[9].bytes = ext.Bytes();

  plat::ByteWriter shadows;
  for (const auto& polygon : s.shadows) {
    shadows.I32(static_cast<int32_t>(polygon.size()));
    shadows.U32(0);
  }
  size_t headers = shadows.Size();
  for (const auto& polygon : s.shadows)
    for (const Vec3& p : polygon) Vector(shadows, p);
  records(bodies[10], s.shadows.size());
  bodies[10].bytes = shadows.Bytes();
  bodies[10].size = static_cast<uint32_t>(shadows.Size() - headers);

  const int sections = std::clamp(s.sectionCount, 4, kSections);
  plat::ByteWriter w;
  w.Zeros(16);
  w.I16(s.version);
  w.I16(static_cast<int16_t>(sections));
  for (int i = 0; i < sections; ++i) {
    Body& b = bodies[static_cast<size_t>(i)];
    if (i != 10) b.size = static_cast<uint32_t>(b.bytes.size());
    w.U16(0);
    w.I16(b.count);
    w.U32(0);
    w.I32(b.tableSize);
    w.U32(b.size);
  }
  for (int i = 0; i < sections; ++i)
    w.Bytes(bodies[static_cast<size_t>(i)].bytes.data(), bodies[static_cast<size_t>(i)].bytes.size());
  return w.Bytes();
}

bool WriteSceneFile(const std::string& path, const SceneFileData& scene, std::string& error) {
  return WriteOutputFile(path, BuildSceneFile(scene), error);
}

}  // namespace datagen
