// Loading a book from a zip archive (".zip", ".fbz" or any name): its first entry whose
// name ends in ".fb2".
#include <cstdint>
#include <optional>

#include "archive/ArExcept.h"
#include "archive/ArUnzper.h"
#include "convert/ConvertResStrings.h"
#include "convert/cFB2WolConvertor.h"
#include "convert/uUniWin1251.h"
#include "platform/base/CodePages.h"
#include "unicode/UniClasses.h"
#include "unicode/UniSysUtils.h"
#include "unicode/WideException.h"

namespace {

bool HasFB2Extension(WideStringView name) {
  constexpr WideStringView Extension = u".fb2";
  return name.size() >= Extension.size() && WideSameText(name.substr(name.size() - Extension.size()), Extension);
}

}  // namespace

bool TFB2WolConvertor::IsZipArchive(const WideString& fileName) {
  const bool zipName = WideSameText(WideExtractFileExt(fileName), u".zip");
  if (!WideFileExists(fileName)) return zipName;
  TUniFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  uint8_t head[64] = {};
  const int32_t read = file.Read(head, sizeof head);
  // Every zip record, and so every archive, starts with "PK".
  if (read >= 2 && head[0] == 'P' && head[1] == 'K') return true;
  if (!zipName) return false;
  // A ".zip" that is no archive: an XML book under that name is read as one; anything
  // else is left to the archive, whose error names what is wrong.
  int32_t i = 0;
  while (i < read && (head[i] == 0xEF || head[i] == 0xBB || head[i] == 0xBF || head[i] == 0xFF || head[i] == 0xFE ||
                      head[i] <= ' '))
    ++i;
  return i >= read || head[i] != '<';
}

void TFB2WolConvertor::LoadBookFromZip(const WideString& fileName) {
  FileName.clear();
  const WideString fullName = WideExpandFileName(fileName);
  // The archive is read through a stream on its wide name: a name that the 8-bit code
  // page cannot hold ("书.zip") is never converted on the way. One that cannot be opened
  // raises the archive's own exception, as opening it by name does.
  if (!WideFileExists(fullName)) throw EArFileNotFound();
  TUniFileStream file(fullName, fmOpenRead | fmShareDenyWrite);
  TArUnZipper unzipper(nullptr);
  // The 8-bit name only labels the archive; nothing opens by it.
  unzipper.OpenStream(file, WideToAnsi(fullName));

  TArArchiveItem* entry = nullptr;
  WideString entryName;
  for (int32_t i = 0; i < unzipper.GetItemCount() && !entry; ++i) {
    WideString name = Win1251ToWide(unzipper.GetItem(i)->FileName());
    if (HasFB2Extension(name)) {
      entry = unzipper.GetItem(i);
      entryName = std::move(name);
    }
  }
  if (!entry) throw WideException(&SErrNoFB2InZIP);

  // Extraction reports its failures (damaged data, CRC mismatch, unsupported method,
  // encryption) only to this event; a book that was not extracted whole is not read.
  std::optional<int32_t> failure;
  unzipper.OnProcessItemFailure = [&failure](TObject*, TArArchiveItem*, TArProcessType, TArErrorClass,
                                             int32_t errorCode) { failure = errorCode; };
  TUniMemoryStream stream;
  // By the item itself: a name converted to 8 bits and back could find another entry.
  unzipper.ExtractItemToStream(*entry, stream);
  unzipper.CloseArchive();
  // LoadBook empties the driver on any failure.
  if (failure) throw WideException(&SErrFB2ReadError);
  stream.SetPosition(0);
  LoadBookFromStream(stream);
  FileName = WideExtractFilePath(fullName) + entryName;
}
