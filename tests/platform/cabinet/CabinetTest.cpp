// The cabinet library through its entry points, with callbacks over memory: the header
// check, the walk's notifications and answers, and callback exceptions carried across
// the C library that called them.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/cabinet/Cabinet.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A stored cabinet of two files, "one.txt" (folder 0) and "two.txt", with next-cabinet
// names in its header.
Bytes TwoFileCabinet(uint16_t secondFolder = 0) {
  const std::string one = "first file", two = "second";
  Bytes names;
  for (const char* n : {"next.cab", "Disk 2"}) names.insert(names.end(), n, n + std::strlen(n) + 1);
  uint32_t filesAt = 36 + static_cast<uint32_t>(names.size()) + 8;
  Bytes files;
  uint32_t offset = 0;
  for (auto [name, data, folder] :
       {std::tuple{"one.txt", one, uint16_t{0}}, std::tuple{"two.txt", two, secondFolder}}) {
    Put32(files, static_cast<uint32_t>(data.size()));  // size
    Put32(files, offset);                              // offset in the folder
    Put16(files, folder);                              // folder
    Put16(files, 0x5B8A);                              // date
    Put16(files, 0x6A2F);                              // time
    Put16(files, 0x21);                                // read-only, archive
    files.insert(files.end(), name, name + std::strlen(name) + 1);
    offset += static_cast<uint32_t>(data.size());
  }
  std::string data = one + two;
  uint32_t dataAt = filesAt + static_cast<uint32_t>(files.size());
  Bytes cab{'M', 'S', 'C', 'F'};
  Put32(cab, 0);
  Put32(cab, dataAt + 8 + static_cast<uint32_t>(data.size()));  // cabinet size
  Put32(cab, 0);
  Put32(cab, filesAt);
  Put32(cab, 0);
  cab.push_back(3);
  cab.push_back(1);
  Put16(cab, 1);       // folders
  Put16(cab, 2);       // files
  Put16(cab, 0x0002);  // a next cabinet
  Put16(cab, 77);      // set
  Put16(cab, 4);       // cabinet number
  cab.insert(cab.end(), names.begin(), names.end());
  Put32(cab, dataAt);  // folder: first block
  Put16(cab, 1);       // one block
  Put16(cab, 0);       // stored
  cab.insert(cab.end(), files.begin(), files.end());
  Put32(cab, 0);  // block checksum: none
  Put16(cab, static_cast<uint16_t>(data.size()));
  Put16(cab, static_cast<uint16_t>(data.size()));
  cab.insert(cab.end(), data.begin(), data.end());
  return cab;
}

// Files in memory: "disk" holds the named ones; every open handle has a position.
struct TMemoryFiles {
  std::map<std::string, Bytes> Disk;
  struct TOpen {
    Bytes* Data;
    int64_t Position;
  };
  std::map<TCabHandle, TOpen> Open;
  std::map<TCabHandle, Bytes> Outputs;
  TCabHandle Next = 1;
  int ReadsBeforeThrow = -1;  // the read of that number raises

  TFdiFileCallbacks Callbacks() {
    TFdiFileCallbacks c;
    c.Open = [this](const AnsiString& name) -> TCabHandle {
      auto found = Disk.find(name);
      if (found == Disk.end()) return -1;
      Open[Next] = {&found->second, 0};
      return Next++;
    };
    c.Read = [this](TCabHandle h, void* buffer, int32_t count) -> int32_t {
      if (ReadsBeforeThrow == 0) throw std::runtime_error("disk gone");
      if (ReadsBeforeThrow > 0) --ReadsBeforeThrow;
      TOpen& f = Open.at(h);
      int64_t n = std::min<int64_t>(count, static_cast<int64_t>(f.Data->size()) - f.Position);
      if (n <= 0) return 0;
      std::memcpy(buffer, f.Data->data() + f.Position, static_cast<size_t>(n));
      f.Position += n;
      return static_cast<int32_t>(n);
    };
    c.Write = [this](TCabHandle h, const void* buffer, int32_t count) -> int32_t {
      const auto* p = static_cast<const uint8_t*>(buffer);
      Outputs.at(h).insert(Outputs.at(h).end(), p, p + count);
      return count;
    };
    c.Close = [this](TCabHandle h) { return Open.erase(h) + Outputs.erase(h) > 0; };
    c.Seek = [this](TCabHandle h, int64_t offset, int32_t origin) -> int64_t {
      TOpen& f = Open.at(h);
      int64_t base = origin == 0 ? 0 : origin == 1 ? f.Position : static_cast<int64_t>(f.Data->size());
      if (base + offset < 0) return -1;
      return f.Position = base + offset;
    };
    return c;
  }
  TCabHandle NewOutput() {
    Outputs[Next] = {};
    return Next++;
  }
};

