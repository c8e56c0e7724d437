// The formatting state of one open RTF group. Opening a group pushes a copy of the
// current state; closing it restores that copy (TRPRTFReader).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/Object.h"
#include "platform/base/Types.h"
#include "platform/graphics/Graphic.h"
#include "richtext/interchange/RPRTFProperties.h"
#include "richtext/interchange/RPRTFSymbols.h"
#include "richtext/interchange/RPRTFTypes.h"

// What one field collects. The states of the field's group and of every group inside it
// share it, so that the instruction read in \fldinst is known to the \fldrslt group
// beside it and to the field's end.
class TRPRTFFieldData : public TObject {
public:
  AnsiString Instruction;  // 8-bit, as read
  bool PictureInserted = false;
  // A picture that the owner marked invalid, reported at the field's end when the result
  // inserted none.
  std::unique_ptr<TGraphic> RejectedPicture;
  AnsiString RejectedPictureName;
  // A SYMBOL field added its character; the result (the same character) is skipped.
  bool SymbolAdded = false;
};

class TRPRTFReaderState : public TObject {
public:
  // The copy a group takes: character properties without the language and the font
  // override, section properties without the header and footer distances, the rest
  // whole. The row is shared with the copy until one of them changes it.
  void Assign(const TRPRTFReaderState& source);
  // The reader's reset: every property to its default with no default language, the
  // default font number 0 (not yet resolved), no field, main text, normal destination,
  // one fallback character per \u.
  void Reset();
  // The memory a saved copy of this state holds (the copy's own bytes and what it owns
  // alone, not what it shares with the state it was copied from).
  int64_t SavedBytes() const;

  // The row being defined; made on first use.
  TRPRTFRowProperties& RowProps();
  const TRPRTFRowProperties* GetRowProps() const { return FRowProps.get(); }

  int32_t DefLanguage = 0;
  TRPRTFCharProperties CharProps;
  TRPRTFParaProperties ParaProps;
  TRPRTFSectionProperties SectProps;
  TRPRTFDocProperties DocProps;
  TRPRTFBorderTarget BorderTarget = rtf_bt_Para;
  TRPRTFDestination Destination = rdsNorm;
  TRPRTFParseMode ParseMode = rtf_rds_Normal;
  std::shared_ptr<TRPRTFFieldData> Field;  // nullptr outside fields
  int32_t DefFontNumber = 0;               // \deff
  int32_t DefFontIndex = -1;               // its font-list index; -1 until resolved
  TRPRTFHeaderFooterType HFType = rtf_hf_MainText;
  // Inside \pntxta and \pntxtb: 0 for the text of \pn numbering, else the section level
  // (\pnseclvl) whose text it is.
  int32_t MarkerTextLevel = 0;
  // \uc: the fallback characters that follow each \u; a group's value ends with it.
  int32_t UnicodeSkipCount = 1;

private:
  std::shared_ptr<TRPRTFRowProperties> FRowProps;
};
