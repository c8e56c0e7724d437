#include "fb2/cFictionBook2.h"

#include <algorithm>
#include <limits>

#include "fb2/FB2TagNames.h"
#include "fb2/uBase64.h"
#include "fb2/uFB2Genres.h"
#include "platform/base/CompareString.h"
#include "platform/base/Format.h"
#include "platform/base/Numbers.h"
#include "platform/base/TextUtils.h"
#include "xml/dom/DomDocument.h"
#include "xml/dom/DomTextRoutines.h"

namespace {

bool SameWideText(WideStringView a, WideStringView b) { return CompareWideStrings(a, b, true) == 0; }

// Appends text after a separator (none before the first item), trimmed of blanks and
// control characters at both ends. An empty text adds nothing; a text of blanks only is
// not empty, so it adds the separator alone.
void AppendItem(WideString& result, WideStringView text, WideStringView separator) {
  if (text.empty()) return;
  if (!result.empty()) result += separator;
  result += Trim(text);
}
void AppendWord(WideString& result, WideStringView text) { AppendItem(result, text, u" "); }
void AppendListItem(WideString& result, WideStringView text) { AppendItem(result, text, u", "); }

WideString TextOf(const TDomNode* element) { return element == nullptr ? WideString() : element->GetTextContent(); }

// First, middle and last name; the nickname only when all three give nothing.
WideString GetPersonName(const TDomElement& person) {
  WideString name;
  for (const WideChar* part : {TagFirstName, TagMiddleName, TagLastName})
    AppendWord(name, TextOf(person.FindFirstChildElement(part)));
  if (name.empty()) AppendWord(name, TextOf(person.FindFirstChildElement(TagNickname)));
  return name;
}

bool IsPlainTextLine(const TDomNode& element) {
  const WideString name = element.GetNodeName();
  return SameWideText(name, TagP) || SameWideText(name, TagEmptyLine) || SameWideText(name, TagTextAuthor) ||
         SameWideText(name, TagV);
}

// The plain text of a subtree in document order: text nodes with white space collapsed,
// each line-like element as one collapsed line ending in CR LF (its children are not
// visited again), every other element transparent.
WideString GetPlainText(const TDomNode* root) {
  WideString text;
  for (const TDomNode* node = root; node != nullptr;) {
    bool descend = false;
    switch (TXML::GetNodeKind(node)) {
      case 1:
        text += CollapseWhiteSpace(node->GetNodeValue());
        break;
      case 0:
        if (IsPlainTextLine(*node))
          text += CollapseWhiteSpace(node->GetTextContent()) + u"\r\n";
        else
          descend = true;
        break;
      default:
        break;
    }
    node = static_cast<const TDomNode*>(NextInSubtree(root, node, descend));
  }
  return text;
}

// The sections in the chains of "section" children below the element.
int32_t CountSectionsIn(const TDomElement& top) {
  int32_t count = 0;
  std::vector<const TDomElement*> pending{&top};
  while (!pending.empty()) {
    const TDomElement* element = pending.back();
    pending.pop_back();
    for (const TDomElement* section = element->FindFirstChildElement(TagSection); section != nullptr;
         section = section->FindNextSiblingElement(TagSection)) {
      ++count;
      pending.push_back(section);
    }
  }
  return count;
}

}  // namespace

void TFictionBook2::BeforeLoad() {
  TXML::BeforeLoad();
  FSectionCount = 0;
}

void TFictionBook2::Clear() {
  TXML::Clear();
  FRoot = nullptr;
  FNotesBody = nullptr;
  FXLinkPrefix.clear();
  FBodies.clear();
  FBinaries.clear();
}

void TFictionBook2::AfterLoad() {
  TXML::AfterLoad();
  FRoot = Document()->FindFirstChildElement(TagFictionBook);
  if (FRoot == nullptr) throw EFictionBook2Error(SNoFictionBookRoot);

  const TDomNamedNodeMap* attributes = FRoot->GetAttributes();
  for (int32_t i = 0; i < attributes->GetLength(); ++i) {
    const TDomNode* attribute = attributes->GetItem(i);
    if (SameWideText(attribute->GetNodeValue(), XLinkNamespace)) {
      FXLinkPrefix = ExtractLocalName(attribute->GetNodeName());
      break;
    }
  }

  for (TDomElement* body = FRoot->FindFirstChildElement(TagBody); body != nullptr;
       body = body->FindNextSiblingElement(TagBody)) {
    if (SameWideText(GetAttributeValue(body, AttrName), ValueNotes))
      FNotesBody = body;  // a later notes body replaces an earlier one
    else
      FBodies.push_back(body);
  }

  for (TDomElement* binary = FRoot->FindFirstChildElement(TagBinary); binary != nullptr;
       binary = binary->FindNextSiblingElement(TagBinary)) {
    const WideString id = GetAttributeValue(binary, AttrId);
    if (!id.empty()) FBinaries.try_emplace(CaseFoldWide(id), binary);  // the first of equal ids stays
  }

  FSectionCount = CountSections();
}

TDomElement* TFictionBook2::GetBody(int32_t index) const {
  if (index < 0 || index >= GetBodyCount()) throw EListError(Format(SListIndexError, {index}));
  return FBodies[static_cast<size_t>(index)];
}

