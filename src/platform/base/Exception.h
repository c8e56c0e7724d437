// The root of every exception the system raises.
//
// `Exception` carries an 8-bit message (in the process's ANSI code page, as the class
// library keeps it); subsystems derive their own families from it. Messages are the
// system's fixed texts, exactly.
#pragma once

#include <exception>

#include "platform/base/Types.h"

class Exception : public std::exception {
public:
  explicit Exception(AnsiString message) : Message_(std::move(message)) {}

  const AnsiString& Message() const noexcept { return Message_; }
  void SetMessage(AnsiString message) { Message_ = std::move(message); }
  const char* what() const noexcept override { return Message_.c_str(); }

private:
  AnsiString Message_;
};
