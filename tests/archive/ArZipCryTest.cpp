// The legacy decoders' password engine: the header check with its tries and the
// password hook, over a header our encrypting stream wrote.
#include <gtest/gtest.h>

#include <deque>

#include "archive/ArExcept.h"
#include "archive/ArZipCry.h"
#include "archive/ArchiveTestSupport.h"

namespace {

constexpr uint32_t CheckValue = 0xA1B2C3D4;

// "hello world" encrypted with "secret" after its header; the header's random bytes
// are fixed, so which wrong passwords pass the one-byte check is fixed too.
Bytes Encrypted() {
  TMemoryStream out;
  uint8_t next = 0;
  {
    TArDfEncryptStream encrypting(out, "secret", CheckValue, [&] { return next += 37; });
    encrypting.WriteBuffer("hello world", 11);
  }
  return StreamBytes(out);
}

TEST(TArZDecoder, TriesThePasswordAndTheHooksAnswers) {
  struct TCase {
    const char* What;
    const char* Password;
    std::vector<AnsiString> Answers;  // empty: no hook
    bool OneByteCheck;
    bool Passes;
    int32_t Requests;
  };
  const TCase cases[] = {
      {"right at once", "secret", {}, true, true, 0},
      {"right, two-byte check", "secret", {}, false, true, 0},
      {"wrong without a hook", "wrong", {}, true, false, 0},
      {"wrong, then right", "wrong", {"bad", "secret"}, true, true, 2},
      {"wrong every time", "wrong", {"bad", "worse", "worst", "secret"}, true, false, 3},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    TMemoryStream source;
    LoadBytes(source, Encrypted());
    TArZDecoder decoder(c.Password, source, CheckValue, c.OneByteCheck);
    std::deque<AnsiString> answers(c.Answers.begin(), c.Answers.end());
    int32_t requests = 0;
    if (!answers.empty())
      decoder.OnNeedPassword = [&](AnsiString& password) {
        ++requests;
        password = answers.front();
        answers.pop_front();
      };
    if (c.Passes) {
      decoder.CheckHeader();
      EXPECT_EQ(decoder.Password(), "secret");
      EXPECT_EQ(source.Position(), 12);
      uint8_t text[11];
      source.ReadBuffer(text, 11);
      decoder.Decode(text, 11);
      EXPECT_EQ(AnsiString(reinterpret_cast<char*>(text), 11), "hello world");
    } else {
      EXPECT_THROW(decoder.CheckHeader(), EArZipInvalidPassword);
      EXPECT_EQ(source.Position(), 0);
    }
    EXPECT_EQ(requests, c.Requests);
  }
}

}  // namespace
