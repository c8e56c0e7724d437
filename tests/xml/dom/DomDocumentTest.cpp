#include <gtest/gtest.h>

#include "xml/dom/DomTestSupport.h"

namespace {

class DomDocumentTest : public ::testing::Test, protected TDomFixture {
protected:
  TDomDocumentTypeDecl* Doctype() {
    return NewDomNode<TDomDocumentTypeDecl>(*Document, u"", u"fb.dtd", u"", u"FictionBook");
  }
};

TEST_F(DomDocumentTest, OneDocumentElementAndOneDoctypeInOrder) {
  TDomElement* root = Element(u"FictionBook");
  Document->AppendChild(root);
  ExpectRaises<EHierarchy_Request_Err>([&] { Document->AppendChild(Element(u"second")); }, "Hierarchy request error.");
  Document->AppendChild(Comment(u"after"));  // allowed
  ExpectRaises<EHierarchy_Request_Err>([&] { Document->AppendChild(Doctype()); }, "Hierarchy request error.");
  ExpectRaises<EHierarchy_Request_Err>([&] { Document->InsertBefore(Doctype(), nullptr); }, "Hierarchy request error.");
  TDomDocumentTypeDecl* doctype = Doctype();
  Document->InsertBefore(doctype, root);
  EXPECT_EQ(Document->GetDoctypeDecl(), doctype);
  EXPECT_EQ(Document->GetDocumentElement(), root);
  ExpectRaises<ENot_Supported_Err>([&] { Document->AppendChild(static_cast<TDomNode*>(nullptr)); },
                                   "Not supported error.");
  // Replacing the document element by another element is allowed.
  TDomElement* other = Element(u"other");
  EXPECT_EQ(Document->ReplaceChild(other, root), root);
  EXPECT_EQ(Document->GetDocumentElement(), other);
}

TEST_F(DomDocumentTest, ElementsOnlyAfterTheDoctype) {
  TDomDocumentTypeDecl* doctype = Doctype();
  TDomComment* comment = Comment(u"c");
  Document->AppendChild(comment);
  Document->AppendChild(doctype);
  ExpectRaises<EHierarchy_Request_Err>([&] { Document->InsertBefore(Element(u"e"), doctype); },
                                       "Hierarchy request error.");
  ExpectRaises<EHierarchy_Request_Err>([&] { Document->InsertBefore(Element(u"e"), comment); },
                                       "Hierarchy request error.");
  Document->InsertBefore(Element(u"e"), nullptr);
  EXPECT_NE(Document->GetDocumentElement(), nullptr);
}

TEST_F(DomDocumentTest, CopyAndImport) {
  TDomElement* p = Element(u"p");
  p->SetAttribute(u"id", u"x");
  auto* unspecified = NewDomNode<TDomAttr>(*Document, false, u"style");
  p->SetAttributeNode(unspecified);
  p->AppendChild(Text(u"t"));
  auto* shallow = static_cast<TDomElement*>(p->CloneNode(false));
  EXPECT_EQ(shallow->GetAttributeValue(u"id"), u"x");
  EXPECT_FALSE(shallow->HasAttribute(u"style"));  // only specified attributes are copied
  EXPECT_FALSE(shallow->HasChildNodes());
  auto* deep = static_cast<TDomElement*>(p->CloneNode(true));
  EXPECT_EQ(deep->GetTextContent(), u"t");
  ExpectRaises<ENot_Supported_Err>([&] { Document->CopyNode(Doctype(), false); }, "Not supported error.");
  ExpectRaises<ENot_Supported_Err>([&] { Document->CopyNode(Document, true); }, "Not supported error.");
  ExpectRaises<ENot_Supported_Err>([&] { Document->CopyNode(nullptr, true); }, "Not supported error.");

  TDomDocument* other = NewDomDocument<TDomDocument>(Implementation);
  auto* imported = static_cast<TDomElement*>(other->ImportNode(p, true));
  EXPECT_EQ(imported->GetOwnerDocument(), other);
  EXPECT_EQ(imported->GetAttributeNode(u"id")->GetOwnerDocument(), other);
  EXPECT_EQ(imported->GetTextContent(), u"t");
  auto* ref = NewDomNode<TDomEntityReference>(*Document, u"e");
  EXPECT_EQ(other->ImportNode(ref, true)->GetNodeName(), u"e");
}

TEST_F(DomDocumentTest, NodeEventsReachDocumentThenImplementation) {
  std::vector<std::string> log;
  Document->OnNodeInserted = [&](TObject* sender, TDomNode* n) {
    log.push_back((sender == Document ? "doc+" : "?+") + Narrow(n->GetNodeName()));
  };
  Implementation.OnNodeInserted = [&](TObject* sender, TDomNode* n) {
    log.push_back((sender == &Implementation ? "impl+" : "?+") + Narrow(n->GetNodeName()));
  };
  Document->OnNodeRemoving = [&](TObject*, TDomNode*) { throw EAbort("stop"); };
  Implementation.OnNodeRemoving = [&](TObject*, TDomNode* n) { log.push_back("impl-" + Narrow(n->GetNodeName())); };
  Implementation.OnCharacterDataModified = [&](TObject*, TDomNode* n) {
    log.push_back("data" + Narrow(n->GetNodeValue()));
  };
  Document->SetModified(false);
  TDomElement* e = Element(u"e");
  Document->AppendChild(e);
  EXPECT_TRUE(Document->Modified());
  // A handler that raises still lets the implementation hear.
  EXPECT_THROW(Document->RemoveChild(e), EAbort);
  EXPECT_EQ(e->GetParentNode(), Document);  // the removal did not happen
  Text(u"z");
  EXPECT_EQ(log, (std::vector<std::string>{"doc+e", "impl+e", "impl-e", "dataz"}));
}

TEST_F(DomDocumentTest, ErrorHandling) {
  const TDomError fatal(75, nullptr, u"", u""), warning(88, nullptr, u"", u"");
  EXPECT_FALSE(Implementation.HandleError(nullptr, &fatal));
  EXPECT_TRUE(Implementation.HandleError(nullptr, &warning));
  int calls = 0;
  Implementation.OnError = [&](TObject*, const TDomError&, bool& go) {
    ++calls;
    go = true;
  };
  EXPECT_TRUE(Implementation.HandleError(nullptr, &fatal));
  Implementation.DisableErrorEvents();
  EXPECT_FALSE(Implementation.HandleError(nullptr, &fatal));
  Implementation.EnableErrorEvents();
  EXPECT_EQ(calls, 1);
  ExpectRaises<ENot_Supported_Err>([&] { Implementation.HandleError(nullptr, nullptr); }, "Not supported error.");
}

TEST(DomImplementationTest, FreeAllDocumentsFreesEveryDocument) {
  TDomImplementation implementation(nullptr);
  for (int i = 0; i < 3; ++i) {
    TDomDocument* document = NewDomDocument<TDomDocument>(implementation);
    document->AppendChild(NewDomNode<TDomElement>(*document, u"r"));
  }
  EXPECT_EQ(implementation.GetDocuments()->GetLength(), 3);
  implementation.FreeAllDocuments();
  EXPECT_EQ(implementation.GetDocuments()->GetLength(), 0);
  TDomDocument* kept = NewDomDocument<TDomDocument>(implementation);
  std::unique_ptr<TDomCustomDocument> taken = implementation.RemoveDocument(kept);
  EXPECT_EQ(taken.get(), kept);
  EXPECT_EQ(kept->GetDomImplementation(), nullptr);
}

TEST_F(DomDocumentTest, ResolveAttributeValue) {
  const struct {
    const char16_t* Literal;
    int Error;
    const char16_t* Value;
  } cases[] = {
      {u"a&lt;b&gt;&amp;&apos;&quot;", 0, u"a<b>&'\""},
      {u"&#x41;&#66;\t\n", 0, u"AB  "},
      // A character reference may stand for "<": only entities must not bring one in.
      {u"&#60;", 0, u"<"},
      {u"&#1;", 60, u""},
      {u"&nbsp;", 35, u""},
      {u"x&amp", 96, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.Literal));
    TXmlErrorKind error = 255;
    WideString value = u"stale";
    Document->ResolveAttributeValue(c.Literal, 0, error, value);
    EXPECT_EQ(error, c.Error);
    EXPECT_EQ(Narrow(value), Narrow(c.Value));
  }
}

