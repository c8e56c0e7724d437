// The editor's exchange with the platform on Qt's offscreen platform: cutting, copying
// and pasting text, native-format and RTF selections with the keys; RTF from outside
// never reading local files; input-method text; drags within the editor and drops of
// files; metafile pictures pasted at a click and dropped at a point; the input-language
// switch of the text style.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QImage>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "../interchange/RPFDocumentDump.h"
#include "platform/base/CodePages.h"
#include "platform/base/TempFolder.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Metafile.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtClipboard.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/interchange/RPExportClipboard.h"
#include "richtext/interchange/RPRTFProps.h"
#include "richtext/model/RPClipboardFormats.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/model/RPUnicode.h"

namespace {

// Text styles: 0 plain, 1 Unicode (the default Unicode style), 2 bold.
constexpr int32_t PlainStyle = 0, UnicodeStyle = 1, BoldStyle = 2;

std::string Utf8(const WideString& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())).toStdString();
}

// A style sheet with the three styles.
void MakeStyles(TRPStyle& style) {
  while (style.TextStyles().Count() <= BoldStyle) style.TextStyles().Add();
  for (int32_t i = 0; i <= BoldStyle; ++i) style.TextStyles()[i]->FontName = "Arial";
  style.TextStyles()[UnicodeStyle]->Unicode = true;
  style.TextStyles()[BoldStyle]->Style = TFontStyles{fsBold};
  style.DefUnicodeStyle = UnicodeStyle;
}

struct RichPaneEditClipboardTest : testing::Test {
  RichPaneEditClipboardTest() {
    MakeStyles(Style);
    Editor.SetStyle(&Style);
    Form.SetBounds(0, 0, 440, 320);
    TRPWindow& window = Editor.Window();
    window.SetParent(&Form);
    window.SetBounds(0, 0, 440, 320);
    Form.Show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(Form.Widget()));
    Editor.Window().SetFocus();
    QApplication::processEvents();
  }
  ~RichPaneEditClipboardTest() override { Form.Hide(); }

  // The document of Lines: one paragraph each, in the plain style.
  void Load(const std::vector<std::string>& lines) {
    Data().Clear();
    for (const std::string& line : lines) Data().AddAnsiText(line, PlainStyle, TRPTag(), 0);
    Editor.Format();
    Data().SetCaretAtItemPos(0, 1);
  }
  TRPEditRPData& Data() { return Editor.EditData(); }
  QWidget& Widget() { return *Editor.Window().Widget(); }
  QWidget& Viewport() { return *qobject_cast<QAbstractScrollArea*>(&Widget())->viewport(); }
  void Key(int key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&Widget(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(&Widget(), &release);
    QApplication::processEvents();
  }
  // The paragraphs' texts, "/" between them, "<picture>" for a picture.
  std::string Text() {
    std::string out;
    for (int32_t i = 0; i < Data().GetItemCount(); ++i) {
      if (i > 0 && Data().StartsParagraph(i)) out += "/";
      out += Data().IsTextItem(i) ? Utf8(Data().GetItemTextW(i)) : "<picture>";
    }
    return out;
  }
  // A left click at a client point, through the window's own mouse events.
  void Click(const TPoint& at) {
    QTest::mouseClick(&Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(at.X, at.Y));
    QApplication::processEvents();
  }
  // A client point of an item position: the caret's place there.
  TPoint PointAt(int32_t itemNo, int32_t offset) {
    Data().SetCaretAtItemPos(itemNo, offset);
    TPoint point;
    Data().GetCaretClientPoint(point);
    return TPoint{point.X, point.Y + 3};
  }
  // A drag event sent to the window at a client point; whether it was taken and the
  // action it was answered with.
  std::pair<bool, Qt::DropAction> SendDrag(QEvent::Type type, const TPoint& at, const QMimeData& mime,
                                           Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
    const QPoint p(at.X, at.Y);
    std::unique_ptr<QDropEvent> event;
    if (type == QEvent::DragEnter)
      event = std::make_unique<QDragEnterEvent>(p, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    else if (type == QEvent::DragMove)
      event = std::make_unique<QDragMoveEvent>(p, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    else
      event = std::make_unique<QDropEvent>(QPointF(p), actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Viewport(), event.get());
    QApplication::processEvents();
    return {event->isAccepted(), event->dropAction()};
  }
  // A drag of the selection begins: the data it carries, as the window's drag gives it;
  // nullptr when no drag may start. DoneDragging ends it.
  std::unique_ptr<QMimeData> DragSelection() {
    if (!Data().InitDragging()) return nullptr;
    TRPDragDataSink sink;
    Data().PutDragFormats(sink, Data().GetColor(), nullptr);
    return std::unique_ptr<QMimeData>(ToMimeData(sink.Data));
  }
  // Enter, move and drop at a client point.
  std::pair<bool, Qt::DropAction> DragAndDrop(const TPoint& at, const QMimeData& mime,
                                              Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
    if (!SendDrag(QEvent::DragEnter, at, mime, actions).first) return {false, Qt::IgnoreAction};
    SendDrag(QEvent::DragMove, at, mime, actions);
    return SendDrag(QEvent::Drop, at, mime, actions);
  }

  TRPStyle Style{nullptr};
  TForm Form{nullptr};
  TRichPaneEdit Editor{nullptr};
};

TEST_F(RichPaneEditClipboardTest, CutCopyAndPasteTextWithTheKeys) {
  Load({"Hello world"});
  Editor.Options &= ~(rpoAutoCopyRPF | rpoAutoCopyRTF);
  Editor.SetSelectionBounds(0, 7, 0, 12);
  Key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Text(), "Hello ");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("world"));
  Key(Qt::Key_Home, Qt::ControlModifier);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(), "worldHello ");
  // Shift+Insert pastes too; Ctrl+C copies and Shift+Delete cuts a selection.
  Key(Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(Text(), "worldworldHello ");
  Editor.SetSelectionBounds(0, 11, 0, 16);
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Hello"));
  Key(Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(Text(), "worldworld ");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Hello"));
  // Each was one undo step.
  Editor.Undo();
  EXPECT_EQ(Text(), "worldworldHello ");
  Editor.Undo();
  EXPECT_EQ(Text(), "worldHello ");
  Editor.Undo();
  EXPECT_EQ(Text(), "Hello ");
  Editor.Undo();
  EXPECT_EQ(Text(), "Hello world");
  // A read-only editor neither cuts nor pastes.
  Editor.SetReadOnly(true);
  Editor.SetSelectionBounds(0, 1, 0, 6);
  Key(Qt::Key_X, Qt::ControlModifier);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(), "Hello world");
}

