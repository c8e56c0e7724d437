// The DTD readers: the detail tokenizer's small tokens, parameter-entity inclusion, the
// subset tokenizers' declaration signals and the DTD reader's framing and result.
#include <gtest/gtest.h>

#include "XmlParserTestSupport.h"
#include "xml/codecs/Utf16Codecs.h"
#include "xml/parser/XmlDtdReader.h"
#include "xml/parser/XmlHandlers.h"
#include "xml/parser/XmlSubsetTokenizers.h"

namespace {

// A UTF-16 source over a text, as the DTD readers read one.
struct TTextSource {
  explicit TTextSource(WideStringView text, WideStringView systemId = u"file:///dtd/test.dtd")
      : Stream(text), Source(&Stream, TXmlSourceStart{}, CodecClassOf<TUTF16LECodec>(), 4096, systemId, u"") {}
  TUtilsWideStringStream Stream;
  TXmlSimpleInputSource Source;
};

std::vector<std::string> DetailTokens(WideStringView text) {
  static const char* const Names[] = {
      "AttlistStart", "Comment",     "CondSectEnd", "[",     "CondSectStart", ">",     "ElementStart",
      "End",          "EntityStart", "Ignored",     "%",     "NotationStart", "Punct", "PERef",
      "PIData",       "PITarget",    "Literal",     "Start", "Name",          "S"};
  TTextSource source(text);
  TXmlDtdDetailTokenizer tokenizer(&source.Source, false);
  std::vector<std::string> tokens;
  for (tokenizer.NextToken(); tokenizer.TokenType() != ddEndOfSource; tokenizer.NextToken()) {
    std::string token = Names[tokenizer.TokenType()];
    if (!tokenizer.TokenText().empty() && tokenizer.TokenType() != ddWhiteSpace)
      token += ":" + ToUtf8(tokenizer.TokenText());
    if (tokenizer.ErrorKind()) {
      tokens.push_back(token + "!" + std::to_string(tokenizer.ErrorKind()));
      break;
    }
    tokens.push_back(token);
  }
  return tokens;
}

TEST(XmlDtdDetailTokenizerTest, SmallTokens) {
  using V = std::vector<std::string>;
  const struct {
    const char16_t* Text;
    V Tokens;
  } cases[] = {
      {u"<!ENTITY % p \"x\">", {"EntityStart", "S", "%:%", "S", "Name:p", "S", "Literal:\"x\"", ">"}},
      {u"(a|b)*", {"Punct:(", "Name:a", "Punct:|", "Name:b", "Punct:)*"}},
      {u"%p;x", {"%:%p;", "Name:x"}},
      {u"<!--c-d--><?pi data ?>", {"Comment:c-d", "PITarget:pi", "S", "PIData:data "}},
      {u"<![INCLUDE[]]>", {"CondSectStart", "Name:INCLUDE", "[", "CondSectEnd"}},
      {u"<!ELEMNT", {"ElementStart!103"}},
      {u"<!FOO", {"Name!119"}},
      {u"<!NOTATIN", {"NotationStart!132"}},
      {u"<!-- a -- b -->", {"Comment: a !51"}},
      {u"'open", {"Literal:'open!85"}},
      {u"]x", {"CondSectEnd!59"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.Text));
    EXPECT_EQ(DetailTokens(c.Text), c.Tokens);
  }
}

TEST(XmlDtdDetailTokenizerTest, IgnoredSectionsNest) {
  TTextSource source(u"a <![ x [ ]] ]]> b ]]]> <!ELEMENT");
  TXmlDtdDetailTokenizer tokenizer(&source.Source, false);
  tokenizer.SkipIgnoredSection();
  EXPECT_EQ(tokenizer.TokenType(), ddCondSectEnd);
  tokenizer.NextToken();
  tokenizer.NextToken();
  EXPECT_EQ(tokenizer.TokenType(), ddElementDeclStart);
  TTextSource open(u"<![ ]]>");
  TXmlDtdDetailTokenizer unclosed(&open.Source, false);
  unclosed.SkipIgnoredSection();
  EXPECT_EQ(unclosed.TokenType(), ddEndOfSource);
}

// Records each signal that reaches the end of the chain as one line.
class TDtdRecordingHandler final : public TXmlCustomHandler {
public:
  using TXmlCustomHandler::TXmlCustomHandler;
  void ProcessSignal(const TXmlSignal& signal) override {
    std::string line;
    if (SignalAs<TXmlStartExtDtdSignal>(signal))
      line = "start-ext";
    else if (SignalAs<TXmlStartIntDtdSignal>(signal))
      line = "start-int";
    else if (SignalAs<TXmlCompletedSignal>(signal))
      line = "completed";
    else if (SignalAs<TXmlAbortedSignal>(signal))
      line = "aborted";
    else if (SignalAs<TXmlPEReferenceFoundSignal>(signal))
      return;
    else if (const auto* e = SignalAs<TXmlElementTypeDeclarationSignal>(signal))
      line = "element " + ToUtf8(e->ElementName) + " " + ToUtf8(e->ContentSpec) + (e->InPERef ? " pe" : "");
    else if (const auto* a = SignalAs<TXmlAttributeDefinitionSignal>(signal)) {
      line = "attr " + ToUtf8(a->ElementName) + " " + ToUtf8(a->AttrName) + " type " + std::to_string(a->AttrType) +
             " default " + std::to_string(a->AttrConstraint) + " '" + ToUtf8(a->DefaultText) + "'";
      for (int32_t i = 0; i < a->EnumValues.Count(); ++i) line += " " + ToUtf8(a->EnumValues.Get(i));
    } else if (const auto* n = SignalAs<TXmlEntityDeclarationSignal>(signal))
      line = "entity " + ToUtf8(n->EntityName) + " '" + ToUtf8(n->EntityValue) + "' " + ToUtf8(n->PublicLiteral) + " " +
             ToUtf8(n->SystemLiteral) + " " + ToUtf8(n->NotationName);
    else if (const auto* p = SignalAs<TXmlParameterEntityDeclarationSignal>(signal))
      line = "pe " + ToUtf8(p->EntityName) + " '" + ToUtf8(p->EntityValue) + "' " + ToUtf8(p->SystemLiteral);
    else if (const auto* o = SignalAs<TXmlNotationDeclarationSignal>(signal))
      line = "notation " + ToUtf8(o->NotationName) + " " + ToUtf8(o->PublicLiteral) + " " + ToUtf8(o->SystemLiteral);
    else if (const auto* x = SignalAs<TXmlExternalPEReferenceSignal>(signal))
      line = "unresolved " + ToUtf8(x->PEName);
    else if (const auto* c = SignalAs<TXmlCommentSignal>(signal))
      line = "comment " + ToUtf8(c->Text);
    else if (const auto* i = SignalAs<TXmlProcessingInstructionSignal>(signal))
      line = "pi " + ToUtf8(i->PITarget) + " " + ToUtf8(i->Text);
    else
      line = "?";
    Lines.push_back(line);
  }
  std::vector<std::string> Lines;
};

// A DTD reader into a recording handler, with a DOM implementation that records errors
// and goes on after every error that is not fatal.
struct TDtdReaderFixture {
  TParserFixture Dom;
  TXmlStandardDtdReader Reader{nullptr};
  TDtdRecordingHandler Handler{nullptr};

