// The play's readers of the two script forms.
#include "base/debug_trace.h"
#include "cutscene/actor_type.h"
#include "cutscene/cut_scene.h"
#include "cutscene/key_factory.h"
#include "cutscene/line_scanner.h"
#include "cutscene/script_stream.h"
#include "cutscene/viewport_actor.h"
#include "platform/files.h"

namespace {

constexpr size_t kHeaderSize = 156;
constexpr size_t kReservedSize = 148;
constexpr size_t kNameSize = 64;  // names and file names hold at most 63 characters
constexpr size_t kMaxNameLength = kNameSize - 1;
// Far above any script; a bigger file is not a script.
constexpr size_t kMaxScriptBytes = 64u * 1024u * 1024u;
// Farthest key frame a script may name: far beyond any play, and far from
// the ends of the int range the tracks count frames in.
constexpr int32_t kMaxKeyFrame = 1000000;

// The camera every TCAMERA player gets, whatever values the script holds.
constexpr float kCameraAspect = 1.33f;
constexpr float kCameraLens = 16.9899f;
constexpr float kCameraAperture = 0.86f;
constexpr float kCameraNear = 2.0f;
constexpr float kCameraFar = 8000.0f;

// A player's actor as either form describes it.
struct PlayerFields {
  int32_t type = 0;
  std::string file;
  int32_t counts[3] = {};  // BOARD: frames, width, height; SPRITE: frames, columns, rows
  float rect[4] = {};      // VIEWPORT: x, y, width, height as screen fractions
  int32_t number = 0;      // VIEWPORT
  std::string camera;      // VIEWPORT: the camera actor's name
};

SActorTrackSet* CreatePlayerActor(CCutScene& play, const PlayerFields& f) {
  switch (f.type) {
    case ACTOR_DIALOG: return play.CreateDialog(f.file, 0);
    case ACTOR_CREATURE: return play.CreateCreature(f.file, 0);
    case ACTOR_WAVE: return play.CreateWave(f.file, 0);
    case ACTOR_TCAMERA:
      return play.CreateCamera(kCameraAspect, kCameraLens, kCameraAperture, kCameraNear, kCameraFar, nullptr, 0);
    case ACTOR_MUSIC: return play.CreateMusic(0);
    case ACTOR_FADE: return play.CreateFade(0);
    case ACTOR_BOARD: return play.CreateBoard(f.file, f.counts[0], f.counts[1], f.counts[2], 0);
    case ACTOR_SPRITE: return play.CreateSprite(f.file, f.counts[0], f.counts[1], f.counts[2], 0);
    case ACTOR_VIEWPORT: {
      SActorTrackSet* set = play.CreateViewport(f.rect[0], f.rect[1], f.rect[2], f.rect[3], f.number, 0);
      // A camera name that matches no camera actor leaves the viewport without one.
      if (set) play.BindViewportCamera(static_cast<SViewPort*>(set->actor), f.camera);
      return set;
    }
    default: return nullptr;  // CAMERA, SEFFECT, WAVESYSTEM and unknown types have no actor kind
  }
}

}  // namespace

int CCutScene::Load(const std::string& name, const std::string& directory, int binary) {
  std::string path = directory + "\\" + name + (binary ? ".spb" : ".sp");
  if (!plat::FileExists(path)) {
    DebugTrace("Cut-scene script %s is missing\n", path.c_str());
    return -2;
  }
  Clear();
  currentFrame_ = 0;
  std::vector<uint8_t> bytes;
  int result = -1;
  if (plat::ReadWholeFile(path, bytes, kMaxScriptBytes)) {
    SScriptStream in(std::move(bytes));
    result = binary ? ReadBinary(in) : ReadText(in);
  }
  if (result < 0) {
    DebugTrace("Cut-scene script %s is not readable\n", path.c_str());
    return -1;
  }
  Reset();
  return 0;
}

int CCutScene::ReadBinary(SScriptStream& in) {
  plat::ByteReader& r = in.Binary();
  if (!r.CanRead(kHeaderSize)) return -1;
  r.Skip(kReservedSize);
  finalFrame_ = r.I32();
  int32_t count = r.I32();
  for (int32_t i = 0; i < count; ++i)
    if (ReadPlayer(in, 1) < 0) return -1;
  return 0;
}

int CCutScene::ReadText(SScriptStream& in) {
  std::string line;
  while (in.ReadLine(line)) {
    SLineScanner scan(line);
    std::string word;
    scan.Word(word, SScriptStream::kMaxLineLength);
    if (word == "#VERSION") {
      in.ReadLine(line);
    } else if (word == "#FINALFRAME") {
      if (in.ReadLine(line)) SLineScanner(line).Int(finalFrame_);
    } else if (word == "#PLAYER_START") {
      if (ReadPlayer(in, 0) < 0) return -1;
    }
  }
  return in.LineTooLong() ? -1 : 0;
}

