#include "fb2/cXML.h"

#include <gtest/gtest.h>

#include <string>

#include "xml/dom/DomDocument.h"

namespace {

// A document base that records its steps.
class TRecordingXML : public TXML {
public:
  void BeforeLoad() override {
    Steps += "before(" + std::to_string(Implementation().GetDocuments()->GetLength()) + ")";
    TXML::BeforeLoad();
  }
  void AfterLoad() override {
    Steps += Document() != nullptr ? " after" : " after(no document)";
    if (FailAfterLoad) throw EConvertError("indexing failed");
  }
  void Clear() override {
    Steps += " clear";
    TXML::Clear();
  }
  std::string Steps;
  bool FailAfterLoad = false;
};

void Load(TXML& xml, const std::string& text) {
  TStringStream stream(text);
  xml.LoadFromStream(stream);
}

constexpr char Sample[] =
    "<?xml version=\"1.0\"?>\n"
    "<a x=\"1\" empty=\"\"><b><c>first</c></b><b><c>second</c><d/></b>"
    "<e><![CDATA[raw <text>]]><!-- a comment --></e></a>";

}  // namespace

TEST(XmlDocument, SetsUpItsParser) {
  TXML xml;
  EXPECT_EQ(xml.Parser().BufferSize(), 8192);
  EXPECT_EQ(xml.Parser().DOMImpl(), &xml.Implementation());
  EXPECT_FALSE(xml.Parser().KeepCDATASections());
  EXPECT_FALSE(xml.Parser().KeepComments());
  EXPECT_FALSE(xml.Parser().KeepEntityRefs());
  EXPECT_EQ(xml.Document(), nullptr);
}

TEST(XmlDocument, LoadsThroughItsStepsAndKeepsOneDocument) {
  TRecordingXML xml;
  Load(xml, Sample);
  EXPECT_EQ(xml.Steps, "before(0) clear after");
  ASSERT_NE(xml.Document(), nullptr);
  xml.Steps.clear();
  Load(xml, Sample);
  EXPECT_EQ(xml.Steps, "before(1) clear after");
  EXPECT_EQ(xml.Implementation().GetDocuments()->GetLength(), 1);

  xml.Steps.clear();
  xml.FailAfterLoad = true;
  EXPECT_THROW(Load(xml, Sample), EConvertError);
  EXPECT_EQ(xml.Steps, "before(1) clear after clear");  // a failed load ends empty
  EXPECT_EQ(xml.Document(), nullptr);
  EXPECT_EQ(xml.Implementation().GetDocuments()->GetLength(), 0);
}

TEST(XmlDocument, FindsElementsByPath) {
  TXML xml;
  Load(xml, Sample);
  const TDomElement* a = xml.Document()->GetDocumentElement();
  const TDomNode* firstB = a->GetFirstChild();
  const struct {
    const TDomNode* Start;
    const char16_t* Path;
    const char16_t* Found;  // node name and text, or nullptr for nil
  } cases[] = {
      {a, u"", u"a"},                              // the start itself
      {a, u"b", u"b"},          {a, u"b/", u"b"},  // a trailing "/" ends the path
      {a, u"b/c", u"c:first"},                     // first of each step
      {a, u"b/d", nullptr},                        // the first "b" has no "d"
      {a, u"b//c", nullptr},                       // "/c" as one name
      {a, u"B", nullptr},                          // names compare exactly
      {firstB, u"/a/e", u"e"},                     // "/" starts at the document
      {firstB, u"/a", u"a"},    {firstB, u"/", u"#document"},
      {firstB, u"/b", nullptr}, {nullptr, u"a", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::u16string(c.Path).size());
    const TDomNode* found = TXML::FindElementByPath(c.Start, c.Path);
    if (c.Found == nullptr) {
      EXPECT_EQ(found, nullptr);
      continue;
    }
    ASSERT_NE(found, nullptr);
    const WideString expected = c.Found;
    const size_t colon = expected.find(u':');
    EXPECT_EQ(found->GetNodeName(), expected.substr(0, colon));
    if (colon != WideString::npos) {
      EXPECT_EQ(found->GetTextContent(), expected.substr(colon + 1));
    }
  }
}

TEST(XmlDocument, NodeKindsAndAttributes) {
  TXML xml;
  Load(xml, Sample);
  const TDomElement* a = xml.Document()->GetDocumentElement();
  EXPECT_EQ(TXML::GetAttributeValue(a, u"x"), u"1");
  EXPECT_EQ(TXML::GetAttributeValue(a, u"empty"), u"");
  EXPECT_EQ(TXML::GetAttributeValue(a, u"missing"), u"");
  EXPECT_EQ(TXML::GetAttributeValue(a, u"X"), u"");
  EXPECT_EQ(TXML::GetAttributeValue(xml.Document(), u"x"), u"");  // no attribute map
  EXPECT_EQ(TXML::GetAttributeValue(nullptr, u"x"), u"");

  EXPECT_EQ(TXML::GetNodeKind(a), 0);
  EXPECT_EQ(TXML::GetNodeKind(xml.Document()), 2);
  EXPECT_EQ(TXML::GetNodeKind(a->GetAttributes()->GetNamedItem(u"x")), 2);
  EXPECT_EQ(TXML::GetNodeKind(nullptr), 2);
  // The CDATA section arrives as text and the comment is gone.
  const TDomNode* e = TXML::FindElementByPath(a, u"e");
  ASSERT_NE(e->GetFirstChild(), nullptr);
  EXPECT_EQ(TXML::GetNodeKind(e->GetFirstChild()), 1);
  EXPECT_EQ(e->GetFirstChild()->GetNodeValue(), u"raw <text>");
  EXPECT_EQ(e->GetFirstChild()->GetNextSibling(), nullptr);
}
