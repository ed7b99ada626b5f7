#include "ui/gm_msg_sender.h"

#include "ui/dialog_player_ex.h"

int CGMMsgSender::Update(int) { return 0; }

int CGMMsgSender::HitTest(int, int) { return 1; }

int CGMMsgSender::OnLButtonDown(int x, int y) { return target ? target->OnChoiceLButtonDown(x, y) : 0; }

int CGMMsgSender::OnLButtonUp(int x, int y) { return target ? target->OnChoiceLButtonUp(x, y) : 0; }

int CGMMsgSender::OnMouseMove(int x, int y) { return target ? target->OnChoiceMouseMove(x, y) : 0; }

void CGMMsgSender::SetTarget(CDialogPlayerEx* box) { target = box; }
