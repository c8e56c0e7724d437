// The W3C XML Conformance Test Suite as the conformance tests read it (installed by
// scripts/setup.sh, never committed): its flattened catalog, read with libxml2, the
// test-only peer, and walked without recursion. Only the XML 1.0 cases of the fourth
// edition are in scope; cases of type "error" (optional errors) are left out.
#pragma once

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

const std::filesystem::path ConformanceSuiteDir = QF_XML_CONFORMANCE_DIR;

inline std::string ReadSuiteFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline std::string CatalogAttribute(xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  std::string result = value ? reinterpret_cast<const char*>(value) : "";
  xmlFree(value);
  return result;
}

// One case of the catalog: its attributes, its base folder and its test set.
struct TConformanceCase {
  xmlNode* Node;
  std::string Base, Set;
  std::string Attribute(const char* name) const { return CatalogAttribute(Node, name); }
  std::filesystem::path File() const { return ConformanceSuiteDir / (Base + Attribute("URI")); }
  std::filesystem::path Output() const { return ConformanceSuiteDir / (Base + Attribute("OUTPUT")); }
};

struct TConformanceSetResult {
  int Passed = 0, Total = 0;
};

// Cases known to fail, by ID, each with the reason.
using TKnownFailures = std::map<std::string, std::string>;

// Calls `run` on each selected case in scope; `run` answers empty for a pass, else what
// went wrong, which becomes a test failure unless the case is a known failure. A known
// failure that passes is a test failure too, so the list stays true. Answers the
// results per test set; a missing catalog is a test failure.
inline std::map<std::string, TConformanceSetResult> RunConformanceCases(
    const std::function<bool(const TConformanceCase&)>& selected,
    const std::function<std::string(const TConformanceCase&)>& run, const TKnownFailures& known = {}) {
  std::map<std::string, TConformanceSetResult> results;
  const std::filesystem::path catalog = ConformanceSuiteDir.parent_path() / "cleaned" / "xmlconf-flattened.xml";
  if (!std::filesystem::exists(catalog)) {
    ADD_FAILURE() << catalog << " is missing: run scripts/setup.sh";
    return results;
  }
  xmlDoc* doc = xmlReadFile(catalog.c_str(), nullptr, XML_PARSE_NONET);
  if (!doc) {
    ADD_FAILURE() << "the catalog cannot be read";
    return results;
  }
  const auto baseOf = [](xmlNode* node) {
    xmlChar* value = xmlGetNsProp(node, reinterpret_cast<const xmlChar*>("base"), XML_XML_NAMESPACE);
    std::string result = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return result;
  };
  const auto inScope = [](xmlNode* test) {
    const std::string recommendation = CatalogAttribute(test, "RECOMMENDATION");
    const std::string version = CatalogAttribute(test, "VERSION");
    const std::string edition = CatalogAttribute(test, "EDITION");
    return (recommendation.empty() || recommendation.starts_with("XML1.0")) &&
           (version.empty() || version.find("1.0") != std::string::npos) &&
           (edition.empty() || edition.find('4') != std::string::npos) && CatalogAttribute(test, "TYPE") != "error";
  };
  // An explicit stack of (node, base of its children, test set).
  std::vector<TConformanceCase> stack{{xmlDocGetRootElement(doc), "", ""}};
  while (!stack.empty()) {
    const TConformanceCase frame = stack.back();
    stack.pop_back();
    for (xmlNode* child = frame.Node->last; child; child = child->prev) {
      if (child->type != XML_ELEMENT_NODE) continue;
      const std::string name = reinterpret_cast<const char*>(child->name);
      if (name == "TESTCASES") {
        const std::string set = frame.Set.empty() ? CatalogAttribute(child, "PROFILE") : frame.Set;
        stack.push_back({child, frame.Base + baseOf(child), set});
        continue;
      }
      if (name != "TEST" || !inScope(child)) continue;
      const TConformanceCase test{child, frame.Base + baseOf(child), frame.Set};
      if (!selected(test)) continue;
      const std::string failure = run(test);
      TConformanceSetResult& result = results[frame.Set];
      ++result.Total;
      const std::string id = test.Attribute("ID");
      const bool isKnown = known.count(id) > 0;
      if (failure.empty()) {
        ++result.Passed;
        if (isKnown) ADD_FAILURE() << id << " passes now: take it off the known failures";
      } else if (!isKnown) {
        ADD_FAILURE() << id << " (" << test.Base << test.Attribute("URI") << "): " << failure;
      }
    }
  }
  xmlFreeDoc(doc);
  return results;
}
