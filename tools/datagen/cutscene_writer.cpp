#include "tools/datagen/cutscene_writer.h"

#include <charconv>
#include <initializer_list>

#include "platform/files.h"
#include "tools/datagen/output_file.h"

namespace datagen {

CutPlayerData CutPlayer(std::string type, std::string name, std::string file, std::vector<CutKeyData> keys) {
  CutPlayerData p;
  p.type = std::move(type);
  p.name = std::move(name);
  p.file = std::move(file);
  p.keys = std::move(keys);
  return p;
}
namespace {

constexpr size_t kReservedSize = 148;
constexpr size_t kNameSize = 64;
constexpr size_t kMaxLine = 255;

// A payload field of the binary form: 'i' int32, 'f' float32, 's' a name of size bytes.
struct Field {
  char kind;
  size_t size;
};
constexpr Field I{'i', 4}, F{'f', 4};
constexpr Field S(size_t size) { return Field{'s', size}; }

// One value line of the text form. kind: 'i' ints, 'u' unsigned ints, 'f'
// reals, 'n' a name, or a value word: 'P' play type, 'S' style, 'M' music
// play mode, 'W' wave play mode, 'D' dialogue type, 'A' actor type. A null
// label writes the reals after five tabs with no label.
struct Line {
  const char* label;
  char kind;
  std::vector<int> fields;
};

struct KeyLayout {
  const char* word;
  int32_t code;
  std::vector<Field> fields;
  std::vector<Line> lines;
};

const std::vector<KeyLayout>& Layouts() {
  static const std::vector<KeyLayout> layouts = {
      {"SHOW", 0, {I}, {{"Value", 'i', {0}}}},
      {"PAUSE", 10, {I}, {{"Value", 'i', {0}}}},
      {"ONTERRAIN", 20, {I}, {{"Value", 'i', {0}}}},
      {"ROTATE",
       30,
       {I, F, F, F, F, F, F, F, F, F, F, F, F},
       {{"Jump", 'i', {0}},
        {"FDir", 'f', {1, 2, 3}},
        {"UDir", 'f', {4, 5, 6}},
        {"RDir", 'f', {7, 8, 9}},
        {"Pos", 'f', {10, 11, 12}}}},
      {"SETPARENT", 35, {I, S(64), S(64)}, {{"ParentType", 'A', {0}}, {"ParentName", 'n', {1}}, {"Part", 'n', {2}}}},
      {"TRANSLATE",
       40,
       {I, I, I, F, F, F},
       {{"AutoRotate", 'i', {1}}, {"EndPosition", 'f', {3, 4, 5}}, {"Jump", 'i', {0}}, {"RotateFrameCount", 'i', {2}}}},
      {"CHANGEPOSE",
       50,
       {I, I, I, I, I, I, I},
       {{"WalkOut", 'i', {0}},
        {"Pose", 'i', {1}},
        {"PlayType", 'P', {2}},
        {"Style", 'S', {3}},
        {"From", 'i', {4}},
        {"To", 'i', {5}},
        {"CPose", 'i', {6}}}},
      {"CROTATE",
       60,
       {I, F, F, F, F, F, F, F, F, F, F, F, F},
       {{"Jump", 'i', {0}},
        {"CRotate", 'f', {1, 2, 3}},
        {nullptr, 'f', {4, 5, 6}},
        {nullptr, 'f', {7, 8, 9}},
        {nullptr, 'f', {10, 11, 12}}}},
      {"WAVE", 70, {I, I}, {{"PlayMode", 'i', {0}}, {"Loop", 'i', {1}}}},
      {"MUSIC", 80, {I, I, I}, {{"PlayMode", 'M', {0}}, {"Track", 'u', {1}}, {"Loop", 'i', {2}}}},
      {"OPAQUE", 90, {I, F}, {{"Jump", 'i', {0}}, {"OPValue", 'f', {1}}}},
      {"POSESPEED", 100, {I}, {{"Value", 'i', {0}}}},
      {"TARGETOFFSET", 110, {F, F, F, I}, {{"Offset", 'f', {0, 1, 2}}, {"Jump", 'i', {3}}}},
      {"LOCKTARGET", 120, {S(256), I, I}, {{"Name", 'n', {0}}, {"ActorType", 'A', {1}}, {"Jump", 'i', {2}}}},
      {"FOV", 130, {F, I}, {{"Fov", 'f', {0}}, {"Jump", 'i', {1}}}},
      {"WAVEPLAY", 140, {I, I}, {{"PlayMode", 'W', {1}}, {"PlayFlag", 'u', {0}}}},
      {"DIALOG", 150, {S(16), I, I}, {{"Id", 'n', {0}}, {"Type", 'D', {1}}, {"StopCount", 'i', {2}}}},
      {"RO_SRC_BLEND", 160, {I}, {{"Value", 'u', {0}}}},
      {"RO_DEST_BLEND", 170, {I}, {{"Value", 'u', {0}}}},
      {"RO_USE_RGB_AS_OPAQUE", 180, {I}, {{"Value", 'i', {0}}}},
      {"RGB", 190, {I, I, I}, {{"RGB", 'i', {0, 1, 2}}}},
      {"SHADOW", 200, {I}, {{"Shadow", 'i', {0}}}},
      {"ADJUSTMCOLOR", 210, {F, F, F, I}, {{"AdjustMColor", 'f', {0, 1, 2}}}},
      {"CHANGEPAGE", 220, {I}, {{"Page", 'i', {0}}}},
      {"SHOWBG", 230, {I}, {{"ShowBG", 'i', {0}}}},
      {"POSITION2D", 240, {I, I}, {{"Positon2D", 'i', {0, 1}}}},
      {"TEXTCOLOR", 250, {I, I, I}, {{"TextColor", 'i', {0, 1, 2}}}},
      {"TEXTBCOLOR", 260, {I, I, I}, {{"TextBColor", 'i', {0, 1, 2}}}},
  };
  return layouts;
}

const char* const kActorTypeWords[] = {"NULL",    "DIALOG",     "CREATURE", "CAMERA", "TCAMERA", "MUSIC", "VIEWPORT",
                                       "SEFFECT", "WAVESYSTEM", "WAVE",     "BOARD",  "FADE",    "SPRITE"};

int32_t ActorTypeCode(const std::string& word) {
  for (int32_t code = 1; code <= 12; ++code)
    if (word == kActorTypeWords[code]) return code;
  return -1;
}

bool HasBlank(const std::string& s) {
  for (char c : s)
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') return true;
  return false;
}

std::string FloatText(float v) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, result.ptr);
}

