// The program's prompts for spanned zip sets: the archive's requests shown as message
// boxes (scripted here), OK and Cancel giving the archive its answer.
#include <gtest/gtest.h>

#include <vector>

#include "app/uArchivePrompts.h"
#include "archive/ArZipTyp.h"
#include "platform/base/Streams.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace {

struct TShownBox {
  WideString Text, Caption;
  uint32_t Flags;
  bool operator==(const TShownBox&) const = default;
};

TEST(ArchivePrompts, TheArchivesDiskRequestsAreTaskModalOkCancelBoxes) {
  const std::string path = ::testing::TempDir() + "prompted.zip";
  { TFileStream created(path, fmCreate); }
  TArZipArchive zip(path, fmShareDenyNone);
  InstallArchiveMediaPrompts();
  const struct {
    const char* Name;
    std::function<void(bool&)> Request;
    const char16_t* Text;
  } cases[] = {
      {"last disk", [&](bool& abort) { zip.RequestLastDisk(abort); }, u"Insert the last disk in the spanned disk set"},
      {"disk 2", [&](bool& abort) { zip.RequestNthDisk(2, abort); }, u"Insert disk number 2 of the spanned disk set"},
      {"blank disk", [&](bool& abort) { zip.RequestEmptyDisk(abort); }, u"Insert a blank floppy disk"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    for (int32_t button : {mrOk, mrCancel}) {
      std::vector<TShownBox> shown;
      Application->MessageBoxHook = [&](const WideString& text, const WideString& caption, uint32_t flags) {
        shown.push_back({text, caption, flags});
        return button;
      };
      bool abort = false;
      c.Request(abort);
      Application->MessageBoxHook = nullptr;
      EXPECT_EQ(abort, button == mrCancel);
      EXPECT_EQ(shown, (std::vector<TShownBox>{{c.Text, u"Insert floppy", MB_OKCANCEL | MB_TASKMODAL}}));
    }
  }
  SetArMediaPrompts(nullptr);
  bool abort = false;
  zip.RequestLastDisk(abort);  // uninstalled: refused without a box
  EXPECT_TRUE(abort);
  std::remove(path.c_str());
}

}  // namespace
