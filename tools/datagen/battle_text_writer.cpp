#include "tools/datagen/battle_text_writer.h"

#include <strings.h>

#include <charconv>
#include <cmath>
#include <initializer_list>

#include "platform/files.h"

namespace datagen {
namespace {

constexpr size_t kMaxLine = 1023;
constexpr size_t kMaxWord = 127;
// "Info.txt" and the ids of "HitVertice.txt" live in 64-byte fields.
constexpr size_t kMaxShortWord = 63;
// "HitVertice.txt" is read as lines of 256 characters.
constexpr size_t kMaxHitLine = 255;

// Collects lines and the first problem found.
class TextOut {
 public:
  explicit TextOut(size_t maxLine) : maxLine_(maxLine) {}

  TextOut& Word(const std::string& word) {
    if (!line_.empty()) line_ += ' ';
    line_ += word;
    return *this;
  }
  TextOut& Int(int value) { return Word(std::to_string(value)); }
  TextOut& Float(float value) {
    if (!std::isfinite(value)) return Fail("a number is not finite");
    char buffer[160];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (result.ec != std::errc()) return Fail("a number does not fit a line");
    return Word(std::string(buffer, result.ptr));
  }
  void End() {
    if (line_.size() > maxLine_) Fail("line longer than " + std::to_string(maxLine_) + " bytes");
    text_ += line_;
    text_ += '\n';
    line_.clear();
  }
  void Line(const std::string& line) {
    Word(line);
    End();
  }
  TextOut& Fail(const std::string& why) {
    if (error_.empty()) error_ = why;
    return *this;
  }

  bool Save(const std::string& path, std::string& error) const {
    if (!error_.empty()) {
      error = path + ": " + error_;
      return false;
    }
    if (!plat::WriteFileAtomic(path, text_.data(), text_.size())) {
      error = "cannot write " + path;
      return false;
    }
    return true;
  }

 private:
  size_t maxLine_;
  std::string line_;
  std::string text_;
  std::string error_;
};

bool HasBlank(const std::string& word) {
  for (char c : word)
    if (static_cast<unsigned char>(c) <= 32) return true;
  return false;
}

// Why word cannot stand as one token of a block file, or null.
const char* BadBlockWord(const std::string& word, size_t maxLength, std::initializer_list<const char*> reserved) {
  if (word.empty()) return "empty word";
  if (word.size() > maxLength) return "word too long";
  if (HasBlank(word)) return "word holds a blank";
  if (word.find("//") != std::string::npos || word.find(';') != std::string::npos) return "word holds a remark symbol";
  for (const char* mark : reserved)
    if (strcasecmp(word.c_str(), mark) == 0) return "word equals a block mark";
  return nullptr;
}

bool IsExpressionText(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text)
    if (!((c >= '0' && c <= '9') || c == '(' || c == ')' || c == '!' || c == '-' || c == '+' || c == '&' || c == '|'))
      return false;
  return true;
}

}  // namespace

bool WriteAiTable(const std::string& path, const std::vector<AiRow>& rows, std::string& error) {
  TextOut out(kMaxLine);
  out.Line("// behaviour switches 1 to 13 per enemy model (1 on)");
  out.Line("#BEGIN_STY");
  for (const AiRow& row : rows) {
    if (const char* why = BadBlockWord(row.name, kMaxWord, {"#BEGIN_STY", "#END_STY"}))
      out.Fail(std::string("enemy name: ") + why);
    out.Word(row.name);
    for (int value : row.switches) out.Int(value);
    out.End();
  }
  out.Line("#END_STY");
  return out.Save(path, error);
}

