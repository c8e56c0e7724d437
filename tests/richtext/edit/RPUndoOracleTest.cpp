// The undo oracle: random sequences of the recorded steps on generated documents (text
// in several styles and scripts, pictures, controls, breaks, tabs, list markers,
// checkpoints and tables as whole items), typing runs and table properties, each group
// laid out as the
// editor does. Undoing every group must give back, group by group, the document as it
// was before that group, written in the native format byte for byte and made of the same
// item objects; redoing every group must give back the edited one. After every played
// group the layout that the partial reformatting left must be the layout of a whole new
// pass. A failure lists the steps of every group.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "RPEditTestData.h"
#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "platform/gui/StdCtrls.h"
#include "richtext/edit/RPUndoRecords.h"
#include "richtext/interchange/RPFDocumentFormat.h"
#include "richtext/model/RPException.h"
#include "richtext/screen/RPControlWidgets.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"

namespace {

// Texts in several scripts; the 8-bit ones in code page 1251.
const std::u16string UnicodeSamples[] = {
    u"Hello world",
    u"\u041F\u0440\u0438\u0432\u0435\u0442, \u043C\u0438\u0440",
    u"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1",
    u"\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD",
    u"\u65E5\u672C\u8A9E\u306E\u6587",
    u"a\U0001F600b \U0001F601",
    u"e\u0301te\u0301 caf\u00E9",
    u"mixed \u05D0\u05D1 text",
};
const AnsiString AnsiSamples[] = {"Plain text", "\xCF\xF0\xE8\xE2\xE5\xF2 world", "x", "longer words here"};

class RPUndoOracleTest : public TEditFixture {
protected:
  RPUndoOracleTest() {
    Style.TextStyles()[4]->Jump = true;
    // List 0: bullets; list 1: upper roman numbers, whose labels change their widths from
    // one number to the next (a stale label shows in the layout).
    while (Style.ListStyles().Count() < 2) Style.ListStyles().Add();
    Style.ListStyles()[0]->Levels().Add();
    TRPListLevel& numbers = *Style.ListStyles()[1]->Levels().Add();
    numbers.ListType = rplstUpperRoman;
    numbers.FormatString = "%0:s.";
    numbers.FirstIndent = 4;
  }

  int32_t Rand(int32_t n) { return n <= 1 ? 0 : std::uniform_int_distribution<int32_t>(0, n - 1)(Rng); }
  bool Chance(int32_t percent) { return Rand(100) < percent; }