// A selection holding a picture copied with Ctrl+C: the clipboard's HTML carries the
// picture itself, and nothing is written into the working folder.
TEST_F(RichPaneEditClipboardTest, CopyingAPictureLeavesTheWorkingFolderAlone) {
  const TempFolder working;
  const TWorkingFolderScope inWorking(working.Path());
  Load({"before", "after"});
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(6, 4);
  Data().AddPicture("picture", std::move(bitmap), -1, rpvaBaseline);
  Editor.Format();
  Editor.SetSelectionBounds(0, 1, 2, 1);
  Key(Qt::Key_C, Qt::ControlModifier);
  const QString html = QString::fromUtf8(QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("text/html")));
  EXPECT_TRUE(html.contains(QStringLiteral("src=\"data:image/jpeg;base64,/9j/"))) << html.toStdString();
  EXPECT_EQ(EntryCount(working.Path()), 0u);
}

// A selection of mixed styles copied in the native format and pasted at the end: the
// document's dump is that of the same items twice.
TEST_F(RichPaneEditClipboardTest, ANativeSelectionPastesAsItWas) {
  Data().Clear();
  Data().AddAnsiText("plain ", PlainStyle, TRPTag(), 0);
  Data().AddAnsiText("bold", BoldStyle, TRPTag(), -1);
  Data().AddAnsiText("next", PlainStyle, TRPTag(), 0);
  Editor.Format();
  Editor.SetSelectionBounds(0, 1, 1, 5);
  Key(Qt::Key_C, Qt::ControlModifier);
  ASSERT_TRUE(Editor.HasRPFFormat());
  Key(Qt::Key_End, Qt::ControlModifier);
  Key(Qt::Key_V, Qt::ControlModifier);

  TRPStyle referenceStyle(nullptr);
  MakeStyles(referenceStyle);
  TRichPaneEdit reference(nullptr);
  reference.SetStyle(&referenceStyle);
  TRPEditRPData& expected = reference.EditData();
  expected.AddAnsiText("plain ", PlainStyle, TRPTag(), 0);
  expected.AddAnsiText("bold", BoldStyle, TRPTag(), -1);
  // The pasted plain text joins the item it follows.
  expected.AddAnsiText("nextplain ", PlainStyle, TRPTag(), 0);
  expected.AddAnsiText("bold", BoldStyle, TRPTag(), -1);
  EXPECT_EQ(Dump(Data()), Dump(expected));
  Editor.Undo();
  EXPECT_EQ(Text(), "plain bold/next");
}

