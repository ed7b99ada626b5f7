#include "engine/core/entry.h"

#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/argument_table.h"
#include "engine/core/engine_window.h"
#include "platform/window.h"

int WinMain(int argc, char** argv, GameMainProc gameMain) {
  // Without a display the game would run unseen: a start-up error instead.
  std::string why;
  if (!plat::StartVideo(&why)) {
    std::fprintf(stderr,
                 "tarnwick: cannot open a display (%s); set DISPLAY or WAYLAND_DISPLAY, "
                 "or SDL_VIDEODRIVER=dummy to run without one\n",
                 why.c_str());
    return 1;
  }
  g_mainWindow = 0;
  LoadEngineCursors();
  int registered = RegisterEngineWindowClass();
  std::vector<std::string> arguments = BuildArgumentTable(argc, argv);
  std::vector<char*> table;
  for (std::string& argument : arguments) table.push_back(argument.data());
  table.push_back(nullptr);
  if (gameMain) gameMain(static_cast<int>(arguments.size()), table.data());
  if (registered) UnregisterEngineWindowClass();
  return 0;
}
