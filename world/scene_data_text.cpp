// The text form of the scene file. Blocks open with a keyword (compared
// without regard to case over the keyword's length); a line that starts
// with any other word is skipped. The grammar is written out with its
// writer in tools/datagen/scene_text_writer.h.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/debug_trace.h"
#include "base/game_math.h"
#include "base/text_tokenizer.h"
#include "engine/core/billboards.h"
#include "engine/core/materials.h"
#include "engine/core/node_clone.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "world/scene_data.h"

namespace {

constexpr int kSkipNone = 5;
constexpr int kSkipToken = 2;
constexpr size_t kMaxName = 15;
constexpr size_t kMaxPersonName = 8;
constexpr int kMaxZonePoints = 8;
constexpr int kMaxCount = 100000;
constexpr int kMaxMorphFloats = 4 * 1024 * 1024;
constexpr int kMaxItems = 3;
constexpr int kStartWaitTrigger = 3;

bool Is(const std::string& word, const char* keyword) {
  const size_t n = std::strlen(keyword);
  if (word.size() < n) return false;
  for (size_t i = 0; i < n; ++i) {
    if (std::tolower(static_cast<unsigned char>(word[i])) != std::tolower(static_cast<unsigned char>(keyword[i])))
      return false;
  }
  return true;
}

// The next token as a word; empty at the end of the data.
// Mode 3 peeks: the cursor stays before the word.
std::string Word(CTextTokenizer& t, int mode = kSkipNone) {
  t.SkipLine(1);
  char word[CTextTokenizer::kWordSize] = {};
  t.ReadWord(word, mode);
  return word;
}

int Int(CTextTokenizer& t) {
  t.SkipLine(1);
  int32_t value = 0;
  t.ReadInt(&value, kSkipToken);
  return value;
}

float Float(CTextTokenizer& t) {
  t.SkipLine(1);
  float value = 0;
  t.ReadFloat(&value, kSkipToken);
  return value;
}

VECTOR3 Vector(CTextTokenizer& t) {
  VECTOR3 v;
  v.x = Float(t);
  v.y = Float(t);
  v.z = Float(t);
  return v;
}

// A count read from the file, limited to 0..limit.
int Count(CTextTokenizer& t, int limit = kMaxCount) { return std::clamp(Int(t), 0, limit); }

std::string Name(const std::string& word, size_t limit) {
  if (word.size() <= limit) return word;
  DebugTrace("Scene name %s cut to %zu characters\n", word.c_str(), limit);
  return word.substr(0, limit);
}

// The first run of digits in the word as a number (0 when none).
int NumberIn(const std::string& word) {
  const size_t at = word.find_first_of("0123456789");
  return at == std::string::npos ? 0 : std::atoi(word.c_str() + at);
}

// Points as a portal or trigger takes them: at most 8 read; corners from
// points 0 to 3, the height range from the z of points 0 and 4.
SCENEZONE ReadZone(CTextTokenizer& t, int count) {
  SCENEZONE zone;
  const int kept = std::min(count, kMaxZonePoints);
  for (int i = 0; i < kept; ++i) {
    const VECTOR3 p = Vector(t);
    if (i < 4) zone.corners[static_cast<size_t>(i)] = {p.x, p.y};
    if (i == 0) zone.zMin = p.z;
    if (i == 4) zone.zMax = p.z;
  }
  return zone;
}

void PutInt(std::array<uint8_t, 16>& data, size_t at, int32_t value) {
  for (int b = 0; b < 4; ++b) data[at + static_cast<size_t>(b)] = static_cast<uint8_t>(value >> (8 * b));
}

template <typename Key, typename ReadValue>
void ReadKeys(CTextTokenizer& t, SCENEKEYTRACK& track, std::vector<Key>& keys, ReadValue readValue) {
  track.firstFrame = Int(t);
  track.lastFrame = Int(t);
  track.keyCount = Count(t);
  keys.resize(static_cast<size_t>(track.keyCount));
  for (Key& key : keys) {
    key.frame = Int(t);
    key.value = readValue(t);
  }
}

QUATERNION ReadRotation(CTextTokenizer& t) {
  const float angle = Float(t);
  const VECTOR3 axis = Vector(t);
  float q[4];
  AxisAngleToQuaternion(angle, axis.x, axis.y, axis.z, q);
  return {q[3], q[0], q[1], q[2]};  // the helper writes x, y, z, w
}

// Skips to the closing word (or the end of the data).
void SkipTo(CTextTokenizer& t, const char* end) {
  for (std::string w = Word(t); !w.empty() && !Is(w, end); w = Word(t)) t.SkipWord();
}

}  // namespace

