// Style templates: named, inheritable bundles of text and paragraph properties kept by
// the style sheet (TRPStyle::StyleTemplates).
//
// A template defines the properties of its valid sets; a property it leaves undefined
// comes from its parent (ParentId, resolved to the parent template while the template
// sits in a style sheet that is not being loaded), the nearest template that defines it
// winning. Applying a template to a style overwrites what the chain defines, keeps what
// the style marks as modified (unless told to override) and fills the rest from the
// default template "Normal", or from style 0 of the style sheet.
//
// Parent links never form a loop: SetParentId refuses one with ERichPaneError "Circular
// references are not allowed", and UpdateParentReferences (after loading) cuts a loop
// that a file holds at the template that would close it, which is left without a parent.
// A ParentId that names no template keeps its value and resolves to no parent.
//
// Ids are drawn on first use from the seedable generator (platform/base/Random.h),
// never 0 or negative, and unique within a collection.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/base/Collections.h"
#include "richtext/model/RPFontInfo.h"
#include "richtext/model/RPListInfo.h"
#include "richtext/model/RPParaInfo.h"

class TRPStyle;
class TRPStyleTemplate;
class TRPStyleTemplateCollection;

using TRPStyleTemplateId = int32_t;

inline constexpr char errRPPropertyNotValidHere[] = "This property is not valid here";
inline constexpr char errRPCircularReference[] = "Circular references are not allowed";

// A style description that a template owns (TBase: the text, paragraph or list style
// class). Its base fields mean nothing: it neither stores nor copies them, and setting
// one raises ERichPaneError "This property is not valid here".
template <typename TBase>
class TRPTemplateStyleInfo : public TBase {
public:
  explicit TRPTemplateStyleInfo(TRPStyleTemplate* owner) : TBase(nullptr), FOwner(owner) {}

  TRPStyleTemplate* StyleTemplate() const { return FOwner; }
  TPersistent* GetOwner() const override;
  void SetBaseStyleNo(int32_t) override { PropertyNotValidHere(); }
  void SetStyleName(const AnsiString&) override { PropertyNotValidHere(); }
  void SetStandard(bool) override { PropertyNotValidHere(); }
  void SetStyleTemplateId(int32_t) override { PropertyNotValidHere(); }
  bool HasInfoFields() const override { return false; }

private:
  [[noreturn]] static void PropertyNotValidHere();

  TRPStyleTemplate* FOwner;
};

// Made in RPStyleTemplates.cpp, where the template class is complete.
extern template class TRPTemplateStyleInfo<TCustomRPFontInfo>;
extern template class TRPTemplateStyleInfo<TCustomRPParaInfo>;
extern template class TRPTemplateStyleInfo<TRPListInfo>;

class TRPSTFontInfo : public TRPTemplateStyleInfo<TCustomRPFontInfo> {
public:
  using TRPTemplateStyleInfo::TRPTemplateStyleInfo;
  std::unique_ptr<TCustomRPInfo> CloneDetached() const override;
};

class TRPSTParaInfo : public TRPTemplateStyleInfo<TCustomRPParaInfo> {
public:
  using TRPTemplateStyleInfo::TRPTemplateStyleInfo;
  std::unique_ptr<TCustomRPInfo> CloneDetached() const override;
};

// The list style description a template owns; nothing applies it.
class TRPSTListInfo : public TRPTemplateStyleInfo<TRPListInfo> {
public:
  using TRPTemplateStyleInfo::TRPTemplateStyleInfo;
  std::unique_ptr<TCustomRPInfo> CloneDetached() const override;
};

class TRPStyleTemplate : public TCollectionItem {
public:
  // Inside a collection whose style sheet is not being loaded, the template gets the
  // first automatic name (DefStyleName with a counter) that no other template has.
  explicit TRPStyleTemplate(TCollection* collection);
  // Leaves its parent's children; its children lose their parent (ParentId -1).
  ~TRPStyleTemplate() override;

  TRPSTFontInfo& TextStyle() { return *FTextStyle; }
  const TRPSTFontInfo& TextStyle() const { return *FTextStyle; }
  // Copies value into the template's text style.
  void SetTextStyle(const TCustomRPFontInfo& value) { FTextStyle->Assign(value); }
  TRPSTParaInfo& ParaStyle() { return *FParaStyle; }
  const TRPSTParaInfo& ParaStyle() const { return *FParaStyle; }
  void SetParaStyle(const TCustomRPParaInfo& value) { FParaStyle->Assign(value); }
  TRPSTListInfo& ListStyle() { return *FListStyle; }
  const TRPSTListInfo& ListStyle() const { return *FListStyle; }

  // The properties that this template defines.
  TRPFontInfoProperties ValidTextProperties;
  TRPParaInfoProperties1 ValidParaProperties1;
  TRPParaInfoProperties2 ValidParaProperties2;
  // Both paragraph sets as one.
  TRPParaInfoProperties ValidParaProperties() const;

  const AnsiString& Name() const { return FName; }
  // The template named exactly "Normal" is its collection's default template.
  void SetName(const AnsiString& value);
  TRPStyleTemplateId ParentId() const { return FParentId; }
  // Raises ERichPaneError "Circular references are not allowed" when the new parent
  // descends from this template; the template is then left without a parent.
  void SetParentId(TRPStyleTemplateId value);
  // The resolved parent (nullptr when there is none or its id names no template).
  TRPStyleTemplate* Parent() const { return FParent; }
  // The templates whose resolved parent this is.
  const std::vector<TRPStyleTemplate*>& Children() const { return FChildren; }