int CCutScene::ReadPlayer(SScriptStream& in, int binary) {
  SActorTrackSet* set = ReadPlayerHeader(in, binary);
  if (!set) return -1;
  std::unique_ptr<SKey> key;
  if (binary) {
    int32_t count = in.Binary().I32();
    if (in.Binary().Failed()) return -1;
    for (int32_t i = 0; i < count; ++i) {
      if (ReadKey(in, 1, key) != 0) return -1;
      set->AddKey(std::move(key));
    }
    return 0;
  }
  for (;;) {
    int result = ReadKey(in, 0, key);
    if (result < 0) return -1;
    if (result > 0) return 0;
    set->AddKey(std::move(key));
  }
}

SActorTrackSet* CCutScene::ReadPlayerHeader(SScriptStream& in, int binary) {
  std::string name;
  SActorTrackSet* set = binary ? ReadBinaryPlayerHeader(in, name) : ReadTextPlayerHeader(in, name);
  if (set) set->actor->SetName(name);
  return set;
}

SActorTrackSet* CCutScene::ReadBinaryPlayerHeader(SScriptStream& in, std::string& name) {
  plat::ByteReader& r = in.Binary();
  PlayerFields f;
  f.type = r.I32();
  name = ReadNameField(r, kNameSize);
  switch (f.type) {
    case ACTOR_DIALOG:
    case ACTOR_CREATURE:
    case ACTOR_WAVE: f.file = ReadNameField(r, kNameSize); break;
    case ACTOR_TCAMERA: r.Skip(5 * 4); break;
    case ACTOR_BOARD:
    case ACTOR_SPRITE:
      f.file = ReadNameField(r, kNameSize);
      for (int32_t& c : f.counts) c = r.I32();
      break;
    case ACTOR_VIEWPORT:
      for (float& v : f.rect) v = r.F32();
      f.number = r.I32();
      f.camera = ReadNameField(r, kNameSize);
      break;
    default: break;
  }
  return r.Failed() ? nullptr : CreatePlayerActor(*this, f);
}

SActorTrackSet* CCutScene::ReadTextPlayerHeader(SScriptStream& in, std::string& name) {
  std::string header, parameters;
  if (!in.ReadLine(header)) return nullptr;
  SLineScanner headerScan(header);
  std::string typeWord;
  headerScan.Word(typeWord, SScriptStream::kMaxLineLength);
  headerScan.Word(name, kMaxNameLength);
  PlayerFields f;
  f.type = ActorTypeFromName(typeWord);
  if (f.type < 0 || headerScan.TooLong()) return nullptr;
  if (!in.ReadLine(parameters)) return nullptr;

  SLineScanner scan(parameters);
  switch (f.type) {
    case ACTOR_DIALOG:
    case ACTOR_CREATURE:
    case ACTOR_WAVE: scan.Word(f.file, kMaxNameLength); break;
    case ACTOR_BOARD:
    case ACTOR_SPRITE:
      scan.Word(f.file, kMaxNameLength);
      for (int32_t& c : f.counts) scan.Int(c);
      break;
    case ACTOR_VIEWPORT:
      for (float& v : f.rect) scan.Float(v);
      scan.Int(f.number);
      scan.Word(f.camera, kMaxNameLength);
      break;
    default: break;  // the TCAMERA values are not used; MUSIC and FADE carry nothing
  }
  return scan.TooLong() ? nullptr : CreatePlayerActor(*this, f);
}

int CCutScene::ReadKey(SScriptStream& in, int binary, std::unique_ptr<SKey>& key) {
  if (binary) {
    plat::ByteReader& r = in.Binary();
    int32_t code = r.I32();
    int32_t frame = r.I32();
    if (r.Failed()) return -1;
    key = CreateKeyByCode(code, frame);
  } else {
    std::string line;
    if (!in.ReadLine(line)) return -1;
    SLineScanner scan(line);
    std::string first, word;
    int32_t frame = 0;
    scan.Word(first, SScriptStream::kMaxLineLength);
    if (first == "#PLAYER_END") return 1;
    scan.Word(word, SScriptStream::kMaxLineLength);
    if (!scan.Int(frame)) return -1;
    key = CreateKeyByName(word, frame);
  }
  // A key of no known type has a payload of unknown size: nothing after it can be read.
  if (!key) return -1;
  if (key->frame < -kMaxKeyFrame || key->frame > kMaxKeyFrame) {
    DebugTrace("Cut-scene key frame %d out of range\n", key->frame);
    return -1;
  }
  return key->Load(in, binary) < 0 ? -1 : 0;
}
