#pragma once
#include <cstdint>
#include <vector>

#include "engine/core/handles.h"

// Text models (".qx3"): any number of mesh objects and dummies with a
// hierarchy, one command a line (tokens separated by blanks, the keyword
// compared without case, '#' starting a comment line, unknown keywords
// ignored, a missing number reading as 0):
//   BeginObject index [name] ... EndObject     a mesh node, object index 0-1023
//   Lite_Vertex / Transformed_Vertex           vertex colours / screen positions
//   Normal_Smooth TRUE|FALSE, Morph n          smooth normals, animation frames
//   Material number texture|NULL|MultipleTexture name frames [AMBIENT r g b]
//     [DIFFUSE r g b] [SPECULAR r g b] [EMISSIVE r g b] [SHINENESS p]
//     [TextureKeyRGB r g b] [MipMap levels]   material numbers 0-255, per object
//   LightMap name                              the mesh's light-map set
//   v x y z [w] [vn nx ny nz] [vc r g b] [vt u v]
//   f n material i0 .. i(n-1) [BOTH] [L map]   a fan of n - 2 triangles
//   l n material a0 b0 .. a(n-1) b(n-1)        a line list
//   BeginDummy index ... EndDummy              a dummy node
//   o child parent                             parent 0: child is the result
//
// Vertex slots: a plain mesh keeps x y z, the normal (vn), u v; a mesh with
// vertex colours (vc or Lite_Vertex) packs the colour into its colour slots;
// a transformed mesh keeps screen x y, z and w in the first four slots, the
// packed colour, then u v. Texture coordinates are slots 6-7 in every layout.
//
// The result is the node of the lowest object index from 1 that holds one,
// else the last node finished or named by an "o child 0" line; 0 when the file
// builds nothing. A file that breaks the reader's limits (lines of more than
// 243 characters, texture names of more than 127, material numbers beyond
// 255, object indices beyond 1023, faces of more than 256 vertices or line
// lists of more than 128 pairs, vertex indices beyond the object's vertices,
// vertices that do not fill whole morph frames, light-map numbers beyond the
// set) is refused whole: whatever it built is destroyed and 0 answered.

// From a loose file; one that cannot be opened shows "Error to load %s!(M01)".
HOBJECT LoadModelTextFile(HOBJECT parent, const char* path);
// From a package entry's bytes: the lines end with the entry.
HOBJECT LoadModelTextEntry(HOBJECT parent, const std::vector<uint8_t>& entry);
