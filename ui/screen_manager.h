#pragma once

// A message text of the game resource by number; null without a message table.
const char* GetMessageString(int n);
