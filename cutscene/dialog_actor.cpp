#include "cutscene/dialog_actor.h"

#include "ui/dialog_player_ex.h"
#include "ui/menu_agency.h"

SDialog::SDialog(const std::string& file, const std::string& directory)
    : box_(std::make_unique<CDialogPlayerEx>((directory + "\\" + file).c_str())), fileName_(file) {}

SDialog::SDialog() = default;

SDialog::~SDialog() = default;

void SDialog::Reset() {
  if (box_) {
    box_->Close();
    showFrame_ = 1;
    const int bottom = 0;
    SetLayoutParams(&bottom, nullptr, nullptr);
  }
  stopCount_ = -1;
}

int SDialog::Update(int frames) {
  if (box_) {
    box_->PostUpdate(frames);
    box_->Update(frames);
  }
  if (stopCount_ >= 0) {
    --stopCount_;
  } else if (box_) {
    box_->inputBlocked = 0;
  }
  return 0;
}

int SDialog::Talk(const char* id, const char* substitute) {
  if (!box_) return 0;
  const int started = box_->StartWithInputDefault(id, &g_menuAgency, substitute);
  box_->ShowFrame(showFrame_);
  return started;
}

int SDialog::Ask(const char* id, const char* substitute) {
  if (!box_) return 0;
  const int started = box_->StartChoiceDefault(id, &g_menuAgency, substitute);
  box_->ShowFrame(showFrame_);
  return started;
}

void SDialog::SetStopCount(int n) {
  stopCount_ = n;
  if (box_) box_->inputBlocked = 1;
}

void SDialog::SetShowFrame(int flag) { showFrame_ = flag; }

void SDialog::SetTextColor(int r, int g, int b) {
  if (!box_) return;
  box_->red = r & 0xFF;
  box_->green = g & 0xFF;
  box_->blue = b & 0xFF;
}

void SDialog::SetTextBackColor(int r, int g, int b) {
  if (!box_) return;
  box_->look.smoothRed = r & 0xFF;
  box_->look.smoothGreen = g & 0xFF;
  box_->look.smoothBlue = b & 0xFF;
}

int SDialog::SetLayoutParams(const int* layout, const int* pageMode, const int* fast) {
  return box_ && box_->SetDefaults(layout, pageMode, fast) == 1 ? 0 : -1;
}

int SDialog::SetPosition(int x, int y) { return box_ && box_->SetPosition(x, y) == 1 ? 0 : -1; }

int SDialog::IsWaiting() { return box_ && box_->IsActive() && stopCount_ < 0 ? 1 : 0; }

int SDialog::GetAnswer() { return box_ ? box_->answer : -1; }
