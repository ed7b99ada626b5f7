#include "components/camera_track_file.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "base/debug_trace.h"
#include "base/text_tokenizer.h"

namespace {

class TrackReader {
 public:
  static constexpr int kStay = -1;  // a skip mode that skips nothing
  static constexpr int32_t kMaxFrame = 1 << 20;

  explicit TrackReader(CTextTokenizer& in) : in_(in) {}

  // Skips blanks and comment lines; false at the end of the data.
  bool NextToken() {
    in_.SkipLine(1);
    in_.Refill();
    return *in_.Cursor() != 0;
  }
  // Reads a word and leaves the cursor right behind it, on its line.
  bool Word(char* word) {
    if (!NextToken()) return false;
    in_.ReadWord(word, kStay);
    return true;
  }
  bool PeekWord(char* word) {
    if (!NextToken()) return false;
    in_.ReadWord(word, 3);
    return true;
  }
  int32_t Int() {
    int32_t v = 0;
    if (NextToken()) in_.ReadInt(&v, 2);
    return v;
  }
  // A frame number: the camera steps frames and spans keys in ints, so a
  // hostile number is held where neither can overflow.
  int32_t Frame() { return std::clamp(Int(), -kMaxFrame, kMaxFrame); }
  float Float() {
    float v = 0;
    if (NextToken()) in_.ReadFloat(&v, 2);
    return v;
  }
  void Floats(float* out, int n) {
    for (int i = 0; i < n; ++i) out[i] = Float();
  }
  void SkipRestOfLine() { in_.SkipLine(0); }

  // A track header and its keys. Keys are taken only while data remains, so
  // a count larger than the file can hold allocates nothing extra.
  template <typename Key, typename ReadKey>
  void Track(TRACKRANGEDESC* track, std::vector<Key>* keys, ReadKey readKey) {
    track->first = Frame();
    track->last = Frame();
    const int32_t count = Int();
    keys->clear();
    for (int32_t i = 0; i < count && NextToken(); ++i) {
      Key key;
      key.frame = Frame();
      readKey(key);
      keys->push_back(key);
    }
    track->count = static_cast<int32_t>(keys->size());
  }

  void PointTrack(TRACKRANGEDESC* track, std::vector<CAMERAPOINTKEYDESC>* keys) {
    Track(track, keys, [this](CAMERAPOINTKEYDESC& k) {
      k.x = Float();
      k.y = Float();
      k.z = Float();
    });
  }
  void ValueTrack(TRACKRANGEDESC* track, std::vector<CAMERAVALUEKEYDESC>* keys) {
    Track(track, keys, [this](CAMERAVALUEKEYDESC& k) { k.value = Float(); });
  }
  void RotationTrack(TRACKRANGEDESC* track, std::vector<CAMERAROTATIONKEYDESC>* keys) {
    Track(track, keys, [this](CAMERAROTATIONKEYDESC& k) {
      k.x = Float();
      k.y = Float();
      k.z = Float();
      k.angle = Float();
    });
  }

  void Parent(CAMERAPARENTDESC* parent) {
    Floats(parent->offset, 3);
    char word[CTextTokenizer::kWordSize];
    while (PeekWord(word)) {
      if (strcasecmp(word, "KeyPos") == 0) {
        in_.ReadWord(word, kStay);
        PointTrack(&parent->positionTrack, &parent->positionKeys);
      } else if (strcasecmp(word, "KeyRoll") == 0) {
        in_.ReadWord(word, kStay);
        RotationTrack(&parent->rotationTrack, &parent->rotationKeys);
      } else {
        break;
      }
    }
  }

  // The body of a camera after its name, up to and including "EndCamera".
  void Camera(CAMERARECORDDESC* record) {
    Floats(record->position, 3);
    Floats(record->target, 3);
    record->fieldOfView = Float();
    record->roll = Float();
    Floats(record->extra, 2);
    char word[CTextTokenizer::kWordSize];
    while (Word(word)) {
      if (strcasecmp(word, "KeyPos") == 0) {
        PointTrack(&record->positionTrack, &record->positionKeys);
      } else if (strcasecmp(word, "KeyFov") == 0) {
        ValueTrack(&record->fieldOfViewTrack, &record->fieldOfViewKeys);
      } else if (strcasecmp(word, "KeyRoll") == 0) {
        ValueTrack(&record->rollTrack, &record->rollKeys);
      } else if (strcasecmp(word, "KeyTarget") == 0) {
        PointTrack(&record->targetTrack, &record->targetKeys);
      } else if (strcasecmp(word, "CameraParent") == 0) {
        record->cameraParent = 1;
        Parent(&record->parents[0]);
      } else if (strcasecmp(word, "TargetParent") == 0) {
        const int k = record->cameraParent;
        record->targetParent = k + 1;
        Parent(&record->parents[static_cast<size_t>(k)]);
      } else {
        if (strcasecmp(word, "EndCamera") == 0) {
          record->endValues[0] = Int();
          record->endValues[1] = Int();
        }
        return;
      }
    }
  }

 private:
  CTextTokenizer& in_;
};

// The 1-based number in the last two characters of a camera's name, or 0.
int CameraNumber(const char* name) {
  const size_t length = std::strlen(name);
  if (length < 2) return 0;
  const char tens = name[length - 2];
  const char ones = name[length - 1];
  if (tens < '0' || tens > '9' || ones < '0' || ones > '9') return 0;
  return (tens - '0') * 10 + (ones - '0');
}

}  // namespace

CCameraTrackFile::CCameraTrackFile(const char* path) {
  CTextTokenizer in(path);
  if (!in.IsOpen()) return;
  TrackReader reader(in);
  char word[CTextTokenizer::kWordSize];
  while (reader.Word(word)) {
    if (strcasecmp(word, "TotalCamera") == 0) {
      int32_t count = reader.Int();
      if (count < 0) count = 0;
      if (count > kMaxCameras) {
        DebugTrace("camera track %s: %d cameras, only %d can be numbered\n", path, count, kMaxCameras);
        count = kMaxCameras;
      }
      cameraCount = count;
      cameras.assign(static_cast<size_t>(count), CAMERARECORDDESC{});
    } else if (strcasecmp(word, "BeginCamera") == 0) {
      char name[CTextTokenizer::kWordSize] = {};
      reader.Word(name);
      CAMERARECORDDESC record;
      std::memcpy(record.name, name, std::min(std::strlen(name), sizeof record.name - 1));
      reader.Camera(&record);
      const int number = CameraNumber(name);
      if (number < 1 || number > cameraCount) {
        DebugTrace("camera track %s: camera %s has no place among %d\n", path, name, cameraCount);
        continue;
      }
      cameras[static_cast<size_t>(number - 1)] = std::move(record);
    } else {
      reader.SkipRestOfLine();
    }
  }
}
