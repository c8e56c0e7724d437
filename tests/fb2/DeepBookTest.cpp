// Books nested far deeper than any real one: the parser refuses them by its depth limit,
// and with that limit raised the model's walks (section counting, levels, plain text)
// are loops that handle them.
#include <gtest/gtest.h>

#include <string>

#include "fb2/cFictionBook2.h"
#include "xml/XmlLimits.h"
#include "xml/dom/DomExceptions.h"

namespace {

constexpr int32_t Depth = 100000;

// `Depth` sections, each titled, nested in one body; an annotation of `Depth` nested
// cites around one paragraph.
std::string DeepBook() {
  std::string book = "<FictionBook><description><title-info><annotation>";
  for (int32_t i = 0; i < Depth; ++i) book += "<cite>";
  book += "<p> deep  text </p>";
  for (int32_t i = 0; i < Depth; ++i) book += "</cite>";
  book += "</annotation></title-info></description><body>";
  for (int32_t i = 0; i < Depth; ++i) book += "<section><title><p>t</p></title>";
  book += "<p id=\"inner\">x</p>";
  for (int32_t i = 0; i < Depth; ++i) book += "</section>";
  book += "</body></FictionBook>";
  return book;
}

void Load(TFictionBook2& book, const std::string& text) {
  TStringStream stream(text);
  book.LoadFromStream(stream);
}

}  // namespace

TEST(DeepBook, IsRefusedByTheParsersDepthLimit) {
  TFictionBook2 book;
  try {
    Load(book, DeepBook());
    FAIL() << "a book nested 100,000 levels deep was loaded";
  } catch (const EParserException& e) {
    EXPECT_STREQ(e.what(), "Parser error.");
  }
  EXPECT_EQ(book.Root(), nullptr);
}

TEST(DeepBook, IsWalkedWithoutRecursionOnceTheLimitAllowsIt) {
  TXmlLimits limits = DefaultXmlLimits();
  limits.MaxElementDepth = 3 * Depth;
  const TXmlLimitsOverride deeper(limits);
  TFictionBook2 book;
  Load(book, DeepBook());
  EXPECT_EQ(book.SectionCount(), Depth);
  EXPECT_EQ(book.GetAnnotation(), u"deep text\r\n");
  const TDomNode* inner = book.GetBody(0);
  while (inner->FindFirstChildElement(u"section") != nullptr) inner = inner->FindFirstChildElement(u"section");
  EXPECT_EQ(TFictionBook2::GetSectionLevel(inner->FindFirstChildElement(u"p")), Depth);
}
