#pragma once

// The walk keys held down, as a direction mask for CFieldWalker::Step:
// 1 forward, 8 back, 4 left, 2 right.
extern int g_walkKeyMask;

// The walker command the mask asks for: 2 stand, 3 forward, 4 left, 5 right,
// 6 back; opposite keys cancel unless the other axis decides.
int WalkCommandOfMask(int mask);
// The field key handler (Shift hands every key to the console).
void OnGameKey(int key, int down);

// The field's, the talk's, the world map's and the script's hooks.
void OnFieldLeftPress(int x, int y);
void OnFieldLeftDoubleClick(int x, int y);
void OnFieldRightPress(int x, int y);
void OnFieldMouseMove(int x, int y);
void OnTalkLeftPress(int x, int y);
void OnTalkMouseMove(int x, int y);
void OnTalkKey(int key, int down);
void OnWorldMapLeftPress(int x, int y);
void OnWorldMapMouseMove(int x, int y);
void OnScriptEsc(int key, int down);
