#include "world/scene_data.h"

#include <algorithm>

#include "base/debug_trace.h"
#include "base/game_globals.h"
#include "database/scene_record_reader.h"
#include "engine/core/nodes.h"
#include "engine/media/data_directories.h"
#include "engine/media/packages.h"
#include "platform/files.h"

namespace {

constexpr size_t kHeaderSize = 20;
constexpr size_t kDirectoryEntrySize = 16;
constexpr size_t kShadowHeaderSize = 8;
constexpr size_t kMaxSceneFileBytes = 64u * 1024u * 1024u;
// Below this much texture memory the scene loads its textures at lower detail.
constexpr int kLowTextureMemory = 8000000;

enum SceneSection : int {
  SEC_POINTS = 0,
  SEC_PORTALS = 1,
  SEC_TRIGGERS = 2,
  SEC_START = 3,
  SEC_PEOPLE = 4,
  SEC_OBJECTS = 5,
  SEC_CAMERAS = 6,
  SEC_LIGHTS = 7,
  SEC_MORPH = 8,
  SEC_EXTANIM = 9,
  SEC_SHADOWS = 10,
};

// Reads records until count are read or one does not fit.
template <typename Record, typename Read>
void ReadRecords(plat::ByteReader& r, int count, std::vector<Record>& out, Read read) {
  for (int i = 0; i < count; ++i) {
    Record record;
    if (!read(r, record)) return;
    out.push_back(std::move(record));
  }
}

// "scenes\" -> "" ; ".\m\scenes\" -> ".\m\": the directory without its last component.
std::string ParentDirectory(const std::string& directory) {
  if (directory.size() < 2) return {};
  size_t slash = directory.find_last_of('\\', directory.size() - 2);
  return slash == std::string::npos ? std::string() : directory.substr(0, slash + 1);
}

}  // namespace

CSceneData::CSceneData(const char* dir, const char* fileName) {
  if (g_textureMemory != 0 && g_textureMemory <= kLowTextureMemory) {
    detailFlag = 1;
    mipOption = 2;
  }
  std::string file = fileName ? fileName : "";
  texturePackage = file.substr(0, std::min(file.find('.'), size_t{3}));
  directory = ".\\";
  if (dir && *dir) {
    directory += dir;
    if (directory.back() != '\\') directory += '\\';
  }
  textureDirectory = ParentDirectory(directory);
  OpenTexturePackage((texturePackage + ".Qxo").c_str());
  name = file.substr(0, 11);
  const std::string path = directory + file;
  if (!file.empty() && (file.back() == 's' || file.back() == 'S')) {
    ReadText(path);
  } else {
    ReadBinary(path);
  }
  SetTextureDirectory((textureDirectory + "texture").c_str());
  OpenTexturePackage(nullptr);
}

CSceneData::~CSceneData() {
  for (const auto& object : objects) {
    if (object->node) DestroyNode(object->node);
  }
}

bool CSceneData::FindPoint(int id, VECTOR3* position, VECTOR3* direction) const {
  for (const SCENEPOINTDESC& p : points) {
    if (p.id != id) continue;
    if (position) *position = p.position;
    if (direction) *direction = p.direction;
    return true;
  }
  return false;
}

void CSceneData::ReadBinary(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!plat::ReadWholeFile(path, bytes, kMaxSceneFileBytes)) {
    DebugTrace("File %s Opend Error.\n", path.c_str());
    return;
  }
  plat::ByteReader head(bytes);
  head.Skip(16);
  version = head.I16();
  const int sectionCount = std::max<int>(0, head.I16());
  if (sectionCount > kMaxSections) DebugTrace("%s: %d sections, the rest dropped\n", path.c_str(), sectionCount);
  const int sections = std::min(sectionCount, kMaxSections);
  uint64_t at = kHeaderSize + uint64_t{static_cast<uint32_t>(sectionCount)} * kDirectoryEntrySize;
  for (int i = 0; i < sections; ++i) {
    head.Seek(kHeaderSize + static_cast<size_t>(i) * kDirectoryEntrySize);
    head.Skip(2);
    const int count = std::max<int>(0, head.I16());
    head.Skip(4);
    const int tableSize = head.I32();
    uint64_t size = head.U32();
    if (i == SEC_SHADOWS) size += uint64_t{static_cast<uint32_t>(count)} * kShadowHeaderSize;
    const uint64_t start = std::min<uint64_t>(at, bytes.size());
    const uint64_t length = std::min<uint64_t>(size, bytes.size() - start);
    if (length < size) DebugTrace("%s: section %d is cut by the file's end\n", path.c_str(), i);
    plat::ByteReader body(bytes.data() + start, static_cast<size_t>(length));
    ReadSection(i, body, count, tableSize);
    at += size;
  }
}

