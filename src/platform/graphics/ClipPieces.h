// Clip regions as lists of disjoint rectangles (the pieces of a region), and the region
// operations on them. Each operation stops and answers false when its result would hold
// more than `limit` pieces.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/graphics/Geometry.h"

using TClipPieces = std::vector<TRect>;

// Pieces of a minus b.
bool SubtractPieces(const TClipPieces& a, const TClipPieces& b, size_t limit, TClipPieces& out);
// Pieces both cover.
bool IntersectPieces(const TClipPieces& a, const TClipPieces& b, size_t limit, TClipPieces& out);
// Pieces either covers.
bool UnitePieces(const TClipPieces& a, const TClipPieces& b, size_t limit, TClipPieces& out);
// Pieces exactly one covers.
bool XorPieces(const TClipPieces& a, const TClipPieces& b, size_t limit, TClipPieces& out);
// Rectangles of any kind made disjoint (later ones lose what earlier ones cover), empty ones left out.
bool DisjointPieces(const TClipPieces& rects, size_t limit, TClipPieces& out);
TRect PiecesBounds(const TClipPieces& pieces);
