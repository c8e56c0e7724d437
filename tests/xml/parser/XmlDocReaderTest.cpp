#include <gtest/gtest.h>

#include "platform/base/Streams.h"
#include "xml/XmlTestSupport.h"
#include "xml/dom/DomExceptions.h"
#include "xml/parser/XmlDocReader.h"
#include "xml/parser/XmlHandlers.h"

namespace {

// Writes each signal it receives as one line of text.
class TRecordingHandler : public TXmlCustomHandler {
public:
  using TXmlCustomHandler::TXmlCustomHandler;
  void ProcessSignal(const TXmlSignal& signal) override { Log.push_back(Describe(signal)); }
  std::string Describe(const TXmlSignal& signal) {
    if (auto* start = SignalAs<TXmlStartDocumentSignal>(signal))
      return "start-doc " + Narrow(start->DeclVersion) + " " + Narrow(start->ActualEncoding);
    if (auto* element = SignalAs<TXmlStartElementSignal>(signal)) return "<" + Narrow(element->QualifiedName);
    if (auto* end = SignalAs<TXmlEndElementSignal>(signal)) return "/" + Narrow(end->QualifiedName);
    if (auto* attribute = SignalAs<TXmlAttributeSignal>(signal))
      return "@" + Narrow(attribute->AttrName) + "=" + Narrow(attribute->AttrValue);
    if (auto* text = SignalAs<TXmlPCDATASignal>(signal)) {
      Texts.push_back(text->Text);
      return (text->FromCharRef ? "ref:" : "text:") + Narrow(text->Text);
    }
    if (auto* pi = SignalAs<TXmlProcessingInstructionSignal>(signal))
      return "pi:" + Narrow(pi->PITarget) + "|" + Narrow(pi->Text);
    if (auto* doctype = SignalAs<TXmlDoctypeSignal>(signal))
      return "doctype:" + Narrow(doctype->DeclaredRootName) + "|" + Narrow(doctype->PublicLiteral) + "|" +
             Narrow(doctype->SystemLiteral) + "|" + Narrow(doctype->SubsetText);
    if (auto* reference = SignalAs<TXmlEntityRefSignal>(signal)) return "&" + Narrow(reference->RefName);
    if (SignalAs<TXmlCompletedSignal>(signal)) return "completed";
    if (SignalAs<TXmlAbortedSignal>(signal)) return "aborted";
    return "other";
  }
  std::vector<std::string> Log;
  std::vector<WideString> Texts;
};

struct TReaderRun {
  TXmlStandardDocReader Reader{nullptr};
  TRecordingHandler Handler{nullptr};
  std::vector<std::string> Errors;  // "kind clue"
  std::vector<std::unique_ptr<TDomError>> Records;
  bool Result = false;

