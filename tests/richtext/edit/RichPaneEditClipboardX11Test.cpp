// Copying from the editor with its default options on a real X display: Greek and
// Cyrillic text reaches another process whole, as text/plain and as text/rtf, read back
// there through Qt's clipboard. Runs on the display of the Screenshots test entry.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QTest>
#include <string>

#include "platform/gui/Forms.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/model/RPStyle.h"

namespace {

TEST(RichPaneEditClipboardX11Test, CopiedGreekAndCyrillicReachAnotherProcessUnderX) {
  if (QGuiApplication::platformName() != "xcb")
    GTEST_FAIL() << "the clipboard of another process needs an X display: run the Screenshots test entry, "
                    "which starts one";
  TRPStyle style(nullptr);
  style.TextStyles()[0]->Unicode = true;
  TForm form(nullptr);
  TRichPaneEdit editor(nullptr);
  editor.SetStyle(&style);
  form.SetBounds(0, 0, 300, 200);
  editor.Window().SetParent(&form);
  editor.Window().SetBounds(0, 0, 300, 200);
  TRPEditRPData& data = editor.EditData();
  data.Clear();
  const WideString text = u"\u0391\u03b8\u03ae\u03bd\u03b1 \u041c\u043e\u0441\u043a\u0432\u0430";
  data.AddTextW(text, 0, TRPTag(), 0);
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
  editor.Format();
  editor.SelectAll();
  ASSERT_TRUE(editor.CopySelection());

  // The reader asks this process for the data: it is served while the reader runs.
  QProcess reader;
  reader.start(QF_CLIPBOARD_READER, {});
  ASSERT_TRUE(reader.waitForStarted(10000));
  for (int i = 0; i < 2000 && !reader.waitForFinished(10); ++i) QApplication::processEvents();
  ASSERT_EQ(reader.state(), QProcess::NotRunning);
  ASSERT_EQ(reader.exitCode(), 0);
  const std::string output = reader.readAllStandardOutput().toStdString();
  const size_t split = output.find("\n---\n");
  ASSERT_NE(split, std::string::npos) << output;
  EXPECT_EQ(output.substr(0, split), QString::fromUtf16(text.c_str()).toStdString());
  const std::string rtf = output.substr(split + 5);
  EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u) << rtf;
  // Each letter goes into RTF as its Unicode number.
  for (const char* letter : {"\\u913", "\\u952", "\\u1052", "\\u1074"})
    EXPECT_NE(rtf.find(letter), std::string::npos) << letter;
  form.Hide();
}

}  // namespace
