// The legacy decoders (shrink, reduce, implode) on entries written by an independent
// encoder (tests/archive/legacy_zip.py, from the application note). Debian's unzip
// checks every shrunk and imploded file first; it is built without unreduce, so reduced
// files rest on the encoder alone.
#include <gtest/gtest.h>

#include "archive/ArUnzper.h"
#include "archive/ArZipDefs.h"
#include "archive/ArchiveTestSupport.h"

namespace {

// A zip of one entry "entry.bin" with the given method, flags and packed data.
Bytes OneEntryZip(uint16_t method, uint16_t flags, const Bytes& plain, const Bytes& packed) {
  Bytes zip;
  const std::string name = "entry.bin";
  auto header = [&](bool central) {
    AppendLE32(zip, central ? ZipCentralSignature : ZipLocalSignature);
    if (central) AppendLE16(zip, 10);  // version made by (MS-DOS 1.0)
    AppendLE16(zip, 10);               // version needed
    AppendLE16(zip, flags);
    AppendLE16(zip, method);
    AppendLE16(zip, 0);     // time
    AppendLE16(zip, 0x21);  // date 1980-01-01
    AppendLE32(zip, ZlibCrc(plain));
    AppendLE32(zip, static_cast<uint32_t>(packed.size()));
    AppendLE32(zip, static_cast<uint32_t>(plain.size()));
    AppendLE16(zip, static_cast<uint16_t>(name.size()));
    AppendLE16(zip, 0);  // extra field length
    if (central) {
      for (int i = 0; i < 4; ++i) AppendLE16(zip, 0);  // comment, disk, internal attributes, ...
      AppendLE16(zip, 0);                              // ... and the external attributes (u32)
      AppendLE32(zip, 0);                              // local header offset
    }
    zip.insert(zip.end(), name.begin(), name.end());
  };
  header(false);
  zip.insert(zip.end(), packed.begin(), packed.end());
  size_t directory = zip.size();
  header(true);
  size_t directoryBytes = zip.size() - directory;
  AppendLE32(zip, ZipEndSignature);
  AppendLE16(zip, 0);  // this disk
  AppendLE16(zip, 0);  // directory disk
  AppendLE16(zip, 1);  // entries here
  AppendLE16(zip, 1);  // entries in all
  AppendLE32(zip, static_cast<uint32_t>(directoryBytes));
  AppendLE32(zip, static_cast<uint32_t>(directory));
  AppendLE16(zip, 0);  // comment length
  return zip;
}

class LegacyMethods : public testing::Test {
protected:
  LegacyMethods() : Zip(nullptr) {
    Zip.OnProcessItemFailure = [this](TObject*, TArArchiveItem*, TArProcessType, TArErrorClass, int32_t code) {
      Codes.push_back(code);
    };
  }
  Bytes Extract(const Bytes& zip) {
    WriteFileBytes(Folder / "legacy.zip", zip);
    Zip.OpenArchive(Folder / "legacy.zip");
    TMemoryStream out;
    Zip.ExtractItemToStream("entry.bin", out);
    return StreamBytes(out);
  }
  TTempFolder Folder;
  TArUnZipper Zip;
  std::vector<int32_t> Codes;
};

TEST_F(LegacyMethods, DecodeWhatTheIndependentEncoderWrote) {
  // 30000 bytes keep the shrink table below its 8192 codes: Debian's unzip refuses this
  // encoder's output once the table is full, so that case has no peer here.
  Bytes text = BookLikeText(30000, 3);
  text[100] = 144;  // the byte reduce escapes
  text[5000] = 144;
  WriteFileBytes(Folder / "in.bin", text);
  struct Case {
    const char* Args;
    bool UnzipChecks;
  };
  const Case cases[] = {{"1 x", true},      {"2 plain", false},     {"3 followers", false},
                        {"4 plain", false}, {"5 followers", false}, {"6 4k2", true},
                        {"6 4k3", true},    {"6 8k2", true},        {"6 8k3", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Args);
    RunIn(Folder,
          std::string("python3 '" QF_TEST_SOURCE_DIR "/archive/legacy_zip.py' ") + c.Args + " in.bin legacy.zip");
    if (c.UnzipChecks) {
      RunIn(Folder, "unzip -p legacy.zip > peer.bin");
      ASSERT_EQ(ReadFileBytes(Folder / "peer.bin"), text);
    }
    Codes.clear();
    EXPECT_EQ(Extract(ReadFileBytes(Folder / "legacy.zip")), text);
    EXPECT_TRUE(Codes.empty());
  }
}

TEST_F(LegacyMethods, DecryptEncryptedEntries) {
  Bytes text = BookLikeText(8000, 4);
  WriteFileBytes(Folder / "in.bin", text);
  for (const char* args : {"1 x", "6 8k3"}) {
    SCOPED_TRACE(args);
    RunIn(Folder, std::string("python3 '" QF_TEST_SOURCE_DIR "/archive/legacy_zip.py' ") + args +
                      " in.bin legacy.zip secret && unzip -P secret -p legacy.zip > peer.bin");
    ASSERT_EQ(ReadFileBytes(Folder / "peer.bin"), text);
    Zip.SetPassword("secret");
    Codes.clear();
    EXPECT_EQ(Extract(ReadFileBytes(Folder / "legacy.zip")), text);
    EXPECT_TRUE(Codes.empty());
    Zip.SetPassword("");
    EXPECT_TRUE(Extract(ReadFileBytes(Folder / "legacy.zip")).empty());
    EXPECT_EQ(Codes, std::vector<int32_t>{4});
    // A wrong password without a handler is an invalid password too, not an abort.
    Codes.clear();
    Zip.SetPassword("wrong");
    EXPECT_TRUE(Extract(ReadFileBytes(Folder / "legacy.zip")).empty());
    EXPECT_EQ(Codes, std::vector<int32_t>{4});
    // The handler's answer is tried next.
    int32_t asked = 0;
    Zip.OnNeedPassword = [&](TObject*, AnsiString& password) {
      ++asked;
      password = "secret";
    };
    EXPECT_EQ(Extract(ReadFileBytes(Folder / "legacy.zip")), text);
    EXPECT_EQ(asked, 1);
    Zip.OnNeedPassword = nullptr;
  }
}

// Explode with two trees and a 4 KB dictionary: a match before the first byte, then a
// literal.
TEST_F(LegacyMethods, CopiesFromBeforeTheFirstByteGiveZeros) {
  TBitWriter w;
  for (int tree = 0; tree < 2; ++tree) {          // length and distance trees
    w.Bits(3, 8);                                 // 4 bytes follow
    for (int i = 0; i < 4; ++i) w.Bits(0xF5, 8);  // 16 symbols of 6 bits each
  }
  w.Bits(0, 1);       // a match
  w.Bits(4, 6);       // low distance bits: distance 5
  w.Code(63 - 0, 6);  // distance code 0 (symbol 0 has the code 63)
  w.Code(63 - 0, 6);  // length code 0: the minimum of 2
  w.Bits(1, 1);       // a literal
  w.Bits('A', 8);     // raw with two trees
  Bytes plain{0, 0, 'A'};
  Bytes zip = OneEntryZip(6, 0, plain, w.Data());
  WriteFileBytes(Folder / "peer.zip", zip);
  RunIn(Folder, "unzip -p peer.zip > peer.bin");
  EXPECT_EQ(ReadFileBytes(Folder / "peer.bin"), plain);
  EXPECT_EQ(Extract(zip), plain);
  EXPECT_TRUE(Codes.empty());
}

TEST_F(LegacyMethods, CorruptDataIsAReadError) {
  TBitWriter w;
  w.Bits(3, 8);                                 // length tree: 4 bytes follow
  for (int i = 0; i < 4; ++i) w.Bits(0xF4, 8);  // 64 symbols of 5 bits: more than 5 bits hold
  w.Bits(3, 8);
  for (int i = 0; i < 4; ++i) w.Bits(0xF5, 8);
  w.Bits(0, 16);
  Bytes zip = OneEntryZip(6, 0, Bytes(10, 'x'), w.Data());
  WriteFileBytes(Folder / "peer.zip", zip);
  EXPECT_THROW(RunIn(Folder, "unzip -p peer.zip > peer.bin"), std::runtime_error);
  Extract(zip);
  EXPECT_EQ(Codes, std::vector<int32_t>{29});
  // A shrunk entry whose data ends before its announced size.
  Codes.clear();
  TBitWriter s;
  s.Bits('a', 9);
  Extract(OneEntryZip(1, 0, Bytes{'a', 'b'}, s.Data()));
  EXPECT_EQ(Codes, std::vector<int32_t>{29});
}

}  // namespace
