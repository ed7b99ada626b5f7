#pragma once

// The area number of the current scene, 0 when none.
int GetCurrentSceneArea();
