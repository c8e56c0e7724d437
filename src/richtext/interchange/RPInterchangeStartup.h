// The start-up of the interchange library, as every program that links it gets it: the
// model's (RPModelStartup.h), then the native format for every document of the process
// (RegisterRPFDocumentFormat), so that documents, table cells and copying read and write
// it from the first line of main().
//
// It runs by itself before main(): the library's CMake target makes every program that
// links it ask the linker for this unit (QfRichTextInterchangeStartup), so a static link
// never leaves it out. Nothing needs to call it; calling it again does nothing. A start-up
// of a later library that relies on it calls it first, since the order in which the static
// objects of two libraries start is not defined.
//
// The RTF and HTML copy formats are not installed here: a program that copies to the
// system clipboard gets them from the edit library's start-up (RPStartup.h).
#pragma once

void StartRichTextInterchange();
