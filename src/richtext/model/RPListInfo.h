// List styles: a bulleted or numbered list of as many nesting levels as it has level
// entries. List-marker items (RPMarker.h) refer to a list style by its index in the style
// sheet's ListStyles and to one of its levels; a level says what the marker shows (a
// bullet text, a picture, an image of an image list, a number), in which font, where the
// marker and the text stand, and how numbering continues and restarts.
//
// List styles compare as the other style kinds do (IsSimpleEqual, SimilarityValue) and
// carry a hidden list identifier, drawn at random on first use from the seedable
// generator (platform/base/Random.h), that tells apart lists that are otherwise equal.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/Collections.h"
#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Graphic.h"
#include "platform/graphics/ImageList.h"
#include "richtext/model/RPStyleInfo.h"
#include "richtext/model/RPStyleSets.h"

// What a level's marker is. The values are stored in style files.
enum TRPListType : uint8_t {
  rplstBullet,            // FormatString as text
  rplstPicture,           // the level's Picture
  rplstImageList,         // image ImageIndex of ImageList
  rplstDecimal,           // 1, 2, 3
  rplstLowerAlpha,        // a, b, c
  rplstUpperAlpha,        // A, B, C
  rplstLowerRoman,        // i, ii, iii
  rplstUpperRoman,        // I, II, III
  rplstImageListCounter,  // image ImageIndex + counter - 1 of ImageList
  rplstUnicodeBullet,     // FormatStringW as text
};
inline constexpr int32_t RPListTypeCount = rplstUnicodeBullet + 1;

// Where the marker stands against MarkerIndent: starting there, ending there, centred.
enum TRPMarkerAlignment : uint8_t { rpmaLeft, rpmaRight, rpmaCenter };

enum TRPListLevelOption {
  rploContinuous,           // 1: the numbering goes on over paragraphs of other lists
  rploLevelReset,           // 2: a marker of a lower level restarts this level
  rploLegalStyleNumbering,  // 4: the numbers of higher levels show as decimals here
};
using TRPListLevelOptions = TRPSet<TRPListLevelOption, rploContinuous, rploLegalStyleNumbering>;

// The font of a level's text markers: Arial 8 points, in the default window text colour,
// unless changed. It publishes the font's properties for component streams.
class TRPMarkerFont : public TFont, public TPersistent {
public:
  TRPMarkerFont();
  using TFont::Assign;
  // From another marker font.
  void Assign(const TPersistent& source) override;
  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }
  // Written by component streaming only when they differ from the defaults: a name other
  // than exactly "Arial", a size other than 8.
  bool IsNameStored() const { return Name() != "Arial"; }
  bool IsHeightStored() const { return Size() != 8; }
  // Size 8, colour clWindowText, DEFAULT_CHARSET, no style and the name Arial in any
  // case: what a level without a font of its own looks like.
  bool HasDefaultLook() const;
};

class TRPListInfo;

class TRPListLevel : public TCollectionItem {
public:
  explicit TRPListLevel(TCollection* collection);
  ~TRPListLevel() override;

  TRPListType ListType = rplstBullet;
  int32_t StartFrom = 1;                  // the first number of the level
  TCustomImageList* ImageList = nullptr;  // not owned; the style sheet forgets it when it goes
  int32_t ImageIndex = 0;
  AnsiString FormatString = "\xB7";  // the marker text: a bullet, or a Format pattern of the numbers
  WideString FormatStringW;          // the text of a Unicode bullet
  int32_t LeftIndent = 0;            // pixels: where the lines after the marker's line start
  int32_t FirstIndent = 10;          // LeftIndent + FirstIndent: where the text after the marker starts
  int32_t MarkerIndent = 0;          // pixels: where the marker stands
  TRPMarkerAlignment MarkerAlignment = rpmaLeft;
  TRPListLevelOptions Options{rploContinuous, rploLevelReset};