// Without the native format the RTF of the selection goes and comes back, its bold run
// in a bold style.
TEST_F(RichPaneEditClipboardTest, AnRtfSelectionPastesWithItsStyles) {
  Data().Clear();
  Data().AddAnsiText("plain ", PlainStyle, TRPTag(), 0);
  Data().AddAnsiText("bold", BoldStyle, TRPTag(), -1);
  Editor.Format();
  Editor.Options &= ~rpoAutoCopyRPF;
  RichPaneRTFReadProperties(Editor).TextStyleMode = rprsAddIfNeeded;
  Editor.SetSelectionBounds(0, 1, 1, 5);
  Key(Qt::Key_C, Qt::ControlModifier);
  ASSERT_FALSE(Editor.HasRPFFormat());
  ASSERT_TRUE(Editor.HasRTFFormat());
  Key(Qt::Key_End, Qt::ControlModifier);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(), "plain boldplain bold");
  bool bold = false, plain = false;
  for (int32_t i = 2; i < Data().GetItemCount(); ++i) {
    const TFontInfo& font = *Style.TextStyles()[Data().GetItem(i)->StyleNo];
    if (Utf8(Data().GetItemTextW(i)) == "bold") bold = font.Style.Contains(fsBold);
    if (Utf8(Data().GetItemTextW(i)) == "plain ") plain = !font.Style.Contains(fsBold);
  }
  EXPECT_TRUE(bold);
  EXPECT_TRUE(plain);
}

// RTF from the clipboard asks for a picture file inside the reader's base folder: a
// pasted document never opens it, a document read from a file of the user may.
TEST_F(RichPaneEditClipboardTest, PastedRtfReadsNoLocalFiles) {
  const TempFolder temp;
  const std::filesystem::path folder = temp.Path();
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(4, 4);
  {
    TFileStream file(AnsiToWide(AnsiString((folder / "local.bmp").string())), fmCreate);
    bitmap.SaveToStream(file);
  }
  const AnsiString rtf = "{\\rtf1\\ansi A{\\field{\\*\\fldinst INCLUDEPICTURE \"local.bmp\"}{\\fldrslt shown}}B}";
  auto& props = RichPaneRTFReadProperties(Editor);
  props.AllowFieldPictureFiles = true;
  props.BasePath = folder.string() + "/";

  // The editor's reader settings read the file into a document of their own.
  TMemoryStream stream;
  stream.WriteBuffer(rtf.data(), static_cast<int32_t>(rtf.size()));
  stream.SetPosition(0);
  TCustomRichPane reading(nullptr);
  reading.SetStyle(&Style);
  int32_t position = 0;
  ASSERT_EQ(props.ReadRTFFromStream(stream, reading.RPData(), position), rtf_ec_OK);
  bool picture = false;
  for (int32_t i = 0; i < reading.GetItemCount(); ++i) picture = picture || !reading.RPData().IsTextItem(i);
  EXPECT_TRUE(picture);

  Load({"x"});
  Clipboard().SetBuffer(RPClipboardFormats().RTF, rtf);
  Editor.Paste();
  EXPECT_EQ(Text().find("<picture>"), std::string::npos) << Text();
  EXPECT_NE(Text().find("A"), std::string::npos);
  // The editor's own settings are back.
  EXPECT_TRUE(props.AllowFieldPictureFiles);
  EXPECT_EQ(props.BasePath, folder.string() + "/");
}

