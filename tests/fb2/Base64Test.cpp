#include "fb2/uBase64.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/base/TempFolder.h"
#include "platform/graphics/PilPeer.h"

namespace {

struct TDecoded {
  bool Result;
  std::string Bytes;
};

TDecoded Decode(WideStringView text) {
  TMemoryStream stream;
  const bool result = Base64Decode(text, stream);
  return {result, std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()))};
}

WideString Widen(const std::string& text) { return WideString(text.begin(), text.end()); }

}  // namespace

TEST(Base64Decode, FollowsTheGroupRulesAndSkipsWhiteSpaceAnywhere) {
  const struct {
    const char16_t* Text;
    bool Result;
    const char* Bytes;
  } cases[] = {
      {u"QUJD", true, "ABC"},
      {u"QUI=", true, "AB"},
      {u"QQ==", true, "A"},
      {u"QQ=x", true, "A"},               // "=" third: the fourth character is not used
      {u"QQ==QUJD", true, "AABC"},        // a padded group may be followed by more
      {u"QUJD\r\nREVG", true, "ABCDEF"},  // white space between groups
      {u"\n  QUJD\n", true, "ABC"},       // before the first group and after the last
      {u"Q U\tJ\r\nD", true, "ABC"},      // inside a group
      {u"QUJDR", true, "ABC"},            // one character left over is ignored
      {u"QUJDRA", false, "ABC"},          // two left over: the groups before stay written
      {u"QUJDREV", false, "ABC"},         // three left over
      {u"", false, ""},
      {u" \r\n\t", false, ""},
      {u"Q", false, ""},     // no whole group
      {u"QUJ*", false, ""},  // a character outside the alphabet
      {u"QUJDRE.G", false, "ABC"},
      {u"=QUJ", false, ""},  // "=" first or second in a group
      {u"Q=JD", false, ""},
      {u"QUJD\u0416REVG", false, "ABC"},  // a letter beyond ASCII
      {u"QUJ\u00a0D", false, ""},         // no-break space is no white space here
      {u"QUJ\u0144", false, ""},          // its low byte is "D"
      {u"//79", true, "\xff\xfe\xfd"},
      {u"+-8=", false, ""},  // "-" belongs to the URL-safe alphabet only
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Bytes) + " / " + std::to_string(c.Result));
    const TDecoded decoded = Decode(c.Text);
    EXPECT_EQ(decoded.Result, c.Result);
    EXPECT_EQ(decoded.Bytes, c.Bytes);
  }
}

TEST(Base64Decode, WritesAtTheStreamsPosition) {
  TMemoryStream stream;
  stream.WriteBuffer("0123456789", 10);
  stream.SetPosition(4);
  ASSERT_TRUE(Base64Decode(u"QUJD", stream));
  EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), 10), "0123ABC789");
  EXPECT_EQ(stream.Position(), 7);
}

TEST(Base64Decode, DecodesWhatPythonEncodesWrappedAsBooksWrapIt) {
  QF_REQUIRE_PIL();
  TempFolder folder;
  constexpr int32_t Count = 60;
  ASSERT_TRUE(RunPeerScript("fb2/base64_peer.py", {"write", folder.Path(), std::to_string(Count)}));
  for (int32_t i = 0; i < Count; ++i) {
    SCOPED_TRACE(i);
    const std::string text = ReadBytes(folder / (std::to_string(i) + ".txt"));
    const TDecoded decoded = Decode(Widen(text));
    EXPECT_TRUE(decoded.Result);
    EXPECT_EQ(decoded.Bytes, ReadBytes(folder / (std::to_string(i) + ".bin")));
  }
}
