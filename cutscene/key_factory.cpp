#include "cutscene/key_factory.h"

#include "cutscene/keys.h"

namespace {

struct KeyKind {
  const char* word;
  int code;
  std::unique_ptr<SKey> (*make)(int frame);
};

template <class K>
std::unique_ptr<SKey> Make(int frame) {
  return std::make_unique<K>(frame);
}

constexpr KeyKind kKeyKinds[] = {
    {"SHOW", KEY_SHOW, Make<SKeyShow>},
    {"PAUSE", KEY_PAUSE, Make<SKeyPause>},
    {"ONTERRAIN", KEY_ONTERRAIN, Make<SKeyOnTerrain>},
    {"ROTATE", KEY_ROTATE, Make<SKeyRotate>},
    {"SETPARENT", KEY_SETPARENT, Make<SKeySetParent>},
    {"TRANSLATE", KEY_TRANSLATE, Make<SKeyTranslate>},
    {"CHANGEPOSE", KEY_CHANGEPOSE, Make<SKeyChangePose>},
    {"CROTATE", KEY_CROTATE, Make<SKeyCRotate>},
    {"WAVE", KEY_WAVE, Make<SKeyWave>},
    {"MUSIC", KEY_MUSIC, Make<SKeyMusic>},
    {"OPAQUE", KEY_OPAQUE, Make<SKeyOpaque>},
    {"POSESPEED", KEY_POSESPEED, Make<SKeyPoseSpeed>},
    {"TARGETOFFSET", KEY_TARGETOFFSET, Make<SKeyTargetOffset>},
    {"LOCKTARGET", KEY_LOCKTARGET, Make<SKeyLockTarget>},
    {"FOV", KEY_FOV, Make<SKeyFOV>},
    {"WAVEPLAY", KEY_WAVEPLAY, Make<SKeyWavePlay>},
    {"DIALOG", KEY_DIALOG, Make<SKeyDialog>},
    {"RO_SRC_BLEND", KEY_RO_SRC_BLEND, Make<SKeyROSrcBlend>},
    {"RO_DEST_BLEND", KEY_RO_DEST_BLEND, Make<SKeyRODestBlend>},
    {"RO_USE_RGB_AS_OPAQUE", KEY_RO_USE_RGB_AS_OPAQUE, Make<SKeyROUseRGBAsOpaque>},
    {"RGB", KEY_RGB, Make<SKeyRGB>},
    {"SHADOW", KEY_SHADOW, Make<SKeyShadow>},
    {"ADJUSTMCOLOR", KEY_ADJUSTMCOLOR, Make<SKeyAdjustMaterialColor>},
    {"CHANGEPAGE", KEY_CHANGEPAGE, Make<SKeyChangePage>},
    {"SHOWBG", KEY_SHOWBG, Make<SKeyShowBG>},
    {"POSITION2D", KEY_POSITION2D, Make<SKeyPosition2D>},
    {"TEXTCOLOR", KEY_TEXTCOLOR, Make<SKeyTextColor>},
    {"TEXTBCOLOR", KEY_TEXTBCOLOR, Make<SKeyTextBColor>},
};

}  // namespace

std::unique_ptr<SKey> CreateKeyByName(std::string_view word, int frame) {
  for (const KeyKind& kind : kKeyKinds)
    if (word == kind.word) return kind.make(frame);
  return nullptr;
}

std::unique_ptr<SKey> CreateKeyByCode(int code, int frame) {
  for (const KeyKind& kind : kKeyKinds)
    if (code == kind.code) return kind.make(frame);
  return nullptr;
}
