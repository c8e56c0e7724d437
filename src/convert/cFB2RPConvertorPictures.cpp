// The builder's pictures: each loaded to fit the box it stands in, and the pictures of
// table cells fitted again once a layout has given their cells a width.
#include <algorithm>

#include "convert/cFB2RPConvertor.h"
#include "convert/cVoDaziScheme.h"
#include "fb2/FB2TagNames.h"
#include "fb2/cFictionBook2.h"
#include "richtext/layout/print/RPPrintableRP.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"
#include "xml/dom/DomElement.h"

namespace {

// The room a picture item keeps on each side of its image.
constexpr int32_t PictureSpacing = 1;

// The part of its box's width that a paragraph's indents take on the line that indents
// most.
int32_t IndentsWidth(const TParaInfo& para) {
  return para.LeftIndent + std::max(para.FirstIndent, 0) + para.RightIndent;
}

// The page breaks above a line by its paragraph's SpaceBefore and wants its SpaceAfter
// on the page below it.
int32_t SpacingHeight(const TParaInfo& para) { return para.SpaceBefore + para.SpaceAfter; }

}  // namespace

TFB2RPConvertor::TCellFrameScope::TCellFrameScope(TFB2RPConvertor& owner, const TRPTableItemInfo& table)
    : FOwner(owner),
      // A cell's content lies inside the table's border and its spacing, the cell's
      // border and its padding, on both sides; cells that share their borders (negative
      // spacing) are counted as apart.
      FWidth(2 * (table.GetBorderWidth() + table.GetBorderHSpacing() + table.GetCellBorderWidth() +
                  table.GetCellPadding()) +
             std::max(table.GetCellHSpacing(), 0)),
      FHeight(2 * (table.GetBorderWidth() + table.GetBorderVSpacing() + table.GetCellBorderWidth() +
                   table.GetCellPadding()) +
              std::max(table.GetCellVSpacing(), 0)) {
  FOwner.CellFramesWidth += FWidth;
  FOwner.CellFramesHeight += FHeight;
}

TFB2RPConvertor::TCellFrameScope::~TCellFrameScope() {
  FOwner.CellFramesWidth -= FWidth;
  FOwner.CellFramesHeight -= FHeight;
}

void TFB2RPConvertor::HandleImage(const TDomElement& image) {
  const WideString id = Book->GetLocalHref(&image);
  if (id.empty()) return;
  RegisterAnchor(image);
  const TDomElement* parent = image.GetParentElement();
  const bool block = parent && (parent->GetNodeName() == TagBody || parent->GetNodeName() == TagSection);
  const bool enlarge = block && Scheme->EnlargeImages;
  // The box: the page's text area (its height what the header and the footer leave),
  // less the frames of the cells the picture is in and what its paragraph takes. A block
  // picture's centred paragraph has no indents and no spacing.
  TParaInfo plain(nullptr);
  const TParaInfo& para = block ? plain : *Sheet->ParaStyles()[CurrentPara()];
  const int32_t pageText =
      PageTextHeight > 0 ? PageTextHeight : Scheme->PageHeight - Scheme->MarginTop - Scheme->MarginBottom;
  const int32_t maxWidth = Scheme->PageWidth - Scheme->MarginLeft - Scheme->MarginRight - CellFramesWidth -
                           IndentsWidth(para) - 2 * PictureSpacing;
  const int32_t maxHeight = pageText - CellFramesHeight - SpacingHeight(para) - 2 * PictureSpacing;
  try {
    auto bitmap = std::make_unique<TBitmap>();
    if (!Book->LoadBinaryImage(id, *bitmap, maxWidth, maxHeight, enlarge, Scheme->BookColors)) return;
    const int32_t paraNo = block ? CentrePara() : ContinueParagraph();
    Target->AddPicture("", std::move(bitmap), paraNo, rpvaBaseline);
    const int32_t itemNo = Target->GetItemCount() - 1;
    static_cast<TRPGraphicItemInfo&>(*Target->GetItem(itemNo)).Spacing = PictureSpacing;
    if (auto* cell = dynamic_cast<TRPTableCellData*>(Target))
      CellPictures.push_back(TCellPicture{cell, itemNo, id, enlarge, maxHeight});
    ItemAdded();
  } catch (const std::exception&) {
    // A broken picture is skipped.
  }
}

bool TFB2RPConvertor::FitPicturesToCells() {
  bool changed = false;
  for (const TCellPicture& picture : CellPictures) {
    TRPTableCellData& cell = *picture.Cell;
    auto& item = static_cast<TRPGraphicItemInfo&>(*cell.GetItem(picture.ItemNo));
    const int32_t box = cell.GetWidth() - cell.GetLeftMargin() - cell.GetRightMargin() -
                        IndentsWidth(cell.GetParaStyle(picture.ItemNo));
    const int32_t width = item.GetWidth();
    if (width <= box) continue;
    auto bitmap = std::make_unique<TBitmap>();
    try {
      if (!Book->LoadBinaryImage(picture.Id, *bitmap, box - 2 * item.Spacing, picture.MaxHeight, picture.Enlarge,
                                 Scheme->BookColors))
        continue;
    } catch (const std::exception&) {
      continue;  // it loaded once; a picture that fails now keeps its first size
    }
    if (bitmap->Width() + 2 * item.Spacing >= width) continue;
    item.Image = std::move(bitmap);
    item.ImageCopy.reset();
    changed = true;
  }
  return changed;
}
