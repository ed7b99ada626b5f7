#pragma once
#include <string>

#include "engine/core/handles.h"
#include "talk/base_talk_player.h"

// Virtual-key codes the window answers.
enum : int {
  TALKKEY_RETURN = 0x0D,
  TALKKEY_UP = 0x26,
  TALKKEY_DOWN = 0x28,
};

// The game's talk window: a translucent frame behind a full-screen text
// sprite into which sentences are typed glyph by glyph (speaker, header,
// inline codes, Big5, wrapping, pages) and option menus are drawn, under the
// mouse and the keys. Layout values of the markup are for the 800 x 600
// reference screen and scaled by xScale and yScale.
class CTalkPlayer : public CBaseTalkPlayer {
 public:
  CTalkPlayer() = default;
  ~CTalkPlayer() override;

  // Also (re)creates the frame quad, its material and the text sprite, hidden.
  void SetScreen(int width, int height) override;
  void ShowSentence() override;
  // Frees the sentence's voice.
  void EndSentence() override;
  // Draws the question (when the list has one) and the enabled options, the
  // one at selected highlighted; a negative index clears the text first.
  void ShowOptions(int selected) override;
  // Also clears the text and hides the window.
  void End() override;
  // 10 while paused; otherwise steps and types; answers the state.
  int Update() override;
  void OnClick(int x, int y) override;
  // Hide and show the window when a menu or a sentence is up.
  void Pause() override;
  void Resume() override;
  // In a menu, the first option rectangle holding the point is selected.
  virtual void MouseOver(int x, int y);
  // Return, up and down (virtual-key codes).
  virtual void OnKey(int code);

  // Shows or hides the frame and the text sprite, each by its own flag.
  void ShowWindow(int frame, int text);

  HOBJECT textSprite = 0;
  HOBJECT frameNode = 0;
  HOBJECT frameMaterial = 0;
  int textLength = 0;
  int typedCount = 0;
  float penX = 0;
  float penY = 0;           // baseline row
  float typeInterval = -1;  // seconds per glyph; -1 types at once
  int textColor[3] = {255, 255, 255};
  int shadowColor[3] = {0, 0, 0};
  int glyphWidth = 0;
  int glyphHeight = 0;
  std::string textBuffer;

 private:
  void DestroyObjects();
  void ClearText();
  void LayoutFrame(const TalkStyle& style);
  void SetFont(const TalkStyle& style);
  // Glyph size and the pen at the first line of the style's text area.
  void PlacePen(const TalkStyle& style);
  // Starts typing text with the style; the first headerBytes are the
  // speaker and header.
  void BeginText(const TalkStyle& style, std::string text, int headerBytes);
  // Lays out the frame for the sentence and types its speaker and header;
  // the glyphs after them take its font colour.
  void OpenSentenceText(const CSentence& sentence);
  // Types one glyph (after any inline codes before it). Holds stop typing
  // in state 9 unless ignored. False when nothing more can be typed now.
  bool TypeGlyph(bool ignoreHolds);
  // Types up to byte end, or the whole text, while the state allows.
  void TypeUpTo(int end, bool ignoreHolds);
  // Reads the inline code at the backslash at; false when it is not a code.
  bool ReadCode(int at, bool ignoreHolds);
  void LineBreak(const TalkStyle& style, bool mayFillPage);
  void NextPage();
  void DrawOption(int position, int selected);

  TalkStyle style_;                      // of the text being typed
  int resetColor_[3] = {255, 255, 255};  // what a reset code returns to
  int headerBytes_ = 0;                  // speaker and header length, for continuation lines
};