TEST_F(RichPaneEditClipboardTest, TheSourceFolderOfClipboardHtml) {
  struct TCase {
    const char* Html;
    const char16_t* Folder;
  } cases[] = {
      {"Version:0.9\r\nSourceURL:file:///home/u/docs/page.html\r\n<html>", u"/home/u/docs/"},
      {"SourceURL:http://example.org/a/b/page.html\n<html>", u"http://example.org/a/b/"},
      {"SourceURL:https://example.org/x.html", u"https://example.org/"},
      {"SourceURL:file:///home/u/\xD0\x96/p.html\r\n", u"/home/u/\u0416/"},
      {"<html>no source</html>", u""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Html);
    Clipboard().SetBuffer(RPClipboardFormats().HTML, c.Html);
    EXPECT_EQ(Editor.GetSourceURLFromClipboard(), WideString(c.Folder));
  }
  Clipboard().Clear();
  EXPECT_EQ(Editor.GetSourceURLFromClipboard(), u"");
}

TEST_F(RichPaneEditClipboardTest, PasteTakesTheRichestFormat) {
  Load({"x"});
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(5, 3);
  Clipboard().Assign(picture);
  EXPECT_TRUE(Editor.CanPaste());
  Editor.Paste();
  EXPECT_EQ(Text(), "<picture>x");
  // Text the 8-bit style cannot hold comes in as UTF-16.
  Load({"x"});
  SetClipboardText(u"\u4e2d\u6587");
  Editor.Paste();
  EXPECT_EQ(Text(), "\u4e2d\u6587x");
  // An OnPaste handler may take the paste.
  Load({"x"});
  Editor.OnPaste = [](TCustomRichPaneEdit*, bool& doDefault) { doDefault = false; };
  Editor.Paste();
  EXPECT_EQ(Text(), "x");
  Editor.OnPaste = nullptr;
  Clipboard().Clear();
  EXPECT_FALSE(Editor.CanPaste());
  EXPECT_FALSE(Editor.PasteMetafile(false));
}

// Composed text goes in when committed; what is composed meanwhile does not. The input
// method learns the caret and the current text style's font.
TEST_F(RichPaneEditClipboardTest, InputMethodPreeditAndCommit) {
  Load({"ab"});
  Data().SetCaretAtItemPos(0, 2);
  const std::string before = Dump(Data());
  QInputMethodEvent preedit(QStringLiteral("\u304b\u3093"), {});
  QApplication::sendEvent(&Widget(), &preedit);
  EXPECT_EQ(Dump(Data()), before);
  EXPECT_EQ(Editor.InputMethodPreedit(), u"\u304b\u3093");
  const QRect cursor = Widget().inputMethodQuery(Qt::ImCursorRectangle).toRect();
  const TRect caret = Editor.Window().CaretRect();
  EXPECT_EQ(cursor.size(), QSize(caret.Right - caret.Left, caret.Bottom - caret.Top));
  EXPECT_EQ(qvariant_cast<QFont>(Widget().inputMethodQuery(Qt::ImFont)).family(), QStringLiteral("Arial"));
  EXPECT_TRUE(Widget().inputMethodQuery(Qt::ImEnabled).toBool());

  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("\u6f22\u5b57"));
  QApplication::sendEvent(&Widget(), &commit);
  EXPECT_EQ(Text(), "a\u6f22\u5b57b");
  EXPECT_EQ(Editor.InputMethodPreedit(), u"");
  EXPECT_EQ(Data().GetItem(1)->StyleNo, UnicodeStyle);
  Editor.Undo();
  EXPECT_EQ(Text(), "ab");
}

// A selection dragged to another place of the same editor moves there in one undo
// step; dropped onto itself, nothing happens.
TEST_F(RichPaneEditClipboardTest, DraggingTheSelectionWithinTheEditorMovesIt) {
  Load({"alpha beta", "gamma"});
  const TPoint end = PointAt(1, 6);
  const TPoint inside = PointAt(0, 9);
  Editor.SetSelectionBounds(0, 7, 0, 11);
  const std::unique_ptr<QMimeData> mime = DragSelection();
  ASSERT_TRUE(mime);
  const int32_t groups = Data().UndoList->Count();

  // Onto the selection itself.
  const auto [takenHere, actionHere] = DragAndDrop(inside, *mime);
  EXPECT_FALSE(takenHere && actionHere != Qt::IgnoreAction) << actionHere;
  EXPECT_EQ(Text(), "alpha beta/gamma");
  EXPECT_EQ(Data().UndoList->Count(), groups);

  Editor.SetSelectionBounds(0, 7, 0, 11);
  const auto [taken, action] = DragAndDrop(end, *mime);
  EXPECT_TRUE(taken);
  EXPECT_EQ(action, Qt::MoveAction);
  EXPECT_EQ(Text(), "alpha /gammabeta");
  // The end of the drag deletes nothing more.
  Data().DeleteDraggedSelection();
  Data().DoneDragging();
  EXPECT_EQ(Text(), "alpha /gammabeta");
  EXPECT_EQ(Data().UndoList->Count(), groups + 1);
  Editor.Undo();
  EXPECT_EQ(Text(), "alpha beta/gamma");
}

