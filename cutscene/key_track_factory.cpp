#include "cutscene/key_track_factory.h"

#include "cutscene/event_tracks.h"
#include "cutscene/interpolating_tracks.h"

namespace {

template <class T>
std::unique_ptr<SKeyManager> Make(std::unique_ptr<SKey> key) {
  return std::make_unique<T>(std::move(key));
}

struct TrackKind {
  int code;
  std::unique_ptr<SKeyManager> (*make)(std::unique_ptr<SKey> key);
};

constexpr TrackKind kTrackKinds[] = {
    {KEY_SHOW, Make<SKMShow>},
    {KEY_PAUSE, Make<SKMPause>},
    {KEY_ONTERRAIN, Make<SKMOnTerrain>},
    {KEY_ROTATE, Make<SKMRotate>},
    {KEY_SETPARENT, Make<SKMSetParent>},
    {KEY_TRANSLATE, Make<SKMTranslate>},
    {KEY_CHANGEPOSE, Make<SKMChangePose>},
    {KEY_CROTATE, Make<SKMCRotate>},
    {KEY_WAVE, Make<SKMWave>},
    {KEY_MUSIC, Make<SKMMusic>},
    {KEY_OPAQUE, Make<SKMOpaque>},
    {KEY_POSESPEED, Make<SKMPoseSpeed>},
    {KEY_TARGETOFFSET, Make<SKMTargetOffset>},
    {KEY_LOCKTARGET, Make<SKMLockTarget>},
    {KEY_FOV, Make<SKMFOV>},
    {KEY_WAVEPLAY, Make<SKMWavePlay>},
    {KEY_DIALOG, Make<SKMDialog>},
    {KEY_RO_SRC_BLEND, Make<SKMROSrcBlend>},
    {KEY_RO_DEST_BLEND, Make<SKMRODestBlend>},
    {KEY_RO_USE_RGB_AS_OPAQUE, Make<SKMROUseRGBAsOpaque>},
    {KEY_RGB, Make<SKMRGB>},
    {KEY_SHADOW, Make<SKMShadow>},
    {KEY_ADJUSTMCOLOR, Make<SKMAdjustMaterialColor>},
    {KEY_CHANGEPAGE, Make<SKMChangePage>},
    {KEY_SHOWBG, Make<SKMShowBG>},
    {KEY_POSITION2D, Make<SKMPosition2D>},
    {KEY_TEXTCOLOR, Make<SKMTextColor>},
    {KEY_TEXTBCOLOR, Make<SKMTextBColor>},
};

}  // namespace

std::unique_ptr<SKeyManager> CreateKeyTrack(std::unique_ptr<SKey> key) {
  if (!key) return nullptr;
  for (const TrackKind& kind : kTrackKinds)
    if (kind.code == key->Code()) return kind.make(std::move(key));
  return nullptr;
}
