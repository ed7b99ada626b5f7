#include "engine/core/entry.h"

#include <string>
#include <vector>

#include "engine/core/argument_table.h"
#include "engine/core/engine_window.h"

int WinMain(int argc, char** argv) {
  g_mainWindow = 0;
  LoadEngineCursors();
  int registered = RegisterEngineWindowClass();
  std::vector<std::string> arguments = BuildArgumentTable(argc, argv);
  std::vector<char*> table;
  for (std::string& argument : arguments) table.push_back(argument.data());
  table.push_back(nullptr);
  GameMain(static_cast<int>(arguments.size()), table.data());
  if (registered) UnregisterEngineWindowClass();
  return 0;
}
