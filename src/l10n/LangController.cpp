#include "l10n/LangController.h"

#include <algorithm>

#include "l10n/LangEscapes.h"
#include "platform/base/Collections.h"
#include "platform/base/Exception.h"
#include "platform/base/Format.h"
#include "platform/base/LittleEndian.h"
#include "platform/base/Masks.h"
#include "platform/base/PublishedProperties.h"
#include "platform/base/TextUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/UniWideStrings.h"

// One platform file-name mask per line of a string list.
class TLang_MaskList {
public:
  explicit TLang_MaskList(const TStrings& masks) {
    for (int32_t i = 0; i < masks.Count(); ++i) FMasks.emplace_back(masks.Strings(i));
  }
  bool Matches(AnsiStringView path) const {
    return std::any_of(FMasks.begin(), FMasks.end(), [&](const TMask& m) { return m.Matches(path); });
  }

private:
  std::vector<TMask> FMasks;
};

namespace {

// A text property reached by the walk: its owner object and its registry entry, or an
// object that holds a whole text (a string list).
struct TTextProperty {
  TPersistent& Instance;
  const TPropInfo& Info;
  TPersistent* Object;  // the string list of a tkClass property, else nullptr
};

AnsiString JoinPath(const AnsiString& prefix, const AnsiString& name) {
  return prefix.empty() ? name : prefix + "." + name;
}

// Walks the published text properties of instance (skipping "Name"), giving each its
// property path; collections and nested persistent objects are walked with their prefix.
// `skip` decides on a full path (masks); fonts are skipped when asked.
template <typename TVisit>
void WalkTextProperties(TPersistent& instance, const AnsiString& prefix, const AnsiString& componentPath,
                        bool skipFonts, const std::function<bool(const AnsiString& fullPath)>& skip,
                        const TVisit& visit) {
  for (const TPropInfo* info : PublishedPropList(instance)) {
    if (SameText(info->Name, "Name") && prefix.empty()) continue;
    const AnsiString path = JoinPath(prefix, info->Name);
    if (skip && skip(componentPath + "." + path)) continue;
    if (info->Kind == tkLString || info->Kind == tkWString) {
      visit(path, TTextProperty{instance, *info, nullptr});
    } else if (info->Kind == tkClass && info->HasGetter() && info->HasSetter()) {
      TPersistent* object = std::get<TPersistent*>(info->Get(instance));
      if (!object || dynamic_cast<TComponent*>(object)) continue;
      if (dynamic_cast<TWideStrings*>(object) || dynamic_cast<TStrings*>(object)) {
        visit(path, TTextProperty{instance, *info, object});
      } else if (auto* collection = dynamic_cast<TCollection*>(object)) {
        for (int32_t i = 0; i < collection->Count(); ++i)
          WalkTextProperties(*collection->Items(i), path + "[" + IntToStr(i) + "]", componentPath, skipFonts, skip,
                             visit);
      } else if (!(skipFonts && object->ClassProps() && object->ClassProps()->ClassName() == "TFont")) {
        WalkTextProperties(*object, path, componentPath, skipFonts, skip, visit);
      }
    }
  }
}

WideString ReadText(const TTextProperty& p) {
  if (auto* wide = dynamic_cast<TWideStrings*>(p.Object)) return wide->Text();
  if (auto* ansi = dynamic_cast<TStrings*>(p.Object)) return DefaultAnsiToWide(ansi->Text());
  const TPropValue value = p.Info.Get(p.Instance);
  return p.Info.Kind == tkWString ? std::get<WideString>(value) : DefaultAnsiToWide(std::get<AnsiString>(value));
}

void WriteText(const TTextProperty& p, const WideString& text, uint32_t codePage) {
  if (auto* wide = dynamic_cast<TWideStrings*>(p.Object))
    wide->SetText(text);
  else if (auto* ansi = dynamic_cast<TStrings*>(p.Object))
    ansi->SetText(WideToAnsiWithCodePage(text, codePage));
  else if (p.Info.Kind == tkWString)
    p.Info.Set(p.Instance, text);
  else
    p.Info.Set(p.Instance, WideToAnsiWithCodePage(text, codePage));
}

bool Counts(const WideString& value, TLanguageControllerOptions options) {
  if (options & lcoIgnoreNonAlphaProps)
    return std::any_of(value.begin(), value.end(),
                       [](WideChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c >= 0x00A1; });
  if (options & lcoIgnoreEmptyProps) return !value.empty();
  return true;
}

// Reading LangData: every length is checked against what the stream still holds.
class TLangDataReader {
public:
  explicit TLangDataReader(TStream& stream) : FStream(stream) {}
  uint8_t U8() {
    uint8_t b;
    FStream.ReadBuffer(&b, 1);
    return b;
  }
  uint16_t U16() {
    uint8_t b[2];
    FStream.ReadBuffer(b, 2);
    return LoadLE16(b);
  }
  uint32_t U32() {
    uint8_t b[4];
    FStream.ReadBuffer(b, 4);
    return LoadLE32(b);
  }
  AnsiString Text() {
    const uint16_t length = U16();
    Need(length);
    AnsiString text(length, '\0');
    if (length) FStream.ReadBuffer(text.data(), length);
    return text;
  }
  // A count of records of at least minBytes each that the rest of the stream can hold.
  uint32_t Count(uint32_t minBytes) {
    const uint32_t count = U32();
    Need(uint64_t{count} * minBytes);
    return count;
  }

private:
  void Need(uint64_t bytes) {
    if (bytes > static_cast<uint64_t>(FStream.Size() - FStream.Position())) throw EReadError(SReadError);
  }
  TStream& FStream;
};

void PutU8(TStream& s, uint8_t v) { s.WriteBuffer(&v, 1); }
void PutU32(TStream& s, uint32_t v) {
  uint8_t b[4];
  StoreLE32(b, v);
  s.WriteBuffer(b, 4);
}
void PutText(TStream& s, const AnsiString& text) {
  uint8_t b[2];
  StoreLE16(b, static_cast<uint16_t>(text.size()));
  s.WriteBuffer(b, 2);
  if (!text.empty()) s.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

}  // namespace

// ---- Component entries -------------------------------------------------------------

void TLang_CompEntry::BindComponents(TComponent& component) {
  Component = &component;
  Name.clear();
  for (auto i = static_cast<int32_t>(Children.size()) - 1; i >= 0; --i) {
    TLang_CompEntry& child = *Children[static_cast<size_t>(i)];
    if (child.Name.empty()) continue;
    if (TComponent* found = component.FindComponent(child.Name))
      child.BindComponents(*found);
    else
      Children.erase(Children.begin() + i);
  }
  if (Children.empty()) HasChildren = false;
}

void TLang_CompEntry::LoadFromStream(TStream& stream) {
  TLangDataReader in(stream);
  // Entries nest; an explicit stack of the entries whose children are still being read.
  struct TOpen {
    TLang_CompEntry* Entry;
    uint32_t Left;
  };
  auto readOne = [&](TLang_CompEntry& entry) -> uint32_t {
    entry.Name = in.Text();
    if (in.U8()) {
      entry.PropEntries.emplace();
      const uint32_t count = in.Count(6);
      for (uint32_t i = 0; i < count; ++i) {
        TLang_PropEntry prop;
        prop.Id = in.U32();
        prop.Path = in.Text();
        entry.PropEntries->push_back(std::move(prop));
      }
    }
    entry.HasChildren = in.U8() != 0;
    return entry.HasChildren ? in.Count(4) : 0;
  };
  std::vector<TOpen> open{{this, readOne(*this)}};
  while (!open.empty()) {
    if (open.back().Left == 0) {
      open.pop_back();
      continue;
    }
    --open.back().Left;
    TLang_CompEntry& parent = *open.back().Entry;
    parent.Children.push_back(std::make_unique<TLang_CompEntry>());
    TLang_CompEntry& child = *parent.Children.back();
    child.Parent = &parent;
    open.push_back({&child, readOne(child)});
  }
}

void TLang_CompEntry::SaveToStream(TStream& stream) const {
  PutText(stream, Component ? Component->Name() : Name);
  PutU8(stream, PropEntries ? 1 : 0);
  if (PropEntries) {
    PutU32(stream, static_cast<uint32_t>(PropEntries->size()));
    for (const TLang_PropEntry& prop : *PropEntries) {
      PutU32(stream, prop.Id);
      PutText(stream, prop.Path);
    }
  }
  const bool children = HasChildren || !Children.empty();
  PutU8(stream, children ? 1 : 0);
  if (!children) return;
  PutU32(stream, static_cast<uint32_t>(Children.size()));
  for (const auto& child : Children) child->SaveToStream(stream);
}

TLang_PropEntry* TLang_CompEntry::FindProp(AnsiStringView path) {
  if (!PropEntries) return nullptr;
  auto it = std::lower_bound(PropEntries->begin(), PropEntries->end(), path,
                             [](const TLang_PropEntry& e, AnsiStringView p) { return CompareText(e.Path, p) < 0; });
  return it != PropEntries->end() && CompareText(it->Path, path) == 0 ? &*it : nullptr;
}

uint32_t TLang_CompEntry::LargestId() const {
  uint32_t largest = 0;
  if (PropEntries)
    for (const TLang_PropEntry& prop : *PropEntries) largest = std::max(largest, prop.Id);
  for (const auto& child : Children) largest = std::max(largest, child->LargestId());
  return largest;
}

AnsiString TLang_CompEntry::ComponentPath() const {
  AnsiString path;
  for (const TLang_CompEntry* e = this; e && e->Parent; e = e->Parent) {
    const AnsiString name = e->Component ? e->Component->Name() : e->Name;
    path = path.empty() ? name : name + "." + path;
  }
  return path;
}

void TLang_CompEntry::UpdateEntries(bool assignIdentifiers, const TLang_MaskList& ignore, const TLang_MaskList& store,
                                    TLanguageControllerOptions options, uint32_t& nextId) {
  if (!Component) return;
  if (assignIdentifiers && PropEntries)
    for (TLang_PropEntry& prop : *PropEntries) prop.Found = false;
  const AnsiString componentPath = ComponentPath();
  WalkTextProperties(
      *Component, {}, componentPath, (options & lcoIgnoreFontProps) != 0,
      [&](const AnsiString& fullPath) { return ignore.Matches(fullPath); },
      [&](const AnsiString& path, const TTextProperty& p) {
        const bool stored = p.Info.IsStored(p.Instance) || store.Matches(componentPath + "." + path);
        if (!stored) return;
        const WideString value = ReadText(p);
        if (!Counts(value, options)) return;
        TLang_PropEntry* entry = FindProp(path);
        if (!entry && assignIdentifiers) {
          if (!PropEntries) PropEntries.emplace();
          auto at = std::lower_bound(
              PropEntries->begin(), PropEntries->end(), path,
              [](const TLang_PropEntry& e, const AnsiString& key) { return CompareText(e.Path, key) < 0; });
          entry = &*PropEntries->insert(at, TLang_PropEntry{nextId++, path, {}, false});
        }
        if (!entry) return;
        entry->DefaultValue = value;
        entry->Found = true;
      });
  if (assignIdentifiers && PropEntries) {
    std::erase_if(*PropEntries, [](const TLang_PropEntry& e) { return !e.Found; });
    if (PropEntries->empty()) PropEntries.reset();
  }
  for (int32_t i = 0; i < Component->ComponentCount(); ++i) {
    TComponent* owned = Component->Components(i);
    if (owned->Name().empty() || dynamic_cast<TLanguageController*>(owned)) continue;
    auto it = std::find_if(Children.begin(), Children.end(), [&](const auto& c) { return c->Component == owned; });
    if (it == Children.end()) {
      if (!assignIdentifiers) continue;
      Children.push_back(std::make_unique<TLang_CompEntry>());
      Children.back()->Component = owned;
      Children.back()->Parent = this;
      it = Children.end() - 1;
    }
    (*it)->UpdateEntries(assignIdentifiers, ignore, store, options, nextId);
  }
}

void TLang_CompEntry::ApplyTranslation(const TLang_CompTranslation* section, uint32_t codePage) {
  if (PropEntries && Component)
    WalkTextProperties(*Component, {}, {}, false, {}, [&](const AnsiString& path, const TTextProperty& p) {
      const TLang_PropEntry* entry = FindProp(path);
      if (!entry) return;
      const WideString* translated = section ? section->Find(entry->Id) : nullptr;
      WriteText(p, translated ? *translated : entry->DefaultValue, codePage);
    });
  for (const auto& child : Children) child->ApplyTranslation(section, codePage);
}

bool TLang_CompEntry::RemoveComponent(const TComponent* component) {
  for (auto it = Children.begin(); it != Children.end(); ++it) {
    if ((*it)->Component == component) {
      Children.erase(it);
      if (Children.empty()) HasChildren = false;
      return true;
    }
    if ((*it)->RemoveComponent(component)) return true;
  }
  return false;
}

// ---- Controller --------------------------------------------------------------------

TLanguageController::TLanguageController(TComponent* owner)
    : TComponent(owner), FRoot(std::make_unique<TLang_CompEntry>()) {
  for (TStringList* list : {&FIgnoreList, &FStoreList}) {
    list->SetSorted(true);
    list->SetDuplicates(dupIgnore);
  }
  if (!(ComponentState() & csLoading) && owner) FRoot->Component = owner;
  if (!(ComponentState() & csDesigning)) LangManager().AddLangController(this);
}

TLanguageController::~TLanguageController() {
  if (!(ComponentState() & csDesigning)) LangManager().RemoveLangController(this);
}

void TLanguageController::UpdateComponents(bool assignIdentifiers) {
  const TLang_MaskList ignore(FIgnoreList), store(FStoreList);
  uint32_t nextId = FRoot->LargestId() + 1;
  FRoot->UpdateEntries(assignIdentifiers, ignore, store, FOptions, nextId);
}

void TLanguageController::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  const bool hasData = FRoot->Component && !FRoot->Component->Name().empty();
  filer.DefineBinaryProperty(
      "LangData",
      [this](TStream& stream) {
        auto fresh = std::make_unique<TLang_CompEntry>();
        fresh->LoadFromStream(stream);
        FRoot = std::move(fresh);
      },
      [this](TStream& stream) {
        UpdateComponents(true);
        FRoot->SaveToStream(stream);
      },
      hasData);
}

