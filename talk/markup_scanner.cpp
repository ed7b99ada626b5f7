#include "talk/markup_scanner.h"

#include <cstring>
#include <system_error>

#include "base/debug_trace.h"
#include "platform/files.h"
#include "talk/talk_text.h"

namespace {

// Deepest chain of include files; deeper ones are refused.
constexpr size_t kMaxIncludeDepth = 16;
// Most include files opened by one load, and most bytes read by it: files
// that include each other many times over stay cheap to refuse.
constexpr int kMaxIncludeOpenings = 256;
constexpr size_t kMaxMarkupBytes = 64u * 1024u * 1024u;

bool IsLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsBlank(int c) { return c == ' ' || c == '\t' || c == '\r'; }
bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Of each run of white space only its last character stays; a run at the end goes.
std::string FoldWhitespace(const std::string& raw) {
  std::string out;
  char pending = 0;
  for (char c : raw) {
    if (IsWhite(c)) {
      pending = c;
      continue;
    }
    if (pending) out.push_back(pending);
    pending = 0;
    out.push_back(c);
  }
  return out;
}

}  // namespace

const TALKKEYWORDDESC g_talkKeywords[42] = {
    {"talk", KEY_talk},
    {"sl", KEY_sl},
    {"rl", KEY_rl},
    {"ol", KEY_ol},
    {"li", KEY_li},
    {"list", KEY_li},
    {"aname", KEY_aname},
    {"func", KEY_func},
    {"link", KEY_link},
    {"speaker", KEY_speaker},
    {"sp", KEY_speaker},
    {"event", KEY_event},
    {"pevent", KEY_pevent},
    {"audio", KEY_audio},
    {"pose", KEY_pose},
    {"position", KEY_position},
    {"size", KEY_size},
    {"font", KEY_font},
    {"fontsize", KEY_fontsize},
    {"fontcolor", KEY_fontcolor},
    {"speakercolor", KEY_speakercolor},
    {"int", KEY_int},
    {"color", KEY_color},
    {"bgcolor", KEY_bgcolor},
    {"selectedcolor", KEY_selectedcolor},
    {"opaque", KEY_opaque},
    {"vector3", KEY_vector3},
    {"vector2", KEY_vector2},
    {"fontxstep", KEY_fontxstep},
    {"fontystep", KEY_fontystep},
    {"linexstep", KEY_linexstep},
    {"lineystep", KEY_lineystep},
    {"header", KEY_header},
    {"headerspace", KEY_headerspace},
    {"string", KEY_string},
    {"str", KEY_string},
    {"script", KEY_script},
    {"switch", KEY_switch},
    {"if", KEY_if},
    {"speed", KEY_speed},
    {"highlight", KEY_highlight},
    {"border", KEY_border},
};

int LookupTalkKeyword(std::string& word) {
  LowerAscii(word);
  for (const TALKKEYWORDDESC& k : g_talkKeywords)
    if (word == k.name) return k.token;
  return 0;
}

bool CTalkScanner::ReadMarkupFile(const std::string& name, IncludeRecord& record) {
  auto resolved = plat::ResolvePath(name);
  std::error_code ec;
  if (!resolved || !std::filesystem::is_regular_file(*resolved, ec)) return false;
  std::vector<uint8_t> bytes;
  if (!plat::ReadWholeFile(name, bytes, kMaxMarkupBytes - bytesRead_)) return false;
  bytesRead_ += bytes.size();
  record.name = name;
  record.canonical = std::filesystem::weakly_canonical(*resolved, ec);
  if (ec) record.canonical = std::filesystem::absolute(*resolved, ec);
  // Read as a text file: CR LF becomes LF.
  record.text.clear();
  record.text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    record.text.push_back(static_cast<char>(bytes[i]));
  }
  record.pos = 0;
  return true;
}

bool CTalkScanner::Open(const std::string& path) {
  includes_.clear();
  includeFailures_.clear();
  state_ = ST_TOP;
  endedInside_ = false;
  includeOpenings_ = 0;
  bytesRead_ = 0;
  includeLimitReached_ = false;
  IncludeRecord record;
  if (!ReadMarkupFile(path, record)) return false;
  includes_.push_back(std::move(record));
  return true;
}

