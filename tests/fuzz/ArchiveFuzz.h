// What every archive fuzz target checks: a load either succeeds or raises an archive
// (or inflate) exception and leaves no entries; then every entry is extracted, staying
// within a bound, and tested, whose failures are the same exceptions.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "archive/ArArcTyp.h"

template <typename TArchive, typename TTest>
void FuzzArchive(TArchive& archive, int64_t maxEntryBytes, TTest test) {
  archive.OnProcessItemFailure = [](TObject*, TArArchiveItem*, TArProcessType, TArErrorClass, int32_t) {};
  try {
    archive.LoadContents();
  } catch (const EArException&) {
    if (archive.Count() != 0) std::abort();
    return;
  } catch (const EArInflateError&) {
    if (archive.Count() != 0) std::abort();
    return;
  }
  for (int32_t i = 0; i < archive.Count(); ++i) {
    TMemoryStream out;
    archive.ExtractItem(*archive.Items(i), out);
    if (out.Size() > maxEntryBytes) std::abort();
    try {
      test(i);
    } catch (const EArException&) {
    } catch (const EArInflateError&) {
    }
  }
}