  // The template's id, drawn when it has none yet.
  TRPStyleTemplateId GetId();
  // The id as it is, 0 or less when none has been drawn.
  TRPStyleTemplateId StoredId() const { return FId; }
  // Takes an id read from a stream or a settings file.
  void SetId(TRPStyleTemplateId value);
  void SetIndex(int32_t index) override;

  // From a template: the three style descriptions, the name, the valid sets and, when both
  // templates are in the same collection, the parent (last, through SetParentId, which
  // may refuse it). The id is not copied.
  void Assign(const TPersistent& source) override;
  AnsiString DisplayName() const override { return FName; }

  // Copies into textStyle the text properties of allowed that this template or its
  // ancestors define, the nearest one winning; returns those applied.
  TRPFontInfoProperties ApplyValidTextProperties(TCustomRPFontInfo& textStyle, TRPFontInfoProperties allowed) const;
  TRPParaInfoProperties ApplyValidParaProperties(TCustomRPParaInfo& paraStyle, TRPParaInfoProperties allowed) const;
  // Applies the template to a text style (see the head of this file); paraStyle, when
  // given, lends the text properties of its own template. With overrideModified the
  // style's modified properties are overwritten and the style takes this template.
  void ApplyToTextStyle(TCustomRPFontInfo& textStyle, const TCustomRPParaInfo* paraStyle, bool overrideModified);
  void ApplyToParaStyle(TCustomRPParaInfo& paraStyle, bool overrideModified);

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }
  // "IDProp": the id (GetId), always written.
  void DefineProperties(TFiler& filer) override;

  TRPStyleTemplateCollection* Templates() const;

private:
  friend class TRPStyleTemplateCollection;
  // True when the template sits in a style sheet's collection and that sheet is not
  // being loaded: only then are parents resolved.
  bool LinkingActive() const;
  void AddChild(TRPStyleTemplate* child) { FChildren.push_back(child); }
  void RemoveChild(TRPStyleTemplate* child);
  // True when this template is on the chain of resolved parents that starts at start:
  // the chain up from start and the templates below this one are walked in turn, so
  // the walk ends within twice the shorter of the two.
  bool IsOnChainFrom(const TRPStyleTemplate* start) const;
  void Unlink();

  std::unique_ptr<TRPSTFontInfo> FTextStyle;
  std::unique_ptr<TRPSTParaInfo> FParaStyle;
  std::unique_ptr<TRPSTListInfo> FListStyle;
  AnsiString FName;
  TRPStyleTemplateId FId = 0;
  TRPStyleTemplateId FParentId = -1;
  TRPStyleTemplate* FParent = nullptr;
  std::vector<TRPStyleTemplate*> FChildren;
};

// The default format of automatic template names.
inline constexpr char DefaultStyleNameFormat[] = "Style %d";

class TRPStyleTemplateCollection : public TOwnedCollection {
public:
  // owner: the style sheet (nullptr for a collection of its own, which never resolves
  // parents).
  explicit TRPStyleTemplateCollection(TPersistent* owner);
  ~TRPStyleTemplateCollection() override;

  // Published: DefStyleName, stored when it is not "Style %d".
  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

  TRPStyleTemplate* Add() { return static_cast<TRPStyleTemplate*>(TCollection::Add()); }
  TRPStyleTemplate* Template(int32_t index) const { return static_cast<TRPStyleTemplate*>(Items(index)); }
  TRPStyle* StyleSheet() const;

  // The format of automatic names, with one integer placeholder.
  AnsiString DefStyleName = DefaultStyleNameFormat;
  // The template named "Normal", or nullptr.
  TRPStyleTemplate* DefaultTemplate() const { return FDefaultTemplate; }

  // The index of the template with that id (drawing the ids not drawn yet), or -1.
  int32_t FindById(TRPStyleTemplateId id) const;
  // The first template with that id, or nullptr; found through an index of the ids.
  TRPStyleTemplate* TemplateById(TRPStyleTemplateId id) const;
  // The default template applied with override, or else style 0 of the style sheet
  // copied (and the style's template and modified properties cleared).
  void ResetTextStyle(TCustomRPFontInfo& textStyle, const TCustomRPParaInfo* paraStyle) const;
  void ResetParaStyle(TCustomRPParaInfo& paraStyle) const;

  // Copies of source's templates; with copyIds each keeps its source's id, parent id
  // and the identifier of its list style, without them parents are re-linked to the copies by position. A parent link
  // that would close a loop is left out.
  void AssignStyleTemplates(const TRPStyleTemplateCollection& source, bool copyIds);
  void Assign(const TPersistent& source) override;
  // Re-links every template to its parent by ParentId; a link that would close a loop
  // is cut (that template's ParentId becomes -1).
  void UpdateParentReferences();

protected:
  // A template built elsewhere that joins or leaves the collection.
  void Notify(TCollectionItem* item, TCollectionNotification action) override;

private:
  friend class TRPStyleTemplate;
  // The next automatic name that no template but except has.
  AnsiString NextAutomaticName(const TRPStyleTemplate* except);
  bool NameUsed(const AnsiString& name, const TRPStyleTemplate* except) const;
  void CountName(const AnsiString& name, int32_t change);
  // Draws an id that no template of the collection has (the index up to date).
  TRPStyleTemplateId DrawId() const;
  void IdsChanged() const { FIdsStale = true; }

  int32_t FNameCounter = 0;
  TRPStyleTemplate* FDefaultTemplate = nullptr;
  // How many templates have each name.
  std::unordered_map<AnsiString, int32_t> FNameCounts;
  // The first template of each id drawn or set, rebuilt when stale.
  mutable std::unordered_map<TRPStyleTemplateId, TRPStyleTemplate*> FById;
  mutable bool FIdsStale = false;
};
