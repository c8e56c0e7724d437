// Resource strings: the built-in texts of the program's messages.
//
// A resource string is a record with static storage duration; code refers to it by
// address, so a record's identity is its address. `Name` is the constant name under
// which translations find it ("SErrBadInputImage"); `Text` is the built-in text in the
// process's ANSI code page, or UTF-8 when it starts with the bytes EF BB BF.
//
// A subsystem declares its strings in one header of its own:
//   inline constexpr TResStringRec SErrBadInputImage{"SErrBadInputImage", "Bad input image!"};
// and lists them in one table that its registration function hands to the registry.
#pragma once

struct TResStringRec {
  const char* Name;
  const char* Text;
};

using PResStringRec = const TResStringRec*;