bool WriteBattleScript(const std::string& path, const BattleScript& script, std::string& error) {
  TextOut out(kMaxLine);
  out.Line("// condition items: number subject test comparison value");
  out.Line("begin-script-item");
  int n = 0;
  for (const ScriptItemRow& r : script.items)
    out.Int(n++).Int(r.subject).Int(r.test).Int(r.comparison).Int(r.value).End();
  out.Line("end-script-item");
  out.Line("// limits: number battle subject code value");
  out.Line("begin-script-limit");
  n = 0;
  for (const ScriptLimitRow& r : script.limits)
    out.Int(n++).Int(r.battleId).Int(r.subject).Int(r.code).Int(r.value).End();
  out.Line("end-script-limit");
  out.Line("// expressions: number battle kind (1 win) expression");
  out.Line("begin-script-exp");
  n = 0;
  for (const ScriptExpRow& r : script.expressions) {
    if (!IsExpressionText(r.text) || r.text.size() > kMaxWord)
      out.Fail("expression \"" + r.text + "\" is not one word of item numbers and operators");
    out.Int(n++).Int(r.battleId).Int(r.kind).Word(r.text).End();
  }
  out.Line("end-script-exp");
  return out.Save(path, error);
}

bool WriteThrowData(const std::string& path, const std::vector<ThrowRecord>& records, std::string& error) {
  TextOut out(kMaxLine);
  out.Line("// count level, then count positions x y z");
  out.Line("begin_throw");
  for (const ThrowRecord& r : records) {
    out.Int(static_cast<int>(r.positions.size())).Int(r.level).End();
    for (const auto& p : r.positions) out.Float(p[0]).Float(p[1]).Float(p[2]).End();
  }
  out.Line("end_throw");
  return out.Save(path, error);
}

bool WriteInfoNames(const std::string& path, const std::vector<std::string>& names, std::string& error) {
  TextOut out(kMaxLine);
  for (const std::string& name : names) {
    if (name.empty() || name.size() > kMaxShortWord || HasBlank(name))
      out.Fail("name \"" + name + "\" is not one word of 1 to 63 bytes");
    else if (name[0] == '#' || name[0] == ';') out.Fail("name \"" + name + "\" would start a comment");
    out.Line(name);
  }
  return out.Save(path, error);
}

bool WriteHitVertices(const std::string& path, const std::vector<HitVertexRow>& rows, std::string& error) {
  TextOut out(kMaxHitLine);
  out.Line("#Describle");
  out.Word("HitVertice").Int(static_cast<int>(rows.size())).End();
  out.Line("#Begin");
  for (const HitVertexRow& row : rows) {
    if (row.id.empty() || row.id.size() > kMaxShortWord || HasBlank(row.id))
      out.Fail("id \"" + row.id + "\" is not one word of 1 to 63 bytes");
    out.Word(row.id);
    for (float v : row.values) out.Float(v);
    out.End();
  }
  out.Line("#EndDescrible");
  return out.Save(path, error);
}

bool WriteCameraControllers(const std::string& path, const std::vector<qmz::CAMERACONTROLDESC>& shots,
                            std::string& error) {
  using qmz::CCameraController;
  TextOut out(kMaxLine);
  out.Line("// id length key-count, then per key: frame, eye x y z, look-at x y z, roll");
  out.Line(CCameraController::kBeginMark);
  for (const qmz::CAMERACONTROLDESC& shot : shots) {
    if (shot.length < 1) out.Fail("camera shot " + std::to_string(shot.id) + " has no frames");
    if (shot.keys.empty() || shot.keys.size() > static_cast<size_t>(CCameraController::kMaxKeys))
      out.Fail("camera shot " + std::to_string(shot.id) + " has a bad key count");
    out.Int(shot.id).Int(shot.length).Int(static_cast<int>(shot.keys.size())).End();
    for (const qmz::CAMERAKEYDESC& key : shot.keys) {
      float dx = key.eye[0] - key.lookAt[0], dy = key.eye[1] - key.lookAt[1], dz = key.eye[2] - key.lookAt[2];
      if (dx * dx + dy * dy + dz * dz < 1e-6f)
        out.Fail("camera shot " + std::to_string(shot.id) + " has its eye on its look-at point");
      out.Int(key.frame);
      for (float v : key.eye) out.Float(v);
      for (float v : key.lookAt) out.Float(v);
      out.Float(key.roll).End();
    }
  }
  out.Line(CCameraController::kEndMark);
  return out.Save(path, error);
}

}  // namespace datagen
