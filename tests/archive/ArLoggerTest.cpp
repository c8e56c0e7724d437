// The engines' log: buffering, line ends, and what the engines write to it.
#include <gtest/gtest.h>

#include "archive/ArDfDec.h"
#include "archive/ArDfEnc.h"
#include "archive/ArExcept.h"
#include "archive/ArLogger.h"
#include "archive/ArchiveTestSupport.h"

namespace {

std::string FileText(const std::string& path) {
  Bytes bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

TEST(ArLogger, BuffersFourKilobytesAndFlushesWhenFreed) {
  TTempFolder folder;
  std::string path = folder / "log.txt";
  WriteFileBytes(path, Bytes(100, 'o'));  // an old log is emptied
  {
    TArLogger log(path);
    EXPECT_EQ(FileText(path), "");
    log.WriteLine("first");
    EXPECT_EQ(log.Seek(0, soCurrent), 7);  // the file's 0 plus 7 buffered
    EXPECT_EQ(log.Seek(0, soEnd), 7);
    EXPECT_EQ(log.Seek(1, soCurrent), 0);  // only the position is answered
    EXPECT_EQ(log.Seek(0, soBeginning), 0);
    EXPECT_EQ(FileText(path), "");  // still in the buffer
    std::string big(5000, 'x');
    EXPECT_EQ(log.Write(big.data(), 5000), 5000);
    EXPECT_EQ(FileText(path).size(), 4096u);  // one full buffer went out
    log.LineDelimiter = 1;
    log.WriteLine("lf");
    log.LineDelimiter = 2;
    log.WriteLine("none");
  }
  EXPECT_EQ(FileText(path), "first\r\n" + std::string(5000, 'x') + "lf\nnone");
}

TEST(ArLogger, EnginesWriteTheirTitleAndInternalErrors) {
  TTempFolder folder;
  TArDeflateHelper options;
  options.LogFile = folder / "deflate.log";
  TMemoryStream source, packed;
  LoadBytes(source, BookLikeText(1000, 1));
  DeflateStream(source, packed, &options);
  EXPECT_EQ(FileText(options.LogFile),
            "DEFLATING STREAM...\r\nNeed to recompile the app with UseLogging turned on\r\n");

  // Block type 3 does not exist.
  TMemoryStream bad, out;
  LoadBytes(bad, Bytes{0x07, 0x00});
  options.LogFile = folder / "inflate.log";
  EXPECT_THROW(InflateStream(bad, &out, &options), EArInflateError);
  std::string text = FileText(options.LogFile);
  EXPECT_EQ(text.rfind("INFLATING STREAM...\r\nNeed to recompile the app with UseLogging turned on\r\n"
                       "Internal exception raised: ",
                       0),
            0u);
}

}  // namespace
