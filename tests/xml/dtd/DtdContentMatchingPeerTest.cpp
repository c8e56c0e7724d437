// Content-model matching beside libxml2's validator on random models and child lists.
// XML allows only deterministic content models; on those the greedy matcher must agree
// with libxml2's automaton. Each name occurs once in a model, which makes it deterministic
// in XML's sense (libxml2 is laxer: it also accepts "(b | c | c)", which XML forbids and
// this matcher reports as ambiguous).
#include <gtest/gtest.h>

#include <libxml/parser.h>
#include <libxml/valid.h>

#include <algorithm>
#include <random>

#include "xml/dtd/DtdTestSupport.h"

namespace {

constexpr int NameCount = 6;  // a to f

// `unused` holds the names not placed yet; a group ends early when they run out.
std::string RandomModel(std::mt19937& random, int depth, std::string& unused) {
  const char* frequencies[] = {"", "", "?", "*", "+"};
  std::string text = "(";
  const int count = 1 + static_cast<int>(random() % 3);
  const char* separator = random() % 2 ? ", " : " | ";
  for (int i = 0; i < count && !unused.empty(); ++i) {
    if (i > 0) text += separator;
    if (depth > 0 && random() % 3 == 0) {
      text += RandomModel(random, depth - 1, unused);
    } else {
      text += std::string(1, unused.back()) + frequencies[random() % 5];
      unused.pop_back();
    }
  }
  return text + ")" + frequencies[random() % 5];
}

void CollectError(void* context, const char* format, ...) { *static_cast<std::string*>(context) += format; }

// 1 valid, 0 invalid, -1 the model is not deterministic.
int Libxml2Verdict(const std::string& model, const std::string& children) {
  std::string declarations;
  for (char name = 'a'; name < 'a' + NameCount; ++name) declarations += std::string("<!ELEMENT ") + name + " EMPTY>";
  const std::string document = "<!DOCTYPE r [<!ELEMENT r " + model + ">" + declarations + "]><r>" + children + "</r>";
  xmlDocPtr doc = xmlReadMemory(document.data(), static_cast<int>(document.size()), "m.xml", nullptr,
                                XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (!doc) return -1;
  std::string errors;
  xmlValidCtxtPtr context = xmlNewValidCtxt();
  context->userData = &errors;
  context->error = CollectError;
  context->warning = CollectError;
  xmlElementPtr element = xmlGetDtdElementDesc(doc->intSubset, reinterpret_cast<const xmlChar*>("r"));
  const bool deterministic = element && xmlValidBuildContentModel(context, element) == 1;
  const int valid = deterministic ? xmlValidateDocument(context, doc) : -1;
  xmlFreeValidCtxt(context);
  xmlFreeDoc(doc);
  return valid < 0 ? -1 : valid == 1 ? 1 : 0;
}

TEST(DtdContentMatchingPeerTest, AgreesWithLibxml2OnDeterministicModels) {
  std::mt19937 random(20261210);
  int compared = 0, validCases = 0;
  for (int m = 0; m < 400; ++m) {
    std::string unused = "abcdef";
    std::shuffle(unused.begin(), unused.end(), random);
    const std::string model = RandomModel(random, 2, unused);
    TDtdModel dtd;
    TDtdElementDecl* decl;
    dtd.AddElementDecl(u"r", DTD_ELEMENT_CONTENTTYPE, doInternalSubset, decl);
    TDtdContentModel* top = BuildContentModel(*decl, model);
    for (int c = 0; c < 12; ++c) {
      std::vector<WideString> names;
      std::string children;
      const int count = static_cast<int>(random() % 6);
      for (int i = 0; i < count; ++i) {
        const char name = static_cast<char>('a' + random() % 3);  // mostly names the model holds
        names.emplace_back(1, static_cast<char16_t>(name));
        children += std::string("<") + name + "/>";
      }
      const int expected = Libxml2Verdict(model, children);
      if (expected < 0) break;
      int32_t position = 0;
      bool ambiguity = false;
      const bool matched = top->Match(names, position, ambiguity) && position == count;
      SCOPED_TRACE(model + " with " + children);
      EXPECT_EQ(matched, expected == 1);
      ++compared;
      validCases += expected;
    }
  }
  // Enough deterministic cases of both verdicts were compared.
  EXPECT_GT(compared, 1000);
  EXPECT_GT(validCases, 200);
}

}  // namespace
