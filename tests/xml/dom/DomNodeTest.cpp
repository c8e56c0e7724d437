#include <gtest/gtest.h>

#include "xml/XmlAllocationMeter.h"
#include "xml/dom/DomTestSupport.h"

namespace {

class DomNodeTest : public ::testing::Test, protected TDomFixture {};

TEST_F(DomNodeTest, NodeNamesValuesAndTypes) {
  TDomElement* e = Element(u"p");
  EXPECT_EQ(e->GetNodeType(), ntElement);
  EXPECT_EQ(e->GetNodeName(), u"p");
  EXPECT_EQ(Text(u"a")->GetNodeName(), u"#text");
  EXPECT_EQ(NewDomNode<TDomCDATASection>(*Document)->GetNodeName(), u"#cdata-section");
  EXPECT_EQ(Comment(u"c")->GetNodeValue(), u"c");
  EXPECT_EQ(Document->GetNodeName(), u"#document");
  EXPECT_EQ(NewDomNode<TDomDocumentFragment>(*Document)->GetNodeName(), u"#document-fragment");
  EXPECT_EQ(NewDomNode<TDomEntityReference>(*Document, u"nbsp")->GetNodeName(), u"nbsp");
  auto* pi = NewDomNode<TDomProcessingInstruction>(*Document, u"xml-stylesheet");
  pi->SetData(u"href='a'");
  EXPECT_EQ(pi->GetNodeValue(), u"href='a'");
  EXPECT_EQ(pi->GetXPathName(), u"xml-stylesheet");
  ExpectRaises<EInvalid_Character_Err>([&] { NewDomNode<TDomProcessingInstruction>(*Document, u"XmL"); },
                                       "Invalid character error.");
  ExpectRaises<EInvalid_Character_Err>([&] { NewDomNode<TDomEntityReference>(*Document, u"1"); },
                                       "Invalid character error.");
  EXPECT_EQ(Document->GetOwnerDocument(), Document);
  EXPECT_EQ(Document->GetDocument(), nullptr);
  EXPECT_EQ(e->GetOwnerDocument(), Document);
}

TEST_F(DomNodeTest, ElementFindersCompareNamesExactly) {
  TDomElement* body = Element(u"body");
  Document->AppendChild(body);
  body->AppendChild(Text(u"x"));
  TDomElement* a = Child(body, u"section");
  TDomElement* b = Child(body, u"title");
  TDomElement* c = Child(body, u"section");
  TDomElement* deep = Child(c, u"p");
  EXPECT_EQ(body->FindFirstChildElement(u"Section"), nullptr);  // letter case matters
  EXPECT_EQ(body->FindFirstChildElement(u"section"), a);
  EXPECT_EQ(body->FindLastChildElement(u"section"), c);
  EXPECT_EQ(a->FindNextSiblingElement(u"section"), c);
  EXPECT_EQ(c->FindPreviousSiblingElement(u"title"), b);
  EXPECT_EQ(deep->FindParentElement(u"body"), body);
  EXPECT_EQ(body->GetFirstChildElement(), a);
  EXPECT_EQ(body->GetLastChildElement(), c);
  EXPECT_EQ(a->GetNextSiblingElement(), b);
  EXPECT_EQ(deep->GetParentElement(), c);
  EXPECT_EQ(body->FindFirstChildElementNS(u"", u"section"), nullptr);  // plain elements have no local name
}

TEST_F(DomNodeTest, TextContentSkipsCommentsAndInstructionsButNotCDataOrEntityText) {
  TDomElement* p = Element(u"p");
  p->AppendChild(Text(u"a"));
  p->AppendChild(Comment(u"no"));
  TDomElement* em = Child(p, u"em");
  em->AppendChild(NewDomNode<TDomProcessingInstruction>(*Document, u"t"));
  auto* cdata = NewDomNode<TDomCDATASection>(*Document);
  cdata->SetData(u"b");
  em->AppendChild(cdata);
  em->AppendChild(Comment(u"no"));
  auto* ref = NewDomNode<TDomEntityReference>(*Document, u"e");
  ref->SetReadOnly(false);
  ref->AppendChild(Text(u"c"));
  ref->SetReadOnly(true);
  p->AppendChild(ref);
  EXPECT_EQ(p->GetTextContent(), u"abc");
  EXPECT_EQ(p->GetXPathStringValue(), u"abc");
  // A CDATA section is text to XPath: its string-value is its data, as in its element's.
  EXPECT_EQ(cdata->GetXPathStringValue(), u"b");
  Document->AppendChild(p);
  EXPECT_EQ(Document->GetXPathStringValue(), u"abc");
}

TEST_F(DomNodeTest, FragmentsBringTheirChildren) {
  TDomElement* p = Element(u"p");
  auto* fragment = NewDomNode<TDomDocumentFragment>(*Document);
  fragment->AppendChild(Text(u"1"));
  fragment->AppendChild(Element(u"b"));
  fragment->AppendChild(Text(u"3"));
  EXPECT_EQ(p->AppendChild(fragment), fragment);
  EXPECT_FALSE(fragment->HasChildNodes());
  EXPECT_EQ(p->GetChildNodes()->GetLength(), 3);
  EXPECT_EQ(p->GetTextContent(), u"13");
  EXPECT_EQ(p->GetChildNodes()->GetItem(1)->GetNodeName(), u"b");
  p->AppendChild(fragment);  // empty: nothing changes
  EXPECT_EQ(p->GetChildNodes()->GetLength(), 3);

  fragment->AppendChild(Text(u"x"));
  fragment->AppendChild(Text(u"y"));
  p->InsertBefore(fragment, p->GetFirstChild());
  EXPECT_EQ(p->GetTextContent(), u"xy13");
  fragment->AppendChild(Text(u"r"));
  fragment->AppendChild(Text(u"s"));
  TDomNode* old = p->GetLastChild();
  EXPECT_EQ(p->ReplaceChild(fragment, old), old);
  EXPECT_EQ(p->GetTextContent(), u"xy1rs");
}

TEST_F(DomNodeTest, ChildTypesAndTreeChecksRaiseDomExceptions) {
  ExpectRaises<EHierarchy_Request_Err>([&] { Document->AppendChild(Text(u"t")); },
                                       "Nodes of type TDomText are not allowed as children of nodes of type "
                                       "TDomDocument");
  TDomElement* e = Element(u"e");
  ExpectRaises<EHierarchy_Request_Err>([&] { e->AppendChild(e); }, "EHierarchy request error.");
  ExpectRaises<ENot_Supported_Err>([&] { e->RemoveChild(static_cast<TDomNode*>(nullptr)); }, "Node not specified.");
  ExpectRaises<ENot_Found_Err>([&] { e->RemoveChild(Text(u"x")); }, "Node not found.");
  TDomDocument* other = NewDomDocument<TDomDocument>(Implementation);
  ExpectRaises<EWrong_Document_Err>([&] { e->AppendChild(NewDomNode<TDomText>(*other)); }, "Wrong document.");
  e->SetReadOnly(true);
  ExpectRaises<ENo_Modification_Allowed_Err>([&] { e->AppendChild(Text(u"x")); }, "No modification allowed.");
  ExpectRaises<ENo_Modification_Allowed_Err>([&] { e->SetPrefix(u"a"); }, "No modification allowed error.");
  TDomText* text = Text(u"ab");
  text->SetReadOnly(true);
  ExpectRaises<ENo_Modification_Allowed_Err>([&] { text->AppendData(u"c"); }, "No modification allowed error.");
  ExpectRaises<EHierarchy_Request_Err>([&] { Text(u"a")->AppendChild(Text(u"b")); },
                                       "Nodes of type TDomText are not allowed as children of nodes of type TDomText");
}

TEST_F(DomNodeTest, CharacterDataEditing) {
  TDomText* text = Text(u"hello");
  EXPECT_EQ(text->SubstringData(5, 3), u"");  // offset at the length: empty
  ExpectRaises<EIndex_Size_Err>([&] { text->SubstringData(6, 1); }, "Index size error.");
  ExpectRaises<EIndex_Size_Err>([&] { text->SubstringData(-1, 1); }, "Index size error.");
  ExpectRaises<EIndex_Size_Err>([&] { text->SubstringData(0, -1); }, "Index size error.");
  EXPECT_EQ(text->SubstringData(1, 3), u"ell");
  text->InsertData(5, u"!");
  text->ReplaceData(0, 1, u"J");
  text->DeleteData(4, 99);
  EXPECT_EQ(text->GetData(), u"Jell");
  text->AppendData(u"y");
  EXPECT_EQ(text->GetLength(), 5);
}

// Appending and merging copy each piece once: the bytes allocated grow with the text,
// not with its square.
TEST_F(DomNodeTest, TextBuiltOfManyPiecesCostsWhatThePiecesCost) {
  constexpr int Pieces = 20000;
  TDomElement* p = Element(u"p");
  TDomText* text = Text(u"");
  p->AppendChild(text);
  {
    TAllocationMeter meter;
    for (int i = 0; i < Pieces; ++i) text->AppendData(u"ab");
    EXPECT_LT(meter.AllocatedBytes(), 16 * Pieces * 2 * int64_t(sizeof(WideChar)));
  }
  EXPECT_EQ(text->GetLength(), 2 * Pieces);
  for (int i = 0; i < Pieces; ++i) p->AppendChild(Text(u"cd"));
  int events = 0;
  Document->OnCharacterDataModified = [&](TObject*, TDomNode*) { ++events; };
  {
    TAllocationMeter meter;
    p->Normalize();
    EXPECT_LT(meter.AllocatedBytes(), 16 * Pieces * 4 * int64_t(sizeof(WideChar)));
  }
  ASSERT_EQ(p->GetChildCount(), 1);
  EXPECT_EQ(text->GetLength(), 4 * Pieces);
  EXPECT_EQ(text->SubstringData(4 * Pieces - 4, 4), u"cdcd");
  EXPECT_EQ(events, Pieces);  // one change of the first node per merged node
}

TEST_F(DomNodeTest, SplitTextMovesTheTailIntoANewSibling) {
  TDomElement* p = Element(u"p");
  TDomText* text = Text(u"abc");
  text->SetFromCharRef(true);
  p->AppendChild(text);
  p->AppendChild(Element(u"b"));
  TDomText* tail = text->SplitText(0);
  EXPECT_EQ(text->GetData(), u"");
  EXPECT_EQ(tail->GetData(), u"abc");
  EXPECT_TRUE(tail->FromCharRef());
  EXPECT_EQ(text->GetNextSibling(), tail);
  EXPECT_EQ(tail->GetNextSibling()->GetNodeName(), u"b");
  ExpectRaises<EIndex_Size_Err>([&] { tail->SplitText(4); }, "Index size error.");
}

TEST_F(DomNodeTest, DocumentOrderDepthAndTreePositions) {
  TDomElement* root = Element(u"r");
  Document->AppendChild(root);
  TDomElement* a = Child(root, u"a");
  TDomElement* b = Child(root, u"b");
  TDomElement* a1 = Child(a, u"a1");
  a->SetAttribute(u"x", u"1");
  a->SetAttribute(u"y", u"2");
  EXPECT_EQ(root->GetDocumentOrderIndex(), 1);
  EXPECT_EQ(a1->GetDocumentOrderIndex(), 3);
  EXPECT_EQ(b->GetDocumentOrderIndex(), 4);
  EXPECT_EQ(a1->GetDepth(), 3);
  EXPECT_EQ(a->GetAttributeNode(u"x")->GetDocumentOrderIndex(), -1);
  auto* fragment = NewDomNode<TDomDocumentFragment>(*Document);
  TDomElement* underFragment = Child(fragment, u"f");
  EXPECT_EQ(underFragment->GetDocumentOrderIndex(), -1);
  EXPECT_EQ(underFragment->GetDepth(), -1);

  TDomAttr* x = a->GetAttributeNode(u"x");
  TDomAttr* y = a->GetAttributeNode(u"y");
  EXPECT_EQ(x->CompareTreePosition(y), TreePositionEquivalent);
  EXPECT_EQ(a->CompareTreePosition(x), TreePositionAncestor | TreePositionPreceding);
  EXPECT_EQ(x->CompareTreePosition(a), TreePositionDescendant | TreePositionFollowing);
  EXPECT_EQ(x->CompareTreePosition(a1), TreePositionPreceding);  // attributes come before children
  EXPECT_EQ(a1->CompareTreePosition(b), TreePositionPreceding);
  EXPECT_EQ(b->CompareTreePosition(a1), TreePositionFollowing);
  EXPECT_EQ(b->CompareTreePosition(b), TreePositionSameNode | TreePositionEquivalent);
  EXPECT_EQ(b->CompareTreePosition(underFragment), TreePositionDisconnected);
  ExpectRaises<ENot_Supported_Err>([&] { b->CompareTreePosition(nullptr); }, "Not supported error.");
}

TEST_F(DomNodeTest, IsSupportedAndNamespaceFixedRule) {
  EXPECT_TRUE(Document->IsSupported(u"xml", u""));
  EXPECT_TRUE(Document->IsSupported(u"XmL", u"2.0"));
  EXPECT_FALSE(Document->IsSupported(u"XML", u"3.0"));
  EXPECT_FALSE(Document->IsSupported(u"HTML", u"1.0"));
  EXPECT_EQ(Text(u"")->LookupNamespaceUri(u"xml"), XmlNamespaceUri);
  EXPECT_EQ(Text(u"")->LookupNamespaceUri(u"xmlns"), XmlnsNamespaceUri);
  EXPECT_EQ(Text(u"")->LookupNamespaceUri(u"fb"), u"");
}

TEST_F(DomNodeTest, UserDataAndItsHandlers) {
  TDomElement* e = Element(u"e");
  TObject first, second;
  std::vector<std::string> log;
  const auto handler = [&](TDomUserDataOperation op, const WideString& key, TObject*, TDomNode* src, TDomNode* dst) {
    log.push_back(std::to_string(op) + Narrow(key) + (src ? "s" : "-") + (dst ? "d" : "-"));
  };
  EXPECT_EQ(e->SetUserData(u"k", &first, handler), nullptr);
  EXPECT_EQ(e->SetUserData(u"k", &second, handler), &first);
  EXPECT_EQ(e->GetUserData(u"k"), &second);
  EXPECT_EQ(e->GetUserData(u"K"), nullptr);
  TDomNode* clone = e->CloneNode(false);
  EXPECT_EQ(clone->GetNodeName(), u"e");
  EXPECT_EQ(clone->GetUserData(u"k"), nullptr);  // user data stays with the original
  Document->ImportNode(e, false);
  e->Free();
  EXPECT_EQ(log, (std::vector<std::string>{"1ksd", "3ksd", "2k--"}));
  TDomElement* f = Element(u"f");
  f->SetUserData(u"k", &first, nullptr);
  EXPECT_EQ(f->SetUserData(u"k", nullptr, nullptr), &first);
  EXPECT_EQ(f->GetUserData(u"k"), nullptr);
  EXPECT_EQ(f->SetUserData(u"absent", nullptr, nullptr), nullptr);
}

TEST_F(DomNodeTest, NamespaceNodeChecks) {
  TDomElement* e = Element(u"e");
  TCustomOwnedObject holder;
  auto* ns = CreateOwnedObject<TDomXPathNamespace>(holder, u"fb", u"http://x/fb", e);
  EXPECT_EQ(ns->GetNodeType(), ntXPathNamespace);
  EXPECT_EQ(ns->GetNodeValue(), u"http://x/fb");
  EXPECT_EQ(ns->GetOwnerDocument(), Document);
  EXPECT_EQ(ns->GetXPathName(), u"fb");
  EXPECT_TRUE(ns->GetReadOnly());
  ExpectRaises<EInvalid_Character_Err>([&] { TDomXPathNamespace bad(u"1", u"u", e); }, "Invalid character error.");
  ExpectRaises<ENamespace_Err>([&] { TDomXPathNamespace bad(u"xmlns", u"u", e); }, "Namespace error.");
  ExpectRaises<ENamespace_Err>([&] { TDomXPathNamespace bad(u"a", u"", e); }, "Namespace error.");
  ExpectRaises<ENamespace_Err>([&] { TDomXPathNamespace bad(u"xml", u"u", e); }, "Namespace error.");
}

// 100,000 nested elements: built, searched, copied, normalised and freed with no
// recursion on the way.
TEST(DomDeepTreeTest, HundredThousandNestedElements) {
  constexpr int Depth = 100000;
  TDomFixture dom;
  TDomElement* root = dom.Element(u"r");
  dom.Document->AppendChild(root);
  TDomElement* deepest = root;
  for (int i = 1; i < Depth; ++i) {
    deepest = dom.Child(deepest, u"e");
    if (i % 1000 == 0) deepest->AppendChild(dom.Text(u"t"));
  }
  deepest->AppendChild(dom.Text(u"a"));
  deepest->AppendChild(dom.Text(u"b"));
  EXPECT_EQ(deepest->GetDepth(), Depth);
  EXPECT_EQ(deepest->GetBaseUri(), u"");
  EXPECT_EQ(deepest->GetLanguage(), u"");
  EXPECT_EQ(deepest->LookupNamespaceUri(u"x"), u"");
  EXPECT_EQ(root->GetTextContent().size(), size_t(Depth / 1000 - 1 + 2));
  EXPECT_EQ(root->GetElementsByTagName(u"e")->GetLength(), Depth - 1);
  EXPECT_EQ(deepest->CompareTreePosition(root), TreePositionDescendant | TreePositionFollowing);
  root->Normalize();
  EXPECT_EQ(deepest->GetFirstChild()->GetNodeValue(), u"ab");
  TDomNode* copy = root->CloneNode(true);
  EXPECT_EQ(copy->GetTextContent(), root->GetTextContent());
  TDomTreeWalker* walker = dom.Document->CreateTreeWalker(root, ShowAll, true, nullptr);
  int visited = 0;
  while (walker->NextNode()) ++visited;
  EXPECT_EQ(visited, Depth - 1 + Depth / 1000 - 1 + 1);
  dom.Document->Clear();
  EXPECT_EQ(dom.Document->OwnedObjectCount(), 0);
}

}  // namespace
