#pragma once

// Fills the hooks through which the field's pieces (the chase event, the map
// scene) reach the game object; each answers "nothing" while there is no game.
void InstallWorldServices();