// The value word a number stands for; null when the text form has none.
const char* ValueWord(char kind, int32_t v) {
  switch (kind) {
    case 'P': return v == 0 ? "ONCE" : v == 1 ? "LOOP" : v == 2 ? "SLOOP" : nullptr;
    case 'S': return v == 0 ? "SMOOTHCHANGE" : v == 16 ? "FORCECHANGE" : nullptr;
    case 'M': return v == 0 ? "PLAY" : v == 1 ? "STOP" : v == 2 ? "PAUSE" : v == 3 ? "RESUME" : nullptr;
    case 'W': return v == 0 ? "PLAY" : v == 1 ? "PAUSE" : v == 2 ? "STOP" : nullptr;
    case 'D': return v == 0 ? "TALK" : v == 1 ? "ASK" : nullptr;
    case 'A': return v == -1 ? "NULL" : (v >= 1 && v <= 12) ? kActorTypeWords[v] : nullptr;
    default: return nullptr;
  }
}

class Builder {
 public:
  explicit Builder(std::string& error) : error_(error) {}

  bool Fail(const std::string& message) {
    if (error_.empty()) error_ = message;
    return false;
  }
  bool Failed() const { return !error_.empty(); }

  // A name field of the script: at most size - 1 characters and no blanks.
  bool CheckName(const std::string& name, size_t size, const std::string& what) {
    if (name.size() > size - 1) return Fail(what + " longer than " + std::to_string(size - 1) + " characters: " + name);
    if (HasBlank(name)) return Fail(what + " holds a blank: " + name);
    return true;
  }

  const KeyLayout* CheckKey(const CutKeyData& key, bool text) {
    for (const KeyLayout& layout : Layouts()) {
      if (key.word != layout.word) continue;
      if (key.values.size() != layout.fields.size()) {
        Fail(key.word + " needs " + std::to_string(layout.fields.size()) + " values");
        return nullptr;
      }
      for (size_t i = 0; i < layout.fields.size(); ++i) {
        const Field& f = layout.fields[i];
        const CutValue& v = key.values[i];
        bool fits = (f.kind == 'i' && v.kind == CutValue::kInt) || (f.kind == 'f' && v.kind == CutValue::kFloat) ||
                    (f.kind == 's' && v.kind == CutValue::kText);
        if (!fits) {
          Fail(key.word + " value " + std::to_string(i) + " has the wrong kind");
          return nullptr;
        }
        if (f.kind == 's' && !CheckName(v.text, f.size, key.word + " name")) return nullptr;
      }
      for (const Line& line : layout.lines)
        if (text && std::string("PSMWDA").find(line.kind) != std::string::npos &&
            !ValueWord(line.kind, key.values[static_cast<size_t>(line.fields[0])].i)) {
          Fail(key.word + " " + line.label + " has no word in the text form");
          return nullptr;
        }
      return &layout;
    }
    Fail("no key type " + key.word);
    return nullptr;
  }

  bool CheckPlayer(const CutPlayerData& p) {
    int32_t type = ActorTypeCode(p.type);
    if (type < 0 || type == 3 || type == 7 || type == 8) return Fail("no actor kind " + p.type);
    if (!CheckName(p.name, kNameSize, "player name") || !CheckName(p.file, kNameSize, "file name") ||
        !CheckName(p.camera, kNameSize, "camera name"))
      return false;
    return true;
  }

 private:
  std::string& error_;
};

