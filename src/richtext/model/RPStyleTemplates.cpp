#include "richtext/model/RPStyleTemplates.h"

#include <algorithm>
#include <climits>
#include <unordered_set>

#include "platform/base/Format.h"
#include "platform/base/Random.h"
#include "platform/base/UpdateBracket.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPStyle.h"

namespace {

TRPParaInfoProperties ParaSet(TRPParaInfoProperties1 first, TRPParaInfoProperties2 second) {
  return TRPParaInfoProperties::FromOrdinals(first.Ordinals() | second.Ordinals());
}

// The name of format with the number; a format that cannot take one number (a file
// or a program may set any) names as the default format does.
AnsiString AutomaticName(const AnsiString& format, int32_t number) {
  try {
    return Format(format, {number});
  } catch (const EConvertError&) {
    return Format(DefaultStyleNameFormat, {number});
  }
}

}  // namespace

// --- The style descriptions of a template ------------------------------------------------

template <typename TBase>
TPersistent* TRPTemplateStyleInfo<TBase>::GetOwner() const {
  return FOwner;
}

template <typename TBase>
void TRPTemplateStyleInfo<TBase>::PropertyNotValidHere() {
  throw ERichPaneError(errRPPropertyNotValidHere);
}

template class TRPTemplateStyleInfo<TCustomRPFontInfo>;
template class TRPTemplateStyleInfo<TCustomRPParaInfo>;
template class TRPTemplateStyleInfo<TRPListInfo>;

std::unique_ptr<TCustomRPInfo> TRPSTFontInfo::CloneDetached() const {
  auto copy = std::make_unique<TRPSTFontInfo>(StyleTemplate());
  copy->Assign(*this);
  return copy;
}

std::unique_ptr<TCustomRPInfo> TRPSTParaInfo::CloneDetached() const {
  auto copy = std::make_unique<TRPSTParaInfo>(StyleTemplate());
  copy->Assign(*this);
  return copy;
}

std::unique_ptr<TCustomRPInfo> TRPSTListInfo::CloneDetached() const {
  auto copy = std::make_unique<TRPSTListInfo>(StyleTemplate());
  copy->Assign(*this);
  copy->SetListID(StoredListID());
  return copy;
}

// --- Templates ------------------------------------------------------------------------------

TRPStyleTemplate::TRPStyleTemplate(TCollection* collection)
    : TCollectionItem(collection),
      FTextStyle(std::make_unique<TRPSTFontInfo>(this)),
      FParaStyle(std::make_unique<TRPSTParaInfo>(this)),
      FListStyle(std::make_unique<TRPSTListInfo>(this)) {
  TRPStyleTemplateCollection* templates = Templates();
  if (!templates) return;
  templates->CountName(FName, 1);
  const TRPStyle* sheet = templates->StyleSheet();
  if (sheet && (sheet->ComponentState() & csLoading)) return;
  SetName(templates->NextAutomaticName(this));
}

TRPStyleTemplate::~TRPStyleTemplate() {
  if (TRPStyleTemplateCollection* templates = Templates()) {
    templates->CountName(FName, -1);
    if (FId > 0) templates->IdsChanged();
  }
  Unlink();
  for (TRPStyleTemplate* child : FChildren) {
    child->FParent = nullptr;
    child->FParentId = -1;
  }
  if (TRPStyleTemplateCollection* templates = Templates(); templates && templates->FDefaultTemplate == this)
    templates->FDefaultTemplate = nullptr;
}

TRPStyleTemplateCollection* TRPStyleTemplate::Templates() const {
  return dynamic_cast<TRPStyleTemplateCollection*>(Collection());
}

TRPParaInfoProperties TRPStyleTemplate::ValidParaProperties() const {
  return ParaSet(ValidParaProperties1, ValidParaProperties2);
}

