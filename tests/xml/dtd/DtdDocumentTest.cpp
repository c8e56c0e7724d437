// Documents parsed with their DTD and validated: the DTD-to-model parser and builder
// through the DOM builder, content-model operators, attribute types and defaults,
// ID/IDREF, parameter entities and conditional sections, and the limits and local-file
// rule for external entities.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "xml/XmlAllocationMeter.h"
#include "xml/dom/DomFileResourceResolver.h"
#include "xml/dtd/DtdToDtdModelParser.h"
#include "xml/dtd/DtdValidationAgent.h"
#include "xml/parser/XmlHandlers.h"
#include "xml/parser/XmlParserTestSupport.h"
#include "xml/utils/UriUtils.h"

namespace {

// A validating parse: DOM implementation with agents and a resolver for one folder.
struct TDtdDocumentFixture {
  TDomImplementation Implementation{nullptr};
  TDomFileResourceResolver Resolver{nullptr};
  TXmlToDomParser Parser{nullptr};
  std::vector<int> Errors;
  std::filesystem::path Folder;

  TDtdDocumentFixture() {
    InstallDtdValidation(Implementation);
    Implementation.SetResourceResolver(&Resolver);
    Implementation.OnError = [this](TObject*, const TDomError& error, bool&) { Errors.push_back(error.Kind()); };
    Parser.SetDOMImpl(&Implementation);
    Parser.DomBuilder().DocTypeDeclTreatment = dtCheckValidity;
    Parser.SetKeepEntityRefs(false);
    Folder = std::filesystem::temp_directory_path() /
             ("qf-dtd-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(Folder);
    Resolver.AllowFolder(Folder.string());
  }
  ~TDtdDocumentFixture() { std::filesystem::remove_all(Folder); }

  void WriteFile(const std::string& name, const std::string& text) const {
    std::ofstream(Folder / name, std::ios::binary) << text;
  }
  // The document, or none when the parse failed.
  TDomDocument* Parse(const std::string& text) {
    Errors.clear();
    try {
      TStringStream stream(text);
      return Parser.ParseStream(&stream, FileNameToFileUri((Folder / "doc.xml").string(), 0), nullptr, true);
    } catch (const EParserException&) {
      return nullptr;
    }
  }
  static TDtdValidationAgent& Agent(TDomDocument& document) {
    return static_cast<TDtdValidationAgent&>(*document.ValidationAgent());
  }
  // Parses and validates: the first error heard, 0 when valid; -1 when the parse failed.
  int Validate(const std::string& text) {
    TDomDocument* document = Parse(text);
    if (!document) return -1;
    const bool valid = Agent(*document).ValidateDocument(etExpand);
    if (!Errors.empty()) return Errors.front();  // heard while parsing or validating
    return valid ? 0 : -2;
  }
};

std::string Doc(const std::string& subset, const std::string& body) { return "<!DOCTYPE r [" + subset + "]>" + body; }

struct TCase {
  const char* Subset;
  const char* Body;
  int Expected;  // 0 valid, else the first error type
};

void RunCases(const std::vector<TCase>& cases) {
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Subset) + " | " + c.Body);
    TDtdDocumentFixture f;
    EXPECT_EQ(f.Validate(Doc(c.Subset, c.Body)), c.Expected);
  }
}

