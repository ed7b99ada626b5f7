#pragma once
#include <memory>
#include <string>

#include "cutscene/actor.h"
#include "cutscene/actor_type.h"

class CDialogPlayerEx;

// Shows entries of a dialogue file in a dialogue box and holds the play while
// the player reads. The box takes its clicks through the game's overlay and is
// run by the actor, not by a society.
class SDialog : public SActor {
 public:
  // The file is looked up in the directory.
  SDialog(const std::string& file, const std::string& directory);
  ~SDialog() override;

  int TypeId() const final { return ACTOR_DIALOG; }
  // Closes the box; the frame shows again, the layout is the bottom strip.
  void Reset() override;
  // Runs the box; counts the stop count down, unblocking clicks once it ran out.
  int Update(int frames) override;

  // Shows an entry as talk or as a choice; substitute may be null. 0 when the
  // entry does not start.
  virtual int Talk(const char* id, const char* substitute);
  virtual int Ask(const char* id, const char* substitute);
  // n frames more with the box's clicks blocked; -1 none.
  virtual void SetStopCount(int n);
  virtual void SetShowFrame(int flag);
  // Components 0..255.
  virtual void SetTextColor(int r, int g, int b);
  virtual void SetTextBackColor(int r, int g, int b);
  // Each value optional; 0 when the box accepted them, else -1.
  virtual int SetLayoutParams(const int* layout, const int* pageMode, const int* fast);
  virtual int SetPosition(int x, int y);
  // 1 while the box is open and no stop count runs.
  virtual int IsWaiting();
  // The chosen answer, -1 when none.
  virtual int GetAnswer();

  CDialogPlayerEx* GetBox() const { return box_.get(); }

 protected:
  // No box, for stand-ins that replace every operation.
  SDialog();

 private:
  std::unique_ptr<CDialogPlayerEx> box_;
  std::string fileName_;
  int stopCount_ = -1;
  int showFrame_ = 1;
};
