#include "engine/media/sound.h"

// MINIMAL: engine sound is not built yet; the engine runs without sound.
int InitSound() { return 0; }

// MINIMAL: engine sound is not built yet; nothing was opened.
void CloseSound() {}