TEST(DtdDocumentTest, ContentModelOperators) {
  RunCases({
      {"<!ELEMENT r (a,b)><!ELEMENT a EMPTY><!ELEMENT b EMPTY>", "<r><a/><b/></r>", 0},
      {"<!ELEMENT r (a,b)><!ELEMENT a EMPTY><!ELEMENT b EMPTY>", "<r><b/><a/></r>", 18},
      {"<!ELEMENT r (a|b)><!ELEMENT a EMPTY><!ELEMENT b EMPTY>", "<r><b/></r>", 0},
      {"<!ELEMENT r (a|b)><!ELEMENT a EMPTY><!ELEMENT b EMPTY>", "<r><a/><b/></r>", 18},
      {"<!ELEMENT r (a?)><!ELEMENT a EMPTY>", "<r/>", 0},
      {"<!ELEMENT r (a?)><!ELEMENT a EMPTY>", "<r><a/><a/></r>", 18},
      {"<!ELEMENT r (a*)><!ELEMENT a EMPTY>", "<r><a/><a/><a/></r>", 0},
      {"<!ELEMENT r (a+)><!ELEMENT a EMPTY>", "<r/>", 18},
      {"<!ELEMENT r (a+)><!ELEMENT a EMPTY>", "<r><a/><a/></r>", 0},
      {"<!ELEMENT r ((a,b)*|c)><!ELEMENT a EMPTY><!ELEMENT b EMPTY><!ELEMENT c EMPTY>", "<r><a/><b/><a/><b/></r>", 0},
      {"<!ELEMENT r (#PCDATA|a)*><!ELEMENT a EMPTY>", "<r>x<a/>y<a/></r>", 0},
      {"<!ELEMENT r (#PCDATA)>", "<r>x<r/></r>", 19},
      {"<!ELEMENT r EMPTY>", "<r>x</r>", 21},
      {"<!ELEMENT r ANY><!ELEMENT a EMPTY>", "<r>x<a/></r>", 0},
      {"<!ELEMENT r (a)><!ELEMENT a EMPTY>", "<r>text<a/></r>", 20},
      {"<!ELEMENT r (a)>", "<r><b/></r>", 18},
  });
}

TEST(DtdDocumentTest, AttributeTypesAndDefaults) {
  RunCases({
      {"<!ELEMENT r EMPTY><!ATTLIST r a CDATA 'x'>", "<r/>", 0},
      {"<!ELEMENT r EMPTY><!ATTLIST r a CDATA #REQUIRED>", "<r/>", 31},
      {"<!ELEMENT r EMPTY><!ATTLIST r a CDATA #FIXED 'x'>", "<r a='y'/>", 23},
      {"<!ELEMENT r EMPTY><!ATTLIST r a (p|q) #IMPLIED>", "<r a='z'/>", 7},
      {"<!ELEMENT r EMPTY><!ATTLIST r a NMTOKEN #IMPLIED>", "<r a='two words'/>", 7},
      {"<!ELEMENT r EMPTY><!ATTLIST r a NMTOKENS #IMPLIED>", "<r a=' two  words '/>", 0},
      {"<!ELEMENT r EMPTY><!ATTLIST r a NMTOKEN 'a b'>", "<r/>", 6},
      {"<!ELEMENT r EMPTY>", "<r a='1'/>", 33},
      {"<!ELEMENT r EMPTY><!NOTATION n SYSTEM 'n'><!ATTLIST r a NOTATION (n) #IMPLIED>", "<r/>", 26},
      {"<!ELEMENT r EMPTY><!NOTATION g SYSTEM 'g'><!ENTITY pic SYSTEM 'p.gif' NDATA g>"
       "<!ATTLIST r a ENTITY #IMPLIED>",
       "<r a='pic'/>", 0},
      {"<!ELEMENT r EMPTY><!ATTLIST r a ENTITY #IMPLIED>", "<r a='nothing'/>", 38},
      // A NOTATION default must be one of the notations listed.
      {"<!ELEMENT r ANY><!NOTATION n SYSTEM 'n'><!NOTATION m SYSTEM 'm'><!ATTLIST r a NOTATION (n) 'm'>", "<r a='n'/>",
       6},
  });
  // Defaults are added to the tree.
  TDtdDocumentFixture f;
  TDomDocument* document = f.Parse(Doc("<!ELEMENT r EMPTY><!ATTLIST r a CDATA 'x' b NMTOKEN ' y '>", "<r/>"));
  ASSERT_NE(document, nullptr);
  EXPECT_TRUE(TDtdDocumentFixture::Agent(*document).ValidateDocument(etExpand));
  EXPECT_EQ(Canonical(*document), "<r a=\"x\" b=\"y\"></r>");
}

