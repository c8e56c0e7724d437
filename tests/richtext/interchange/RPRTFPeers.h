// RTF written by real programs from sources these tests write: LibreOffice (headless,
// flat ODT sources, all converted in one call with a private profile; some also to plain
// text) and pandoc (from Markdown), with `unrtf --text` of some results. The files are made once and cached in
// the build folder under a lock, so parallel tests share one conversion; a change of a
// source makes them again. A missing program fails the test that asks, naming the
// Debian package.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "richtext/interchange/PeerCacheFiles.h"
#include "richtext/interchange/RPRTFPicturePeer.h"

struct TRtfPeerFiles {
  std::filesystem::path Dir;  // sources/, out/, unrtf/
  std::string Error;          // empty when every file was made
  std::filesystem::path Source(const std::string& name) const { return Dir / "sources" / name; }
  std::filesystem::path Rtf(const std::string& name) const { return Dir / "out" / (name + ".rtf"); }
  std::filesystem::path UnrtfText(const std::string& name) const { return Dir / "unrtf" / (name + ".txt"); }
  // LibreOffice's plain text of a source.
  std::filesystem::path Text(const std::string& name) const { return Dir / "out" / (name + ".txt"); }
};

namespace RtfPeerDetail {

inline std::string Base64(const std::vector<uint8_t>& bytes) {
  static const char table[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t v = uint32_t{bytes[i]} << 16;
    if (i + 1 < bytes.size()) v |= uint32_t{bytes[i + 1]} << 8;
    if (i + 2 < bytes.size()) v |= bytes[i + 2];
    out += table[(v >> 18) & 63];
    out += table[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? table[(v >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? table[v & 63] : '=';
  }
  return out;
}

inline std::string Replace(std::string text, const std::string& what, const std::string& with) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
  return text;
}

inline bool HasProgram(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

inline std::string Quote(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

}  // namespace RtfPeerDetail

// The flat ODT text of a document whose body is body (automatic styles, a page with a
// header and footer when headerFooter).
std::string FlatOdt(const std::string& body, bool headerFooter);

// The start of a flat ODT document: the declaration and the root with its namespaces.
inline constexpr char kFlatOdtStart[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
)";

// Sources: name -> text. The LibreOffice sources are "*.fodt", the pandoc ones "*.md".
std::vector<std::pair<std::string, std::string>> RtfPeerSources(const std::string& pngBase64,
                                                                const std::string& jpegBase64);
// Names of the results that unrtf reads too.
std::vector<std::string> RtfPeerUnrtfNames();

// Makes (or finds in the cache folder dirName of the build folder) the files of a set of
// sources: every "*.fodt" converted to RTF in one LibreOffice call (and, for textNames,
// to UTF-8 text in a second call), every "*.md" by pandoc, the unrtfNames read by unrtf.
// Other sources (HTML) are written for the test to read. pngJpeg: the sources need the
// two pictures (their base64 in place of @PNG@ and @JPEG@). Everything is made under the
// cache's lock into a scratch folder of this process and moved into place file by file,
// and a cache that is current is left untouched (PeerCacheFiles.h), so other processes
// may read the files at any time.
inline TRtfPeerFiles MakeRtfPeerFiles(
    const std::string& dirName,
    const std::function<std::vector<std::pair<std::string, std::string>>(const std::string&, const std::string&)>&
        makeSources,
    const std::vector<std::string>& unrtfNames, const std::vector<std::string>& textNames = {}) {
  namespace fs = std::filesystem;
  using namespace RtfPeerDetail;
  TRtfPeerFiles f;
  f.Dir = BesideTestProgram(dirName);
  fs::create_directories(f.Dir / "sources");
  fs::create_directories(f.Dir / "out");
  fs::create_directories(f.Dir / "unrtf");
  const TPeerCacheLock lock(f.Dir);
  const struct {
    const char* Program;
    const char* Package;
  } tools[] = {{"soffice", "libreoffice-writer-nogui"}, {"pandoc", "pandoc"}, {"unrtf", "unrtf"}};
  for (const auto& tool : tools)
    if (!HasProgram(tool.Program))
      f.Error += std::string(tool.Program) + " is missing: install the Debian package " + tool.Package +
                 " (scripts/setup.sh). ";
  if (!f.Error.empty()) return f;
  const fs::path made = PeerScratchName(f.Dir / "made");
  fs::remove_all(made);
  fs::create_directories(made / "out");
  fs::create_directories(made / "unrtf");
  const auto makeAndPublish = [&] {
    // The pictures are made afresh each time, since the cache's key holds their bytes.
    const fs::path png = made / "picture.png";
    const fs::path jpeg = made / "photo.jpg";
    if (!RunPicturePeer({"make", png.string(), jpeg.string()})) {
      f.Error += "PIL could not make the pictures (python3-pil). ";
      return;
    }
    const auto sources = makeSources(Base64(ReadBytesOf(png.string())), Base64(ReadBytesOf(jpeg.string())));
    MovePeerFileIntoPlace(png, f.Source("picture.png"));
    MovePeerFileIntoPlace(jpeg, f.Source("photo.jpg"));
    std::string key;
    for (const auto& [name, text] : sources) key += name + "\n" + text + "\n";
    for (const std::string& name : textNames) key += "text " + name + "\n";
    const std::string keyText = std::to_string(std::hash<std::string>()(key));
    bool cached = ReadPeerFile(f.Dir / "key") == keyText;
    for (const auto& [name, text] : sources)
      if (name.ends_with(".fodt") || name.ends_with(".md"))
        cached = cached && fs::exists(f.Rtf(fs::path(name).stem().string()));
    if (cached) return;
    const auto madeRtf = [&](const std::string& stem) { return made / "out" / (stem + ".rtf"); };
    std::string fodts, texts;
    for (const auto& [name, text] : sources) {
      WritePeerFile(f.Source(name), text);
      if (name.ends_with(".fodt")) fodts += " " + Quote(f.Source(name));
    }
    for (const std::string& name : textNames) texts += " " + Quote(f.Source(name + ".fodt"));
    const std::string office = "soffice --headless -env:UserInstallation=file://" + (f.Dir / "profile").string();
    if (!fodts.empty()) {
      const std::string command = office + " --convert-to rtf --outdir " + Quote(made / "out") + fodts + " >" +
                                  Quote(f.Dir / "soffice.log") + " 2>&1";
      if (std::system(command.c_str()) != 0) f.Error += "soffice failed: " + command + ". ";
    }
    if (!texts.empty()) {
      const std::string command = office + " --convert-to 'txt:Text (encoded):UTF8' --outdir " + Quote(made / "out") +
                                  texts + " >>" + Quote(f.Dir / "soffice.log") + " 2>&1";
      if (std::system(command.c_str()) != 0) f.Error += "soffice failed: " + command + ". ";
    }
    for (const auto& [name, text] : sources) {
      if (!name.ends_with(".md")) continue;
      const std::string command = "pandoc -s -f markdown -t rtf -o " + Quote(madeRtf(fs::path(name).stem().string())) +
                                  " " + Quote(f.Source(name)) + " 2>&1";
      if (std::system(command.c_str()) != 0) f.Error += "pandoc failed: " + command + ". ";
    }
    for (const std::string& name : unrtfNames) {
      const std::string command =
          "unrtf --text " + Quote(madeRtf(name)) + " >" + Quote(made / "unrtf" / (name + ".txt")) + " 2>/dev/null";
      if (std::system(command.c_str()) != 0) f.Error += "unrtf failed: " + command + ". ";
    }
    for (const auto& [name, text] : sources)
      if ((name.ends_with(".fodt") || name.ends_with(".md")) && !fs::exists(madeRtf(fs::path(name).stem().string())))
        f.Error += name + " was not converted (see soffice.log). ";
    for (const std::string& name : textNames)
      if (!fs::exists(made / "out" / (name + ".txt")))
        f.Error += name + ".fodt was not converted to text (see soffice.log). ";
    if (!f.Error.empty()) return;
    for (const char* folder : {"out", "unrtf"})
      for (const auto& entry : fs::directory_iterator(made / folder))
        MovePeerFileIntoPlace(entry.path(), f.Dir / folder / entry.path().filename());
    WritePeerFile(f.Dir / "key", keyText);
  };
  makeAndPublish();
  fs::remove_all(made);
  return f;
}

inline const TRtfPeerFiles& RtfPeerFiles() {
  static const TRtfPeerFiles files = MakeRtfPeerFiles("rtf-peer-cache", &RtfPeerSources, RtfPeerUnrtfNames());
  return files;
}
