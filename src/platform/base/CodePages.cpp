#include "platform/base/CodePages.h"

#include <iconv.h>
#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstring>
#include <string>
#include <unordered_map>

#include "platform/base/LastError.h"
#include "platform/base/Surrogates.h"
#include "platform/base/Utf8.h"

namespace {

std::atomic<uint32_t> AnsiCodePage{1251};
std::atomic<uint32_t> OemCodePage{866};

constexpr char16_t ReplacementChar = 0xFFFD;
// iconv converts straight into and out of WideString's units.
constexpr const char* NativeUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
const iconv_t NoDescriptor = reinterpret_cast<iconv_t>(-1);  // iconv_open's failure value

// iconv's name for a Windows code page; most are "CP<number>".
std::string IconvName(uint32_t codePage) {
  switch (codePage) {
    case 20127:
      return "ASCII";
    case 20866:
      return "KOI8-R";
    case 21866:
      return "KOI8-U";
    case 28591:
      return "ISO-8859-1";
    case 28592:
      return "ISO-8859-2";
    case 28593:
      return "ISO-8859-3";
    case 28594:
      return "ISO-8859-4";
    case 28595:
      return "ISO-8859-5";
    case 28596:
      return "ISO-8859-6";
    case 28597:
      return "ISO-8859-7";
    case 28598:
      return "ISO-8859-8";
    case 28599:
      return "ISO-8859-9";
    case 28603:
      return "ISO-8859-13";
    case 28605:
      return "ISO-8859-15";
    case 10000:
      return "MACINTOSH";
    // The Far-East Mac code pages extend the double-byte sets iconv has.
    case 10001:
      return "SHIFT_JIS";
    case 10002:
      return "BIG5";
    case 10003:
      return "EUC-KR";
    case 10008:
      return "GB2312";
    case 10021:
      return "TIS-620";
    case 10007:
      return "MAC-CYRILLIC";
    case 10017:
      return "MACUKRAINIAN";
    case 10029:
      return "MAC-CENTRALEUROPE";
    case 50220:
      return "ISO-2022-JP";
    case 51932:
      return "EUC-JP";
    case 51949:
      return "EUC-KR";
    case 54936:
      return "GB18030";
    default:
      return "CP" + std::to_string(codePage);
  }
}

// The iconv descriptors of one code page, both directions; NoDescriptor when iconv
// lacks the code page.
struct TCodePageDescriptors {
  iconv_t ToWide = NoDescriptor;
  iconv_t FromWide = NoDescriptor;
};

// iconv descriptors keep conversion state, so each thread caches its own.
class TDescriptorCache {
public:
  TDescriptorCache() = default;
  TDescriptorCache(const TDescriptorCache&) = delete;
  TDescriptorCache& operator=(const TDescriptorCache&) = delete;
  ~TDescriptorCache() {
    for (auto& [codePage, entry] : FEntries) {
      if (entry.ToWide != NoDescriptor) iconv_close(entry.ToWide);
      if (entry.FromWide != NoDescriptor) iconv_close(entry.FromWide);
    }
  }

