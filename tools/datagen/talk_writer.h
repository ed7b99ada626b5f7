#pragma once
#include <string>
#include <utility>
#include <vector>

// Talk markup: "talk.pt" in the resource folder and the files it includes.
namespace datagen {

// An attribute of a talk element or of the define block: a text, given in
// UTF-8 and written in Big5 between quotes (so its case is kept), or numbers,
// written in parentheses.
struct TalkAttr {
  std::string name;
  std::string text;
  std::vector<float> numbers;
  bool isNumbers = false;
};
TalkAttr TextAttr(std::string name, std::string utf8);
TalkAttr NumberAttr(std::string name, std::vector<float> numbers);

// UTF-8 to Big5 (code page 950); false when a character has no Big5 form.
bool Utf8ToBig5(const std::string& utf8, std::string& big5);

// Builds one markup file element by element. The first problem (a text
// without a Big5 form, a quote inside a quoted value, a '<' in a sentence, a
// '>' in a comment, an unbalanced Close) is kept and the file is not written.
class TalkWriter {
 public:
  void Include(const std::string& fileName);
  // <define> with int variables and root attributes.
  void Define(const std::vector<std::pair<std::string, int>>& ints, const std::vector<TalkAttr>& defaults);
  // <string>: a named text that sentences use as "##name".
  void String(const std::string& name, const std::string& utf8);
  void Comment(const std::string& text);

  // element: "talk", "sl", "rl", "ol" or "li".
  void Open(const std::string& element, const std::vector<TalkAttr>& attrs = {});
  void Text(const std::string& utf8);
  void Close();
  // <li attrs>text</li>
  void Sentence(const std::vector<TalkAttr>& attrs, const std::string& utf8);

  bool Ok() const { return error_.empty(); }
  const std::string& Error() const { return error_; }
  const std::string& Markup() const { return markup_; }
  // Writes the markup to path, creating its folder.
  bool Write(const std::string& path, std::string& error) const;

 private:
  void Fail(const std::string& message);
  // The value in quotes, in Big5; empty with a failure when it cannot be.
  std::string Quoted(const std::string& utf8);
  std::string Attributes(const std::vector<TalkAttr>& attrs, const char* assign);

  std::string markup_;
  std::vector<std::string> open_;
  std::string error_;
};

}  // namespace datagen
