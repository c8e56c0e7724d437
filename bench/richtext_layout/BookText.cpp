#include "BookText.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/base/CodePages.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

std::vector<TBookParagraph> BookParagraphs() {
  const std::string file = "/tmp/qf_bench_layout_book.fb2";
  const std::string command = "/usr/bin/python3 '" QF_MKBOOK "' " + file + " --words 100000 > /dev/null";
  if (std::system(command.c_str()) != 0) return {};
  std::ifstream in(file, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string xml = ss.str();
  std::vector<TBookParagraph> out;
  bool inTitle = false;
  for (size_t at = 0; (at = xml.find('<', at)) != std::string::npos;) {
    const size_t end = xml.find('>', at);
    const std::string tag = xml.substr(at + 1, end - at - 1);
    at = end + 1;
    if (tag == "title") inTitle = true;
    if (tag == "/title") inTitle = false;
    if (tag != "p") continue;
    const size_t close = xml.find("</p>", at);
    std::string text;
    for (size_t i = at; i < close; ++i) {
      if (xml[i] == '<') {
        i = xml.find('>', i);
        continue;
      }
      if (xml.compare(i, 5, "&amp;") == 0)
        text += '&', i += 4;
      else if (xml.compare(i, 4, "&lt;") == 0)
        text += '<', i += 3;
      else if (xml.compare(i, 4, "&gt;") == 0)
        text += '>', i += 3;
      else
        text += xml[i];
    }
    out.push_back({AnsiToWide(text, CP_UTF8), inTitle});
    at = close;
  }
  return out;
}

void SetUpBookStyle(TRPStyle& style) {
  style.TextStyles()[0]->Unicode = true;
  TFontInfo& title = *style.TextStyles().Add();
  title.Unicode = true;
  title.Size = 14;
  title.Style = TFontStyles{fsBold};
  style.ParaStyles()[0]->SpaceAfter = 2;
  style.ParaStyles()[0]->FirstIndent = 20;
  style.ParaStyles()[0]->Alignment = rpaJustify;
}

int64_t AddBookParagraphs(TCustomRPData& data, const std::vector<TBookParagraph>& paragraphs, const TRPStyle& style) {
  const int32_t title = style.TextStyles().Count() - 1;
  int64_t chars = 0;
  for (const TBookParagraph& p : paragraphs) {
    data.AddTextW(p.Text, p.Title ? title : 0, TRPTag(), p.Title ? 1 : 0);
    chars += static_cast<int64_t>(p.Text.size());
  }
  return chars;
}
