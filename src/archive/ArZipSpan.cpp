// The volumes of a spanned zip set: which file or disk holds each one, and the requests
// that bring them.
#include "archive/ArMediaPrompts.h"
#include "archive/ArVolumes.h"
#include "archive/ArZipTyp.h"
#include "platform/base/Format.h"

namespace {

// The texts of the requests made when the archive has no handler for them.
constexpr int32_t MsgInsertFloppy = 11, MsgInsertLastDisk = 12, MsgInsertNthDisk = 14, MsgInsertBlankDisk = 17,
                  MsgImageFileName = 34, MsgInsertSpanImage = 37;

// Asking again for the last disk of a set stops after this many answers that brought a
// volume without an end record.
constexpr int32_t MaxLastVolumeRequests = 16;
// A set has at most 99 volumes (".z01" to ".z99" beside the archive).
constexpr int32_t MaxVolumes = 99;

}  // namespace

bool TArZipArchive::QueryRemovableDrive() const {
  TArSpanStream* span = SpanStream();
  return span && IsRemovableDrive(span->FileName());
}

uint16_t TArZipArchive::CurrentDisk() const {
  TArSpanStream* span = SpanStream();
  return FSpanned && span ? static_cast<uint16_t>(span->SpanNumber()) : 0;
}

void TArZipArchive::RequestLastDisk(bool& abort) {
  abort = false;
  if (OnRequestLastDisk)
    OnRequestLastDisk(this, abort);
  else
    abort = !ConfirmArMedia(ArchiveErrorMessage(MsgInsertLastDisk), ArchiveErrorMessage(MsgInsertFloppy));
}

void TArZipArchive::RequestNthDisk(uint8_t diskNumber, bool& abort) {
  abort = false;
  if (OnRequestNthDisk)
    OnRequestNthDisk(this, diskNumber, abort);
  else
    abort = !ConfirmArMedia(Format(ArchiveErrorMessage(MsgInsertNthDisk), {static_cast<int32_t>(diskNumber)}),
                            ArchiveErrorMessage(MsgInsertFloppy));
}

void TArZipArchive::RequestEmptyDisk(bool& abort) {
  abort = false;
  if (OnRequestEmptyDisk)
    OnRequestEmptyDisk(this, abort);
  else
    abort = !ConfirmArMedia(ArchiveErrorMessage(MsgInsertBlankDisk), ArchiveErrorMessage(MsgInsertFloppy));
  FSpanned = true;
}

AnsiString TArZipArchive::VolumeFileName(int32_t volume, bool& abort) {
  abort = false;
  AnsiString name;
  if (OnRequestImage) {
    OnRequestImage(this, volume, name, abort);
    return name;
  }
  const AnsiString& archiveFile = SpanStream()->FileName();
  if (volume == FOwnVolume) return archiveFile;
  // A missing volume keeps its derived name, which opening then reports as missing.
  AnsiString derived = SpanVolumeName(archiveFile, volume + 1);
  AnsiString found = FindFileIgnoringCase(derived);
  return found.empty() ? derived : found;
}

void TArZipArchive::RequestVolume(int32_t volume) {
  TArSpanStream* span = SpanStream();
  if (!span) throw EArZipBadSpanStream();
  bool abort = false;
  if (FDriveIsRemovable) {
    // Every disk of the set carries the archive's name; the user changes the disk.
    if (volume >= 0) {
      RequestNthDisk(static_cast<uint8_t>(volume + 1), abort);
      if (abort) throw EArUserAbort();
      span->SwitchVolume(span->ImageName(), volume);
      return;
    }
    span->SwitchVolume(span->ImageName(), span->SpanNumber());
    if (FindEndRecord(*span) >= 0) return;
    RequestLastDisk(abort);
    if (abort) throw EArUserAbort();
    span->SwitchVolume(span->ImageName(), span->SpanNumber());
    return;
  }
  if (volume >= 0 || OnRequestImage) {
    AnsiString name = VolumeFileName(volume, abort);
    if (abort) throw EArUserAbort();
    span->SwitchVolume(name, volume >= 0 ? volume : span->SpanNumber());
    return;
  }
  // The last volume is the first, in volume order, that holds an end record.
  for (int32_t candidate = 0; candidate < MaxVolumes; ++candidate) {
    if (candidate == FOwnVolume) continue;
    AnsiString name = VolumeFileName(candidate, abort);
    if (FindFileIgnoringCase(name).empty()) break;
    TFileStream probe(name, fmOpenRead | fmShareDenyNone);
    if (FindEndRecord(probe) >= 0) {
      span->SwitchVolume(name, candidate);
      return;
    }
  }
  throw EArFileNotFound();
}

int64_t TArZipArchive::FindLastVolume(TArSpanStream& span) {
  FOwnVolume = 0;
  for (int32_t request = 0; request < MaxLastVolumeRequests; ++request) {
    RequestVolume(-1);
    int64_t found = FindEndRecord(span);
    if (found >= 0) return found;
  }
  throw EArZipInvalid();
}

void TArZipArchive::SeekVolume(uint16_t volume, int64_t offset) {
  TStream& stream = Stream();
  if (FSpanned) {
    TArSpanStream* span = SpanStream();
    if (span->SpanNumber() != volume) RequestVolume(volume);
    // Past its volume's end the offset would lead into the next volumes.
    if (offset > stream.Size()) throw EArZipInvalid();
  }
  stream.Seek(offset, soBeginning);
}

void TArZipArchive::RequestSpanMedia(TArSpanStream& stream, int32_t imageNumber, bool& abort, AnsiString& imageName) {
  abort = false;
  bool removable = stream.MediaType() == mtRemoveable;
  if (stream.SpanMode() == smWriting) {
    if (removable)
      RequestEmptyDisk(abort);
    else if (OnRequestImage)
      OnRequestImage(this, imageNumber, imageName, abort);
    return;
  }
  int32_t volume = removable ? imageNumber - 1 : imageNumber;
  // Past the set's last volume, or before its first, there is nothing to ask for.
  if (volume < 0 || volume > FEndRecord.DiskNumber) {
    imageName.clear();
    return;
  }
  if (removable) {
    RequestNthDisk(static_cast<uint8_t>(imageNumber), abort);
    return;
  }
  imageName = VolumeFileName(volume, abort);
  // A volume file that is missing while the stream reads on is asked for, when someone
  // can be asked; refused, the read aborts, else the file is looked for again.
  if (!abort && !OnRequestImage && ArMediaPrompts() && FindFileIgnoringCase(imageName).empty()) {
    abort = !ConfirmArMedia(Format(ArchiveErrorMessage(MsgInsertSpanImage), {volume + 1}),
                            ArchiveErrorMessage(MsgImageFileName));
    if (!abort) imageName = VolumeFileName(volume, abort);
  }
}
