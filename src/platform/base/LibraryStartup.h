// The start-up unit of a static library: QF_LIBRARY_STARTUP(symbol, start) runs start()
// before main() and defines symbol, which the library's CMake target makes every program
// that links it ask the linker for (LINKER:--undefined=<symbol>). No code of a program
// refers to such a unit, and the linker takes from a static library only the objects
// something refers to: asking for the symbol keeps the unit, so its start-up always runs.
//
// start() is written to run once however often it is called (std::call_once), because a
// later library's start-up calls the ones it relies on first: the order in which the
// static objects of two libraries start is not defined.
#pragma once

#define QF_LIBRARY_STARTUP(symbol, start)                        \
  extern "C" {                                                   \
  extern const char symbol;                                      \
  const char symbol = 1;                                         \
  }                                                              \
  namespace {                                                    \
  [[maybe_unused]] const bool symbol##Started = (start(), true); \
  }
