#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "platform/base/Exception.h"
#include "platform/base/Streams.h"
#include "xml/codecs/SingleByteCodecs.h"
#include "xml/codecs/Ucs4Codecs.h"
#include "xml/codecs/Utf16Codecs.h"
#include "xml/codecs/Utf8Codec.h"
#include "xml/dom/DomExceptions.h"
#include "xml/parser/XmlInputSource.h"

namespace {

// The bytes of an ASCII text in a UCS-4 byte order: "2143" puts the second byte of the
// big-endian value first, and so on.
AnsiString EncodeUcs4(std::string_view text, std::string_view order) {
  AnsiString out;
  for (char c : text) {
    const uint8_t bigEndian[4] = {0, 0, 0, uint8_t(c)};
    for (char digit : order) out += char(bigEndian[digit - '1']);
  }
  return out;
}

// The bytes of an ASCII text in one of the encodings a byte-order mark can announce.
AnsiString Encode(std::string_view text, int unitBytes, bool bigEndian) {
  AnsiString out;
  for (char c : text) {
    for (int i = 0; i < unitBytes; ++i) {
      const int shift = bigEndian ? (unitBytes - 1 - i) * 8 : i * 8;
      out += char((uint32_t(uint8_t(c)) >> shift) & 0xFF);
    }
  }
  return out;
}

struct TSource {
  explicit TSource(AnsiString bytes, TUnicodeCodecClass codecClass = nullptr, bool declFlag = true)
      : Stream(std::move(bytes)), Source(&Stream, TXmlSourceStart{}, codecClass, 4096, u"FB2", u"", declFlag) {}

  // The characters from the reader's position to the end.
  std::u32string Rest() {
    std::u32string chars;
    for (Source.Next(); !Source.AtEnd(); Source.Next()) chars += char32_t(Source.CurrentPos().Char);
    return chars;
  }

