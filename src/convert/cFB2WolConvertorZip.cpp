// Loading a book from a zip archive (".zip", ".fbz" or any name): its first entry whose
// name ends in ".fb2".
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "archive/ArExcept.h"
#include "archive/ArUnzper.h"
#include "convert/ConvertResStrings.h"
#include "convert/cFB2WolConvertor.h"
#include "convert/uUniWin1251.h"
#include "platform/base/CodePages.h"
#include "unicode/UniClasses.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/WideException.h"

namespace {

bool HasFB2Extension(WideStringView name) {
  constexpr WideStringView Extension = u".fb2";
  return name.size() >= Extension.size() && WideSameText(name.substr(name.size() - Extension.size()), Extension);
}

// The signatures that begin a zip's first file and its closing record.
constexpr std::string_view LocalHeaderSignature{"PK\x03\x04", 4};
constexpr std::string_view EndRecordSignature{"PK\x05\x06", 4};
// The closing record's fixed part, and with its longest comment where it must lie.
constexpr size_t EndRecordSize = 22;
constexpr int64_t EndRecordSearch = EndRecordSize + 0xFFFF;

std::string ReadAt(TStream& stream, int64_t position, int64_t count) {
  std::string bytes(static_cast<size_t>(count), '\0');
  stream.SetPosition(position);
  stream.ReadBuffer(bytes.data(), static_cast<int32_t>(count));
  return bytes;
}

// The archive reader refused the file: says what is wrong with it. A file that begins as
// a zip but has no whole closing record was cut short (an interrupted download or copy);
// one that has it has a damaged list of files.
[[noreturn]] void RaiseUnreadableZip(TStream& file) {
  const int64_t size = file.Size();
  if (size == 0) throw WideException(&SErrZipEmpty);
  if (size < 4 || ReadAt(file, 0, 4) != LocalHeaderSignature) throw WideException(&SErrNotZip);
  const int64_t tail = std::min(size, EndRecordSearch);
  const std::string end = ReadAt(file, size - tail, tail);
  const size_t record = end.rfind(EndRecordSignature);
  if (record == std::string::npos || record + EndRecordSize > end.size()) throw WideException(&SErrZipCutShort);
  throw WideException(&SErrZipBadDirectory);
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
  // page cannot hold ("书.zip") is never converted on the way. A missing one raises the
  // archive's own exception, as opening it by name does.
  if (!WideFileExists(fullName)) throw EArFileNotFound();
  TUniFileStream file(fullName, fmOpenRead | fmShareDenyWrite);
  TArUnZipper unzipper(nullptr);
  // The 8-bit name only labels the archive; nothing opens by it. An archive refused by a
  // reading limit is not damaged, and says so itself.
  try {
    unzipper.OpenStream(file, WideToAnsi(fullName));
  } catch (const EArException& e) {
    if (e.LimitFault() != TArLimitFault::None) throw;
    RaiseUnreadableZip(file);
  } catch (const EReadError&) {
    RaiseUnreadableZip(file);
  }

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
  if (failure)
    throw WideException(LoadWideResString(*failure == EArZipBadCRC().ErrorCode() ? &SErrZipBadCRC : &SErrZipBadEntry),
                        {entryName});
  stream.SetPosition(0);
  LoadBookFromStream(stream);
  FileName = WideExtractFilePath(fullName) + entryName;
  FSourceFile = fullName;
}
