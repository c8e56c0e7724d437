// `TFictionBook2`: a parsed FictionBook 2 book. After each load it indexes what the
// conversion asks for again and again (the root element, the namespace prefix of links,
// the bodies and the notes body, the binaries by id, the number of sections) and answers
// the conversion's questions: metadata, link targets, note elements, title texts,
// section levels, table sizes, and the book's pictures decoded and fitted.
//
// The model only reads the node tree. Element names are compared exactly where children
// are looked up by name; the few values the model compares itself (attribute values, the
// notes body's name, section names when climbing) ignore case. Every walk over the tree
// is a loop, so a deeply nested book cannot exhaust the stack.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "fb2/FB2Limits.h"
#include "fb2/cXML.h"
#include "platform/graphics/Bitmap.h"

class TDomElement;

// A document that is well-formed XML but not a FictionBook.
class EFictionBook2Error : public Exception {
public:
  using Exception::Exception;
};

inline constexpr char SNoFictionBookRoot[] = "The document has no \"FictionBook\" root element";

class TFictionBook2 : public TXML {
public:
  TFictionBook2() = default;

  // BeforeLoad: the inherited step (Clear), then SectionCount 0. Clear: the documents
  // and every index. AfterLoad: indexes the new document; a document without a
  // "FictionBook" root element raises EFictionBook2Error, and an xlink declaration whose
  // name is no qualified name raises EInvalid_Character_Err.
  void BeforeLoad() override;
  void AfterLoad() override;
  void Clear() override;

  // The "FictionBook" element; nil while nothing is loaded.
  TDomElement* Root() const { return FRoot; }
  // The prefix the root element binds to the XLink namespace; empty when none.
  const WideString& XLinkPrefix() const { return FXLinkPrefix; }
  TDomElement* NotesBody() const { return FNotesBody; }
  // The "section" elements in the chains of sections under the bodies that are not the
  // notes body; set by each load.
  int32_t SectionCount() const { return FSectionCount; }

  // The bodies other than the notes body, in document order.
  int32_t GetBodyCount() const { return static_cast<int32_t>(FBodies.size()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..GetBodyCount-1.
  TDomElement* GetBody(int32_t index) const;
  int32_t CountSections() const;

  // Appends the decoded bytes of the binary with this id (compared ignoring case) to the
  // stream; contentType is its "content-type" (also when decoding fails). False, with
  // contentType empty and the stream untouched, for an unknown id; false too when the
  // Base64 text does not decode.
  bool GetBinaryData(WideStringView id, TStream& stream, WideString& contentType) const;

  // Metadata of the title and publishing information; empty when missing. Texts are the
  // elements' whole text content, untrimmed.
  WideString GetBookTitle() const;
  // The names of every "author" / "translator" of the title information, joined by ", ".
  WideString GetAuthors() const;
  WideString GetTranslators() const;
  // The display names of the known genre codes, joined by ", "; unknown codes add nothing.
  WideString GetGenres() const;
  WideString GetPublisher() const;
  WideString GetYear() const;
  WideString GetISBN() const;
  // The annotation as plain text: each "p", "empty-line", "text-author" and "v" with its
  // white space collapsed and followed by CR LF.
  WideString GetAnnotation() const;

  // The target of a link to a place in the book ("#id" gives "id"); empty for an
  // external link, a link without the XLink href, and nil.
  WideString GetLocalHref(const TDomNode* element) const;
  // The section of the notes body (or a paragraph directly in one) whose "id" is the
  // link's local target, ignoring case; nil when there is none.
  TDomElement* FindNoteElement(const TDomNode* linkElement) const;
  // The texts of the element's "p" children, white space collapsed, joined by blanks.
  static WideString GetParagraphsText(const TDomNode* element);
  // The number of enclosing sections (climbing while the parent is a section) that have
  // a "title" child.
  static int32_t GetSectionLevel(const TDomNode* element);
  // Rows: the "tr" children; columns: the widest row, each "th" or "td" counting its
  // "colspan" (1 when absent or not a number, clamped to 1..Limits.MaxColSpan). True when
  // both are positive.
  bool GetTableSize(const TDomNode* table, int32_t& rows, int32_t& columns) const;
  // A cell's span attribute ("colspan" or "rowspan") as a number: 1 when absent or not a
  // number, clamped to 1..Limits.MaxColSpan (a span of 0 would refill a cell, a negative
  // one reach outside the grid).
  int32_t GetCellSpan(const TDomNode* cell, WideStringView attribute) const;

  // Decodes the binary with this id (JPEG or PNG, by the signature of its bytes, else by
  // its content type: BookImageKind), fits it into maxWidth x maxHeight (0 or less: no
  // fitting; enlarge: small images grow too) and reduces it to depth 1 (black and white,
  // 1 bit per pixel) or 2 (four grays, 24 bits); other depths keep the decoded format.
  // False, with bitmap unchanged, for an unknown id, Base64 text that does not decode, or
  // bytes that neither their signature nor their content type make a picture. Data the
  // decoder refuses raises its exception (EJPEG, EPngError); bitmap is then unchanged too.
  bool LoadBinaryImage(WideStringView id, TBitmap& bitmap, int32_t maxWidth, int32_t maxHeight, bool enlarge,
                       int32_t depth) const;
  // LoadBinaryImage of the first image of "description/title-info/coverpage"; false when
  // there is none.
  bool LoadCoverImage(TBitmap& bitmap, int32_t maxWidth, int32_t maxHeight, bool enlarge, int32_t depth) const;

  TFB2Limits Limits;

private:
  WideString GetElementText(WideStringView path) const;
  WideString GetPersonList(WideStringView path) const;

  TDomElement* FRoot = nullptr;
  WideString FXLinkPrefix;
  std::vector<TDomElement*> FBodies;
  TDomElement* FNotesBody = nullptr;
  int32_t FSectionCount = 0;
  // Case-folded id -> the first "binary" element with that id.
  std::unordered_map<WideString, TDomElement*> FBinaries;
};
