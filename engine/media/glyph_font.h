#pragma once

// The glyph font selected for engine text.

// Releases the selected glyph font, when there is one.
void ReleaseGlyphFont();