void CSceneData::ReadText(const std::string& path) {
  CTextTokenizer t;
  if (t.Open(path.c_str()) < 0) {
    DebugTrace("File %s Opend Error.\n", path.c_str());
    return;
  }
  std::vector<int> fileToObject;  // per object of the file: its table index, -1 when dropped
  for (std::string w = Word(t); !w.empty(); w = Word(t)) {
    if (Is(w, "BeginVersion")) {
      // Versions are small numbers; any other must still make an int.
      const float v = Float(t);
      textVersion_ = std::isfinite(v) ? std::clamp(v, 0.0f, 127.0f) : 0.0f;
      version = static_cast<int>(textVersion_ * 256 + 0.5f);
      if (textVersion_ < 0.999f) DebugTrace("Old Scenefile version: %f\n", textVersion_);
    } else if (Is(w, "BeginPoint")) {
      const int count = Count(t);
      for (int i = 0; i < count; ++i) {
        SCENEPOINTDESC p;
        const std::string label = Word(t);
        p.id = label.size() > 5 ? std::atoi(label.c_str() + 5) : 0;
        p.position = Vector(t);
        p.direction = Vector(t);
        points.push_back(p);
      }
    } else if (Is(w, "BeginPortal")) {
      PORTALDESC p;
      p.destination = Name(Word(t), kMaxName);
      p.destinationPoint = static_cast<int16_t>(Int(t));
      p.zone = ReadZone(t, Count(t));
      portals.push_back(std::move(p));
    } else if (Is(w, "BeginTrigger")) {
      TRIGGERDESC trigger;
      trigger.name = Name(Word(t), kMaxName);
      trigger.zone = ReadZone(t, Count(t));
      ParseTriggerProperties(t, trigger);
      triggers.push_back(std::move(trigger));
    } else if (Is(w, "BeginAnimateExtend")) {
      SCENEEXTANIMDESC record;
      record.name = Name(Word(t), kMaxName);
      Int(t);  // the count is not used: eight points follow
      record.zone = ReadZone(t, kMaxZonePoints);
      ParseExtendProperties(t, record);
      extAnims.push_back(std::move(record));
    } else if (Is(w, "BeginPeople")) {
      Word(t);
      startPosition = Vector(t);
    } else if (Is(w, "BeginDummy")) {
      SCENEPERSONDESC person;
      const std::string word = Word(t);
      person.name = Name(word.size() > 1 ? word.substr(1) : std::string(), kMaxPersonName);
      person.position = Vector(t);
      person.direction = Vector(t);
      ParseAnimate(t, nullptr, &person);
      people.push_back(std::move(person));
    } else if (Is(w, "BeginCamera")) {
      SCENECAMERADESC camera;
      camera.name = Name(Word(t), kMaxName);
      camera.position = Vector(t);
      camera.target = Vector(t);
      camera.fieldOfView = Float(t);
      Float(t);
      Float(t);
      camera.nearPlane = 10;
      camera.farPlane = 12500;
      for (std::string k = Word(t); !k.empty() && !Is(k, "EndCamera"); k = Word(t)) {
        t.SkipWord();
        if (Is(k, "KeyPos")) {
          ReadKeys(t, camera.positionTrack, camera.positionKeys, Vector);
        } else if (Is(k, "KeyFov")) {
          ReadKeys(t, camera.fovTrack, camera.fovKeys, Float);
        } else if (Is(k, "KeyRoll")) {
          ReadKeys(t, camera.rollTrack, camera.rollKeys, Float);
          if (!camera.rollKeys.empty()) camera.roll = camera.rollKeys[0].value;
        } else if (Is(k, "KeyTarget")) {
          ReadKeys(t, camera.targetTrack, camera.targetKeys, Vector);
        }
      }
      camera.positionKeyCount = camera.positionTrack.keyCount;
      if (static_cast<int>(cameras.size()) < kMaxCameras) {
        cameras.push_back(std::move(camera));
      } else {
        DebugTrace("Camera %s: more than %d cameras, dropped\n", camera.name.c_str(), kMaxCameras);
      }
    } else if (Is(w, "BeginLight")) {
      SCENELIGHTDESC light;
      light.name = Name(Word(t), kMaxName);
      light.type = Int(t);
      light.position = Vector(t);
      light.direction = Vector(t);
      for (float& c : light.color) c = Float(t);
      light.intensity = Float(t);
      light.range = Float(t);
      light.innerCone = Float(t);
      light.outerCone = Float(t);
      if (static_cast<int>(lights.size()) < kMaxLights) {
        lights.push_back(std::move(light));
      } else {
        DebugTrace("Light %s: more than %d lights, dropped\n", light.name.c_str(), kMaxLights);
      }
    } else if (Is(w, "BeginMorphdata")) {
      SCENEMORPHDESC m;
      m.value0 = Int(t);
      m.frameCount = Count(t);
      m.vertexCount = Count(t);
      m.holdTicks = Int(t);
      if (textVersion_ >= 2.099f) m.uvFlag = Int(t);
      const int perVertex = m.uvFlag ? 5 : 3;
      const int64_t floats = int64_t{m.frameCount} * m.vertexCount * perVertex;
      if (floats > kMaxMorphFloats) {
        DebugTrace("Morph entry %zu: %lld values, dropped\n", morphs.size(), static_cast<long long>(floats));
        continue;
      }
      m.frames.assign(static_cast<size_t>(floats), 0.0f);
      const size_t frameFloats = static_cast<size_t>(m.vertexCount) * perVertex;
      for (int f = 1; f < m.frameCount; ++f) {
        Word(t);
        t.SkipWord();
        for (size_t i = 0; i < frameFloats; ++i) m.frames[f * frameFloats + i] = Float(t);
      }
      morphs.push_back(std::move(m));
    } else if (Is(w, "BeginObject")) {
      ReadTextObject(t, fileToObject);
    } else {
      t.SkipLine(0);
    }
  }
}

