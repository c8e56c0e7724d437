#include <gtest/gtest.h>

#include "xml/XmlAllocationMeter.h"
#include "xml/dom/DomTestSupport.h"

namespace {

class DomElementTest : public ::testing::Test, protected TDomFixture {
protected:
  DomElementTest() {
    Document->OnAttrModified = [this](TObject*, TDomNode*, TDomAttrChange change, TDomAttr* attr) {
      Events.push_back(std::to_string(change) + Narrow(attr->GetNodeName()));
    };
  }
  std::vector<std::string> Events;
};

TEST_F(DomElementTest, AttributesByName) {
  TDomElement* e = Element(u"image");
  EXPECT_EQ(e->GetAttributeValue(u"href"), u"");  // absent: empty, no error
  EXPECT_NE(e->SetAttribute(u"l:href", u"#a"), nullptr);
  EXPECT_EQ(e->SetAttribute(u"l:href", u"#b"), nullptr);
  EXPECT_EQ(e->GetAttributes()->GetLength(), 1);
  EXPECT_EQ(e->GetAttributeValue(u"l:href"), u"#b");
  EXPECT_TRUE(e->HasAttribute(u"l:href"));
  EXPECT_EQ(Events, (std::vector<std::string>{"0l:href", "1l:href"}));
  TDomAttr* attr = e->GetAttributeNode(u"l:href");
  EXPECT_EQ(attr->GetOwnerElement(), e);
  EXPECT_EQ(attr->GetNextSibling(), nullptr);
  EXPECT_EQ(e->RemoveAttribute(u"l:href"), attr);
  EXPECT_EQ(attr->GetOwnerElement(), nullptr);
  EXPECT_EQ(attr->Owner(), Document);  // detached, still owned
  EXPECT_EQ(Events.back(), "2l:href");
  ExpectRaises<ENot_Found_Err>([&] { e->RemoveAttribute(u"l:href"); }, "Node not found error.");
  ExpectRaises<ENamespace_Err>([&] { e->GetAttributeNodeNS(u"u", u"href"); }, "Namespace error.");
}

TEST_F(DomElementTest, AttributeNodesAndTheirMaps) {
  TDomElement* a = Element(u"a");
  TDomElement* b = Element(u"b");
  auto* attr = NewDomNode<TDomAttr>(*Document, true, u"id");
  attr->SetNodeValue(u"x");
  EXPECT_EQ(a->SetAttributeNode(attr), nullptr);
  EXPECT_EQ(a->SetAttributeNode(attr), nullptr);  // already there: nothing happens
  EXPECT_EQ(Events, (std::vector<std::string>{"0id"}));
  ExpectRaises<EInuse_Err>([&] { b->SetAttributeNode(attr); }, "Inuse attribute error.");
  auto* replacement = NewDomNode<TDomAttr>(*Document, true, u"id");
  EXPECT_EQ(a->SetAttributeNode(replacement), attr);
  EXPECT_EQ(a->GetAttributeNode(u"id"), replacement);
  ExpectRaises<EHierarchy_Request_Err>([&] { a->GetAttributes()->SetNamedItem(Text(u"t")); },
                                       "Hierarchy request error.");
  TDomDocument* other = NewDomDocument<TDomDocument>(Implementation);
  ExpectRaises<EWrong_Document_Err>([&] { a->SetAttributeNode(NewDomNode<TDomAttr>(*other, true, u"z")); },
                                    "Wrong document error.");
  // Freeing an attribute that belongs to an element takes it out of the map first.
  replacement->Free();
  EXPECT_EQ(a->GetAttributes()->GetLength(), 0);
}

TEST_F(DomElementTest, NamesAreChecked) {
  ExpectRaises<EInvalid_Character_Err>([&] { Element(u"1p"); }, "Invalid character error.");
  ExpectRaises<EInvalid_Character_Err>([&] { NewDomNode<TDomAttr>(*Document, true, u"a b"); },
                                       "Invalid character error.");
  EXPECT_EQ(NewDomNode<TDomAttr>(*Document, true, u"xmlns")->GetNamespaceDeclarationKind(), ndkDefault);
  EXPECT_EQ(NewDomNode<TDomAttr>(*Document, true, u"xmlns:l")->GetNamespaceDeclarationKind(), ndkPrefixed);
  EXPECT_EQ(NewDomNode<TDomAttr>(*Document, true, u"href")->GetNamespaceDeclarationKind(), ndkNone);
}

TEST_F(DomElementTest, NormalizeJoinsAdjacentTexts) {
  TDomElement* p = Element(u"p");
  p->AppendChild(Text(u"a"));
  p->AppendChild(Text(u"b"));
  p->AppendChild(Comment(u"c"));
  p->AppendChild(Text(u"c"));
  TDomElement* inner = Child(p, u"i");
  inner->AppendChild(Text(u"x"));
  inner->AppendChild(Text(u""));
  inner->AppendChild(Text(u"y"));
  p->Normalize();
  ASSERT_EQ(p->GetChildCount(), 4);
  EXPECT_EQ(p->GetFirstChild()->GetNodeValue(), u"ab");
  EXPECT_EQ(p->GetChildNodes()->GetItem(1)->GetNodeType(), ntComment);
  EXPECT_EQ(p->GetChildNodes()->GetItem(2)->GetNodeValue(), u"c");
  EXPECT_EQ(inner->GetChildCount(), 1);
  EXPECT_EQ(inner->GetFirstChild()->GetNodeValue(), u"xy");
}

TEST_F(DomElementTest, ClearRemovesAttributesAndChildren) {
  TDomElement* p = Element(u"p");
  p->SetAttribute(u"a", u"1");
  p->AppendChild(Text(u"t"));
  int clearing = 0;
  Document->OnNodeClearing = [&](TObject*, TDomNode*) { ++clearing; };
  Events.clear();
  p->Clear();
  EXPECT_EQ(p->GetAttributes()->GetLength(), 0);
  EXPECT_FALSE(p->HasChildNodes());
  EXPECT_EQ(Events, std::vector<std::string>{"2a"});
  EXPECT_EQ(clearing, 0);  // elements announce their attributes instead
}

TEST_F(DomElementTest, LanguageBaseUriAndNamespaceLookup) {
  TDomElement* root = Element(u"r");
  Document->AppendChild(root);
  Document->DocumentUri = u"file:///books/a.fb2";
  root->SetAttribute(u"xml:lang", u"ru");
  root->SetAttribute(u"xmlns", u"http://x/fb");
  root->SetAttribute(u"xml:base", u"img/");
  TDomElement* p = Child(root, u"p");
  TDomText* t = Text(u"t");
  p->AppendChild(t);
  EXPECT_EQ(t->GetLanguage(), u"ru");
  EXPECT_EQ(p->GetBaseUri(), u"file:///books/img/");
  EXPECT_EQ(root->GetAttributeNode(u"xml:base")->GetBaseUri(), u"file:///books/a.fb2");
  EXPECT_EQ(p->LookupNamespaceUri(u""), u"http://x/fb");
  EXPECT_EQ(root->GetAttributeNode(u"xml:lang")->GetLanguage(), u"ru");
}

TEST_F(DomElementTest, ResolvedValues) {
  TDomElement* e = Element(u"e");
  e->SetAttribute(u"a", u"x&amp;y&#65; \tz");
  EXPECT_EQ(e->GetAttributeResolvedValue(u"a"), u"x&yA  z");
  e->SetAttribute(u"b", u"&unknown;");
  ExpectRaises<EConvertError>([&] { e->GetAttributeResolvedValue(u"b"); },
                              "Literal attribute value cannot be resolved.");
  ExpectRaises<EConvertError>([&] { e->GetAttributeNode(u"b")->GetResolvedValue(); },
                              "Attribute value normalization failed.");
  EXPECT_EQ(e->GetAttributeResolvedValue(u"none"), u"");
}

// Most elements of a book have no attribute: asking for one makes no map.
TEST_F(DomElementTest, LookupsOnAnElementWithoutAttributesMakeNothing) {
  std::vector<TDomElement*> elements;
  for (int i = 0; i < 100; ++i) elements.push_back(Element(u"p"));
  TAllocationMeter meter;
  for (TDomElement* e : elements) {
    EXPECT_EQ(e->GetAttributeValue(u"id"), u"");
    EXPECT_FALSE(e->HasAttribute(u"id"));
    EXPECT_FALSE(e->HasAttributes());
    EXPECT_EQ(e->AttributeCount(), 0);
  }
  EXPECT_EQ(meter.Allocations(), 0);
}

// A map of many items keeps an index beside its order; lookups, removals and additions
// agree with a scan.
TEST_F(DomElementTest, ALargeAttributeMapStaysInOrderAndFindsEveryItem) {
  TDomElement* e = Element(u"p");
  const auto name = [](int i) {
    return u"attribute-" + WideString(1, WideChar(u'a' + i % 26)) + WideString(1, WideChar(u'a' + i / 26));
  };
  for (int i = 0; i < 40; ++i) e->SetAttribute(name(i), WideString(1, WideChar(u'a' + i % 26)));
  for (int i = 0; i < 40; ++i) EXPECT_EQ(e->GetAttributeNode(name(i))->GetNodeName(), name(i));
  EXPECT_EQ(e->GetAttributeNode(u"attribute-"), nullptr);
  e->RemoveAttribute(name(5))->Free();
  EXPECT_EQ(e->GetAttributeNode(name(5)), nullptr);
  EXPECT_EQ(e->GetAttributes()->GetItem(5)->GetNodeName(), name(6));
  e->SetAttribute(name(5), u"again");
  EXPECT_EQ(e->GetAttributes()->GetItem(39)->GetNodeName(), name(5));  // added last
  EXPECT_EQ(e->GetAttributeValue(name(5)), u"again");
  EXPECT_EQ(e->AttributeCount(), 40);
}

class DomElementNSTest : public ::testing::Test {
protected:
  TDomImplementation Implementation{nullptr};
  TDomDocumentNS* Document = NewDomDocument<TDomDocumentNS>(Implementation);
};

TEST_F(DomElementNSTest, NamespaceAwareElementsAndAttributes) {
  auto* e = NewDomNode<TDomElement>(*Document, u"fb:p", u"http://x/fb");
  EXPECT_EQ(e->GetPrefix(), u"fb");
  EXPECT_EQ(e->GetLocalName(), u"p");
  ExpectRaises<ENamespace_Err>([&] { e->GetAttributeValue(u"a"); }, "Namespace error.");
  ExpectRaises<ENamespace_Err>([&] { NewDomNode<TDomElement>(*Document, u"a:b:c", u"u"); }, "Namespace error.");
  ExpectRaises<EInvalid_Character_Err>([&] { NewDomNode<TDomElement>(*Document, u"1:b", u"u"); },
                                       "Invalid character error.");
  ExpectRaises<ENamespace_Err>([&] { NewDomNode<TDomElement>(*Document, u"a:b", u""); }, "Namespace error.");
  ExpectRaises<ENamespace_Err>([&] { NewDomNode<TDomElement>(*Document, u"xml:b", u"u"); }, "Namespace error.");
  ExpectRaises<ENamespace_Err>([&] { NewDomNode<TDomAttr>(*Document, true, u"xmlns", u"u"); }, "Namespace error.");
  auto* xmlns = NewDomNode<TDomAttr>(*Document, true, u"xmlns", XmlnsNamespaceUri);
  ExpectRaises<ENamespace_Err>([&] { xmlns->SetPrefix(u"a"); }, "Namespace error.");

  EXPECT_NE(e->SetAttributeNS(u"http://www.w3.org/1999/xlink", u"l:href", u"#a"), nullptr);
  EXPECT_EQ(e->SetAttributeNS(u"http://www.w3.org/1999/xlink", u"xlink:href", u"#b"), nullptr);
  TDomAttr* href = e->GetAttributeNodeNS(u"http://www.w3.org/1999/xlink", u"href");
  EXPECT_EQ(href->GetNodeName(), u"xlink:href");
  EXPECT_EQ(e->GetAttributeValueNS(u"http://www.w3.org/1999/xlink", u"href"), u"#b");
  ExpectRaises<ENamespace_Err>([&] { e->SetAttributeNS(u"u", u"xmlns:a", u"v"); }, "Namespace error.");
  e->SetAttributeNS(XmlnsNamespaceUri, u"xmlns:l", u"http://www.w3.org/1999/xlink");
  EXPECT_EQ(e->LookupNamespaceUri(u"l"), u"http://www.w3.org/1999/xlink");
  e->SetPrefix(u"f");
  EXPECT_EQ(e->GetNodeName(), u"f:p");
  ExpectRaises<ENamespace_Err>([&] { e->SetAttribute(u"a", u"b"); }, "Namespace error.");
}

TEST_F(DomElementNSTest, ALargeMapFindsAnAttributeWhosePrefixChanged) {
  auto* e = NewDomNode<TDomElement>(*Document, u"p", u"u");
  for (int i = 0; i < 20; ++i)
    e->SetAttributeNS(u"http://x/" + WideString(1, WideChar(u'a' + i)), u"x:n", WideString(1, WideChar(u'a' + i)));
  TDomAttr* attr = e->GetAttributeNodeNS(u"http://x/c", u"n");
  ASSERT_NE(attr, nullptr);
  attr->SetPrefix(u"y");
  EXPECT_EQ(e->GetAttributeNodeNS(u"http://x/c", u"n"), attr);
  EXPECT_EQ(e->GetAttributeValueNS(u"http://x/t", u"n"), u"t");
  EXPECT_EQ(e->GetAttributeNodeNS(u"http://x/z", u"n"), nullptr);
}

TEST_F(DomElementNSTest, IdLookupsWorkInTheNamespaceDocument) {
  auto* e = NewDomNode<TDomElement>(*Document, u"p", u"u");
  Document->IdList().AddObject(u"n1", e);
  EXPECT_EQ(Document->GetElementById(u"n1"), e);
  EXPECT_EQ(Document->GetElementById(u"n2"), nullptr);
}

}  // namespace
