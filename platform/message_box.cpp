#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>

#include "platform/window_native.h"

namespace plat {
namespace {
MessageBoxHook g_hook;
}

int ShowMessageBox(const std::string& title, const std::string& text) {
  if (g_hook) return g_hook(title, text);
  // The terminal keeps what the box said after it is gone.
  if (title.empty()) std::fprintf(stderr, "%s\n", text.c_str());
  else std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  if (!native::HeadlessVideo()) SDL_ShowSimpleMessageBox(0, title.c_str(), text.c_str(), nullptr);
  return kIdOk;
}

void SetMessageBoxHook(MessageBoxHook hook) { g_hook = std::move(hook); }

}  // namespace plat