  // --- The document --------------------------------------------------------------------
  std::unique_ptr<TCustomRPItemInfo> NewText(AnsiString& text, bool startsParagraph, int32_t paraNo) {
    const int32_t styles[] = {0, UnicodeStyle, SerifStyle, BoldStyle, 4};
    const int32_t styleNo = styles[Rand(5)];
    auto item = CreateItemByStyleNo(styleNo, &Data());
    if (styleNo == 0) {
      text = AnsiSamples[Rand(4)];
    } else {
      item->ItemOptions |= rpioUnicode;
      text = WideToRawUnicode(UnicodeSamples[Rand(8)]);
    }
    if (styleNo == 4) {
      item->ItemOptions &= ~rpioUnicode;
      text = AnsiSamples[Rand(4)];
    }
    item->ParaNo = paraNo;
    if (!startsParagraph) item->SetContinuesLine(true);
    if (Chance(20)) item->Tag = TRPTag::FromNumber(Rand(50) + 1);
    return item;
  }
  std::unique_ptr<TCustomRPItemInfo> NewPicture(bool startsParagraph, int32_t paraNo) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(3 + Rand(20), 3 + Rand(12));
    auto item = std::make_unique<TRPGraphicItemInfo>(&Data(), std::move(bitmap), rpvaBaseline);
    item->ParaNo = paraNo;
    if (!startsParagraph) item->SetContinuesLine(true);
    return item;
  }
  // A resizable button in a line.
  std::unique_ptr<TCustomRPItemInfo> NewControl(int32_t paraNo) {
    auto button = std::make_unique<TButton>(nullptr);
    button->SetBounds(0, 0, 20 + Rand(60), 10 + Rand(20));
    auto item = std::make_unique<TRPControlItemInfo>(&Data(), std::make_unique<TRPWidgetControl>(std::move(button)),
                                                     rpvaBaseline);
    item->ResizableFlag = true;
    item->ParaNo = paraNo;
    item->SetContinuesLine(true);
    return item;
  }
  std::unique_ptr<TCustomRPItemInfo> NewTab(int32_t paraNo) {
    auto item = std::make_unique<TRPTabItemInfo>(&Data());
    item->ParaNo = paraNo;
    item->TextStyleNo = Chance(50) ? 0 : UnicodeStyle;
    item->SetContinuesLine(true);
    return item;
  }
  std::unique_ptr<TCustomRPItemInfo> NewTable() {
    auto table = std::make_unique<TRPTableItemInfo>(2, 2, &Data());
    for (int32_t r = 0; r < 2; ++r)
      for (int32_t c = 0; c < 2; ++c) table->GetCell(r, c)->AddRawText("cell " + std::to_string(2 * r + c), 0, 0);
    table->SetBorderWidth(1);
    return table;
  }
  std::unique_ptr<TCustomRPItemInfo> NewMarker(int32_t paraNo) {
    auto marker = TRPMarkerItemInfo::CreateEx(&Data(), Rand(2), 0, 1, false);
    marker->ParaNo = paraNo;
    return marker;
  }
  // One paragraph of a random kind appended, or its items for inserting.
  TRPKeptItems NewParagraph() {
    TRPKeptItems items;
    const int32_t paraNo = Rand(3);
    const auto add = [&](AnsiString text, std::unique_ptr<TCustomRPItemInfo> item) {
      items.push_back(TRPKeptItem{std::move(text), std::move(item)});
    };
    switch (Rand(7)) {
      case 0:
        add({}, std::make_unique<TRPBreakItemInfo>(&Data()));
        items.back().Item->ParaNo = 0;
        break;
      case 1:
        add({}, NewTable());
        break;
      case 2: {
        add({}, NewMarker(paraNo));
        AnsiString text;
        auto item = NewText(text, false, paraNo);
        add(text, std::move(item));
        break;
      }
      case 3:
        add("picture", NewPicture(true, paraNo));
        break;
      default: {
        const int32_t runs = 1 + Rand(4);
        for (int32_t r = 0; r < runs; ++r) {
          if (r > 0 && WithControls && Chance(15)) {
            add("control", NewControl(paraNo));
            continue;
          }
          if (r > 0 && Chance(15)) {
            add({}, NewTab(paraNo));
            continue;
          }
          if (r > 0 && Chance(15)) {
            add("inline", NewPicture(false, paraNo));
            continue;
          }
          AnsiString text;
          auto item = NewText(text, r == 0, paraNo);
          // A line break inside the paragraph now and then.
          if (r > 0 && Chance(15)) item->SetLineBreakBefore(true);
          add(text, std::move(item));
        }
      }
    }
    if (Chance(15)) items.front().Item->SetPageBreakBefore(true);
    return items;
  }
  void BuildDocument() {
    Steps.clear();
    Groups = 0;
    Data().Clear();
    const int32_t paragraphs = 5 + Rand(6);
    for (int32_t p = 0; p < paragraphs; ++p) {
      TRPKeptItems items = NewParagraph();
      if (p == 0 && items.front().Item->GetPageBreakBefore()) items.front().Item->SetPageBreakBefore(false);
      for (TRPKeptItem& entry : items) {
        if (Chance(8)) Data().AddCheckpoint("cp" + std::to_string(Data().GetCheckpointCount()), false, TRPTag());
        Data().AddItemAsIs(std::move(entry.Text), std::move(entry.Item));
      }
    }
    Format();
  }

  // --- What is compared ----------------------------------------------------------------
  // The document written in the native format, in its text form and (as hexadecimal
  // lines) in its binary form, byte for byte; then every field of every item that a step
  // may change, and the items' identities: the records keep what they take out, so
  // undoing and redoing put back the same objects.
  std::string State() {
    std::ostringstream out;
    for (const bool binary : {false, true}) {
      const uint32_t options = Pane.RPFOptions;
      Pane.RPFOptions = binary ? options | rpfoSaveBinary : options & ~rpfoSaveBinary;
      TStringStream stream;
      EXPECT_TRUE(Data().SaveRPFToStream(stream, rpfsmDocument, nullptr, nullptr, clNone));
      Pane.RPFOptions = options;
      if (!binary) {
        out << stream.DataString() << "\n";
        continue;
      }
      const AnsiString& bytes = stream.DataString();
      static const char digits[] = "0123456789ABCDEF";
      for (size_t at = 0; at < bytes.size(); ++at) {
        out << digits[static_cast<uint8_t>(bytes[at]) >> 4] << digits[static_cast<uint8_t>(bytes[at]) & 15];
        if (at % 32 == 31 || at + 1 == bytes.size()) out << "\n";
      }
    }
    for (int32_t i = 0; i < Data().GetItemCount(); ++i) {
      const TCustomRPItemInfo& item = *Data().GetItem(i);
      out << i << " " << static_cast<const void*>(&item) << ": style " << item.StyleNo << " para " << item.ParaNo
          << " options " << int(item.ItemOptions) << " tag " << item.Tag.Number() << " assoc "
          << item.GetAssociatedTextStyleNo() << " cp " << (item.Checkpoint ? item.Checkpoint->Name : "-") << " text ";
      for (const char c : Data().GetItemTextRaw(i)) out << int(static_cast<uint8_t>(c)) << ",";
      if (const auto* table = dynamic_cast<const TRPTableItemInfo*>(&item))
        out << " border " << table->GetBorderWidth() << " padding " << table->GetCellPadding() << " spacing "
            << table->GetCellHSpacing();
      if (const auto* control = dynamic_cast<const TRPControlItemInfo*>(&item))
        out << " control " << control->Control->Width() << "x" << control->Control->Height();
      out << "\n";
    }
    out << "checkpoints " << Data().GetCheckpointCount();
    for (const TRPCPInfo* cp = Data().GetFirstCheckpoint(); cp; cp = cp->Next) out << " " << cp->Name;
    if (const TRPCPInfo* pending = Data().GetPendingCheckpoint()) out << " end " << pending->Name;
    return out.str();
  }
  std::string Layout() { return DumpDrawItems(Data()); }