void CSceneData::ReadSection(int section, plat::ByteReader& r, int count, int tableSize) {
  using namespace scenefile;
  switch (section) {
    case SEC_POINTS: ReadRecords(r, count, points, ReadPoint); break;
    case SEC_PORTALS: ReadRecords(r, count, portals, ReadPortal); break;
    case SEC_TRIGGERS: {
      std::vector<int> targetCounts;
      ReadRecords(r, count, triggers, [&](plat::ByteReader& rr, TRIGGERDESC& t) {
        int n = 0;
        if (!ReadTrigger(rr, t, n)) return false;
        targetCounts.push_back(n);
        return true;
      });
      for (size_t t = 0; t < triggers.size(); ++t) {
        if (targetCounts[t] > TRIGGERDESC::kMaxTargets)
          DebugTrace("Trigger %s: %d target names, 4 kept\n", triggers[t].name.c_str(), targetCounts[t]);
        for (int k = 0; k < targetCounts[t] && r.CanRead(kTargetNameSize); ++k) {
          std::string target = r.FixedString(kTargetNameSize);
          if (k < TRIGGERDESC::kMaxTargets) triggers[t].targetNames.push_back(target);
        }
      }
      break;
    }
    case SEC_START:
      startPosition = ReadVector(r);
      r.Bytes(startExtra.data(), std::min(r.Remaining(), startExtra.size()));
      break;
    case SEC_PEOPLE: {
      std::vector<bool> routines;
      ReadRecords(r, count, people, [&](plat::ByteReader& rr, SCENEPERSONDESC& p) {
        bool routine = false;
        if (!ReadPerson(rr, p, routine)) return false;
        routines.push_back(routine);
        return true;
      });
      for (size_t p = 0; p < people.size(); ++p) {
        if (!routines[p] || !r.CanRead(kAnimationSize)) continue;
        people[p].routine = std::make_unique<SCENEANIMDESC>();
        ReadAnimation(r, *people[p].routine);
      }
      break;
    }
    case SEC_OBJECTS: ReadObjects(r, count); break;
    case SEC_CAMERAS:
      if (count > kMaxCameras) DebugTrace("%d cameras, the rest dropped\n", count);
      ReadRecords(r, std::min(count, kMaxCameras), cameras, ReadCamera);
      break;
    case SEC_LIGHTS:
      if (count > kMaxLights) DebugTrace("%d lights, the rest dropped\n", count);
      ReadRecords(r, std::min(count, kMaxLights), lights, ReadLight);
      break;
    case SEC_MORPH: ReadMorphs(r, count, tableSize); break;
    case SEC_EXTANIM: ReadRecords(r, count, extAnims, ReadExtAnim); break;
    case SEC_SHADOWS: ReadShadows(r, count); break;
    default: break;
  }
}

void CSceneData::ReadMorphs(plat::ByteReader& r, int count, int tableSize) {
  const bool wide = version >= 513;
  const size_t entrySize = wide ? scenefile::kMorphSize : scenefile::kOldMorphSize;
  const size_t table = std::min(static_cast<size_t>(std::max(tableSize, 0)), r.Remaining());
  const int entries = std::min(count, static_cast<int>(table / entrySize));
  std::vector<SCENEMORPHDESC> read(static_cast<size_t>(entries));
  for (SCENEMORPHDESC& m : read) {
    m.value0 = r.I32();
    m.frameCount = r.I32();
    m.vertexCount = r.I32();
    m.holdTicks = r.I32();
    m.uvFlag = wide ? r.I32() : 0;
    r.Skip(4);
  }
  r.Seek(table);
  for (SCENEMORPHDESC& m : read) {
    const uint64_t floats = uint64_t{static_cast<uint32_t>(std::max(m.frameCount, 0))} *
                            uint64_t{static_cast<uint32_t>(std::max(m.vertexCount, 0))} * (m.uvFlag ? 5 : 3);
    if (floats * 4 > r.Remaining()) {
      DebugTrace("Morph entry %zu: frames beyond the section, the rest dropped\n", morphs.size());
      return;
    }
    m.frames.resize(static_cast<size_t>(floats));
    for (float& f : m.frames) f = r.F32();
    morphs.push_back(std::move(m));
  }
}

void CSceneData::ReadShadows(plat::ByteReader& r, int count) {
  if (!r.CanRead(static_cast<size_t>(count) * kShadowHeaderSize)) return;
  std::vector<int32_t> pointCounts(static_cast<size_t>(count));
  for (int32_t& n : pointCounts) {
    n = r.I32();
    r.Skip(4);
  }
  for (int32_t n : pointCounts) {
    SCENESHADOWDESC polygon;
    const size_t fit = std::min(static_cast<size_t>(std::max(n, 0)), r.Remaining() / 12);
    polygon.points.resize(fit);
    for (VECTOR3& p : polygon.points) p = scenefile::ReadVector(r);
    shadows.push_back(std::move(polygon));
  }
}
