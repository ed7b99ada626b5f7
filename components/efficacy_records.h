#pragma once
#include <string>
#include <vector>

#include "engine/core/math3d.h"

// The records of an effect file (".efc"), as read and as written by the
// data tools. Everything is in effect coordinates (Y-up, radians). Names are
// Big5 bytes of fixed-size, zero-terminated fields (sizes below).
namespace efc {

constexpr int kHeaderBytes = 50;
constexpr int kNameField = 20;
constexpr int kModelNameField = 20;
constexpr int kWaveNameField = 40;
constexpr int kTractionTextureField = 32;
constexpr int kSectionalBlockBytes = 140;
constexpr int kParticleBlockBytes = 140;
constexpr int kTractionBlockBytes = 60;
constexpr int kUnusedTractionBytes = 140;

enum PlacementKind : int { kAttach = 1, kAim = 2, kAttachPair = 3 };

// Kind 2: the element is aimed along a part of its target.
struct EFCAIMDESC {
  std::string directionPart;
  std::string positionPart;
  int flattenX = 0;
  int flattenY = 0;
  int useUp = 0;
  int keepX = 0;
  int keepY = 0;
  int keepZ = 0;
};

struct EFCELEMENTDESC {
  std::string name;
  int placement = 0;
  VECTOR3 angles{0, 0, 0};
  VECTOR3 position{0, 0, 0};
  std::string part;        // kind 1, and the first part of kind 3
  std::string secondPart;  // kind 3
  EFCAIMDESC aim;          // kind 2
  int reserved = 0;
  VECTOR3 scale{1, 1, 1};
  std::string target;
};

// The three ints every key starts with.
struct EFCKEYDESC {
  int frame = 0;
  int attached = 0;
  int hidden = 0;
};

struct EFCRIBBONKEYDESC : EFCKEYDESC {
  int blend = 0;
  float speed = 0;
  VECTOR3 spin{0, 0, 0};
  VECTOR3 scale{0, 0, 0};
  float scrollU = 0;
  float scrollV = 0;
  int setColours = 0;
  int changeColours = 0;
  VECTOR3 colours[4]{};  // diffuse, specular, ambient, emissive
  VECTOR3 changes[4]{};
  int setAmbient = 0;
  int changeAmbient = 0;
  VECTOR3 ambient{0, 0, 0};
  VECTOR3 ambientChange{0, 0, 0};
};

struct EFCPARTICLEKEYDESC : EFCKEYDESC {
  int blend = 0;
  int setColour = 0;
  VECTOR3 colour{0, 0, 0};
  int changeColours = 0;
  VECTOR3 change{0, 0, 0};
  VECTOR3 velocity{0, 0, 0};
  int spread = 0;
  VECTOR3 spin{0, 0, 0};
  int emissions = 0;
};

struct EFCLIGHTKEYDESC : EFCKEYDESC {
  int setColour = 0;
  int changeColour = 0;
  VECTOR3 colour{0, 0, 0};
  VECTOR3 change{0, 0, 0};
  int flicker = 0;
  int changeIntensity = 0;
  float flickerMin = 0;
  float flickerMax = 0;
  float intensityChange = 0;
};

struct EFCCAMERAKEYDESC : EFCKEYDESC {
  int follow = 0;
  VECTOR3 lastFollowed{0, 0, 0};
  int endFrame = 0;
  int look = 0;
  VECTOR3 target{0, 0, 0};
  VECTOR3 eye{0, 0, 0};
  std::string followedPart;
  int followedNode = 0;
  VECTOR3 orbitAxis{0, 0, 0};
  VECTOR3 workingAxis{0, 0, 0};
  float angleA = 0;
  float angleB = 0;
  int reserved = 0;
  VECTOR3 movement{0, 0, 0};
};

struct EFCCREATUREKEYDESC : EFCKEYDESC {
  int reserved = 0;
  int setBrightness = 0;
  float brightness = 0;
  int changeBrightness = 0;
  float brightnessChange = 0;
  float speed = 0;
  VECTOR3 spin{0, 0, 0};
  VECTOR3 scale{0, 0, 0};
};

// The shape of a laid-out ribbon.
struct EFCSECTIONALDESC {
  int shape = 0;  // 1 arc, 2 line
  float width = 0;
  float length = 0;
  std::string texture;
  int frameCount = 0;
  int sectionCount = 0;
  int repeat = 0;
  VECTOR3 top{0, 0, 0};
  VECTOR3 bottom{0, 0, 0};
  float arcAngle = 0;
  int arcAxis = 0;
  VECTOR3 lineDirection{0, 0, 0};
  float lineSpacing = 0;
  int facingB = 0;
  int facingA = 0;
  int faceFully = 0;
  float uStart = 0;
  float uEnd = 1;
  float vTop = 1;
  float vBottom = 0;
};

// A trail; the two anchors are filled while the effect plays.
struct EFCTRACTIONDESC {
  float length = 0;
  float width = 0;
  int sectionCount = 0;
  int uvMode = 1;
  int frameCount = 0;
  std::string texture;
  VECTOR3 anchorA{0, 0, 0};
  VECTOR3 anchorB{0, 0, 0};
};

struct EFCPARTICLEDESC {
  float templateWidth = 0;
  float templateHeight = 0;
  std::string templateTexture;
  int templateFrames = 0;
  float particleWidth = 0;
  float particleHeight = 0;
  std::string particleTexture;
  int particleFrames = 0;
  VECTOR3 spin{0, 0, 0};
  float speed = 0;
  int poolSize = 0;
  int lifetime = 0;
  float spread = 0;
};

template <class Key>
struct EFCRECORD {
  EFCELEMENTDESC header;
  std::vector<Key> keys;
};

struct EFCSECTIONALRECORD : EFCRECORD<EFCRIBBONKEYDESC> {
  EFCSECTIONALDESC shape;
};
struct EFCTRACTIONRECORD : EFCRECORD<EFCRIBBONKEYDESC> {
  EFCTRACTIONDESC trail;
};
struct EFCPARTICLERECORD : EFCRECORD<EFCPARTICLEKEYDESC> {
  EFCPARTICLEDESC emitter;
};
using EFCLIGHTRECORD = EFCRECORD<EFCLIGHTKEYDESC>;
using EFCCAMERARECORD = EFCRECORD<EFCCAMERAKEYDESC>;
struct EFCCREATURERECORD : EFCRECORD<EFCCREATUREKEYDESC> {
  std::string model;
};

struct EFCSOUNDCUEDESC {
  int frame = 0;
  int flags = 0;
};

struct EFCSOUNDRECORD {
  std::string label;
  std::vector<EFCSOUNDCUEDESC> cues;
  std::string wave;
};

// Category prefixes of target names: '#' and four Big5 characters.
constexpr char kSectionalPrefix[] = "#\xB8\x60\xA7\xCE\xAA\xAB\xA5\xF3";
constexpr char kTractionPrefix[] = "#\xA9\xEC\xA6\xB2\xAA\xAB\xA5\xF3";
constexpr char kParticlePrefix[] = "#\xB2\xC9\xA4\x6C\xAA\xAB\xA5\xF3";
constexpr char kLightPrefix[] = "#\xA5\xFA\xB7\xBD\xAA\xAB\xA5\xF3";
constexpr char kCreaturePrefix[] = "#\xC5\xDC\xA7\xCE\xAA\xAB\xA5\xF3";
constexpr int kPrefixBytes = 9;

// The whole file. The creature and sound counts may be missing from the end.
struct EFCFILEDESC {
  int reserved = 0;
  int frameCount = 0;
  std::vector<EFCSECTIONALRECORD> sectionals;
  std::vector<EFCTRACTIONRECORD> tractions;
  std::vector<EFCPARTICLERECORD> particles;
  std::vector<EFCLIGHTRECORD> lights;
  std::vector<EFCCAMERARECORD> cameras;
  bool hasCreatures = true;
  std::vector<EFCCREATURERECORD> creatures;
  bool hasSounds = true;
  std::vector<EFCSOUNDRECORD> sounds;
};

}  // namespace efc