  // --- The steps -----------------------------------------------------------------------
  bool IsMarker(int32_t i) { return Data().GetItem(i)->StyleNo == rpkindListMarker; }
  bool IsFullLine(int32_t i) { return Data().GetItem(i)->GetBoolValue(rpibqWholeLine); }
  std::vector<int32_t> ParagraphStarts() {
    std::vector<int32_t> starts;
    for (int32_t i = 0; i < Data().GetItemCount(); ++i)
      if (i == 0 || Data().StartsParagraph(i)) starts.push_back(i);
    return starts;
  }
  int32_t ParagraphEnd(int32_t start) {
    int32_t end = start;
    while (end + 1 < Data().GetItemCount() && !Data().StartsParagraph(end + 1)) ++end;
    return end;
  }
  // Items that pass a test, one of them at random (-1: none).
  int32_t Pick(const std::function<bool(int32_t)>& test) {
    std::vector<int32_t> found;
    for (int32_t i = 0; i < Data().GetItemCount(); ++i)
      if (test(i)) found.push_back(i);
    return found.empty() ? -1 : found[static_cast<size_t>(Rand(static_cast<int32_t>(found.size())))];
  }
  // A character position of a text item (never inside a surrogate pair).
  int32_t CharPosition(int32_t itemNo) {
    int32_t position = 1;
    for (int32_t steps = Rand(Data().GetItemLength(itemNo) + 1); steps > 0; --steps)
      position = Data().GetNextCharPos(itemNo, position);
    return std::min(position, Data().GetItemLength(itemNo) + 1);
  }
  AnsiString SampleFor(int32_t itemNo) {
    return Data().GetItem(itemNo)->IsUnicode() ? WideToRawUnicode(UnicodeSamples[Rand(8)]) : AnsiSamples[Rand(4)];
  }
  bool IsText(int32_t i) { return Data().IsTextItem(i); }

