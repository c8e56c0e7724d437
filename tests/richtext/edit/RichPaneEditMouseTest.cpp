// The editor control in its window on Qt's offscreen platform, clicked and then typed into
// through the window's own mouse and key events: a click places the caret, Shift+click
// extends the selection from it, a click after a drag only places the caret, and a
// selected picture loses its handles when the mouse selects text elsewhere.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDrag>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "RPEditorWindow.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/model/RPPictureItems.h"

namespace {

// The shared editor window with a picture to click and drag.
struct TEditorMouse : TEditorWindow {
  // The document "words before", a picture of 40 x 30 pixels, and after on its line
  // unless empty.
  void LoadPicture(const AnsiString& after) {
    TRPEditRPData& data = Data();
    data.Clear();
    data.AddRawText("words before", 0, 0);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(40, 30);
    data.AddItem("picture", std::make_unique<TRPGraphicItemInfo>(&data, std::move(bitmap), rpvaBaseline));
    if (!after.empty()) data.AddRawText(after, 0, -1);
  }
  // The middle of the picture in the client area.
  QPoint PictureMiddle() {
    TRPEditRPData& data = Data();
    const TRPDrawLineInfo& picture = *data.DrawItems[data.GetItemFirstDrawItem(1)];
    return QPoint(picture.Left + picture.Width / 2 - data.GetHOffs(),
                  picture.Top + picture.Height / 2 - data.GetVOffs());
  }
};

struct TClickCase {
  const char* Name;
  std::function<void(TEditorMouse&)> Act;
  const char* Expected;  // after the action and typing "Z"
};

TEST(RichPaneEditMouseTest, TypingGoesInWhereTheMouseLeftTheCaret) {
  const TClickCase cases[] = {
      {"a click on a word", [](TEditorMouse& m) { m.Click(m.At(0, 9)); }, "alpha beZta gamma|delta epsilon"},
      {"a click in the second paragraph", [](TEditorMouse& m) { m.Click(m.At(1, 3)); },
       "alpha beta gamma|deZlta epsilon"},
      {"a Shift+click extends from a click",
       [](TEditorMouse& m) {
         const QPoint from = m.At(0, 7), to = m.At(0, 12);
         m.Click(from);
         m.Click(to, Qt::ShiftModifier);
       },
       "alpha Zgamma|delta epsilon"},
      // (Between words: the style sheet selects by words, so a start inside a word would
      // widen to it.)
      {"a Shift+click extends from the caret the keys moved",
       [](TEditorMouse& m) {
         const QPoint to = m.At(0, 7);
         m.Click(m.At(1, 1));
         m.Key(Qt::Key_Home, Qt::ControlModifier);
         for (int i = 0; i < 5; ++i) m.Key(Qt::Key_Right);
         m.Click(to, Qt::ShiftModifier);
       },
       "alphaZbeta gamma|delta epsilon"},
      {"a drag selects what typing replaces", [](TEditorMouse& m) { m.Drag(m.At(0, 7), m.At(0, 11)); },
       "alpha Z gamma|delta epsilon"},
      // The style sheet selects by words: a drag from inside a word that ends on the space
      // after it (before it, backwards) selects the word and leaves the space.
      {"a drag by words that ends after a space", [](TEditorMouse& m) { m.Drag(m.At(0, 9), m.At(0, 12)); },
       "alpha Z gamma|delta epsilon"},
      {"a drag by words back to before a space", [](TEditorMouse& m) { m.Drag(m.At(0, 14), m.At(0, 11)); },
       "alpha beta Z|delta epsilon"},
      {"a drag by words into the next word takes it whole", [](TEditorMouse& m) { m.Drag(m.At(0, 9), m.At(0, 14)); },
       "alpha Z|delta epsilon"},
      {"a click after a drag only places the caret",
       [](TEditorMouse& m) {
         const QPoint from = m.At(0, 1), to = m.At(0, 6), click = m.At(1, 7);
         m.Drag(from, to);
         m.Click(click);
       },
       "alpha beta gamma|delta Zepsilon"},
  };
  for (const TClickCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TEditorMouse m;
    TRPEditRPData& data = m.Data();
    data.Clear();
    data.AddRawText("alpha beta gamma", 0, 0);
    data.AddRawText("delta epsilon", 0, 0);
    ASSERT_NO_FATAL_FAILURE(m.Show());
    c.Act(m);
    m.Key(Qt::Key_Z, Qt::NoModifier, "Z");
    EXPECT_EQ(m.Text(), c.Expected);
  }
}

TEST(RichPaneEditMouseTest, AClickOnTextTakesTheHandlesOffAPicture) {
  TEditorMouse m;
  TRPEditRPData& data = m.Data();
  m.LoadPicture("");
  ASSERT_NO_FATAL_FAILURE(m.Show());
  const QPoint text = m.At(0, 3);
  m.Click(m.PictureMiddle());
  ASSERT_NE(data.Resizer, nullptr);
  m.Click(text);
  EXPECT_EQ(data.Resizer, nullptr);
  m.Key(Qt::Key_Z, Qt::NoModifier, "Z");
  EXPECT_EQ(m.Text(), "woZrds before|picture");
}

// A picture the selection holds is dragged by a press anywhere on it (a picture has only
// two caret positions, both at its edges): the drag starts when the mouse moves, and the
// pointer over it is the arrow; a press on text beside it starts a selection instead.
TEST(RichPaneEditMouseTest, ASelectedPictureIsDraggedByAPressOnIt) {
  TEditorMouse m;
  TRPEditRPData& data = m.Data();
  m.LoadPicture(" words after");
  ASSERT_NO_FATAL_FAILURE(m.Show());
  const QPoint middle = m.PictureMiddle();
  const QPoint text = m.At(2, 6);
  // A click on the picture selects it.
  m.Click(middle);
  const auto selection = [&data] {
    int32_t startItem = -1, endItem = -1, startOffs = 0, endOffs = 0;
    data.GetSelectionBounds(startItem, endItem, startOffs, endOffs, true);
    return std::vector<int32_t>{startItem, startOffs, endItem, endOffs};
  };
  ASSERT_EQ(selection(), (std::vector<int32_t>{1, 0, 1, 1}));
  QTest::mouseMove(&m.Viewport(), middle + QPoint(3, 0));
  EXPECT_EQ(m.Editor.Window().Cursor(), crArrow);
  // The platform's drag objects of the window: one per drag, which the platform frees
  // once the drag has ended and control is back in the event loop (which the tests stand
  // in for by running the deletions it was asked for).
  QWidget& window = *m.Editor.Window().Widget();
  const auto drags = [&window] { return window.findChildren<QDrag*>().size(); };
  const auto freeEndedDrags = [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); };
  freeEndedDrags();
  ASSERT_EQ(drags(), 0);
  QTest::mousePress(&m.Viewport(), Qt::LeftButton, {}, middle);
  QTest::mouseMove(&m.Viewport(), middle + QPoint(3, 1));
  QTest::mouseMove(&m.Viewport(), text);
  QTest::mouseRelease(&m.Viewport(), Qt::LeftButton, {}, text);
  QApplication::processEvents();
  EXPECT_EQ(drags(), 1) << "the press on the picture began one drag";
  freeEndedDrags();
  EXPECT_EQ(drags(), 0) << "the ended drag is freed";
  EXPECT_EQ(selection(), (std::vector<int32_t>{1, 0, 1, 1})) << "no text selection began at the press";
  // A press on the text beside the picture selects text.
  m.Drag(text, m.At(2, 10));
  EXPECT_EQ(drags(), 0) << "no drag began on the text";
  EXPECT_EQ(selection(), (std::vector<int32_t>{2, 2, 2, 13}));
}

// Left and Right cancel the selection of a picture a click made and move the caret one
// stop from where it stands, at the picture's right edge, as after any selection: Left to
// the picture's left edge, Right over the first character after it.
TEST(RichPaneEditMouseTest, ArrowsMoveFromTheCaretOfASelectedPicture) {
  const struct {
    const char* Name;
    int Key;
    const char* Expected;  // after typing "Z"
  } cases[] = {
      {"Left", Qt::Key_Left, "words before|Z|picture| words after"},
      {"Right", Qt::Key_Right, "words before|picture| Zwords after"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TEditorMouse m;
    m.LoadPicture(" words after");
    ASSERT_NO_FATAL_FAILURE(m.Show());
    m.Click(m.PictureMiddle());
    ASSERT_TRUE(m.Data().SelectionExists(false));
    m.Key(c.Key);
    EXPECT_FALSE(m.Data().SelectionExists(false));
    m.Key(Qt::Key_Z, Qt::NoModifier, "Z");
    EXPECT_EQ(m.Text(), c.Expected);
  }
}

}  // namespace
