#pragma once
// One loaded scene file: points, portals, triggers, the start position,
// people, objects (already engine nodes), cameras, lights, morph data,
// extended-animation records and shadow polygons. A name ending in "s" or "S"
// is the text form; any other the binary form.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "database/scene_records.h"

namespace plat {
class ByteReader;
}
class CTextTokenizer;
struct MESHVERTEX;

class CSceneData {
 public:
  static constexpr int kMaxObjects = 600;
  static constexpr int kMaxCameras = 24;
  static constexpr int kMaxLights = 10;
  static constexpr int kMaxSections = 11;
  static constexpr size_t kMaxObjectBytes = 160000;

  // Reads "<directory>\<fileName>" (directory null or empty: ".\"). Usable
  // when the file is missing: the tables are then empty.
  CSceneData(const char* directory, const char* fileName);
  ~CSceneData();
  CSceneData(const CSceneData&) = delete;
  CSceneData& operator=(const CSceneData&) = delete;

  // The first point with the id; false when there is none.
  bool FindPoint(int id, VECTOR3* position, VECTOR3* direction) const;

  int detailFlag = 0;
  int mipOption = 3;
  std::string directory;         // ends in "\"
  std::string name;              // the file name, at most 11 characters
  std::string texturePackage;    // the first 3 characters of the name
  std::string textureDirectory;  // the directory's parent, ends in "\" or is empty
  int version = 0;

  std::vector<SCENEPOINTDESC> points;
  std::vector<PORTALDESC> portals;
  std::vector<TRIGGERDESC> triggers;
  VECTOR3 startPosition{0, 0, 0};
  std::array<uint8_t, 16> startExtra{};
  std::vector<SCENEPERSONDESC> people;
  std::vector<std::unique_ptr<SCENEOBJECTDESC>> objects;
  std::vector<SCENEMORPHDESC> morphs;
  std::vector<SCENECAMERADESC> cameras;
  std::vector<SCENELIGHTDESC> lights;
  std::vector<SCENEEXTANIMDESC> extAnims;
  std::vector<SCENESHADOWDESC> shadows;

 private:
  void ReadBinary(const std::string& path);
  // The text form.
  void ReadText(const std::string& path);
  void ReadSection(int section, plat::ByteReader& r, int count, int tableSize);
  void ReadObjects(plat::ByteReader& r, int count);
  void ReadObject(plat::ByteReader& r, SCENEOBJECTDESC& object, int partCount, bool hasAnimation, int index);
  void CreatePartMaterials(SCENEOBJECTDESC& object);
  void BuildMesh(plat::ByteReader& r, SCENEOBJECTDESC& object);
  // The object's mesh node from its vertices and triangles (shared by both forms).
  void CreateMeshNode(SCENEOBJECTDESC& object, const std::vector<MESHVERTEX>& vertices,
                      const std::vector<SCENETRIANGLE>& triangles, const MATRIX34* matrix);
  // The text form's blocks (scene_data_text.cpp).
  void ParseAnimate(CTextTokenizer& t, SCENEOBJECTDESC* object, SCENEPERSONDESC* person);
  void ParseTriggerProperties(CTextTokenizer& t, TRIGGERDESC& trigger);
  void ParseExtendProperties(CTextTokenizer& t, SCENEEXTANIMDESC& record);
  void CreateBillboardFromQuad(const std::vector<MESHVERTEX>& vertices, SCENEOBJECTDESC& object);
  void ReadTextObject(CTextTokenizer& t, std::vector<int>& fileToObject);
  void ReadTextDummy(CTextTokenizer& t, const std::string& name);
  void ReadTextMesh(CTextTokenizer& t, SCENEOBJECTDESC& object);
  float textVersion_ = 0;
  void ReadMorphs(plat::ByteReader& r, int count, int tableSize);
  void ReadShadows(plat::ByteReader& r, int count);
};
