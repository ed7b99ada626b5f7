#pragma once
#include <cstdint>
#include <string>

#include "cutscene/key.h"
#include "engine/core/math3d.h"

// Key type codes; the key words of the text form are the names after KEY_.
enum KEYTYPE : int {
  KEY_SHOW = 0,
  KEY_PAUSE = 10,
  KEY_ONTERRAIN = 20,
  KEY_ROTATE = 30,
  KEY_SETPARENT = 35,
  KEY_TRANSLATE = 40,
  KEY_CHANGEPOSE = 50,
  KEY_CROTATE = 60,
  KEY_WAVE = 70,
  KEY_MUSIC = 80,
  KEY_OPAQUE = 90,
  KEY_POSESPEED = 100,
  KEY_TARGETOFFSET = 110,
  KEY_LOCKTARGET = 120,
  KEY_FOV = 130,
  KEY_WAVEPLAY = 140,
  KEY_DIALOG = 150,
  KEY_RO_SRC_BLEND = 160,
  KEY_RO_DEST_BLEND = 170,
  KEY_RO_USE_RGB_AS_OPAQUE = 180,
  KEY_RGB = 190,
  KEY_SHADOW = 200,
  KEY_ADJUSTMCOLOR = 210,
  KEY_CHANGEPAGE = 220,
  KEY_SHOWBG = 230,
  KEY_POSITION2D = 240,
  KEY_TEXTCOLOR = 250,
  KEY_TEXTBCOLOR = 260,
};

// Payload fields are listed in the order of the binary form.

class SKeyShow : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_SHOW; }
  int32_t value = 0;  // 1 show, 0 hide

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyPause : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_PAUSE; }
  int32_t value = 0;  // 1 pause, 0 run

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyOnTerrain : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_ONTERRAIN; }
  int32_t value = 0;  // 1 on, 0 off

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyRotate : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_ROTATE; }
  int32_t jump = 0;
  VECTOR3 fDir{}, uDir{}, rDir{}, pos{};

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeySetParent : public SKey {
 public:
  static constexpr size_t kNameSize = 64;
  using SKey::SKey;
  int Code() const override { return KEY_SETPARENT; }
  int32_t parentType = 0;  // ACTORTYPE
  std::string parentName;  // "NULL": no parent
  std::string part;        // empty: the root node

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyTranslate : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_TRANSLATE; }
  int32_t jump = 0;
  int32_t autoRotate = 0;
  int32_t rotateFrameCount = 0;
  VECTOR3 endPosition{};

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyChangePose : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_CHANGEPOSE; }
  int32_t walkOut = 0;
  int32_t pose = 0;
  int32_t playType = 0;  // 0 once, 1 loop, 2 "SLOOP"
  int32_t style = 0;     // 0 smooth change, 16 force change
  int32_t from = 0;
  int32_t to = 0;
  int32_t cPose = 0;  // follow-up pose of a pose played once; negative: none

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyCRotate : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_CROTATE; }
  int32_t jump = 0;
  MATRIX34 matrix{};  // three axis rows, then the position row

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyWave : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_WAVE; }
  int32_t playMode = 0;  // 0 play, other stop
  int32_t loop = 0;

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyMusic : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_MUSIC; }
  int32_t playMode = 0;  // 0 play, 1 stop, 2 pause, other resume
  int32_t track = 0;     // CD track number
  int32_t loop = 0;

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyOpaque : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_OPAQUE; }
  int32_t jump = 0;
  float opValue = 0;  // opacity 0..1

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyPoseSpeed : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_POSESPEED; }
  int32_t value = 0;

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyTargetOffset : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_TARGETOFFSET; }
  VECTOR3 offset{};
  int32_t jump = 0;

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyLockTarget : public SKey {
 public:
  static constexpr size_t kNameSize = 256;
  using SKey::SKey;
  int Code() const override { return KEY_LOCKTARGET; }
  std::string name;       // the actor followed
  int32_t actorType = 0;  // ACTORTYPE
  int32_t jump = 0;

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyFOV : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_FOV; }
  float fov = 0;  // degrees
  int32_t jump = 0;

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyWavePlay : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_WAVEPLAY; }
  int32_t playFlag = 0;  // sound play flags
  int32_t playMode = 0;  // 0 play, 1 pause, other stop

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyDialog : public SKey {
 public:
  static constexpr size_t kIdSize = 16;
  using SKey::SKey;
  int Code() const override { return KEY_DIALOG; }
  std::string id;    // entry name in the dialogue file
  int32_t type = 0;  // 0 talk, other ask
  int32_t stopCount = 0;

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyROSrcBlend : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_RO_SRC_BLEND; }
  int32_t value = 0;  // source blend factor

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyRODestBlend : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_RO_DEST_BLEND; }
  int32_t value = 0;  // destination blend factor

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyROUseRGBAsOpaque : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_RO_USE_RGB_AS_OPAQUE; }
  int32_t value = 0;

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyRGB : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_RGB; }
  int32_t r = 0, g = 0, b = 0;  // 0..255

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyShadow : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_SHADOW; }
  int32_t shadow = 0;  // 1 on, 0 off

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

// The text form carries no Jump.
class SKeyAdjustMaterialColor : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_ADJUSTMCOLOR; }
  float r = 0, g = 0, b = 0;
  int32_t jump = 0;

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyChangePage : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_CHANGEPAGE; }
  int32_t page = 0;  // sprite frame

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyShowBG : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_SHOWBG; }
  int32_t showBG = 0;  // 1 show the box frame

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyPosition2D : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_POSITION2D; }
  int32_t x = 0, y = 0;  // screen pixels

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyTextColor : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_TEXTCOLOR; }
  int32_t r = 0, g = 0, b = 0;

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};

class SKeyTextBColor : public SKey {
 public:
  using SKey::SKey;
  int Code() const override { return KEY_TEXTBCOLOR; }
  int32_t r = 0, g = 0, b = 0;

 protected:
  void VisitFields(SKeyFields& fields) override;
  void VisitLines(SKeyLines& lines) override;
};