// A drag from this editor moved to a place before the selection; with Ctrl held it is
// copied instead.
TEST_F(RichPaneEditClipboardTest, DraggingBackwardsAndCopyingWithCtrl) {
  Load({"alpha beta", "gamma"});
  const TPoint start = PointAt(0, 1);
  Editor.SetSelectionBounds(1, 1, 1, 6);
  const std::unique_ptr<QMimeData> mime = DragSelection();
  ASSERT_TRUE(mime);
  EXPECT_EQ(DragAndDrop(start, *mime).second, Qt::MoveAction);
  Data().DoneDragging();
  EXPECT_EQ(Text(), "gammaalpha beta/");
  Editor.Undo();
  EXPECT_EQ(Text(), "alpha beta/gamma");

  Editor.SetSelectionBounds(1, 1, 1, 6);
  ASSERT_TRUE(Data().InitDragging());
  const QPoint at(start.X, start.Y);
  QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::ControlModifier);
  QApplication::sendEvent(&Viewport(), &enter);
  EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
  QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::ControlModifier);
  QApplication::sendEvent(&Viewport(), &drop);
  Data().DoneDragging();
  EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
  EXPECT_EQ(Text(), "gammaalpha beta/gamma");
}

// Drops from elsewhere: a link as its text, a picture, and the editor's drop events.
TEST_F(RichPaneEditClipboardTest, LinksPicturesAndTheDropEvents) {
  Load({"x"});
  Editor.AcceptDragDropFormats |= RPDragDropFormatBit(rpddURL);
  QMimeData link;
  link.setUrls({QUrl(QStringLiteral("http://example.org/page"))});
  EXPECT_EQ(DragAndDrop(PointAt(0, 1), link).second, Qt::CopyAction);
  EXPECT_EQ(Text(), "http://example.org/pagex");
  // With OnReadHyperlink the handler names the item.
  Load({"x"});
  Editor.OnReadHyperlink = [](TCustomRichPane*, const AnsiString& target, const AnsiString&, TRPLoadFormat format,
                              int32_t&, TRPTag& tag, AnsiString& name) {
    if (format == rplfURL) name = "[" + target + "]";
    tag = TRPTag::FromNumber(7);
  };
  DragAndDrop(PointAt(0, 1), link);
  EXPECT_EQ(Text(), "[http://example.org/page]x");
  EXPECT_EQ(Data().GetItem(0)->Tag.Number(), 7);
  Editor.OnReadHyperlink = nullptr;

  Load({"x"});
  QMimeData picture;
  QImage image(6, 4, QImage::Format_RGB32);
  image.fill(Qt::red);
  picture.setImageData(image);
  EXPECT_EQ(DragAndDrop(PointAt(0, 1), picture).second, Qt::CopyAction);
  EXPECT_EQ(Text(), "<picture>x");

  // OnOleDragEnter may refuse; OnOleDrop may take the drop with its own effect.
  Load({"x"});
  QMimeData text;
  text.setText(QStringLiteral("dropped"));
  Editor.OnOleDragEnter = [](TCustomRichPaneEdit*, const IDataObject&, TShiftState, int32_t, int32_t, TRPOleDropEffects,
                             int32_t& effect) { effect = DROPEFFECT_NONE; };
  EXPECT_FALSE(DragAndDrop(PointAt(0, 1), text).first);
  Editor.OnOleDragEnter = nullptr;
  Editor.OnOleDrop = [](TCustomRichPaneEdit*, const IDataObject&, TShiftState, int32_t, int32_t, TRPOleDropEffects,
                        int32_t& effect, bool& doDefault) {
    effect = DROPEFFECT_LINK;
    doDefault = false;
  };
  EXPECT_EQ(DragAndDrop(PointAt(0, 1), text, Qt::CopyAction | Qt::LinkAction).second, Qt::LinkAction);
  EXPECT_EQ(Text(), "x");
  Editor.OnOleDrop = nullptr;
  EXPECT_EQ(DragAndDrop(PointAt(0, 1), text).second, Qt::CopyAction);
  EXPECT_EQ(Text(), "droppedx");
  // A read-only editor takes no drop.
  Editor.SetReadOnly(true);
  EXPECT_FALSE(DragAndDrop(PointAt(0, 1), text).first);
}

