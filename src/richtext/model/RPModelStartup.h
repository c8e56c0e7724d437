// The start-up of the rich-text document model, as every program that links the model
// gets it, in one place:
// - the graphic classes by class name (TBitmap, TIcon, TMetafile, TJPEGImage and the PNG
//   class), so that the native format reads back every picture it writes;
// - the PNG class as the one that RTF writes as \pngblip and HTML saves as .png;
// - the item classes by style number (text, break, tab, picture, hot picture, bullet,
//   hotspot, list marker) and the marker list that documents keep.
//
// It runs by itself before main(): the model's CMake target makes every program that
// links it ask the linker for this unit (QfRichTextModelStartup), so a static link never
// leaves it out. Nothing needs to call it; calling it again does nothing. A start-up of a
// later library that relies on it calls it first, since the order in which the static
// objects of two libraries start is not defined.
#pragma once

void StartRichTextModel();
