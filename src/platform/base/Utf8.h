// Well-formed UTF-8 (RFC 3629) sequences, shared by the code-page conversions and the
// file-name mapping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/base/Surrogates.h"
#include "platform/base/Types.h"

// Decodes the sequence at bytes[at] (at < size). On success sets *value and returns
// true; `consumed` is the sequence's length, or for an ill-formed one the length of its
// maximal ill-formed prefix (at least 1), after which decoding resumes.
bool DecodeUtf8Sequence(std::string_view bytes, size_t at, uint32_t& value, size_t& consumed);

// Appends a code point (at most U+10FFFF) as UTF-8 / as one or two UTF-16 units.
void AppendUtf8(std::string& out, uint32_t value);
void AppendUtf16(WideString& out, uint32_t value);