  TDtdReaderFixture() {
    Reader.SetDOMImpl(&Dom.Implementation);
    Reader.SetNextHandler(&Handler);
  }
  bool External(WideStringView text) {
    TUtilsWideStringStream stream(text);
    TXmlInputSource source(&stream, TXmlSourceStart{}, CodecClassOf<TUTF16LECodec>(), 4096, u"file:///dtd/test.dtd",
                           u"", true);
    return Reader.ParseExternalSubset(source);
  }
  bool Internal(WideStringView text, bool resolveExternal = true) {
    TTextSource source(text, u"file:///dtd/doc.xml");
    return Reader.ParseInternalSubset(source.Source, sdNo, resolveExternal);
  }
  std::vector<int> ErrorKinds() const {
    std::vector<int> kinds;
    for (const auto& e : Dom.Errors) kinds.push_back(e->Kind());
    return kinds;
  }
};

TEST(XmlDtdReaderTest, ExternalSubsetDeclarations) {
  using V = std::vector<std::string>;
  const struct {
    const char16_t* Text;
    V Lines;
  } cases[] = {
      {u"<!ELEMENT doc (a, (b|c)*, d?)>", {"element doc (a, (b|c)*, d?)"}},
      {u"<!ELEMENT e EMPTY><!ELEMENT f ANY>", {"element e EMPTY", "element f ANY"}},
      {u"<!ATTLIST a x CDATA #IMPLIED y (p|q) 'p' z NOTATION (n) #REQUIRED>",
       {"attr a x type 0 default 2 ''", "attr a y type 7 default 0 'p' p q", "attr a z type 1 default 3 '' n"}},
      {u"<!ATTLIST a i ID #REQUIRED r IDREFS #FIXED \"a b\">",
       {"attr a i type 2 default 3 ''", "attr a r type 4 default 1 'a b'"}},
      {u"<!ENTITY e \"a'b\"><!ENTITY u SYSTEM 'u.bin' NDATA gif>", {"entity e 'a&#39;b'   ", "entity u ''  u.bin gif"}},
      {u"<!NOTATION gif PUBLIC '-//GIF'><!NOTATION png SYSTEM 'png'>", {"notation gif -//GIF ", "notation png  png"}},
      {u"<!-- note --><?app run?>", {"comment  note ", "pi app run"}},
      // References are read in place wherever they stand, framed by blanks.
      {u"<!ENTITY % m '(a|b)'><!ELEMENT e %m;>", {"pe m '(a|b)' ", "element e (a|b) "}},
      {u"<!ENTITY % d '<!ELEMENT x EMPTY>'> %d;", {"pe d '<!ELEMENT x EMPTY>' ", "element x EMPTY pe"}},
      // Entity values take parameter entities in; character references stay.
      {u"<!ENTITY % v 'one'><!ENTITY e '%v;&#37;'>", {"pe v 'one' ", "entity e 'one&#37;'   "}},
      // Conditional sections: included, ignored, nested, and chosen by a parameter entity.
      {u"<![INCLUDE[<!ELEMENT a ANY>]]><![IGNORE[<!ELEMENT b ANY><![INCLUDE[ x ]]>]]>", {"element a ANY"}},
      {u"<!ENTITY % on 'INCLUDE'><!ENTITY % off 'IGNORE'><![%on;[<![%off;[<!ELEMENT z ANY>]]><!ELEMENT y ANY>]]>",
       {"pe on 'INCLUDE' ", "pe off 'IGNORE' ", "element y ANY"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.Text));
    TDtdReaderFixture f;
    EXPECT_TRUE(f.External(c.Text));
    V expected{"start-ext"};
    expected.insert(expected.end(), c.Lines.begin(), c.Lines.end());
    expected.push_back("completed");
    EXPECT_EQ(f.Handler.Lines, expected);
    EXPECT_EQ(f.ErrorKinds(), std::vector<int>{});
  }
}

TEST(XmlDtdReaderTest, ErrorsOfTheSubsets) {
  const struct {
    const char16_t* Text;
    bool Internal;
    int Kind;
  } cases[] = {
      {u"<!ELEMENT e %m;>", false, XmlErrors::UndeclaredParameterEntity},
      {u"<!ENTITY % m '(a)'><!ELEMENT e %m;>", true, XmlErrors::PEReferenceInMarkup},
      {u"<!ENTITY e '%x;'>", true, XmlErrors::PEReferenceInMarkup},
      {u"<![INCLUDE[<!ELEMENT a ANY>]]>", true, XmlErrors::CondSectNotAllowed},
      {u"<![INCLUDE[<!ELEMENT a ANY>", false, XmlErrors::UnclosedCondSect},
      {u"]]>", false, XmlErrors::MalformedCondSect},
      {u"<![MAYBE[]]>", false, XmlErrors::MalformedCondSect},
      {u"<!ENTITY % d '<!ELEMENT x'> %d; EMPTY>", true, XmlErrors::PEEndsInsideDeclaration},
      {u"<!ENTITY % g '(a'><!ELEMENT e %g;)>", false, XmlErrors::GroupPENesting},
      {u"<!ENTITY % end 'EMPTY>'><!ELEMENT x %end;", false, XmlErrors::DeclarationPENesting},
      {u"<!ENTITY % r '%r;'> %r;", false, XmlErrors::UndeclaredParameterEntity},
      // Values are expanded when declared: b holds "x", whatever a is declared as later.
      {u"<!ENTITY % a 'x'><!ENTITY % b '%a;'> %b;", false, XmlErrors::DeclarationExpected},
      {u"<!ENTITY e'x'>", false, XmlErrors::MalformedEntityDecl},
      {u"<!ATTLIST a x CDATA#IMPLIED>", false, XmlErrors::MalformedAttListDecl},
      {u"<!ATTLIST a x BOGUS #IMPLIED>", false, XmlErrors::MalformedAttListDecl},
      {u"<!NOTATION n>", false, XmlErrors::MalformedNotationDecl},
      {u"<?pi\"x\"?>", false, XmlErrors::WhiteSpaceExpected},
      {u"junk", false, XmlErrors::DeclarationExpected},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.Text));
    TDtdReaderFixture f;
    EXPECT_FALSE(c.Internal ? f.Internal(c.Text) : f.External(c.Text));
    ASSERT_FALSE(f.ErrorKinds().empty());
    EXPECT_EQ(f.ErrorKinds().front(), c.Kind);
  }
}