// Validation keeps resolved values as they are: "&" from "&amp;" is not read as a
// reference again, nothing is written back escaped, and carriage returns from
// character references in entities survive.
TEST(DtdDocumentTest, ValuesSurviveValidation) {
  TDtdDocumentFixture f;
  TDomDocument* document =
      f.Parse(Doc("<!ELEMENT r (#PCDATA)><!ATTLIST r a CDATA #IMPLIED b CDATA #IMPLIED>"
                  "<!ENTITY crlf '&#13;&#10;'><!ENTITY cr '&#13;'>",
                  "<r a='&#34;&lt;&amp;' b='x&crlf;y'>&cr;</r>"));
  ASSERT_NE(document, nullptr);
  EXPECT_TRUE(TDtdDocumentFixture::Agent(*document).ValidateDocument(etExpand));
  EXPECT_EQ(f.Errors, std::vector<int>{});
  TDomElement* root = document->GetDocumentElement();
  EXPECT_EQ(root->GetAttributeValue(u"a"), u"\"<&");
  EXPECT_EQ(root->GetAttributeValue(u"b"), u"x  y");
  EXPECT_EQ(Canonical(*root), "<r a=\"&quot;&lt;&amp;\" b=\"x  y\">&#13;</r>");
}

TEST(DtdDocumentTest, IdAndIdref) {
  const char* subset =
      "<!ELEMENT r (e*)><!ELEMENT e EMPTY><!ATTLIST e id ID #IMPLIED ref IDREF #IMPLIED "
      "refs IDREFS #IMPLIED>";
  RunCases({
      {subset, "<r><e id='a'/><e ref='a' refs='a b'/><e id='b'/></r>", 0},
      {subset, "<r><e id='a'/><e id='a'/></r>", 11},
      {subset, "<r><e ref='missing'/></r>", 32},
      {subset, "<r><e id='1a'/></r>", 7},
      {"<!ELEMENT r EMPTY><!ATTLIST r a ID 'x'>", "<r/>", 24},
      {"<!ELEMENT r EMPTY><!ATTLIST r a ID #IMPLIED b ID #IMPLIED>", "<r/>", 10},
  });
  TDtdDocumentFixture f;
  TDomDocument* document = f.Parse(Doc(subset, "<r><e id='a'/><e id='b'/></r>"));
  ASSERT_NE(document, nullptr);
  ASSERT_TRUE(TDtdDocumentFixture::Agent(*document).ValidateDocument(etExpand));
  ASSERT_NE(document->GetElementById(u"b"), nullptr);
  EXPECT_EQ(document->GetElementById(u"b"), document->GetDocumentElement()->GetLastChild());
}

