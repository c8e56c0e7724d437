// The W3C XML Conformance Test Suite (XmlConformanceSuite.h) read with DTD processing:
// every case in scope is parsed on the validating path (external subsets and entities
// read from the suite's own folder only) and validated. Not-well-formed cases must end
// with a fatal error, in the parse or when validation expands the entity references; valid ones must parse and validate
// without an error and match the canonical output; invalid ones must be reported with a validity error (types 6 to 43)
// and no fatal one.
#include <gtest/gtest.h>

#include <iostream>

#include "xml/dom/DomFileResourceResolver.h"
#include "xml/dtd/DtdValidationAgent.h"
#include "xml/parser/XmlConformanceSuite.h"
#include "xml/parser/XmlHandlers.h"
#include "xml/parser/XmlParserTestSupport.h"
#include "xml/utils/UriUtils.h"

namespace {

struct TValidatingFixture {
  TDomImplementation Implementation{nullptr};
  TDomFileResourceResolver Resolver{nullptr};
  TXmlToDomParser Parser{nullptr};
  std::vector<int> Errors;

  TValidatingFixture() {
    InstallDtdValidation(Implementation);
    Resolver.AllowFolder(ConformanceSuiteDir.string());
    Implementation.SetResourceResolver(&Resolver);
    Implementation.OnError = [this](TObject*, const TDomError& error, bool&) { Errors.push_back(error.Kind()); };
    Parser.SetDOMImpl(&Implementation);
    Parser.DomBuilder().DocTypeDeclTreatment = dtCheckValidity;
    // CDATA sections and comments stay: element content and EMPTY are judged on them.
    Parser.SetKeepEntityRefs(false);
  }
  bool Heard(TXmlErrorSeverity severity) const {
    return std::any_of(Errors.begin(), Errors.end(), [&](int kind) { return ErrorSeverityOf(kind) == severity; });
  }
  std::string ErrorList() const {
    std::string list;
    for (const int kind : Errors) list += " " + std::to_string(kind);
    return list;
  }
};

// The second canonical form: the notations declared stand in a document type
// declaration where the document's stood, sorted by name.
std::string CanonicalWithNotations(TDomDocument& document, TDtdModel& model) {
  std::vector<std::string> lines;
  const TDtdNamedObjectMap& notations = model.NotationDecls();
  for (int32_t i = 0; i < notations.GetLength(); ++i) {
    const auto* notation = static_cast<const TDtdNotationDecl*>(notations.GetItem(i));
    std::string line = "<!NOTATION " + ToUtf8(notation->GetName());
    if (!notation->PublicId().empty()) {
      line += " PUBLIC '" + ToUtf8(notation->PublicId()) + "'";
      if (!notation->SystemId().empty()) line += " '" + ToUtf8(notation->SystemId()) + "'";
    } else {
      line += " SYSTEM '" + ToUtf8(notation->SystemId()) + "'";
    }
    lines.push_back(line + ">\n");
  }
  std::sort(lines.begin(), lines.end());
  std::string out;
  for (TDomNode* child = document.GetFirstChild(); child; child = child->GetNextSibling()) {
    if (child->GetNodeType() != ntDocumentTypeDecl) {
      AppendCanonical(out, *child);
    } else if (!lines.empty()) {
      out += "<!DOCTYPE " + ToUtf8(child->GetNodeName()) + " [\n";
      for (const std::string& line : lines) out += line;
      out += "]>\n";
    }
  }
  return out;
}

std::string RunCase(const TConformanceCase& test) {
  const std::string type = test.Attribute("TYPE");
  TValidatingFixture f;
  TDomDocument* document = nullptr;
  try {
    TStringStream stream(ReadSuiteFile(test.File()));
    document = f.Parser.ParseStream(&stream, FileNameToFileUri(test.File().string(), 0), nullptr, true);
  } catch (const EParserException&) {
  } catch (const std::exception& e) {
    return std::string("raised ") + e.what();
  }
  // Validation expands the entity references the parse left in the tree: faults of
  // their replacement texts show there.
  auto* agent = document ? static_cast<TDtdValidationAgent*>(document->ValidationAgent()) : nullptr;
  const bool valid = agent && agent->ValidateDocument(etExpand);
  if (type == "not-wf") return f.Heard(esFatal) ? "" : "accepted, errors" + f.ErrorList();
  if (f.Heard(esFatal)) return "fatal error:" + f.ErrorList();
  if (type == "invalid") {
    // Reported while parsing or while validating, with a validity error.
    return f.Heard(esError) ? "" : "not reported as invalid:" + f.ErrorList();
  }
  if (!document) return "refused:" + f.ErrorList();
  if (!valid || f.Heard(esError)) return "not valid:" + f.ErrorList();
  if (test.Attribute("OUTPUT").empty()) return "";
  const std::string actual = CanonicalWithNotations(*document, agent->DtdModel());
  return actual == ReadSuiteFile(test.Output()) ? "" : "canonical form differs: " + actual;
}

const TKnownFailures KnownFailures = {
    {"ibm-valid-P28-ibm28v02.xml",
     "the canonical form holds a processing instruction of the external subset, "
     "which the document tree does not keep"},
    {"ibm-valid-P29-ibm29v01.xml", "as ibm28v02: a processing instruction of the external subset"},
    {"ibm-valid-P29-ibm29v02.xml", "as ibm28v02: a processing instruction of the external subset"},
};

TEST(XmlDtdConformanceTest, EveryCaseWithDtdProcessing) {
  std::map<std::string, TConformanceSetResult> byType;
  const auto results = RunConformanceCases([](const TConformanceCase&) { return true; },
                                           [&](const TConformanceCase& test) {
                                             std::string failure = RunCase(test);
                                             TConformanceSetResult& result = byType[test.Attribute("TYPE")];
                                             ++result.Total;
                                             if (failure.empty()) ++result.Passed;
                                             return failure;
                                           },
                                           KnownFailures);
  for (const auto& [type, result] : byType)
    std::cout << "  " << type << ": " << result.Passed << " of " << result.Total << "\n";
  int passed = 0, total = 0;
  for (const auto& [set, result] : results) {
    std::cout << "  " << set << ": " << result.Passed << " of " << result.Total << "\n";
    passed += result.Passed;
    total += result.Total;
  }
  std::cout << "  all: " << passed << " of " << total << "; known failures: " << KnownFailures.size() << "\n";
  EXPECT_EQ(passed + int(KnownFailures.size()), total);
}

}  // namespace
