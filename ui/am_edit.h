#pragma once
#include "ui/am_text.h"

// A one-field text entry. A press inside starts editing (the text in the
// editing colour with "_" after it), Enter or a press outside ends it (the
// idle colour, smoothed). Typed Big5 arrives byte by byte: a lead byte waits
// unseen for its trail byte. Every character taken posts kAmmEditChar.
class CAmEdit : public CAmText {
 public:
  struct Colour {
    int red, green, blue;
  };

  CAmEdit(int width, int height, CAmObject* parent);

  void BeginEdit();
  // The editing or idle look, drawn at once.
  void Refresh(int editing);

  void OnLButtonDown(int x, int y) override;
  // Only while enabled and editing. Backspace removes the last character,
  // Enter ends editing; both first drop a lead byte still waiting. A byte
  // that cannot follow a waiting lead byte drops it too. Code 0 is ignored.
  int OnChar(int code) override;

  int enabled = 1;
  int editing = 0;
  int pending = 0;  // a lead byte waits at the end of the text
  Colour editingColour{200, 0, 50};
  Colour idleColour{0, 0, 10};

 private:
  // Bytes left for typing.
  int Room() const;
  void DropPending();
  void RemoveLastCharacter();
  void TakeByte(int code);
};