TEST(DtdDocumentTest, ParameterEntitiesAndConditionalSections) {
  TDtdDocumentFixture f;
  f.WriteFile("ext.dtd",
              "<!ENTITY % model '(a, b?)'>\n"
              "<!ELEMENT r %model;>\n"
              "<![ %draft; [ <!ELEMENT a (#PCDATA)> ]]>\n"
              "<![ %final; [ <!ELEMENT a EMPTY> <![ IGNORE [ <!ELEMENT a ANY> ]]> ]]>\n"
              "<![IGNORE[ <![INCLUDE[ <!ELEMENT b ANY> ]]> ]]>\n"
              "<!ELEMENT b EMPTY>\n");
  const auto doc = [](const std::string& draft, const std::string& body) {
    return "<!DOCTYPE r SYSTEM 'ext.dtd' [<!ENTITY % draft '" + draft + "'><!ENTITY % final '" +
           (draft == "INCLUDE" ? "IGNORE" : "INCLUDE") + "'>]>" + body;
  };
  EXPECT_EQ(f.Validate(doc("INCLUDE", "<r><a>text</a><b/></r>")), 0);
  EXPECT_EQ(f.Validate(doc("IGNORE", "<r><a/></r>")), 0);
  EXPECT_EQ(f.Validate(doc("IGNORE", "<r><a>text</a></r>")), 21);
  // References in the text of an external parameter entity read into an entity value
  // are expanded in turn; one that refers back to itself is refused.
  f.WriteFile("outer.ent", "x%in;y");
  f.WriteFile("loop.ent", "%loop;");
  f.WriteFile("pe.dtd",
              "<!ENTITY % in 'IN'><!ENTITY % outer SYSTEM 'outer.ent'><!ENTITY e '[%outer;]'>"
              "<!ELEMENT r (#PCDATA)>");
  TDomDocument* expanded = f.Parse("<!DOCTYPE r SYSTEM 'pe.dtd'><r>&e;</r>");
  ASSERT_NE(expanded, nullptr);
  EXPECT_TRUE(TDtdDocumentFixture::Agent(*expanded).ValidateDocument(etExpand));
  EXPECT_EQ(Canonical(*expanded), "<r>[xINy]</r>");
  f.WriteFile("loop.dtd", "<!ENTITY % loop SYSTEM 'loop.ent'><!ENTITY e '%loop;'><!ELEMENT r ANY>");
  EXPECT_EQ(f.Parse("<!DOCTYPE r SYSTEM 'loop.dtd'><r/>"), nullptr);
  EXPECT_EQ(f.Errors, std::vector<int>{XmlErrors::RecursiveEntity});
  // In a standalone document, an externally declared token that needs normalization.
  f.WriteFile("sa.dtd", "<!ELEMENT r EMPTY><!ATTLIST r t NMTOKEN #IMPLIED>");
  EXPECT_EQ(f.Validate("<?xml version='1.0' standalone='yes'?><!DOCTYPE r SYSTEM 'sa.dtd'><r t=' c '/>"), 39);
  EXPECT_EQ(f.Validate("<?xml version='1.0' standalone='yes'?><!DOCTYPE r SYSTEM 'sa.dtd'><r t='c'/>"), 0);
  // An external parameter entity between declarations of the internal subset.
  f.WriteFile("decls.ent", "<!ELEMENT r (#PCDATA)>");
  EXPECT_EQ(f.Validate("<!DOCTYPE r [<!ENTITY % d SYSTEM 'decls.ent'> %d;]><r>x</r>"), 0);
  // Internal subset entity replaced in content, and a general entity in an attribute.
  EXPECT_EQ(
      f.Validate(Doc("<!ELEMENT r (#PCDATA)><!ATTLIST r a CDATA #IMPLIED><!ENTITY e 'v'>", "<r a='&e;&e;'>&e;</r>")),
      0);
}

TEST(DtdDocumentTest, PreparationStatuses) {
  TDtdDocumentFixture f;
  f.WriteFile("ext.dtd", "<!ELEMENT r ANY>");
  const auto status = [&](const std::string& text) {
    TDomDocument* document = f.Parse(text);
    return document ? int(TDtdDocumentFixture::Agent(*document).DtdModel().PreparationStatus()) : -1;
  };
  EXPECT_EQ(status("<!DOCTYPE r [<!ELEMENT r ANY>]><r/>"), DtdPreparation::Complete);
  EXPECT_EQ(status("<!DOCTYPE r><r/>"), DtdPreparation::NoDtd);
  EXPECT_EQ(status("<!DOCTYPE r SYSTEM 'ext.dtd'><r/>"), DtdPreparation::Complete);
  // Without validity checks nothing is fetched.
  f.Parser.DomBuilder().DocTypeDeclTreatment = dtCheckWellformedness;
  EXPECT_EQ(status("<!DOCTYPE r SYSTEM 'ext.dtd' [<!ELEMENT r ANY>]><r/>"), 2);
  // An external parameter entity passed over in a document that is not standalone:
  // later declarations, element types included, are ignored.
  TDomDocument* document =
      f.Parse("<!DOCTYPE r [<!ENTITY % p SYSTEM 'p.ent'> %p; <!ELEMENT r ANY><!ATTLIST r a CDATA 'x'>]><r/>");
  ASSERT_NE(document, nullptr);
  TDtdValidationAgent& agent = TDtdDocumentFixture::Agent(*document);
  EXPECT_EQ(agent.DtdModel().PreparationStatus(), 3);
  EXPECT_EQ(agent.FindElementDecl(u"r"), nullptr);
  EXPECT_EQ(agent.FindAttributeDecl(u"r", u"a"), nullptr);
  // A malformed internal subset stops the parse.
  EXPECT_EQ(status("<!DOCTYPE r [<!ELEMENT r>]><r/>"), -1);
}