void TRPStyleTemplate::SetName(const AnsiString& value) {
  if (value == FName) return;
  TRPStyleTemplateCollection* templates = Templates();
  if (templates && FName == "Normal" && templates->FDefaultTemplate == this) templates->FDefaultTemplate = nullptr;
  if (templates) templates->CountName(FName, -1);
  FName = value;
  if (templates) templates->CountName(FName, 1);
  if (templates && FName == "Normal") templates->FDefaultTemplate = this;
}

void TRPStyleTemplate::SetId(TRPStyleTemplateId value) {
  FId = value;
  if (const TRPStyleTemplateCollection* templates = Templates()) templates->IdsChanged();
}

void TRPStyleTemplate::SetIndex(int32_t index) {
  TCollectionItem::SetIndex(index);
  // The first of templates sharing an id may have changed.
  if (const TRPStyleTemplateCollection* templates = Templates()) templates->IdsChanged();
}

bool TRPStyleTemplate::LinkingActive() const {
  const TRPStyleTemplateCollection* templates = Templates();
  const TRPStyle* sheet = templates ? templates->StyleSheet() : nullptr;
  return sheet && !(sheet->ComponentState() & csLoading);
}

void TRPStyleTemplate::RemoveChild(TRPStyleTemplate* child) {
  FChildren.erase(std::remove(FChildren.begin(), FChildren.end(), child), FChildren.end());
}

void TRPStyleTemplate::Unlink() {
  if (FParent) FParent->RemoveChild(this);
  FParent = nullptr;
}

bool TRPStyleTemplate::IsOnChainFrom(const TRPStyleTemplate* start) const {
  // Up from start (parents never loop; the set guards the walk all the same) and down
  // through this template's descendants, a step of each in turn.
  std::unordered_set<const TRPStyleTemplate*> met;
  const TRPStyleTemplate* up = start;
  std::vector<const TRPStyleTemplate*> below{this};
  for (size_t next = 0;;) {
    if (!up || !met.insert(up).second) return false;
    if (up == this) return true;
    up = up->FParent;
    if (next == below.size()) return false;
    const TRPStyleTemplate* t = below[next++];
    if (t == start) return true;
    below.insert(below.end(), t->FChildren.begin(), t->FChildren.end());
  }
}

void TRPStyleTemplate::SetParentId(TRPStyleTemplateId value) {
  if (value == FParentId) return;
  const bool active = LinkingActive();
  if (active) {
    Unlink();
    if (FParentId > 0)
      if (TRPStyleTemplate* old = Templates()->TemplateById(FParentId)) old->RemoveChild(this);
  }
  FParentId = value;
  FParent = nullptr;
  if (!active || value <= 0) return;
  TRPStyleTemplate* parent = Templates()->TemplateById(value);
  if (!parent) return;
  if (IsOnChainFrom(parent)) {
    FParentId = -1;
    throw ERichPaneError(errRPCircularReference);
  }
  FParent = parent;
  parent->AddChild(this);
}

TRPStyleTemplateId TRPStyleTemplate::GetId() {
  if (FId > 0) return FId;
  const TRPStyleTemplateCollection* templates = Templates();
  if (!templates) {
    while (FId <= 0) FId = Random(0x7FFFFFFF);
    return FId;
  }
  // Bringing the index up to date draws the ids not drawn yet, this one among them.
  templates->TemplateById(0);
  if (FId > 0) return FId;
  FId = templates->DrawId();
  templates->FById.emplace(FId, this);
  return FId;
}

void TRPStyleTemplate::Assign(const TPersistent& source) {
  const auto* t = dynamic_cast<const TRPStyleTemplate*>(&source);
  if (!t) {
    TCollectionItem::Assign(source);
    return;
  }
  if (t == this) return;
  FTextStyle->Assign(*t->FTextStyle);
  FParaStyle->Assign(*t->FParaStyle);
  FListStyle->Assign(*t->FListStyle);
  SetName(t->FName);
  ValidTextProperties = t->ValidTextProperties;
  ValidParaProperties1 = t->ValidParaProperties1;
  ValidParaProperties2 = t->ValidParaProperties2;
  // Last, so that a refused parent leaves everything else copied.
  if (Collection() && Collection() == t->Collection()) SetParentId(t->FParentId);
}

