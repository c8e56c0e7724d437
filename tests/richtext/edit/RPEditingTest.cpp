// Editing at the caret: inserting items and text, typing, deleting the selection,
// Backspace, Delete and Enter, each with its edge cases as tables; the protection cases
// of deleting as one table. Documents are written as their paragraphs ("/" between
// paragraphs, "|" before a line break, "+" between items of a line; "*" a list marker,
// "#" a picture, "^" a page break before; text items as their text).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "RPEditTestData.h"
#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/layout/RPDrawLines.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPPictureItems.h"

namespace {

class RPEditingTest : public TEditFixture {
protected:
  RPEditingTest() {
    // List style 0: bullets; 1: numbered.
    while (Style.ListStyles().Count() < 2) Style.ListStyles().Add();
    Style.ListStyles()[0]->Levels().Add();
    Style.ListStyles()[1]->Levels().Add()->ListType = rplstDecimal;
  }

  std::string Dump() {
    std::string out;
    for (int32_t i = 0; i < Data().GetItemCount(); ++i) {
      const TCustomRPItemInfo& item = *Data().GetItem(i);
      if (i > 0) out += item.StartsParagraph() ? " / " : item.GetLineBreakBefore() ? " | " : "+";
      if (item.GetPageBreakBefore()) out += "^";
      if (item.StyleNo == rpkindListMarker)
        out += "*";
      else if (item.StyleNo == rpkindPicture)
        out += "#";
      else if (item.StyleNo == rpkindTab)
        out += "T";
      else if (item.StyleNo >= 0)
        out += "'" + ToUtf8(Data().GetItemTextW(i)) + "'";
      else
        out += "?";
    }
    return out;
  }
  static std::string ToUtf8(const std::u16string& text) {
    std::string out;
    for (const char16_t c : text) out += c < 128 ? static_cast<char>(c) : '~';
    return out;
  }
  // Paragraphs of 8-bit text in style 0, "|" in a paragraph making a line break.
  void Build(const std::vector<std::string>& paragraphs) {
    Data().Clear();
    for (const std::string& paragraph : paragraphs) {
      size_t from = 0;
      bool first = true;
      while (true) {
        const size_t bar = paragraph.find('|', from);
        const std::string part = paragraph.substr(from, bar == std::string::npos ? std::string::npos : bar - from);
        auto item = CreateItemByStyleNo(0, &Data());
        if (!first) item->SetLineBreakBefore(true);
        Data().AddItemAsIs(part, std::move(item));
        first = false;
        if (bar == std::string::npos) break;
        from = bar + 1;
      }
    }
    Format();
    Data().UndoList->Clear();
  }
  void AddMarkerParagraph(const std::string& text, int32_t listNo = 0) {
    auto marker = TRPMarkerItemInfo::CreateEx(&Data(), listNo, 0, 1, false);
    Data().AddItemAsIs({}, std::move(marker));
    auto item = CreateItemByStyleNo(0, &Data());
    item->SetContinuesLine(true);
    Data().AddItemAsIs(text, std::move(item));
  }
  void Caret(int32_t itemNo, int32_t offset) {
    Data().SetCaretAtItemPos(itemNo, offset);
    Data().UpdateCaret(false, false, false);
  }
  std::pair<int32_t, int32_t> CaretAt() { return {Data().GetCaretItemNo(), Data().GetCaretOffset()}; }
  std::unique_ptr<TCustomRPItemInfo> Picture() {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(10, 10);
    return std::make_unique<TRPGraphicItemInfo>(&Data(), std::move(bitmap), rpvaBaseline);
  }
  int32_t Paragraphs() {
    int32_t n = 0;
    for (int32_t i = 0; i < Data().GetItemCount(); ++i)
      if (Data().StartsParagraph(i)) ++n;
    return n;
  }
  void UndoAll() {
    while (Data().UndoList->Count() > 0) Data().UndoList->Undo(Data());
  }
  // One key's edit at (itemNo, offset) from a fresh undo list: the items and the caret
  // afterwards, then the document as it was once every step is undone.
  void ExpectEditThenUndo(int32_t itemNo, int32_t offset, const std::function<void()>& edit, const char* expected,
                          std::pair<int32_t, int32_t> caret) {
    Data().UndoList->Clear();
    const std::string before = Dump();
    Caret(itemNo, offset);
    edit();
    EXPECT_EQ(Dump(), expected);
    EXPECT_EQ(CaretAt(), caret);
    UndoAll();
    EXPECT_EQ(Dump(), before);
  }
  // The draw items and the text every list marker shows.
  std::string Layout() {
    std::string out;
    for (int32_t i = 0; i < Data().DrawItems.Count(); ++i) {
      const TRPDrawLineInfo& d = *Data().DrawItems[i];
      out += std::to_string(d.ItemNo) + "@" + std::to_string(d.Left) + "," + std::to_string(d.Top) + " " +
             std::to_string(d.Width) + "x" + std::to_string(d.Height);
      if (const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(Data().GetItem(d.ItemNo)))
        out += " '" + marker->DisplayString + "'";
      out += "\n";
    }
    return out + "height " + std::to_string(Data().DocumentHeight);
  }
  // The layout the last edit left is that of a whole new pass.
  void ExpectLayoutOfAWholePass() {
    const std::string partial = Layout();
    Format();
    EXPECT_EQ(partial, Layout());
  }
};

// --- Inserting text -------------------------------------------------------------------------------

struct TTextCase {
  const char* Name;
  std::string Text;
  bool Unicode;
  bool CaretAtStart;
  const char* Expected;
  std::pair<int32_t, int32_t> Caret;
};

TEST_F(RPEditingTest, PlainTextIsCutAtItsSeparators) {
  const TTextCase cases[] = {
      {"CR LF is one separator", "a\r\nb", false, false, "'Xa' / 'bY'", {1, 2}},
      {"two CRs make an empty paragraph", "a\r\rb", false, false, "'Xa' / '' / 'bY'", {2, 2}},
      {"LF CR is one separator", "a\n\rb", false, false, "'Xa' / 'bY'", {1, 2}},
      {"VT stays a character of 8-bit text", "a\vb", false, false, "'Xa\vbY'", {0, 5}},
      {"VT starts a line of UTF-16 text", "a\vb", true, false, "'Xa' | 'bY'", {1, 2}},
      {"U+2028 starts a line",
       "a\xE2\x80\xA8"
       "b",
       true,
       false,
       "'Xa' | 'bY'",
       {1, 2}},
      {"U+2029 starts a paragraph",
       "a\xE2\x80\xA9"
       "b",
       true,
       false,
       "'Xa' / 'bY'",
       {1, 2}},
      {"the caret at the start of the text", "ab\r\ncd", false, true, "'Xab' / 'cdY'", {0, 2}},
      {"text without separator: the caret after it", "abc", false, false, "'XabcY'", {0, 5}},
      {"text without separator: the caret at its start", "abc", false, true, "'XabcY'", {0, 2}},
      {"a form feed starts a page", "a\fb", false, false, "'Xa' / ^'bY'", {1, 2}},
  };
  for (const TTextCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Build({"XY"});
    Caret(0, 2);
    if (c.Unicode) {
      std::u16string wide;
      for (size_t i = 0; i < c.Text.size(); ++i) {
        const auto byte = static_cast<uint8_t>(c.Text[i]);
        if (byte == 0xE2) {
          wide += static_cast<char16_t>(((byte & 0x0F) << 12) | ((c.Text[i + 1] & 0x3F) << 6) | (c.Text[i + 2] & 0x3F));
          i += 2;
        } else {
          wide += static_cast<char16_t>(byte);
        }
      }
      Data().BeginUndoGroup(rpukInsert, true);
      Data().InsertUnicodeText(WideToRawUnicode(wide), c.CaretAtStart);
    } else {
      Data().BeginUndoGroup(rpukInsert, true);
      Data().InsertAnsiText(c.Text, c.CaretAtStart);
    }
    EXPECT_EQ(Dump(), c.Expected);
    EXPECT_EQ(CaretAt(), c.Caret);
    const std::string edited = Dump();
    UndoAll();
    EXPECT_EQ(Dump(), "'XY'");
    while (Data().RedoList->Count() > 0) Data().RedoList->Redo(Data());
    EXPECT_EQ(Dump(), edited);
  }
}

TEST_F(RPEditingTest, TabsBecomeItemsOrSpaces) {
  Build({"XY"});
  Caret(0, 2);
  Data().InsertAnsiText("a\tb", false);
  EXPECT_EQ(Dump(), "'Xa'+T+'bY'");
  Style.SpacesInTab = 3;
  Build({"XY"});
  Caret(0, 2);
  Data().InsertAnsiText("a\tb", false);
  EXPECT_EQ(Dump(), "'Xa   bY'");
}

TEST_F(RPEditingTest, UnicodeTextOfOddLengthIsRefused) {
  Build({"XY"});
  Caret(0, 2);
  EXPECT_THROW(Data().InsertUnicodeText(AnsiString("abc"), false), ERichPaneError);
  EXPECT_EQ(Dump(), "'XY'");
}

TEST_F(RPEditingTest, TextInsertedInABulletedParagraphContinuesTheBullets) {
  Data().Clear();
  AddMarkerParagraph("XY");
  Format();
  Data().UndoList->Clear();
  Caret(1, 2);
  Data().BeginUndoGroup(rpukInsert, true);
  Data().InsertAnsiText("a\r\nb\r\nc", false);
  EXPECT_EQ(Dump(), "*+'Xa' / *+'b' / *+'cY'");
  UndoAll();
  EXPECT_EQ(Dump(), "*+'XY'");
}

TEST_F(RPEditingTest, TextFromAStreamAndAFile) {
  Build({"XY"});
  Caret(0, 2);
  TStringStream stream(AnsiString("a\0b", 3));
  EXPECT_TRUE(Data().InsertTextFromStream(stream, false, false));
  EXPECT_EQ(Dump(), "'Xa?bY'");
  TStringStream empty(AnsiString{});
  EXPECT_TRUE(Data().InsertTextFromStream(empty, false, false));
  EXPECT_EQ(Dump(), "'Xa?bY'");
  // OEM text: box-drawing and Cyrillic letters of code page 866 become code page 1251.
  Build({"XY"});
  Caret(0, 2);
  TStringStream oem(AnsiString("\x8F\xE0\xA8"));
  EXPECT_TRUE(Data().InsertTextFromStream(oem, true, false));
  EXPECT_EQ(Data().GetItemTextRaw(0), AnsiString("X\xCF\xF0\xE8Y"));
  EXPECT_FALSE(Data().InsertTextFromFile(u"/nonexistent/folder/file.txt", false, false));
}

// --- Inserting items ------------------------------------------------------------------------------

TEST_F(RPEditingTest, ItemsAtTheCaret) {
  struct TCase {
    const char* Name;
    int32_t ItemNo, Offset;
    std::function<std::unique_ptr<TCustomRPItemInfo>()> Make;
    bool Result;
    const char* Expected;
  };
  const auto picture = [this] { return Picture(); };
  const auto marker = [this] {
    return std::unique_ptr<TCustomRPItemInfo>(TRPMarkerItemInfo::CreateEx(&Data(), 0, 0, 1, false));
  };
  const auto lineBreak = [this] { return CreateItemByStyleNo(rpkindBreak, &Data()); };
  const TCase cases[] = {
      {"a picture at a paragraph's start takes it over", 1, 1, picture, true, "'ab' / #+'cd'"},
      {"a picture inside text splits it", 0, 2, picture, true, "'a'+#+'b' / 'cd'"},
      {"a picture at the end of text follows it", 0, 3, picture, true, "'ab'+# / 'cd'"},
      {"a list marker inside text is dropped", 0, 2, marker, true, "'ab' / 'cd'"},
      {"a break is a paragraph of its own", 0, 2, lineBreak, true, "'a' / ? / 'b' / 'cd'"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Build({"ab", "cd"});
    Caret(c.ItemNo, c.Offset);
    AnsiString text;
    Data().BeginUndoGroup(rpukInsert, true);
    EXPECT_EQ(Data().InsertItemAtCaret(c.Make(), text, false), c.Result);
    EXPECT_EQ(Dump(), c.Expected);
    UndoAll();
    EXPECT_EQ(Dump(), "'ab' / 'cd'");
  }
}

TEST_F(RPEditingTest, TheInsertionHookInsertsAtTheCaretOrAtTheIndex) {
  Build({"ab", "cd"});
  Caret(1, 2);
  Data().InsertedThroughEditing = false;
  int32_t itemNo = 0, lastAffected = -1;
  bool full = false;
  AnsiString text = "inline";
  std::unique_ptr<TCustomRPItemInfo> picture = Picture();
  EXPECT_TRUE(Data().InsertItem(itemNo, text, lastAffected, full, false, picture));
  EXPECT_EQ(Dump(), "# / 'ab' / 'cd'");
  EXPECT_FALSE(Data().InsertedThroughEditing);
  Format();
  Caret(2, 2);
  picture = Picture();
  EXPECT_TRUE(Data().InsertItem(itemNo, text, lastAffected, full, true, picture));
  EXPECT_EQ(itemNo, 3);
  EXPECT_EQ(Dump(), "# / 'ab' / 'c'+#+'d'");
  EXPECT_TRUE(Data().InsertedThroughEditing);
}

TEST_F(RPEditingTest, ItemsAreRefusedInReadOnlyParagraphs) {
  Style.ParaStyles()[1]->Options.Include(rppaoReadOnly);
  Data().Clear();
  AddA("ab", 1);
  Format();
  Caret(0, 2);
  AnsiString text;
  EXPECT_FALSE(Data().InsertItemAtCaret(Picture(), text, false));
  EXPECT_EQ(Dump(), "'ab'");
}

// --- Typing ----------------------------------------------------------------------------------------

TEST_F(RPEditingTest, TypingThreeCharactersIsOneUndoStep) {
  Build({"ab"});
  Caret(0, 2);
  Data().TypeAnsiChar('x');
  Data().TypeAnsiChar('y');
  Data().TypeAnsiChar('z');
  EXPECT_EQ(Dump(), "'axyzb'");
  EXPECT_EQ(CaretAt(), std::make_pair(0, 5));
  EXPECT_EQ(Data().UndoList->Count(), 1);
  // A typing group gives back a character a call.
  while (Data().UndoList->Count() > 0) Data().UndoList->Undo(Data());
  EXPECT_EQ(Dump(), "'ab'");
}

TEST_F(RPEditingTest, TypingInAnotherStyleMakesANewItem) {
  Build({"ab"});
  Caret(0, 2);
  Pane.SetCurTextStyleNo(UnicodeStyle);
  Data().TypeText(WideToRawUnicode(u"\u0436"), 0);
  EXPECT_EQ(Dump(), "'a'+'~'+'b'");
  EXPECT_EQ(Data().GetItem(1)->StyleNo, UnicodeStyle);
  EXPECT_EQ(CaretAt(), std::make_pair(1, 2));
  // Typing on continues the new item.
  Data().TypeText(WideToRawUnicode(u"q"), 0);
  EXPECT_EQ(Dump(), "'a'+'~q'+'b'");
}

TEST_F(RPEditingTest, TypingIntoProtectedText) {
  struct TCase {
    const char* Name;
    TRPProtectOption Option;
    int32_t Offset;
    const char* Expected;
  };
  const TCase cases[] = {
      {"modify-protected: nothing typed inside", rpprModifyProtect, 2, "'ab'"},
      {"modify-protected: a new item at its end", rpprModifyProtect, 3, "'ab'+'x'"},
      {"concatenation-protected: a new item inside", rpprConcateProtect, 3, "'ab'+'x'"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Style.TextStyles()[0]->Protection = {};
    Build({"ab"});
    Style.TextStyles()[0]->Protection.Include(c.Option);
    Caret(0, c.Offset);
    Style.TextStyles()[5]->Protection = {};
    Pane.SetCurTextStyleNo(0);
    Data().TypeAnsiChar('x');
    EXPECT_EQ(Dump(), c.Expected);
  }
  Style.TextStyles()[0]->Protection = {};
}

// --- Deleting the selection ------------------------------------------------------------------------

TEST_F(RPEditingTest, DeletingTheSelection) {
  struct TCase {
    const char* Name;
    int32_t StartItem, StartOffs, EndItem, EndOffs;
    const char* Expected;
    std::pair<int32_t, int32_t> Caret;
  };
  const TCase cases[] = {
      {"inside one item", 0, 2, 0, 4, "'ade' / 'fgh' / 'ijk'", {0, 2}},
      {"across a paragraph end", 0, 3, 1, 2, "'abgh' / 'ijk'", {0, 3}},
      {"a whole paragraph with its end", 0, 1, 1, 1, "'fgh' / 'ijk'", {0, 1}},
      {"from the middle to the end of the document", 1, 2, 2, 4, "'abcde' / 'f'", {1, 2}},
      {"everything", 0, 1, 2, 4, "''", {0, 1}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Build({"abcde", "fgh", "ijk"});
    Data().SetSelectionBounds(c.StartItem, c.StartOffs, c.EndItem, c.EndOffs);
    EXPECT_TRUE(Data().DeleteSelection());
    EXPECT_EQ(Dump(), c.Expected);
    EXPECT_EQ(CaretAt(), c.Caret);
    UndoAll();
    EXPECT_EQ(Dump(), "'abcde' / 'fgh' / 'ijk'");
  }
}

TEST_F(RPEditingTest, AWholeParagraphDeletedLeavesAnEmptyItemWithTheEndsTag) {
  Data().Clear();
  Data().AddRawText("abc", 0, 0);
  Data().AddRawText("def", 0, 0);
  Data().GetItem(0)->Tag = TRPTag::FromNumber(7);
  Format();
  Pane.SetCurTextStyleNo(0);
  Data().SetSelectionBounds(0, 1, 0, 4);
  EXPECT_TRUE(Data().DeleteSelection());
  EXPECT_EQ(Dump(), "'' / 'def'");
  EXPECT_EQ(Data().GetItem(0)->StyleNo, 0);
  EXPECT_EQ(Data().GetItemTag(0).Number(), 7);
}

TEST_F(RPEditingTest, ASelectionHoldingTheDropPositionIsNotDeleted) {
  Build({"abcde"});
  Data().AddRefDragCaret();
  auto* drop = Data().GetDragDropCaretInfo();
  ASSERT_NE(drop, nullptr);
  drop->Data = &Data();
  drop->ItemNo = 0;
  drop->ItemOffs = 3;
  Data().SetSelectionBounds(0, 2, 0, 4);
  EXPECT_FALSE(Data().DeleteSelection());
  EXPECT_EQ(Dump(), "'abcde'");
  drop->ItemOffs = 5;
  EXPECT_TRUE(Data().DeleteSelection());
  EXPECT_EQ(Dump(), "'ade'");
  Data().ReleaseDragCaret();
}

// The protections of deleting, as one table: each case a document, a selection, and
// whether it may be deleted.
TEST_F(RPEditingTest, ProtectionOfDeleting) {
  struct TCase {
    const char* Name;
    std::function<void()> Setup;
    int32_t StartItem, StartOffs, EndItem, EndOffs;
    bool Deletable;
  };
  const auto protectStyle = [this](TRPProtectOption option) {
    return [this, option] { Style.TextStyles()[SerifStyle]->Protection.Include(option); };
  };
  const auto readOnlyPara = [this] { Style.ParaStyles()[1]->Options.Include(rppaoReadOnly); };
  const auto persistent = [this] {
    auto checkpoint = std::make_unique<TRPCPInfo>();
    checkpoint->Name = "keep";
    checkpoint->Persistent = true;
    Data().AttachCheckpoint(2, std::move(checkpoint));
  };
  // Items: 0 'abc' (plain), 1 'def' (serif, continuing), 2 'ghi' (paragraph 1 style).
  const TCase cases[] = {
      {"unprotected", [] {}, 0, 2, 2, 2, true},
      {"modify-protected covered partly", protectStyle(rpprModifyProtect), 1, 2, 1, 3, false},
      {"modify-protected covered whole", protectStyle(rpprModifyProtect), 1, 1, 1, 4, true},
      {"delete-protected covered whole", protectStyle(rpprDeleteProtect), 0, 2, 2, 2, false},
      {"delete-protected covered partly", protectStyle(rpprDeleteProtect), 1, 2, 1, 3, true},
      {"delete-protected at the edge, not covered", protectStyle(rpprDeleteProtect), 0, 2, 0, 4, true},
      {"a read-only paragraph covered partly", readOnlyPara, 2, 2, 2, 3, false},
      {"a read-only paragraph covered whole", readOnlyPara, 1, 4, 2, 4, true},
      {"a read-only paragraph from its start only", readOnlyPara, 2, 1, 2, 3, false},
      {"a persistent checkpoint after a paragraph start", persistent, 0, 2, 2, 2, false},
      {"a persistent checkpoint in a paragraph the selection does not start", persistent, 2, 2, 2, 3, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    for (int32_t s = 0; s < Style.TextStyles().Count(); ++s) Style.TextStyles()[s]->Protection = {};
    Style.ParaStyles()[1]->Options.Exclude(rppaoReadOnly);
    Data().Clear();
    Data().AddRawText("abc", 0, 0);
    Data().AddTextW(u"def", SerifStyle, TRPTag(), -1);
    Data().AddRawText("ghi", 0, 1);
    Format();
    c.Setup();
    Data().SetSelectionBounds(c.StartItem, c.StartOffs, c.EndItem, c.EndOffs);
    EXPECT_EQ(Data().CanDeleteSelection(), c.Deletable);
    const std::string before = Dump();
    EXPECT_EQ(Data().DeleteSelection(), c.Deletable);
    if (!c.Deletable) {
      EXPECT_EQ(Dump(), before);
    }
  }
  for (int32_t s = 0; s < Style.TextStyles().Count(); ++s) Style.TextStyles()[s]->Protection = {};
  Style.ParaStyles()[1]->Options.Exclude(rppaoReadOnly);
  // The keys: each refused case leaves the document and the undo list as they were.
  struct TKeyCase {
    const char* Name;
    std::function<void()> Setup;
    int32_t ItemNo, Offset;
    std::function<void()> Key;
  };
  const auto backspace = [this] { Data().DeleteCharBackward(false, false, false); };
  const auto del = [this] { Data().DeleteCharForward(false, false); };
  const auto enter = [this] { Data().InsertParagraphBreak(false, false); };
  const auto persistentOnThird = [this] {
    auto checkpoint = std::make_unique<TRPCPInfo>();
    checkpoint->Name = "keep";
    checkpoint->Persistent = true;
    Data().AttachCheckpoint(2, std::move(checkpoint));
  };
  // Items: 0 'abc' (plain), 1 'd' (serif, continuing), 2 'ghi' (serif, paragraph 1).
  const TKeyCase keys[] = {
      {"paragraph-start protected: Backspace at its start", protectStyle(rpprParaStartProtect), 2, 1, backspace},
      {"paragraph-start protected: Enter inside it", protectStyle(rpprParaStartProtect), 2, 2, enter},
      {"modify-protected: Backspace inside it", protectStyle(rpprModifyProtect), 2, 3, backspace},
      {"modify-protected: Enter inside it", protectStyle(rpprModifyProtect), 2, 2, enter},
      {"delete-protected: Backspace over a whole item", protectStyle(rpprDeleteProtect), 1, 2, backspace},
      {"a persistent checkpoint: Backspace at its paragraph's start", persistentOnThird, 2, 1, backspace},
      {"a persistent checkpoint: Delete at the end of the paragraph before", persistentOnThird, 1, 2, del},
      {"a read-only paragraph: Backspace at its start", readOnlyPara, 2, 1, backspace},
      {"a read-only paragraph: Delete inside it", readOnlyPara, 2, 2, del},
      {"a read-only paragraph: Enter inside it", readOnlyPara, 2, 2, enter},
  };
  for (const TKeyCase& c : keys) {
    SCOPED_TRACE(c.Name);
    for (int32_t s = 0; s < Style.TextStyles().Count(); ++s) Style.TextStyles()[s]->Protection = {};
    Style.ParaStyles()[1]->Options.Exclude(rppaoReadOnly);
    Data().Clear();
    Data().AddRawText("abc", 0, 0);
    Data().AddTextW(u"d", SerifStyle, TRPTag(), -1);
    Data().AddTextW(u"ghi", SerifStyle, TRPTag(), 1);
    Format();
    Data().UndoList->Clear();
    c.Setup();
    const std::string before = Dump();
    Caret(c.ItemNo, c.Offset);
    c.Key();
    EXPECT_EQ(Dump(), before);
    Data().UndoList->RemoveEmptyLastGroup();
    EXPECT_EQ(Data().UndoList->Count(), 0);
  }
  for (int32_t s = 0; s < Style.TextStyles().Count(); ++s) Style.TextStyles()[s]->Protection = {};
  Style.ParaStyles()[1]->Options.Exclude(rppaoReadOnly);
  // The current paragraph style read-only: nothing may be deleted.
  Data().Clear();
  Data().AddRawText("abc", 0, 0);
  Format();
  Data().SetSelectionBounds(0, 1, 0, 2);
  Style.ParaStyles()[1]->Options.Include(rppaoReadOnly);
  Pane.SetCurParaStyleNo(1);
  EXPECT_FALSE(Data().CanDeleteSelection());
  Style.ParaStyles()[1]->Options.Exclude(rppaoReadOnly);
}

// An item edited in place answers for the selection of its editor: without a selection
// of the document the editor's answer is the document's, and deleting deletes the
// editor's selection when it may (else a refusal). A selection of the document itself is
// the document's to answer.
TEST_F(RPEditingTest, AnItemEditedInPlaceAnswersForItsOwnSelection) {
  struct TEditedItem : TRPTabItemInfo {
    using TRPTabItemInfo::TRPTabItemInfo;
    bool Allows = false;
    int32_t Asked = 0, Deleted = 0;
    bool CanDeleteInplaceSelection() override {
      ++Asked;
      return Allows;
    }
    void DeleteInplaceSelection() override { ++Deleted; }
  };
  Data().AddRawText("abc", 0, 0);
  auto owned = std::make_unique<TEditedItem>(&Data());
  TEditedItem& item = *owned;
  item.SetContinuesLine(true);
  Data().AddItemAsIs({}, std::move(owned));
  Data().AddRawText("def", 0, 0);
  Format();
  const std::string before = Dump();
  // Nothing edited in place: nothing selected, nothing refused.
  EXPECT_TRUE(Data().CanDeleteSelection());
  Data().InplaceEditedItem = &item;
  for (const bool allows : {false, true}) {
    SCOPED_TRACE(allows ? "the editor allows" : "the editor refuses");
    item.Allows = allows;
    item.Asked = item.Deleted = 0;
    EXPECT_EQ(Data().CanDeleteSelection(), allows);
    EXPECT_TRUE(Data().DeleteSelection());
    EXPECT_EQ(item.Deleted, allows ? 1 : 0);
    EXPECT_EQ(item.Asked, 2);
    EXPECT_EQ(Dump(), before);
  }
  // A selection of the document is not the editor's.
  item.Allows = false;
  item.Asked = 0;
  Data().SetSelectionBounds(0, 1, 0, 2);
  EXPECT_TRUE(Data().CanDeleteSelection());
  EXPECT_EQ(item.Asked, 0);
  Data().Deselect(false);
  Data().InplaceEditedItem = nullptr;
}

// --- Backspace and Delete ---------------------------------------------------------------------------

TEST_F(RPEditingTest, BackspaceAndDelete) {
  struct TCase {
    const char* Name;
    std::function<void()> Build;
    int32_t ItemNo, Offset;
    std::function<void()> Key;
    const char* Expected;
    std::pair<int32_t, int32_t> Caret;
  };
  const auto plain = [this] { Build({"ab cd", "efg", "", "hi"}); };
  const auto backspace = [this] { Data().DeleteCharBackward(false, false, false); };
  const auto ctrlBackspace = [this] { Data().DeleteCharBackward(true, false, false); };
  const auto del = [this] { Data().DeleteCharForward(false, false); };
  const auto ctrlDel = [this] { Data().DeleteCharForward(true, false); };
  const auto pageBreak = [this] {
    Build({"ab", "cd"});
    Data().GetItem(1)->SetPageBreakBefore(true);
    Format();
  };
  const auto bulleted = [this] {
    Data().Clear();
    Data().AddRawText("ab", 0, 0);
    AddMarkerParagraph("cd");
    Format();
    Data().UndoList->Clear();
  };
  const auto lines = [this] { Build({"ab|cd"}); };
  const TCase cases[] = {
      {"a character", plain, 0, 3, backspace, "'a cd' / 'efg' / '' / 'hi'", {0, 2}},
      {"by word after the last word", plain, 0, 6, ctrlBackspace, "'ab ' / 'efg' / '' / 'hi'", {0, 4}},
      {"at a paragraph start joins the paragraphs", plain, 1, 1, backspace, "'ab cdefg' / '' / 'hi'", {0, 6}},
      {"at the document start nothing", plain, 0, 1, backspace, "'ab cd' / 'efg' / '' / 'hi'", {0, 1}},
      {"in an empty paragraph deletes it", plain, 2, 1, backspace, "'ab cd' / 'efg' / 'hi'", {1, 4}},
      {"after an empty paragraph deletes it", plain, 3, 1, backspace, "'ab cd' / 'efg' / 'hi'", {2, 1}},
      {"after a page-break paragraph start removes the page break", pageBreak, 1, 1, backspace, "'ab' / 'cd'", {1, 1}},
      {"at a bulleted paragraph's start removes the bullet", bulleted, 2, 1, backspace, "'ab' / 'cd'", {1, 1}},
      {"at a line start joins the lines", lines, 1, 1, backspace, "'abcd'", {0, 3}},
      {"the last character of an item that starts a paragraph",
       [this] {
         Build({"a", "b"});
       },
       0,
       2,
       backspace,
       "'' / 'b'",
       {0, 1}},
      {"Delete a character", plain, 0, 1, del, "'b cd' / 'efg' / '' / 'hi'", {0, 1}},
      {"Ctrl+Delete deletes one character only", plain, 0, 1, ctrlDel, "'b cd' / 'efg' / '' / 'hi'", {0, 1}},
      {"Delete at a paragraph end joins the next", plain, 0, 6, del, "'ab cdefg' / '' / 'hi'", {0, 6}},
      {"Delete before a single empty paragraph removes it", plain, 1, 4, del, "'ab cd' / 'efg' / 'hi'", {1, 4}},
      {"Delete in an empty paragraph removes it", plain, 2, 1, del, "'ab cd' / 'efg' / 'hi'", {2, 1}},
      {"Delete at the document end nothing", plain, 3, 3, del, "'ab cd' / 'efg' / '' / 'hi'", {3, 3}},
      {"Delete before a bulleted paragraph appends its text", bulleted, 0, 3, del, "'abcd'", {0, 3}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Build();
    ExpectEditThenUndo(c.ItemNo, c.Offset, c.Key, c.Expected, c.Caret);
  }
}

TEST_F(RPEditingTest, BackspaceInAReadOnlyParagraphChangesNothing) {
  Style.ParaStyles()[1]->Options.Include(rppaoReadOnly);
  Data().Clear();
  AddA("abc", 1);
  Format();
  Caret(0, 3);
  Data().DeleteCharBackward(false, false, false);
  Data().DeleteCharForward(false, false);
  EXPECT_EQ(Dump(), "'abc'");
  EXPECT_EQ(Data().UndoList->Count(), 0);
  Style.ParaStyles()[1]->Options.Exclude(rppaoReadOnly);
}

TEST_F(RPEditingTest, BackspaceNeverCutsASurrogatePair) {
  Data().Clear();
  AddW(u"a\U0001F600");
  Format();
  Caret(0, 4);
  Data().DeleteCharBackward(false, false, false);
  EXPECT_EQ(TextOf(0), u"a");
}

// --- Enter -------------------------------------------------------------------------------------------

TEST_F(RPEditingTest, Enter) {
  struct TCase {
    const char* Name;
    std::function<void()> Build;
    int32_t ItemNo, Offset;
    bool Soft;
    const char* Expected;
    std::pair<int32_t, int32_t> Caret;
    bool KeepEmptyListItems = false;
  };
  const auto plain = [this] { Build({"abcd", "ef"}); };
  const auto bulleted = [this] {
    Data().Clear();
    AddMarkerParagraph("ab");
    Format();
  };
  const auto emptyBullet = [this] {
    Data().Clear();
    AddMarkerParagraph("ab");
    AddMarkerParagraph("");
    Format();
  };
  const TCase cases[] = {
      {"in the middle of a word", plain, 0, 3, false, "'ab' / 'cd' / 'ef'", {1, 1}},
      {"Shift+Enter in the middle of a word", plain, 0, 3, true, "'ab' | 'cd' / 'ef'", {1, 1}},
      {"at a paragraph end", plain, 0, 5, false, "'abcd' / '' / 'ef'", {1, 1}},
      {"at a paragraph start", plain, 1, 1, false, "'abcd' / '' / 'ef'", {2, 1}},
      {"in a bulleted paragraph", bulleted, 1, 2, false, "*+'a' / *+'b'", {3, 1}},
      {"at a bulleted paragraph's end", bulleted, 1, 3, false, "*+'ab' / *+''", {3, 1}},
      {"in an empty bulleted paragraph", emptyBullet, 3, 1, false, "*+'ab' / '' / ''", {3, 1}},
      {"in an empty bulleted paragraph, empty list items kept",
       emptyBullet,
       3,
       1,
       false,
       "*+'ab' / *+'' / *+''",
       {5, 1},
       true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Build();
    RPKeepEmptyListItemsOnEnter = c.KeepEmptyListItems;
    ExpectEditThenUndo(
        c.ItemNo, c.Offset, [&] { EXPECT_TRUE(Data().InsertParagraphBreak(c.Soft, false)); }, c.Expected, c.Caret);
    RPKeepEmptyListItemsOnEnter = false;
  }
}

TEST_F(RPEditingTest, ShiftEnterKeepsTheParagraphCount) {
  Build({"abcd"});
  Caret(0, 3);
  EXPECT_TRUE(Data().InsertParagraphBreak(true, false));
  EXPECT_EQ(Paragraphs(), 1);
  EXPECT_EQ(Data().GetItemCount(), 2);
}

TEST_F(RPEditingTest, EnterIsRefusedWhereTheParagraphWantsNoReturns) {
  Style.ParaStyles()[1]->Options.Include(rppaoDoNotWantReturns);
  Data().Clear();
  AddA("abc", 1);
  Format();
  Caret(0, 2);
  EXPECT_FALSE(Data().InsertParagraphBreak(false, false));
  EXPECT_EQ(Dump(), "'abc'");
  Style.ParaStyles()[1]->Options.Exclude(rppaoDoNotWantReturns);
}

TEST_F(RPEditingTest, EnterAtAParagraphEndTakesTheNextStyles) {
  Style.TextStyles()[0]->NextStyleNo = UnicodeStyle;
  Style.ParaStyles()[0]->NextParaNo = 1;
  Build({"abc"});
  Caret(0, 4);
  Pane.SetCurTextStyleNo(0);
  EXPECT_TRUE(Data().InsertParagraphBreak(false, false));
  EXPECT_EQ(Data().GetItem(1)->StyleNo, UnicodeStyle);
  EXPECT_EQ(Data().GetItem(1)->ParaNo, 1);
  Style.TextStyles()[0]->NextStyleNo = -1;
  Style.ParaStyles()[0]->NextParaNo = -1;
}

// --- Numbered lists --------------------------------------------------------------------------------

TEST_F(RPEditingTest, NumberedParagraphsKeepCountingThroughEdits) {
  struct TCase {
    const char* Name;
    int32_t ItemNo, Offset;
    std::function<void()> Edit;
    std::vector<int32_t> Counters;
  };
  const TCase cases[] = {
      {"Enter splits the first numbered paragraph",
       1,
       2,
       [this] { Data().InsertParagraphBreak(false, false); },
       {1, 2, 3, 4}},
      {"Enter at the end of the last one", 5, 3, [this] { Data().InsertParagraphBreak(false, false); }, {1, 2, 3, 4}},
      {"Backspace takes the second number away",
       3,
       1,
       [this] { Data().DeleteCharBackward(false, false, false); },
       {1, 2}},
      {"pasted paragraphs are numbered on",
       1,
       3,
       [this] {
         Data().BeginUndoGroup(rpukInsert, true);
         Data().InsertAnsiText("x\r\ny", false);
       },
       {1, 2, 3, 4}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Data().Clear();
    AddMarkerParagraph("ab", 1);
    AddMarkerParagraph("cd", 1);
    AddMarkerParagraph("ef", 1);
    Format();
    Data().UndoList->Clear();
    Caret(c.ItemNo, c.Offset);
    c.Edit();
    std::vector<int32_t> counters;
    for (int32_t i = 0; i < Data().GetItemCount(); ++i)
      if (const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(Data().GetItem(i)))
        counters.push_back(marker->Counter);
    EXPECT_EQ(counters, c.Counters);
    UndoAll();
    counters.clear();
    for (int32_t i = 0; i < Data().GetItemCount(); ++i)
      if (const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(Data().GetItem(i)))
        counters.push_back(marker->Counter);
    EXPECT_EQ(counters, (std::vector<int32_t>{1, 2, 3}));
  }
}

// The numbers of a list after an edit: every marker counts on, and the paragraphs after
// the edited ones are laid out with their new numbers (ten is wider than nine) as a whole
// new pass lays them out; undoing lays the old numbers out again.
TEST_F(RPEditingTest, ListNumbersAfterTheEditedParagraphsAreLaidOutAgain) {
  struct TCase {
    const char* Name;
    int32_t Paragraphs;
    int32_t ItemNo, Offset;
    std::function<void()> Edit;
    int32_t Numbered;
  };
  const auto enter = [this] { Data().InsertParagraphBreak(false, false); };
  const auto backspace = [this] { Data().DeleteCharBackward(false, false, false); };
  const TCase cases[] = {
      {"Enter splits the first paragraph", 9, 1, 2, enter, 10},
      {"Enter at the end of the first paragraph", 9, 1, 3, enter, 10},
      {"Enter at the start of the first paragraph", 9, 1, 1, enter, 10},
      {"Enter at the end of a middle paragraph", 9, 5, 3, enter, 10},
      {"pasted paragraphs", 9, 1, 2,
       [this] {
         Data().BeginUndoGroup(rpukInsert, true);
         Data().InsertAnsiText("x\r\ny\r\nz", false);
       },
       11},
      {"a selection over two paragraph breaks deleted", 11, 1, 2,
       [this] {
         Data().SetSelectionBounds(1, 2, 5, 2);
         Data().DeleteSelection();
       },
       9},
      {"Backspace takes a number away", 10, 3, 1, backspace, 9},
      {"Delete joins the next paragraph", 10, 1, 3, [this] { Data().DeleteCharForward(false, false); }, 9},
  };
  const auto numbers = [this] {
    std::vector<int32_t> counters;
    for (int32_t i = 0; i < Data().GetItemCount(); ++i)
      if (const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(Data().GetItem(i)))
        if (marker->ListNo == 1) counters.push_back(marker->Counter);
    return counters;
  };
  const auto oneToN = [](int32_t n) {
    std::vector<int32_t> counters;
    for (int32_t k = 1; k <= n; ++k) counters.push_back(k);
    return counters;
  };
  // "1." .. "9." fit in front of the text, "10." pushes it on.
  Style.ListStyles()[1]->Levels()[0]->FormatString = "%0:s.";
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Data().Clear();
    for (int32_t p = 0; p < c.Paragraphs; ++p) AddMarkerParagraph("ab", 1);
    Format();
    Data().UndoList->Clear();
    const std::string before = Layout();
    Caret(c.ItemNo, c.Offset);
    c.Edit();
    EXPECT_EQ(numbers(), oneToN(c.Numbered));
    ExpectLayoutOfAWholePass();
    UndoAll();
    EXPECT_EQ(numbers(), oneToN(c.Paragraphs));
    EXPECT_EQ(Layout(), before);
    ExpectLayoutOfAWholePass();
  }
}

}  // namespace
