#include "talk/talk_host.h"

#include <string>

#include "talk/talk_sys_proc.h"

CTalkHost::CTalkHost(int width, int height) : screenWidth(width), screenHeight(height) {}

CTalkHost::~CTalkHost() = default;

int CTalkHost::Load(const char* name) {
  const std::string path = std::string("resource/") + (name ? name : "");
  if (!player) player = std::make_unique<CTalkPlayer>();
  player->SetScreen(screenWidth, screenHeight);
  SetTalkSysProc(GameTalkSysProc);
  return player->Load(path);
}

CBaseListContainer* CTalkHost::StartTalk(const char* name) {
  talking = 1;
  return player ? player->StartTalk(name ? name : "") : nullptr;
}

int CTalkHost::Update() {
  if (player) lastState = player->Update();
  if (!windowShown) {
    ShowWindow(1, 1);
    windowShown = 1;
  }
  if (lastState == TALKSTATE_IDLE) {
    talking = 0;
    ShowWindow(0, 0);
  }
  return talking;
}

void CTalkHost::ShowWindow(int frame, int text) {
  if (player) player->ShowWindow(frame, text);
}
