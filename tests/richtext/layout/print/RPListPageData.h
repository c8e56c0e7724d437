// Pages of lists for the golden dumps and images: a bulleted and a numbered list of
// three levels each, their markers aligned left, centred or right at MarkerIndent.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "RPPrintTestData.h"
#include "richtext/model/RPMarker.h"

// Level i of both lists: the marker at 24 + 30 i, the text 32 further on, wrapped lines
// there too; markers in Arial 10 pt.
inline void AddListLevels(TRPListInfo& list, const std::vector<TRPListType>& types, TRPMarkerAlignment alignment) {
  for (size_t i = 0; i < types.size(); ++i) {
    TRPListLevel& level = *list.Levels().Add();
    level.ListType = types[i];
    level.MarkerIndent = 24 + 30 * static_cast<int32_t>(i);
    level.LeftIndent = level.MarkerIndent + 32;
    level.FirstIndent = 0;
    level.MarkerAlignment = alignment;
    level.GetFont().SetSize(10);
  }
}

inline void BuildListPage(TReportFixture& f, TRPMarkerAlignment alignment) {
  TRPListInfo& bullets = *f.Style.ListStyles().Add();
  AddListLevels(bullets, {rplstBullet, rplstUnicodeBullet, rplstUnicodeBullet}, alignment);
  bullets.Levels()[0]->FormatString = "\x95";      // a bullet in Windows-1251
  bullets.Levels()[1]->FormatStringW = u"\u25E6";  // a white bullet
  bullets.Levels()[2]->FormatStringW = u"\u25A0";  // a black square
  TRPListInfo& numbers = *f.Style.ListStyles().Add();
  AddListLevels(numbers, {rplstDecimal, rplstLowerAlpha, rplstLowerRoman}, alignment);
  numbers.Levels()[0]->FormatString = "%0:s.";
  numbers.Levels()[1]->FormatString = "%1:s)";
  numbers.Levels()[2]->FormatString = "%0:s.%1:s.%2:s";
  numbers.Levels()[2]->Options.Include(rploLegalStyleNumbering);
  const struct {
    int32_t List, Level;
    const char* Text;
  } paragraphs[] = {
      {0, 0, "Fruit"},
      {0, 1, "Apples"},
      {0, 2, "Green ones that grow in the old garden"},
      {0, 2, "Red"},
      {0, 1, "Pears"},
      {0, 0, "Vegetables"},
      {1, 0, "First"},
      {1, 1, "Second level"},
      {1, 2, "Third level, long enough to wrap"},
      {1, 2, "Another"},
      {1, 1, "Back"},
      {1, 0, "Second"},
      {1, 2, "A skipped level"},
  };
  for (const auto& p : paragraphs) {
    f.Data().AddItem({}, TRPMarkerItemInfo::CreateEx(&f.Data(), p.List, p.Level, 1, false));
    f.Data().AddAnsiText(p.Text, 0, TRPTag(), -1);
  }
}

// What a marker shows: its text in quotes, bytes above 127 as \xNN; a Unicode bullet's
// characters as U+NNNN.
inline std::string MarkerText(const TRPMarkerItemInfo& marker, const TRPStyle& style) {
  char buffer[16];
  std::string out;
  const TRPListLevel* level = marker.GetLevelInfo(&style);
  if (level && level->ListType == rplstUnicodeBullet) {
    for (WideChar c : level->FormatStringW) {
      std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
      out += buffer;
    }
    return out;
  }
  out = "\"";
  for (char c : marker.DisplayString) {
    if (static_cast<uint8_t>(c) < 0x80) {
      out += c;
      continue;
    }
    std::snprintf(buffer, sizeof buffer, "\\x%02X", static_cast<unsigned>(static_cast<uint8_t>(c)));
    out += buffer;
  }
  return out + "\"";
}

// The draw items with their boxes and the page records, one per line.
inline std::string DumpListPages(TReportFixture& f) {
  std::ostringstream out;
  TReportRPData& data = f.Data();
  for (int32_t i = 0; i < data.DrawItems.Count(); ++i) {
    const TRPDrawLineInfo& d = *data.DrawItems[i];
    out << "draw " << i << ": item " << d.ItemNo;
    if (const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(data.GetItem(d.ItemNo)))
      out << " marker " << MarkerText(*marker, f.Style);
    else if (d.Length > 0)
      out << " text \""
          << data.GetItemTextRaw(d.ItemNo).substr(static_cast<size_t>(d.Offs - 1), static_cast<size_t>(d.Length))
          << "\"";
    out << " left " << d.Left << " top " << d.Top << " width " << d.Width << " height " << d.Height
        << (d.StartsLine() ? " line" : "") << "\n";
  }
  for (int32_t p = 1; p <= f.Helper.GetPagesCount(); ++p) {
    int32_t first = 0, part = 0, last = 0;
    data.GetPageDrawItems(p, first, part, last);
    out << "page " << p << ": top " << data.Pages.GetItem(p - 1).TopY << " draws " << first << ".." << last << "\n";
  }
  return out.str();
}
