#include "richtext/model/RPStyleUsage.h"

#include <vector>

#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"

namespace {

void Prepare(TRPIntegerList& marks, int32_t count, bool tracked) {
  marks = TRPIntegerList::CreateFilled(count, tracked ? 0 : 1);
}

// Marks reference in marks unless it is out of range, which resets it; returns whether a
// style was newly marked.
bool MarkReference(int32_t& reference, TRPIntegerList& marks) {
  if (reference < 0) return false;
  if (reference >= marks.Count()) {
    reference = -1;
    return false;
  }
  if (marks[reference]) return false;
  marks.SetItem(reference, 1);
  return true;
}

// The sheet's DefUnicodeStyle is marked when it is a valid text style, else reset to -1.
void MarkDefUnicodeStyle(TRPStyle& rpStyle, TRPIntegerList& marks) {
  if (rpStyle.DefUnicodeStyle < 0) rpStyle.DefUnicodeStyle = -1;
  MarkReference(rpStyle.DefUnicodeStyle, marks);
}

// From every marked style, marks the styles its references reach, each once.
template <typename TInfos, typename TRefs>
void MarkReachable(TInfos& styles, TRPIntegerList& marks, TRefs references) {
  std::vector<int32_t> pending;
  for (int32_t i = 0; i < marks.Count(); ++i)
    if (marks[i]) pending.push_back(i);
  while (!pending.empty()) {
    const int32_t i = pending.back();
    pending.pop_back();
    for (int32_t* reference : references(*styles.GetItem(i)))
      if (MarkReference(*reference, marks)) pending.push_back(*reference);
  }
}

}  // namespace

void MarkStandardStylesUsed(const TCustomRPInfos& styles, TRPIntegerList& marks) {
  for (int32_t i = 0; i < styles.Count() && i < marks.Count(); ++i)
    if (styles.Style(i)->Standard) marks.SetItem(i, 1);
}

void InitStyleUsage(TRPStyleUsage& usage, TRPStyle& rpStyle) {
  if (usage.Initialized) return;
  Prepare(usage.TextStyles, rpStyle.TextStyles().Count(), usage.TrackTextStyles);
  Prepare(usage.ParaStyles, rpStyle.ParaStyles().Count(), usage.TrackParaStyles);
  Prepare(usage.ListStyles, rpStyle.ListStyles().Count(), usage.TrackListStyles);
  if (usage.TrackTextStyles) {
    MarkDefUnicodeStyle(rpStyle, usage.TextStyles);
    MarkStandardStylesUsed(rpStyle.TextStyles(), usage.TextStyles);
  }
  if (usage.TrackParaStyles) MarkStandardStylesUsed(rpStyle.ParaStyles(), usage.ParaStyles);
  if (usage.TrackListStyles) MarkStandardStylesUsed(rpStyle.ListStyles(), usage.ListStyles);
  usage.Initialized = true;
}

void MarkStylesInUse(const TCustomRPData& data, TRPStyle& rpStyle, TRPStyleUsage& usage) {
  InitStyleUsage(usage, rpStyle);
  data.MarkItemStylesInUse(usage);
  if (usage.TrackParaStyles)
    MarkReachable(rpStyle.ParaStyles(), usage.ParaStyles, [](TParaInfo& p) {
      return std::vector<int32_t*>{&p.BaseStyleNo, &p.NextParaNo};
    });
  if (usage.TrackTextStyles) {
    for (int32_t i = 0; i < usage.ParaStyles.Count(); ++i)
      if (usage.ParaStyles[i]) MarkReference(rpStyle.ParaStyles()[i]->DefStyleNo, usage.TextStyles);
    MarkDefUnicodeStyle(rpStyle, usage.TextStyles);
    MarkReachable(rpStyle.TextStyles(), usage.TextStyles, [](TFontInfo& f) {
      return std::vector<int32_t*>{&f.BaseStyleNo, &f.NextStyleNo};
    });
  }
  if (usage.TrackListStyles)
    MarkReachable(rpStyle.ListStyles(), usage.ListStyles,
                  [](TRPListInfo& l) { return std::vector<int32_t*>{&l.BaseStyleNo}; });
}