  // One step of a random kind; false when it found nothing to do.
  bool RandomStep() {
    bool full = false;
    const int32_t count = Data().GetItemCount();
    switch (Rand(17)) {
      case 0: {  // characters deleted
        const int32_t i = Pick([&](int32_t j) { return IsText(j) && Data().GetItemLength(j) > 0; });
        if (i < 0) return false;
        const int32_t from = CharPosition(i);
        const int32_t n = Chance(30) ? -1 : CharPosition(i) - from + 1;
        Note("DeleteSubstring", {i, from, n});
        Data().DeleteSubstringUndoable(i, from, n);
        return true;
      }
      case 1: {  // characters inserted
        const int32_t i = Pick([&](int32_t j) { return IsText(j); });
        if (i < 0) return false;
        const int32_t at = CharPosition(i);
        Note("InsertSubstring", {i, at});
        Data().InsertSubstringUndoable(i, at, SampleFor(i));
        return true;
      }
      case 2: {  // a text replaced
        const int32_t i = Pick([&](int32_t j) { return IsText(j); });
        if (i < 0) return false;
        Note("ChangeText", {i});
        Data().ChangeTextUndoable(i, SampleFor(i));
        return true;
      }
      case 3: {  // a text style changed, converting 8-bit text to UTF-16 when needed
        const int32_t i = Pick([&](int32_t j) { return IsText(j); });
        if (i < 0) return false;
        if (!Data().GetItem(i)->IsUnicode()) Data().ChangeTextUndoable(i, WideToRawUnicode(Data().GetItemTextW(i)));
        const int32_t styles[] = {UnicodeStyle, SerifStyle, BoldStyle};
        const int32_t styleNo = styles[Rand(3)];
        Note("ChangeStyleNo", {i, styleNo});
        Data().ChangeStyleNoUndoable(i, styleNo);
        return true;
      }
      case 4: {  // a whole paragraph deleted (one always stays)
        const std::vector<int32_t> starts = ParagraphStarts();
        if (starts.size() < 2) return false;
        const int32_t start = starts[static_cast<size_t>(Rand(static_cast<int32_t>(starts.size())))];
        const int32_t end = ParagraphEnd(start);
        Note("DeleteItems", {start, end});
        if (start == end && Chance(50))
          Data().DeleteItemUndoable(start, full);
        else
          Data().DeleteItemsUndoable(start, end, full);
        return true;
      }
      case 5: {  // an item inside a line deleted
        const int32_t i = Pick([&](int32_t j) { return j > 0 && !Data().StartsNewLine(j) && !IsMarker(j - 1); });
        if (i < 0) return false;
        Note("DeleteItem", {i});
        Data().DeleteItemUndoable(i, full);
        return true;
      }
      case 6: {  // a paragraph inserted before another or at the end
        const std::vector<int32_t> starts = ParagraphStarts();
        const int32_t at = Chance(20) ? count : starts[static_cast<size_t>(Rand(static_cast<int32_t>(starts.size())))];
        TRPKeptItems items = NewParagraph();
        if (at == 0) items.front().Item->SetPageBreakBefore(false);
        Note("InsertParagraph", {at, static_cast<int32_t>(items.size())});
        if (items.size() == 1) {
          Data().InsertItemUndoable(at, items.front().Text, full, false, std::move(items.front().Item));
        } else {
          Data().InsertItemsUndoable(at, items, full, false);
        }
        return true;
      }
      case 7: {  // an item inserted into a line
        const int32_t i = Pick([&](int32_t j) { return !IsFullLine(j) && !IsMarker(j); });
        if (i < 0) return false;
        const int32_t paraNo = Data().GetItemPara(i);
        AnsiString text;
        std::unique_ptr<TCustomRPItemInfo> item;
        if (Chance(20)) {
          item = NewTab(paraNo);
        } else if (Chance(20)) {
          text = "inline";
          item = NewPicture(false, paraNo);
        } else {
          item = NewText(text, false, paraNo);
        }
        Note("InsertItem", {i + 1, item->StyleNo});
        Data().InsertItemUndoable(i + 1, text, full, false, std::move(item));
        return true;
      }
      case 8: {  // paragraph styles of a range of paragraphs
        const std::vector<int32_t> starts = ParagraphStarts();
        const int32_t a = Rand(static_cast<int32_t>(starts.size()));
        const int32_t b = std::min(a + Rand(3), static_cast<int32_t>(starts.size()) - 1);
        const int32_t first = starts[static_cast<size_t>(a)], last = ParagraphEnd(starts[static_cast<size_t>(b)]);
        if (Chance(50)) {
          const int32_t paraNo = Rand(3);
          Note("SetParaRange", {first, last, paraNo});
          Data().SetParaRangeUndoable(first, last, full, paraNo);
        } else {
          TRPIntegerList paras;
          int32_t paraNo = 0;
          for (int32_t i = first; i <= last; ++i) {
            if (i == first || Data().StartsParagraph(i)) paraNo = Rand(3);
            paras.Add(paraNo);
          }
          Note("RestoreParas", {first, last});
          Data().RestoreParasUndoable(first, paras, full);
        }
        return true;
      }
      case 9: {  // a paragraph joined to the one before
        const int32_t i = Pick([&](int32_t j) {
          return j > 0 && Data().StartsParagraph(j) && IsText(j) && !IsFullLine(j - 1) && !IsMarker(j - 1);
        });
        if (i < 0) return false;
        Note("JoinParagraph", {i});
        Data().SetContinuesLineUndoable(i, true, full, -1);
        return true;
      }
      case 10: {  // a line split into a paragraph, or into a line of its paragraph
        const int32_t i =
            Pick([&](int32_t j) { return j > 0 && Data().GetItem(j)->GetContinuesLine() && !IsMarker(j - 1); });
        if (i < 0) return false;
        if (Chance(50)) {
          const int32_t paraNo = Rand(3);
          Note("SplitParagraph", {i, paraNo});
          Data().SetContinuesLineUndoable(i, false, full, paraNo);
        } else {
          Note("SplitLine", {i});
          Data().SetContinuesLineUndoable(i, false, full, Data().GetItemPara(i - 1));
          Data().SetLineBreakUndoable(i, true, full);
        }
        return true;
      }
      case 11: {  // a line break taken away: the line starts a paragraph
        const int32_t i = Pick([&](int32_t j) { return Data().GetItem(j)->GetLineBreakBefore(); });
        if (i < 0) return false;
        Note("RemoveLineBreak", {i});
        Data().SetLineBreakUndoable(i, false, full);
        return true;
      }
      case 12: {  // a page break switched at a paragraph's start (its marker's)
        const int32_t i =
            Pick([&](int32_t j) { return j > 0 && (Data().StartsParagraph(j) ? !IsMarker(j) : IsMarker(j - 1)); });
        if (i < 0) return false;
        Note("SwitchPageBreak", {i});
        Data().SetPageBreakUndoable(i, !Data().GetPageBreakBefore(i));
        return true;
      }
      case 13: {  // two text items joined
        const int32_t i = Pick([&](int32_t j) { return Data().CanMergeItems(j, false); });
        if (i < 0) return false;
        Note("JoinItems", {i});
        Data().JoinItems(i);
        return true;
      }
      case 14: {  // a tag, or a tab's text style
        const int32_t i = Pick([&](int32_t j) { return !IsMarker(j); });
        if (i < 0) return false;
        Note("TagOrTabStyle", {i});
        if (Data().GetItem(i)->StyleNo == rpkindTab)
          Data().ChangeAssociatedStyleNoUndoable(i, Rand(2) == 0 ? SerifStyle : 0);
        else
          Data().SetTagUndoable(i, TRPTag::FromNumber(Rand(40)));
        return true;
      }
      case 15: {  // a table's properties, bracketed as one modification of the item
        const int32_t i = Pick([&](int32_t j) { return dynamic_cast<TRPTableItemInfo*>(Data().GetItem(j)); });
        if (i < 0) return false;
        Note("TableProperties", {i});
        Data().AddModifyItemTerminator(i, true);
        Data().ModifyItemIntProperty(i, nullptr, "BorderWidth", Rand(4), true, true,
                                     &TRPUndoModifyItemIntProperty::Create);
        const std::vector<std::pair<AnsiString, int32_t>> values = {{"CellPadding", Rand(5)},
                                                                    {"CellHSpacing", Rand(5)}};
        Data().ModifyItemIntProperties(i, nullptr, true, true, values, &TRPUndoModifyItemIntProperties::Create);
        Data().AddModifyItemTerminator(i, false);
        return true;
      }
      default: {                                // a checkpoint added or taken away
        const int32_t i = Rand(count + 1) - 1;  // -1: the end checkpoint
        const bool has = i < 0 ? Data().GetPendingCheckpoint() != nullptr : Data().GetItemCheckpoint(i) != nullptr;
        Note(has ? "DeleteCheckpoint" : "AddCheckpoint", {i});
        if (has) {
          Data().DeleteCheckpointUndoable(i);
        } else {
          auto checkpoint = std::make_unique<TRPCPInfo>();
          checkpoint->Name = "new" + std::to_string(++NewCheckpoints);
          Data().AddCheckpointUndoable(i, std::move(checkpoint));
        }
        return true;
      }
    }
  }

