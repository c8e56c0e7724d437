// Small books for the driver's tests, written as text here, zip archives made from them
// by Python's zipfile module (a peer that is not our archive code), and the Wolf files
// written from them read back by the test reader.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "convert/SchemeTestFolder.h"
#include "convert/cFB2WolConvertor.h"
#include "platform/base/TempFolder.h"
#include "unicode/Peers.h"
#include "wolf/WolfFileReader.h"

// A FictionBook with a title, an author and the given body sections (raw XML inside
// <body>), then the given binaries (raw XML).
inline std::string TestFB2(const std::string& title, const std::string& body, const std::string& encoding = "UTF-8",
                           const std::string& binaries = "") {
  return "<?xml version=\"1.0\" encoding=\"" + encoding +
         "\"?>\n<FictionBook xmlns=\"http://www.gribuser.ru/xml/fictionbook/2.0\" "
         "xmlns:l=\"http://www.w3.org/1999/xlink\"><description><title-info><genre>sf</genre><author><first-name>"
         "Ann</first-name><last-name>Writer</last-name></author><book-title>" +
         title + "</book-title></title-info></description><body>" + body + "</body>" + binaries + "</FictionBook>\n";
}

// Black PNG images (8-bit gray, one IDAT) written by Python's zlib and struct: 1000 x 40,
// wider than any page, and 40 x 1000, taller than any page.
inline constexpr char WideBlackPngBase64[] =
    "iVBORw0KGgoAAAANSUhEUgAAA+gAAAAoCAAAAABIyI8RAAAAPklEQVR42u3BMQEAAADCoPVPbQZ/oAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
    "AAAAAAAAAAAAAAAgNcAnGgAAS63ZUcAAAAASUVORK5CYII=";
inline constexpr char TallBlackPngBase64[] =
    "iVBORw0KGgoAAAANSUhEUgAAACgAAAPoCAAAAACJleOYAAAAPklEQVR42u3BAQEAAACCIP+vbkhAAQAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
    "AAAAAAAAAAAAAAAwI8BoCgAAff3vpcAAAAASUVORK5CYII=";

// The binaries of a test book: "wide.png" and "tall.png".
inline std::string BlackPngBinaries() {
  return std::string("<binary id=\"wide.png\" content-type=\"image/png\">") + WideBlackPngBase64 +
         "</binary><binary id=\"tall.png\" content-type=\"image/png\">" + TallBlackPngBase64 + "</binary>";
}

struct TZipEntry {
  std::string Name;
  std::string Data;
  bool Deflated = false;
};

// Writes a zip archive of the entries with Python's zipfile; false when Python fails.
inline bool WriteTestZip(const std::string& path, const std::vector<TZipEntry>& entries) {
  std::string script = "import sys, zipfile\nz = zipfile.ZipFile(sys.argv[1], 'w')\n";
  std::string input;
  for (const TZipEntry& e : entries) {
    script += "z.writestr(" + std::string("'") + e.Name + "', sys.stdin.buffer.read(" + std::to_string(e.Data.size()) +
              "), zipfile." + (e.Deflated ? "ZIP_DEFLATED" : "ZIP_STORED") + ")\n";
    input += e.Data;
  }
  script += "z.close()\n";
  TempFolder scratch;
  WriteBytes(scratch / "make.py", script);
  std::string output;
  return RunPeer("/usr/bin/python3 " + (scratch / "make.py") + " " + path, input, output);
}

// The Wolf file of that name in the folder, read back whole.
inline TReadWolfBook ReadWolfFile(const TempFolder& folder, const std::string& name) {
  const std::string bytes = ReadBytes(folder / name);
  return ReadWolfBook(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

// The pages of a written book: one image per page, each of that depth and size. Callers
// wrap it in ASSERT_NO_FATAL_FAILURE.
inline void ExpectPageImages(const TReadWolfBook& book, int32_t pageCount, int32_t bitCount, int32_t width,
                             int32_t height) {
  ASSERT_EQ(static_cast<int32_t>(book.Images.size()), pageCount);
  for (const TReadWolfImage& image : book.Images) {
    EXPECT_EQ(image.BitCount, bitCount);
    EXPECT_EQ(image.Width, width);
    EXPECT_EQ(image.Height, height);
  }
}

// The book (FB2 text) converted end to end by the driver as "book.fb2" of the folder and
// written as "book.wol", read back into wol: one page image of the scheme's size and 2
// bits per pixel for every page. Callers wrap it in ASSERT_NO_FATAL_FAILURE.
inline void ConvertBookAndReadBack(TFB2WolConvertor& driver, const TSchemeTestFolder& folder, const std::string& fb2,
                                   TReadWolfBook& wol) {
  folder.Write("book.fb2", fb2);
  driver.LoadBook(folder.Wide("book.fb2"));
  driver.ConvertBook();
  driver.SaveWolf(folder.Wide("book.wol"));
  wol = ReadWolfFile(folder, "book.wol");
  ASSERT_NO_FATAL_FAILURE(
      ExpectPageImages(wol, driver.PageCount, 2, driver.Scheme.PageWidth, driver.Scheme.PageHeight));
}
