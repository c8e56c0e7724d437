// The start-up of the rich view on screen, as every program that links it gets it: the
// model's (RPModelStartup.h), then the control classes (RegisterRPControlClasses), so that
// a document read from the native format gets its buttons and edits whether or not a rich
// view was ever made (a report helper painting pages reads them too).
//
// It runs by itself before main(): the library's CMake target makes every program that
// links it ask the linker for this unit (QfRichTextScreenStartup). Nothing needs to call
// it; calling it again does nothing.
#pragma once

void StartRichTextScreen();