  // One group of one to three steps, laid out as the editor does afterwards.
  void RandomGroup(const AnsiString& caption = {}) {
    const TRPUndoKind kinds[] = {rpukDelete,       rpukInsert,    rpukParaStyle,
                                 rpukNewParagraph, rpukTextStyle, rpukModifyItem};
    Steps += "group " + std::to_string(++Groups) + "\n";
    Data().BeginUndoGroupWithCaption(kinds[Rand(6)], caption, false);
    const int32_t steps = 1 + Rand(3);
    for (int32_t done = 0, tries = 0; done < steps && tries < 20; ++tries)
      if (RandomStep()) ++done;
    Data().UndoList->RemoveEmptyLastGroup();
    Format();
  }

  // A run of one to four characters typed into a text item, as the editor records typing:
  // one typing record that grows by a character each time.
  void TypingGroup() {
    const int32_t i = Pick([&](int32_t j) { return IsText(j); });
    if (i < 0) return;
    const int32_t at = CharPosition(i);
    const int32_t characters = 1 + Rand(4);
    Steps += "typing " + std::to_string(++Groups) + ": " + std::to_string(i) + " " + std::to_string(at) + " " +
             std::to_string(characters) + "\n";
    const bool unicode = Data().GetItem(i)->IsUnicode();
    const size_t bytes = unicode ? 2 : 1;
    for (int32_t k = 0; k < characters; ++k) {
      const std::u16string typed(1, unicode ? u"x\u0436\u05D0\u00E9"[Rand(4)] : u'a' + Rand(26));
      const AnsiString character = unicode ? WideToRawUnicode(typed) : AnsiString(1, static_cast<char>(typed[0]));
      AnsiString text = Data().GetItemTextRaw(i);
      text.insert(static_cast<size_t>(at + k - 1) * bytes, character);
      Data().UndoList->AddTyping(i, at + k, unicode);
      Data().SetItemTextRaw(i, text);
    }
    Format();
  }

