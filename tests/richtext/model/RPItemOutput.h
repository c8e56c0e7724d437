// What items write into the HTML and RTF writers' streams, as text, and a stand-in for
// the HTML writer's picture saving.
#pragma once

#include <string>
#include <vector>

#include "RPPictureTestData.h"
#include "platform/base/Streams.h"
#include "richtext/model/RPExportContexts.h"
#include "richtext/model/RPItemInfo.h"

// A writer that saves pictures as "img<N>.bmp" and keeps what it was given.
class TFakeHtmlWriter : public IRPHtmlImageContext {
public:
  bool HtmlImageHook(const TCustomRPItemInfo&, AnsiString& location) override {
    ++HookCalls;
    if (!HookLocation.empty()) location = HookLocation;
    return HookDefault;
  }
  AnsiString SavePictureForExport(const TGraphic& graphic, TColor background) override {
    const auto& bitmap = dynamic_cast<const TBitmap&>(graphic);
    SavedPixels.push_back(Letters(bitmap));
    SavedBackgrounds.push_back(background);
    return "images\\img" + std::to_string(SavedPixels.size()) + ".bmp";
  }
  AnsiString RelativeToDocument(const AnsiString& fileName) const override { return "rel\\" + fileName; }
  uint32_t CodePage() const override { return CodePageValue; }

  uint32_t CodePageValue = 1252;
  AnsiString HookLocation;
  bool HookDefault = true;
  int32_t HookCalls = 0;
  std::vector<std::vector<std::string>> SavedPixels;
  std::vector<TColor> SavedBackgrounds;
};

inline std::string StreamText(TMemoryStream& stream) {
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

// The item's SaveToHTML with these options (saved: the bullet images saved so far).
inline std::string HtmlOf(const TCustomRPItemInfo& item, IRPHtmlImageContext& writer, uint32_t options, bool css,
                          TColor background, const IRPStyleSheet* rpStyle, TRPHTMLBulletInfoList* saved = nullptr) {
  TRPHTMLBulletInfoList none;
  TRPHTMLSaveContext context(writer, saved ? *saved : none);
  context.Options = options;
  context.UseCss = css;
  context.Background = background;
  context.RPStyle = rpStyle;
  TMemoryStream stream;
  item.SaveToHTML(stream, context, {}, 0);
  return StreamText(stream);
}

// The item's SaveRTF with these options, at a nesting level of tables.
inline std::string RtfOf(const TCustomRPItemInfo& item, uint32_t options, const TRPColorList& colors = TRPColorList(),
                         int32_t nestingLevel = 0, double twipsPerPixel = 15) {
  TRPRTFSaveContext context(colors);
  context.Options = options;
  context.NestingLevel = nestingLevel;
  context.TwipsPerPixel = twipsPerPixel;
  TMemoryStream stream;
  item.SaveRTF(stream, context, {}, 0);
  return StreamText(stream);
}
