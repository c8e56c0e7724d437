#include <gtest/gtest.h>

#include "xml/XmlTestSupport.h"

#include <functional>

#include "xml/parser/DomError.h"
#include "xml/parser/XmlSignals.h"

namespace {

const TXmlTextPos Start{10, 9, 3, 2, 1}, End{20, 19, 13, 2, 1};
TDomNode* const SomeNode = reinterpret_cast<TDomNode*>(0x1000);  // compared, never used

TEST(DomErrorTest, SeverityFollowsTheTypeCode) {
  const struct {
    int Kind;
    TXmlErrorSeverity Severity;
  } cases[] = {{0, esWarning},  {5, esWarning},   {6, esError},   {43, esError},    {44, esFatal},   {87, esFatal},
               {88, esWarning}, {109, esWarning}, {151, esFatal}, {152, esWarning}, {200, esWarning}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Kind);
    const TDomError error(TXmlErrorKind(c.Kind), nullptr, u"", u"");
    EXPECT_EQ(error.GetSeverity(), c.Severity);
    EXPECT_EQ(IsNonErrorKind(c.Kind), c.Kind <= 5);
  }
}

TEST(DomErrorTest, LocationFromArgumentsFromASignalOrNone) {
  const TDomError stored(62, Start, End, u"file:///a.fb2", nullptr, SomeNode, u"1a", u"hint");
  EXPECT_EQ(stored.StartByte(), 10);
  EXPECT_EQ(stored.StartChar(), 9);
  EXPECT_EQ(stored.StartColumn(), 3);
  EXPECT_EQ(stored.StartLine(), 2);
  EXPECT_EQ(stored.StartTabs(), 1);
  EXPECT_EQ(stored.EndByte(), 20);
  EXPECT_EQ(stored.EndColumn(), 13);
  EXPECT_EQ(stored.EntityUri(), u"file:///a.fb2");
  EXPECT_EQ(stored.TargetNode(), SomeNode);
  EXPECT_EQ(stored.OffendingText(), u"1a");
  EXPECT_EQ(stored.Hint(), u"hint");

  TXmlStartElementSignal signal(nullptr, Start, End, u"u", nullptr, SomeNode);
  const TDomError fromSignal(62, &signal, u"x", u"");
  EXPECT_EQ(fromSignal.EndChar(), 19);
  EXPECT_EQ(fromSignal.StartLine(), 2);
  EXPECT_EQ(fromSignal.EntityUri(), u"u");
  EXPECT_EQ(fromSignal.TargetNode(), SomeNode);

  const TDomError none(89, nullptr, u"", u"");
  for (int64_t v : {none.StartByte(), none.StartChar(), none.StartColumn(), none.StartLine(), none.StartTabs(),
                    none.EndByte(), none.EndChar(), none.EndColumn(), none.EndLine(), none.EndTabs()})
    EXPECT_EQ(v, -1);
  EXPECT_EQ(none.EntityUri(), u"");
  EXPECT_EQ(none.TargetNode(), nullptr);
  EXPECT_EQ(none.TargetDtdObject(), nullptr);

  const std::unique_ptr<TDomError> copy = stored.Clone();
  EXPECT_EQ(copy->Kind(), 62);
  EXPECT_EQ(copy->OffendingText(), u"1a");
  EXPECT_EQ(copy->EndByte(), 20);
  EXPECT_EQ(copy->TargetNode(), SomeNode);
}

TEST(XmlSignalTest, CloneCopiesLocationDataAndTakesTheNewReader) {
  auto* const firstReader = reinterpret_cast<TXmlCustomReader*>(0x10);
  auto* const secondReader = reinterpret_cast<TXmlCustomReader*>(0x20);
  TXmlAttributeDefinitionSignal signal(firstReader, Start, End, u"e", nullptr, nullptr);
  signal.AttrName = u"kind";
  signal.AttrType = 1;
  signal.EnumValues.Add(u"gif");
  signal.DefaultText = u"gif";
  signal.InPERef = true;
  const std::unique_ptr<TXmlSignal> clone = signal.Clone(secondReader);
  auto* copy = dynamic_cast<TXmlAttributeDefinitionSignal*>(clone.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->EmittingReader(), secondReader);
  EXPECT_EQ(signal.EmittingReader(), firstReader);
  EXPECT_EQ(copy->AttrName, u"kind");
  EXPECT_EQ(copy->AttrType, 1);
  EXPECT_TRUE(copy->InPERef);
  EXPECT_EQ(copy->StartByte(), 10);
  EXPECT_EQ(copy->EntityUri(), u"e");
  signal.EnumValues.Add(u"png");  // the clone has its own list
  ASSERT_EQ(copy->EnumValues.Count(), 1);
  EXPECT_EQ(copy->EnumValues.Get(0), u"gif");
}

