#pragma once
#include <cstdint>
#include <vector>

#include "engine/core/handles.h"

// Binary models (".qb3"): one mesh node with its materials, little-endian:
//   "QB3" and a zero byte; uint32 format word (kept in the mesh); uint32
//   material count m (at most 256);
//   per material: ambient, diffuse, specular, emissive (3 floats each),
//     power (float), uint32 texture frames t, when t > 0 uint32 name length
//     (at most 63) and the name, unterminated; uint32 colour-key flag and
//     three key bytes red, green, blue (always present). t = 1 names the
//     texture itself; t >= 2 names the first frame, whose last two
//     characters (its number) are cut to form the frame names;
//   uint32 frames f, uint32 vertices per frame v, f x v vertices of 8 floats;
//   uint32 primitive count p, uint32 word count w; p primitives: uint32 type,
//     int32 material number (negative: none), then a triangle's (type 1)
//     face flags and three indices, or a line list's (type 2) count n and n
//     index pairs;
//   optionally uint32 extra-data flag; when not 0, v x 16 bytes of
//     per-vertex records.
// A file that breaks these rules (an unknown primitive type, a vertex index
// or material number out of range, counts beyond the file, words that do not
// add up to w) is refused whole: nothing is built. Materials no primitive
// uses are destroyed.

// The mesh node under parent, or 0. A file that cannot be opened shows
// "Error to load %s!(M01)"; a wrong magic answers 0 silently.
HOBJECT LoadModelBinaryFile(HOBJECT parent, const char* path);
// The same from a package entry's bytes, without the message.
HOBJECT LoadModelBinaryEntry(HOBJECT parent, const std::vector<uint8_t>& entry);