void CSceneData::ReadTextObject(CTextTokenizer& t, std::vector<int>& fileToObject) {
  const std::string name = Word(t);
  t.SkipWord();
  if (!name.empty() && name[0] == '@') {
    ReadTextDummy(t, name);
    fileToObject.push_back(-1);
    return;
  }
  if (static_cast<int>(objects.size()) >= kMaxObjects) {
    DebugTrace("Scene object %s: more than %d objects, dropped\n", name.c_str(), kMaxObjects);
    SkipTo(t, "EndObject");
    fileToObject.push_back(-1);
    return;
  }
  auto object = std::make_unique<SCENEOBJECTDESC>();
  object->name = Name(name, kMaxName);
  object->kind = Is(name, "terrain") ? SOBJ_TERRAIN : Is(name, "M_") ? SOBJ_MORPH : SOBJ_STATIC;
  if (Is(name, "sky")) object->flags |= SCENEOBJECTDESC::kSky;
  if (Is(name, "mountain")) object->flags |= SCENEOBJECTDESC::kMountain;

  const std::string next = Word(t, 3);
  if (Is(next, "Clone")) {
    Word(t);
    t.SkipWord();
    const int fileSource = Int(t);
    MATRIX34 m{};
    for (VECTOR3& row : m.row) row = Vector(t);
    object->flags |= SCENEOBJECTDESC::kClone;
    // Sources are earlier objects in the file's numbering, which counts the
    // dropped dummies: a dummy is no source.
    const int source = fileSource >= 0 && fileSource < static_cast<int>(fileToObject.size())
                           ? fileToObject[static_cast<size_t>(fileSource)]
                           : -1;
    object->meshFlags = static_cast<int16_t>(source);
    if (source >= 0 && objects[static_cast<size_t>(source)]->node) {
      const HOBJECT from = objects[static_cast<size_t>(source)]->node;
      object->node = name[0] == '_' ? CloneNodeDeep(from) : CloneNode(from);
      MATRIX34 local;
      GetNodeMatrix(from, &local, 1);
      MATRIX34 product;
      MultiplyMatrix34(&product, &m, &local);
      SetNodeMatrix(object->node, &product, 0);
    } else {
      DebugTrace("Scene object %s: no source object %d to clone\n", object->name.c_str(), fileSource);
    }
  } else {
    ReadTextMesh(t, *object);
  }
  ParseAnimate(t, object.get(), nullptr);
  fileToObject.push_back(static_cast<int>(objects.size()));
  objects.push_back(std::move(object));
}

