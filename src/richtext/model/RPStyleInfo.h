// The shared base of the style sheet's styles and of their collections: a style's base
// style, name, standard flag and template, and the collection operations that merge
// another collection's styles into this one.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/Collections.h"
#include "platform/base/Types.h"
#include "richtext/model/RPLists.h"
#include "richtext/model/RPStyleSheetQueries.h"

class TCustomIniFile;

inline constexpr int32_t crJump = 101;  // the hand cursor of hyperlinks

// What a style read from settings takes for keys that the store lacks: a text style
// without "Jump" gets these.
struct TRPIniDefaults {
  bool Jump = false;
  int32_t JumpCursor = crJump;
};

class TCustomRPInfo : public TCollectionItem {
public:
  explicit TCustomRPInfo(TCollection* collection) : TCollectionItem(collection) {}

  int32_t BaseStyleNo = -1;  // the style this one is based on, -1 for none
  AnsiString StyleName;
  bool Standard = true;  // false for styles added by merging
  int32_t StyleTemplateId = -1;

  // The four fields as streams and settings write them. The style descriptions that a
  // style template owns have no such fields: there these raise ERichPaneError "This
  // property is not valid here".
  virtual void SetBaseStyleNo(int32_t value) { BaseStyleNo = value; }
  virtual void SetStyleName(const AnsiString& value) { StyleName = value; }
  virtual void SetStandard(bool value) { Standard = value; }
  virtual void SetStyleTemplateId(int32_t value) { StyleTemplateId = value; }
  // False for a template's own style descriptions: they neither store, copy nor
  // compare the four fields.
  virtual bool HasInfoFields() const { return true; }

  AnsiString DisplayName() const override { return StyleName; }
  // From another TCustomRPInfo: the four fields above when both sides have them;
  // anything else as the platform.
  void Assign(const TPersistent& source) override;
  // A copy of this style, of its own class, outside any collection.
  virtual std::unique_ptr<TCustomRPInfo> CloneDetached() const = 0;

  // Settings storage under section, with keys Format(pattern, [word]): "StyleName",
  // "BaseStyleNo", "Standard", "StyleTemplateId", then the keys of the style's kind.
  virtual void SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const;
  // Reads what SaveToINI writes; a missing key gives its default. Whole or nothing: when
  // the store raises or holds a value that cannot be taken (ERichPaneError), the style
  // is left as it was and the exception goes on.
  void LoadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern,
                   const TRPIniDefaults& defaults = {});

  // Equality for merging: without BaseStyleNo; references to other styles of the same
  // collection unless ignoreReferences; the template id unless ignoreId.
  virtual bool IsSimpleEqual(const TCustomRPInfo& value, bool ignoreReferences, bool ignoreId) const = 0;
  // IsSimpleEqual(value, true, false), then value's reference to a style of its own
  // collection checked through map (value's index -> this side's); a reference past the
  // map is cleared in value.
  virtual bool IsSimpleEqualEx(TCustomRPInfo& value, const TRPIntegerList& map) const = 0;
  // The larger, the closer value is to this style.
  virtual int32_t SimilarityValue(const TCustomRPInfo& value) const = 0;
  // After a merge added this style: its references mapped (textStyleMap: the map of text
  // styles, for paragraph styles' default text style; nullptr when none).
  virtual void MapMergedReferences(const TRPIntegerList& map, const TRPIntegerList* textStyleMap);
  // True when no second source style may merge into the style this one merged into (a
  // numbered list style: two numbered lists never become one).
  virtual bool MergesIntoOneTarget() const { return false; }
  // Makes this style, just added by a merge, a copy of source.
  virtual void AssignMerged(const TCustomRPInfo& source) { Assign(source); }

protected:
  // The name a new style of the class gets ("Font Style", ...).
  virtual AnsiString DefaultStyleName() const { return {}; }
  // Makes this style again what backup (its CloneDetached) was; LoadFromINI undoes a
  // failed read with it.
  virtual void RestoreFrom(const TCustomRPInfo& backup) { Assign(backup); }
  // Reads the keys into this style (LoadFromINI undoes a failed read).
  virtual void ReadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern,
                           const TRPIniDefaults& defaults);
  // A reference of a stored style (valueRef) against this style's (selfRef) through map:
  // none matches; one inside the map when it maps to selfRef; one past the map is
  // cleared and matches.
  static bool MappedReferenceMatches(int32_t& valueRef, int32_t selfRef, const TRPIntegerList& map);
  // A reference inside the map (when there is one) becomes what it maps to.
  static void MapReference(int32_t& reference, const TRPIntegerList* map);
};

// How MergeStyles takes another collection's styles.
enum TRPMergeMode : int32_t {
  rpmmMerge = 0,    // an equal existing style, else a new copy
  rpmmClosest = 1,  // the most similar existing style; nothing is added
  rpmmAddNew = 2,   // always a new copy
};

class TCustomRPInfos : public TOwnedCollection {
public:
  TCustomRPInfos(TPersistent* owner, TCollectionItemClass itemClass) : TOwnedCollection(owner, std::move(itemClass)) {}

  TCustomRPInfo* Style(int32_t index) const { return static_cast<TCustomRPInfo*>(Items(index)); }
  // Merges source (a collection of the same kind) into this one; map gets, per source
  // style in order, the index here it maps to (-1 when mode rpmmClosest meets an empty
  // collection). The styles added are not standard and their references are mapped. In
  // mode rpmmMerge a style that an earlier source style merged into and that may take
  // one only (MergesIntoOneTarget) is passed over.
  void MergeStyles(TCustomRPInfos& source, TRPMergeMode mode, TRPIntegerList& map,
                   const TRPIntegerList* textStyleMap = nullptr);
  // Style names in order.
  void AssignTo(TPersistent& dest) const override;

protected:
  // The index of the style most similar to s (the first on ties), -1 when empty.
  virtual int32_t FindClosestStyle(const TCustomRPInfo& s) const;
  int32_t BestScored(const TCustomRPInfo& s,
                     bool (*candidate)(const TCustomRPInfo& s, const TCustomRPInfo& item)) const;
};
