#pragma once

// The world map's result: the chosen scene is entered on the next tick.
void OnWorldMapResult(const char* sceneFile, int entry);