TEST(XmlSignalTest, Scopes) {
  EXPECT_EQ(TXmlCompletedSignal(nullptr, nullptr).GetScope(), ScopeDocument | ScopeDtd);
  EXPECT_EQ(TXmlCommentSignal(nullptr, nullptr).GetScope(), ScopeDocument | ScopeDtd);
  EXPECT_EQ(TXmlStartElementSignal(nullptr, nullptr).GetScope(), ScopeDocument);
  EXPECT_EQ(TXmlEntityDeclarationSignal(nullptr, nullptr).GetScope(), ScopeDtd);
  EXPECT_EQ(TXmlStartIntDtdSignal(nullptr, nullptr).GetScope(), ScopeDtd);
}

struct TCheckCase {
  const char* Name;
  std::function<std::unique_ptr<TXmlSignal>()> Make;
  int Kind;
  const char16_t* Offending;
  const char16_t* Hint;
};

template <typename T>
std::function<std::unique_ptr<TXmlSignal>()> Signal(std::function<void(T&)> fill) {
  return [fill] {
    auto s = std::make_unique<T>(nullptr, nullptr);
    fill(*s);
    return s;
  };
}

TEST(XmlSignalTest, CheckWellformedness) {
  const TCheckCase cases[] = {
      {"completed", Signal<TXmlCompletedSignal>([](auto&) {}), 0, u"", u""},
      {"comment ok", Signal<TXmlCommentSignal>([](auto& s) { s.Text = u" a - b "; }), 0, u"", u""},
      {"comment empty", Signal<TXmlCommentSignal>([](auto&) {}), 0, u"", u""},
      {"comment --", Signal<TXmlCommentSignal>([](auto& s) { s.Text = u"a--b"; }), 51, u"--", u"-"},
      {"comment ends -", Signal<TXmlCommentSignal>([](auto& s) { s.Text = u"a-"; }), 55, u"-", u""},
      {"comment char", Signal<TXmlCommentSignal>([](auto& s) { s.Text = u"a\x01"; }), 59, u"a\x01", u""},
      {"pi xml", Signal<TXmlProcessingInstructionSignal>([](auto& s) { s.PITarget = u"XmL"; }), 66, u"XmL", u""},
      {"pi ?>", Signal<TXmlProcessingInstructionSignal>([](auto& s) {
         s.PITarget = u"t";
         s.Text = u"a?>b";
       }),
       66, u"?>", u""},
      {"pi ok", Signal<TXmlProcessingInstructionSignal>([](auto& s) { s.PITarget = u"xml-stylesheet"; }), 0, u"", u""},
      {"pcdata ]]>", Signal<TXmlPCDATASignal>([](auto& s) { s.Text = u"a]]>"; }), 59, u"a]]>", u""},
      {"pcdata ok", Signal<TXmlPCDATASignal>([](auto& s) { s.Text = u"a]]b"; }), 0, u"", u""},
      {"cdata", Signal<TXmlCDATASignal>([](auto& s) { s.Text = u"\xFFFE"; }), 58, u"", u""},
      {"start tag", Signal<TXmlStartElementSignal>([](auto& s) { s.QualifiedName = u"1p"; }), 62, u"1p", u""},
      {"end tag", Signal<TXmlEndElementSignal>([](auto& s) { s.QualifiedName = u"fb:p"; }), 0, u"", u""},
      {"entity ref", Signal<TXmlEntityRefSignal>([](auto& s) { s.RefName = u"a b"; }), 64, u"a b", u""},
      {"attribute name", Signal<TXmlAttributeSignal>([](auto& s) { s.AttrName = u"-x"; }), 56, u"-x", u""},
      {"attribute <", Signal<TXmlAttributeSignal>([](auto& s) {
         s.AttrName = u"a";
         s.AttrValue = u"x<y";
       }),
       73, u"<", u""},
      {"start document encoding", Signal<TXmlStartDocumentSignal>([](auto& s) { s.DeclEncoding = u"8bit"; }), 63, u"",
       u""},
      {"start document version", Signal<TXmlStartDocumentSignal>([](auto& s) { s.DeclVersion = u"1 0"; }), 70, u"",
       u""},
      {"start document empty", Signal<TXmlStartDocumentSignal>([](auto&) {}), 0, u"", u""},
      {"fragment encoding", Signal<TXmlStartDocumentFragmentSignal>([](auto& s) { s.DeclEncoding = u"-"; }), 63, u"",
       u""},
      {"ext dtd version", Signal<TXmlStartExtDtdSignal>([](auto& s) { s.DeclVersion = u"?"; }), 70, u"", u""},
      {"doctype root", Signal<TXmlDoctypeSignal>([](auto& s) { s.DeclaredRootName = u"#x"; }), 125, u"#x", u""},
      {"doctype public", Signal<TXmlDoctypeSignal>([](auto& s) {
         s.DeclaredRootName = u"FictionBook";
         s.PublicLiteral = u"a\tb";
       }),
       67, u"a\tb", u""},
      {"doctype system", Signal<TXmlDoctypeSignal>([](auto& s) {
         s.DeclaredRootName = u"FictionBook";
         s.SystemLiteral = u"\"'";
       }),
       68, u"\"'", u""},
      {"attdef name", Signal<TXmlAttributeDefinitionSignal>([](auto& s) { s.AttrName = u"1"; }), 107, u"1", u""},
      {"attdef element", Signal<TXmlAttributeDefinitionSignal>([](auto& s) {
         s.AttrName = u"a";
         s.ElementName = u"";
       }),
       111, u"", u""},
      {"attdef notation value", Signal<TXmlAttributeDefinitionSignal>([](auto& s) {
         s.AttrName = u"a";
         s.ElementName = u"e";
         s.AttrType = 1;
         s.EnumValues.Add(u"1gif");
       }),
       123, u"1gif", u""},
      {"attdef nmtoken", Signal<TXmlAttributeDefinitionSignal>([](auto& s) {
         s.AttrName = u"a";
         s.ElementName = u"e";
         s.EnumValues.Add(u"1gif");
         s.EnumValues.Add(u"a b");
       }),
       118, u"a b", u""},
      {"attdef default", Signal<TXmlAttributeDefinitionSignal>([](auto& s) {
         s.AttrName = u"a";
         s.ElementName = u"e";
         s.DefaultText = u"&#xZ;";
       }),
       60, u"&#xZ;", u""},
      {"element decl name", Signal<TXmlElementTypeDeclarationSignal>([](auto& s) { s.ElementName = u"("; }), 112, u"(",
       u""},
      {"element decl content", Signal<TXmlElementTypeDeclarationSignal>([](auto& s) {
         s.ElementName = u"p";
         s.ContentSpec = u"(#PCDATA|a)";
       }),
       129, u"", u""},
      {"entity name", Signal<TXmlEntityDeclarationSignal>([](auto& s) { s.EntityName = u"%"; }), 114, u"%", u""},
      {"entity value", Signal<TXmlEntityDeclarationSignal>([](auto& s) {
         s.EntityName = u"e";
         s.EntityValue = u"%pe;";
       }),
       116, u"%pe;", u""},
      {"entity value and id", Signal<TXmlEntityDeclarationSignal>([](auto& s) {
         s.EntityName = u"e";
         s.EntityValue = u"v";
         s.SystemLiteral = u"s";
       }),
       130, u"", u""},
      {"entity notation", Signal<TXmlEntityDeclarationSignal>([](auto& s) {
         s.EntityName = u"e";
         s.SystemLiteral = u"s.gif";
         s.NotationName = u"1";
       }),
       121, u"1", u""},
      {"entity ok", Signal<TXmlEntityDeclarationSignal>([](auto& s) {
         s.EntityName = u"e";
         s.SystemLiteral = u"s.gif";
         s.NotationName = u"gif";
       }),
       0, u"", u""},
      {"pe name", Signal<TXmlParameterEntityDeclarationSignal>([](auto& s) { s.EntityName = u""; }), 115, u"", u""},
      {"pe value", Signal<TXmlParameterEntityDeclarationSignal>([](auto& s) {
         s.EntityName = u"p";
         s.EntityValue = u"'\"";
       }),
       117, u"'\"", u""},
      {"pe value and id", Signal<TXmlParameterEntityDeclarationSignal>([](auto& s) {
         s.EntityName = u"p";
         s.EntityValue = u"v";
         s.PublicLiteral = u"p";
       }),
       131, u"", u""},
      {"pe reference", Signal<TXmlExternalPEReferenceSignal>([](auto& s) { s.PEName = u"a b"; }), 65, u"a b", u""},
      {"notation name", Signal<TXmlNotationDeclarationSignal>([](auto& s) { s.NotationName = u"1"; }), 122, u"1", u""},
      {"notation public", Signal<TXmlNotationDeclarationSignal>([](auto& s) {
         s.NotationName = u"n";
         s.PublicLiteral = u"<";
       }),
       67, u"<", u""},
  };
  for (const TCheckCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto signal = c.Make();
    TXmlErrorKind kind = 255;
    WideString offending = u"stale", hint = u"stale";
    signal->CheckWellformedness(kind, offending, hint);
    EXPECT_EQ(kind, c.Kind);
    EXPECT_EQ(Narrow(offending), Narrow(c.Offending));
    EXPECT_EQ(Narrow(hint), Narrow(c.Hint));
  }
}