  // One editor operation at a random caret position, as the keys and the editor's
  // commands run them: typing, pasting text with separators, Backspace (anywhere and at
  // paragraph starts), Delete, Enter and Shift+Enter, deleting a selection, a picture.
  void EditorOperation() {
    const int32_t count = Data().GetItemCount();
    int32_t i = Rand(count);
    if (Chance(20)) {
      const std::vector<int32_t> starts = ParagraphStarts();
      i = starts[static_cast<size_t>(Rand(static_cast<int32_t>(starts.size())))];
    }
    const int32_t offset = IsText(i) ? CharPosition(i) : Rand(2);
    Data().SetCaretAtItemPos(i, offset);
    Data().UpdateCaret(false, false, false);
    const auto typed = [&](const std::u16string& text) {
      const int32_t styleNo = Data().CurTextStyleNo;
      const bool unicode = Style.TextStyles()[styleNo]->Unicode;
      AnsiString stored;
      for (const char16_t c : text) stored += static_cast<char>(c);
      return unicode ? WideToRawUnicode(text) : stored;
    };
    const int32_t kind = Rand(9);
    Note("editor", {kind, i, offset});
    switch (kind) {
      case 0:
        for (int32_t n = 1 + Rand(3); n > 0; --n) Data().TypeText(typed(std::u16string(1, u'a' + Rand(26))), 0);
        break;
      case 1: {
        const char* texts[] = {"one\r\ntwo", "x\ty", "a\r\rb", "line\fpage", "tail\r\n", "\r\nhead"};
        Data().BeginUndoGroup(rpukInsert, true);
        if (Chance(50))
          Data().InsertAnsiText(texts[Rand(6)], Chance(30));
        else
          Data().InsertUnicodeText(WideToRawUnicode(u"\u0436\u2028v\u2029w\vz"), Chance(30));
        break;
      }
      case 2:
      case 3:
        Data().DeleteCharBackward(Chance(30), Chance(30), false);
        break;
      case 4:
        Data().DeleteCharForward(false, false);
        break;
      case 5:
        Data().InsertParagraphBreak(Chance(30), false);
        break;
      case 6: {
        const int32_t a = Rand(count), b = std::min(count - 1, a + Rand(4));
        const int32_t from = IsText(a) ? CharPosition(a) : Rand(2);
        int32_t to = IsText(b) ? CharPosition(b) : Rand(2);
        if (a == b && to < from) to = from;
        Data().SetSelectionBounds(a, from, b, to);
        Data().DeleteSelection();
        Data().Deselect(false);
        break;
      }
      case 7:
        Data().TypeText(typed(u"multi"), 0);
        break;
      default: {
        Data().BeginUndoGroup(rpukInsert, true);
        AnsiString text = "inline";
        Data().InsertItemAtCaret(NewPicture(false, 0), text, Chance(50));
      }
    }
    Data().UndoList->RemoveEmptyLastGroup();
  }

  // Undoing (or redoing) plays the last group; a typing group gives back one character a
  // call and goes when it has none left.
  void PlayGroup(TRPUndoList& list) {
    const int32_t groups = list.Count();
    for (int32_t calls = 0; list.Count() == groups && calls < 10; ++calls) {
      if (&list == Data().UndoList.get())
        list.Undo(Data());
      else
        list.Redo(Data());
    }
    ASSERT_LT(list.Count(), groups);
  }

  void ExpectLayoutOfAWholePass(const char* when) {
    const std::string partial = Layout();
    Format();
    EXPECT_EQ(partial, Layout()) << when;
  }

