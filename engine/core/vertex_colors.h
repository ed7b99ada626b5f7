#pragma once
#include <cstdint>

struct MESHDESC;
struct MESHVERTEX;

// Packing of float colours into the 0xAARRGGBB vertex colours of pre-lit and
// pre-transformed meshes; each channel is component x 255, truncated.

// One channel: component x 255 truncated, held to 0..255; NaN counts as 0.
// Colours come from model files, so any float may arrive here.
uint32_t ColorByte(float component);
uint32_t PackColor(float red, float green, float blue, float alpha);
// Reads red, green and blue from the normal slots of each vertex, writes the
// packed colour into the diffuse slot and 0 into the specular slot.
void PackVertexColors(MESHVERTEX* vertices, float alpha, int count);
// The same with the colours from a separate array of float triples.
void PackVertexColorsFrom(MESHVERTEX* vertices, const float* colors, float alpha, int count);
// Pre-lit meshes only: replaces the alpha byte of every vertex colour of
// every frame, keeping red, green and blue.
void SetMeshVertexAlpha(MESHDESC* mesh, float alpha);