  TStringStream Stream;
  TXmlInputSource Source;
};

TEST(XmlInputSourceTest, DeclarationForms) {
  const struct {
    const char* Text;
    TXmlDeclarationKind Kind;
    bool Malformed;
    const char16_t* Version;
    const char16_t* Encoding;
    TDomStandalone Standalone;
  } cases[] = {
      {"<?xml version='1.0' encoding=\"ISO-8859-5\"?>", dkXmlOrTextDeclaration, false, u"1.0", u"ISO-8859-5",
       sdUnspecified},
      {"<?xml version=\"1.0\"?>", dkXmlDeclaration, false, u"1.0", u"", sdUnspecified},
      {"<?xml version = '1.1' standalone='yes' ?>", dkXmlDeclaration, false, u"1.1", u"", sdYes},
      {"<?xml version='1.0' encoding='utf-8' standalone='no'?>", dkXmlDeclaration, false, u"1.0", u"utf-8", sdNo},
      {"<?xml\tencoding=\"UTF-8\"?>", dkTextDeclaration, false, u"1.0", u"UTF-8", sdUnspecified},
      {"<?xml encoding=\"UTF-8\" standalone='yes'?>", dkTextDeclaration, true, u"1.0", u"UTF-8", sdYes},
      {"<?xml version=\"1.0\"encoding=\"UTF-8\"?>", dkXmlOrTextDeclaration, true, u"1.0", u"", sdUnspecified},
      {"<?xml?>", dkTextDeclaration, true, u"1.0", u"", sdUnspecified},
      {"<?xml version=''?>", dkXmlOrTextDeclaration, true, u"1.0", u"", sdUnspecified},
      {"<?xml version='2.0\"?>", dkXmlOrTextDeclaration, true, u"2.0", u"", sdUnspecified},
      {"<?xml version='1.0' standalone='maybe'?>", dkXmlDeclaration, true, u"1.0", u"", sdUnspecified},
      {"<?xml version='1.0' encoding='8bit'?>", dkXmlOrTextDeclaration, true, u"1.0", u"", sdUnspecified},
      {"<?xml encoding='UTF-8' version='1.0'?>", dkTextDeclaration, true, u"1.0", u"UTF-8", sdUnspecified},
      {"<?xml version='1.0'", dkXmlDeclaration, true, u"1.0", u"", sdUnspecified},
      {"<?xml version='1.0'?", dkXmlDeclaration, true, u"1.0", u"", sdUnspecified},
      {"<?xml version='1\xFF'?>", dkXmlOrTextDeclaration, true, u"1.0", u"", sdUnspecified},  // a codec fault
      {"<root/>", dkNoDeclaration, false, u"1.0", u"", sdUnspecified},
      {"", dkNoDeclaration, false, u"1.0", u"", sdUnspecified},
      // A processing instruction whose target begins with "xml" is no declaration.
      {"<?xml-stylesheet href='a.css'?><a/>", dkNoDeclaration, false, u"1.0", u"", sdUnspecified},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    TSource s(c.Text, CodecClassOf<TUTF8Codec>());  // a caller's codec: labels are read, not resolved
    EXPECT_EQ(s.Source.DeclarationKind(), c.Kind);
    EXPECT_EQ(s.Source.HasMalformedDeclaration(), c.Malformed);
    EXPECT_EQ(s.Source.XmlVersion(), c.Version);
    EXPECT_EQ(s.Source.XmlEncoding(), c.Encoding);
    EXPECT_EQ(s.Source.XmlStandalone(), c.Standalone);
  }
}

TEST(XmlInputSourceTest, TheReaderStartsBehindAWellFormedDeclarationOnly) {
  EXPECT_EQ(TSource("<?xml version='1.0'?>\n<a/>").Rest(), U"\n<a/>");
  EXPECT_EQ(TSource("<?xml-stylesheet?><a/>").Rest(), U"<?xml-stylesheet?><a/>");
  EXPECT_EQ(TSource("<?xml version=1.0?><a/>").Rest(), U"<?xml version=1.0?><a/>");
  EXPECT_EQ(TSource("").Rest(), U"");
}

TEST(XmlInputSourceTest, DeclaredEncodingSelectsTheCodec) {
  TSource s("<?xml version='1.0' encoding=\"ISO-8859-5\"?>\xB0\xEF");
  EXPECT_EQ(s.Source.GetCodecClass(), CodecClassOf<TISO8859_5Codec>());
  EXPECT_EQ(s.Rest(), U"\u0410\u044F");
  EXPECT_EQ(s.Source.SystemId(), u"FB2");

  TSource plain("<?xml version='1.0'?>\xD0\x96");
  EXPECT_EQ(plain.Source.GetCodecClass(), CodecClassOf<TUTF8Codec>());
  EXPECT_EQ(plain.Rest(), U"\u0416");

  // A caller's codec is kept: the label is neither resolved nor compared.
  TSource chosen("<?xml version='1.0' encoding='bogus'?>\xB0", CodecClassOf<TISO8859_1Codec>());
  EXPECT_EQ(chosen.Rest(), U"\u00B0");
}

TEST(XmlInputSourceTest, EveryByteOrderMarkWithAMatchingOrNoLabel) {
  const struct {
    const char* Name;
    AnsiString Mark;
    int UnitBytes;
    bool BigEndian;
    const char* Label;  // nullptr: no encoding declared
    TUnicodeCodecClass Expected;
  } cases[] = {
      {"UTF-8", "\xEF\xBB\xBF", 1, false, "UTF-8", CodecClassOf<TUTF8Codec>()},
      {"UTF-8 no label", "\xEF\xBB\xBF", 1, false, nullptr, CodecClassOf<TUTF8Codec>()},
      {"UTF-16LE", "\xFF\xFE", 2, false, "UTF-16", CodecClassOf<TUTF16LECodec>()},
      {"UTF-16LE label", "\xFF\xFE", 2, false, "UTF-16LE", CodecClassOf<TUTF16LECodec>()},
      {"UTF-16BE", "\xFE\xFF", 2, true, "utf-16", CodecClassOf<TUTF16BECodec>()},
      {"UTF-16BE as UCS-2", "\xFE\xFF", 2, true, "ISO-10646-UCS-2", CodecClassOf<TUCS2Codec>()},
      {"UCS-4BE", AnsiString("\x00\x00\xFE\xFF", 4), 4, true, nullptr, CodecClassOf<TUCS4BECodec>()},
      {"UCS-4LE", AnsiString("\xFF\xFE\x00\x00", 4), 4, false, nullptr, CodecClassOf<TUCS4LECodec>()},
      {"UCS-4LE labelled UCS-4", AnsiString("\xFF\xFE\x00\x00", 4), 4, false, "ISO-10646-UCS-4",
       CodecClassOf<TUCS4LECodec>()},  // the mark's byte order wins
  };
  for (const auto& [order, mark, expected] :
       {std::tuple{"2143", AnsiString("\x00\x00\xFF\xFE", 4), CodecClassOf<TUCS4_2143Codec>()},
        std::tuple{"3412", AnsiString("\xFE\xFF\x00\x00", 4), CodecClassOf<TUCS4_3412Codec>()}}) {
    SCOPED_TRACE(order);
    TSource s(mark + EncodeUcs4("<?xml version='1.0'?><a/>", order));
    EXPECT_FALSE(s.Source.HasMalformedDeclaration());
    EXPECT_EQ(s.Source.GetCodecClass(), expected);
    EXPECT_EQ(s.Rest(), U"<a/>");
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string decl = c.Label ? std::string("<?xml version='1.0' encoding='") + c.Label + "'?><a/>"
                                     : std::string("<?xml version='1.0'?><a/>");
    TSource s(c.Mark + Encode(decl, c.UnitBytes, c.BigEndian));
    EXPECT_FALSE(s.Source.HasMalformedDeclaration());
    EXPECT_EQ(s.Source.GetCodecClass(), c.Expected);
    EXPECT_EQ(s.Rest(), U"<a/>");
  }
}

TEST(XmlInputSourceTest, LabelsTheMarkOrTheCodecsRefuse) {
  const struct {
    const char* Name;
    AnsiString Bytes;
    bool NotSupported;  // else: mismatch
  } cases[] = {
      {"utf-16 with a UTF-8 mark", "\xEF\xBB\xBF<?xml version='1.0' encoding='utf-16'?>", false},
      {"UTF-8 with a UTF-16LE mark", "\xFF\xFE" + Encode("<?xml version='1.0' encoding='UTF-8'?>", 2, false), false},
      {"ISO-8859-1 with a UTF-16BE mark", "\xFE\xFF" + Encode("<?xml encoding='ISO-8859-1'?>", 2, true), false},
      {"unknown label", "<?xml version='1.0' encoding='x-no-such-codec'?>", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    try {
      TSource s(c.Bytes);
      ADD_FAILURE() << "nothing raised";
    } catch (const ENot_Supported_Err& e) {
      EXPECT_TRUE(c.NotSupported);
      EXPECT_STREQ(e.what(), "Encoding not supported error.");
    } catch (const EConvertError& e) {
      EXPECT_FALSE(c.NotSupported);
      EXPECT_STREQ(e.what(), "Declared encoding does not match byte order mark.");
    }
  }
}

TEST(XmlInputSourceTest, Utf16LabelWithoutAMarkMeansBigEndian) {
  TSource s("<?xml version='1.0' encoding='utf-16'?>" + Encode("<a/>", 2, true));
  EXPECT_EQ(s.Source.GetCodecClass(), CodecClassOf<TUTF16BECodec>());
  EXPECT_EQ(s.Rest(), U"<a/>");
  EXPECT_EQ(s.Source.EncodingName(), u"UTF-16BE");
}

TEST(XmlInputSourceTest, PositionsCountLinesColumnsAndTabs) {
  TSource s("a\nb\tc");
  std::vector<TUtilsCharPosition> positions;
  for (s.Source.Next(); !s.Source.AtEnd(); s.Source.Next()) positions.push_back(s.Source.CurrentPos());
  ASSERT_EQ(positions.size(), 5u);
  EXPECT_EQ(positions[0].Line, 1);
  EXPECT_EQ(positions[0].Column, 1);
  EXPECT_EQ(positions[0].CharNumber, 1);
  EXPECT_EQ(positions[1].Line, 2);  // the line feed counts on the new line, at column 0
  EXPECT_EQ(positions[1].Column, 0);
  EXPECT_EQ(positions[2].Column, 1);
  EXPECT_EQ(positions[3].Column, 2);  // a tab: one column and one tab
  EXPECT_EQ(positions[3].TabsInLine, 1);
  EXPECT_EQ(positions[4].Column, 3);
}

TEST(XmlInputSourceTest, DeclFlagChoosesWherePositionsStart) {
  const char* text = "<?xml version='1.0'?>x";  // the declaration is 21 characters
  TSource restart(text, nullptr, true);
  restart.Source.Next();
  EXPECT_EQ(restart.Source.CurrentPos().Char, U'x');
  EXPECT_EQ(restart.Source.CurrentPos().CharNumber, 1);
  EXPECT_EQ(restart.Source.CurrentPos().Column, 1);
  EXPECT_EQ(restart.Source.CurrentPos().ByteNumber, 1);

  TSource carryOn(text, nullptr, false);
  carryOn.Source.Next();
  EXPECT_EQ(carryOn.Source.CurrentPos().Char, U'x');
  EXPECT_EQ(carryOn.Source.CurrentPos().CharNumber, 22);
  EXPECT_EQ(carryOn.Source.CurrentPos().Column, 22);
  EXPECT_EQ(carryOn.Source.CurrentPos().ByteNumber, 22);
}

TEST(XmlInputSourceTest, SimpleSourceReadsNoDeclaration) {
  TStringStream stream("<?xml version='1.0'?>");
  TXmlSimpleInputSource source(&stream, TXmlSourceStart{}, nullptr, 4096, u"sys", u"pub");
  source.Next();
  EXPECT_EQ(source.CurrentPos().Char, U'<');
  EXPECT_EQ(source.PublicId(), u"pub");
  EXPECT_EQ(source.EncodingName(), u"UTF-8");
}

}  // namespace
