// The language controller of a window: which texts of the window's components a language
// file translates, under which identifiers, and their untranslated defaults.
//
// Its "LangData" (stored with the window definition) is a tree of component entries, one
// per component that has translatable texts, little-endian:
//   name: u16 length + 8-bit characters (the root: the window's name)
//   u8 has-properties; if set: u32 count, count x {u32 identifier; u16 length + path}
//   u8 has-children; if set: u32 count, count x component entry
// Property entries stay sorted by path (ASCII case ignored). A path is the property's
// name, "Object.Name" for a property of a nested object, "Items[2].Name" for an item of a
// collection; masks of the ignore and store lists see "component.path.property" (the
// root's own properties as ".property").
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "l10n/Localizer.h"
#include "platform/base/Components.h"
#include "platform/base/Filer.h"
#include "platform/base/StringLists.h"
#include "platform/base/Types.h"

enum TLanguageControllerOption : uint8_t {
  lcoAutoSaveLangSource = 1,
  lcoIgnoreEmptyProps = 2,
  lcoIgnoreNonAlphaProps = 4,
  lcoIgnoreFontProps = 8,
};
using TLanguageControllerOptions = uint8_t;
inline constexpr TLanguageControllerOptions lcoAll = 15;

struct TLang_PropEntry {
  uint32_t Id = 0;
  AnsiString Path;
  WideString DefaultValue;
  bool Found = false;
};

class TLang_MaskList;
class TUniStringList;

class TLang_CompEntry {
public:
  // The window's property entries (nullopt: the entry has none) and child entries.
  std::optional<std::vector<TLang_PropEntry>> PropEntries;
  std::vector<std::unique_ptr<TLang_CompEntry>> Children;
  bool HasChildren = false;
  // The name read from the stream, cleared once bound.
  AnsiString Name;
  TComponent* Component = nullptr;
  TLang_CompEntry* Parent = nullptr;

  // Binds this entry to component and each named child to the component of that name
  // that it owns; a child whose component is missing is dropped.
  void BindComponents(TComponent& component);
  // Raises EReadError "Stream read error" for data cut short.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  // Collects the texts (new identifiers when assignIdentifiers) below this entry.
  void UpdateEntries(bool assignIdentifiers, const TLang_MaskList& ignore, const TLang_MaskList& store,
                     TLanguageControllerOptions options, uint32_t& nextId);
  // Gives every listed property the section's text of its identifier, or its default.
  void ApplyTranslation(const TLang_CompTranslation* section, uint32_t codePage);
  // Drops the entry of component (searched below this one); true when found.
  bool RemoveComponent(const TComponent* component);
  // The entry of that path, or nullptr.
  TLang_PropEntry* FindProp(AnsiStringView path);
  uint32_t LargestId() const;
  // The component names from below the root, joined with ".".
  AnsiString ComponentPath() const;
};

class TLanguageController : public TComponent, public ILangController {
public:
  explicit TLanguageController(TComponent* owner);
  ~TLanguageController() override;

  TStringList& IgnoreList() { return FIgnoreList; }
  TStringList& StoreList() { return FStoreList; }
  TLanguageControllerOptions Options() const { return FOptions; }
  void SetOptions(TLanguageControllerOptions options) { FOptions = options; }
  WideString SectionName() const { return FSectionName; }
  void SetSectionName(const WideString& name) { FSectionName = name; }
  TNotifyEvent OnLanguageChanging;
  TNotifyEvent OnLanguageChanged;
  TLang_CompEntry& Root() { return *FRoot; }

  // Collects the window's texts; with assignIdentifiers new texts get new identifiers
  // and entries no longer found are dropped, otherwise only defaults are refreshed.
  void UpdateComponents(bool assignIdentifiers);
  // "LangData", written when the root is bound to a named component (after collecting
  // with new identifiers); reading replaces the tree, or leaves it when the data is bad.
  void DefineProperties(TFiler& filer) override;
  // Binds the tree to the owner, records the defaults and translates the window into
  // the current language.
  void Loaded() override;

  // The language source of the window, for writing a language template: its section
  // header and one line "component.path=identifier,default" per text, the identifier in
  // eight digits and the default escaped as language files escape values.
  void GetLangSource(TUniStringList& lines) const;

  WideString ActualSectionName() const override;
  void LanguageChanging() override;
  void ApplyTranslation(const TLang_CompTranslation* section, uint32_t codePage) override;
  void LanguageChanged() override;

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  TStringList FIgnoreList;
  TStringList FStoreList;
  TLanguageControllerOptions FOptions = lcoAll;
  WideString FSectionName;
  std::unique_ptr<TLang_CompEntry> FRoot;
};
