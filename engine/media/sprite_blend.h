#pragma once

namespace plat {
class Surface;
}

// Blends width x height pixels of source, from (sourceX, sourceY), over
// destination at (x, y) with an opacity of alpha; 16-bit surfaces only.
// Opacities near 25, 50 and 75 % take shift-and-mask formulas, below 5 %
// nothing is drawn. With keyed, source pixels equal to the source's colour
// key leave the destination alone (as pairs in the fast blends: a pair
// with one key pixel blends that pixel's destination with itself). The
// area is clipped to both surfaces.
void BlendSpriteFrame(float alpha, int keyed, plat::Surface* destination, int x, int y, plat::Surface* source,
                      int sourceX, int sourceY, int width, int height);
