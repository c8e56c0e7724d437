// The HTML writer behind SaveHTMLToStream and SaveHTMLCSSToStream (RPHTMLExport.h): one
// object per export with its flavour, options and counters; the head, the body of each
// document it writes (the main document and the documents of table cells) and the end.
// It is the image context of the items it writes (where their pictures go) and the
// writer of the documents they hold.
//
// State of a body (TRPHTMLBodyState): what is open (a paragraph, a block container with
// or without its inner alignment "div", a list item) and, in the classic flavour, the
// font tags of text style 0 that close inside it; the span of the CSS flavour that is
// open and the text style it stands for; the background the items stand on.
//
// The classic flavour's font tags of text style 0 stand inside each paragraph and list
// item, not around the whole body: a font element may hold no paragraphs. A list item
// stays open until the next item of its level or a lower one, so that the list of a
// deeper level stands inside it: a list holds nothing but items.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "richtext/interchange/RPHTMLExport.h"
#include "richtext/model/RPExportContexts.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPStyle.h"

enum TRPHTMLOpenBlock : uint8_t { rphbNone, rphbParagraph, rphbDiv, rphbDivWithAlign, rphbListItem };

struct TRPHTMLBodyState {
  // The items written, in order, and the selected characters of the first and last.
  std::vector<int32_t> Order;
  bool Selection = false;
  int32_t StartNo = -1, StartOffs = 0, EndNo = -1, EndOffs = 0;
  bool ReachesEnd = true;  // the range takes in the document's end (its trailing checkpoint)
  TRPHTMLOpenBlock Open = rphbNone;
  int32_t OpenItemNo = -1;  // the item that opened the block (for the paragraph hook)
  AnsiString BlockEnd;      // classic: the closing font tags of style 0 inside the block
  int32_t SpanStyle = -1;   // CSS: the text style of the open span, -1 for none
  TColor Background = clNone;
  // The HTML list that is open: its list style (-1: none) and, per open level from the
  // first, whether an item of that level is open (a deeper level's list stands inside it).
  int32_t ListNo = -1;
  std::vector<bool> ItemOpen;
};

class TRPHTMLWriter final : public IRPHtmlImageContext, public IRPHTMLDocumentWriter {
public:
  TRPHTMLWriter(TCustomRPData& root, TStream& stream, const TRPStyle& style, const TRPHTMLExportParams& params,
                bool css);

  void WriteHead();
  // The body of data, of its selection with selectionOnly (the main document only).
  void WriteBody(TCustomRPData& data, uint32_t options, TColor backColor, bool selectionOnly = false);
  void WriteEnd();

  // IRPHtmlImageContext
  bool HtmlImageHook(const TCustomRPItemInfo& item, AnsiString& location) override;
  AnsiString SavePictureForExport(const TGraphic& graphic, TColor background) override;
  AnsiString RelativeToDocument(const AnsiString& fileName) const override;
  uint32_t CodePage() const override { return FCodePage; }
  // IRPHTMLDocumentWriter
  void SaveSubDocumentBody(TStream& stream, TCustomRPData& document, uint32_t options, TColor backColor) override;
  bool BackgroundImageHook(TCustomRPData& document, TColor backColor, AnsiString& location) override;

private:
  void Write(AnsiStringView text) const;
  void WriteLine(AnsiStringView text) const;
  // 8-bit text of the document's code page as the output wants it (UTF-8 or as it is).
  AnsiString Out(const AnsiString& text) const;
  // An attribute value (in the output's form) with the characters that would end it or
  // start markup written as entities.
  AnsiString AttributeValue(const AnsiString& text) const;
  // The charset name the head declares; empty when none is known.
  AnsiString CharsetName() const;
  // The background picture of the page, saved; its HTML path (empty: none).
  AnsiString SavePageBackground();
  void WriteClassicHead();
  void WriteCssHead();
  void WriteBodyCss();

  // Body pieces.
  void WriteClassicBody(TCustomRPData& data, uint32_t options, TRPHTMLBodyState& state);
  void WriteCssBody(TCustomRPData& data, uint32_t options, TRPHTMLBodyState& state);
  void CloseBlock(TCustomRPData& data, TRPHTMLBodyState& state, bool lineEnd);
  AnsiString CheckpointAnchor(const TRPCPInfo& checkpoint, uint32_t options);
  // The opening tag of item i's hyperlink (with cssClass inside the tag, and with
  // hintAsTitle the item's hint as its title when the host gives no attributes); empty
  // when it is no hyperlink or the host gives neither target nor attributes.
  AnsiString HyperlinkTag(TCustomRPData& data, int32_t i, const AnsiString& cssClass, bool hintAsTitle);
  void WriteText(TCustomRPData& data, int32_t i, uint32_t options, const TRPHTMLBodyState& state);
  // The text of item i that WriteText writes (the selected part of a selection's ends).
  static AnsiString TextToWrite(TCustomRPData& data, int32_t i, const TRPHTMLBodyState& state);
  // An empty text item writes nothing, unless it is its paragraph's only item, whose
  // height a line break keeps.
  static bool WritesNothing(TCustomRPData& data, int32_t i, const TRPHTMLBodyState& state);
  void WriteItemHtml(TCustomRPData& data, int32_t i, uint32_t options, TColor background);
  // The context items of data write themselves with (this writer's hooks and lists).
  TRPHTMLSaveContext MakeItemContext(TCustomRPData& data, uint32_t options, TColor background);
  // Item i when it opens an HTML list item: a marker with a level, unless markers are
  // written inline; nullptr otherwise.
  const TRPMarkerItemInfo* ListItemMarker(TCustomRPData& data, int32_t i, uint32_t options) const;
  // The list tags from the open list to marker's level: items and levels closed down to
  // it, levels opened up to it (a level opened past an open one stands in an item of its
  // own, shown without a marker); then its item may open.
  void MoveToListItem(TRPHTMLBodyState& state, const TRPMarkerItemInfo& marker, bool useCss, uint32_t options);
  // Closes every open item and level of the open list.
  void CloseList(TRPHTMLBodyState& state);
  bool IsSymbolFont(int32_t styleNo) const;
  // CSS: "class=rpts3", or with inline styles the style attribute of text style styleNo.
  AnsiString TextStyleAttribute(int32_t styleNo, uint32_t options) const;
  // CSS: the class of paragraph style paraNo (none for style 0 without the default classes)
  // and a style attribute of extraCss; with inline styles one style attribute of the
  // style's declarations and extraCss.
  AnsiString ParaStyleAttribute(int32_t paraNo, const AnsiString& extraCss, uint32_t options) const;

  TCustomRPData& FRoot;
  TStream& FStream;
  const TRPStyle& FStyle;
  const TRPHTMLExportParams& FParams;
  bool FCss;
  uint32_t FCodePage;
  int32_t FImgSaveNo = 0;
  int32_t FAnchorCount = 0;
  std::unique_ptr<TRPHTMLBulletInfoList> FOwnBullets;
  TRPHTMLBulletInfoList* FBullets;
  // The document whose items are being written and their background.
  TCustomRPData* FCurrentData = nullptr;
  TColor FCurrentBackground = clNone;
};
