#include <gtest/gtest.h>

#include "xml/XmlAllocationMeter.h"
#include "xml/dom/DomElement.h"
#include "xml/dom/DomNode.h"
#include "xml/dom/DomTestSupport.h"
#include "xml/dtd/DtdTestSupport.h"
#include "xml/dtd/DtdValidationAgent.h"
#include "xml/parser/DomError.h"

namespace {

const std::vector<WideString> None;

// A document with an agent whose model the test fills; every report is recorded and
// answered with "continue".
class DtdValidationAgentTest : public ::testing::Test, protected TDomFixture {
protected:
  DtdValidationAgentTest() {
    auto agent = std::make_unique<TDtdValidationAgent>(Document);
    Agent = agent.get();
    Document->SetValidationAgent(std::move(agent));
    Implementation.OnError = [this](TObject*, const TDomError& error, bool& go) {
      Reported.push_back(error.Kind());
      Targets.push_back(error.TargetNode());
      go = true;
    };
  }
  TDtdModel& Model() { return Agent->DtdModel(); }
  // <!DOCTYPE name [...]> with the model taken as complete.
  void Doctype(WideStringView name, WideStringView systemId = u"") {
    Document->AppendChild(NewDomNode<TDomDocumentTypeDecl>(*Document, u"", systemId, u"", name));
    Model().SetPreparationStatus(DtdPreparation::Complete);
  }
  TDtdElementDecl* Declare(WideStringView name, TDtdElementContentType type, std::string_view model = {},
                           TDtdDeclOrigin origin = doInternalSubset) {
    TDtdElementDecl* decl;
    Model().AddElementDecl(name, type, origin, decl);
    if (!model.empty()) BuildContentModel(*decl, model);
    return decl;
  }
  void Attribute(WideStringView element, WideStringView name, TDtdAttrType type, TDtdDefaultKind kind,
                 WideStringView value = u"", const std::vector<WideString>& enumeration = None,
                 TDtdDeclOrigin origin = doInternalSubset) {
    TDtdAttributeDecl* decl;
    Model().AddAttributeDecl(element, name, value, origin, kind, type, enumeration, decl);
  }
  void Entity(WideStringView name, WideStringView value, TDtdDeclOrigin origin = doInternalSubset) {
    TDtdEntityDecl* decl;
    Model().AddEntityDecl(name, value, origin, u"", u"", u"", u"", decl);
  }
  TDomElement* Root(WideStringView name) { return static_cast<TDomElement*>(Document->AppendChild(Element(name))); }

