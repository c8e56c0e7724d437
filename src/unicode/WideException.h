// The exception that carries a user-facing UTF-16 message. Kept apart from UniSysUtils.h
// so that libraries which only raise it need not see the whole runtime.
#pragma once

#include <initializer_list>
#include <span>

#include "platform/base/Exception.h"
#include "platform/base/Format.h"
#include "platform/base/ResString.h"
#include "platform/base/Types.h"

// An exception with a UTF-16 message; the base class's 8-bit message holds the same
// text by the default conversion.
class WideException : public Exception {
public:
  explicit WideException(WideString message);
  // The message is WideFormat(format, args).
  WideException(const WideString& format, std::span<const TVarRec> args);
  WideException(const WideString& format, std::initializer_list<TVarRec> args)
      : WideException(format, std::span<const TVarRec>(args.begin(), args.size())) {}
  // The message is LoadWideResString of the record (translations apply).
  explicit WideException(PResStringRec message);

  const WideString& WideMessage() const noexcept { return FWideMessage; }
  void SetWideMessage(WideString message);

private:
  WideString FWideMessage;
};