TEST(CabinetLibrary, TheHeaderCheckReadsTheCabinetInformation) {
  ASSERT_TRUE(LoadCabinetLibrary());
  TMemoryFiles files;
  files.Disk["a.cab"] = TwoFileCabinet();
  files.Disk["text"] = Bytes{'n', 'o', 't', ' ', 'a', ' ', 'c', 'a', 'b'};
  TCabError error;
  TFdiContextPtr reader = FDICreate(files.Callbacks(), error);
  ASSERT_TRUE(reader);
  TFdiCabinetInfo info;
  TCabHandle h = files.Callbacks().Open("a.cab");
  ASSERT_TRUE(FDIIsCabinet(*reader, h, info));
  EXPECT_EQ(info.CabinetSize, static_cast<int64_t>(files.Disk["a.cab"].size()));
  EXPECT_EQ(info.FolderCount, 1);
  EXPECT_EQ(info.FileCount, 2);
  EXPECT_EQ(info.SetId, 77);
  EXPECT_EQ(info.CabinetNumber, 4);
  EXPECT_TRUE(info.HasNext);
  EXPECT_FALSE(info.HasPrevious);
  EXPECT_FALSE(info.HasReserve);
  TCabHandle t = files.Callbacks().Open("text");
  EXPECT_FALSE(FDIIsCabinet(*reader, t, info));
  EXPECT_EQ(FDIError(*reader).Code, CabErrorNotACabinet);
  EXPECT_TRUE(FDIDestroy(std::move(reader)));
  EXPECT_FALSE(FDIDestroy(nullptr));
}