  // Groups made by group() on the document of a seed, all undone group by group, then
  // all redone.
  void CheckUndoAndRedo(uint32_t seed, const std::function<void()>& group) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Rng.seed(seed);
    BuildDocument();
    Data().UndoList->Clear();
    Data().RedoList->Clear();
    std::vector<std::string> states{State()};
    const int32_t groups = 4 + Rand(9);
    for (int32_t g = 0; g < groups; ++g) {
      group();
      // A group whose steps changed nothing was dropped; typing right after typing at its
      // end joins its group.
      if (Data().UndoList->Count() > static_cast<int32_t>(states.size()) - 1)
        states.push_back(State());
      else if (Data().UndoList->Count() > 0)
        states.back() = State();
    }
    ASSERT_EQ(Data().UndoList->Count(), static_cast<int32_t>(states.size()) - 1);
    const std::string edited = State();
    for (size_t k = states.size() - 1; k > 0; --k) {
      SCOPED_TRACE("undoing group " + std::to_string(k));
      ASSERT_NO_FATAL_FAILURE(PlayGroup(*Data().UndoList));
      ASSERT_EQ(State(), states[k - 1]) << Steps;
      ExpectLayoutOfAWholePass("after undoing");
    }
    EXPECT_EQ(Data().UndoList->Count(), 0);
    for (size_t k = 1; k < states.size(); ++k) {
      SCOPED_TRACE("redoing group " + std::to_string(k));
      ASSERT_NO_FATAL_FAILURE(PlayGroup(*Data().RedoList));
      ASSERT_EQ(State(), states[k]) << Steps;
      ExpectLayoutOfAWholePass("after redoing");
    }
    EXPECT_EQ(State(), edited);
    EXPECT_EQ(Data().RedoList->Count(), 0);
  }

  // --- The editor's operations ------------------------------------------------------------
  // One operation of the editor that records its own group: a text style applied to a
  // random selection, a paragraph style or conversion, an extra property of a picture, a
  // checkpoint moved, a picture or a control resized; or one random group of steps.
  void EditorGroup() {
    const int32_t count = Data().GetItemCount();
    const std::string group = std::to_string(++Groups);
    switch (Rand(6)) {
      case 0: {
        const int32_t first = Rand(count), last = std::min(count - 1, first + Rand(4));
        const int32_t startOffs = IsText(first) ? CharPosition(first) : Rand(2);
        const int32_t endOffs = IsText(last) ? CharPosition(last) : Rand(2);
        const int32_t styles[] = {0, UnicodeStyle, SerifStyle, BoldStyle};
        const int32_t styleNo = styles[Rand(4)];
        Steps += "group " + group + ": text style " + std::to_string(styleNo) + " " + std::to_string(first) + "/" +
                 std::to_string(startOffs) + " .. " + std::to_string(last) + "/" + std::to_string(endOffs) + "\n";
        Pane.EditorOptions = Chance(30) ? rpoEditorDefaults | rpoClearTagOnStyleApp : rpoEditorDefaults;
        Pane.TextConversion = [styleNo](int32_t, int32_t) { return styleNo; };
        if (Chance(50))
          Data().SetSelectionBounds(first, startOffs, last, endOffs);
        else
          Data().SetSelectionBounds(last, endOffs, first, startOffs);
        Data().ApplyTextStyleConversion(0, 3, Chance(20));
        Pane.TextConversion = nullptr;
        Pane.EditorOptions = rpoEditorDefaults;
        break;
      }
      case 1: {
        const int32_t first = Rand(count), last = std::min(count - 1, first + Rand(6));
        const int32_t paraNo = Rand(3);
        const int32_t mode = Rand(2) * 4;
        Steps += "group " + group + ": paragraph style " + std::to_string(paraNo) + " mode " + std::to_string(mode) +
                 " " + std::to_string(first) + " .. " + std::to_string(last) + "\n";
        Pane.ParaConversion = [](int32_t old, int32_t userData) { return (old + userData) % 3; };
        Data().SetSelectionBounds(first, Data().GetItemStartOffset(first), last, Data().GetItemEndOffset(last));
        Data().BeginUndoGroup(rpukParaStyle, true);
        Data().ApplyParaStyleConversion(paraNo, mode);
        Pane.ParaConversion = nullptr;
        break;
      }
      case 2: {
        const int32_t i = Pick([&](int32_t j) { return dynamic_cast<TRPGraphicItemInfo*>(Data().GetItem(j)); });
        if (i < 0) return;
        const int32_t props[] = {rpipSpacing, rpipVShift, rpipWidth, rpipHeight};
        const int32_t prop = props[Rand(4)], value = Rand(30);
        Steps += "group " + group + ": property " + std::to_string(prop) + " of " + std::to_string(i) + " = " +
                 std::to_string(value) + "\n";
        Data().BeginUndoGroup(rpukModifyItem, false);
        Data().SetExtraIntPropertyUndoable(i, prop, value);
        Format();
        break;
      }
      case 3: {
        const int32_t from = Pick([&](int32_t j) { return Data().GetItemCheckpoint(j) != nullptr; });
        if (from < 0) return;
        const int32_t to = Rand(count);
        Steps += "group " + group + ": checkpoint " + std::to_string(from) + " to " + std::to_string(to) + "\n";
        Data().BeginUndoGroup(rpukModifyItem, false);
        if (from == to || Chance(30))
          Data().MoveCheckpointOffItem(from, Chance(50));
        else
          Data().MoveCheckpointUndoable(from, to);
        Format();
        break;
      }
      case 4: {
        const int32_t i = Pick([&](int32_t j) {
          return dynamic_cast<TRPGraphicItemInfo*>(Data().GetItem(j)) ||
                 dynamic_cast<TRPControlItemInfo*>(Data().GetItem(j));
        });
        if (i < 0) return;
        const int32_t width = Rand(60) - 5, height = Rand(40) - 5;
        Steps += "group " + group + ": resize " + std::to_string(i) + " " + std::to_string(width) + "x" +
                 std::to_string(height) + "\n";
        if (dynamic_cast<TRPControlItemInfo*>(Data().GetItem(i))) ++ControlResizes;
        Data().ResizeItemUndoable(i, width, height);
        break;
      }
      default:
        RandomGroup();
        return;
    }
    Data().UndoList->RemoveEmptyLastGroup();
  }

  // What the steps did, for the messages of a failure.
  void Note(const char* step, std::initializer_list<int32_t> arguments) {
    Steps += step;
    for (const int32_t argument : arguments) Steps += " " + std::to_string(argument);
    Steps += "\n";
  }

  std::mt19937 Rng;
  // The generated documents hold controls too.
  bool WithControls = false;
  int32_t ControlResizes = 0;
  std::string Steps;
  int32_t Groups = 0;
  int32_t NewCheckpoints = 0;
};

