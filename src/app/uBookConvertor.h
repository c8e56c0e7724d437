// What the main window asks of the per-book converter: a scheme, then for each book its
// loading, its conversion and its saving, with progress reported back through one event.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/base/Types.h"

// Called at every stage and step of a book; cancel comes in false, and true makes the
// converter end the book with "User break!".
using TBookProgressEvent = std::function<void(const WideString& message, int32_t percent, bool& cancel)>;

class TBookConvertor {
public:
  virtual ~TBookConvertor() = default;
  virtual void SetOnProgress(TBookProgressEvent event) = 0;
  // Loads the named scheme (a ".gws" file beside the program, without its extension).
  virtual void SelectScheme(const WideString& name) = 0;
  // An FB2 file or a zip archive holding one (".zip", ".fbz"), told apart by their bytes;
  // a failure the user should read raises
  // WideException.
  virtual void LoadBook(const WideString& fileName) = 0;
  virtual void ConvertBook() = 0;
  // Writes the converted book as a ".wol" file of that name. An existing file is
  // replaced only by a complete new one: a failure or a break leaves it as it was.
  virtual void SaveWolf(const WideString& fileName) = 0;
};
