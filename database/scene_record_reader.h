#pragma once
// Reading the fixed records of the binary scene file. Each reader answers
// false, leaving the reader's failure flag set, when the record does not fit
// in what remains; key and item arrays keep only the entries that fit.
#include "database/scene_records.h"

namespace plat {
class ByteReader;
}

namespace scenefile {

constexpr size_t kPointSize = 28;
constexpr size_t kPortalSize = 60;
constexpr size_t kTriggerSize = 84;
constexpr size_t kTargetNameSize = 12;
constexpr size_t kPersonSize = 52;
constexpr size_t kAnimationSize = 80;
constexpr size_t kObjectSize = 48;
constexpr size_t kPartSize = 88;
constexpr size_t kCameraHeadSize = 108;
constexpr size_t kLightSize = 72;
constexpr size_t kMorphSize = 24;
constexpr size_t kOldMorphSize = 20;
constexpr size_t kExtAnimSize = 84;
constexpr size_t kMatrixSize = 48;

bool ReadPoint(plat::ByteReader& r, SCENEPOINTDESC& out);
bool ReadPortal(plat::ByteReader& r, PORTALDESC& out);
// targetCount receives the record's own count of target names.
bool ReadTrigger(plat::ByteReader& r, TRIGGERDESC& out, int& targetCount);
// hasRoutine: a routine follows the people's records for this one.
bool ReadPerson(plat::ByteReader& r, SCENEPERSONDESC& out, bool& hasRoutine);
// The serialised form: the record, its items, then its keys.
bool ReadAnimation(plat::ByteReader& r, SCENEANIMDESC& out);
// The serialised form: the first 108 bytes, then the keys.
bool ReadCamera(plat::ByteReader& r, SCENECAMERADESC& out);
bool ReadLight(plat::ByteReader& r, SCENELIGHTDESC& out);
bool ReadExtAnim(plat::ByteReader& r, SCENEEXTANIMDESC& out);
// hasAnimation: an animation record follows the object's other bytes.
bool ReadObjectRecord(plat::ByteReader& r, SCENEOBJECTDESC& out, bool& hasAnimation, int& partCount);
bool ReadPart(plat::ByteReader& r, SCENEPARTDESC& out);
bool ReadMatrix(plat::ByteReader& r, MATRIX34& out);
VECTOR3 ReadVector(plat::ByteReader& r);

}  // namespace scenefile
