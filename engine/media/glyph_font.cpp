#include "engine/media/glyph_font.h"

// MINIMAL: the glyph font is not built yet; none is ever selected.
void ReleaseGlyphFont() {}
