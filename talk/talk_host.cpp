#include "talk/talk_host.h"

#include <string>

#include "base/debug_trace.h"

CTalkHost::CTalkHost(int width, int height, TalkSysProc procedure)
    : screenWidth(width), screenHeight(height), sysProc(procedure) {}

CTalkHost::~CTalkHost() = default;

int CTalkHost::Load(const char* name) {
  const std::string path = std::string("resource/") + (name ? name : "");
  if (!player) player = std::make_unique<CTalkPlayer>();
  player->SetScreen(screenWidth, screenHeight);
  SetTalkSysProc(sysProc);
  const int loaded = player->Load(path);
  if (!loaded)
    for (const std::string& error : player->errors) DebugTrace("Talk: %s\n", error.c_str());
  return loaded;
}

CBaseListContainer* CTalkHost::StartTalk(const char* name) {
  CBaseListContainer* node = player ? player->StartTalk(name ? name : "") : nullptr;
  // A talk that is not there leaves the player idle: the next poll ends it.
  talking = 1;
  if (!node) DebugTrace("Talk: no talk named %s\n", name ? name : "");
  return node;
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