TEST(DtdDocumentTest, RepeatedDeclarationsAreReported) {
  const struct {
    const char* Subset;
    int Kind;
  } cases[] = {
      {"<!ATTLIST r a CDATA #IMPLIED a CDATA #IMPLIED>", XmlErrors::RepeatedAttributeDeclaration},
      {"<!ENTITY e 'x'><!ENTITY e 'y'>", XmlErrors::RepeatedEntityDeclaration},
      {"<!NOTATION n SYSTEM 'n'><!NOTATION n SYSTEM 'm'>", XmlErrors::RepeatedNotationDeclaration},
      {"<!ELEMENT r ANY>", XmlErrors::RepeatedElementTypeDeclaration},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Subset);
    TDtdDocumentFixture f;
    f.Parser.DomBuilder().DocTypeDeclTreatment = dtCheckWellformedness;
    EXPECT_NE(f.Parse(Doc(std::string("<!ELEMENT r ANY>") + c.Subset, "<r/>")), nullptr);
    EXPECT_EQ(f.Errors, std::vector<int>{c.Kind});
  }
}

TEST(DtdDocumentTest, ContentModelsBuilt) {
  TDtdModel model;
  TXmlDtdModelBuilder builder(nullptr);
  TDtdElementDecl *mixed, *children;
  model.AddElementDecl(u"m", DTD_MIXED_CONTENTTYPE, doInternalSubset, mixed);
  model.AddElementDecl(u"c", DTD_ELEMENT_CONTENTTYPE, doInternalSubset, children);
  builder.BuildMixedModel(*mixed, u" ( #PCDATA ) ");
  ASSERT_NE(mixed->ContentModel(), nullptr);
  EXPECT_EQ(mixed->ContentModel()->ParticleType(), cmtChoice);
  EXPECT_EQ(mixed->ContentModel()->SubModelCount(), 0);
  EXPECT_EQ(mixed->ContentModel()->Frequency(), cmfRequired);
  builder.BuildChildrenModel(*children, u"(a, (b | c)*, d?)");
  const TDtdContentModel* top = children->ContentModel();
  ASSERT_EQ(top->SubModelCount(), 3);
  EXPECT_EQ(top->ParticleType(), cmtSequence);
  EXPECT_EQ(top->SubModel(0)->GetName(), u"a");
  EXPECT_EQ(top->SubModel(0)->Frequency(), cmfRequired);
  EXPECT_EQ(top->SubModel(1)->ParticleType(), cmtChoice);
  EXPECT_EQ(top->SubModel(1)->Frequency(), cmfZeroOrMore);
  EXPECT_EQ(top->SubModel(1)->SubModelCount(), 2);
  EXPECT_EQ(top->SubModel(2)->Frequency(), cmfOptional);
  int count = 0;
  for (const char16_t* bad : {u"(a,", u"a", u"(a|)", u"(#PCDATA|a)"}) {
    SCOPED_TRACE(ToUtf8(bad));
    TDtdElementDecl* decl;
    model.AddElementDecl(u"x" + WideString(1, u'0' + ++count), DTD_MIXED_CONTENTTYPE, doInternalSubset, decl);
    ExpectRaises<EParserException>([&] { builder.BuildMixedModel(*decl, bad); }, SParserError);
  }
}

// Public identifiers are kept as they are matched: white space collapsed to single blanks.
TEST(DtdDocumentTest, PublicIdentifiersAreCollapsed) {
  TDtdModel model;
  TDtdToDtdModelParser parser(nullptr);
  parser.SetTargetModel(&model);
  parser.ParseExtSubsetWideString(u"<!NOTATION n PUBLIC ' a \n b  c '><!ENTITY e PUBLIC '\r\na b ' 'e.xml'>", u"", true,
                                  u"file:///dtd/ext.dtd");
  ASSERT_NE(model.FindNotationDecl(u"n"), nullptr);
  ASSERT_NE(model.FindEntityDecl(u"e"), nullptr);
  EXPECT_EQ(ToUtf8(model.FindNotationDecl(u"n")->PublicId()), "a b c");
  EXPECT_EQ(ToUtf8(model.FindEntityDecl(u"e")->PublicId()), "a b");
}

