#pragma once
#include <string>

#include "ui/dialog_player.h"

class CMenuAgency;
class CGMMsgSender;

// The dialogue box with clicks from the overlay and with choices: an entry's
// first page is a question, each further page an answer (four at most). The
// question is typed, the answers appear under it, the one under the pointer
// lights up and a click on it chooses it.
class CDialogPlayerEx : public CDialogPlayer {
 public:
  static constexpr int kMaxChoices = 4;
  static constexpr int kSenderGroup = 1234;

  explicit CDialogPlayerEx(const char* path);
  ~CDialogPlayerEx() override;

  // Types the question while one is up, else the plain dialogue.
  int Update(int n) override;
  int PostUpdate(int n) override;
  int Close() override;
  int OnAdvance() override;
  int IsActive() override;

  // 0 when the entry does not exist. Clicks come from the agency when given.
  virtual int StartChoice(const char* name, int layoutValue, CMenuAgency* agency, const char* substituteName);
  virtual int StartChoiceDefault(const char* name, CMenuAgency* agency, const char* substituteName);
  // A plain dialogue whose clicks come from the agency when given.
  virtual int StartWithInput(const char* name, int layoutValue, int pageModeValue, int fastValue, CMenuAgency* agency,
                             const char* substituteName);
  virtual int StartWithInputDefault(const char* name, CMenuAgency* agency, const char* substituteName);
  virtual void CloseChoice();
  virtual void BuildChoices();
  virtual void SetChoiceFrame(int x, int y, int width, int height);
  // The overlay's input: a click advances or chooses, a move lights answers.
  virtual int OnChoiceLButtonDown(int x, int y);
  virtual int OnChoiceLButtonUp(int x, int y);
  virtual int OnChoiceMouseMove(int x, int y);

  CGMMsgSender* sender = nullptr;
  int inputBlocked = 0;  // a click does nothing while set
  int choicesReady = 0;
  int choosing = 0;
  HOBJECT choiceBackdrop = 0;
  HOBJECT choicePieces[2] = {};
  HOBJECT choiceSprites[kMaxChoices] = {};
  std::string choiceTexts[kMaxChoices];
  std::string question;
  int questionLength = 0;
  int questionLines = 0;
  int choiceCount = 0;
  int nameIndent = 0;
  int answer = -1;
  int hovered = -1;
  int questionPos = 0;  // read position in question while it is typed
  int choiceBlink = 0;  // 0..29, the answer pieces' shimmer

 private:
  void AttachSender(CMenuAgency* agency);
  // One character of the question; at its end the answers are drawn.
  void TypeQuestionChar();
  void DrawAnswer(int i, int lit);
  void DestroyChoiceFrame();
  void DeleteChoiceSprites();
};
