// Errors of the language manager and its files.
#pragma once

#include "platform/base/Exception.h"
#include "platform/base/ResString.h"

class ELangError : public Exception {
public:
  using Exception::Exception;
};

inline constexpr TResStringRec SLangDuplicateTranslationId{"SLangDuplicateTranslationId",
                                                           "Duplicate property value translation ID (%d)"};
inline constexpr TResStringRec SLangLoadingFailed{"SLangLoadingFailed", "Loading translations failed.\r\nLine %d: %s"};
inline constexpr TResStringRec SLangInvalidConstantName{"SLangInvalidConstantName", "Invalid constant name (\"%s\")"};
inline constexpr TResStringRec SLangDuplicateConstantName{"SLangDuplicateConstantName",
                                                          "Duplicate constant name (\"%s\")"};
inline constexpr TResStringRec SLangConstantNotFound{"SLangConstantNotFound", "Constant \"%s\" not found"};
inline constexpr TResStringRec SLangFileTooLarge{"SLangFileTooLarge",
                                                 "Language file is too large (%d bytes; at most %d)"};
inline constexpr TResStringRec SLangStreamVersion{"SLangStreamVersion",
                                                  "Stream version (%d) is greater than the current one (%d)"};
