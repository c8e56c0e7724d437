// The exports of the peer tests' documents read by real programs: LibreOffice (headless,
// a private profile, every RTF file converted to ODT in one call), unrtf, tidy, xmllint
// (against the XHTML 1.1 DTD of Debian's W3C SGML library, through its catalog, without
// the network) and html5lib, lxml and ElementTree through export_peer.py. What they answer is made
// once and cached in the build folder under a lock, keyed by the exports' bytes, so that
// parallel tests share one run. A missing program fails the tests that need it, naming
// its Debian package.
#pragma once

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

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

inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

inline std::string Quote(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

inline bool HasProgram(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command; its exit status (not a failure of the test: tidy and xmllint
// answer with non-zero statuses when they have something to say).
inline int Run(const std::string& command) { return std::system(command.c_str()); }

}  // namespace ExportPeerDetail

// The readers' answers for every document, made when the exports changed.
inline TPeerRun RunExportPeers(const std::vector<TPeerExports>& documents) {
  namespace fs = std::filesystem;
  using namespace ExportPeerDetail;
  TPeerRun run;
  const fs::path dir = fs::current_path() / "export-peer-cache";
  fs::create_directories(dir);
  const int lock = ::open((dir.string() + ".lock").c_str(), O_CREAT | O_RDWR, 0644);
  if (lock >= 0) ::flock(lock, LOCK_EX);
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
    key += ReadText(QF_TEST_SOURCE_DIR "/richtext/interchange/export_peer.py");
    const std::string keyText = std::to_string(std::hash<std::string>()(key));
    const auto file = [&](const TPeerExports& d, const char* suffix) { return dir / (d.Name + suffix); };
    bool cached = ReadText(dir / "key") == keyText;
    for (const TPeerExports& d : documents) cached = cached && fs::exists(file(d, ".odt.txt"));
    if (!cached) {
      fs::remove(dir / "key");
      std::string rtfs;
      for (const TPeerExports& d : documents) {
        WriteText(file(d, ".rtf"), d.Rtf);
        WriteText(file(d, ".html"), d.Classic);
        WriteText(file(d, ".xhtml"), d.Css);
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
        Run(peer + " odt " + Quote(file(d, ".odt")) + " >" + Quote(file(d, ".odt.txt")) + " 2>&1");
        Run("unrtf --text " + Quote(file(d, ".rtf")) + " >" + Quote(file(d, ".unrtf.txt")) + " 2>/dev/null");
        Run("tidy -q -e -raw --doctype loose " + Quote(file(d, ".html")) + " >" + Quote(file(d, ".tidy.txt")) +
            " 2>&1");
        Run(std::string("XML_CATALOG_FILES=") + kXhtmlCatalog + " xmllint --nonet --valid --noout " +
            Quote(file(d, ".xhtml")) + " >" + Quote(file(d, ".xmllint.txt")) + " 2>&1");
        Run(peer + " html " + Quote(file(d, ".html")) + " >" + Quote(file(d, ".html5.txt")) + " 2>&1");
        Run(peer + " html " + Quote(file(d, ".xhtml")) + " >" + Quote(file(d, ".xhtml5.txt")) + " 2>&1");
        Run(peer + " xml " + Quote(file(d, ".xhtml")) + " >" + Quote(file(d, ".xml.txt")) + " 2>&1");
      }
      if (run.Error.empty()) WriteText(dir / "key", keyText);
    }
    for (const TPeerExports& d : documents) {
      TPeerAnswers a;
      a.Odt = ReadText(file(d, ".odt.txt"));
      a.Unrtf = ReadText(file(d, ".unrtf.txt"));
      a.TidyClassic = ReadText(file(d, ".tidy.txt"));
      a.XmllintCss = ReadText(file(d, ".xmllint.txt"));
      a.Html5Classic = ReadText(file(d, ".html5.txt"));
      a.Html5Css = ReadText(file(d, ".xhtml5.txt"));
      a.XmlCss = ReadText(file(d, ".xml.txt"));
      run.Answers.push_back(a);
    }
  }
  if (lock >= 0) ::close(lock);
  return run;
}