TRPFontInfoProperties TRPStyleTemplate::ApplyValidTextProperties(TCustomRPFontInfo& textStyle,
                                                                 TRPFontInfoProperties allowed) const {
  TRPFontInfoProperties applied;
  // Parents never loop (SetParentId and UpdateParentReferences see to it); the count
  // bounds the walk all the same.
  int32_t steps = Templates() ? Templates()->Count() : 1;
  for (const TRPStyleTemplate* t = this; t && steps-- > 0; t = t->FParent) {
    const TRPFontInfoProperties s = t->ValidTextProperties * allowed - applied;
    if (s.Empty()) continue;
    textStyle.AssignValidProperties(t->TextStyle(), s);
    applied = applied + s;
  }
  return applied;
}

TRPParaInfoProperties TRPStyleTemplate::ApplyValidParaProperties(TCustomRPParaInfo& paraStyle,
                                                                 TRPParaInfoProperties allowed) const {
  TRPParaInfoProperties applied;
  int32_t steps = Templates() ? Templates()->Count() : 1;
  for (const TRPStyleTemplate* t = this; t && steps-- > 0; t = t->FParent) {
    const TRPParaInfoProperties s = t->ValidParaProperties() * allowed - applied;
    if (s.Empty()) continue;
    paraStyle.AssignValidProperties(t->ParaStyle(), s);
    applied = applied + s;
  }
  return applied;
}

void TRPStyleTemplate::ApplyToTextStyle(TCustomRPFontInfo& textStyle, const TCustomRPParaInfo* paraStyle,
                                        bool overrideModified) {
  auto* font = dynamic_cast<TFontInfo*>(&textStyle);
  TRPFontInfoProperties allowed = RPAllFontInfoProperties;
  if (font && !overrideModified) allowed = allowed - font->ModifiedProperties;
  TRPFontInfoProperties applied = ApplyValidTextProperties(textStyle, allowed);
  TRPStyleTemplateCollection* templates = Templates();
  if (paraStyle && paraStyle->StyleTemplateId > 0 && templates) {
    if (TRPStyleTemplate* found = templates->TemplateById(paraStyle->StyleTemplateId)) {
      TRPStyleTemplate& paraTemplate = *found;
      TRPFontInfoProperties allowed2 = RPAllFontInfoProperties - applied;
      if (font && font->StyleTemplateId != paraTemplate.GetId()) allowed2 = allowed2 - font->ModifiedProperties;
      applied = applied + paraTemplate.ApplyValidTextProperties(textStyle, allowed2);
    }
  }
  if (!font) return;
  if (overrideModified) {
    font->ModifiedProperties = font->ModifiedProperties - applied;
    font->StyleTemplateId = GetId();
  }
  const TRPFontInfoProperties rest = RPAllFontInfoProperties - applied - font->ModifiedProperties;
  if (rest.Empty() || !templates) return;
  if (const TRPStyleTemplate* normal = templates->DefaultTemplate())
    normal->ApplyValidTextProperties(textStyle, rest);
  else if (const TRPStyle* sheet = templates->StyleSheet())
    textStyle.AssignValidProperties(*sheet->TextStyles()[0], rest);
}

