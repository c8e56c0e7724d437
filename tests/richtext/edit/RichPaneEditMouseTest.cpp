// The editor control in its window on Qt's offscreen platform, clicked and then typed into
// through the window's own mouse and key events: a click places the caret, Shift+click
// extends the selection from it, a click after a drag only places the caret, and a
// selected picture loses its handles when the mouse selects text elsewhere.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <functional>
#include <memory>
#include <string>

#include "RPEditorWindow.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/model/RPPictureItems.h"

namespace {

struct TClickCase {
  const char* Name;
  std::function<void(TEditorWindow&)> Act;
  const char* Expected;  // after the action and typing "Z"
};

TEST(RichPaneEditMouseTest, TypingGoesInWhereTheMouseLeftTheCaret) {
  const TClickCase cases[] = {
      {"a click on a word", [](TEditorWindow& m) { m.Click(m.At(0, 9)); }, "alpha beZta gamma|delta epsilon"},
      {"a click in the second paragraph", [](TEditorWindow& m) { m.Click(m.At(1, 3)); },
       "alpha beta gamma|deZlta epsilon"},
      {"a Shift+click extends from a click",
       [](TEditorWindow& m) {
         const QPoint from = m.At(0, 7), to = m.At(0, 12);
         m.Click(from);
         m.Click(to, Qt::ShiftModifier);
       },
       "alpha Zgamma|delta epsilon"},
      // (Between words: the style sheet selects by words, so a start inside a word would
      // widen to it.)
      {"a Shift+click extends from the caret the keys moved",
       [](TEditorWindow& m) {
         const QPoint to = m.At(0, 7);
         m.Click(m.At(1, 1));
         m.Key(Qt::Key_Home, Qt::ControlModifier);
         for (int i = 0; i < 5; ++i) m.Key(Qt::Key_Right);
         m.Click(to, Qt::ShiftModifier);
       },
       "alphaZbeta gamma|delta epsilon"},
      {"a drag selects what typing replaces", [](TEditorWindow& m) { m.Drag(m.At(0, 7), m.At(0, 11)); },
       "alpha Z gamma|delta epsilon"},
      {"a click after a drag only places the caret",
       [](TEditorWindow& m) {
         const QPoint from = m.At(0, 1), to = m.At(0, 6), click = m.At(1, 7);
         m.Drag(from, to);
         m.Click(click);
       },
       "alpha beta gamma|delta Zepsilon"},
  };
  for (const TClickCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TEditorWindow m;
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
  TEditorWindow m;
  TRPEditRPData& data = m.Data();
  data.Clear();
  data.AddRawText("words before", 0, 0);
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(40, 30);
  data.AddItem("picture", std::make_unique<TRPGraphicItemInfo>(&data, std::move(bitmap), rpvaBaseline));
  ASSERT_NO_FATAL_FAILURE(m.Show());
  const QPoint text = m.At(0, 3);
  const TRPDrawLineInfo& picture = *data.DrawItems[data.GetItemFirstDrawItem(1)];
  m.Click(
      QPoint(picture.Left + picture.Width / 2 - data.GetHOffs(), picture.Top + picture.Height / 2 - data.GetVOffs()));
  ASSERT_NE(data.Resizer, nullptr);
  m.Click(text);
  EXPECT_EQ(data.Resizer, nullptr);
  m.Key(Qt::Key_Z, Qt::NoModifier, "Z");
  EXPECT_EQ(m.Text(), "woZrds before|picture");
}

}  // namespace
