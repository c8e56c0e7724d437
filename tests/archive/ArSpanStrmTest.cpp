// The spanning stream at the boundaries of its volumes: reading and seeking across
// them, the ignore-spanning mode, the handler's answers, and writing split by a
// threshold.
#include <gtest/gtest.h>

#include <map>

#include "archive/ArExcept.h"
#include "archive/ArSpanStrm.h"
#include "archive/ArchiveTestSupport.h"

namespace {

class SpanStream : public testing::Test {
protected:
  // Three volumes of 100, 50 and 30 bytes; byte i of the whole is i mod 251.
  SpanStream() {
    size_t start = 0;
    for (size_t i = 0; i < VolumeBytes.size(); ++i) {
      Bytes volume;
      for (size_t b = 0; b < VolumeBytes[i]; ++b) volume.push_back(static_cast<uint8_t>((start + b) % 251));
      WriteFileBytes(Folder / Names[i], volume);
      start += VolumeBytes[i];
    }
  }
  std::unique_ptr<TArSpanStream> OpenReading(TArMediaType media = mtLocal) {
    auto stream = std::make_unique<TArSpanStream>(Folder / Names[0], 0, media, fmOpenRead | fmShareDenyNone);
    stream->OnRequestMedia = [this](TArSpanStream&, int32_t imageNumber, bool&, AnsiString& name) {
      Requests.push_back(imageNumber);
      size_t volume = static_cast<size_t>(imageNumber);
      name = volume < Names.size() ? Folder / Names[volume] : AnsiString();
    };
    return stream;
  }
  static Bytes Whole(size_t from, size_t count) {
    Bytes bytes;
    for (size_t i = from; i < from + count; ++i) bytes.push_back(static_cast<uint8_t>(i % 251));
    return bytes;
  }
  static Bytes ReadSome(TStream& stream, int32_t count) {
    Bytes bytes(static_cast<size_t>(count));
    bytes.resize(static_cast<size_t>(stream.Read(bytes.data(), count)));
    return bytes;
  }

