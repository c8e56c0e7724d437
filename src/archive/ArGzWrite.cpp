// Saving gzip archives, in their gzip view and their tar view.
#include <ctime>
#include <memory>

#include "archive/ArGzTyp.h"
#include "archive/ArUtils.h"

std::unique_ptr<TArArchiveItem> TArGzipArchive::NewItem(const AnsiString& filePath) {
  if (TarView()) return TArTarArchive::NewItem(filePath);
  StoreOptions |= soStripDrive | soStripPath;
  auto item = std::make_unique<TArGzipItem>();
  item->DiskFileName = ExpandPath(filePath);
  item->SetFileName(NormalizeName(filePath));
  return item;
}

void TArGzipArchive::CopyOldMember(const TArGzipItem& item, TStream& work) {
  TStream& old = Stream();
  old.SetPosition(0);
  TArGzipItem header;
  ReadGzipHeader(old, header, Limits.MaxNameBytes);
  int64_t rest = old.Size() - old.Position();
  if (rest < ArGz::TrailerBytes) throw EArGzipInvalid();
  WriteGzipHeader(work, item);
  work.CopyFrom(old, rest);
}

void TArGzipArchive::WriteArchive() {
  if (TarView()) {
    WriteTarView();
    return;
  }
  struct TBefore {
    TArArchiveAction Action;
    uint32_t Crc32;
    int64_t CompressedSize, UncompressedSize;
    uint32_t MTime;
  };
  std::vector<TBefore> before;
  for (int32_t i = 0; i < Count(); ++i) {
    auto& item = static_cast<TArGzipItem&>(*Items(i));
    before.push_back({item.Action, item.Crc32(), item.CompressedSize(), item.UncompressedSize(), item.MTime()});
  }
  try {
    std::unique_ptr<TStream> work = NewWorkStream();
    for (int32_t i = 0; i < Count(); ++i) {
      auto& item = static_cast<TArGzipItem&>(*Items(i));
      SetCurrentItem(&item);
      if (item.Action == aaNone || item.Action == aaMove) {
        CopyOldMember(item, *work);
      } else if (item.Action != aaDelete && item.Action != aaFailed) {
        int64_t start = work->Position();
        try {
          std::unique_ptr<TFileStream> file;
          TStream* source = InputStream;
          if (item.Action != aaStreamAdd) {
            file =
                std::make_unique<TFileStream>(item.DiskFileName, static_cast<uint16_t>(fmOpenRead | fmShareDenyWrite));
            source = file.get();
            item.SetMTime(static_cast<uint32_t>(FileUnixTime(*file)));
          } else if (!source) {
            throw EArBadStream();
          } else {
            item.SetMTime(static_cast<uint32_t>(std::time(nullptr)));
          }
          source->SetPosition(0);
          WriteGzipMember(*source, *work, item);
        } catch (const EArUserAbort&) {
          throw;
        } catch (const std::exception& e) {
          work->SetSize(start);
          work->SetPosition(start);
          if (!DropFailedItem(item, e)) CopyOldMember(item, *work);
        }
      }
      SaveStepProgress(i, Count());
    }
    ReplaceContent(*work);
  } catch (...) {
    for (int32_t i = 0; i < Count(); ++i) {
      auto& item = static_cast<TArGzipItem&>(*Items(i));
      const TBefore& b = before[static_cast<size_t>(i)];
      item.Action = b.Action;
      item.SetCrc32(b.Crc32);
      item.SetCompressedSize(b.CompressedSize);
      item.SetUncompressedSize(b.UncompressedSize);
      item.SetMTime(b.MTime);
    }
    SetCurrentItem(nullptr);
    throw;
  }
  FinishSave();
}

void TArGzipArchive::WriteTarView() {
  auto snapshot = TarSnapshot();
  std::vector<int64_t> offsets;
  std::unique_ptr<TStream> tar = NewWorkStream();
  try {
    offsets = WriteTarEntries(FTarStream, *tar);
    TArGzipItem header;
    if (Stream().Size() > 0) {
      Stream().SetPosition(0);
      ReadGzipHeader(Stream(), header, Limits.MaxNameBytes);
    }
    std::unique_ptr<TStream> work = NewWorkStream();
    tar->SetPosition(0);
    WriteGzipMember(*tar, *work, header);
    ReplaceContent(*work);
  } catch (...) {
    RestoreTarSnapshot(snapshot);
    throw;
  }
  FTarStream.SetSize(0);
  FTarStream.CopyFrom(*tar, 0);
  CommitTarEntries(offsets);
}
