#include "cutscene/keys.h"

#include "cutscene/actor_type.h"

namespace {

// "ONCE" 0, "LOOP" 1, "SLOOP" 2; another word keeps the value.
const SKeyWordMap kPlayTypeWords = {
    [](std::string_view w, int32_t current) -> int32_t {
      return w == "ONCE" ? 0 : w == "LOOP" ? 1 : w == "SLOOP" ? 2 : current;
    },
    [](int32_t v) {
      return v == 0 ? "ONCE" : v == 1 ? "LOOP" : v == 2 ? "SLOOP" : "-";
    },
};

// "SMOOTHCHANGE" 0, "FORCECHANGE" 16; another word keeps the value.
const SKeyWordMap kStyleWords = {
    [](std::string_view w, int32_t current) -> int32_t {
      return w == "SMOOTHCHANGE" ? 0 : w == "FORCECHANGE" ? 16 : current;
    },
    [](int32_t v) { return v == 0    ? "SMOOTHCHANGE"
                           : v == 16 ? "FORCECHANGE"
                                     : "-"; },
};

// Any word but "PLAY", "STOP" and "PAUSE" resumes.
const SKeyWordMap kMusicModeWords = {
    [](std::string_view w, int32_t) -> int32_t {
      return w == "PLAY" ? 0 : w == "STOP" ? 1 : w == "PAUSE" ? 2 : 3;
    },
    [](int32_t v) {
      return v == 0 ? "PLAY" : v == 1 ? "STOP" : v == 2 ? "PAUSE" : "RESUME";
    },
};

// Any word but "PLAY" and "PAUSE" stops.
const SKeyWordMap kWavePlayModeWords = {
    [](std::string_view w, int32_t) -> int32_t { return w == "PLAY"    ? 0
                                                        : w == "PAUSE" ? 1
                                                                       : 2; },
    [](int32_t v) { return v == 0   ? "PLAY"
                           : v == 1 ? "PAUSE"
                                    : "STOP"; },
};

// Any word but "TALK" asks.
const SKeyWordMap kDialogTypeWords = {
    [](std::string_view w, int32_t) -> int32_t { return w == "TALK" ? 0 : 1; },
    [](int32_t v) { return v == 0 ? "TALK" : "ASK"; },
};

const SKeyWordMap kActorTypeWords = {
    [](std::string_view w, int32_t) -> int32_t { return ActorTypeFromName(w); },
    [](int32_t v) { return ActorTypeName(v); },
};

void VectorFields(SKeyFields& f, VECTOR3& v) {
  f.Float(v.x);
  f.Float(v.y);
  f.Float(v.z);
}

void VectorLine(SKeyLines& l, const char* label, VECTOR3& v) { l.Floats(label, {&v.x, &v.y, &v.z}); }

}  // namespace

void SKeyShow::VisitFields(SKeyFields& f) { f.Int(value); }
void SKeyShow::VisitLines(SKeyLines& l) { l.Ints("Value", {&value}); }

void SKeyPause::VisitFields(SKeyFields& f) { f.Int(value); }
void SKeyPause::VisitLines(SKeyLines& l) { l.Ints("Value", {&value}); }

void SKeyOnTerrain::VisitFields(SKeyFields& f) { f.Int(value); }
void SKeyOnTerrain::VisitLines(SKeyLines& l) { l.Ints("Value", {&value}); }

void SKeyRotate::VisitFields(SKeyFields& f) {
  f.Int(jump);
  VectorFields(f, fDir);
  VectorFields(f, uDir);
  VectorFields(f, rDir);
  VectorFields(f, pos);
}
void SKeyRotate::VisitLines(SKeyLines& l) {
  l.Ints("Jump", {&jump});
  VectorLine(l, "FDir", fDir);
  VectorLine(l, "UDir", uDir);
  VectorLine(l, "RDir", rDir);
  VectorLine(l, "Pos", pos);
}

void SKeySetParent::VisitFields(SKeyFields& f) {
  f.Int(parentType);
  f.Name(parentName, kNameSize);
  f.Name(part, kNameSize);
}
void SKeySetParent::VisitLines(SKeyLines& l) {
  l.Word("ParentType", parentType, kActorTypeWords);
  l.Name("ParentName", parentName, kNameSize);
  l.Name("Part", part, kNameSize);
}

void SKeyTranslate::VisitFields(SKeyFields& f) {
  f.Int(jump);
  f.Int(autoRotate);
  f.Int(rotateFrameCount);
  VectorFields(f, endPosition);
}
void SKeyTranslate::VisitLines(SKeyLines& l) {
  l.Ints("AutoRotate", {&autoRotate});
  VectorLine(l, "EndPosition", endPosition);
  l.Ints("Jump", {&jump});
  l.Ints("RotateFrameCount", {&rotateFrameCount});
}

void SKeyChangePose::VisitFields(SKeyFields& f) {
  for (int32_t* v : {&walkOut, &pose, &playType, &style, &from, &to, &cPose}) f.Int(*v);
}
void SKeyChangePose::VisitLines(SKeyLines& l) {
  l.Ints("WalkOut", {&walkOut});
  l.Ints("Pose", {&pose});
  l.Word("PlayType", playType, kPlayTypeWords);
  l.Word("Style", style, kStyleWords);
  l.Ints("From", {&from});
  l.Ints("To", {&to});
  l.Ints("CPose", {&cPose});
}

void SKeyCRotate::VisitFields(SKeyFields& f) {
  f.Int(jump);
  for (VECTOR3& row : matrix.row) VectorFields(f, row);
}
void SKeyCRotate::VisitLines(SKeyLines& l) {
  l.Ints("Jump", {&jump});
  VectorLine(l, "CRotate", matrix.row[0]);
  for (int i = 1; i < 4; ++i) l.Row({&matrix.row[i].x, &matrix.row[i].y, &matrix.row[i].z});
}

