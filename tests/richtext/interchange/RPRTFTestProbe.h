// A reader wired to every event, recording what it reports as one line per event, so
// that tests compare the trace with what the source holds.
//
// Lines: "text P 'abc'" (P: C continue, L new line, N new paragraph; UTF-16 runs are
// written as UTF-8 and marked "utext"), "pict KIND WxH" or "pict KIND none",
// (KIND "field" for a field's picture), "object KIND BYTES", "table start|end|row|cell", "page", "header on|off",
// "footer on|off". Markers are counted, not traced.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/Streams.h"
#include "richtext/interchange/RPRTFReader.h"

inline const char* PositionName(TRPRTFPosition position) {
  switch (position) {
    case rtf_ts_ContinuePara:
      return "C";
    case rtf_ts_NewLine:
      return "L";
    default:
      return "N";
  }
}

// One reported run with the formatting it was reported in.
struct TProbeRun {
  std::string Text;  // UTF-8
  TRPRTFPosition Position = rtf_ts_NewPara;
  bool Unicode = false;
  TRPRTFCharProperties Char;
  TRPRTFParaProperties Para;
  std::string FontName;
  TRPRTFHeaderFooterType Part = rtf_hf_MainText;
  int32_t TableLevel = 0;
  std::string Field;  // the field instruction around the run
};

struct TProbePicture {
  TRPRTFPictureKind Kind = rtf_pict_EMF;
  bool FromField = false;
  std::string FileName;
  std::unique_ptr<TGraphic> Graphic;
  std::vector<uint8_t> Data;
  int32_t SuggestedWidth = 0;
  int32_t SuggestedHeight = 0;
  int32_t TableLevel = 0;
};

class TReaderProbe {
public:
  explicit TReaderProbe(bool unicode = true, bool pictures = true) {
    Reader.OnNewText = [this](TRPRTFReader* r, const AnsiString& text, TRPRTFPosition position) {
      AddRun(*r, AnsiToWide(text, r->CodePage() ? r->CodePage() : 1252), position, false);
    };
    if (unicode)
      Reader.OnNewUnicodeText = [this](TRPRTFReader* r, const WideString& text, TRPRTFPosition position) {
        AddRun(*r, text, position, true);
      };
    if (pictures)
      Reader.OnNewPicture = [this](TRPRTFReader* r, TRPRTFPicture* picture, std::unique_ptr<TGraphic>& graphic,
                                   TRPRTFPosition position, const AnsiString& fileName, bool& inserted) {
        TProbePicture p;
        p.FromField = picture == nullptr;
        p.FileName = fileName;
        if (picture) {
          p.Kind = picture->PicType;
          p.SuggestedWidth = picture->SuggestedWidth;
          p.SuggestedHeight = picture->SuggestedHeight;
          const auto* bytes = static_cast<const uint8_t*>(picture->Data.Memory());
          p.Data.assign(bytes, bytes + picture->Data.Size());
        }
        p.TableLevel = r->TableLevel();
        std::string line = std::string("pict ") + PositionName(position) + " " +
                           (picture ? std::to_string(p.Kind) : std::string("field")) + " ";
        line += graphic ? std::to_string(graphic->Width()) + "x" + std::to_string(graphic->Height()) : "none";
        Trace.push_back(line);
        inserted = graphic != nullptr && InsertPictures;
        if (inserted) p.Graphic = std::move(graphic);
        Pictures.push_back(std::move(p));
      };
    Reader.OnTable = [this](TRPRTFReader*, TRPRTFTableEventKind kind) {
      static const char* names[] = {"start", "end", "row", "cell"};
      Trace.push_back(std::string("table ") + names[kind]);
    };
    Reader.OnRequiredPageBreak = [this](TObject*) { Trace.push_back("page"); };
    Reader.OnUpdateMarker = [this](TObject*) { ++MarkerUpdates; };
    Reader.OnEndParsing = [this](TObject*) { ++EndParsing; };
  }

  // Headers and footers are read and traced.
  void AcceptHeadersAndFooters() {
    Reader.OnHeaderFooter = [this](TRPRTFReader*, TRPRTFHeaderFooterType kind, bool starting, bool& supported) {
      Trace.push_back(std::string(kind == rtf_hf_Header ? "header " : "footer ") + (starting ? "on" : "off"));
      supported = true;
    };
  }

  TRPRTFErrorCode Parse(const std::string& rtf) {
    TStringStream stream(rtf);
    return Reader.ParseStream(stream);
  }

  // The text lines of the trace only.
  std::vector<std::string> TextTrace() const {
    std::vector<std::string> lines;
    for (const auto& line : Trace)
      if (line.rfind("text", 0) == 0 || line.rfind("utext", 0) == 0) lines.push_back(line);
    return lines;
  }

  // The runs joined, paragraphs as "\n", lines as "\v".
  std::string PlainText(TRPRTFHeaderFooterType part = rtf_hf_MainText) const {
    std::string text;
    bool first = true;
    for (const auto& run : Runs) {
      if (run.Part != part) continue;
      if (!first && run.Position == rtf_ts_NewPara) text += "\n";
      if (!first && run.Position == rtf_ts_NewLine) text += "\v";
      first = false;
      text += run.Text;
    }
    return text;
  }

  TRPRTFReader Reader;
  std::vector<std::string> Trace;
  std::vector<TProbeRun> Runs;
  std::vector<TProbePicture> Pictures;
  int MarkerUpdates = 0;
  int EndParsing = 0;
  bool InsertPictures = true;

private:
  void AddRun(TRPRTFReader& r, const WideString& text, TRPRTFPosition position, bool unicode) {
    TProbeRun run;
    run.Text = WideToAnsi(text, CP_UTF8);
    run.Position = position;
    run.Unicode = unicode;
    run.Char = r.RTFState().CharProps;
    run.Char.Language = r.RTFState().CharProps.Language;
    run.Char.FontNameOverride = r.RTFState().CharProps.FontNameOverride;
    run.Para = r.RTFState().ParaProps;
    run.FontName = r.FontNameOf(r.RTFState().CharProps);
    run.Part = r.RTFState().HFType;
    run.TableLevel = r.TableLevel();
    run.Field = r.FieldInstruction();
    Trace.push_back(std::string(unicode ? "utext " : "text ") + PositionName(position) + " '" + run.Text + "'");
    Runs.push_back(std::move(run));
  }
};