TEST(XmlSignalTest, AttributeValueScan) {
  const struct {
    const char16_t* Value;
    int Kind;
    const char16_t* Offending;
  } cases[] = {
      {u"a &amp; &#65; &#x1F600; \xD83D\xDE00", 0, u""},
      {u"&#xG1;", 60, u"&#xG1;"},
      {u"&#0;", 60, u"&#0;"},
      {u"a &b c", 96, u"a &b c"},
      {u"a &", 96, u"a &"},
      {u"&#12", 92, u"&#12"},
      {u"a<b", 73, u"<"},
      {u"a\x01", 57, u"\x01"},
      {u"\xDC00", 57, u"\xDC00"},
      {u"&1a;", 64, u"1a"},
      {u"&;", 64, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.Value));
    WideString offending;
    EXPECT_EQ(CheckAttributeValue(c.Value, offending), c.Kind);
    EXPECT_EQ(Narrow(offending), Narrow(c.Offending));
  }
}

TEST(XmlSignalTest, ContentModels) {
  const struct {
    const char16_t* ContentModel;
    int Kind;
    const char16_t* Offending;
  } cases[] = {
      {u"EMPTY", 0, u""},
      {u"ANY", 0, u""},
      {u"(#PCDATA)", 0, u""},
      {u"(#PCDATA)*", 0, u""},
      {u"(#PCDATA|a|b)*", 0, u""},
      {u"( #PCDATA | a | b ) *", 0, u""},
      {u"(#PCDATA|a|b)", 129, u""},
      {u"(#PCDATA|a)+", 129, u"+"},
      {u"(#PCDATA,a)*", 129, u","},
      {u"(#PCDATA*)", 129, u"*"},
      {u"(#PCDATA|(a))*", 129, u"("},
      {u"(a,b|c)", 129, u"|"},
      {u"(a|b,c)", 129, u","},
      {u"(title,(p|image)*,epigraph?)+", 0, u""},
      {u"(a)", 0, u""},
      {u"((a))?", 0, u""},
      {u"(ANY|EMPTY)", 0, u""},  // names inside a group
      {u"ANY EMPTY", 127, u"EMPTY"},
      {u"ANY ANY", 126, u"ANY"},
      {u"EMPTY ANY", 126, u"ANY"},
      {u"(a|#PCDATA)", 128, u"#PCDATA"},
      {u"((#PCDATA))", 128, u"#PCDATA"},
      {u"#PCDATA", 128, u"#PCDATA"},
      {u"(#PCDAT)", 129, u"#PCDAT)"},  // a malformed keyword, not #PCDATA
      {u"a", 129, u"a"},
      {u"", 129, u""},
      {u"()", 129, u")"},
      {u"(a|)", 129, u")"},
      {u"(a", 129, u""},
      {u"(a))", 129, u")"},
      {u"(a)(b)", 129, u"("},
      {u"(a)**", 129, u"*"},
      {u"(a**)", 129, u"*"},
      {u"(a,1)", 129, u"1"},
      {u"ANY?", 129, u"?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.ContentModel));
    WideString offending, hint;
    EXPECT_EQ(CheckContentSpec(c.ContentModel, offending, hint), c.Kind);
    EXPECT_EQ(Narrow(offending), Narrow(c.Offending));
  }
  // A fatal tokenizer error is passed on.
  WideString offending, hint;
  EXPECT_EQ(CheckContentSpec(u"(a\xDC00)", offending, hint), 59);
}

}  // namespace
