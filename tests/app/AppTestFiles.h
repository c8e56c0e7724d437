// Files of the application's tests: a program folder with a name in several scripts,
// texts in UTF-16LE with a byte-order mark, a language file, and a user whom file
// permissions refuse.
#pragma once

#include <filesystem>
#include <string>

#include "platform/base/TempFolder.h"
#include "platform/base/Types.h"

// A temporary folder that the application takes as its program folder while it lives.
class TProgramFolder {
public:
  TProgramFolder();
  ~TProgramFolder();
  // The folder's path in bytes (UTF-8) and as the program names it, with a trailing "/".
  const std::string& Path() const { return FPath; }
  const WideString& Dir() const { return FDir; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

private:
  TempFolder FTemp;
  std::string FPath;
  WideString FDir;
};

// The text as UTF-16LE after FF FE; and back (empty unless the bytes start with FF FE).
std::string Utf16LEWithBom(const WideString& text);
WideString FromUtf16LEWithBom(const std::string& bytes);

class TLanguageController;

// The LANGID of the Russian language file below.
inline constexpr uint16_t RussianLangID = 1049;

// A Russian language file (UTF-16LE) for the main window, written as a translator would:
// every text that the window's controller lists, and the messages of a batch, each
// longer than its English text. A text of the window without a Russian one fails the
// calling test.
std::string RussianMainWindowFile(const TLanguageController& controller);

// Tests of what the file system refuses need a user whom permissions refuse, and root
// is refused nothing. Run as root (as CI runs), the calling test runs again in a child
// process as the user "nobody", and this returns true once the child has passed (its
// failures are reported here). Run as anyone else it returns false, and the test's body
// runs in this process: call it first, as `if (RerunUnprivileged()) return;`.
bool RerunUnprivileged();
