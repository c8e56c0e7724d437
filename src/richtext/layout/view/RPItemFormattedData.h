// Documents held by items (table cells): formatted and painted like any document, with
// no window, scroll position or margins of their own; their identity (flags, parent,
// root) comes from the list that holds them.
#pragma once

#include <cstdint>

#include "richtext/layout/RPFormattedData.h"
#include "richtext/model/RPLists.h"

class TRPItemFormattedData;

// The document flags of every sub-document of a new list: bits 1, 4 and 10.
inline constexpr TRPDocumentFlags rpdfSubDocumentDefaults = 0x0412;

// An owning list of sub-documents that belongs to a parent document (a table row).
class TRPDataList : public TRPList {
public:
  TRPDocumentFlags Flags = rpdfSubDocumentDefaults;

  TRPItemFormattedData* Data(int32_t index) const;
  // The document that owns the list; none in this class (a table row answers the
  // table's document).
  virtual TCustomRPData* GetParentRPData() const { return nullptr; }
};

class TRPItemFormattedData : public TCustomRPFormattedData {
public:
  // owner: the list that holds the document (not owned).
  explicit TRPItemFormattedData(TRPDataList* owner) : FOwner(owner) {}

  TRPDataList* Owner() const { return FOwner; }
  void SetOwner(TRPDataList* owner) { FOwner = owner; }

  // The owner's flag word; writing raises ERichPaneError "This method is not supported
  // for TRPItemFormattedData".
  TRPDocumentFlags GetDocumentFlags() const override;
  void SetDocumentFlags(TRPDocumentFlags flags);
  // The owner's parent document (nullptr without an owner or parent).
  TCustomRPData* GetParentData() const override;
  TCustomRPData* GetAbsoluteParentData() const override;
  // The parent's root; this document when it has no parent.
  TCustomRPData* GetRootData() override;
  TCustomRPData* GetAbsoluteRootData() override;
  // The style sheet, canvas and resolutions of the parent document.
  TRPStyle* GetStyleSheet() const override;
  TCanvas* GetCanvas() override;
  TRPResolution GetResolutions(TCanvas& canvas) const override;
  // Showing a rectangle of this document: moved by its origin and asked of the root.
  void ShowRectangle(int32_t x, int32_t y, int32_t width, int32_t height) override;

private:
  TCustomRPFormattedData* ParentFormatted() const;
  TRPDataList* FOwner;
};