TEST(CabinetLibrary, TheWalkNotifiesAndExtractsWhatItIsAnswered) {
  TMemoryFiles files;
  files.Disk["dir/a.cab"] = TwoFileCabinet();
  TCabError error;
  TFdiContextPtr reader = FDICreate(files.Callbacks(), error);
  std::vector<std::string> seen;
  TCabHandle output = 0;
  Bytes extracted;
  bool ok = FDICopy(*reader, "a.cab", "dir/", [&](TFdiNotification kind, const TFdiNotice& n) -> TCabHandle {
    switch (kind) {
      case TFdiNotification::CabinetInfo:
        seen.push_back("info " + n.CabinetPath + " " + n.NextCabinet + " " + n.NextDisk + " " +
                       std::to_string(n.SetId) + " " + std::to_string(n.CabinetNumber));
        return 0;
      case TFdiNotification::CopyFile:
        seen.push_back("copy " + n.File.FileName + " " + std::to_string(n.File.Size));
        // The second file only.
        return n.File.FileName == "two.txt" ? (output = files.NewOutput()) : 0;
      case TFdiNotification::CloseFileInfo:
        seen.push_back("close " + n.File.FileName + " " + std::to_string(n.File.Attributes));
        EXPECT_EQ(n.Handle, output);
        extracted = files.Outputs.at(n.Handle);
        return 1;
      case TFdiNotification::PartialFile:
        seen.push_back("partial");
        return 0;
    }
    return 0;
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(seen, (std::vector<std::string>{"info dir/ next.cab Disk 2 77 4", "copy one.txt 10", "copy two.txt 6",
                                            "close two.txt 33"}));
  EXPECT_EQ(std::string(extracted.begin(), extracted.end()), "second");
  // Every handle the library opened was closed again.
  EXPECT_TRUE(files.Open.empty());
}

TEST(CabinetLibrary, AnswersOfMinusOneStopTheWalk) {
  TMemoryFiles files;
  files.Disk["a.cab"] = TwoFileCabinet();
  TCabError error;
  TFdiContextPtr reader = FDICreate(files.Callbacks(), error);
  int copies = 0;
  EXPECT_FALSE(FDICopy(*reader, "a.cab", "", [&](TFdiNotification kind, const TFdiNotice&) -> TCabHandle {
    return kind == TFdiNotification::CopyFile && ++copies == 1 ? -1 : 0;
  }));
  EXPECT_EQ(copies, 1);
  EXPECT_EQ(FDIError(*reader).Code, CabErrorUserAbort);
  EXPECT_FALSE(FDICopy(*reader, "missing.cab", "", [](TFdiNotification, const TFdiNotice&) { return TCabHandle{0}; }));
  EXPECT_EQ(FDIError(*reader).Code, CabErrorCabinetNotFound);
}

TEST(CabinetLibrary, AnEntryContinuedIntoTheNextCabinetIsNotExtracted) {
  TMemoryFiles files;
  files.Disk["a.cab"] = TwoFileCabinet(0xFFFE);
  TCabError error;
  TFdiContextPtr reader = FDICreate(files.Callbacks(), error);
  EXPECT_FALSE(FDICopy(*reader, "a.cab", "", [&](TFdiNotification kind, const TFdiNotice& n) -> TCabHandle {
    return kind == TFdiNotification::CopyFile && n.File.FileName == "two.txt" ? files.NewOutput() : 0;
  }));
  EXPECT_EQ(FDIError(*reader).Code, CabErrorUnsupported);
  // The output was given up through Close.
  EXPECT_TRUE(files.Outputs.empty());
}

TEST(CabinetLibrary, ACallbacksExceptionPassesOnAfterTheLibraryLetGo) {
  TMemoryFiles files;
  files.Disk["a.cab"] = TwoFileCabinet();
  TCabError error;
  TFdiContextPtr reader = FDICreate(files.Callbacks(), error);
  // Reading the directory is done by the first reads; a later one fails inside the
  // decompressing library.
  files.ReadsBeforeThrow = 2;
  auto notify = [&](TFdiNotification kind, const TFdiNotice&) -> TCabHandle {
    return kind == TFdiNotification::CopyFile ? files.NewOutput() : 1;
  };
  EXPECT_THROW(FDICopy(*reader, "a.cab", "", notify), std::runtime_error);
  EXPECT_EQ(FDIError(*reader).Code, CabErrorCallback);
  EXPECT_TRUE(files.Open.empty());
  EXPECT_TRUE(files.Outputs.empty());
  // The context is usable again.
  files.ReadsBeforeThrow = -1;
  EXPECT_TRUE(FDICopy(*reader, "a.cab", "", [&](TFdiNotification kind, const TFdiNotice& n) -> TCabHandle {
    if (kind == TFdiNotification::CloseFileInfo) files.Callbacks().Close(n.Handle);
    return kind == TFdiNotification::CopyFile ? files.NewOutput() : 1;
  }));
}

// The writer over memory: sources by name, the cabinet collected, what became of it kept.
struct TMemoryWriter {
  std::map<std::string, Bytes> Sources;
  Bytes Cabinet;
  std::vector<std::string> Events;
  int WritesBeforeFailure = -1;  // the write of that number fails (answers 0)
  bool ThrowInsteadOfFailing = false;

  TFciFileCallbacks Callbacks() {
    TFciFileCallbacks c;
    c.OpenInfo = [this](const AnsiString& name, uint16_t& date, uint16_t& time, uint16_t& attributes) -> TCabHandle {
      if (!Sources.count(name)) return -1;
      date = 0x5B8A;
      time = 0x6A2F;
      attributes = 0x20;
      FReading = &Sources[name];
      FReadAt = 0;
      return 100;
    };
    c.Read = [this](TCabHandle, void* buffer, int32_t count) -> int32_t {
      auto n = static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(count), FReading->size() - FReadAt));
      std::memcpy(buffer, FReading->data() + FReadAt, static_cast<size_t>(n));
      FReadAt += static_cast<size_t>(n);
      return n;
    };
    c.Create = [this](const AnsiString& name) -> TCabHandle {
      Events.push_back("create " + name);
      Cabinet.clear();
      return 200;
    };
    c.Write = [this](TCabHandle, const void* buffer, int32_t count) -> int32_t {
      if (WritesBeforeFailure == 0) {
        if (ThrowInsteadOfFailing) throw std::runtime_error("disk full");
        return 0;
      }
      if (WritesBeforeFailure > 0) --WritesBeforeFailure;
      const auto* p = static_cast<const uint8_t*>(buffer);
      Cabinet.insert(Cabinet.end(), p, p + count);
      return count;
    };
    c.Close = [this](TCabHandle h) {
      if (h == 200) Events.push_back("complete");
      return true;
    };
    c.Discard = [this](TCabHandle) { Events.push_back("discard"); };
    return c;
  }

private:
  Bytes* FReading = nullptr;
  size_t FReadAt = 0;
};

