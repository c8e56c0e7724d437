// The RTF that LibreOffice (headless) writes of the editor tests' documents: every source
// converted in one call and cached in the build folder, shared by the editor's suites.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "richtext/interchange/RPRTFPeers.h"

// "styled": plain, bold and italic runs, Cyrillic and CJK text, for insertion at the
// caret. "pasted": bold, italic, underlined and 20 pt runs, Cyrillic and CJK, for the
// clipboard.
inline const TRtfPeerFiles& EditorRtfPeerFiles() {
  static const TRtfPeerFiles files = MakeRtfPeerFiles(
      "editor-rtf-peer-cache",
      [](const std::string&, const std::string&) {
        const std::string styled = std::string(kFlatOdtStart) + R"(<office:automatic-styles>
<style:style style:name="B" style:family="text"><style:text-properties fo:font-weight="bold"/></style:style>
<style:style style:name="I" style:family="text"><style:text-properties fo:font-style="italic"/></style:style>
</office:automatic-styles>
<office:body><office:text>
<text:p>Plain <text:span text:style-name="B">bold</text:span> and <text:span text:style-name="I">italic</text:span></text:p>
<text:p>Кириллица 中文</text:p>
</office:text></office:body></office:document>
)";
        const std::string pasted = std::string(kFlatOdtStart) + R"(<office:automatic-styles>
<style:style style:name="B" style:family="text"><style:text-properties fo:font-weight="bold"/></style:style>
<style:style style:name="I" style:family="text"><style:text-properties fo:font-style="italic"/></style:style>
<style:style style:name="U" style:family="text"><style:text-properties style:text-underline-style="solid" style:text-underline-width="auto" style:text-underline-color="font-color"/></style:style>
<style:style style:name="L" style:family="text"><style:text-properties fo:font-size="20pt"/></style:style>
</office:automatic-styles>
<office:body><office:text>
<text:p>Pasted <text:span text:style-name="B">strong</text:span> and <text:span text:style-name="I">slanted</text:span></text:p>
<text:p><text:span text:style-name="U">lined</text:span> <text:span text:style-name="L">large</text:span> Жёлтый 黄色</text:p>
</office:text></office:body></office:document>
)";
        return std::vector<std::pair<std::string, std::string>>{{"styled.fodt", styled}, {"pasted.fodt", pasted}};
      },
      {});
  return files;
}