  TDtdValidationAgent* Agent;
  std::vector<TXmlErrorKind> Reported;
  std::vector<TDomNode*> Targets;
};

using Kinds = std::vector<TXmlErrorKind>;

TEST_F(DtdValidationAgentTest, ADocumentWithoutDtdReportsEveryElementAndAttribute) {
  TDomElement* root = Root(u"book");
  root->SetAttribute(u"id", u"b1");
  Child(root, u"title");
  EXPECT_FALSE(Agent->ValidateDocument(etExpand));
  EXPECT_EQ(Model().PreparationStatus(), DtdPreparation::NoDtd);
  EXPECT_EQ(Reported, (Kinds{1, 34, 33, 34}));
}

TEST_F(DtdValidationAgentTest, ContentModelsJudgeTheChildren) {
  struct TCase {
    std::string_view Model;
    std::vector<const char*> Children;
    Kinds Expected;
  };
  const TCase cases[] = {
      {"(a, b)", {"a", "b"}, {}}, {"(a, b)", {"a", "b", "a"}, {18}}, {"(a | a)", {"a"}, {25}},
      {"(a, b?)", {"a"}, {}},     {"(a*, a)", {"a"}, {18}},          {"(a, (b | c)+)", {"a", "c", "b"}, {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Model));
    Document->Clear();
    Agent->Clear();
    Reported.clear();
    Doctype(u"r");
    Declare(u"r", DTD_ELEMENT_CONTENTTYPE, c.Model);
    for (const char16_t* name : {u"a", u"b", u"c"}) Declare(name, DTD_EMPTY_CONTENTTYPE);
    TDomElement* root = Root(u"r");
    for (const char* child : c.Children) Child(root, WideString(child, child + 1));
    EXPECT_EQ(Agent->ValidateDocument(etExpand), c.Expected.empty());
    EXPECT_EQ(Reported, c.Expected);
  }
}

TEST_F(DtdValidationAgentTest, TextInElementAndEmptyContent) {
  Doctype(u"r");
  Declare(u"r", DTD_ELEMENT_CONTENTTYPE, "(a*)");
  Declare(u"a", DTD_EMPTY_CONTENTTYPE);
  Declare(u"m", DTD_MIXED_CONTENTTYPE, "(#PCDATA)");
  TDomElement* root = Root(u"r");
  root->AppendChild(Text(u"\n  "));  // white space in element content passes
  TDomElement* a = Child(root, u"a");
  EXPECT_TRUE(Agent->ValidateDocument(etExpand));
  EXPECT_EQ(Reported, Kinds{});
  a->AppendChild(Text(u"x"));
  root->AppendChild(Text(u"words"));
  EXPECT_FALSE(Agent->ValidateDocument(etExpand));
  EXPECT_EQ(Reported, (Kinds{20, 21}));
}

TEST_F(DtdValidationAgentTest, AnElementInPCDataOnlyContent) {
  Doctype(u"m");
  Declare(u"m", DTD_MIXED_CONTENTTYPE, "(#PCDATA)");
  Declare(u"b", DTD_MIXED_CONTENTTYPE, "(#PCDATA)");
  TDomElement* root = Root(u"m");
  root->AppendChild(Text(u"text"));
  Child(root, u"b");
  EXPECT_FALSE(Agent->ValidateDocument(etExpand));
  EXPECT_EQ(Reported, Kinds{19});
}

TEST_F(DtdValidationAgentTest, WhiteSpaceInExternallyDeclaredContentOfAStandaloneDocument) {
  Doctype(u"r", u"r.dtd");
  Document->XmlStandalone = sdYes;
  Declare(u"r", DTD_ELEMENT_CONTENTTYPE, "(a*)", doExternalSubset);
  Declare(u"a", DTD_EMPTY_CONTENTTYPE, {}, doExternalSubset);
  TDomElement* root = Root(u"r");
  root->AppendChild(Text(u" "));
  Child(root, u"a");
  EXPECT_FALSE(Agent->ValidateDocument(etExpand));
  EXPECT_EQ(Reported, Kinds{42});
}

TEST_F(DtdValidationAgentTest, IdsAndReferences) {
  Doctype(u"r");
  Declare(u"r", DTD_ELEMENT_CONTENTTYPE, "(p*)");
  Declare(u"p", DTD_EMPTY_CONTENTTYPE);
  Attribute(u"p", u"id", atId, dcImplied);
  Attribute(u"p", u"refs", atIdRefs, dcImplied);
  TDomElement* root = Root(u"r");
  TDomElement* first = Child(root, u"p");
  first->SetAttribute(u"id", u"a");
  TDomElement* second = Child(root, u"p");
  second->SetAttribute(u"refs", u" a  a ");
  EXPECT_TRUE(Agent->ValidateDocument(etExpand));
  EXPECT_EQ(Document->GetElementById(u"a"), first);
  EXPECT_EQ(second->GetAttributeValue(u"refs"), u"a a");  // normalized in place
  EXPECT_EQ(Agent->IdRefs().size(), 2u);

  Child(root, u"p")->SetAttribute(u"id", u"a");
  second->SetAttribute(u"refs", u"a b");
  Reported.clear();
  EXPECT_FALSE(Agent->ValidateDocument(etExpand));
  EXPECT_EQ(Reported, (Kinds{11, 32}));
  EXPECT_EQ(Targets[1], second->GetAttributeNode(u"refs"));
  // A failed validation empties the registries.
  EXPECT_EQ(Document->GetElementById(u"a"), nullptr);
}

TEST_F(DtdValidationAgentTest, AttributeDefaultsRequiredAndFixed) {
  Doctype(u"r");
  Declare(u"r", DTD_ANY_CONTENTTYPE);
  Attribute(u"r", u"lang", atNmToken, dcDefault, u" ru ");
  Attribute(u"r", u"version", atCData, dcFixed, u"2.0");
  Attribute(u"r", u"name", atCData, dcRequired);
  TDomElement* root = Root(u"r");
  root->SetAttribute(u"name", u"n");
  EXPECT_TRUE(Agent->ValidateDocument(etExpand));
  ASSERT_NE(root->GetAttributeNode(u"lang"), nullptr);
  EXPECT_FALSE(root->GetAttributeNode(u"lang")->GetSpecified());
  EXPECT_EQ(root->GetAttributeValue(u"lang"), u"ru");
  EXPECT_EQ(root->GetAttributeValue(u"version"), u"2.0");

  TDomElement* other = NewDomNode<TDomElement>(*Document, u"r");
  other->SetAttribute(u"version", u"1.0");
  Document->ReplaceChild(other, root);
  Reported.clear();
  EXPECT_FALSE(Agent->ValidateDocument(etExpand));
  EXPECT_EQ(Reported, (Kinds{23, 31}));
}

TEST_F(DtdValidationAgentTest, AttributeValuesAgainstTheirTypes) {
  Doctype(u"r");
  Declare(u"r", DTD_ANY_CONTENTTYPE);
  Attribute(u"r", u"kind", atNmToken, dcImplied, u"", {u"a", u"b"});
  Attribute(u"r", u"tok", atNmToken, dcImplied);
  Attribute(u"r", u"pic", atEntity, dcImplied);
  Attribute(u"r", u"ref", atIdRef, dcImplied);
  TDtdEntityDecl* unparsed;
  Model().AddEntityDecl(u"img", u"", doInternalSubset, u"", u"gif", u"i.gif", u"", unparsed);
  TDtdNotationDecl* notation;
  Model().AddNotationDecl(u"gif", u"", doInternalSubset, u"gif", notation);
  Entity(u"txt", u"text");
  struct TCase {
    const char16_t* Name;
    const char16_t* Value;
    Kinds Expected;
  };
  const TCase cases[] = {
      {u"kind", u"b", {}},  {u"kind", u"c", {7}},   {u"tok", u"a-1", {}}, {u"tok", u"a b", {7}},
      {u"pic", u"img", {}}, {u"pic", u"txt", {38}}, {u"ref", u"1x", {7}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(Narrow(c.Name) + "=" + Narrow(c.Value));
    Document->Clear();
    Reported.clear();
    Document->AppendChild(NewDomNode<TDomDocumentTypeDecl>(*Document, u"", u"", u"", u"r"));
    Root(u"r")->SetAttribute(c.Name, c.Value);
    Agent->ValidateDocument(etExpand);
    // An IDREF is a Name but names no ID: 32 follows the type check, so compare the prefix.
    Kinds got = Reported;
    if (WideStringView(c.Name) == u"ref") got.resize(1);
    EXPECT_EQ(got, c.Expected);
  }
}

TEST_F(DtdValidationAgentTest, NormalizingValuesWithEntities) {
  Doctype(u"r");
  Entity(u"e", u"x &#38;amp; y");
  Entity(u"lt2", u"&lt;");
  Entity(u"tag", u"<b/>");
  TDtdEntityDecl* external;
  Model().AddEntityDecl(u"ext", u"", doInternalSubset, u"", u"", u"ext.txt", u"", external);
  struct TCase {
    const char16_t* Value;
    TDtdAttrType Type;
    const char16_t* Normalized;
    TXmlErrorKind Error;
  };
  const TCase cases[] = {
      {u" a\tb\n", atCData, u" a b ", 0}, {u" a\tb\n", atNmTokens, u"a b", 0},
      {u"&e;", atCData, u"x &amp; y", 0},  // "&#38;amp;" makes a literal "&amp;"
      {u"&lt2;", atCData, u"<", 0},       {u"&tag;", atCData, u"", 73},
      {u"&ext;", atCData, u"", 44},       {u"&none;", atCData, u"", 98},
      {u"&#xD800;", atCData, u"", 60},    {u"a &#x41", atCData, u"", 92},  // a fatal tokenizer error leaves nothing
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(Narrow(c.Value));
    WideString normalized;
    TXmlErrorKind error = 255;
    Agent->NormalizeAttributeValue(c.Value, c.Type, normalized, error);
    EXPECT_EQ(normalized, c.Normalized);
    EXPECT_EQ(error, c.Error);
  }
}

TEST_F(DtdValidationAgentTest, ADefaultReferencingALaterEntity) {
  for (const bool peReferences : {false, true}) {
    SCOPED_TRACE(peReferences ? "with parameter-entity references" : "without");
    Agent->Clear();
    Document->Clear();
    Doctype(u"r");
    Model().InternalSubsetHasPEReferences = peReferences;
    Attribute(u"r", u"a", atCData, dcDefault, u"&e;");
    Entity(u"e", u"later");
    WideString value;
    TXmlErrorKind error = 0;
    Agent->NormalizeDefaultValue(*Model().FindAttributeDecl(u"r", u"a"), value, error);
    EXPECT_EQ(error, peReferences ? 22 : 53);
  }
}

TEST_F(DtdValidationAgentTest, EntitiesInContentAreReplaced) {
  Doctype(u"r");
  Declare(u"r", DTD_MIXED_CONTENTTYPE, "(#PCDATA | b)*");
  Declare(u"b", DTD_MIXED_CONTENTTYPE, "(#PCDATA)");
  Entity(u"who", u"the <b>author</b> &more;");
  Entity(u"more", u"himself");
  TDomElement* root = Root(u"r");
  root->AppendChild(Text(u"By "));
  root->AppendChild(NewDomNode<TDomEntityReference>(*Document, u"who"));
  EXPECT_TRUE(Agent->ValidateDocument(etExpand));
  EXPECT_EQ(Reported, Kinds{});
  EXPECT_EQ(root->GetTextContent(), u"By the author himself");
  EXPECT_EQ(root->GetFirstChild()->GetNodeValue(), u"By the ");  // adjacent texts merged
}

TEST_F(DtdValidationAgentTest, KeptReferencesAreFilled) {
  Doctype(u"r");
  Declare(u"r", DTD_ANY_CONTENTTYPE);
  Entity(u"who", u"author");
  TDomElement* root = Root(u"r");
  auto* reference =
      static_cast<TDomEntityReference*>(root->AppendChild(NewDomNode<TDomEntityReference>(*Document, u"who")));
  EXPECT_TRUE(Agent->ValidateDocument(etKeep));
  EXPECT_EQ(reference->GetTextContent(), u"author");
  EXPECT_TRUE(reference->GetReadOnly());
  EXPECT_TRUE(reference->GetFirstChild()->GetReadOnly());
}

// Hands back the text named by the resolved system identifier's last segment.
class TTextResolver final : public TCustomResourceResolver {
public:
  using TCustomResourceResolver::TCustomResourceResolver;
  std::unique_ptr<TStream> ResolveResource(WideStringView baseUri, WideStringView, WideString& systemId) override {
    Requests.push_back(WideString(baseUri) + u" " + systemId);
    if (systemId != u"file:///books/chapter.ent") return nullptr;
    return std::make_unique<TStringStream>("chapter <b>text</b>");
  }
  std::vector<WideString> Requests;
};

TEST_F(DtdValidationAgentTest, ExternalEntitiesOnlyThroughTheCallersResolver) {
  Doctype(u"r");
  Declare(u"r", DTD_MIXED_CONTENTTYPE, "(#PCDATA | b)*");
  Declare(u"b", DTD_MIXED_CONTENTTYPE, "(#PCDATA)");
  Model().InternalSubsetSystemId = u"file:///books/book.xml";
  TDtdEntityDecl* entity;
  Model().AddEntityDecl(u"ch", u"", doInternalSubset, u"file:///books/book.xml", u"", u"chapter.ent", u"", entity);
  Model().AddEntityDecl(u"gone", u"", doInternalSubset, u"file:///books/book.xml", u"", u"gone.ent", u"", entity);
  TDomElement* root = Root(u"r");
  root->AppendChild(NewDomNode<TDomEntityReference>(*Document, u"ch"));
  // No resolver: nothing is read, the entity is reported as not loaded.
  EXPECT_FALSE(Agent->ValidateDocument(etExpand));
  EXPECT_EQ(Reported.front(), 148);
  EXPECT_FALSE(Model().FindEntityDecl(u"ch")->Resolved());

  TTextResolver resolver(nullptr);
  Implementation.SetResourceResolver(&resolver);
  Reported.clear();
  EXPECT_TRUE(Agent->ValidateDocument(etExpand));
  EXPECT_EQ(Reported, Kinds{});
  EXPECT_EQ(root->GetTextContent(), u"chapter text");
  EXPECT_EQ(resolver.Requests, std::vector<WideString>{u"file:///books/book.xml file:///books/chapter.ent"});
  // An external entity is never loaded for an attribute value.
  WideString value;
  TXmlErrorKind error = 0;
  Agent->NormalizeAttributeValue(u"&gone;", atCData, value, error);
  EXPECT_EQ(error, 44);
  EXPECT_EQ(resolver.Requests.size(), 1u);
  Implementation.SetResourceResolver(nullptr);
}

TEST_F(DtdValidationAgentTest, EachFillOfAReferenceHasABudgetOfItsOwn) {
  Doctype(u"r");
  Entity(u"who", u"author");
  TXmlLimits limits;
  limits.MaxEntityExpansionChars = 10;
  Agent->SetLimits(limits);
  Declare(u"r", DTD_ANY_CONTENTTYPE);
  Root(u"r");
  EXPECT_TRUE(Agent->ValidateDocument(etExpand));  // its budget is not the fills'
  for (int i = 0; i < 3; ++i) {
    auto* reference = NewDomNode<TDomEntityReference>(*Document, u"who");
    Agent->FillEntityReference(*reference);
    EXPECT_EQ(reference->GetTextContent(), u"author");
    reference->Free();
  }
}

TEST_F(DtdValidationAgentTest, RecursiveEntities) {
  Doctype(u"r");
  Declare(u"r", DTD_ANY_CONTENTTYPE);
  Entity(u"a", u"&b;");
  Entity(u"b", u"&a;");
  Root(u"r")->AppendChild(NewDomNode<TDomEntityReference>(*Document, u"a"));
  EXPECT_FALSE(Agent->ValidateDocument(etExpand));
  // Once when the content step cannot replace the reference, once by the reference's own check.
  EXPECT_EQ(Reported, (Kinds{86, 86}));
  WideString value;
  TXmlErrorKind error = 0;
  Agent->NormalizeAttributeValue(u"&a;", atCData, value, error);
  EXPECT_EQ(error, 86);
}

// Ten references per level, twelve levels: 10^12 characters if expanded.
class DtdLaughsTest : public DtdValidationAgentTest {
protected:
  void Laughs(WideStringView leaf = u"lol") {
    Entity(u"l0", leaf);
    for (int i = 1; i <= 12; ++i) {
      WideString value;
      for (int k = 0; k < 10; ++k) value += u"&l" + WideNumber(i - 1) + u";";
      Entity(u"l" + WideNumber(i), value);
    }
  }
};

TEST_F(DtdLaughsTest, InAttributeValuesEndAtTheExpansionLimit) {
  Doctype(u"r");
  Laughs();
  TXmlLimits limits;
  limits.MaxEntityExpansionChars = 100000;
  Agent->SetLimits(limits);
  WideString value;
  TXmlErrorKind error = 0;
  Agent->NormalizeAttributeValue(u"&l2;", atCData, value, error);  // 300 characters pass
  EXPECT_EQ(error, 0);
  EXPECT_EQ(value.size(), 300u);
  Agent->NormalizeAttributeValue(u"&l12;", atCData, value, error);
  EXPECT_EQ(error, 146);
  EXPECT_EQ(value, u"");
  // The budget is the document's: once spent, no value of it expands an entity, so
  // many attributes cannot each spend a budget of their own.
  Agent->NormalizeAttributeValue(u"&l2;", atCData, value, error);
  EXPECT_EQ(error, 146);
  Agent->NormalizeAttributeValue(u"plain text", atCData, value, error);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(value, u"plain text");
}

TEST_F(DtdLaughsTest, InContentEndAtTheExpansionLimit) {
  Doctype(u"r");
  Declare(u"r", DTD_ANY_CONTENTTYPE);
  Laughs();
  TXmlLimits limits;
  limits.MaxEntityExpansionChars = 100000;
  Agent->SetLimits(limits);
  TDomElement* root = Root(u"r");
  root->AppendChild(NewDomNode<TDomEntityReference>(*Document, u"l12"));
  TAllocationMeter meter;
  EXPECT_FALSE(Agent->ValidateDocument(etExpand));
  // The work and the text end with the budget: a text node and a parse for each "lol",
  // or merging them back to front, would cost the budget's square.
  EXPECT_LT(meter.AllocatedBytes(), 64 * limits.MaxEntityExpansionChars);
  EXPECT_LT(meter.PeakLiveBytes(), 16 * limits.MaxEntityExpansionChars);
  ASSERT_FALSE(Reported.empty());
  EXPECT_EQ(Reported.back(), 146);
  // Nothing half expanded stays: the reference is where it was.
  ASSERT_EQ(root->GetChildCount(), 1);
  EXPECT_EQ(root->GetFirstChild()->GetNodeType(), ntEntityReference);
}

// With markup at the bottom each level is parsed into nodes: the work still ends with
// the budget, each parse counted as a text of its own.
TEST_F(DtdLaughsTest, WithMarkupEndAtTheExpansionLimit) {
  Doctype(u"r");
  Declare(u"r", DTD_ANY_CONTENTTYPE);
  Declare(u"b", DTD_ANY_CONTENTTYPE);
  Laughs(u"<b>lol</b>");
  TXmlLimits limits;
  limits.MaxEntityExpansionChars = 100000;
  Agent->SetLimits(limits);
  Root(u"r")->AppendChild(NewDomNode<TDomEntityReference>(*Document, u"l12"));
  TAllocationMeter meter;
  EXPECT_FALSE(Agent->ValidateDocument(etExpand));
  // Each text is parsed once and copied for every further reference; the nodes made
  // (an element and a text for every "<b>lol</b>") are what stays.
  EXPECT_LT(meter.AllocatedBytes(), 64 * limits.MaxEntityExpansionChars);
  EXPECT_LT(meter.PeakLiveBytes(), 64 * limits.MaxEntityExpansionChars);
  ASSERT_FALSE(Reported.empty());
  EXPECT_EQ(Reported.back(), 146);
}

// Replacement texts with markup become nodes in place; references they hold are
// replaced in turn, and text joins the text beside it on both sides.
TEST_F(DtdValidationAgentTest, ReplacementsWithMarkupJoinTheTextAroundThem) {
  Doctype(u"r");
  Declare(u"r", DTD_ANY_CONTENTTYPE);
  Declare(u"b", DTD_ANY_CONTENTTYPE);
  Entity(u"x", u"x");
  Entity(u"m", u"[<b>&x;-&x;</b>&x;]");
  TDomElement* root = Root(u"r");
  root->AppendChild(Text(u"a"));
  root->AppendChild(NewDomNode<TDomEntityReference>(*Document, u"m"));
  root->AppendChild(Text(u"z"));
  EXPECT_TRUE(Agent->ValidateDocument(etExpand));
  ASSERT_EQ(root->GetChildCount(), 3);
  EXPECT_EQ(root->GetFirstChild()->GetNodeValue(), u"a[");
  EXPECT_EQ(root->GetChildNodes()->GetItem(1)->GetNodeName(), u"b");
  EXPECT_EQ(root->GetChildNodes()->GetItem(1)->GetChildCount(), 1);
  EXPECT_EQ(root->GetChildNodes()->GetItem(1)->GetTextContent(), u"x-x");
  EXPECT_EQ(root->GetLastChild()->GetNodeValue(), u"x]z");
}

TEST_F(DtdValidationAgentTest, AHostileContentModelEndsAtTheStepLimit) {
  Doctype(u"r");
  std::string model = "a";
  for (int i = 0; i < 40; ++i) model = "(" + model + ")*";
  Declare(u"r", DTD_ELEMENT_CONTENTTYPE, model);
  Declare(u"a", DTD_EMPTY_CONTENTTYPE);
  Declare(u"b", DTD_EMPTY_CONTENTTYPE);
  TXmlLimits limits;
  limits.MaxContentModelSteps = 100000;
  Agent->SetLimits(limits);
  TDomElement* root = Root(u"r");
  Child(root, u"a");
  Child(root, u"b");
  EXPECT_FALSE(Agent->ValidateDocument(etExpand));
  EXPECT_EQ(Reported, Kinds{146});
}

TEST_F(DtdValidationAgentTest, TheDtdItselfIsChecked) {
  Doctype(u"r");
  Declare(u"r", DTD_ANY_CONTENTTYPE);
  Declare(u"m", DTD_MIXED_CONTENTTYPE, "(#PCDATA | a | a)*");
  Declare(u"s", DTD_MIXED_CONTENTTYPE, "(a, b)");
  Declare(u"e", DTD_EMPTY_CONTENTTYPE);
  TDtdEntityDecl* unparsed;
  Model().AddEntityDecl(u"img", u"", doInternalSubset, u"", u"png", u"i.png", u"", unparsed);
  Attribute(u"p", u"id1", atId, dcImplied);
  Attribute(u"p", u"id2", atId, dcDefault, u"x");
  Attribute(u"p", u"n", atNmToken, dcDefault, u"c", {u"a", u"b", u"a"});
  Attribute(u"p", u"r", atIdRef, dcDefault, u"1x");
  Attribute(u"e", u"f", atNotation, dcImplied, u"", {u"png"});
  Root(u"r");
  EXPECT_FALSE(Agent->ValidateDocument(etExpand));
  // 12 repeated mixed name, 110 mixed not a choice, 36 undeclared notation of the entity,
  // 10 and 24 the second ID, 9 and 6 the enumeration, 6 the IDREF default, 36 and 26 the
  // notation attribute on an EMPTY element.
  EXPECT_EQ(Reported, (Kinds{12, 110, 36, 10, 24, 9, 6, 6, 36, 26}));
}

TEST_F(DtdValidationAgentTest, TheDocumentElementMustMatchTheDoctype) {
  Doctype(u"book");
  Declare(u"r", DTD_ANY_CONTENTTYPE);
  Root(u"r");
  EXPECT_FALSE(Agent->ValidateDocument(etExpand));
  EXPECT_EQ(Reported, Kinds{43});
}

TEST_F(DtdValidationAgentTest, TheModelIsPreparedFromTheDoctype) {
  Document->AppendChild(NewDomNode<TDomDocumentTypeDecl>(*Document, u"<!ELEMENT r ANY>", u"", u"", u"r"));
  Root(u"r");
  EXPECT_TRUE(Agent->ValidateDocument(etExpand));
  EXPECT_EQ(Model().PreparationStatus(), DtdPreparation::Complete);
  ASSERT_NE(Agent->FindElementDecl(u"r"), nullptr);
  // A malformed subset aborts the preparation.
  Document->GetDoctypeDecl()->Free();
  Document->InsertBefore(NewDomNode<TDomDocumentTypeDecl>(*Document, u"<!ELEMENT r>", u"", u"", u"r"),
                         Document->GetDocumentElement());
  Agent->PrepareDtdModel(false);
  EXPECT_EQ(Model().PreparationStatus(), DtdPreparation::Aborted);
  EXPECT_EQ(Reported, Kinds{XmlErrors::ContentModelNotBuilt});
  ExpectRaises<ENot_Supported_Err>([] { TDtdValidationAgent agent(nullptr); }, "Not supported error.");
}

TEST_F(DtdValidationAgentTest, TheDocumentAsksTheAgent) {
  Doctype(u"r");
  Declare(u"r", DTD_ELEMENT_CONTENTTYPE, "(a)");
  Attribute(u"r", u"n", atNmTokens, dcDefault, u"x");
  EXPECT_EQ(Document->GetAttrDeclType(u"r", u"n"), atNmTokens);
  EXPECT_EQ(Document->GetAttrDeclType(u"r", u"other"), atCData);
  TDomElement* root = Root(u"r");
  TDomText* space = static_cast<TDomText*>(root->AppendChild(Text(u"  ")));
  EXPECT_TRUE(Document->IsWhitespaceInElementContent(*space));
  Document->RestoreAllDefaultAttributes();
  EXPECT_EQ(root->GetAttributeValue(u"n"), u"x");
}

}  // namespace