TEST_F(DomDocumentTest, BaseUriAndWhitespaceWithoutADtd) {
  Document->DocumentUri = u"file:///a b.fb2";  // not a URI reference
  EXPECT_EQ(Document->GetBaseUri(), u"");
  Document->DocumentUri = u"file:///a.fb2";
  EXPECT_EQ(Document->GetBaseUri(), u"file:///a.fb2");
  TDomElement* e = Element(u"e");
  TDomText* blank = Text(u" \n");
  e->AppendChild(blank);
  EXPECT_FALSE(blank->IsWhitespaceInElementContent());  // no DTD declares element content
  EXPECT_EQ(Document->GetAttrDeclType(u"e", u"a"), 0);
  EXPECT_EQ(Document->GetElementById(u"a"), nullptr);
  e->SetAttributeNode(NewDomNode<TDomAttr>(*Document, false, u"default"));
  Document->AppendChild(e);
  EXPECT_TRUE(Document->RestoreAllDefaultAttributes());
  EXPECT_FALSE(e->HasAttribute(u"default"));
}

// A resolver over fixed texts.
class TTestResolver final : public TCustomResourceResolver {
public:
  using TCustomResourceResolver::TCustomResourceResolver;
  std::unique_ptr<TStream> ResolveResource(WideStringView, WideStringView, WideString& systemId) override {
    if (systemId == u"missing") return nullptr;
    return std::make_unique<TStringStream>(Narrow(systemId));
  }
};

TEST_F(DomDocumentTest, ResolveResourceAsWideString) {
  TXmlErrorKind error = 255;
  WideString text;
  ExpectRaises<ENot_Found_Err>([&] { Implementation.ResolveResourceAsWideString(u"", u"", u"x", error, text); },
                               "No resource resolver assigned to DOM implementation.");
  {
    TTestResolver resolver(nullptr);
    Implementation.SetResourceResolver(&resolver);
    const struct {
      const char16_t* Content;  // the resolver hands back the system id's text
      int Error;
      const char16_t* Text;
    } cases[] = {
        {u"<?xml encoding='UTF-8'?><!ENTITY a 'b'>", 0, u"<!ENTITY a 'b'>"},
        {u"plain", 0, u"plain"},
        {u"<?xml version='1.0' encoding='UTF-8'?>x", 0, u"x"},
        {u"<?xml version='1.0'?>x", 69, u""},
        {u"<?xml version='1.1' encoding='UTF-8'?>x", 151, u""},
        {u"<?xml encoding='x-none'?>x", 147, u""},
        {u"missing", 148, u""},
        {u"after failures", 0, u"after failures"},  // nothing of a failed read lingers
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(Narrow(c.Content));
      Implementation.ResolveResourceAsWideString(u"", u"", c.Content, error, text);
      EXPECT_EQ(error, c.Error);
      EXPECT_EQ(Narrow(text), Narrow(c.Text));
    }
  }
  // The resolver is gone: the implementation heard of it.
  EXPECT_EQ(Implementation.ResourceResolver(), nullptr);
}

}  // namespace
