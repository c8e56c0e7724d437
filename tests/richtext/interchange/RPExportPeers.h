// The exports of the peer tests' documents read by real programs: LibreOffice (headless,
// a private profile, every RTF file converted to ODT in one call), unrtf, tidy, xmllint
// (against the XHTML 1.1 DTD of Debian's W3C SGML library, through its catalog, without
// the network) and html5lib, lxml and ElementTree through export_peer.py. What they answer is made
// once and cached in the build folder, keyed by the exports' bytes, so that parallel tests
// share one run; the cache is made and read under its lock, each file written under a
// scratch name and renamed into place (PeerCacheFiles.h). A missing program fails the tests that need it, naming
// its Debian package.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "richtext/interchange/PeerCacheFiles.h"

// One document's exports, as the tests wrote them.
struct TPeerExports {
  std::string Name;
  std::string Rtf;      // RTF
  std::string Classic;  // classic HTML, 8-bit
  std::string Css;      // HTML with CSS, XHTML, UTF-8
};

// What the readers made of one document's exports.
struct TPeerAnswers {
  std::string Odt;           // export_peer.py odt of LibreOffice's conversion
  std::string Unrtf;         // unrtf --text
  std::string TidyClassic;   // tidy's messages about the classic HTML
  std::string XmllintCss;    // xmllint's messages about the XHTML
  std::string XmlCss;        // export_peer.py xml of the XHTML
  std::string Html5Classic;  // export_peer.py html of each HTML file
  std::string Html5Css;
};

struct TPeerRun {
  std::string Error;  // empty when every reader answered
  std::vector<TPeerAnswers> Answers;
};

namespace ExportPeerDetail {

inline const char kPython[] = "/usr/bin/python3";
inline const char kXhtmlCatalog[] = "/usr/share/xml/w3c-sgml-lib/schema/dtd/catalog.xml";

inline std::string Quote(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

inline bool HasProgram(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command; its exit status (not a failure of the test: tidy and xmllint
// answer with non-zero statuses when they have something to say).
inline int Run(const std::string& command) { return std::system(command.c_str()); }

// Runs a shell command with its standard output going to target, through a scratch name;
// stderr goes with it unless the command redirects it (2>/dev/null).
inline void RunInto(const std::string& command, const std::filesystem::path& target) {
  const std::filesystem::path scratch = PeerScratchName(target);
  Run("{ " + command + "; } >" + Quote(scratch) + " 2>&1");
  std::filesystem::rename(scratch, target);
}

}  // namespace ExportPeerDetail

// The readers' answers for every document, made when the exports changed.
inline TPeerRun RunExportPeers(const std::vector<TPeerExports>& documents) {
  namespace fs = std::filesystem;
  using namespace ExportPeerDetail;
  TPeerRun run;
  const fs::path dir = BesideTestProgram("export-peer-cache");
  fs::create_directories(dir);
  const TPeerCacheLock lock(dir);
  const struct {
    const char* Program;
    const char* Package;
  } tools[] = {{"soffice", "libreoffice-writer-nogui"},
               {"unrtf", "unrtf"},
               {"tidy", "tidy"},
               {"xmllint", "libxml2-utils"},
               {kPython, "python3-minimal"}};
  for (const auto& tool : tools)
    if (!HasProgram(tool.Program))
      run.Error += std::string(tool.Program) + " is missing: install the Debian package " + tool.Package +
                   " (scripts/setup.sh). ";
  if (!fs::exists(kXhtmlCatalog))
    run.Error +=
        std::string(kXhtmlCatalog) + " is missing: install the Debian package w3c-sgml-lib (scripts/setup.sh). ";
  if (Run(std::string(kPython) + " -c 'import lxml, html5lib' 2>/dev/null") != 0)
    run.Error += "lxml or html5lib is missing: install python3-lxml and python3-html5lib (scripts/setup.sh). ";
  if (run.Error.empty()) {
    std::string key;
    for (const TPeerExports& d : documents) key += d.Name + "\n" + d.Rtf + "\n" + d.Classic + "\n" + d.Css + "\n";
    key += ReadPeerFile(QF_TEST_SOURCE_DIR "/richtext/interchange/export_peer.py");
    const std::string keyText = std::to_string(std::hash<std::string>()(key));
    const auto file = [&](const TPeerExports& d, const char* suffix) { return dir / (d.Name + suffix); };
    bool cached = ReadPeerFile(dir / "key") == keyText;
    for (const TPeerExports& d : documents) cached = cached && fs::exists(file(d, ".odt.txt"));
    if (!cached) {
      fs::remove(dir / "key");
      std::string rtfs;
      for (const TPeerExports& d : documents) {
        WritePeerFile(file(d, ".rtf"), d.Rtf);
        WritePeerFile(file(d, ".html"), d.Classic);
        WritePeerFile(file(d, ".xhtml"), d.Css);
        fs::remove(file(d, ".odt"));
        rtfs += " " + Quote(file(d, ".rtf"));
      }
      const std::string office = "soffice --headless -env:UserInstallation=file://" + (dir / "profile").string() +
                                 " --convert-to odt --outdir " + Quote(dir) + rtfs + " >" + Quote(dir / "soffice.log") +
                                 " 2>&1";
      if (Run(office) != 0) run.Error += "soffice failed: " + office + ". ";
      const std::string peer = std::string(kPython) + " '" QF_TEST_SOURCE_DIR "/richtext/interchange/export_peer.py'";
      for (const TPeerExports& d : documents) {
        if (!fs::exists(file(d, ".odt"))) run.Error += d.Name + ".rtf was not converted (see soffice.log). ";
        RunInto(peer + " odt " + Quote(file(d, ".odt")), file(d, ".odt.txt"));
        RunInto("unrtf --text " + Quote(file(d, ".rtf")) + " 2>/dev/null", file(d, ".unrtf.txt"));
        RunInto("tidy -q -e -raw --doctype loose " + Quote(file(d, ".html")), file(d, ".tidy.txt"));
        RunInto(std::string("XML_CATALOG_FILES=") + kXhtmlCatalog + " xmllint --nonet --valid --noout " +
                    Quote(file(d, ".xhtml")),
                file(d, ".xmllint.txt"));
        RunInto(peer + " html " + Quote(file(d, ".html")), file(d, ".html5.txt"));
        RunInto(peer + " html " + Quote(file(d, ".xhtml")), file(d, ".xhtml5.txt"));
        RunInto(peer + " xml " + Quote(file(d, ".xhtml")), file(d, ".xml.txt"));
      }
      if (run.Error.empty()) WritePeerFile(dir / "key", keyText);
    }
    for (const TPeerExports& d : documents) {
      TPeerAnswers a;
      a.Odt = ReadPeerFile(file(d, ".odt.txt"));
      a.Unrtf = ReadPeerFile(file(d, ".unrtf.txt"));
      a.TidyClassic = ReadPeerFile(file(d, ".tidy.txt"));
      a.XmllintCss = ReadPeerFile(file(d, ".xmllint.txt"));
      a.Html5Classic = ReadPeerFile(file(d, ".html5.txt"));
      a.Html5Css = ReadPeerFile(file(d, ".xhtml5.txt"));
      a.XmlCss = ReadPeerFile(file(d, ".xml.txt"));
      run.Answers.push_back(a);
    }
  }
  return run;
}