void CSceneData::ReadTextDummy(CTextTokenizer& t, const std::string& name) {
  const std::string kind = name.substr(1);
  if (Is(kind, "ShadowArea")) {
    SCENEOBJECTDESC shadow;
    shadow.name = Name(name, kMaxName);
    shadow.kind = SOBJ_SHADOW_AREA;
    ReadTextMesh(t, shadow);
    if (shadow.node) {
      POLYGONSETDESC set;
      BuildOutlinePolygons(shadow.node, &set);
      for (const POLYGONDESC& polygon : set.polygons) shadows.push_back({polygon.points});
      DestroyNode(shadow.node);
    }
    for (const SCENEPARTDESC& part : shadow.parts) {
      if (part.material && part.material != kNoMaterial) DestroyMaterial(part.material);
    }
  } else if (Is(kind, "Scale") && !Is(kind, "ScaleBack")) {
    const int n = Is(Word(t), "Vertices") ? Count(t) : 0;
    VECTOR3 first{0, 0, 0};
    float minX = 0, maxX = 0, maxY = 0;
    for (int i = 0; i < n; ++i) {
      const VECTOR3 p = Vector(t);
      if (i == 0) {
        first = p;
        minX = maxX = p.x;
        maxY = p.y;
      }
      minX = std::min(minX, p.x);
      maxX = std::max(maxX, p.x);
      maxY = std::max(maxY, p.y);
    }
    // Four floats fill the 16 bytes: the first point's x, the smallest x,
    // the largest y and the x span.
    const float values[4] = {first.x, minX, maxY, maxX - minX};
    std::memcpy(startExtra.data(), values, sizeof values);
  }
  SkipTo(t, "EndObject");
}

void CSceneData::ReadTextMesh(CTextTokenizer& t, SCENEOBJECTDESC& object) {
  constexpr int kMaxParts = 256;
  const int partCount = Count(t, kMaxParts);
  Word(t);
  const int materialFlag = Int(t);
  for (int p = 0; p < partCount; ++p) {
    SCENEPARTDESC part;
    part.texture = Word(t);
    part.options[0] = static_cast<uint8_t>(Int(t));
    part.options[1] = static_cast<uint8_t>(Int(t));
    part.options[2] = static_cast<uint8_t>(Int(t));
    if (textVersion_ >= 1.299f) {
      part.frameCount = static_cast<uint8_t>(Int(t));
      part.ticksPerFrame = static_cast<uint8_t>(Int(t));
    }
    part.materialFlag = static_cast<uint8_t>(materialFlag);
    if (materialFlag) {
      part.power = Float(t);
      part.value28 = Float(t);
      part.alpha = Float(t);
      part.blendMode = Int(t);
      part.value40 = Float(t);
      part.faceFlags = static_cast<int16_t>(Int(t));
    }
    for (float& c : part.ambient) c = Float(t);
    for (float& c : part.diffuse) c = Float(t);
    for (float& c : part.specular) c = Float(t);
    object.parts.push_back(std::move(part));
  }
  const int vertexCount = Count(t);
  bool uvs = false;
  bool colors = false;
  MATRIX34 matrix{};
  bool hasMatrix = false;
  if (textVersion_ >= 0.999f) {
    const std::string layout = Word(t);
    uvs = !layout.empty() && (layout[0] == 'T' || layout[0] == 't');
    colors = Int(t) != 0;
    // The two speeds stand whether or not the object scrolls.
    const int scrolls = Int(t);
    const float scrollU = Float(t);
    const float scrollV = Float(t);
    if (scrolls) {
      object.flags |= SCENEOBJECTDESC::kScroll;
      object.scrollU = scrollU;
      object.scrollV = scrollV;
    }
    if (Int(t)) {
      object.kind = SOBJ_SPINNING;
      object.spin = Float(t);
    }
    if (Is(Word(t, 3), "Matrix")) {
      Word(t);
      for (VECTOR3& row : matrix.row) row = Vector(t);
      hasMatrix = true;
      object.meshFlags |= SCENEOBJECTDESC::kMeshMatrix;
    }
  }
  if (uvs) object.meshFlags |= SCENEOBJECTDESC::kMeshUv;
  if (colors) object.meshFlags |= SCENEOBJECTDESC::kMeshColors;
  std::vector<MESHVERTEX> vertices(static_cast<size_t>(vertexCount));
  for (MESHVERTEX& v : vertices) {
    v.x = Float(t);
    v.y = Float(t);
    v.z = Float(t);
    if (uvs) {
      v.u = Float(t);
      v.v = Float(t);
    }
    if (colors) {
      v.nx = Float(t) / 255.0f;
      v.ny = Float(t) / 255.0f;
      v.nz = Float(t) / 255.0f;
    }
  }
  std::vector<SCENETRIANGLE> triangles(static_cast<size_t>(Count(t)));
  for (SCENETRIANGLE& tri : triangles) {
    tri.part = std::max(Int(t), 0);
    tri.a = Int(t);
    tri.b = Int(t);
    tri.c = Int(t);
  }
  if (!object.parts.empty() && object.parts[0].frameCount != 0) {
    CreateBillboardFromQuad(vertices, object);
    return;
  }
  CreatePartMaterials(object);
  CreateMeshNode(object, vertices, triangles, hasMatrix ? &matrix : nullptr);
}