TEST(XmlDtdReaderTest, RepeatedDeclarationsAndReset) {
  TDtdReaderFixture f;
  // A second attribute list for the same element is only a warning.
  EXPECT_TRUE(f.External(u"<!ATTLIST a x CDATA #IMPLIED><!ATTLIST a y CDATA #IMPLIED>"));
  EXPECT_EQ(f.ErrorKinds(), std::vector<int>{XmlErrors::RepeatedAttListDeclaration});
  // A repeated parameter entity keeps the first value and warns.
  TDtdReaderFixture g;
  EXPECT_TRUE(g.External(u"<!ENTITY % p '<!ELEMENT a ANY>'><!ENTITY % p 'x'>%p;"));
  EXPECT_EQ(g.ErrorKinds(), std::vector<int>{XmlErrors::RepeatedPEDeclaration});
  EXPECT_EQ(g.Handler.Lines[3], "element a ANY pe");
  // An XML declaration at the start of an external subset is refused before reading.
  TDtdReaderFixture h;
  EXPECT_FALSE(h.External(u"<?xml version=\"1.0\" standalone=\"yes\"?><!ELEMENT a ANY>"));
  EXPECT_EQ(h.ErrorKinds(), std::vector<int>{XmlErrors::TextDeclarationExpected});
  EXPECT_FALSE(h.External(u"<!ELEMENT a ANY>"));  // the failure stays until Reset
  h.Reader.Reset();
  EXPECT_TRUE(h.External(u"<!ELEMENT a ANY>"));
}