std::string TextLine(const Line& line, const CutKeyData& key) {
  std::string text = line.label ? std::string("\t\t\t\t") + line.label : "\t\t\t\t";
  for (int index : line.fields) {
    const CutValue& v = key.values[static_cast<size_t>(index)];
    text += "\t";
    switch (line.kind) {
      case 'i': text += std::to_string(v.i); break;
      case 'u': text += std::to_string(static_cast<uint32_t>(v.i)); break;
      case 'f': text += FloatText(v.f); break;
      case 'n': text += v.text; break;
      default: text += ValueWord(line.kind, v.i); break;
    }
  }
  return text;
}

std::string ParameterLine(const CutPlayerData& p) {
  auto counts = [&p] {
    return " " + std::to_string(p.counts[0]) + " " + std::to_string(p.counts[1]) + " " + std::to_string(p.counts[2]);
  };
  if (p.type == "TCAMERA") {
    std::string text;
    for (float v : p.cameraValues) text += (text.empty() ? "" : " ") + FloatText(v);
    return text;
  }
  if (p.type == "VIEWPORT") {
    std::string text;
    for (float v : p.rect) text += FloatText(v) + " ";
    return text + std::to_string(p.viewportNumber) + " " + p.camera;
  }
  if (p.type == "BOARD" || p.type == "SPRITE") return p.file + counts();
  if (p.type == "MUSIC" || p.type == "FADE") return "-";
  return p.file;
}

}  // namespace

bool BuildCutSceneBinary(const CutSceneData& scene, std::vector<uint8_t>& out, std::string& error) {
  error.clear();
  out.clear();
  Builder check(error);
  plat::ByteWriter w;
  w.Zeros(kReservedSize);
  w.I32(scene.finalFrame);
  w.I32(static_cast<int32_t>(scene.players.size()));
  for (const CutPlayerData& p : scene.players) {
    if (!check.CheckPlayer(p)) return false;
    int32_t type = ActorTypeCode(p.type);
    w.I32(type);
    w.FixedString(p.name, kNameSize);
    if (p.type == "DIALOG" || p.type == "CREATURE" || p.type == "WAVE") {
      w.FixedString(p.file, kNameSize);
    } else if (p.type == "TCAMERA") {
      for (float v : p.cameraValues) w.F32(v);
    } else if (p.type == "VIEWPORT") {
      for (float v : p.rect) w.F32(v);
      w.I32(p.viewportNumber);
      w.FixedString(p.camera, kNameSize);
    } else if (p.type == "BOARD" || p.type == "SPRITE") {
      w.FixedString(p.file, kNameSize);
      for (int32_t c : p.counts) w.I32(c);
    }
    w.I32(static_cast<int32_t>(p.keys.size()));
    for (const CutKeyData& key : p.keys) {
      const KeyLayout* layout = check.CheckKey(key, false);
      if (!layout) return false;
      w.I32(layout->code);
      w.I32(key.frame);
      for (size_t i = 0; i < layout->fields.size(); ++i) {
        const CutValue& v = key.values[i];
        switch (layout->fields[i].kind) {
          case 'i': w.I32(v.i); break;
          case 'f': w.F32(v.f); break;
          default: w.FixedString(v.text, layout->fields[i].size); break;
        }
      }
    }
  }
  out = w.Bytes();
  return true;
}

bool BuildCutSceneText(const CutSceneData& scene, std::string& out, std::string& error) {
  error.clear();
  out.clear();
  Builder check(error);
  std::vector<std::string> lines = {"#VERSION", "1", "#FINALFRAME", std::to_string(scene.finalFrame)};
  for (const CutPlayerData& p : scene.players) {
    if (!check.CheckPlayer(p)) return false;
    if ((p.type == "BOARD" || p.type == "SPRITE") && p.file.empty())
      return check.Fail("the text form cannot say an empty " + p.type + " file name");
    lines.push_back("#PLAYER_START");
    lines.push_back(p.type + (p.name.empty() ? "" : " " + p.name));
    lines.push_back(ParameterLine(p));
    for (const CutKeyData& key : p.keys) {
      const KeyLayout* layout = check.CheckKey(key, true);
      if (!layout) return false;
      lines.push_back("\t\tKEY\t" + key.word + "\t" + std::to_string(key.frame));
      for (const Line& line : layout->lines) lines.push_back(TextLine(line, key));
    }
    lines.push_back("#PLAYER_END");
  }
  for (const std::string& line : lines) {
    if (line.size() > kMaxLine) return check.Fail("line longer than 255 characters: " + line);
    out += line + "\n";
  }
  return true;
}

bool WriteCutSceneBinary(const std::string& path, const CutSceneData& scene, std::string& error) {
  std::vector<uint8_t> bytes;
  return BuildCutSceneBinary(scene, bytes, error) && WriteOutputFile(path, bytes, error);
}

bool WriteCutSceneText(const std::string& path, const CutSceneData& scene, std::string& error) {
  std::string text;
  if (!BuildCutSceneText(scene, text, error)) return false;
  return WriteOutputFile(path, std::vector<uint8_t>(text.begin(), text.end()), error);
}

}  // namespace datagen