void CSceneData::CreateBillboardFromQuad(const std::vector<MESHVERTEX>& vertices, SCENEOBJECTDESC& object) {
  if (vertices.size() < 4) {
    DebugTrace("Scene object %s: a billboard needs four vertices\n", object.name.c_str());
    return;
  }
  auto distance = [](const MESHVERTEX& a, const MESHVERTEX& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
  };
  SCENEPARTDESC& part = object.parts[0];
  part.ambient[0] = distance(vertices[0], vertices[1]);
  part.ambient[1] = distance(vertices[1], vertices[2]);
  for (int axis = 0; axis < 3; ++axis) {
    float sum = 0;
    for (int i = 0; i < 4; ++i) sum += (&vertices[static_cast<size_t>(i)].x)[axis];
    part.diffuse[axis] = sum / 4;
  }
  object.kind = SOBJ_BILLBOARD;
  const bool keyed = !part.texture.empty() && (part.texture[0] == 'K' || part.texture[0] == 'k');
  object.node = CreateBillboardNode(0, part.texture.c_str(), part.frameCount, part.ambient[0], part.ambient[1], keyed,
                                    part.options[0], part.options[1], part.options[2]);
  SetNodePosition(object.node, part.diffuse[0], part.diffuse[1], part.diffuse[2], 0);
}

void CSceneData::ParseAnimate(CTextTokenizer& t, SCENEOBJECTDESC* object, SCENEPERSONDESC* person) {
  const char* end = object ? "EndObject" : "EndDummy";
  const std::string owner = object ? object->name : person->name;
  auto record = [&]() -> SCENEANIMDESC& {
    std::unique_ptr<SCENEANIMDESC>& r = object ? object->animation : person->routine;
    if (!r) r = std::make_unique<SCENEANIMDESC>();
    return *r;
  };
  for (std::string w = Word(t); !w.empty() && !Is(w, end); w = Word(t)) {
    if (Is(w, "Animate")) {
      if (object && owner[0] != '_') {
        SkipTo(t, "EndAnimate");
        continue;
      }
      SCENEANIMDESC& a = record();
      for (std::string k = Word(t); !k.empty() && !Is(k, "EndAnimate"); k = Word(t)) {
        if (Is(k, "KeyPos")) {
          ReadKeys(t, a.position, a.positionKeys, Vector);
        } else if (Is(k, "KeyScale")) {
          ReadKeys(t, a.scale, a.scaleKeys, Vector);
        } else if (Is(k, "KeyRotate")) {
          ReadKeys(t, a.rotation, a.rotationKeys, ReadRotation);
        } else if (Is(k, "KeyVisibility")) {
          ReadKeys(t, a.visibility, a.visibilityKeys, Float);
        }
      }
      for (const SCENEKEYTRACK* track : {&a.position, &a.rotation, &a.scale, &a.visibility}) {
        if (track->keyCount == 0) continue;
        a.firstKey = static_cast<int16_t>(std::min<int>(a.firstKey, track->firstFrame));
        a.lastKey = static_cast<int16_t>(std::max<int>(a.lastKey, track->lastFrame));
      }
      if (object) object->kind = SOBJ_KEYFRAMED;
    } else if (Is(w, "Properties")) {
      const int count = Count(t);
      for (int i = 0; i < count; ++i) {
        const std::string key = Word(t);
        if (person && Is(key, "Npc")) {
          person->npcProperty = 0;
        } else if (person && Is(key, "Hide")) {
          person->flags |= SCENEPERSONDESC::kHide;
        } else if (person && Is(key, "FollowKey")) {
          person->flags |= SCENEPERSONDESC::kFollowKey;
        } else {
          SCENEANIMDESC& a = record();
          if ((a.mode & 0x0F) == 0 && i == 0) a.mode = static_cast<uint8_t>((a.mode & 0xF0) | kStartWaitTrigger);
          if (Is(key, "Once") || Is(key, "Bounce")) {
            a.repeat = Is(key, "Bounce") ? 1 : 0;
            a.playsLeft = static_cast<int16_t>(Int(t));
          } else if (Is(key, "Random")) {
            a.mode = static_cast<uint8_t>((a.mode & 0xF0) | 2);
            a.delay = static_cast<int16_t>(Int(t));
          } else if (Is(key, "Now")) {
            a.mode = static_cast<uint8_t>((a.mode & 0xF0) | 1);
          } else if (Is(key, "Past")) {
            a.mode = static_cast<uint8_t>(a.mode & 0xF0);
          } else if (Is(key, "Sound")) {
            a.mode = static_cast<uint8_t>((a.mode & 0x1F) | ((Int(t) & 7) << 5));
          } else if (Is(key, "key")) {
            a.keyNumber = static_cast<uint8_t>(Int(t));
          } else if (Is(key, "portal") || Is(key, "trigger")) {
            const int n = Int(t) & 0x1F;
            a.links = static_cast<uint8_t>((a.links & 0x03) | (n << 3) | (Is(key, "trigger") ? 4 : 0));
          } else if (Is(key, "Item")) {
            SCENEITEMDESC item;
            item.itemId = static_cast<int16_t>(Int(t));
            item.a = static_cast<uint8_t>(Int(t));
            item.b = static_cast<uint8_t>(Int(t));
            if (static_cast<int>(a.items.size()) < kMaxItems) a.items.push_back(item);
            a.links = static_cast<uint8_t>((a.links & ~0x03) | a.items.size());
          } else {
            t.SkipLine(0);
          }
        }
      }
    } else {
      t.SkipLine(0);
    }
  }
}