TEST_F(RPUndoOracleTest, UndoingEverythingGivesTheOriginalAndRedoingEverythingTheEdited) {
  for (uint32_t seed = 1; seed <= 40; ++seed)
    CheckUndoAndRedo(seed, [this] {
      if (Chance(25))
        TypingGroup();
      else
        RandomGroup();
    });
}

// The same with the editor's operations between the steps.
TEST_F(RPUndoOracleTest, EditorOperationsUndoAndRedoToTheirStates) {
  WithControls = true;
  for (uint32_t seed = 200; seed < 240; ++seed) CheckUndoAndRedo(seed, [this] { EditorGroup(); });
  // Controls were resized among the operations.
  EXPECT_GT(ControlResizes, 10);
}

// The editor's operations at the caret: every group they leave is undone to the
// document before it and redone to the document after it, and each operation leaves the
// layout a whole new pass would make.
TEST_F(RPUndoOracleTest, EditorOperationsUndoToTheOriginalAndRedoToTheEdited) {
  size_t groupsPlayed = 0;
  for (uint32_t seed = 200; seed < 240; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Rng.seed(seed);
    BuildDocument();
    Data().UndoList->Clear();
    Data().RedoList->Clear();
    // The state after each group by the group count; empty: not seen (an operation that
    // opened two groups).
    std::vector<std::string> states{State()};
    const int32_t operations = 6 + Rand(10);
    for (int32_t n = 0; n < operations; ++n) {
      ASSERT_NO_FATAL_FAILURE(EditorOperation()) << Steps;
      const auto groups = static_cast<size_t>(Data().UndoList->Count());
      ASSERT_GE(groups + 1, states.size()) << Steps;
      states.resize(groups + 1);
      states[groups] = State();
      ExpectLayoutOfAWholePass(Steps.c_str());
    }
    const std::string edited = State();
    groupsPlayed += states.size() - 1;
    while (Data().UndoList->Count() > 0) {
      ASSERT_NO_FATAL_FAILURE(PlayGroup(*Data().UndoList));
      const auto k = static_cast<size_t>(Data().UndoList->Count());
      if (!states[k].empty()) {
        ASSERT_EQ(State(), states[k]) << "undone to group " << k << "\n" << Steps;
      }
    }
    ASSERT_EQ(State(), states[0]) << Steps;
    while (Data().RedoList->Count() > 0) {
      ASSERT_NO_FATAL_FAILURE(PlayGroup(*Data().RedoList));
      const auto k = static_cast<size_t>(Data().UndoList->Count());
      if (k < states.size() && !states[k].empty()) {
        ASSERT_EQ(State(), states[k]) << "redone to group " << k << "\n" << Steps;
      }
    }
    EXPECT_EQ(State(), edited) << Steps;
  }
  // Most operations change the document: the sequences are no empty runs.
  EXPECT_GT(groupsPlayed, 200u);
}

// With a limit of one only the last group can be undone; with a limit of zero nothing is
// recorded, and what the steps take out is freed at once.
TEST_F(RPUndoOracleTest, LimitsOfOneAndZero) {
  for (uint32_t seed = 100; seed < 110; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Rng.seed(seed);
    BuildDocument();
    Data().UndoList->Clear();
    Data().UndoList->Limit = 1;
    std::string beforeLast;
    for (int32_t g = 0; g < 6; ++g) {
      const std::string before = State();
      const AnsiString caption = "group " + std::to_string(g);
      RandomGroup(caption);
      if (Data().UndoList->Count() > 0 && Data().UndoList->LastGroup()->Caption == caption) beforeLast = before;
      EXPECT_LE(Data().UndoList->Count(), 1);
    }
    if (Data().UndoList->Count() == 1) {
      Data().UndoList->Undo(Data());
      EXPECT_EQ(State(), beforeLast);
    }
    EXPECT_THROW(Data().UndoList->Undo(Data()), ERichPaneError);

    Data().UndoList->Limit = 0;
    Data().RedoList->Clear();
    for (int32_t g = 0; g < 6; ++g) RandomGroup();
    EXPECT_EQ(Data().UndoList->Count(), 0);
    EXPECT_EQ(Data().RedoList->Count(), 0);
    Data().UndoList->Limit = -1;
  }
}

}  // namespace