void TRPStyleTemplate::ApplyToParaStyle(TCustomRPParaInfo& paraStyle, bool overrideModified) {
  auto* para = dynamic_cast<TParaInfo*>(&paraStyle);
  TRPParaInfoProperties allowed = RPAllParaInfoProperties;
  if (para && !overrideModified) allowed = allowed - ParaSet(para->ModifiedProperties1, para->ModifiedProperties2);
  const TRPParaInfoProperties applied = ApplyValidParaProperties(paraStyle, allowed);
  if (!para) return;
  if (overrideModified) {
    para->ModifiedProperties1 = para->ModifiedProperties1 - TRPParaInfoProperties1::FromOrdinals(applied.Ordinals());
    // The custom member stays marked: only NoWrap .. BiDiMode are unmarked.
    const TRPParaInfoProperties2 unmarked =
        TRPParaInfoProperties2::FromOrdinals(applied.Ordinals()) - TRPParaInfoProperties2{rppiCustom};
    para->ModifiedProperties2 = para->ModifiedProperties2 - unmarked;
    para->StyleTemplateId = GetId();
  }
  const TRPParaInfoProperties rest =
      RPAllParaInfoProperties - applied - ParaSet(para->ModifiedProperties1, para->ModifiedProperties2);
  TRPStyleTemplateCollection* templates = Templates();
  if (rest.Empty() || !templates) return;
  if (const TRPStyleTemplate* normal = templates->DefaultTemplate())
    normal->ApplyValidParaProperties(paraStyle, rest);
  else if (const TRPStyle* sheet = templates->StyleSheet())
    paraStyle.AssignValidProperties(*sheet->ParaStyles()[0], rest);
}

// --- The collection -------------------------------------------------------------------------

TRPStyleTemplateCollection::TRPStyleTemplateCollection(TPersistent* owner)
    : TOwnedCollection(owner, CollectionItemClassOf<TRPStyleTemplate>()) {}

TRPStyleTemplateCollection::~TRPStyleTemplateCollection() {
  // The templates reach back into this collection while they go.
  Clear();
}

TRPStyle* TRPStyleTemplateCollection::StyleSheet() const { return dynamic_cast<TRPStyle*>(GetOwner()); }

void TRPStyleTemplateCollection::Notify(TCollectionItem* item, TCollectionNotification action) {
  TOwnedCollection::Notify(item, action);
  // A template counts its own name and id while it is made and while it goes; only one
  // built before, moved from or to another collection, is counted here.
  auto* t = dynamic_cast<TRPStyleTemplate*>(item);
  if (!t || action == cnDeleting) return;
  CountName(t->FName, action == cnAdded ? 1 : -1);
  if (t->FId > 0) IdsChanged();
}

void TRPStyleTemplateCollection::CountName(const AnsiString& name, int32_t change) {
  const auto count = FNameCounts.find(name);
  if (count == FNameCounts.end()) {
    if (change > 0) FNameCounts.emplace(name, change);
  } else if ((count->second += change) <= 0) {
    FNameCounts.erase(count);
  }
}

bool TRPStyleTemplateCollection::NameUsed(const AnsiString& name, const TRPStyleTemplate* except) const {
  const auto count = FNameCounts.find(name);
  const int32_t users = count == FNameCounts.end() ? 0 : count->second;
  return users > (except && except->Name() == name ? 1 : 0);
}

AnsiString TRPStyleTemplateCollection::NextAutomaticName(const TRPStyleTemplate* except) {
  if (Count() == 1) FNameCounter = 0;
  AnsiString name;
  // Count() tries always reach a free name when DefStyleName numbers its names; a
  // format without a number cannot, and the last name tried is kept.
  for (int32_t tries = 0; tries <= Count(); ++tries) {
    if (FNameCounter == INT_MAX) FNameCounter = 0;
    ++FNameCounter;
    name = AutomaticName(DefStyleName, FNameCounter);
    if (!NameUsed(name, except)) break;
  }
  return name;
}

int32_t TRPStyleTemplateCollection::FindById(TRPStyleTemplateId id) const {
  const TRPStyleTemplate* found = TemplateById(id);
  return found ? found->Index() : -1;
}

TRPStyleTemplate* TRPStyleTemplateCollection::TemplateById(TRPStyleTemplateId id) const {
  if (FIdsStale) {
    FIdsStale = false;
    FById.clear();
    for (int32_t i = 0; i < Count(); ++i)
      if (Template(i)->FId > 0) FById.emplace(Template(i)->FId, Template(i));
    // The ids not drawn yet are drawn now, in the templates' order.
    for (int32_t i = 0; i < Count(); ++i) Template(i)->GetId();
  }
  const auto found = FById.find(id);
  return found == FById.end() ? nullptr : found->second;
}

