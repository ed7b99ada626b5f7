#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>

namespace plat {
namespace {
MessageBoxHook g_hook;
}

int ShowMessageBox(const std::string& title, const std::string& text) {
  if (g_hook) return g_hook(title, text);
  const char* driver = SDL_GetCurrentVideoDriver();
  bool headless = driver == nullptr || SDL_strcmp(driver, "dummy") == 0 ||
                  SDL_strcmp(driver, "offscreen") == 0;
  if (headless || SDL_ShowSimpleMessageBox(0, title.c_str(), text.c_str(), nullptr) != 0)
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  return kIdOk;
}

void SetMessageBoxHook(MessageBoxHook hook) { g_hook = std::move(hook); }

}  // namespace plat