void CSceneData::ParseTriggerProperties(CTextTokenizer& t, TRIGGERDESC& trigger) {
  if (!Is(Word(t, 3), "Properties")) return;
  Word(t);
  const int count = Count(t);
  for (int i = 0; i < count; ++i) {
    const std::string key = Word(t);
    struct Kind {
      const char* word;
      int16_t type;
    };
    static constexpr Kind kValued[] = {{"Switch", TRIGGER_SWITCH},
                                       {"Block", TRIGGER_BLOCK},
                                       {"Auto", TRIGGER_AUTO},
                                       {"Game", TRIGGER_GAME},
                                       {"Talk", TRIGGER_TALK}};
    const Kind* valued = nullptr;
    for (const Kind& k : kValued) {
      if (!valued && Is(key, k.word)) valued = &k;
    }
    if (valued) {
      trigger.type = valued->type;
      PutInt(trigger.typeData, 0, Int(t));
    } else if (Is(key, "Drop") || Is(key, "Jump")) {
      trigger.type = Is(key, "Drop") ? TRIGGER_DROP : TRIGGER_JUMP;
      PutInt(trigger.typeData, 0, NumberIn(Word(t)));
    } else if (Is(key, "Level")) {
      const int level = Int(t);
      if (trigger.type != TRIGGER_SOUND) PutInt(trigger.typeData, 4, level);
    } else if (Is(key, "Sound")) {
      trigger.type = TRIGGER_SOUND;
      const std::string wave = Word(t);
      trigger.typeData.fill(0);
      std::memcpy(trigger.typeData.data(), wave.data(), std::min(wave.size(), trigger.typeData.size() - 1));
    } else if (Is(key, "Object")) {
      const std::string target = Word(t);
      if (static_cast<int>(trigger.targetNames.size()) < TRIGGERDESC::kMaxTargets)
        trigger.targetNames.push_back(target);
    } else {
      t.SkipLine(0);
    }
  }
}

void CSceneData::ParseExtendProperties(CTextTokenizer& t, SCENEEXTANIMDESC& record) {
  if (!Is(Word(t, 3), "Properties")) return;
  Word(t);
  const int count = Count(t);
  for (int i = 0; i < count; ++i) {
    const std::string key = Word(t);
    if (Is(key, "LEAF_FALL")) {
      record.kind = EXTANIM_LEAF_FALL;
    } else if (Is(key, "GRASS_SWING")) {
      record.kind = EXTANIM_GRASS_SWING;
    } else if (Is(key, "Count") || Is(key, "Density")) {
      record.count = Int(t);
    } else if (Is(key, "Object")) {
      record.objectName = Name(Word(t), kMaxName);
    } else {
      t.SkipLine(0);
    }
  }
}
