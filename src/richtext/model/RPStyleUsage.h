// Which styles of a style sheet a document uses, for removing the unused ones: the usage
// record is prepared from the sheet (standard styles always count), then the items mark
// their styles and the styles mark the styles they refer to.
#pragma once

#include "richtext/model/RPItemInfo.h"

class TCustomRPData;
class TCustomRPInfos;
class TRPStyle;

// One mark per style of each kind: 1 for every style of a kind that is not tracked, 0
// for a tracked kind; the sheet's DefUnicodeStyle is marked (or reset to -1 when it is no
// valid text style); standard styles of tracked kinds are marked. Nothing when the record
// is initialised already.
void InitStyleUsage(TRPStyleUsage& usage, TRPStyle& rpStyle);
// Marks every style of the collection whose Standard flag is set.
void MarkStandardStylesUsed(const TCustomRPInfos& styles, TRPIntegerList& marks);
// The document's items mark their styles; then used paragraph styles mark their base and
// next styles, their default text styles, the DefUnicodeStyle, and used text styles
// their base and next styles, and used list styles their base styles, each style once.
// A reference outside its collection is reset to -1 when met.
void MarkStylesInUse(const TCustomRPData& data, TRPStyle& rpStyle, TRPStyleUsage& usage);