  // The level's picture (owned; nullptr when it has none). Setting nullptr or an empty
  // graphic frees it; otherwise the level keeps a transparent copy.
  const TGraphic* GetPicture() const { return FPicture.get(); }
  void SetPicture(const TGraphic* picture);
  // The marker font, made with its defaults when first asked for.
  TRPMarkerFont& GetFont();
  // The font without making one (nullptr when the level has none).
  const TRPMarkerFont* FindFont() const { return FFont.get(); }
  // nullptr frees the level's font; any other font is copied.
  void SetFont(const TFont* font);

  bool HasPicture() const { return FPicture && !FPicture->Empty(); }
  // The marker is drawn as text in Font: bullets, numbers, Unicode bullets.
  bool HasTextMarker() const;
  // Decimal .. image-list counter: the level counts.
  bool HasNumbering() const;
  // Decimal .. upper Roman: the level counts in text.
  bool HasTextNumbering() const;
  // "text-indent: ...; [padding-left: ...;] margin-left: ...;" from MarkerIndent and
  // LeftIndent.
  AnsiString GetIndentCSS() const;
  // The opening list tag (<ol> with the numbering type, or <ul>), with the level's indents
  // as a style attribute when useCss; no line break after it. htmlOptions: the export's
  // options (the type quoted under XHTML).
  void HTMLOpenTag(TStream& stream, bool useCss, uint32_t htmlOptions = 0) const;
  // "</ol>" for a level with numbering, else "</ul>".
  void HTMLCloseTag(TStream& stream) const;

  // "type LeftIndent/MarkerIndent/FirstIndent", with the type's short name ("1,2,3").
  AnsiString DisplayName() const override;
  void Assign(const TPersistent& source) override;
  // Every property equal: the fonts match when both are absent or of the default look,
  // else when both are present and alike; pictures of one class, size and saved bytes.
  bool IsSimpleEqual(const TRPListLevel& value) const;
  // 5000 for the same type, 200 for the same FirstIndent, 100 for each other property
  // (fonts and pictures compared as above) that is equal.
  int32_t SimilarityValue(const TRPListLevel& value) const;
  // The level before this one in its list style; nullptr for the first.
  const TRPListLevel* PreviousLevel() const;

  // Settings storage under the level's pattern: "ListType", "StartFrom", "ImageIndex",
  // "FormatString" (always), "LeftIndent", "FirstIndent", "MarkerIndent",
  // "MarkerAlignment", "GraphicClass" and "Picture" (a long string of the graphic's
  // bytes in hexadecimal) when there is a picture, "Font" (name, height, style letters,
  // pitch, colour, charset joined by commas) when there is a font, "Continuous",
  // "LevelReset", "LegalStyleNumbering", and "FormatStringW" (its UTF-16LE bytes in
  // hexadecimal) when not empty.
  void SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const;
  // A picture of a class that is not registered, or whose bytes do not load, is dropped.
  void LoadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern);

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }
  // "Picture.Data" (the graphic's class name and bytes), "FormatStringCode" (when the
  // text is not the bullet) and "FormatStringWCode" (when not empty) in hexadecimal, so
  // that the texts keep their bytes; "ILTag", the image list's tag, written when the
  // list styles have an image-list context (TRPListInfos::ImageLists) and read through it.
  void DefineProperties(TFiler& filer) override;

private:
  std::unique_ptr<TGraphic> FPicture;
  std::unique_ptr<TRPMarkerFont> FFont;
};

// The levels of a list style, owned by it.
class TRPListLevelCollection : public TOwnedCollection {
public:
  explicit TRPListLevelCollection(TPersistent* owner);
  TRPListLevel* Add() { return static_cast<TRPListLevel*>(TCollection::Add()); }
  TRPListLevel* Items(int32_t index) const { return static_cast<TRPListLevel*>(TCollection::Items(index)); }
  TRPListLevel* operator[](int32_t index) const { return Items(index); }
};

class TRPListInfo : public TCustomRPInfo {
public:
  explicit TRPListInfo(TCollection* collection);
  ~TRPListInfo() override;

  bool OneLevelPreview = false;

