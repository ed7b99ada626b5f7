#pragma once
#include <filesystem>
#include <string>
#include <vector>

// Tokens of the talk markup.
enum : int {
  TALK_END = 0,
  KEY_talk = 258,
  KEY_begindefine = 259,
  KEY_enddefine = 260,
  KEY_sl = 261,
  KEY_rl,
  KEY_ol,
  KEY_li,
  KEY_aname,
  KEY_func,
  KEY_link,
  KEY_speaker,
  KEY_event,
  KEY_pevent,
  KEY_audio,
  KEY_pose,
  KEY_position,
  KEY_size,
  KEY_font,
  KEY_fontsize,
  KEY_fontcolor,
  KEY_speakercolor,
  KEY_int,
  KEY_color,
  KEY_bgcolor,
  KEY_selectedcolor,
  KEY_opaque,
  KEY_vector3,
  KEY_vector2,
  KEY_fontxstep,
  KEY_fontystep,
  KEY_linexstep,
  KEY_lineystep,
  KEY_header,
  KEY_headerspace,
  KEY_string,
  KEY_script,
  KEY_switch,
  KEY_if,
  KEY_speed,
  KEY_highlight,
  KEY_endtag = 298,
  KEY_border = 299,
  DATA_string = 300,
  DATA_number = 301,
};

struct TALKKEYWORDDESC {
  char name[20];
  int token;
};

// The 42 keywords; several names share a token (li/list, speaker/sp, string/str).
extern const TALKKEYWORDDESC g_talkKeywords[42];

// Lower-cases word in place and answers its keyword token, 0 for none.
int LookupTalkKeyword(std::string& word);

struct TalkToken {
  int type = TALK_END;
  std::string text;  // DATA_string
  float number = 0;  // DATA_number
};

// Cuts the markup into tokens. It reads the file on top of its include
// stack: an include line pushes the named file, and the end of an included
// file ends the token being read and carries on with the next character of
// the file that included it, in the same start condition. One load opens at
// most 256 include files and reads at most 64 MB. Characters no rule accepts
// are reported to DebugTrace and skipped.
class CTalkScanner {
 public:
  // Starts with the outermost file; false when it cannot be read.
  bool Open(const std::string& path);
  TalkToken Next();

  // Files still on the include stack; 0 once the input has ended.
  size_t OpenFileCount() const { return includes_.size(); }
  // The input ended inside a tag, comment, include line or define block.
  bool EndedInsideMarkup() const { return endedInside_; }
  // Include files that could not be read, as load-error texts.
  const std::vector<std::string>& IncludeFailures() const { return includeFailures_; }

 private:
  enum StartCondition { ST_TOP, ST_TAG, ST_ENDTAG, ST_COMMENT, ST_INCLUDE, ST_TEXT, ST_NUMBERS, ST_DEFINE };

  struct IncludeRecord {
    std::string name;
    std::filesystem::path canonical;
    std::string text;
    size_t pos = 0;
  };

  // The character k places ahead in the current file, -1 past its end.
  int Peek(size_t k) const;
  int Get();
  // Drops an included file read to its end; false when there is none.
  bool PopFinishedInclude();
  void Skip(size_t n);
  std::string Take(size_t n);

  std::string ReadWord();
  // A double-quoted text; false (nothing read) when it has no closing quote.
  bool ReadQuoted(std::string& text);
  size_t MatchNumber() const;
  // "<" or "</", blanks, define in any case, blanks, ">"; 0 when it does not match.
  size_t MatchDefineTag(bool closing) const;
  bool MatchText(const char* literal) const;

  TalkToken ReadText();
  void OpenInclude(const std::string& name);
  bool ReadMarkupFile(const std::string& name, IncludeRecord& record);

  std::vector<IncludeRecord> includes_;
  StartCondition state_ = ST_TOP;
  bool endedInside_ = false;
  std::vector<std::string> includeFailures_;
  int includeOpenings_ = 0;
  size_t bytesRead_ = 0;
  bool includeLimitReached_ = false;
};