TRPStyleTemplateId TRPStyleTemplateCollection::DrawId() const {
  TRPStyleTemplateId id = 0;
  while (id <= 0 || FById.contains(id)) id = Random(0x7FFFFFFF);
  return id;
}

void TRPStyleTemplateCollection::ResetTextStyle(TCustomRPFontInfo& textStyle,
                                                const TCustomRPParaInfo* paraStyle) const {
  if (FDefaultTemplate) {
    FDefaultTemplate->ApplyToTextStyle(textStyle, paraStyle, true);
    return;
  }
  if (const TRPStyle* sheet = StyleSheet()) textStyle.Assign(*sheet->TextStyles()[0]);
  if (auto* font = dynamic_cast<TFontInfo*>(&textStyle)) {
    font->ModifiedProperties = {};
    font->StyleTemplateId = -1;
  }
}

void TRPStyleTemplateCollection::ResetParaStyle(TCustomRPParaInfo& paraStyle) const {
  if (FDefaultTemplate) {
    FDefaultTemplate->ApplyToParaStyle(paraStyle, true);
    return;
  }
  if (const TRPStyle* sheet = StyleSheet()) paraStyle.Assign(*sheet->ParaStyles()[0]);
  if (auto* para = dynamic_cast<TParaInfo*>(&paraStyle)) {
    para->ModifiedProperties1 = {};
    para->ModifiedProperties2 = {};
    para->StyleTemplateId = -1;
  }
}

void TRPStyleTemplateCollection::AssignStyleTemplates(const TRPStyleTemplateCollection& source, bool copyIds) {
  if (&source == this) return;
  // A link that would close a loop (which only a collection that resolves no parents
  // can hold) is left out, as SetParentId leaves it: that copy has no parent.
  auto link = [](TRPStyleTemplate& t, TRPStyleTemplateId parentId) {
    try {
      t.SetParentId(parentId);
    } catch (const ERichPaneError&) {
    }
  };
  WithinUpdate(*this, [&] {
    Clear();
    for (int32_t i = 0; i < source.Count(); ++i) Add()->Assign(*source.Template(i));
    if (copyIds) {
      for (int32_t i = 0; i < Count(); ++i) {
        Template(i)->SetId(source.Template(i)->FId);
        Template(i)->ListStyle().SetListID(source.Template(i)->ListStyle().StoredListID());
      }
      for (int32_t i = 0; i < Count(); ++i) link(*Template(i), source.Template(i)->FParentId);
      return;
    }
    for (int32_t i = 0; i < Count(); ++i)
      if (const TRPStyleTemplate* parent = source.Template(i)->FParent)
        link(*Template(i), Template(parent->Index())->GetId());
  });
}

void TRPStyleTemplateCollection::Assign(const TPersistent& source) {
  if (const auto* templates = dynamic_cast<const TRPStyleTemplateCollection*>(&source)) {
    AssignStyleTemplates(*templates, false);
    return;
  }
  TOwnedCollection::Assign(source);
}

void TRPStyleTemplateCollection::UpdateParentReferences() {
  for (int32_t i = 0; i < Count(); ++i) {
    Template(i)->FParent = nullptr;
    Template(i)->FChildren.clear();
  }
  for (int32_t i = 0; i < Count(); ++i) {
    TRPStyleTemplate& t = *Template(i);
    if (t.FParentId <= 0) continue;
    TRPStyleTemplate* parent = TemplateById(t.FParentId);
    if (!parent) continue;
    // A file can hold a loop; it is cut where it would close.
    if (t.IsOnChainFrom(parent)) {
      t.FParentId = -1;
      continue;
    }
    t.FParent = parent;
    parent->AddChild(&t);
  }
}
