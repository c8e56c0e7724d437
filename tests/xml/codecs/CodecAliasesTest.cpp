#include <gtest/gtest.h>

#include "xml/codecs/CodecTestSupport.h"
#include "xml/codecs/cUnicodeCodecs.h"

namespace {

TEST(CodecAliasesTest, ResolvesLabelsWithoutRegardToCase) {
  const std::pair<const char*, TUnicodeCodecClass> cases[] = {
      {"UTF-8", CodecClassOf<TUTF8Codec>()},
      {"utf-8", CodecClassOf<TUTF8Codec>()},
      {"Utf-8", CodecClassOf<TUTF8Codec>()},
      {"WINDOWS-1251", CodecClassOf<TWindows1251Codec>()},
      {"cp1251", CodecClassOf<TWindows1251Codec>()},
      {"latin1", CodecClassOf<TISO8859_1Codec>()},
      {"cp437", CodecClassOf<TIBM437Codec>()},
      {"IBM437", CodecClassOf<TIBM437Codec>()},
      {"utf16le", CodecClassOf<TUTF16LECodec>()},
      // the alias table wins: the registry's "macintosh" is Mac Roman
      {"macintosh", CodecClassOf<TMacLatin2Codec>()},
      {"MAC", CodecClassOf<TMacLatin2Codec>()},
      // through the registry only
      {"csISOLatin2", CodecClassOf<TISO8859_2Codec>()},
      {"csUnicode", CodecClassOf<TUCS2Codec>()},
      {"ISO-10646-UCS-2", CodecClassOf<TUCS2Codec>()},
      {"cp866", CodecClassOf<TIBM866Codec>()},
      {"csIBM1026", CodecClassOf<TIBM1026Codec>()},
      {"X0201", CodecClassOf<TJIS_X0201Codec>()},
      {"csKOI8R", CodecClassOf<TKOI8_RCodec>()},
      {"Windows-1258", CodecClassOf<TWindows1258Codec>()},
      // known charsets without a codec, and unknown labels
      {"UTF-16", nullptr},
      {"ISO-10646-UCS-4", nullptr},
      {"Shift_JIS", nullptr},
      {"TIS-620", nullptr},
      {"no-such-charset", nullptr},
      {"", nullptr},
  };
  for (const auto& [label, codecClass] : cases) {
    SCOPED_TRACE(label);
    EXPECT_EQ(ResolveCodecClass(label), codecClass);
  }
}

TEST(CodecAliasesTest, NamesACodecByItsFirstAlias) {
  EXPECT_EQ(GetCodecAlias(CodecClassOf<TWindows1251Codec>()), "windows-1251");
  EXPECT_EQ(GetCodecAlias(CodecClassOf<TUSASCIICodec>()), "ASCII");
  EXPECT_EQ(GetCodecAlias(CodecClassOf<TUTF16BECodec>()), "UTF-16BE");
  EXPECT_EQ(GetCodecAlias(CodecClassOf<TUCS4BECodec>()), "");
  EXPECT_EQ(GetCodecAlias(nullptr), "");
}

TEST(CodecAliasesTest, MapsMIBenumsToCodecs) {
  EXPECT_EQ(CodecClassOfMIBenum(3), CodecClassOf<TUSASCIICodec>());
  EXPECT_EQ(CodecClassOfMIBenum(15), CodecClassOf<TJIS_X0201Codec>());
  EXPECT_EQ(CodecClassOfMIBenum(106), CodecClassOf<TUTF8Codec>());
  EXPECT_EQ(CodecClassOfMIBenum(2258), CodecClassOf<TWindows1258Codec>());
  EXPECT_EQ(CodecClassOfMIBenum(14), nullptr);
  EXPECT_EQ(CodecClassOfMIBenum(1015), nullptr);
  EXPECT_EQ(CodecClassOfMIBenum(2027), nullptr);
}

TEST(CodecAliasesTest, EncodesWithAFreshCodecOfAClass) {
  EXPECT_EQ(EncodeWithCodecClass(nullptr, u"UTF-8"), "");
  EXPECT_EQ(EncodeWithCodecClass(CodecClassOf<TUSASCIICodec>(), u"ISO-8859-5"), "ISO-8859-5");
  const EUnicodeCodecException e =
      CatchCodecException([] { EncodeWithCodecClass(CodecClassOf<TUSASCIICodec>(), u"latin\u00E9"); });
  EXPECT_EQ(e.Message(), "Unicode code point $E9 has no equivalent in US-ASCII");
  EXPECT_EQ(e.Position(), 5);
}

}  // namespace
