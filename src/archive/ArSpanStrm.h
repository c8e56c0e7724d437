// The archive file as an archive sees it: a file stream that, when writing, splits its
// data over volumes of a given size (removable disks, or numbered files on a local disk)
// and, when reading, moves to the next or previous volume at the ends of the current
// one. Positions are positions within the current volume.
//
// A volume is found by asking the owner's media-request handler. While IgnoreSpanning
// is set the stream is one plain file: reads stop at its end and seeks are clamped to it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/base/Streams.h"

enum TArSpanMode : uint8_t { smReading, smWriting };
enum TArMediaType : uint8_t { mtRemoveable, mtLocal };

class TArSpanStream;
// Asked for another volume: its image number (the volume's number from 0 on a local
// disk, from 1 on removable media), abort, and the volume's file name, which comes in as
// the name the stream proposes. When reading, an empty name answers that the set has no
// such volume.
using TArSpanMediaRequest =
    std::function<void(TArSpanStream& sender, int32_t imageNumber, bool& abort, AnsiString& imageName)>;
// Writing progress: the percentage of TotalBytesToWrite written so far.
using TArSpanProgress = std::function<void(int32_t percent, bool& abort)>;

class TArSpanStream : public TStream {
public:
  // Opens the first volume. fileName must be a full path, else EArException "Full Path
  // Required". The stream writes when mode is fmCreate or has the write bit (1), and
  // reads otherwise. A writing stream needs media that can take the file ("Invalid
  // Media" otherwise): free space known, or no such file yet. threshold is the bytes per
  // volume, 0 for none.
  TArSpanStream(const AnsiString& fileName, int32_t threshold, TArMediaType mediaType, uint16_t mode);
  ~TArSpanStream() override;
  TArSpanStream(const TArSpanStream&) = delete;
  TArSpanStream& operator=(const TArSpanStream&) = delete;

  // Reads up to count bytes; at the end of a volume, unless IgnoreSpanning, continues in
  // the next one the handler names (none set, or an empty name: the read stops there).
  // Raises EArUserAbort when the handler aborts, EArFileNotFound when it names a file
  // that does not exist. A writing stream reads nothing.
  int32_t Read(void* buffer, int32_t count) override;
  // Writes into the current volume while it has room (the threshold less what it holds,
  // and the free space of its drive); the rest goes to a new volume the handler names.
  // Raises EArZipStreamFull when a volume is full and no handler is set or the new one
  // has no room, EArUserAbort when the handler aborts. A reading stream writes nothing;
  // an abort of the progress handler reports 0 bytes.
  int32_t Write(const void* buffer, int32_t count) override;
  // Reading: a target inside the volume (its end included) is sought plainly; past the
  // end, or before the start, the handler gives the next or previous volume and the rest
  // of the distance is sought there (no handler, or no such volume: the position stays).
  // Returns the position within the volume reached. With IgnoreSpanning the target is
  // clamped to the volume. Writing: the position only.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  // The current volume's size.
  int64_t Size() override;
  // 0 empties the volume; another size is cut to what its drive can hold.
  void SetSize(int64_t newSize) override;

  // Opens imageName, which must exist, as volume spanNumber in place of the current one
  // (EArFileNotFound otherwise).
  void SwitchVolume(const AnsiString& imageName, int32_t spanNumber);

  TArSpanMode SpanMode() const { return FSpanMode; }
  TArMediaType MediaType() const { return FMediaType; }
  // The owner's finding when it asks the drive again (a disk may have been changed).
  void SetMediaType(TArMediaType mediaType) { FMediaType = mediaType; }
  int32_t Threshold() const { return FThreshold; }
  // The current volume's number, 0 for the first.
  int32_t SpanNumber() const { return FSpanNumber; }
  // The number of the open volume, when an outside source (the set's end record) tells.
  void SetSpanNumber(int32_t spanNumber) { FSpanNumber = spanNumber; }
  const AnsiString& ImageName() const { return FImageName; }
  // The name the stream was created on.
  const AnsiString& FileName() const { return FFirstName; }

  bool IgnoreSpanning = false;
  TArSpanMediaRequest OnRequestMedia;
  TArSpanProgress OnProgress;
  int64_t TotalBytesToWrite = 0;

private:
  // Free space of the volume's drive, or -1 when unknown; good media has it known or
  // holds no such file yet.
  bool CheckMedia(const AnsiString& name);
  int64_t RoomLeft();
  // Reading: opens the volume `step` (+1 or -1) away; false when there is none.
  bool MoveToVolume(int32_t step);
  // Writing: closes the full volume and opens the next one.
  void StartNewVolume();
  int32_t WriteSpanned(const uint8_t* bytes, int32_t count);
  int32_t ImageNumber(int32_t spanNumber) const;

  TArSpanMode FSpanMode;
  TArMediaType FMediaType;
  int32_t FThreshold;
  int32_t FSpanNumber = 0;
  AnsiString FFirstName;
  AnsiString FImageName;
  int64_t FBytesWritten = 0;
  int64_t FTotalWritten = 0;
  uint16_t FFileMode;
  std::unique_ptr<TFileStream> FFile;
};
