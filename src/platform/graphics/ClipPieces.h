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
// Banded rectangles are taken as they are; others are met with every piece made before them.
bool DisjointPieces(const TClipPieces& rects, size_t limit, TClipPieces& out);
// Whether the rectangles (empty ones aside) form bands as a region's data stores them: a
// band is a run of rectangles of one top and bottom side by side without overlapping, and
// each band lies below the one before. Banded rectangles are disjoint; checked in n log n.
bool BandedPieces(TClipPieces rects);
TRect PiecesBounds(const TClipPieces& pieces);
