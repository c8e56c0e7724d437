// The settings that number and currency texts follow.
//
// The program writes numbers with "." whatever the locale; the defaults here are the
// ones every subsystem gets unless it passes settings of its own.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

struct TFormatSettings {
  AnsiString CurrencyString = "$";
  // Position of the currency string: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
  uint8_t CurrencyFormat = 0;
  // Layout of a negative amount, 0 "($1)" to 15 "(1 $)", as the class library numbers them.
  uint8_t NegCurrFormat = 0;
  char ThousandSeparator = ',';
  char DecimalSeparator = '.';
  uint8_t CurrencyDecimals = 2;
};

// The process-wide settings used when a call passes none.
TFormatSettings& DefaultFormatSettings() noexcept;