// A handler that fails: the read ends with the aborted signal and answers false, though
// no error was reported.
TEST(XmlDtdReaderTest, AHandlersExceptionEndsTheReadWithFalse) {
  class TFailingHandler final : public TXmlCustomHandler {
  public:
    using TXmlCustomHandler::TXmlCustomHandler;
    void ProcessSignal(const TXmlSignal& signal) override {
      if (SignalAs<TXmlElementTypeDeclarationSignal>(signal)) throw EParserException(SInternalParserException);
      if (SignalAs<TXmlAbortedSignal>(signal)) Aborted = true;
    }
    bool Aborted = false;
  };
  TDtdReaderFixture f;
  TFailingHandler failing(nullptr);
  f.Reader.SetNextHandler(&failing);
  EXPECT_FALSE(f.External(u"<!ELEMENT a ANY>"));
  EXPECT_TRUE(failing.Aborted);
  EXPECT_EQ(f.ErrorKinds(), std::vector<int>{});
}

TEST(XmlDtdReaderTest, UnresolvedExternalEntitiesBetweenDeclarations) {
  // Without loading, the reference is delivered for the model builder to note.
  TDtdReaderFixture f;
  EXPECT_TRUE(f.Internal(u"<!ENTITY % ext SYSTEM 'ext.dtd'> %ext; <!ELEMENT a ANY>", false));
  EXPECT_EQ(f.Handler.Lines, (std::vector<std::string>{"start-int", "pe ext '' ext.dtd", "unresolved ext",
                                                       "element a ANY", "completed"}));
  // Loading without a resolver fails with 148 and goes on.
  TDtdReaderFixture g;
  EXPECT_FALSE(g.Internal(u"<!ENTITY % ext SYSTEM 'ext.dtd'> %ext;", true));
  EXPECT_EQ(g.ErrorKinds(), std::vector<int>{XmlErrors::ExternalPENotLoaded});
}

TEST(XmlDtdReaderTest, ParameterEntityExpansionIsBounded) {
  // Ten references on each of eight levels would include 10^8 copies.
  std::u16string dtd = u"<!ENTITY % e0 '<!-- x -->'>";
  for (int level = 1; level <= 8; ++level) {
    dtd += u"<!ENTITY % e" + std::u16string(1, u'0' + level) + u" '";
    for (int i = 0; i < 10; ++i) dtd += u"%e" + std::u16string(1, u'0' + level - 1) + u";";
    dtd += u"'>";
  }
  TXmlLimits limits;
  limits.MaxEntityExpansionChars = 100000;
  TDtdReaderFixture f;
  f.Reader.SetLimits(limits);
  EXPECT_FALSE(f.External(dtd + u"%e8;"));
  ASSERT_FALSE(f.ErrorKinds().empty());
  EXPECT_EQ(f.ErrorKinds().back(), XmlErrors::LimitExceeded);
}

}  // namespace
