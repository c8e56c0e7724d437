// A program that embeds the editor as any program would: it links the edit library's
// CMake target alone, registers nothing and embeds no resource of its own. It makes an
// editor in a window that it fills as the window is resized, loads an RTF file (argument
// 1: text in three scripts, a list, a picture and a table) as the document to edit, not
// as a step to undo, copies it all and saves it as RTF and in the native format with its
// styles into a folder (argument 2). Then it checks what it got; the exit code tells. (A
// program of its own would run the application's loop, application.Run(), at the end.)
#include <cstdio>
#include <string>

#include "platform/base/CodePages.h"
#include "platform/base/Streams.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Forms.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/interchange/RPRTFProps.h"
#include "richtext/model/RPClipboardFormats.h"
#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTableTypes.h"

namespace {

int Checks = 0, Failures = 0;

void Check(bool condition, const char* what) {
  ++Checks;
  std::printf("%s: %s\n", condition ? "ok" : "FAILED", what);
  if (!condition) ++Failures;
}

bool HasItemOfKind(TRPEditRPData& data, int32_t kind) {
  for (int32_t i = 0; i < data.GetItemCount(); ++i)
    if (data.GetItem(i)->StyleNo == kind) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <file.rtf> <output folder>\n", argv[0]);
    return 2;
  }
  const std::string input = argv[1], output = argv[2];
  TApplication application(argc, argv);

  // --- The editor, as the README shows it -----------------------------------------------
  TRPStyle style(nullptr);  // the standard styles: two hyperlink styles, a centred paragraph
  TForm form(nullptr);
  form.SetBounds(100, 100, 640, 480);
  TRichPaneEdit editor(nullptr);
  editor.SetStyle(&style);
  editor.Window().SetParent(&form);  // the editor fills the window's client area
  editor.Window().SetBounds(0, 0, form.ClientWidth(), form.ClientHeight());
  form.OnResize = [&](TObject*) { editor.Window().SetBounds(0, 0, form.ClientWidth(), form.ClientHeight()); };
  TRPRTFReaderProperties& rtf = RichPaneRTFReadProperties(editor);
  rtf.TextStyleMode = rtf.ParaStyleMode = rprsAddIfNeeded;       // RTF's styles join the sheet
  rtf.UnicodeMode = rpruOnlyUnicode;                             // text of any script stays whole
  editor.RPFOptions |= rpfoSaveTextStyles | rpfoSaveParaStyles;  // the native format keeps them
  editor.InsertRTFFromFile(AnsiToWide(AnsiString(input)));
  editor.ClearUndo();  // the loaded document is where editing starts: Ctrl+Z does not empty it
  form.Show();
  form.SetBounds(100, 100, 800, 600);  // as the user resizes the window
  application.ProcessMessages();
  editor.SelectAll();
  editor.CopySelection();  // text (UTF-16), the native format, RTF and HTML
  TFileStream rtfFile(AnsiString(output + "/example.rtf"), fmCreate);
  editor.SaveRTFToStream(rtfFile, false);
  TFileStream nativeFile(AnsiString(output + "/example.rpf"), fmCreate);
  editor.SaveRPFToStream(nativeFile, rpfsmDocument);

  // --- What it got ---------------------------------------------------------------------------
  TRPEditRPData& data = editor.EditData();
  Check(data.GetItemCount() > 1, "the RTF file loads");
  Check(!editor.CanUndo(), "loading the document is no step to undo");
  Check(editor.Window().Width() == form.ClientWidth() && editor.Window().Height() == form.ClientHeight() &&
            form.ClientWidth() == 800,
        "the editor fills the resized window");
  Check(HasItemOfKind(data, rpkindPicture), "the picture is a picture item");
  Check(HasItemOfKind(data, rpkindListMarker), "the list has its markers");
  Check(HasItemOfKind(data, rpsnTable), "the table is a table item");
  const WideString text = Clipboard().AsText();
  Check(text.find(u"\u03b1\u03b2\u03b3") != WideString::npos &&
            text.find(u"\u043a\u043d\u0438\u0433\u0430") != WideString::npos &&
            text.find(u"\u00e9\u00fc\u0142") != WideString::npos,
        "the copied text keeps Greek, Cyrillic and accented Latin");
  Check(Clipboard().HasFormat(RPClipboardFormats().RTF), "RTF is on the clipboard");
  Check(Clipboard().HasFormat(RPClipboardFormats().HTML), "HTML is on the clipboard");
  Check(Clipboard().HasFormat(RPClipboardFormats().RichPane), "the native format is on the clipboard");
  Check(rtfFile.Size() > 0, "the document is saved as RTF");
  Check(nativeFile.Size() > 0, "the document is saved in the native format");
  const TRPStyle fresh(nullptr);
  int32_t hyperlinkStyles = 0, centredStyles = 0;
  for (int32_t i = 0; i < fresh.TextStyles().Count(); ++i) hyperlinkStyles += fresh.TextStyles()[i]->Jump ? 1 : 0;
  for (int32_t i = 0; i < fresh.ParaStyles().Count(); ++i)
    centredStyles += fresh.ParaStyles()[i]->Alignment == rpaCenter ? 1 : 0;
  Check(hyperlinkStyles == 2 && centredStyles == 1, "a new style sheet has two hyperlink styles and a centred one");
  std::printf("%d passed, %d failed\n", Checks - Failures, Failures);
  return Failures == 0 ? 0 : 1;
}