TEST_F(RichPaneEditClipboardTest, DroppedTextAndRtfFilesGoIn) {
  const TempFolder temp;
  const std::filesystem::path folder = temp.Path();
  std::ofstream(folder / "note.txt") << "from text";
  std::ofstream(folder / "styled.rtf") << "{\\rtf1\\ansi {\\b strong}}";
  std::ofstream(folder / "other.xyz") << "skipped";
  Load({"x"});
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString((folder / "note.txt").string())),
                QUrl::fromLocalFile(QString::fromStdString((folder / "other.xyz").string())),
                QUrl::fromLocalFile(QString::fromStdString((folder / "styled.rtf").string()))});
  const auto [taken, action] = DragAndDrop(PointAt(0, 1), mime);
  EXPECT_TRUE(taken);
  EXPECT_EQ(action, Qt::CopyAction);
  EXPECT_EQ(Text(), "from textstrongx");
  // What went in is selected.
  int32_t start = 0, length = 0;
  Editor.GetLinearSelection(start, length);
  EXPECT_EQ(Utf8(Editor.GetLinearText(start, length)), "from textstrong");
  // One undo step for the drop.
  Editor.Undo();
  EXPECT_EQ(Text(), "x");

  // Without rpddFiles the files are refused, even with a handler.
  int32_t handled = 0;
  Editor.OnDropFiles = [&](TCustomRichPaneEdit*, std::vector<WideString>&, TRPDropFileAction&, bool&) { ++handled; };
  Editor.AcceptDragDropFormats &= ~RPDragDropFormatBit(rpddFiles);
  EXPECT_FALSE(DragAndDrop(PointAt(0, 1), mime).first);
  EXPECT_EQ(handled, 0);
  EXPECT_EQ(Text(), "x");
}

// A metafile of 40 x 20 pixels recorded from a drawing (a red square on its left half),
// as its file: enhanced, or a Windows metafile behind its placeable header.
QByteArray RecordedMetafileFile(bool enhanced) {
  TMetafile metafile;
  metafile.SetEnhanced(enhanced);
  TMetafileCanvas canvas(metafile, 40, 20);
  canvas.Brush().SetColor(clRed);
  canvas.FillRect(Rect(0, 0, 20, 20));
  canvas.Close();
  const std::vector<uint8_t> bytes = metafile.SavedBytes();
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// The metafile picture item itemNo holds: the same file and size, shown at that size.
void ExpectMetafilePicture(TRPEditRPData& data, int32_t itemNo, const QByteArray& file, bool enhanced) {
  const auto* picture = dynamic_cast<const TRPGraphicItemInfo*>(data.GetItem(itemNo));
  ASSERT_NE(picture, nullptr);
  const auto* metafile = dynamic_cast<const TMetafile*>(picture->Image.get());
  ASSERT_NE(metafile, nullptr) << (picture->Image ? picture->Image->ClassType()->ClassName : "no image");
  EXPECT_EQ(metafile->Enhanced(), enhanced);
  const std::vector<uint8_t> saved = metafile->SavedBytes();
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(saved.data()), static_cast<qsizetype>(saved.size())), file);
  EXPECT_EQ(metafile->Width(), 40);
  EXPECT_EQ(metafile->Height(), 20);
  EXPECT_EQ(picture->GetImageWidth(nullptr), 40);
  EXPECT_EQ(picture->GetImageHeight(nullptr), 20);
}

