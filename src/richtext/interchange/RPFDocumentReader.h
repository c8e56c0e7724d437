// The reader of the native document format.
//
// A read runs in two phases, so that a damaged stream never leaves a document half
// changed. The first phase parses the whole stream: record headers, document records
// (version, background, style collections, layout, document properties, markers,
// checkpoints) and items, which are made and read but held aside; style collections are
// applied to a copy of the style sheet, through which every later style number of the
// stream is mapped and checked. Only when the whole stream has been read does the second
// phase put the items into the document, and the style collections, layout, document
// properties, marker state and background into their places. A failure in the first
// phase (a malformed header, an unknown item kind, a refused line, a bad collection, a
// number out of range, a limit passed) changes nothing.
//
// Table cells are read inside the read of their table (their data property holds a
// stream of its own): such nested reads share the outer read's style maps and warnings
// and go no deeper than TRPFLimits::MaxTableNesting.
#pragma once

#include <cstdint>

#include "richtext/model/RPData.h"
#include "richtext/model/RPFDocumentFormat.h"

// Reads the rest of stream into data at index (moved past the inserted items); color
// receives the background record's colour under rpfoLoadBack. False for a damaged stream
// (nothing changed then). Raises ERichPaneError "Invalid RPF format" for a layout block
// shorter than 25 bytes (nothing changed either).
bool ReadRPFDocument(TCustomRPData& data, TStream& stream, int32_t& index, const TRPFReadRequest& request,
                     TColor& color);