  TTempFolder Folder;
  const std::vector<size_t> VolumeBytes{100, 50, 30};
  const std::vector<std::string> Names{"set.zip", "set.z02", "set.z03"};
  std::vector<int32_t> Requests;
};

TEST_F(SpanStream, OneReadContinuesThroughEveryVolumeAndStopsAtTheSetsEnd) {
  auto stream = OpenReading();
  EXPECT_EQ(stream->SpanMode(), smReading);
  stream->Seek(95, soBeginning);
  EXPECT_EQ(ReadSome(*stream, 10), Whole(95, 10));  // 5 bytes of volume 0, 5 of volume 1
  EXPECT_EQ(stream->SpanNumber(), 1);
  EXPECT_EQ(stream->Position(), 5);
  EXPECT_EQ(ReadSome(*stream, 1000), Whole(105, 75));  // the rest, to the end of volume 2
  EXPECT_EQ(stream->SpanNumber(), 2);
  // Local volumes are asked for by their number from 0; 3 is past the set.
  EXPECT_EQ(Requests, (std::vector<int32_t>{1, 2, 3}));
}

TEST_F(SpanStream, SeeksPastEitherEndContinueInTheNeighbouringVolume) {
  struct TCase {
    const char* What;
    int64_t Start;   // in volume 0
    int64_t Offset;  // from the current position
    int32_t ExpectedVolume;
    int64_t ExpectedPosition;
  };
  const TCase cases[] = {
      {"inside", 10, 40, 0, 50},
      {"to the end, which is inside", 10, 90, 0, 100},
      {"one past the end", 10, 91, 1, 1},
      {"over a whole volume", 90, 70, 2, 10},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    auto stream = OpenReading();
    stream->Seek(c.Start, soBeginning);
    EXPECT_EQ(stream->Seek(c.Offset, soCurrent), c.ExpectedPosition);
    EXPECT_EQ(stream->SpanNumber(), c.ExpectedVolume);
    EXPECT_EQ(ReadSome(*stream, 1), Whole(c.Start + c.Offset, 1));
  }
  // Back from volume 2 at 5 by 40: 35 before its start, 15 before the end of volume 1.
  auto stream = OpenReading();
  stream->Seek(155, soBeginning);
  ASSERT_EQ(stream->SpanNumber(), 2);
  EXPECT_EQ(stream->Seek(-40, soCurrent), 15);
  EXPECT_EQ(stream->SpanNumber(), 1);
  EXPECT_EQ(ReadSome(*stream, 1), Whole(115, 1));
}

TEST_F(SpanStream, WithoutAVolumeToGoToThePositionStays) {
  auto stream = OpenReading();
  stream->Seek(20, soBeginning);
  EXPECT_EQ(stream->Seek(-30, soCurrent), 20);  // before the first volume
  stream->OnRequestMedia = nullptr;
  EXPECT_EQ(stream->Seek(500, soBeginning), 20);
  stream->Seek(90, soBeginning);
  EXPECT_EQ(ReadSome(*stream, 50), Whole(90, 10));
  EXPECT_EQ(stream->SpanNumber(), 0);
}

TEST_F(SpanStream, IgnoringSpanningMakesTheVolumeOnePlainFile) {
  auto stream = OpenReading();
  stream->IgnoreSpanning = true;
  EXPECT_EQ(stream->Seek(-5, soBeginning), 0);
  EXPECT_EQ(stream->Seek(1000, soBeginning), 100);
  stream->Seek(90, soBeginning);
  EXPECT_EQ(ReadSome(*stream, 50), Whole(90, 10));
  EXPECT_TRUE(Requests.empty());
}

TEST_F(SpanStream, RemovableMediaAsksForDisksFromOneAndKeepsTheName) {
  auto stream = OpenReading(mtRemoveable);
  AnsiString proposed;
  stream->OnRequestMedia = [&](TArSpanStream&, int32_t imageNumber, bool&, AnsiString& name) {
    Requests.push_back(imageNumber);
    proposed = name;
    WriteFileBytes(Folder / Names[0], Whole(100, 50));  // the user puts in the second disk
  };
  stream->Seek(100, soBeginning);
  EXPECT_EQ(ReadSome(*stream, 3), Whole(100, 3));
  EXPECT_EQ(Requests, (std::vector<int32_t>{2}));
  EXPECT_EQ(proposed, Folder / Names[0]);
}

TEST_F(SpanStream, RefusedAndMissingVolumesRaise) {
  auto stream = OpenReading();
  stream->Seek(100, soBeginning);
  uint8_t byte = 0;
  stream->OnRequestMedia = [](TArSpanStream&, int32_t, bool& abort, AnsiString&) { abort = true; };
  EXPECT_THROW(stream->Read(&byte, 1), EArUserAbort);
  stream->OnRequestMedia = [this](TArSpanStream&, int32_t, bool&, AnsiString& name) { name = Folder / "gone.z02"; };
  EXPECT_THROW(stream->Read(&byte, 1), EArFileNotFound);
  EXPECT_EQ(stream->SpanNumber(), 0);
}

TEST_F(SpanStream, NeedsAFullPath) {
  try {
    TArSpanStream stream("set.zip", 0, mtLocal, fmOpenRead);
    FAIL();
  } catch (const EArException& e) {
    EXPECT_EQ(e.Message(), "Full Path Required");
  }
}

TEST_F(SpanStream, WritingSplitsAtTheThresholdIntoNumberedVolumes) {
  std::vector<std::pair<int32_t, AnsiString>> asked;
  std::vector<int32_t> percents;
  {
    TArSpanStream stream(Folder / "out.zip", 100, mtLocal, fmCreate);
    EXPECT_EQ(stream.SpanMode(), smWriting);
    stream.OnRequestMedia = [&](TArSpanStream&, int32_t imageNumber, bool&, AnsiString& name) {
      asked.emplace_back(imageNumber, name);
    };
    stream.TotalBytesToWrite = 250;
    stream.OnProgress = [&](int32_t percent, bool&) { percents.push_back(percent); };
    Bytes data = Whole(0, 250);
    // 70 fits; 70 fills the first volume and starts the second; 110 fills the second
    // and starts the third.
    EXPECT_EQ(stream.Write(data.data(), 70), 70);
    EXPECT_EQ(stream.Write(data.data() + 70, 70), 70);
    EXPECT_EQ(stream.Write(data.data() + 140, 110), 110);
    EXPECT_EQ(stream.SpanNumber(), 2);
    uint8_t byte = 0;
    EXPECT_EQ(stream.Read(&byte, 1), 0);  // a writing stream reads nothing
  }
  EXPECT_EQ(asked, (std::vector<std::pair<int32_t, AnsiString>>{{1, Folder / "out.z02"}, {2, Folder / "out.z03"}}));
  EXPECT_EQ(percents, (std::vector<int32_t>{28, 56, 100}));
  EXPECT_EQ(ReadFileBytes(Folder / "out.zip"), Whole(0, 100));
  EXPECT_EQ(ReadFileBytes(Folder / "out.z02"), Whole(100, 100));
  EXPECT_EQ(ReadFileBytes(Folder / "out.z03"), Whole(200, 50));
}

TEST_F(SpanStream, WritingFailuresAndAborts) {
  Bytes data = Whole(0, 150);
  {
    SCOPED_TRACE("no handler for a full volume");
    TArSpanStream stream(Folder / "a.zip", 100, mtLocal, fmCreate);
    EXPECT_THROW(stream.Write(data.data(), 150), EArZipStreamFull);
  }
  {
    SCOPED_TRACE("the handler aborts");
    TArSpanStream stream(Folder / "b.zip", 100, mtLocal, fmCreate);
    stream.OnRequestMedia = [](TArSpanStream&, int32_t, bool& abort, AnsiString&) { abort = true; };
    EXPECT_THROW(stream.Write(data.data(), 150), EArUserAbort);
  }
  {
    SCOPED_TRACE("the progress handler aborts");
    TArSpanStream stream(Folder / "c.zip", 0, mtLocal, fmCreate);
    stream.OnProgress = [](int32_t, bool& abort) { abort = true; };
    EXPECT_EQ(stream.Write(data.data(), 10), 0);
  }
  {
    SCOPED_TRACE("a reading stream");
    auto stream = OpenReading();
    EXPECT_EQ(stream->Write(data.data(), 10), 0);
  }
}

}  // namespace
