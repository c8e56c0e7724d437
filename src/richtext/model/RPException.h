// The rich-text engine's exception and its fixed English messages.
#pragma once

#include "platform/base/Exception.h"

class ERichPaneError : public Exception {
public:
  using Exception::Exception;
};

inline constexpr char errRPUnicode[] = "Can't perform Unicode operation";
inline constexpr char errRPRegisterItemType[] =
    "Can't register RichPane item type - this StyleNo is already registered";
inline constexpr char errRPItemIndexOutOfBounds[] = "Item index is out of bounds";
inline constexpr char errRPInvalidItemClass[] = "Can't get or set this kind of information for this item";
inline constexpr char errRPTagsTypesMismatch[] = "Can't assign RichPane to RichPane - tags types mismatch";
inline constexpr char errRPNoMemory[] = "No memory";
inline constexpr char errRPComparePositions[] = "Error when comparing positions in the document";
// Raised when an item of a kind is needed whose class no unit has registered.
inline constexpr char errRPNoItemClass[] = "Can't create RichPane item - its type is not registered";
inline constexpr char errRPNoTextItemClass[] = "Can't create RichPane text item - its type is not registered";
// Raised when a document's native-format data is read or written before the interchange
// library installed the format (RegisterRPFDocumentFormat).
inline constexpr char errRPNoNativeFormat[] = "Can't read or write RichPane format - it is not registered";
