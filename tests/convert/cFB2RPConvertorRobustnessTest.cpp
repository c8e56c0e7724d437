// Generated and damaged books: random trees of FB2 and unknown elements, attributes with
// odd spans, links and ids, and nesting beyond the builder's limit. Every book either
// builds or fails with the builder's clear error; the builder stays usable afterwards.
#include <gtest/gtest.h>

#include <random>

#include "BuilderTestData.h"

namespace {

const char* const Names[] = {"section", "title", "p", "empty-line", "epigraph", "annotation", "cite", "poem",
                             "stanza", "v", "subtitle", "text-author", "date", "table", "tr", "th", "td",
                             "emphasis", "strong", "sup", "sub", "code", "strikethrough", "style", "a", "image",
                             "body", "unknown"};
const char* const Attributes[] = {"",
                                  " id=\"x\"",
                                  " id=\"n1\"",
                                  " colspan=\"0\"",
                                  " colspan=\"-3\"",
                                  " rowspan=\"99999\"",
                                  " colspan=\"2\" rowspan=\"2\"",
                                  " align=\"CENTER\"",
                                  " l:href=\"#n1\"",
                                  " l:href=\"#x\"",
                                  " l:href=\"#pic.png\"",
                                  " l:href=\"#nothing\"",
                                  " l:href=\"\""};

void Generate(std::mt19937& random, int32_t depth, std::string& out) {
  const int32_t children = static_cast<int32_t>(random() % 4);
  for (int32_t i = 0; i < children; ++i) {
    if (random() % 3 == 0) {
      out += random() % 2 ? " w\n\t" : "text ";
      continue;
    }
    const char* name = Names[random() % std::size(Names)];
    out += std::string("<") + name + Attributes[random() % std::size(Attributes)] + ">";
    if (depth < 7) Generate(random, depth + 1, out);
    out += std::string("</") + name + ">";
  }
}

TEST(FB2RPConvertorRobustnessTest, GeneratedBooksBuildOrFailClearly) {
  std::mt19937 random(20261210);
  TBuilderFixture f;
  f.Builder.Limits.MaxNesting = 3;
  int32_t built = 0, refused = 0;
  for (int32_t n = 0; n < 400; ++n) {
    std::string body, notes;
    // Inside a chain of 0..5 sections, so the content is reached and some books pass the
    // nesting limit.
    const int32_t sections = static_cast<int32_t>(random() % 6);
    for (int32_t i = 0; i < sections; ++i) body += "<section>";
    Generate(random, 0, body);
    for (int32_t i = 0; i < sections; ++i) body += "</section>";
    Generate(random, 0, notes);
    SCOPED_TRACE(body);
    f.Scheme.InternalLinksMode = static_cast<int32_t>(random() % 3);
    f.Scheme.CopyHRefLink = random() % 2 == 0;
    try {
      f.Build(MakeBook(body, "<section id=\"n1\">" + notes + "</section>"));
      ++built;
    } catch (const EFB2RPConvertError& e) {
      EXPECT_STREQ(e.what(), "The book nests its elements more levels deep than 3");
      ++refused;
    }
  }
  EXPECT_GT(built, 100);
  EXPECT_GT(refused, 10);
  f.Build(MakeBook("<section><p>after</p></section>"));
  EXPECT_EQ(TBuilderFixture::Text(f.Main()), "after");
}

// A book whose binary is damaged: the picture is skipped, the text stays.
TEST(FB2RPConvertorRobustnessTest, DamagedPicturesAreSkipped) {
  TBuilderFixture f;
  std::string book = MakeBook("<section><image l:href=\"#pic.png\"/><p>text</p></section>");
  const size_t data = book.find("iVBOR");
  book.replace(data + 40, 20, "AAAAAAAAAAAAAAAAAAAA");
  f.Build(book);
  EXPECT_EQ(TBuilderFixture::Text(f.Main()), "text");
}

}  // namespace