  const TCodePageDescriptors& Get(uint32_t codePage) {
    auto found = FEntries.find(codePage);
    if (found != FEntries.end()) return found->second;
    TCodePageDescriptors entry;
    const std::string name = IconvName(codePage);
    entry.ToWide = iconv_open(NativeUtf16, name.c_str());
    entry.FromWide = iconv_open(name.c_str(), NativeUtf16);
    if (entry.ToWide == NoDescriptor || entry.FromWide == NoDescriptor) {
      if (entry.ToWide != NoDescriptor) iconv_close(entry.ToWide);
      if (entry.FromWide != NoDescriptor) iconv_close(entry.FromWide);
      entry = {};
    }
    return FEntries.emplace(codePage, entry).first->second;
  }

private:
  std::unordered_map<uint32_t, TCodePageDescriptors> FEntries;
};

TDescriptorCache& Descriptors() {
  thread_local TDescriptorCache cache;
  return cache;
}

uint32_t ResolveCodePage(uint32_t codePage) {
  if (codePage == CP_ACP || codePage == CP_THREAD_ACP) return AnsiCodePage.load();
  if (codePage == CP_OEMCP) return OemCodePage.load();
  if (codePage == CP_MACCP) return 10000;
  return codePage;
}

bool Convertible(uint32_t resolved) {
  return resolved == CP_UTF8 || Descriptors().Get(resolved).ToWide != NoDescriptor;
}

// Outcome of a whole-text conversion; Ok false means a character had no translation and
// the caller asked to fail on it.
struct TConversion {
  bool Ok = true;
  bool UsedDefault = false;
};

// UTF-8 to UTF-16; each maximal ill-formed subpart becomes one U+FFFD.
TConversion DecodeUtf8(AnsiStringView in, bool failOnInvalid, WideString& out) {
  for (size_t i = 0; i < in.size();) {
    uint32_t value = 0;
    size_t consumed = 0;
    const bool wellFormed = DecodeUtf8Sequence(in, i, value, consumed);
    if (!wellFormed && failOnInvalid) return {false, false};
    AppendUtf16(out, wellFormed ? value : ReplacementChar);
    i += consumed;
  }
  return {};
}

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
TConversion EncodeUtf8(WideStringView in, bool failOnInvalid, AnsiString& out) {
  for (size_t i = 0; i < in.size(); ++i) {
    uint32_t value = in[i];
    if (const uint32_t pair = SurrogatePairAt(in, i); pair != 0) {
      value = pair;
      ++i;
    } else if (IsSurrogate(value)) {
      if (failOnInvalid) return {false, false};
      value = ReplacementChar;
    }
    AppendUtf8(out, value);
  }
  return {};
}

// Runs iconv over the whole input, appending to `out` in place. `onInvalid` gets the
// untranslatable input position (with `out` cut to what is written), may append to
// `out`, and returns how many input bytes to skip (0: stop with failure).
template <typename TOut, typename TInvalid>
bool RunIconv(iconv_t cd, const char* input, size_t inputBytes, TOut& out, TInvalid onInvalid) {
  using TUnit = typename TOut::value_type;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(input);  // iconv's signature; the input is not written
  size_t inLeft = inputBytes;
  size_t written = out.size();  // units
  // One output unit per input byte is enough for nearly every text; more is grown.
  out.resize(written + inputBytes + 16);
  bool done = false;
  while (!done) {
    char* to = reinterpret_cast<char*>(out.data() + written);
    size_t outLeft = (out.size() - written) * sizeof(TUnit);
    size_t result;
    if (inLeft > 0) {
      result = iconv(cd, &in, &inLeft, &to, &outLeft);
    } else {
      result = iconv(cd, nullptr, nullptr, &to, &outLeft);  // stateful encodings' reset
      done = result != static_cast<size_t>(-1);
    }
    const int error = errno;
    written = static_cast<size_t>(to - reinterpret_cast<char*>(out.data())) / sizeof(TUnit);
    if (result != static_cast<size_t>(-1)) continue;
    if (error == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    out.resize(written);
    if (error != EILSEQ && error != EINVAL) return false;
    size_t skip = onInvalid(in, inLeft);
    if (skip == 0) return false;
    // EINVAL: the input ends inside a sequence; the rest is one untranslatable unit.
    if (error == EINVAL) skip = inLeft;
    in += skip;
    inLeft -= skip;
    written = out.size();
    out.resize(written + inLeft + 16);
  }
  out.resize(written);
  return true;
}

TConversion DecodeWithIconv(iconv_t cd, AnsiStringView in, bool failOnInvalid, WideString& out) {
  const bool ok = RunIconv(cd, in.data(), in.size(), out, [&](const char*, size_t) -> size_t {
    if (failOnInvalid) return 0;
    out.push_back(ReplacementChar);
    return 1;
  });
  return {ok, false};
}

TConversion EncodeWithIconv(iconv_t cd, WideStringView in, bool failOnInvalid, char defaultChar, AnsiString& out) {
  TConversion result;
  result.Ok = RunIconv(cd, reinterpret_cast<const char*>(in.data()), in.size() * sizeof(WideChar), out,
                       [&](const char* at, size_t left) -> size_t {
                         if (failOnInvalid) return 0;
                         out.push_back(defaultChar);
                         result.UsedDefault = true;
                         // A whole surrogate pair is one character.
                         const size_t offset = (reinterpret_cast<const WideChar*>(at) - in.data());
                         return SurrogatePairAt(in, offset) != 0 ? 4 : std::min<size_t>(left, 2);
                       });
  return result;
}

// Copies a converted text into the caller's buffer by Windows rules; returns the count
// or 0 with the last error set.
template <typename TChar>
int32_t Deliver(const std::basic_string<TChar>& text, TChar* dest, int32_t destAvail) {
  if (text.size() > static_cast<size_t>(INT32_MAX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const auto count = static_cast<int32_t>(text.size());
  if (destAvail == 0) return count;
  if (count > destAvail) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(dest, text.data(), text.size() * sizeof(TChar));
  return count;
}

bool ValidArguments(const void* source, int32_t sourceCount, const void* dest, int32_t destAvail) {
  return source != nullptr && sourceCount != 0 && sourceCount >= -1 && destAvail >= 0 &&
         (dest != nullptr || destAvail == 0);
}

// The whole text converted; false with the last error set (the output is then empty).
bool ConvertToWide(uint32_t codePage, uint32_t flags, AnsiStringView text, WideString& out) {
  const uint32_t resolved = ResolveCodePage(codePage);
  if ((flags & ~MB_ERR_INVALID_CHARS) != 0 || !Convertible(resolved)) {
    SetLastError((flags & ~MB_ERR_INVALID_CHARS) != 0 ? ERROR_INVALID_FLAGS : ERROR_INVALID_PARAMETER);
    return false;
  }
  const bool failOnInvalid = (flags & MB_ERR_INVALID_CHARS) != 0;
  out.reserve(text.size());
  const TConversion result = resolved == CP_UTF8
                                 ? DecodeUtf8(text, failOnInvalid, out)
                                 : DecodeWithIconv(Descriptors().Get(resolved).ToWide, text, failOnInvalid, out);
  if (!result.Ok) {
    out.clear();
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
  }
  return result.Ok;
}

bool ConvertFromWide(uint32_t codePage, uint32_t flags, WideStringView text, char defaultChar, AnsiString& out,
                     bool& usedDefault) {
  const uint32_t resolved = ResolveCodePage(codePage);
  if ((flags & ~WC_ERR_INVALID_CHARS) != 0 || !Convertible(resolved)) {
    SetLastError((flags & ~WC_ERR_INVALID_CHARS) != 0 ? ERROR_INVALID_FLAGS : ERROR_INVALID_PARAMETER);
    return false;
  }
  const bool failOnInvalid = (flags & WC_ERR_INVALID_CHARS) != 0;
  out.reserve(text.size());
  const TConversion result = resolved == CP_UTF8 ? EncodeUtf8(text, failOnInvalid, out)
                                                 : EncodeWithIconv(Descriptors().Get(resolved).FromWide, text,
                                                                   failOnInvalid, defaultChar, out);
  usedDefault = result.UsedDefault;
  if (!result.Ok) {
    out.clear();
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
  }
  return result.Ok;
}

}  // namespace

uint32_t GetACP() noexcept { return AnsiCodePage.load(); }

uint32_t GetOEMCP() noexcept { return OemCodePage.load(); }

bool SetAnsiCodePage(uint32_t codePage) {
  if (codePage <= CP_THREAD_ACP || !Convertible(codePage)) return false;
  AnsiCodePage.store(codePage);
  return true;
}

bool SetOemCodePage(uint32_t codePage) {
  if (codePage <= CP_THREAD_ACP || !Convertible(codePage)) return false;
  OemCodePage.store(codePage);
  return true;
}

bool IsValidCodePage(uint32_t codePage) { return Convertible(ResolveCodePage(codePage)); }

int32_t MultiByteToWideChar(uint32_t codePage, uint32_t flags, const char* source, int32_t sourceBytes, WideChar* dest,
                            int32_t destChars) {
  if (!ValidArguments(source, sourceBytes, dest, destChars)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const size_t length = sourceBytes == -1 ? std::strlen(source) + 1 : static_cast<size_t>(sourceBytes);
  WideString converted;
  return ConvertToWide(codePage, flags, AnsiStringView(source, length), converted) ? Deliver(converted, dest, destChars)
                                                                                   : 0;
}

int32_t WideCharToMultiByte(uint32_t codePage, uint32_t flags, const WideChar* source, int32_t sourceChars, char* dest,
                            int32_t destBytes, const char* defaultChar, bool* usedDefaultChar) {
  if (!ValidArguments(source, sourceChars, dest, destBytes) ||
      (ResolveCodePage(codePage) == CP_UTF8 && (defaultChar != nullptr || usedDefaultChar != nullptr))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t length = static_cast<size_t>(sourceChars);
  if (sourceChars == -1) length = std::char_traits<char16_t>::length(source) + 1;
  AnsiString converted;
  bool usedDefault = false;
  if (!ConvertFromWide(codePage, flags, WideStringView(source, length), defaultChar != nullptr ? *defaultChar : '?',
                       converted, usedDefault))
    return 0;
  if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault;
  return Deliver(converted, dest, destBytes);
}

WideString AnsiToWide(AnsiStringView text, uint32_t codePage) {
  WideString result;
  if (!text.empty()) ConvertToWide(codePage, 0, text, result);
  return result;
}

AnsiString WideToAnsi(WideStringView text, uint32_t codePage, bool* usedDefaultChar) {
  AnsiString result;
  bool usedDefault = false;
  if (!text.empty()) ConvertFromWide(codePage, 0, text, '?', result, usedDefault);
  if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault;
  return result;
}

AnsiString WideToAnsi(WideStringView text, uint32_t codePage) { return WideToAnsi(text, codePage, nullptr); }