void CTalkScanner::OpenInclude(const std::string& name) {
  int64_t size = plat::FileSize(name);
  if (includeOpenings_ >= kMaxIncludeOpenings ||
      (size > 0 && static_cast<uint64_t>(size) > kMaxMarkupBytes - bytesRead_)) {
    DebugTrace("include limit reached at %s", name.c_str());
    if (!includeLimitReached_) includeFailures_.push_back("Include limit reached at " + name);
    includeLimitReached_ = true;
    return;
  }
  ++includeOpenings_;
  IncludeRecord record;
  if (!ReadMarkupFile(name, record)) {
    DebugTrace("Can't find include file %s", name.c_str());
    includeFailures_.push_back("Can't find include file " + name);
    return;
  }
  for (const IncludeRecord& open : includes_) {
    if (open.canonical == record.canonical) {
      DebugTrace("recusive include file %s", name.c_str());
      return;
    }
  }
  if (includes_.size() >= kMaxIncludeDepth) {
    DebugTrace("include file %s nested too deeply", name.c_str());
    includeFailures_.push_back("Include file " + name + " nested too deeply");
    return;
  }
  includes_.push_back(std::move(record));
}

int CTalkScanner::Peek(size_t k) const {
  if (includes_.empty()) return -1;
  const IncludeRecord& r = includes_.back();
  return k < r.text.size() - r.pos ? static_cast<unsigned char>(r.text[r.pos + k]) : -1;
}

int CTalkScanner::Get() {
  int c = Peek(0);
  if (c >= 0) ++includes_.back().pos;
  return c;
}

bool CTalkScanner::PopFinishedInclude() {
  if (includes_.size() < 2 || Peek(0) >= 0) return false;
  includes_.pop_back();
  return true;
}

void CTalkScanner::Skip(size_t n) {
  while (n-- > 0) Get();
}

std::string CTalkScanner::Take(size_t n) {
  std::string s;
  s.reserve(n);
  while (n-- > 0) {
    int c = Get();
    if (c < 0) break;
    s.push_back(static_cast<char>(c));
  }
  return s;
}

std::string CTalkScanner::ReadWord() {
  size_t n = 1;
  while (IsLetter(Peek(n)) || IsDigit(Peek(n))) ++n;
  return Take(n);
}

bool CTalkScanner::ReadQuoted(std::string& text) {
  size_t close = 1;
  for (;; ++close) {
    int c = Peek(close);
    if (c < 0) return false;
    if (c == '"') break;
  }
  Skip(1);
  text = Take(close - 1);
  Skip(1);
  return true;
}

size_t CTalkScanner::MatchNumber() const {
  size_t i = (Peek(0) == '+' || Peek(0) == '-') ? 1 : 0;
  size_t digits = i;
  while (IsDigit(Peek(digits))) ++digits;
  if (digits > i) {
    i = digits;
    if (Peek(i) == '.') {
      ++i;
      while (IsDigit(Peek(i))) ++i;
    }
    return i;
  }
  if (Peek(i) == '.' && IsDigit(Peek(i + 1))) {
    i += 2;
    while (IsDigit(Peek(i))) ++i;
    return i;
  }
  return 0;
}

size_t CTalkScanner::MatchDefineTag(bool closing) const {
  size_t i = 0;
  if (Peek(i++) != '<') return 0;
  if (closing && Peek(i++) != '/') return 0;
  while (IsBlank(Peek(i))) ++i;
  for (const char* w = "define"; *w; ++w, ++i) {
    int c = Peek(i);
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    if (c != *w) return 0;
  }
  while (IsBlank(Peek(i))) ++i;
  return Peek(i) == '>' ? i + 1 : 0;
}

bool CTalkScanner::MatchText(const char* literal) const {
  for (size_t i = 0; literal[i]; ++i)
    if (Peek(i) != static_cast<unsigned char>(literal[i])) return false;
  return true;
}

TalkToken CTalkScanner::ReadText() {
  std::string raw;
  for (int c = Peek(0); c >= 0 && c != '<'; c = Peek(0)) raw.push_back(static_cast<char>(Get()));
  state_ = ST_TOP;
  return {DATA_string, FoldWhitespace(raw), 0};
}