void SKeyWave::VisitFields(SKeyFields& f) {
  f.Int(playMode);
  f.Int(loop);
}
void SKeyWave::VisitLines(SKeyLines& l) {
  l.Ints("PlayMode", {&playMode});
  l.Ints("Loop", {&loop});
}

void SKeyMusic::VisitFields(SKeyFields& f) {
  f.Int(playMode);
  f.Int(track);
  f.Int(loop);
}
void SKeyMusic::VisitLines(SKeyLines& l) {
  l.Word("PlayMode", playMode, kMusicModeWords);
  l.UnsignedInts("Track", {&track});
  l.Ints("Loop", {&loop});
}

void SKeyOpaque::VisitFields(SKeyFields& f) {
  f.Int(jump);
  f.Float(opValue);
}
void SKeyOpaque::VisitLines(SKeyLines& l) {
  l.Ints("Jump", {&jump});
  l.Floats("OPValue", {&opValue});
}

void SKeyPoseSpeed::VisitFields(SKeyFields& f) { f.Int(value); }
void SKeyPoseSpeed::VisitLines(SKeyLines& l) { l.Ints("Value", {&value}); }

void SKeyTargetOffset::VisitFields(SKeyFields& f) {
  VectorFields(f, offset);
  f.Int(jump);
}
void SKeyTargetOffset::VisitLines(SKeyLines& l) {
  VectorLine(l, "Offset", offset);
  l.Ints("Jump", {&jump});
}

void SKeyLockTarget::VisitFields(SKeyFields& f) {
  f.Name(name, kNameSize);
  f.Int(actorType);
  f.Int(jump);
}
void SKeyLockTarget::VisitLines(SKeyLines& l) {
  l.Name("Name", name, kNameSize);
  l.Word("ActorType", actorType, kActorTypeWords);
  l.Ints("Jump", {&jump});
}

void SKeyFOV::VisitFields(SKeyFields& f) {
  f.Float(fov);
  f.Int(jump);
}
void SKeyFOV::VisitLines(SKeyLines& l) {
  l.Floats("Fov", {&fov});
  l.Ints("Jump", {&jump});
}

void SKeyWavePlay::VisitFields(SKeyFields& f) {
  f.Int(playFlag);
  f.Int(playMode);
}
void SKeyWavePlay::VisitLines(SKeyLines& l) {
  l.Word("PlayMode", playMode, kWavePlayModeWords);
  l.UnsignedInts("PlayFlag", {&playFlag});
}

void SKeyDialog::VisitFields(SKeyFields& f) {
  f.Name(id, kIdSize);
  f.Int(type);
  f.Int(stopCount);
}
void SKeyDialog::VisitLines(SKeyLines& l) {
  l.Name("Id", id, kIdSize);
  l.Word("Type", type, kDialogTypeWords);
  l.Ints("StopCount", {&stopCount});
}

void SKeyROSrcBlend::VisitFields(SKeyFields& f) { f.Int(value); }
void SKeyROSrcBlend::VisitLines(SKeyLines& l) { l.UnsignedInts("Value", {&value}); }

void SKeyRODestBlend::VisitFields(SKeyFields& f) { f.Int(value); }
void SKeyRODestBlend::VisitLines(SKeyLines& l) { l.UnsignedInts("Value", {&value}); }

void SKeyROUseRGBAsOpaque::VisitFields(SKeyFields& f) { f.Int(value); }
void SKeyROUseRGBAsOpaque::VisitLines(SKeyLines& l) { l.Ints("Value", {&value}); }

void SKeyRGB::VisitFields(SKeyFields& f) {
  f.Int(r);
  f.Int(g);
  f.Int(b);
}
void SKeyRGB::VisitLines(SKeyLines& l) { l.Ints("RGB", {&r, &g, &b}); }

void SKeyShadow::VisitFields(SKeyFields& f) { f.Int(shadow); }
void SKeyShadow::VisitLines(SKeyLines& l) { l.Ints("Shadow", {&shadow}); }

void SKeyAdjustMaterialColor::VisitFields(SKeyFields& f) {
  f.Float(r);
  f.Float(g);
  f.Float(b);
  f.Int(jump);
}
void SKeyAdjustMaterialColor::VisitLines(SKeyLines& l) { l.Floats("AdjustMColor", {&r, &g, &b}); }

void SKeyChangePage::VisitFields(SKeyFields& f) { f.Int(page); }
void SKeyChangePage::VisitLines(SKeyLines& l) { l.Ints("Page", {&page}); }

void SKeyShowBG::VisitFields(SKeyFields& f) { f.Int(showBG); }
void SKeyShowBG::VisitLines(SKeyLines& l) { l.Ints("ShowBG", {&showBG}); }

void SKeyPosition2D::VisitFields(SKeyFields& f) {
  f.Int(x);
  f.Int(y);
}
void SKeyPosition2D::VisitLines(SKeyLines& l) { l.Ints("Positon2D", {&x, &y}); }

void SKeyTextColor::VisitFields(SKeyFields& f) {
  f.Int(r);
  f.Int(g);
  f.Int(b);
}
void SKeyTextColor::VisitLines(SKeyLines& l) { l.Ints("TextColor", {&r, &g, &b}); }

void SKeyTextBColor::VisitFields(SKeyFields& f) {
  f.Int(r);
  f.Int(g);
  f.Int(b);
}
void SKeyTextBColor::VisitLines(SKeyLines& l) { l.Ints("TextBColor", {&r, &g, &b}); }