TEST(DtdDocumentTest, ExpansionIsBoundedAndExternalEntitiesStayInAllowedFolders) {
  // "Billion laughs" through parameter entities ends with the limit, not in memory.
  std::string subset = "<!ENTITY % l0 'lol'>";
  for (int level = 1; level <= 9; ++level) {
    subset += "<!ENTITY % l" + std::to_string(level) + " '";
    for (int i = 0; i < 10; ++i) subset += "%l" + std::to_string(level - 1) + ";";
    subset += "'>";
  }
  TXmlLimits limits;
  limits.MaxEntityExpansionChars = 100000;
  const TXmlLimitsOverride narrow(limits);
  TDtdDocumentFixture f;
  f.WriteFile("laughs.dtd", subset);
  EXPECT_EQ(f.Parse("<!DOCTYPE r SYSTEM 'laughs.dtd'><r/>"), nullptr);
  EXPECT_NE(std::find(f.Errors.begin(), f.Errors.end(), XmlErrors::LimitExceeded), f.Errors.end());
  // A content model nested 100,000 deep is refused without deep recursion (the
  // builder stops at MaxContentModelDepth).
  const std::string deep = std::string(100000, '(') + "a" + std::string(100000, ')');
  EXPECT_EQ(f.Parse(Doc("<!ELEMENT r " + deep + ">", "<r/>")), nullptr);
  EXPECT_EQ(f.Errors, std::vector<int>{XmlErrors::ContentModelNotBuilt});
  // A file outside the allowed folder is not read: the external subset is unresolved.
  const std::filesystem::path outside = f.Folder.parent_path() / (f.Folder.filename().string() + "-outside.dtd");
  std::ofstream(outside) << "<!ELEMENT r ANY>";
  EXPECT_EQ(f.Parse("<!DOCTYPE r SYSTEM '" + ToUtf8(FileNameToFileUri(outside.string(), 0)) + "'><r/>"), nullptr);
  EXPECT_EQ(f.Errors, std::vector<int>{XmlErrors::ExternalDtdUnresolved});
  EXPECT_EQ(f.Parse("<!DOCTYPE r SYSTEM '../" + outside.filename().string() + "'><r/>"), nullptr);
  std::filesystem::remove(outside);
  EXPECT_EQ(f.Parse("<!DOCTYPE r SYSTEM 'http://example.org/r.dtd'><r/>"), nullptr);
}

}  // namespace

namespace {

// The book's road: the internal subset checked for well-formedness only, entity
// references replaced while the document is built, nothing external read.
struct TExpandingFixture {
  TDomImplementation Implementation{nullptr};
  TXmlToDomParser Parser{nullptr};
  std::vector<int> Errors;
  std::vector<WideString> Hints;

  TExpandingFixture() {
    InstallDtdValidation(Implementation);
    Implementation.OnError = [this](TObject*, const TDomError& error, bool&) {
      Errors.push_back(error.Kind());
      Hints.push_back(error.Hint());
    };
    Parser.SetDOMImpl(&Implementation);
    Parser.SetKeepEntityRefs(false);
    Parser.SetKeepCDATASections(false);
    Parser.SetKeepComments(false);
  }
  void Narrow(void (*set)(TXmlLimits&)) {
    TXmlLimits limits = Parser.Limits();
    set(limits);
    Parser.SetLimits(limits);
  }
  TDomDocument* Parse(const std::string& text) {
    Errors.clear();
    Hints.clear();
    try {
      TStringStream stream(text);
      return Parser.ParseStream(&stream, u"book", nullptr, true);
    } catch (const EParserException&) {
      return nullptr;
    }
  }
};

std::string Laughs(const std::string& leaf, int levels) {
  std::string subset = "<!ENTITY l0 \"" + leaf + "\">";
  for (int level = 1; level <= levels; ++level) {
    subset += "<!ENTITY l" + std::to_string(level) + " \"";
    for (int i = 0; i < 10; ++i) subset += "&l" + std::to_string(level - 1) + ";";
    subset += "\">";
  }
  return subset;
}

}  // namespace

