// Our parser beside libxml2 (test-only peer, with the fourth edition's name rules) on
// hand-written and generated documents: the same verdict (well-formed or not) and, for
// the well-formed, the same text content of the document element.
#include <gtest/gtest.h>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <random>

#include "XmlParserTestSupport.h"

namespace {

struct TVerdict {
  bool WellFormed = false;
  std::string Text;
  bool operator==(const TVerdict&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TVerdict& v) {
  return os << (v.WellFormed ? "well-formed, text \"" + v.Text + "\"" : std::string("not well-formed"));
}

TVerdict Libxml2Verdict(const std::string& bytes) {
  xmlDoc* doc = xmlReadMemory(bytes.data(), int(bytes.size()), "peer.xml", nullptr,
                              XML_PARSE_NONET | XML_PARSE_OLD10 | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (!doc) return {};
  xmlChar* content = xmlNodeGetContent(xmlDocGetRootElement(doc));
  TVerdict verdict{true, reinterpret_cast<const char*>(content)};
  xmlFree(content);
  xmlFreeDoc(doc);
  return verdict;
}

TVerdict OurVerdict(const std::string& bytes) {
  TParserFixture fixture;
  fixture.Parser.SetKeepCDATASections(false);
  fixture.Parser.SetKeepComments(false);
  fixture.Parser.SetKeepEntityRefs(false);
  TDomDocument* document = fixture.Parse(bytes);
  if (!document) return {};
  return {true, ToUtf8(document->GetDocumentElement()->GetTextContent())};
}

TEST(XmlLibxml2DiffTest, HandWrittenDocuments) {
  const char* documents[] = {
      "<a/>",
      "<?xml version='1.0' encoding='UTF-8'?>\n<a>x</a>",
      "<a href='a&amp;b'>&lt;p&gt; &amp; &apos;&quot;</a>",
      "<a>&#65;&#x42;&#x1F600;&#1103;</a>",
      "<a>&#0;</a>",
      "<a>&#xD800;</a>",
      "<a>&#x110000;</a>",
      "<a>&nbsp;</a>",
      "<a>&amp</a>",
      "<a><![CDATA[<x>&amp;]]]></a>",
      "<a>]]></a>",
      "<a>x]]y</a>",
      "<a><!-- c -- d --></a>",
      "<a><!-- c ---></a>",
      "<a><!----></a>",
      "<a><?pi data?><?xml-stylesheet href='x'?></a>",
      "<a><?xml version='1.0'?></a>",
      "<a><?XmL x?></a>",
      "<a x='1' x='2'/>",
      "<a x='1'y='2'/>",
      "<a x=1/>",
      "<a x='<'/>",
      "<a x='>'/>",
      "<a></b>",
      "<a><b></a></b>",
      "<a/><b/>",
      "text<a/>",
      "<a/>text",
      "  <a/>  ",
      "",
      "<!-- only -->",
      "<!DOCTYPE a><a/>",
      "<a/><!DOCTYPE a>",
      "<!DOCTYPE a><!DOCTYPE a><a/>",
      "<a>\r\nb\rc</a>",
      "<a\n  x = \"1\"\n>y</a  >",
      "<a x='\t1\n2'/>",
      "<\xD1\x8F>\xD1\x8F</\xD1\x8F>",
      "<a>\xC0\x80</a>",
      "<a>\xED\xA0\x80</a>",
      "<a>\x01</a>",
      "<a:b xmlns:a='u'>t</a:b>",
      "<1a/>",
      "<a-b.c_d/>",
      "<a>\xEF\xBF\xBE</a>",
      "\xEF\xBB\xBF<a>bom</a>",
      "<a>&#65</a>",
      "<a>& b</a>",
      "<a>&#x;</a>",
      "<a b='&#38;'/>",
      "<a b='&#60;'/>",
      "<a></a >",
      "</a>",
      "<a>",
      "<a x='1' />",
      "<a/ >",
  };
  for (const std::string document : documents) {
    SCOPED_TRACE(document);
    EXPECT_EQ(OurVerdict(document), Libxml2Verdict(document));
  }
}

// Generates well-formed documents and damaged copies of them.
class TDocumentGenerator {
public:
  explicit TDocumentGenerator(uint32_t seed) : FRandom(seed) {}

  std::string Document() {
    std::string out;
    if (Chance(3)) out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    if (Chance(4)) out += "<!-- head -->\n";
    Element(out, 0);
    if (Chance(4)) out += "\n<?tail x?>\n";
    return out;
  }

  // One to three random edits with characters that matter to the syntax.
  std::string Damage(std::string text) {
    static const char pieces[] = "<>&;\"'/!-]?= a#x\x80";
    for (int edits = 1 + Below(3); edits > 0 && !text.empty(); --edits) {
      const size_t at = Below(int(text.size()));
      switch (Below(3)) {
        case 0:
          text.erase(at, 1);
          break;
        case 1:
          text.insert(at, 1, pieces[Below(sizeof pieces - 1)]);
          break;
        default:
          text[at] = pieces[Below(sizeof pieces - 1)];
          break;
      }
    }
    return text;
  }

private:
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(FRandom); }
  bool Chance(int oneIn) { return Below(oneIn) == 0; }

  std::string Name() {
    static const char* names[] = {"p",   "section", "title", "a", "emphasis", "l:href", "\xD0\xB8\xD0\xBC\xD1\x8F",
                                  "x_1", "b.c",     "d-e"};
    return names[Below(10)];
  }

  std::string Text() {
    static const char* pieces[] = {"word",
                                   " ",
                                   "\n",
                                   "\t",
                                   "&amp;",
                                   "&lt;",
                                   "&gt;",
                                   "&quot;",
                                   "&apos;",
                                   "&#65;",
                                   "&#x44F;",
                                   "&#x1F600;",
                                   "\xD1\x82\xD0\xB5\xD0\xBA\xD1\x81\xD1\x82",
                                   "]]",
                                   ">",
                                   "\xE2\x80\x94",
                                   "\r\n",
                                   "'",
                                   "\""};
    std::string out;
    for (int n = Below(5); n > 0; --n) out += pieces[Below(19)];
    return out;
  }

  void Element(std::string& out, int depth) {
    const std::string name = Name();
    out += "<" + name;
    std::vector<std::string> used;
    for (int n = Below(3); n > 0; --n) {
      const std::string attr = Name();
      if (std::find(used.begin(), used.end(), attr) != used.end()) continue;
      used.push_back(attr);
      std::string value = Text();
      std::erase(value, '"');
      out += " " + attr + "=\"" + value + "\"";
    }
    if (depth > 4 || Chance(5)) {
      out += "/>";
      return;
    }
    out += ">";
    for (int n = Below(5); n > 0; --n) {
      switch (Below(6)) {
        case 0:
          Element(out, depth + 1);
          break;
        case 1:
          out += "<![CDATA[" + std::string(Chance(2) ? "<x>&" : "]") + "]]>";
          break;
        case 2:
          out += "<!--" + std::string(Chance(2) ? " note " : "-x") + "-->";
          break;
        case 3:
          out += "<?pi " + Name() + "?>";
          break;
        default:
          out += Text();
          break;
      }
    }
    out += "</" + name + ">";
  }

  std::mt19937 FRandom;
};

TEST(XmlLibxml2DiffTest, GeneratedAndDamagedDocuments) {
  TDocumentGenerator generator(20261210);
  int wellFormed = 0, damagedRefused = 0;
  for (int i = 0; i < 1500; ++i) {
    const std::string document = generator.Document();
    const TVerdict peer = Libxml2Verdict(document);
    ASSERT_EQ(OurVerdict(document), peer) << document;
    wellFormed += peer.WellFormed;
    const std::string damaged = generator.Damage(document);
    const TVerdict damagedPeer = Libxml2Verdict(damaged);
    ASSERT_EQ(OurVerdict(damaged), damagedPeer) << damaged;
    damagedRefused += !damagedPeer.WellFormed;
  }
  // Both kinds are well represented (a few generated texts join "]]" and ">").
  EXPECT_GT(wellFormed, 1450);
  EXPECT_GT(damagedRefused, 500);
}

}  // namespace