// A metafile on the system clipboard under each of its types: a click into the text and
// Ctrl+V put it in at the click as a picture holding that metafile, and one undo takes
// the paste back.
TEST_F(RichPaneEditClipboardTest, AMetafilePastesAtTheClickAndOneUndoTakesItBack) {
  const struct {
    const char* Mime;
    bool Enhanced;
  } cases[] = {{"image/emf", true}, {"image/x-emf", true}, {"image/wmf", false}, {"image/x-wmf", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Mime);
    Load({"Hello world"});
    const QByteArray file = RecordedMetafileFile(c.Enhanced);
    auto* mime = new QMimeData;  // the clipboard takes it over
    mime->setData(QString::fromLatin1(c.Mime), file);
    QGuiApplication::clipboard()->setMimeData(mime);
    EXPECT_TRUE(Editor.CanPaste());
    const TPoint afterHello = PointAt(0, 6);
    Key(Qt::Key_Home, Qt::ControlModifier);
    Click(TPoint{afterHello.X + 1, afterHello.Y});
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(Text(), "Hello<picture> world");
    ExpectMetafilePicture(Data(), 1, file, c.Enhanced);
    Editor.Undo();
    EXPECT_EQ(Text(), "Hello world");
    Editor.Redo();
    EXPECT_EQ(Text(), "Hello<picture> world");
    ExpectMetafilePicture(Data(), 1, file, c.Enhanced);
  }
}

// An enhanced metafile dragged over the text and dropped lands at the drop point, not at
// the caret; a Windows metafile alone is no format a drop takes.
TEST_F(RichPaneEditClipboardTest, ADroppedMetafileLandsAtTheDropPoint) {
  Load({"Hello world"});
  const QByteArray file = RecordedMetafileFile(true);
  QMimeData emf;
  emf.setData(QStringLiteral("image/emf"), file);
  const TPoint afterHello = PointAt(0, 6);
  Key(Qt::Key_End, Qt::ControlModifier);
  const auto [taken, action] = DragAndDrop(afterHello, emf);
  EXPECT_TRUE(taken);
  EXPECT_EQ(action, Qt::CopyAction);
  ASSERT_EQ(Text(), "Hello<picture> world");
  ExpectMetafilePicture(Data(), 1, file, true);
  Editor.Undo();
  EXPECT_EQ(Text(), "Hello world");

  QMimeData wmf;
  wmf.setData(QStringLiteral("image/wmf"), RecordedMetafileFile(false));
  EXPECT_FALSE(DragAndDrop(afterHello, wmf).first);
  EXPECT_EQ(Text(), "Hello world");
}

TEST_F(RichPaneEditClipboardTest, TheInputLanguageSwitchesTheCharacterSet) {
  Load({"x"});
  const int32_t styles = Style.TextStyles().Count();
  constexpr uint8_t RussianCharset = 204;
  EXPECT_FALSE(Editor.InputLanguageChanged(RussianCharset));  // without rpoAutoSwitchLang
  Editor.EditorOptions |= rpoAutoSwitchLang;
  ASSERT_TRUE(Editor.InputLanguageChanged(RussianCharset));
  const int32_t switched = Data().CurTextStyleNo;
  EXPECT_EQ(switched, styles);
  EXPECT_EQ(Style.TextStyles()[switched]->Charset, RussianCharset);
  EXPECT_FALSE(Style.TextStyles()[switched]->Standard);
  // Back and forth: the styles found again.
  ASSERT_TRUE(Editor.InputLanguageChanged(Style.TextStyles()[PlainStyle]->Charset));
  EXPECT_EQ(Data().CurTextStyleNo, PlainStyle);
  ASSERT_TRUE(Editor.InputLanguageChanged(RussianCharset));
  EXPECT_EQ(Data().CurTextStyleNo, switched);
  EXPECT_EQ(Style.TextStyles().Count(), styles + 1);
  // A Unicode current style stays.
  Editor.SetCurTextStyleNo(UnicodeStyle);
  EXPECT_FALSE(Editor.InputLanguageChanged(RussianCharset));

  // The window hears of the switch: the style takes the keyboard's character set.
  Editor.SetCurTextStyleNo(PlainStyle);
  emit QGuiApplication::inputMethod()->localeChanged();
  // The platform's keyboard is in the ANSI code page 1251 here: the Cyrillic style.
  ASSERT_EQ(GetKeyboardCodePage(), 1251u);
  EXPECT_EQ(Data().CurTextStyleNo, switched);
}

}  // namespace
