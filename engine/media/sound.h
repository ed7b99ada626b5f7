#pragma once

// Sound effects and CD audio of the engine.

// Opens the sound device when the engine opens; 1 when sound is open.
int InitSound();
// Stops and frees every sound and closes the device.
void CloseSound();