  TRPListLevelCollection& Levels() { return *FLevels; }
  const TRPListLevelCollection& Levels() const { return *FLevels; }
  // Copies the levels.
  void SetLevels(const TRPListLevelCollection& levels);

  // The list identifier: drawn on the first request (random numbers in 1 .. 0x7FFFFFFE
  // of the seedable generator, drawn again while 0 comes out) and kept.
  int32_t GetListID() const;
  // Sets a stored or merged identifier (0: draw one again when asked).
  void SetListID(int32_t id) { FListID = id; }
  // The identifier as it is, 0 when none has been drawn.
  int32_t StoredListID() const { return FListID; }

  // Any level counts / counts in text.
  bool HasNumbering() const;
  bool HasTextNumbering() const;

  // The four shared fields, OneLevelPreview and the levels (not the identifier).
  void Assign(const TPersistent& source) override;
  std::unique_ptr<TCustomRPInfo> CloneDetached() const override;
  // OneLevelPreview, the level count, the identifiers (unless ignoreId) and every level
  // equal; the style name is not compared.
  bool IsSimpleEqual(const TCustomRPInfo& value, bool ignoreReferences, bool ignoreId) const override;
  bool IsSimpleEqualEx(TCustomRPInfo& value, const TRPIntegerList& map) const override;
  // 50 for equal identifiers, 100 for equal OneLevelPreview, the level similarities of
  // the levels both have, minus 100 per level that only one has.
  int32_t SimilarityValue(const TCustomRPInfo& value) const override;
  // A numbered list style merges into one target only (MergeStyles).
  bool MergesIntoOneTarget() const override { return HasNumbering(); }
  // A copy added by merging takes the source's identifier as well.
  void AssignMerged(const TCustomRPInfo& source) override;

  // After the base keys: "LevelsCount", "OneLevelPreview" (a plain key, without the
  // pattern), and each level i under Format(pattern, [""]) + "Lvl%s" + i.
  void SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const override;

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }
  // "LstID": the list identifier (GetListID), always written.
  void DefineProperties(TFiler& filer) override;

protected:
  AnsiString DefaultStyleName() const override { return "List Style"; }
  // The identifier too, as it was (drawn or not).
  void RestoreFrom(const TCustomRPInfo& backup) override;
  // A level count past the limits raises ERichPaneError.
  void ReadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern,
                   const TRPIniDefaults& defaults) override;

private:
  std::unique_ptr<TRPListLevelCollection> FLevels;
  mutable int32_t FListID = 0;
};

// Makes a list style of a collection's kind, joined to collection.
using TRPListInfoClass = std::unique_ptr<TRPListInfo> (*)(TCollection* collection);

// Finds the image lists of a document by their tags, for list levels read from a
// document's stream.
class IRPImageListContext {
public:
  virtual ~IRPImageListContext() = default;
  // The image list with that tag, or nullptr.
  virtual TCustomImageList* FindImageListByTag(int32_t tag) const = 0;
};

class TRPListInfos : public TCustomRPInfos {
public:
  TRPListInfos(TPersistent* owner, TRPListInfoClass itemClass);

  // The context through which levels store their image lists by tag ("ILTag"); none:
  // levels neither write nor find image lists.
  const IRPImageListContext* ImageLists = nullptr;

  TRPListInfo* Add() { return static_cast<TRPListInfo*>(TCollection::Add()); }
  // The list style at index; raises EListError "List index out of bounds (%d)" outside
  // 0 .. Count - 1 (list styles have no fallback).
  TRPListInfo* Items(int32_t index) const { return static_cast<TRPListInfo*>(TCollection::Items(index)); }
  TRPListInfo* GetItem(int32_t index) const { return Items(index); }
  TRPListInfo* operator[](int32_t index) const { return Items(index); }
  // Every level of every list style that shows imageList forgets it. Any component may
  // be given (one that is going away, found by its address only).
  void RemoveImageList(const TComponent* imageList);
  // Level `level` of list style listNo, a level past the last taken as the last; nullptr
  // for a list number out of range, a negative level or a list without levels.
  const TRPListLevel* GetLevel(int32_t listNo, int32_t level) const;
};
