// What every archive fuzz target checks: a load either succeeds or raises an archive
// (or inflate) exception and leaves no entries; then every entry is extracted, staying
// within a bound, and tested, whose failures are the same exceptions. FuzzSave then
// changes and saves the archive: what was written must load again.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

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

// Deletes the loaded archive's first entry, renames its last and saves it into its own
// stream (a damaged archive may refuse with an archive exception). A saved archive must
// load again, through reopen (a new archive of the same kind on the stream), with the
// entries that were left.
template <typename TReopen>
void FuzzSave(TArArchive& archive, TStream& stream, TReopen reopen) {
  if (archive.Count() == 0) return;
  try {
    archive.DeleteAt(0);
    if (archive.Count() > 1) archive.MoveItem(*archive.Items(archive.Count() - 1), "renamed");
    archive.SaveChanges();
  } catch (const EArException&) {
    return;
  }
  stream.SetPosition(0);
  std::unique_ptr<TArArchive> again = reopen(stream);
  again->LoadContents();
  if (again->Count() != archive.Count()) std::abort();
}