TEST(DtdDocumentTest, TheBuilderReplacesReferencesWhileItBuilds) {
  TExpandingFixture f;
  TDomDocument* document =
      f.Parse(Doc("<!ENTITY nbsp '&#160;'><!ENTITY b '<b>bold&nbsp;<![CDATA[<raw>]]><!--c--></b>'>"
                  "<!ENTITY twice '&b;&b;'>",
                  "<r a='x&nbsp;y'>one&nbsp;two &twice; end</r>"));
  ASSERT_NE(document, nullptr);
  const TDomElement* r = document->GetDocumentElement();
  EXPECT_EQ(r->GetAttributeValue(u"a"), u"x\u00A0y");
  ASSERT_EQ(r->GetChildCount(), 4);
  EXPECT_EQ(r->GetFirstChild()->GetNodeValue(), u"one\u00A0two ");
  // Two copies of the one parsed text, each its own nodes; CDATA as text, no comment.
  const TDomNode* first = r->GetChildNodes()->GetItem(1);
  const TDomNode* second = r->GetChildNodes()->GetItem(2);
  EXPECT_NE(first, second);
  for (const TDomNode* b : {first, second}) {
    EXPECT_EQ(b->GetNodeName(), u"b");
    ASSERT_EQ(b->GetChildCount(), 1);
    EXPECT_EQ(b->GetTextContent(), u"bold\u00A0<raw>");
  }
  EXPECT_EQ(r->GetLastChild()->GetNodeValue(), u" end");
  EXPECT_TRUE(f.Errors.empty());
}

TEST(DtdDocumentTest, TheBuildersExpansionKeepsToTheLimits) {
  const struct {
    const char* Name;
    void (*Narrow)(TXmlLimits&);
    std::string Subset;
    std::string Body;
    const char16_t* Limit;
  } cases[] = {
      {"text", [](TXmlLimits& l) { l.MaxEntityExpansionChars = 100000; }, Laughs("lol", 12), "<r>&l12;</r>",
       u"MaxEntityExpansionChars"},
      {"markup", [](TXmlLimits& l) { l.MaxEntityExpansionChars = 100000; }, Laughs("<b>lol</b>", 12), "<r>&l12;</r>",
       u"MaxEntityExpansionChars"},
      {"nodes", [](TXmlLimits& l) { l.MaxNodeCount = 1000; }, Laughs("<b/>", 4), "<r>&l4;</r>", u"MaxNodeCount"},
      {"depth", [](TXmlLimits& l) { l.MaxElementDepth = 20; },
       "<!ENTITY d0 'x'>" +
           [] {
             std::string chain;
             for (int i = 1; i <= 30; ++i)
               chain += "<!ENTITY d" + std::to_string(i) + " '<a>&d" + std::to_string(i - 1) + ";</a>'>";
             return chain;
           }(),
       "<r>&d30;</r>", u"MaxElementDepth"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TExpandingFixture f;
    f.Narrow(c.Narrow);
    const std::string document = Doc(c.Subset, c.Body);
    TAllocationMeter meter;
    EXPECT_EQ(f.Parse(document), nullptr);
    ASSERT_EQ(f.Errors, std::vector<int>{XmlErrors::LimitExceeded});
    EXPECT_EQ(f.Hints.front(), c.Limit);
    // The work ends with the budget: linear in it, not in what the entities would make.
    EXPECT_LT(meter.AllocatedBytes(), 64 * 100000);
  }
}

TEST(DtdDocumentTest, WithoutResolverAnExternalSubsetIsAReportedError) {
  TDomImplementation implementation(nullptr);
  InstallDtdValidation(implementation);
  std::vector<int> kinds;
  std::vector<WideString> hints;
  implementation.OnError = [&](TObject*, const TDomError& error, bool&) {
    kinds.push_back(error.Kind());
    hints.push_back(error.Hint());
  };
  TXmlToDomParser parser(nullptr);
  parser.SetDOMImpl(&implementation);
  parser.DomBuilder().DocTypeDeclTreatment = dtCheckValidity;
  TStringStream stream("<!DOCTYPE r SYSTEM 'r.dtd'><r/>");
  EXPECT_THROW(parser.ParseStream(&stream, u"doc.xml", nullptr, true), EParserException);
  ASSERT_EQ(kinds, std::vector<int>{XmlErrors::ExternalDtdUnresolved});
  EXPECT_NE(hints.front().find(u"no resource resolver"), WideString::npos);
}
