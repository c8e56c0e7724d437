#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "XmlParserTestSupport.h"
#include "xml/XmlAllocationMeter.h"
#include "xml/codecs/Utf16Codecs.h"
#include "xml/dom/DomExceptions.h"
#include "xml/parser/XmlDocReader.h"
#include "xml/parser/XmlHandlers.h"
#include "xml/utils/WideStringUtils.h"

namespace {

// ASCII text as UTF-16LE bytes.
std::string Utf16LE(const std::string& ascii) {
  std::string bytes;
  for (const char c : ascii) bytes += {c, '\0'};
  return bytes;
}

// The well-formedness verdicts on documents: the first error's kind (0 for none), its
// offending text and hint.
TEST(XmlWFTestHandlerTest, JudgesTheStructureOfDocuments) {
  const struct {
    const char* Text;
    int Kind;
    std::string Offending;
    const char* Hint;
  } cases[] = {
      {"<a/><b/>", 52, "b", ""},
      {"<a></b>", 79, "b", ""},
      {"<a><b></a>", 79, "a", ""},
      {"<a><b>", 75, "", "b"},
      {"<?xml version='1.0'?>", 89, "", ""},
      {"<!-- only -->", 89, "", ""},
      {"x<a/>", 81, "x", ""},
      {"<a/>x", 81, "x", ""},
      {"&#65;<a/>", 81, "&#", ""},
      {"&amp;<a/>", 81, "&amp;", ""},
      {"<a/><![CDATA[x]]>", 81, "x", ""},
      {" \n<a/>\n ", 0, "", ""},
      {"<!DOCTYPE a><!DOCTYPE a><a/>", 102, "a", ""},
      {"<a/><!DOCTYPE a>", 99, "a", ""},
      {"<1/>", 62, "1", ""},
      {"<a 1='x'/>", 56, "1", ""},
      {"<a x='<'/>", 73, "<", ""},
      {"<a>]]></a>", 59, "]]>", ""},
      {"<a><!--x---></a>", 51, "x", ">"},
      {"<a><?xml version='1.0'?></a>", 66, "xml", ""},
      {"<a>&#0;</a>", 59, std::string(1, '\0'), ""},
      // Entities are declared only by a DTD: without one, only the five predefined exist.
      {"<a>&nbsp;</a>", 98, "&nbsp;", ""},
      {"<a href='a&nbsp;b'/>", 98, "&nbsp;", ""},
      {"<a href='a&amp;b'>&lt;&gt;&amp;&apos;&quot;</a>", 0, "", ""},
      {"<!DOCTYPE a><a>&nbsp;</a>", 0, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    TParserFixture fixture;
    TDomDocument* document = fixture.Parse(c.Text);
    EXPECT_EQ(fixture.FirstErrorKind(), c.Kind);
    EXPECT_EQ(document == nullptr, c.Kind != 0);
    if (c.Kind == 0 || fixture.Errors.empty()) continue;
    EXPECT_EQ(ToUtf8(fixture.Errors.front()->OffendingText()), c.Offending);
    EXPECT_EQ(Narrow(fixture.Errors.front()->Hint()), c.Hint);
  }
}

TEST(XmlWFTestHandlerTest, AFragmentMayHoldSeveralTopElementsAndText) {
  TParserFixture fixture;
  fixture.Parser.SetKeepEntityRefs(false);
  TDomDocument* document = fixture.Parse("<r/>");
  TDomDocumentFragment* fragment = NewDomNode<TDomDocumentFragment>(*document);
  TStringStream stream("x<a/>&amp;<b>y</b>");
  TXmlSimpleInputSource source(&stream, {}, nullptr, 1024, u"", u"");
  EXPECT_TRUE(fixture.Parser.ParseIntoFragment(&source, fragment));
  EXPECT_EQ(Canonical(*fragment), "x<a></a>&amp;<b>y</b>");
  TStringStream open("<a>");
  TXmlSimpleInputSource openSource(&open, {}, nullptr, 1024, u"", u"");
  ExpectRaises<EParserException>([&] { fixture.Parser.ParseIntoFragment(&openSource, fragment); }, SParserError);
  EXPECT_EQ(fixture.FirstErrorKind(), 75);
}

TEST(XmlWFTestHandlerTest, SignalsOutsideTheirModeAreInternalFaults) {
  TXmlWFTestHandler handler(nullptr);
  ExpectRaises<EParserException>([&] { handler.ProcessSignal(TXmlStartElementSignal(nullptr, nullptr)); },
                                 SInternalParserException);
  handler.ProcessSignal(TXmlStartDocumentSignal(nullptr, nullptr));
  EXPECT_EQ(handler.Mode(), TXmlWFTestHandler::InDocument);
  ExpectRaises<EParserException>([&] { handler.ProcessSignal(TXmlStartIntDtdSignal(nullptr, nullptr)); },
                                 SInternalParserException);
  handler.ProcessSignal(TXmlAbortedSignal(nullptr, nullptr));
  EXPECT_EQ(handler.Mode(), TXmlWFTestHandler::Idle);
}

TEST(XmlWFTestHandlerTest, WithoutReaderOnlyFatalErrorsRaise) {
  TXmlWFTestHandler handler(nullptr);
  handler.ProcessSignal(TXmlStartDocumentSignal(nullptr, nullptr));
  TXmlStartElementSignal bad(nullptr, nullptr);
  bad.QualifiedName = u"1";
  ExpectRaises<EParserException>([&] { handler.ProcessSignal(bad); }, SSignalProcessingException);
}

// ---- DOM builder ----

TEST(XmlDomBuilderTest, BuildsTheDocumentTree) {
  TParserFixture fixture;
  TDomDocument* document = fixture.Parse(
      "<?xml version='1.0' encoding='UTF-8' standalone='yes'?>\n<!DOCTYPE r>\n<?p d?><!--c-->"
      "<r a='1'>x<![CDATA[<y>]]><e/>&lt;&foo;<!--d--></r>");
  ASSERT_NE(document, nullptr) << fixture.FirstErrorKind();
  EXPECT_EQ(document->XmlVersion, u"1.0");
  EXPECT_EQ(document->XmlEncoding, u"UTF-8");
  EXPECT_EQ(document->InputEncoding, u"UTF-8");
  EXPECT_EQ(document->XmlStandalone, sdYes);
  EXPECT_EQ(document->DocumentUri, u"test.xml");
  ASSERT_NE(document->GetDoctypeDecl(), nullptr);
  EXPECT_EQ(document->GetDoctypeDecl()->GetName(), u"r");
  const TDomElement* root = document->GetDocumentElement();
  ASSERT_NE(root, nullptr);
  std::vector<int> types;
  for (TDomNode* child = root->GetFirstChild(); child; child = child->GetNextSibling())
    types.push_back(child->GetNodeType());
  // Kept by default: the CDATA section, entity references (predefined ones too), comments.
  EXPECT_EQ(types,
            (std::vector<int>{ntText, ntCDATASection, ntElement, ntEntityReference, ntEntityReference, ntComment}));
}

TEST(XmlDomBuilderTest, WithoutKeepingThemCDataAndPredefinedEntitiesJoinTheText) {
  TParserFixture fixture;
  fixture.Parser.SetKeepCDATASections(false);
  fixture.Parser.SetKeepComments(false);
  fixture.Parser.SetKeepEntityRefs(false);
  EXPECT_FALSE(fixture.Parser.DomBuilder().KeepComments);
  TDomDocument* document = fixture.Parse("<!--c--><r>a<![CDATA[b]]>c&lt;&#65;<!--d-->d</r>");
  ASSERT_NE(document, nullptr);
  const TDomElement* root = document->GetDocumentElement();
  ASSERT_EQ(root->GetChildCount(), 1);
  const auto* text = static_cast<const TDomText*>(root->GetFirstChild());
  EXPECT_EQ(text->GetData(), u"abc<Ad");
  EXPECT_TRUE(text->FromCharRef());  // the reference joined an existing text node
  EXPECT_EQ(document->GetChildCount(), 1);
}

TEST(XmlDomBuilderTest, AttributeValuesAreNormalised) {
  TParserFixture fixture;
  TDomDocument* document =
      fixture.Parse("<a href='a&amp;b' t='x\ty\nz' r='&#x41;&#10;&lt;' s=\"it&apos;s\" l=\"a\r\nb\" c='&#60;'/>");
  ASSERT_NE(document, nullptr);
  const TDomElement* a = document->GetDocumentElement();
  EXPECT_EQ(a->GetAttributeValue(u"href"), u"a&b");
  EXPECT_EQ(a->GetAttributeValue(u"t"), u"x y z");
  EXPECT_EQ(a->GetAttributeValue(u"r"), u"A\n<");
  EXPECT_EQ(a->GetAttributeValue(u"s"), u"it's");
  EXPECT_EQ(a->GetAttributeValue(u"l"), u"a b");
  EXPECT_EQ(a->GetAttributeValue(u"c"), u"<");
}

TEST(XmlDomBuilderTest, TextOutsideTheTopElementIsNotKept) {
  TParserFixture fixture;
  TDomDocument* document = fixture.Parse("\n<a/>\n");
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(document->GetChildCount(), 1);
}

// ---- front end ----

TEST(XmlToDomParserTest, RefusesBadArguments) {
  TParserFixture fixture;
  ExpectRaises<EAccessViolation>([&] { fixture.Parser.ParseString("", u"", nullptr, true); }, SEmptyString);
  ExpectRaises<EAccessViolation>([&] { fixture.Parser.ParseWideString(u"", u"", nullptr, true); }, SEmptyString);
  ExpectRaises<EAccessViolation>([&] { fixture.Parser.ParseFile(""); }, SFilenameNotSpecified);
  ExpectRaises<EAccessViolation>([&] { fixture.Parser.ParseStream(nullptr, u"", nullptr, true); }, SStreamNotSpecified);
  ExpectRaises<EAccessViolation>([&] { fixture.Parser.ParseSourceCode(nullptr, u""); }, SSourceCodeNotSpecified);
  ExpectRaises<EAccessViolation>([&] { fixture.Parser.ParseInputSource(nullptr); }, SInputSourceNotSpecified);
  ExpectRaises<EAccessViolation>([&] { fixture.Parser.ParseIntoFragment(nullptr, nullptr); }, SFragmentNotSpecified);
  EXPECT_EQ(fixture.Implementation.GetDocuments()->GetLength(), 0);
  ExpectRaises<ENot_Supported_Err>([&] { fixture.Parser.SetBufferSize(1023); }, SBufferSizeTooSmall);
  EXPECT_EQ(fixture.Parser.BufferSize(), 4096);
  fixture.Parser.SetBufferSize(1024);
  EXPECT_EQ(fixture.Parser.BufferSize(), 1024);
}

TEST(XmlToDomParserTest, DeclarationFaultsAreReportedThenRaised) {
  const struct {
    std::string Bytes;
    int Kind;
  } cases[] = {
      {"<?xml version='1.1'?><a/>", 151},
      {"<?xml encoding='UTF-8'?><a/>", 71},
      {"<?xml version='1.0' encoding='x-unknown-9'?><a/>", 147},
      {"\xFF\xFE" + Utf16LE("<?xml version='1.0' encoding='UTF-8'?><a/>"), 45},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Kind);
    TParserFixture fixture;
    EXPECT_EQ(fixture.Parse(c.Bytes), nullptr);
    EXPECT_EQ(fixture.FirstErrorKind(), c.Kind);
    EXPECT_EQ(fixture.Errors.front()->StartLine(), -1);  // no location
    EXPECT_EQ(fixture.Implementation.GetDocuments()->GetLength(), 0);
  }
}

TEST(XmlToDomParserTest, ParsesEveryKindOfSource) {
  TParserFixture fixture;
  TDomDocument* document = fixture.Parser.ParseWideString(u"<a>\u044F</a>", u"w", CodecClassOf<TUTF16LECodec>(), true);
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(document->GetDocumentElement()->GetTextContent(), u"\u044F");
  // Source pieces are joined with nothing before them: a declaration may open the first.
  const std::vector<WideString> pieces{u"<?xml version='1.0'?>", u"<a>", u"b</a>"};
  document = fixture.Parser.ParseSourceCode(&pieces, u"s");
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(document->GetDocumentElement()->GetTextContent(), u"b");
  // An 8-bit book whose declaration names its code page.
  document = fixture.Parse("<?xml version=\"1.0\" encoding=\"windows-1251\"?><p>\xDF</p>");
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(document->GetDocumentElement()->GetTextContent(), u"\u042F");
}

TEST(XmlToDomParserTest, ParsesAFileUnderItsFileUri) {
  const std::string name = ::testing::TempDir() + "parser-test.fb2";
  std::ofstream(name, std::ios::binary) << "\xEF\xBB\xBF<book>\xD1\x8F</book>";
  TParserFixture fixture;
  TDomDocument* document = fixture.Parser.ParseFile(name);
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(document->GetDocumentElement()->GetTextContent(), u"\u044F");
  EXPECT_EQ(document->DocumentUri, u"file://" + WideString(name.begin(), name.end()));
  std::remove(name.c_str());
}

TEST(XmlToDomParserTest, TheDoctypeNodeKnowsWhereItsSubsetStarts) {
  TParserFixture fixture;
  TDomDocument* document = fixture.Parse("\n<!DOCTYPE r SYSTEM 'r.dtd' [<!ENTITY e 'x'>]>\n<r/>");
  ASSERT_NE(document, nullptr);
  const TDomDocumentTypeDecl* doctype = document->GetDoctypeDecl();
  ASSERT_NE(doctype, nullptr);
  EXPECT_EQ(doctype->GetSystemId(), u"r.dtd");
  EXPECT_EQ(doctype->GetInternalSubset(), u"<!ENTITY e 'x'>");
  // The position just before the subset's "<": the "[", 29th character, column 28 of line 2.
  EXPECT_EQ(doctype->IntSubsetStartLine, 2);
  EXPECT_EQ(doctype->IntSubsetStartColumn, 28);
  EXPECT_EQ(doctype->IntSubsetStartCharNumber, 29);
}

TEST(XmlToDomParserTest, AFailedParseFreesItsDocumentAndTheNextOneWorks) {
  TParserFixture fixture;
  EXPECT_EQ(fixture.Parse("<a><b></a>"), nullptr);
  EXPECT_EQ(fixture.Implementation.GetDocuments()->GetLength(), 0);
  EXPECT_EQ(fixture.Parser.DomBuilder().ReferenceNode(), nullptr);
  EXPECT_NE(fixture.Parse("<a><b/></a>"), nullptr);
  EXPECT_EQ(fixture.Implementation.GetDocuments()->GetLength(), 1);
}

TEST(XmlToDomParserTest, ErrorsAreReportedWithTheirPlace) {
  TParserFixture fixture;
  EXPECT_EQ(fixture.Parse("<a>\n  <b>&nbsp;</b></a>"), nullptr);
  ASSERT_EQ(fixture.Errors.size(), 1u);
  const TDomError& error = *fixture.Errors[0];
  EXPECT_EQ(error.Kind(), 98);
  EXPECT_EQ(error.GetSeverity(), esFatal);
  EXPECT_EQ(error.StartLine(), 2);
  EXPECT_EQ(error.StartColumn(), 6);
  EXPECT_EQ(error.StartByte(), 9);
  EXPECT_EQ(error.EntityUri(), u"test.xml");
}

TEST(XmlToDomParserTest, AnErrorHandlerMayLetTheParseGoOn) {
  TParserFixture fixture;
  fixture.Implementation.OnError = [&](TObject*, const TDomError& error, bool& go) {
    fixture.Errors.push_back(error.Clone());
    go = true;
  };
  TDomDocument* document = fixture.Parse("<a><1/>t</a>");
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(fixture.FirstErrorKind(), 62);
}

TEST(XmlToDomParserTest, TheImplementationsDestructionClearsTheReferences) {
  TXmlToDomParser parser(nullptr);
  {
    TDomImplementation implementation(nullptr);
    parser.SetDOMImpl(&implementation);
    EXPECT_EQ(parser.Reader().DOMImpl(), &implementation);
  }
  EXPECT_EQ(parser.DOMImpl(), nullptr);
  EXPECT_EQ(parser.Reader().DOMImpl(), nullptr);
  ExpectRaises<EAccessViolation>([&] { parser.ParseString("<a/>", u"", nullptr, true); }, SDomImplNotSpecified);
}

TEST(XmlToDomParserTest, ParseSystemIdWithoutResolverOrStream) {
  TParserFixture fixture;
  ExpectRaises<ENot_Found_Err>([&] { fixture.Parser.ParseSystemId(u"x.xml", nullptr, true); },
                               "No resource resolver assigned to DOM implementation.");
  struct TNoStream : TCustomResourceResolver {
    using TCustomResourceResolver::TCustomResourceResolver;
    std::unique_ptr<TStream> ResolveResource(WideStringView, WideStringView, WideString&) override { return {}; }
  } resolver(nullptr);
  fixture.Implementation.SetResourceResolver(&resolver);
  EXPECT_EQ(fixture.Parser.ParseSystemId(u"x.xml", nullptr, true), nullptr);
}

// ---- limits ----

TEST(XmlToDomParserTest, DeepNestingEndsAtTheDepthLimitWithItsName) {
  TParserFixture fixture;
  TXmlLimits limits;
  limits.MaxElementDepth = 100;
  fixture.Parser.SetLimits(limits);
  std::string deep;
  for (int i = 0; i < 100; ++i) deep += "<a>";
  for (int i = 0; i < 100; ++i) deep += "</a>";
  EXPECT_NE(fixture.Parse(deep), nullptr);
  EXPECT_EQ(fixture.Parse("<a>" + deep + "</a>"), nullptr);
  ASSERT_EQ(fixture.FirstErrorKind(), 146);
  EXPECT_EQ(fixture.Errors.front()->Hint(), u"MaxElementDepth");
}

TEST(XmlToDomParserTest, TheDefaultDepthLimitHoldsWithoutExhaustingTheStack) {
  TParserFixture fixture;
  const int depth = DefaultXmlLimits().MaxElementDepth;
  std::string deep;
  for (int i = 0; i < depth; ++i) deep += "<a>";
  for (int i = 0; i < depth; ++i) deep += "</a>";
  EXPECT_NE(fixture.Parse(deep), nullptr);
  EXPECT_EQ(fixture.Parse("<b>" + deep + "</b>"), nullptr);
  EXPECT_EQ(fixture.FirstErrorKind(), 146);
}

TEST(XmlToDomParserTest, ALongTokenEndsAtTheTokenLimitWithItsName) {
  TXmlLimits limits;
  limits.MaxTokenChars = 1000;
  const TXmlLimitsOverride scope(limits);
  TParserFixture fixture;  // made inside the scope: starts with the narrowed limits
  EXPECT_NE(fixture.Parse("<a>" + std::string(1000, 'x') + "</a>"), nullptr);
  EXPECT_EQ(fixture.Parse("<a>" + std::string(1001, 'x') + "</a>"), nullptr);
  ASSERT_EQ(fixture.FirstErrorKind(), 146);
  EXPECT_EQ(fixture.Errors.front()->Hint(), u"MaxTokenChars");
}

// Growth: each case is bounded by the bytes a parse allocates or keeps alive, which
// text copied over and over, a lookup that scans every attribute or a costly node
// exceed many times over.

// `count` copies of `piece` inside one element.
std::string Repeated(const std::string& piece, int count, const std::string& open = "<a>",
                     const std::string& close = "</a>") {
  std::string text = open;
  for (int i = 0; i < count; ++i) text += piece;
  return text + close;
}

TEST(XmlToDomParserGrowthTest, TextOfManyReferencesIsBuiltInLinearWork) {
  constexpr int Count = 20000;
  const struct {
    const char* Piece;
    WideStringView Text;  // what each piece adds
  } cases[] = {{"&#65;", u"A"}, {"x&amp;", u"x&"}, {"<![CDATA[c]]>", u"c"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Piece);
    TParserFixture fixture;
    fixture.Parser.SetKeepEntityRefs(false);
    fixture.Parser.SetKeepCDATASections(false);
    const std::string document = Repeated(c.Piece, Count);
    TAllocationMeter meter;
    TDomDocument* parsed = fixture.Parse(document);
    ASSERT_NE(parsed, nullptr);
    const TDomNode* a = parsed->GetDocumentElement();
    ASSERT_EQ(a->GetChildCount(), 1);  // one text node holds it all
    EXPECT_EQ(a->GetTextContent().size(), Count * c.Text.size());
    // Copying the text for each piece would allocate Count^2 / 2 units.
    EXPECT_LT(meter.AllocatedBytes(), 16 * int64_t(document.size()));
  }
}

TEST(XmlToDomParserGrowthTest, AnElementOfManyAttributesIsBuiltInLinearWork) {
  constexpr int Count = 20000;
  std::string tag = "<a";
  char attribute[40];
  for (int i = 0; i < Count; ++i) {
    std::snprintf(attribute, sizeof attribute, " attribute-%05d='v'", i);  // names too long to copy for free
    tag += attribute;
  }
  TParserFixture fixture;
  TAllocationMeter meter;
  TDomDocument* parsed = fixture.Parse(tag + "/>");
  ASSERT_NE(parsed, nullptr);
  EXPECT_EQ(parsed->GetDocumentElement()->GetAttributes()->GetLength(), Count);
  // A name copied for each comparison would make Count^2 / 2 allocations.
  EXPECT_LT(meter.Allocations(), 10 * Count);
  EXPECT_LT(meter.AllocatedBytes(), 64 * int64_t(tag.size()));
  EXPECT_EQ(parsed->GetDocumentElement()->GetAttributeValue(u"attribute-12345"), u"v");
  // The same name twice is found among many.
  EXPECT_EQ(fixture.Parse(tag + " attribute-00007='w'/>"), nullptr);
  EXPECT_EQ(fixture.FirstErrorKind(), XmlErrors::DuplicateAttribute);
}

TEST(XmlToDomParserGrowthTest, AnEmptyElementCostsAFewHundredBytes) {
  constexpr int Count = 20000;
  TParserFixture fixture;
  const std::string document = Repeated("<e/>", Count);
  TAllocationMeter meter;
  ASSERT_NE(fixture.Parse(document), nullptr);
  EXPECT_LT(meter.PeakLiveBytes() / Count, 256);
}

TEST(XmlToDomParserGrowthTest, TheNodeCountIsLimited) {
  TParserFixture fixture;
  TXmlLimits limits = fixture.Parser.Limits();
  limits.MaxNodeCount = 100;
  fixture.Parser.SetLimits(limits);
  EXPECT_NE(fixture.Parse(Repeated("<e/>", 99)), nullptr);  // the top element and 99
  EXPECT_EQ(fixture.Parse(Repeated("<e/>", 100)), nullptr);
  ASSERT_EQ(fixture.FirstErrorKind(), XmlErrors::LimitExceeded);
  EXPECT_EQ(fixture.Errors.front()->Hint(), u"MaxNodeCount");
  // Text nodes and attributes count as well.
  EXPECT_EQ(fixture.Parse(Repeated("<e/>t", 50)), nullptr);
  EXPECT_EQ(fixture.Parse(Repeated("<e x='1'/>", 50)), nullptr);
  EXPECT_EQ(fixture.FirstErrorKind(), XmlErrors::LimitExceeded);
}

TEST(XmlToDomParserGrowthTest, RunningOutOfMemoryIsAReportedError) {
  TParserFixture fixture;
  const std::string document = Repeated("<e>text</e>", 50000);
  {
    TAllocationMeter meter;
    meter.FailAbove(1024 * 1024);
    EXPECT_EQ(fixture.Parse(document), nullptr);
  }
  ASSERT_EQ(fixture.Errors.size(), 1u);
  EXPECT_EQ(fixture.FirstErrorKind(), XmlErrors::OutOfMemory);
  EXPECT_EQ(fixture.Errors.front()->Hint(), SHintOutOfMemory);
  EXPECT_EQ(fixture.Implementation.GetDocuments()->GetLength(), 0);  // nothing half built stays
  EXPECT_NE(fixture.Parse(document), nullptr);                       // with memory again, the same parser reads it
}

TEST(XmlToDomParserTest, UTF16WithoutByteOrderMarkSaysTheEncodingWasNotDetected) {
  const std::string le = Utf16LE("<?xml version=\"1.0\"?><a/>");
  std::string be;
  for (size_t i = 0; i < le.size(); i += 2) be += {le[i + 1], le[i]};
  TParserFixture fixture;
  for (const std::string& bytes : {le, be, Utf16LE("<a/>")}) {
    EXPECT_EQ(fixture.Parse(bytes), nullptr);
    ASSERT_EQ(fixture.FirstErrorKind(), XmlErrors::UndetectedEncoding);
    EXPECT_EQ(fixture.Errors.front()->Hint(), SHintUndetectedEncoding);
  }
  // With a mark, or with the codec named by the caller, the same text is read.
  EXPECT_NE(fixture.Parse("\xFF\xFE" + le), nullptr);
  TStringStream stream(le);
  EXPECT_NE(fixture.Parser.ParseStream(&stream, u"", CodecClassOf<TUTF16LECodec>(), true), nullptr);
}

}  // namespace
