// Saving a zip archive as a spanned set of volumes on a local disk.
#include <array>
#include <string>
#include <vector>

#include "archive/ArUtils.h"
#include "archive/ArVolumes.h"
#include "archive/ArZipDefs.h"
#include "archive/ArZipTyp.h"
#include "platform/base/FileReplace.h"
#include "platform/base/FileSystem.h"
#include "platform/base/FileSystemNames.h"

namespace {

// Volumes are named ".z01" to ".z99" beside the archive, which is the last one.
constexpr uint16_t MaxLastVolume = 98;

void RemoveFiles(const std::vector<AnsiString>& names) {
  for (const AnsiString& name : names) DeleteFileA(name.c_str());
}

}  // namespace

void TArZipArchive::PlaceItem(TArZipItem& item, int64_t position) {
  int64_t volume = FSaveVolumeBytes > 0 ? position / FSaveVolumeBytes : 0;
  int64_t offset = FSaveVolumeBytes > 0 ? position % FSaveVolumeBytes : position;
  if (volume > MaxLastVolume || offset > 0xFFFFFFFF) throw EArZipStreamFull();
  item.SetDiskNumberStart(static_cast<uint16_t>(volume));
  item.SetRelativeOffset(static_cast<uint32_t>(offset));
}

void TArZipArchive::WriteVolumes(TStream& work, uint16_t lastVolume) {
  if (lastVolume > MaxLastVolume) throw EArZipStreamFull();
  AnsiString archiveFile = ExpandPath(ArchiveName());
  AnsiString first = archiveFile + ".partial";
  auto written = [&](uint16_t volume) { return volume == 0 ? first : SpanVolumeName(first, volume + 1); };
  std::vector<AnsiString> made;  // every file this save created, removed on failure
  try {
    // A set of several volumes starts with the spanning marker.
    std::array<uint8_t, 4> marker{};
    StoreLE32(marker.data(), ZipSpannedMarker);
    work.SetPosition(0);
    work.WriteBuffer(marker.data(), 4);
    {
      TArSpanStream volumes(first, FSaveVolumeBytes, mtLocal, fmCreate);
      for (uint16_t v = 0; v <= lastVolume; ++v) made.push_back(written(v));
      // The stream's own names are taken; they become the set's names below.
      volumes.OnRequestMedia = [](TArSpanStream&, int32_t, bool&, AnsiString&) {};
      volumes.CopyFrom(work, 0);
      if (volumes.SpanNumber() != lastVolume) throw EArZipStreamFull();
    }
    for (uint16_t v = 0; v < lastVolume; ++v) {
      AnsiString target = SpanVolumeName(archiveFile, v + 1);
      if (!MoveFileA(written(v).c_str(), target.c_str())) RaiseLastOSError();
      made[v] = target;
    }
    // The last volume takes the archive's place only when complete.
    std::string fileSystemName;
    if (!AnsiToFileSystemName(archiveFile, fileSystemName)) throw EArFileNotFound();
    {
      TFileStream last(written(lastVolume), fmOpenRead | fmShareDenyNone);
      TFileReplaceStream target(fileSystemName);
      target.CopyFrom(last, 0);
      if (!target.Commit()) RaiseLastOSError();
    }
    DeleteFileA(written(lastVolume).c_str());
  } catch (const EArUserAbort&) {
    RemoveFiles(made);
    throw;
  } catch (...) {
    RemoveFiles(made);
    throw EArBadStream(std::current_exception());
  }
  OpenArchiveFile();
  TArSpanStream* span = SpanStream();
  span->SetMediaType(mtLocal);
  span->SetSpanNumber(lastVolume);
  span->IgnoreSpanning = false;
  FSpanned = true;
  FDriveIsRemovable = false;
  FOwnVolume = lastVolume;
}
