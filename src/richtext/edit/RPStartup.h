// The start-up of the rich-text libraries, as a program that links the editor's library
// gets it: the interchange library's (the graphic classes by name, PNG pictures, the item
// classes and the native format: RPInterchangeStartup.h), then the RTF and HTML copy
// formats, and the style sheet's bitmap and cursors as embedded resources.
//
// It runs by itself before main(): the edit library's CMake target makes every program
// that links it ask the linker for this unit (QfRichTextStartup), so its start-up is never
// left out of the static library. Nothing needs to call it; calling it again does nothing.
#pragma once

void StartRichTextLibraries();
