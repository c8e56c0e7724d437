#include "fb2/cXML.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/TempFolder.h"
#include "unicode/UniSystem.h"
#include "xml/dom/DomExceptions.h"
#include "xml/dom/DomFileResourceResolver.h"
#include "xml/dom/DomImplementation.h"
#include "xml/utils/UriUtils.h"

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

namespace {

const std::string BookDataDir = QF_TEST_DATA_DIR "/fb2/";

// A document base that hears every error its parse reports.
struct THearingXML : TXML {
  THearingXML() {
    Implementation().OnError = [this](TObject*, const TDomError& error, bool&) {
      Kinds.push_back(error.Kind());
      Hints.push_back(error.Hint());
    };
  }
  std::vector<int> Kinds;
  std::vector<WideString> Hints;
};

void LoadFile(TXML& xml, const std::string& name) { Load(xml, ReadBytes(BookDataDir + name)); }

const TDomNode* Paragraph(const TXML& xml, int index) {
  const TDomNode* p = TXML::FindElementByPath(xml.Document(), u"/FictionBook/body/section/p");
  while (p && index-- > 0) p = p->FindNextSiblingElement(u"p");
  EXPECT_NE(p, nullptr);
  return p;
}

}  // namespace

// The internal subset is read on the book's road: its entities are expanded in the text,
// markup in them becomes elements, references in them are expanded in turn, and text
// joins its neighbours. External entities and the external subset are not read.
TEST(XmlDocument, ExpandsTheEntitiesOfTheInternalSubset) {
  THearingXML xml;
  LoadFile(xml, "book-entities.fb2");
  ASSERT_NE(xml.Document(), nullptr);
  EXPECT_EQ(
      TXML::FindElementByPath(xml.Document(), u"/FictionBook/description/title-info/book-title")->GetTextContent(),
      u"Stars\u00A0&\u00A0Lines");
  const TDomNode* first = Paragraph(xml, 0);
  ASSERT_EQ(first->GetChildCount(), 1);
  EXPECT_EQ(TXML::GetNodeKind(first->GetFirstChild()), 1);
  EXPECT_EQ(first->GetTextContent(), u"One\u00A0two");
  const TDomNode* signed_ = Paragraph(xml, 1);
  ASSERT_EQ(signed_->GetChildCount(), 3);  // text, the entity's element, text
  EXPECT_EQ(signed_->GetFirstChild()->GetNodeValue(), u"Signed: ");
  EXPECT_EQ(signed_->GetChildNodes()->GetItem(1)->GetNodeName(), u"emphasis");
  EXPECT_EQ(signed_->GetChildNodes()->GetItem(1)->GetTextContent(), u"Anna\u00A0Carr");
  EXPECT_EQ(signed_->GetLastChild()->GetNodeValue(), u" \u2014 2021.");
  // The external entity and the one the unread external subset declares stay references.
  const TDomNode* kept = Paragraph(xml, 2);
  EXPECT_EQ(kept->GetTextContent(), u"Kept [] and []");
  ASSERT_EQ(kept->GetChildCount(), 5);
  EXPECT_EQ(kept->GetChildNodes()->GetItem(1)->GetNodeName(), u"secret");
  EXPECT_EQ(kept->GetChildNodes()->GetItem(3)->GetNodeName(), u"only-in-dtd");
  EXPECT_EQ(TXML::GetNodeKind(kept->GetChildNodes()->GetItem(1)), 2);
  // Not declared where it could be seen: a validity error only, with an external subset.
  EXPECT_EQ(xml.Kinds, std::vector<int>{XmlErrors::UndeclaredEntityValidity});
}

