// The W3C XML Conformance Test Suite (installed by scripts/setup.sh, never committed),
// for the XML 1.0 cases of the fourth edition that need no DTD processing: documents
// without a document type declaration, or with one that has neither an internal nor an
// external subset. Not-well-formed cases must be refused, valid and invalid ones (both
// well-formed) accepted and, where the suite gives one, match the canonical output.
// The suite's catalog is read with libxml2, the test-only peer.
#include <gtest/gtest.h>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "XmlParserTestSupport.h"

namespace {

const std::filesystem::path SuiteDir = QF_XML_CONFORMANCE_DIR;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string Attribute(xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  std::string result = value ? reinterpret_cast<const char*>(value) : "";
  xmlFree(value);
  return result;
}

std::string BaseOf(xmlNode* node) {
  xmlChar* value = xmlGetNsProp(node, reinterpret_cast<const xmlChar*>("base"), XML_XML_NAMESPACE);
  std::string result = value ? reinterpret_cast<const char*>(value) : "";
  xmlFree(value);
  return result;
}

// The document type declaration names an internal or an external subset. UTF-16 files
// are looked at with their zero bytes dropped.
bool NeedsDtd(std::string bytes) {
  std::erase(bytes, '\0');
  const size_t start = bytes.find("<!DOCTYPE");
  if (start == std::string::npos) return false;
  const std::string head = bytes.substr(start, bytes.find('>', start) - start);
  return head.find('[') != std::string::npos || head.find("SYSTEM") != std::string::npos ||
         head.find("PUBLIC") != std::string::npos;
}

bool InScope(xmlNode* test) {
  const std::string recommendation = Attribute(test, "RECOMMENDATION");
  const std::string version = Attribute(test, "VERSION");
  const std::string edition = Attribute(test, "EDITION");
  const std::string type = Attribute(test, "TYPE");
  return (recommendation.empty() || recommendation.starts_with("XML1.0")) &&
         (version.empty() || version.find("1.0") != std::string::npos) &&
         (edition.empty() || edition.find('4') != std::string::npos) && type != "error";
}

struct TSetResult {
  int Passed = 0, Total = 0;
};

// Runs one case; empty when it passes, else what went wrong.
std::string RunCase(xmlNode* test, const std::string& base) {
  const std::string type = Attribute(test, "TYPE");
  const std::string bytes = ReadFile(SuiteDir / (base + Attribute(test, "URI")));
  TParserFixture fixture;
  fixture.Parser.SetKeepCDATASections(false);
  fixture.Parser.SetKeepComments(false);
  fixture.Parser.SetKeepEntityRefs(false);
  TDomDocument* document = nullptr;
  try {
    document = fixture.Parse(bytes);
  } catch (const std::exception& e) {
    return std::string("raised ") + e.what();
  }
  if (type == "not-wf") return document ? "accepted" : "";
  if (!document) return "refused with error " + std::to_string(fixture.FirstErrorKind());
  const std::string output = Attribute(test, "OUTPUT");
  if (output.empty()) return "";
  const std::string expected = ReadFile(SuiteDir / (base + output));
  const std::string actual = Canonical(*document);
  return actual == expected ? "" : "canonical form differs: " + actual;
}

TEST(XmlConformanceTest, WellFormednessOfTheDocumentsWithoutDtd) {
  const std::filesystem::path catalog = SuiteDir.parent_path() / "cleaned" / "xmlconf-flattened.xml";
  ASSERT_TRUE(std::filesystem::exists(catalog)) << catalog << " is missing: run scripts/setup.sh";
  xmlDoc* doc = xmlReadFile(catalog.c_str(), nullptr, XML_PARSE_NONET);
  ASSERT_NE(doc, nullptr);
  std::map<std::string, TSetResult> results;
  // An explicit stack of (node, base of its children, test set).
  struct TFrame {
    xmlNode* Node;
    std::string Base, Set;
  };
  std::vector<TFrame> stack{{xmlDocGetRootElement(doc), "", ""}};
  while (!stack.empty()) {
    const TFrame frame = stack.back();
    stack.pop_back();
    for (xmlNode* child = frame.Node->last; child; child = child->prev) {
      if (child->type != XML_ELEMENT_NODE) continue;
      const std::string name = reinterpret_cast<const char*>(child->name);
      if (name == "TESTCASES") {
        const std::string set = frame.Set.empty() ? Attribute(child, "PROFILE") : frame.Set;
        stack.push_back({child, frame.Base + BaseOf(child), set});
        continue;
      }
      if (name != "TEST" || !InScope(child)) continue;
      const std::string base = frame.Base + BaseOf(child);
      if (NeedsDtd(ReadFile(SuiteDir / (base + Attribute(child, "URI"))))) continue;
      const std::string id = Attribute(child, "ID");
      const std::string failure = RunCase(child, base);
      TSetResult& result = results[frame.Set];
      ++result.Total;
      if (failure.empty())
        ++result.Passed;
      else
        ADD_FAILURE() << id << " (" << base << Attribute(child, "URI") << "): " << failure;
    }
  }
  xmlFreeDoc(doc);
  for (const auto& [set, result] : results)
    std::cout << "  " << set << ": " << result.Passed << " of " << result.Total << "\n";
  // Six test sets hold such cases (278 in the suite's 20130923 version).
  EXPECT_EQ(results.size(), 6u);
}

}  // namespace