TalkToken CTalkScanner::Next() {
  for (;;) {
    // A token never runs across the end of a file: the end of an included
    // file ends it, and reading goes on in the file that included it.
    if (PopFinishedInclude()) continue;
    int c = Peek(0);
    if (c < 0) {
      if (!includes_.empty() && state_ != ST_TOP && state_ != ST_TEXT) endedInside_ = true;
      includes_.clear();
      return {};
    }
    switch (state_) {
      case ST_TOP:
        if (c == '<') {
          if (size_t n = MatchDefineTag(false)) {
            Skip(n);
            state_ = ST_DEFINE;
            return {KEY_begindefine, {}, 0};
          }
          if (Peek(1) == '/') {
            Skip(2);
            state_ = ST_ENDTAG;
            return {KEY_endtag, {}, 0};
          }
          if (Peek(1) == '!') {
            Skip(2);
            state_ = ST_COMMENT;
            continue;
          }
          Skip(1);
          state_ = ST_TAG;
          return {'<', {}, 0};
        }
        if (MatchText("#include")) {
          Skip(std::strlen("#include"));
          state_ = ST_INCLUDE;
          continue;
        }
        if (IsBlank(c) || c == '\n') {
          Skip(1);
          continue;
        }
        state_ = ST_TEXT;
        continue;

      case ST_TEXT: return ReadText();

      case ST_TAG: {
        if (IsLetter(c)) {
          std::string word = ReadWord();
          int keyword = LookupTalkKeyword(word);
          if (keyword) return {keyword, {}, 0};
          return {DATA_string, word, 0};
        }
        std::string quoted;
        if (c == '"' && ReadQuoted(quoted)) return {DATA_string, quoted, 0};
        Skip(1);
        if (IsBlank(c) || c == '\n') continue;
        if (c == '=') return {'=', {}, 0};
        if (c == '>') {
          state_ = ST_TOP;
          return {'>', {}, 0};
        }
        if (c == '(') {
          state_ = ST_NUMBERS;
          continue;
        }
        DebugTrace("Unknown token %c\n", c);
        continue;
      }

      case ST_NUMBERS:
        if (size_t n = MatchNumber()) return {DATA_number, {}, TextToFloat(Take(n))};
        Skip(1);
        if (IsBlank(c) || c == ',' || c == '\n') continue;
        if (c != ')') DebugTrace("Unknown token %c", c);
        state_ = ST_TAG;
        continue;

      case ST_ENDTAG:
        if (IsLetter(c)) {
          std::string word = ReadWord();
          int keyword = LookupTalkKeyword(word);
          if (keyword) return {keyword, {}, 0};
          DebugTrace("Unknown token %s", word.c_str());
          continue;
        }
        Skip(1);
        if (c == '>') {
          state_ = ST_TOP;
          return {'>', {}, 0};
        }
        if (!IsBlank(c) && c != '\n') DebugTrace("Unknown token %c\n", c);
        continue;

      case ST_COMMENT:
        Skip(1);
        if (c == '>') state_ = ST_TOP;
        continue;

      case ST_INCLUDE: {
        std::string name;
        if (c == '"' && ReadQuoted(name)) {
          state_ = ST_TOP;
          OpenInclude(name);
          continue;
        }
        Skip(1);
        if (IsBlank(c) || c == '\n') continue;
        DebugTrace("Unknown token %c", c);
        state_ = ST_TOP;
        continue;
      }

      case ST_DEFINE: {
        if (IsLetter(c)) {
          std::string word = ReadWord();
          int keyword = LookupTalkKeyword(word);
          if (keyword) return {keyword, {}, 0};
          return {DATA_string, word, 0};
        }
        if (size_t n = MatchNumber()) return {DATA_number, {}, TextToFloat(Take(n))};
        if (size_t n = MatchDefineTag(true)) {
          Skip(n);
          state_ = ST_TOP;
          return {KEY_enddefine, {}, 0};
        }
        std::string quoted;
        if (c == '"' && ReadQuoted(quoted)) return {DATA_string, quoted, 0};
        Skip(1);
        if (IsBlank(c) || c == '\n' || c == '(' || c == ')' || c == ';' || c == ',') continue;
        if (c == '=') return {'=', {}, 0};
        DebugTrace("Unknown token %c", c);
        continue;
      }
    }
  }
}