void TLanguageController::Loaded() {
  TComponent::Loaded();
  if (!Owner()) return;
  FRoot->BindComponents(*Owner());
  UpdateComponents(false);
  if (!(ComponentState() & csDesigning)) LangManager().TranslateToCurrent(*this);
}

void TLanguageController::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component != this && FRoot) FRoot->RemoveComponent(component);
}

void TLanguageController::GetLangSource(TUniStringList& lines) const {
  lines.Add(u"[" + ActualSectionName() + u"]");
  // Entries nest; an explicit stack keeps the order of the tree.
  std::vector<const TLang_CompEntry*> open{FRoot.get()};
  while (!open.empty()) {
    const TLang_CompEntry* entry = open.back();
    open.pop_back();
    const AnsiString path = entry->ComponentPath();
    if (entry->PropEntries)
      for (const TLang_PropEntry& prop : *entry->PropEntries)
        lines.Add(DefaultAnsiToWide(Format("%s%s=%.8d,", {path.empty() ? path : path + ".", prop.Path, prop.Id})) +
                  EscapeLangText(prop.DefaultValue));
    for (auto it = entry->Children.rbegin(); it != entry->Children.rend(); ++it) open.push_back(it->get());
  }
}

WideString TLanguageController::ActualSectionName() const {
  if (!FSectionName.empty() || !Owner()) return FSectionName;
  return DefaultAnsiToWide(Owner()->Name());
}

void TLanguageController::LanguageChanging() {
  if (OnLanguageChanging) OnLanguageChanging(this);
}

void TLanguageController::ApplyTranslation(const TLang_CompTranslation* section, uint32_t codePage) {
  FRoot->ApplyTranslation(section, codePage);
}

void TLanguageController::LanguageChanged() {
  if (OnLanguageChanged) OnLanguageChanged(this);
}

const TClassProps& TLanguageController::Props() {
  using C = TLanguageController;
  static const TClassProps props("TLanguageController", nullptr,
                                 {Published::WideText<C>("SectionName", &C::SectionName, &C::SetSectionName),
                                  Published::Event("OnLanguageChanging"), Published::Event("OnLanguageChanged")});
  return props;
}