TEST(XmlDocument, ReadsNothingExternalEvenWithAResolver) {
  // The same entities named by absolute file URIs, and a resolver that may read them.
  const WideString dtd = FileNameToFileUri(BookDataDir + "fictionbook.dtd", 0);
  const WideString secret = FileNameToFileUri(BookDataDir + "secret.txt", 0);
  TDomFileResourceResolver resolver(nullptr);
  resolver.AllowFolder(BookDataDir);
  WideString check = secret;
  ASSERT_NE(resolver.ResolveResource(u"", u"", check), nullptr);  // it could
  THearingXML xml;
  xml.Implementation().SetResourceResolver(&resolver);
  Load(xml, "<?xml version=\"1.0\"?><!DOCTYPE FictionBook SYSTEM \"" + WideToUtf8(dtd) +
                "\" [<!ENTITY secret SYSTEM \"" + WideToUtf8(secret) +
                "\">]><FictionBook><p>[&secret;][&only-in-dtd;]</p></FictionBook>");
  const TDomNode* p = TXML::FindElementByPath(xml.Document(), u"/FictionBook/p");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->GetTextContent(), u"[][]");
  EXPECT_EQ(xml.Kinds, std::vector<int>{XmlErrors::UndeclaredEntityValidity});
  xml.Implementation().SetResourceResolver(nullptr);
}

struct TRefusedBook {
  const char* File;
  int Kind;  // the fatal error reported
};

TEST(XmlDocument, RefusesABadSubsetAndUndeclaredEntities) {
  for (const TRefusedBook& c : {TRefusedBook{"book-bad-subset.fb2", XmlErrors::DeclarationExpected},
                                TRefusedBook{"book-undeclared-entity.fb2", XmlErrors::UndeclaredEntity}}) {
    SCOPED_TRACE(c.File);
    THearingXML xml;
    try {
      LoadFile(xml, c.File);
      ADD_FAILURE() << "loaded";
    } catch (const EParserException& e) {
      EXPECT_STREQ(e.what(), "Parser error.");
    }
    EXPECT_EQ(xml.Document(), nullptr);
    ASSERT_FALSE(xml.Kinds.empty());
    EXPECT_EQ(xml.Kinds.front(), c.Kind);
    // The same object loads a good book afterwards.
    LoadFile(xml, "book-bare.fb2");
    EXPECT_NE(xml.Document(), nullptr);
  }
}

// A book without a document type declaration is read as it always was; one with an
// empty declaration gives the same tree.
TEST(XmlDocument, ABookWithoutDoctypeIsReadAsBefore) {
  const std::string body = "<FictionBook><p>a &amp; b&#160;c<![CDATA[ d ]]></p></FictionBook>";
  TXML plain, declared;
  Load(plain, "<?xml version=\"1.0\"?>" + body);
  Load(declared, "<?xml version=\"1.0\"?><!DOCTYPE FictionBook []>" + body);
  const TDomNode* a = TXML::FindElementByPath(plain.Document(), u"/FictionBook/p");
  const TDomNode* b = TXML::FindElementByPath(declared.Document(), u"/FictionBook/p");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(a->GetTextContent(), u"a & b\u00A0c d ");
  EXPECT_EQ(a->GetChildCount(), 1);
  EXPECT_EQ(b->GetTextContent(), a->GetTextContent());
  EXPECT_EQ(b->GetChildCount(), 1);
}

// Entities that refer to each other ten times a level end at the expansion budget,
// which the book's parser sets, with the limit named.
TEST(XmlDocument, BillionLaughsEndAtTheParsersBudget) {
  std::string subset = "<!ENTITY l0 \"lol\">";
  for (int level = 1; level <= 12; ++level) {
    subset += "<!ENTITY l" + std::to_string(level) + " \"";
    for (int i = 0; i < 10; ++i) subset += "&l" + std::to_string(level - 1) + ";";
    subset += "\">";
  }
  THearingXML xml;
  TXmlLimits limits = xml.Parser().Limits();
  limits.MaxEntityExpansionChars = 20000;
  xml.Parser().SetLimits(limits);
  EXPECT_THROW(Load(xml, "<!DOCTYPE b [" + subset + "]><b><p>&l12;</p></b>"), EParserException);
  ASSERT_EQ(xml.Kinds, std::vector<int>{XmlErrors::LimitExceeded});
  EXPECT_EQ(xml.Hints.front(), u"MaxEntityExpansionChars");
  // Within the budget the text is there.
  xml.Kinds.clear();
  Load(xml, "<!DOCTYPE b [" + subset + "]><b><p>&l3;</p></b>");
  EXPECT_EQ(TXML::FindElementByPath(xml.Document(), u"/b/p")->GetTextContent().size(), 3000u);
  EXPECT_TRUE(xml.Kinds.empty());
}