  explicit TReaderRun(const std::string& text, bool withHandler = true) {
    if (withHandler) Reader.SetNextHandler(&Handler);
    Reader.OnError = [this](TXmlCustomReader*, const TDomError& error) {
      Errors.push_back(std::to_string(error.Kind()) + " " + Narrow(error.Hint()));
      Records.push_back(error.Clone());
    };
    TStringStream stream(text);
    TXmlInputSource source(&stream, {}, nullptr, 1024, u"doc.xml", u"", true);
    Result = Reader.ParseDocument(source);
  }
  // The signals between the start of the document and the completed signal.
  std::vector<std::string> Body() const { return {Handler.Log.begin() + 1, Handler.Log.end() - 1}; }
};

using Lines = std::vector<std::string>;

TEST(XmlDocReaderTest, TurnsTokensIntoSignals) {
  const struct {
    const char* Text;
    Lines Signals;
    Lines Errors;
  } cases[] = {
      {"<a x='1' y=\"2\"/>", {"<a", "@x=1", "@y=2", "/a"}, {}},
      {"<a\tx = '1'\n>t</a>", {"<a", "@x=1", "text:t", "/a"}, {}},
      {"<a x='&amp;  b'>", {"<a", "@x=&amp;  b"}, {}},
      {"<a x=\"1\"y=\"2\">", {"<a", "@x=1"}, {"80  "}},
      {"<a x=\"1\" x=\"2\">", {"<a", "@x=1"}, {"49 x"}},
      {"<a x=1>", {"<a"}, {"78 \""}},
      {"<a x>", {"<a"}, {"77 ="}},
      {"&#65;", {"ref:A"}, {}},
      {"&#xD800;", {}, {"60 &xD800;"}},
      {"&#1114112;", {}, {"60 &1114112;"}},
      {"&#x100000041;", {}, {"60 &x100000041;"}},
      {"&#99999999999999999999999;", {}, {"60 &99999999999999999999999;"}},
      {"<?pi   some data ?>", {"pi:pi|some data "}, {}},
      {"<?pi?>", {"pi:pi|"}, {}},
      {"a&b;c", {"text:a", "&b", "text:c"}, {}},
      {"<!DOCTYPE doc PUBLIC '-//X//Y' 'y.dtd' [<!ENTITY e 'x'>]><doc/>",
       {"doctype:doc|-//X//Y|y.dtd|<!ENTITY e 'x'>", "<doc", "/doc"},
       {}},
      // The first error in the declaration stops it: no doctype signal.
      {"<!DOCTYPE doc PUBLIC '-//X//Y'><doc/>", {}, {"80  "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    const TReaderRun run(c.Text);
    EXPECT_EQ(run.Result, c.Errors.empty());  // every error here is fatal
    EXPECT_EQ(run.Body(), c.Signals);
    EXPECT_EQ(run.Errors, c.Errors);
  }
}

TEST(XmlDocReaderTest, CharacterReferencesAboveTheBasicPlaneBecomePairs) {
  const TReaderRun run("&#x1F600;");
  ASSERT_EQ(run.Handler.Texts.size(), 1u);
  EXPECT_EQ(run.Handler.Texts[0], (WideString{0xD83D, 0xDE00}));
}

TEST(XmlDocReaderTest, TheStartSignalCarriesTheDeclaration) {
  const TReaderRun run("<?xml version='1.0' encoding='ISO-8859-1'?><a/>");
  EXPECT_EQ(run.Handler.Log.front(), "start-doc 1.0 ISO-8859-1");
}

TEST(XmlDocReaderTest, AFatalErrorAbortsAndAnswersFalse) {
  const TReaderRun run("<a>&#xD800;</a>");
  EXPECT_FALSE(run.Result);
  EXPECT_EQ(run.Handler.Log, (Lines{"start-doc 1.0 UTF-8", "<a", "aborted"}));
  ASSERT_EQ(run.Records.size(), 1u);
  EXPECT_EQ(run.Records[0]->EntityUri(), u"doc.xml");
  EXPECT_EQ(run.Records[0]->StartColumn(), 7);  // the first digit
}

TEST(XmlDocReaderTest, WithoutHandlerNoSignalIsMadeButErrorsAreReported) {
  const TReaderRun fine("<a x='1'>&#65;</a>", false);
  EXPECT_TRUE(fine.Result);
  EXPECT_TRUE(fine.Handler.Log.empty());
  const TReaderRun broken("<a>&#0x;</a>", false);
  EXPECT_FALSE(broken.Result);
  EXPECT_EQ(broken.Errors, (Lines{"92 ;"}));
}

TEST(XmlDocReaderTest, ErrorsInsideTheDoctypeCarryDocumentPositions) {
  const TReaderRun run("<a/>\n<!DOCTYPE doc X>");
  ASSERT_EQ(run.Records.size(), 1u);
  EXPECT_EQ(run.Records[0]->Kind(), 90);
  EXPECT_EQ(run.Records[0]->StartLine(), 2);
  EXPECT_EQ(run.Records[0]->StartColumn(), 15);  // the "X"
}

TEST(XmlDocReaderTest, AFragmentWithoutSourceSucceedsAtOnce) {
  TXmlStandardDocReader reader(nullptr);
  EXPECT_TRUE(reader.ParseDocumentFragment(nullptr));
}

}  // namespace