TEST(CabinetLibrary, TheWriterTakesSourcesInStepsAndGivesUpAFailedCabinet) {
  TMemoryWriter files;
  files.Sources["big"] = Bytes(150000, 'x');
  TFciParameters parameters;
  parameters.CabinetName = "out.cab";
  parameters.CabinetPath = "dir/";
  TCabError error;
  TFciContextPtr writer = FCICreate(parameters, files.Callbacks(), error);
  ASSERT_TRUE(writer);
  std::vector<int64_t> steps;
  ASSERT_TRUE(FCIAddFile(
      *writer, "big", "big.txt", true,
      [&](int64_t bytes) {
        steps.push_back(bytes);
        return 0;
      },
      CabCompressNone));
  EXPECT_EQ(steps, (std::vector<int64_t>{65536, 65536, 18928}));
  EXPECT_FALSE(FCIAddFile(*writer, "missing", "m.txt", false, nullptr, CabCompressNone));
  EXPECT_EQ(FCIError(*writer).Code, CabErrorCabinetNotFound);
  EXPECT_FALSE(FCIAddFile(
      *writer, "big", "BIG.TXT", false, [](int64_t) { return -1; }, CabCompressNone));
  EXPECT_EQ(FCIError(*writer).Code, CabErrorUserAbort);
  // A write that fails, then one that raises: the cabinet is given up either way.
  files.WritesBeforeFailure = 1;
  EXPECT_FALSE(FCIFlushCabinet(*writer));
  EXPECT_EQ(FCIError(*writer).Code, CabErrorWrite);
  files.WritesBeforeFailure = 0;
  files.ThrowInsteadOfFailing = true;
  EXPECT_THROW(FCIFlushCabinet(*writer), std::runtime_error);
  EXPECT_EQ(files.Events, (std::vector<std::string>{"create dir/out.cab", "discard", "create dir/out.cab", "discard"}));
  files.WritesBeforeFailure = -1;
  files.Events.clear();
  ASSERT_TRUE(FCIFlushCabinet(*writer));
  EXPECT_EQ(files.Events, (std::vector<std::string>{"create dir/out.cab", "complete"}));
  EXPECT_TRUE(FCIDestroy(std::move(writer)));
  // The cabinet holds the one file, with its stamp and the run-after-extraction bit.
  TMemoryFiles reading;
  reading.Disk["c.cab"] = files.Cabinet;
  TFdiContextPtr reader = FDICreate(reading.Callbacks(), error);
  std::vector<std::string> listed;
  ASSERT_TRUE(FDICopy(*reader, "c.cab", "", [&](TFdiNotification kind, const TFdiNotice& n) -> TCabHandle {
    if (kind == TFdiNotification::CopyFile)
      listed.push_back(n.File.FileName + " " + std::to_string(n.File.Size) + " " + std::to_string(n.File.Date) + " " +
                       std::to_string(n.File.Time) + " " + std::to_string(n.File.Attributes));
    return 0;
  }));
  EXPECT_EQ(listed, (std::vector<std::string>{"big.txt 150000 23434 27183 96"}));
}

TEST(CabinetLibrary, UnboundBackendsAnswerLibraryMissing) {
  TMemoryFiles files;
  EXPECT_FALSE(BindCabinetLibrary("libqf-no-such-reader.so", ""));
  EXPECT_FALSE(LoadCabinetLibrary());
  TCabError error;
  EXPECT_FALSE(FDICreate(files.Callbacks(), error));
  EXPECT_EQ(error.Code, CabErrorLibraryMissing);
  EXPECT_TRUE(error.Present);
  EXPECT_FALSE(FCICreate(TFciParameters(), TFciFileCallbacks(), error));
  EXPECT_EQ(error.Code, CabErrorLibraryMissing);
  EXPECT_TRUE(BindCabinetLibrary("libmspack.so.0", "libgcab-1.0.so.0"));
  EXPECT_TRUE(FDICreate(files.Callbacks(), error));
}

}  // namespace