int32_t TFictionBook2::CountSections() const {
  if (FRoot == nullptr) return 0;
  int32_t count = 0;
  for (const TDomElement* body = FRoot->FindFirstChildElement(TagBody); body != nullptr;
       body = body->FindNextSiblingElement(TagBody))
    if (body != FNotesBody) count += CountSectionsIn(*body);
  return count;
}

bool TFictionBook2::GetBinaryData(WideStringView id, TStream& stream, WideString& contentType) const {
  contentType.clear();
  const auto found = FBinaries.find(CaseFoldWide(id));
  if (found == FBinaries.end()) return false;
  contentType = GetAttributeValue(found->second, AttrContentType);
  return Base64Decode(found->second->GetTextContent(), stream);
}

WideString TFictionBook2::GetElementText(WideStringView path) const { return TextOf(FindElementByPath(FRoot, path)); }

WideString TFictionBook2::GetPersonList(WideStringView path) const {
  WideString list;
  for (const TDomNode* person = FindElementByPath(FRoot, path); person != nullptr;
       person = person->FindNextSiblingElement(person->GetNodeName()))
    AppendListItem(list, GetPersonName(static_cast<const TDomElement&>(*person)));
  return list;
}

WideString TFictionBook2::GetBookTitle() const { return GetElementText(u"description/title-info/book-title"); }
WideString TFictionBook2::GetAuthors() const { return GetPersonList(u"description/title-info/author"); }
WideString TFictionBook2::GetTranslators() const { return GetPersonList(u"description/title-info/translator"); }
WideString TFictionBook2::GetPublisher() const { return GetElementText(u"description/publish-info/publisher"); }
WideString TFictionBook2::GetYear() const { return GetElementText(u"description/publish-info/year"); }
WideString TFictionBook2::GetISBN() const { return GetElementText(u"description/publish-info/isbn"); }

WideString TFictionBook2::GetGenres() const {
  WideString list;
  for (const TDomNode* genre = FindElementByPath(FRoot, u"description/title-info/genre"); genre != nullptr;
       genre = genre->FindNextSiblingElement(genre->GetNodeName()))
    AppendListItem(list, GetGenreName(genre->GetTextContent()));
  return list;
}

WideString TFictionBook2::GetAnnotation() const {
  const TDomNode* annotation = FindElementByPath(FRoot, u"description/title-info/annotation");
  return annotation == nullptr ? WideString() : GetPlainText(annotation);
}

WideString TFictionBook2::GetLocalHref(const TDomNode* element) const {
  const WideString href = GetAttributeValue(element, FXLinkPrefix + AttrHrefSuffix);
  if (href.empty() || href.front() != u'#') return {};
  return href.substr(1);
}

TDomElement* TFictionBook2::FindNoteElement(const TDomNode* linkElement) const {
  if (FNotesBody == nullptr) return nullptr;
  const WideString target = GetLocalHref(linkElement);
  if (target.empty()) return nullptr;
  for (TDomElement* section = FNotesBody->FindFirstChildElement(TagSection); section != nullptr;
       section = section->FindNextSiblingElement(TagSection)) {
    if (SameWideText(GetAttributeValue(section, AttrId), target)) return section;
    for (TDomElement* paragraph = section->FindFirstChildElement(TagP); paragraph != nullptr;
         paragraph = paragraph->FindNextSiblingElement(TagP))
      if (SameWideText(GetAttributeValue(paragraph, AttrId), target)) return paragraph;
  }
  return nullptr;
}

WideString TFictionBook2::GetParagraphsText(const TDomNode* element) {
  WideString text;
  if (element == nullptr) return text;
  for (const TDomElement* paragraph = element->FindFirstChildElement(TagP); paragraph != nullptr;
       paragraph = paragraph->FindNextSiblingElement(TagP))
    AppendWord(text, CollapseWhiteSpace(paragraph->GetTextContent()));
  return text;
}

int32_t TFictionBook2::GetSectionLevel(const TDomNode* element) {
  int32_t level = 0;
  if (element == nullptr) return level;
  for (const TDomNode* node = element->GetParentNode();
       node != nullptr && SameWideText(node->GetNodeName(), TagSection); node = node->GetParentNode())
    if (node->FindFirstChildElement(TagTitle) != nullptr) ++level;
  return level;
}

int32_t TFictionBook2::GetCellSpan(const TDomNode* cell, WideStringView attribute) const {
  int32_t errorPos = 0;
  const int32_t span = Val(TXML::GetAttributeValue(cell, attribute), errorPos);
  if (errorPos != 0) return 1;
  return std::clamp(span, 1, std::max(Limits.MaxColSpan, 1));
}

bool TFictionBook2::GetTableSize(const TDomNode* table, int32_t& rows, int32_t& columns) const {
  rows = 0;
  columns = 0;
  if (table == nullptr) return false;
  for (const TDomElement* row = table->FindFirstChildElement(TagTr); row != nullptr;
       row = row->FindNextSiblingElement(TagTr)) {
    if (rows < std::numeric_limits<int32_t>::max()) ++rows;
    int64_t width = 0;
    for (const TDomNode* cell = row->GetFirstChild(); cell != nullptr; cell = cell->GetNextSibling()) {
      if (GetNodeKind(cell) != 0) continue;
      const WideString name = cell->GetNodeName();
      if (name == TagTh || name == TagTd) width += GetCellSpan(cell, AttrColSpan);
    }
    columns =
        static_cast<int32_t>(std::max<int64_t>(columns, std::min<int64_t>(width, std::numeric_limits<int32_t>::max())));
  }
  return rows > 0 && columns > 0;
}
