// The HTML writer in both flavours: head, body and end, paragraphs, text runs, spans,
// hyperlinks, hints, anchors, backgrounds, the host's hooks, and what is escaped.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <vector>

#include "imaging/png/PngCodec.h"
#include "platform/base/BesideTestProgram.h"
#include "platform/base/TempFolder.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/interchange/RPExportTestData.h"
#include "richtext/layout/RPBackground.h"
#include "unicode/UniSystem.h"

namespace {

constexpr uint32_t Xhtml = rphtmlQuotedAttributes;

TEST(RPHTMLExportTest, HeadBodyAndEndOnlyTogetherWriteNothing) {
  TExportView view;
  view.Pane.AddTextNL("x", 0, 0, 0);
  for (const bool css : {false, true}) {
    EXPECT_EQ(view.Html(rphtmlOnlyHead | rphtmlOnlyBody | rphtmlOnlyEnd, css), "");
    EXPECT_EQ(view.Html(rphtmlOnlyEnd, css), css ? "\r\n</body></html>" : "</body></html>");
    EXPECT_EQ(view.Html(rphtmlOnlyHead, css).find("<p>"), std::string::npos);
    EXPECT_EQ(view.Html(rphtmlOnlyBody, css).find("<html"), std::string::npos);
  }
}

TEST(RPHTMLExportTest, TheClassicPageWholly) {
  TExportView view;
  view.Pane.AddTextNL("Hi & bye", 0, 0, 0);
  view.Data().AddTextW(u" bold", 1, TRPTag(), -1);
  TRPHTMLExportParams params;
  params.Title = "A <title> & more";
  params.Color = clYellow;
  params.LeftMargin = 1;
  params.TopMargin = 2;
  params.RightMargin = 3;
  params.BottomMargin = 4;
  EXPECT_EQ(view.Html(0, false, params),
            "<html><head><title>A &lt;title&gt; &amp; more</title>\r\n"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1251\">\r\n"
            "</head>\r\n"
            "<body bgcolor=\"#ffff00\" leftmargin=1 topmargin=2 rightmargin=3 bottommargin=4>\r\n"
            // Text style 0's font tags stand inside the paragraph: no font element holds a
            // paragraph.
            "<p><font size=2 color=\"#000000\" face=\"Arial\">Hi &amp; bye<font color=\"#0000ff\"><b> bold</b></font>"
            "</font></p>\r\n"
            "</body></html>");
  // XHTML: the declaration, quoted values and closed empty elements.
  const std::string xhtml = view.Html(Xhtml, false, params);
  EXPECT_EQ(xhtml.rfind("<?xml version=\"1.0\" encoding=\"Windows-1251\"?>\r\n<html><head>", 0), 0u);
  EXPECT_NE(xhtml.find("charset=Windows-1251\" />"), std::string::npos);
  EXPECT_NE(xhtml.find("leftmargin=\"1\" topmargin=\"2\" rightmargin=\"3\" bottommargin=\"4\">"), std::string::npos);
  // UTF-8: the charset and the title.
  params.Title = "\xC6";
  const std::string utf8 = view.Html(rphtmlUtf8, false, params);
  EXPECT_NE(utf8.find("<title>\xD0\x96</title>"), std::string::npos);
  EXPECT_NE(utf8.find("charset=UTF-8"), std::string::npos);
}

TEST(RPHTMLExportTest, TheCssPageWholly) {
  TExportView view;
  view.Pane.AddTextNL("x", 0, 0, 0);
  TRPHTMLExportParams params;
  params.Color = clWhite;
  params.LeftMargin = 1;
  params.TopMargin = 2;
  params.RightMargin = 3;
  params.BottomMargin = 4;
  params.ExtraCss = "p { color: red }";
  params.CssFileName = "sheet\\a.css";
  EXPECT_EQ(view.Html(0, true, params),
            "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
            "<html>\r\n"
            "<head><title></title>\r\n"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1251\">\r\n"
            "<meta http-equiv=\"Content-Style-Type\" content=\"text/css\">\r\n"
            "<style type=\"text/css\">\r\n"
            "<!--\r\n"
            "body {\r\n"
            "  margin: 2px 3px 4px 1px;\r\n"
            "  background-color: #ffffff;\r\n"
            "}\r\n"
            "p { color: red }\r\n"
            "-->\r\n"
            "</style>\r\n"
            "<link type=\"text/css\" href=\"sheet/a.css\" rel=\"stylesheet\">\r\n"
            "</head>\r\n"
            "<body>\r\n"
            "\r\n<p>x</p>\r\n"
            "\r\n</body></html>");
  const std::string xhtml = view.Html(Xhtml, true, params);
  EXPECT_EQ(xhtml.rfind("<?xml version=\"1.0\" encoding=\"Windows-1251\"?>\r\n"
                        "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1//EN\" "
                        "\"http://www.w3.org/TR/xhtml11/DTD/xhtml11.dtd\">\r\n"
                        "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n",
                        0),
            0u);
  EXPECT_EQ(xhtml.find("<!--"), std::string::npos);
  EXPECT_NE(xhtml.find("rel=\"stylesheet\" />"), std::string::npos);
  // Inline styles link no style sheet.
  EXPECT_EQ(view.Html(rphtmlInlineCss, true, params).find("<link"), std::string::npos);
}

TEST(RPHTMLExportTest, TheStyleSheetInTheHead) {
  TExportView view;
  view.Style.TextStyles()[1]->StyleName = "A & <b> */ c";
  view.Pane.AddTextNL("x", 1, 0, 0);
  // The style sheet's CSS in the style element; in XHTML its names' "&" and "<" as
  // entities, which the style element's parsed text needs.
  const std::string html = view.Html(rphtmlOnlyHead, true);
  EXPECT_NE(html.find("}\r\n/* ========== Text Styles ========== */\r\n"), std::string::npos) << html;
  EXPECT_NE(html.find("span.rpts1 /* A & <b> * / c */\r\n"), std::string::npos);
  const std::string xhtml = view.Html(rphtmlOnlyHead | Xhtml, true);
  EXPECT_NE(xhtml.find("span.rpts1 /* A &amp; &lt;b> * / c */\r\n"), std::string::npos) << xhtml;
  // The default classes make style 0 a class too.
  EXPECT_NE(view.Html(rphtmlOnlyHead | rphtmlDefaultCssClasses, true).find("span.rpts0 /* Normal text */"),
            std::string::npos);
  // Inline styles and an external sheet leave it out.
  EXPECT_EQ(view.Html(rphtmlOnlyHead | rphtmlInlineCss, true).find("Text Styles"), std::string::npos);
  TRPHTMLExportParams params;
  params.CssFileName = "a.css";
  EXPECT_EQ(view.Html(rphtmlOnlyHead, true, params).find("Text Styles"), std::string::npos);
}

TEST(RPHTMLExportTest, InlineStyles) {
  TExportView view;
  view.Style.TextStyles()[0]->FontName = "O'Brien \"Sans\"";
  view.Pane.AddTextNL("x", 0, 1, 1);
  view.Data().SetPageBreakBefore(0, true);
  const std::string html = view.HtmlBody(rphtmlInlineCss, true);
  // Every paragraph and run carries its declarations, style 0 included (no sheet holds
  // them), the font name escaped for the attribute.
  EXPECT_EQ(html.find("class="), std::string::npos);
  EXPECT_EQ(html.rfind("\r\n<p style=\"text-align: center; ", 0), 0u) << html;
  EXPECT_NE(html.find("page-break-before: always;\"><span style=\"font-size: 10pt; "
                      "font-family: 'O\\'Brien \\&quot;Sans\\&quot;';"),
            std::string::npos)
      << html;
}

TEST(RPHTMLExportTest, PageBackgrounds) {
  struct TCase {
    TBackgroundStyle Style;
    const char* Css;
  } cases[] = {
      {bsBottomRight,
       "  background-repeat: no-repeat;\r\n  background-attachment: fixed;\r\n"
       "  background-position: bottom right;\r\n"},
      {bsTiledAndScrolled, "  background-repeat: repeat;\r\n  background-attachment: scroll;\r\n}"},
      {bsStretched, "  background-attachment: fixed;\r\n  background-position: center center;\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Css);
    TExportView view;
    view.Pane.AddTextNL("x", 0, 0, 0);
    TRPBackground background(false);
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(2, 2);
    background.SetImageCopy(picture, rppaDoNothing, nullptr);
    background.Style = c.Style;
    int asked = 0;
    view.Pane.OnHTMLSaveImage = [&](TCustomRichPane*, TCustomRPData& rpData, int32_t itemNo, const WideString&,
                                    TColor backColor, AnsiString& location, bool& doDefault) {
      ++asked;
      EXPECT_EQ(&rpData, &view.Data());
      EXPECT_EQ(itemNo, -1);
      EXPECT_EQ(backColor, clSilver);
      location = "pics\\back.png";
      doDefault = false;
    };
    TRPHTMLExportParams params;
    params.Background = &background;
    params.Color = clSilver;
    const std::string css = view.Html(rphtmlOnlyHead, true, params);
    EXPECT_NE(css.find("  background-color: #c0c0c0;\r\n  background-image: url(\"pics/back.png\");\r\n"),
              std::string::npos)
        << css;
    EXPECT_NE(css.find(c.Css), std::string::npos) << css;
    const std::string classic = view.Html(rphtmlOnlyHead, false, params);
    EXPECT_NE(
        classic.find(c.Style == bsTiledAndScrolled
                         ? "<body bgcolor=\"#c0c0c0\" background=\"pics/back.png\" leftmargin"
                         : "<body bgcolor=\"#c0c0c0\" background=\"pics/back.png\" bgproperties=fixed leftmargin"),
        std::string::npos)
        << classic;
    EXPECT_EQ(asked, 2);
  }
}

TEST(RPHTMLExportTest, AnchorsOfCheckpoints) {
  TExportView view;
  view.Pane.AddNamedCheckpoint("", false, TRPTag());
  view.Pane.AddTextNL("a", 0, 0, 0);
  view.Pane.AddNamedCheckpoint("Name \"&<", false, TRPTag());
  view.Pane.AddTextNL("b", 0, 0, 0);
  view.Pane.AddNamedCheckpoint("", false, TRPTag());
  // The first checkpoint without a name: its anchor on its own line, unquoted.
  const std::string classic = view.HtmlBody(0, false);
  EXPECT_NE(classic.find("\">\r\n<a name=RichPaneCheckpoint0></a>a"), std::string::npos) << classic;
  EXPECT_NE(classic.find("\r\n<a name=RichPaneCheckpoint1></a>b"), std::string::npos);
  EXPECT_NE(classic.find("\r\n<a name=RichPaneCheckpoint2></a>"), std::string::npos);  // the trailing one
  // By name, the name escaped for its attribute.
  EXPECT_NE(view.HtmlBody(rphtmlCheckpointNames, false).find("<a name=\"Name &quot;&amp;&lt;\"></a>b"),
            std::string::npos);
  // XHTML quotes every value; the CSS flavour writes no line break and takes the prefix.
  EXPECT_NE(view.HtmlBody(Xhtml, false).find("<a name=\"RichPaneCheckpoint0\"></a>"), std::string::npos);
  TRPHTMLExportParams params;
  params.CheckpointPrefix = "cp";
  const std::string css = view.Html(rphtmlOnlyBody, true, params);
  EXPECT_NE(css.find("<p><a name=cp0></a>a</p>"), std::string::npos) << css;
  params.CheckpointPrefix = "c p";
  EXPECT_NE(view.Html(rphtmlOnlyBody, true, params).find("<a name=\"c p0\"></a>"), std::string::npos);
}

TEST(RPHTMLExportTest, EmptyParagraphsAndLineBreaks) {
  TExportView view;
  view.Pane.AddTextNL("", 0, 0, 0);
  view.Pane.AddTextNL("a", 0, 0, 0);
  view.Data().SetAddParagraphs(false);
  view.Data().AddTextW(u"b", 0, TRPTag(), 0);
  view.Data().SetAddParagraphs(true);
  EXPECT_EQ(view.HtmlBody(rphtmlNoBodyFontTags, false), "<p><br></p>\r\n<p>a<br>b</p>\r\n");
  EXPECT_EQ(view.HtmlBody(Xhtml | rphtmlNoBodyFontTags, false), "<p><br /></p>\r\n<p>a<br />b</p>\r\n");
  EXPECT_EQ(view.HtmlBody(Xhtml, true), "\r\n<p><br /></p>\r\n<p>a\r\n<br />b</p>\r\n");
}

TEST(RPHTMLExportTest, ClassicParagraphs) {
  TExportView view;
  const int32_t para = view.AddParaStyle([](TParaInfo& p) {
    p.Alignment = rpaJustify;
    p.BiDiMode = rpbdRightToLeft;
  });
  view.Pane.AddTextNL("a", 3, para, para);
  view.Pane.AddTextNL("b", 0, 1, 1);
  view.Data().SetPageBreakBefore(1, true);
  view.Data().AddItem("", std::make_unique<TRPBreakItemInfo>(&view.Data()));
  EXPECT_EQ(view.HtmlBody(0, false),
            "<p align=justify dir=RTL><font size=2 color=\"#000000\" face=\"Arial\"><font color=\"#800000\"><i>a</i>"
            "</font></font></p>\r\n"
            "<p align=center><font size=2 color=\"#000000\" face=\"Arial\">b</font></p>\r\n"
            "<hr noshade size=1>\r\n");
  // Page breaks with option 0x80; quoted values under XHTML; no font tags with 0x10.
  EXPECT_NE(view.HtmlBody(rphtmlUseCss | Xhtml | rphtmlNoBodyFontTags, false)
                .find("<p align=\"center\" style=\"page-break-before: always;\">b</p>"),
            std::string::npos);
  RPHTMLClassicParagraphsAsDiv = true;
  const std::string divs = view.HtmlBody(rphtmlNoBodyFontTags, false);
  RPHTMLClassicParagraphsAsDiv = false;
  EXPECT_NE(divs.find("<div align=center>b</div>\r\n"), std::string::npos) << divs;
}

// Every picture has alt, and an empty run no font tags (they would be an empty element);
// XHTML names characters by number and spaces pictures with a margin.
TEST(RPHTMLExportTest, WhatHtmlReadersAndXmlParsersNeed) {
  TExportView view;
  const int32_t red = view.AddTextStyle([](TFontInfo& s) { s.Color = clRed; });
  view.Data().AddTextW(u"a  b", 0, TRPTag(), 0);
  view.Data().AddTextW(u"", red, TRPTag(), -1);
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(2, 2);
  view.Data().AddPicture("picture", std::move(bitmap), -1, rpvaBaseline);
  view.Pane.OnHTMLSaveImage = [](TCustomRichPane*, TCustomRPData&, int32_t, const WideString&, TColor,
                                 AnsiString& location, bool& doDefault) {
    location = "p.png";
    doDefault = false;
  };
  EXPECT_EQ(view.HtmlBody(rphtmlNoBodyFontTags, false),
            "<p>a&nbsp; b<img alt=\"\" hspace=1 vspace=1 src=\"p.png\"></p>\r\n");
  const std::string xhtml = view.Html(Xhtml, true);
  EXPECT_NE(xhtml.find("a&#160; b"), std::string::npos) << xhtml;
  EXPECT_NE(xhtml.find("<img alt=\"\" style=\"margin: 1px;\" src=\"p.png\" />"), std::string::npos) << xhtml;
  EXPECT_EQ(xhtml.find("&nbsp;"), std::string::npos);
  EXPECT_EQ(xhtml.find("space="), std::string::npos);
}

TEST(RPHTMLExportTest, CssParagraphsAndSpans) {
  TExportView view;
  view.Pane.AddTextNL("one", 3, 1, 1);
  view.Data().AddTextW(u" two", 3, TRPTag(), -1);  // the same style in the same line
  view.Data().AddTextW(u" plain", 0, TRPTag(), -1);
  view.Pane.AddTextNL("next", 3, 0, 0);
  view.Data().SetPageBreakBefore(3, true);
  EXPECT_EQ(view.HtmlBody(0, true),
            "\r\n<p class=rpps1><span class=rpts3>one two</span> plain</p>\r\n"
            "<p style=\"page-break-before: always;\"><span class=rpts3>next</span></p>\r\n");
  // With the default classes style 0 and paragraph 0 get classes too.
  EXPECT_EQ(view.HtmlBody(rphtmlDefaultCssClasses | Xhtml, true),
            "\r\n<p class=\"rpps1\"><span class=\"rpts3\">one two</span><span class=\"rpts0\"> plain</span></p>\r\n"
            "<p class=\"rpps0\" style=\"page-break-before: always;\"><span class=\"rpts3\">next</span></p>\r\n");
}

TEST(RPHTMLExportTest, ATableStandsInABlockOfItsParagraph) {
  TExportView view;
  view.Style.ParaStyles()[1]->Alignment = rpaCenter;
  TRPTableItemInfo& table = view.AddTable(1, 1);
  table.ParaNo = 1;
  TExportView::SetCell(table, 0, 0, "cell");
  const std::string css = view.HtmlBody(0, true);
  EXPECT_EQ(css.rfind("\r\n<div class=rpps1><div align=center><table", 0), 0u) << css;
  EXPECT_NE(css.find("</table>\r\n</div></div>\r\n"), std::string::npos);
  // The cell's document: a body of the same flavour.
  EXPECT_NE(css.find("<td>\r\n<p>cell</p>\r\n</td>"), std::string::npos);
  // XHTML has no align attribute on divs.
  EXPECT_EQ(view.HtmlBody(Xhtml, true).find("<div align="), std::string::npos);
  // Classic: a div, never a paragraph around the table.
  const std::string classic = view.HtmlBody(0, false);
  EXPECT_EQ(classic.rfind("<div align=center><table", 0), 0u) << classic;
  EXPECT_NE(classic.find("<td><p><font size=2 color=\"#000000\" face=\"Arial\">cell</font></p>\r\n</td>"),
            std::string::npos);
}

TEST(RPHTMLExportTest, HyperlinksAndHints) {
  TExportView view;
  view.Pane.AddTextNL("go", 4, 0, 0);
  view.Data().GetItem(0)->Hint = "tip & \"more\"";
  view.Data().AddTextW(u" dead", 4, TRPTag(), -1);  // no target from the host
  view.Data().AddTextW(u" hinted", 0, TRPTag(), -1);
  view.Data().GetItem(2)->Hint = "<b>";
  view.Pane.OnWriteHyperlink = [](TCustomRichPane*, int32_t, TCustomRPData&, int32_t itemNo, TRPSaveFormat format,
                                  AnsiString& target, AnsiString&) {
    EXPECT_EQ(format, rpsfHTML);
    if (itemNo == 0) target = "http://x/?a=1&b=\"2\"";
  };
  const std::string classic = view.HtmlBody(rphtmlNoBodyFontTags, false);
  EXPECT_EQ(classic,
            "<p><a href=\"http://x/?a=1&amp;b=&quot;2&quot;\" title=\"tip &amp; 'more'\"><font color=\"#008000\">"
            "<u>go</u></font></a><font color=\"#008000\"><u> dead</u></font><span title=\"&lt;b>\"> hinted</span>"
            "</p>\r\n");
  const std::string css = view.HtmlBody(0, true);
  EXPECT_EQ(css,
            "\r\n<p><a class=rpts4 href=\"http://x/?a=1&amp;b=&quot;2&quot;\"><span title=\"tip &amp; 'more'\">go"
            "</span></a><span class=rpts4> dead</span><span title=\"&lt;b>\"> hinted</span></p>\r\n");
}

TEST(RPHTMLExportTest, TextRunsByKind) {
  TExportView view;
  const int32_t unicode = view.AddTextStyle([](TFontInfo& s) { s.Unicode = true; });
  const int32_t code = view.AddTextStyle([](TFontInfo& s) { s.Options.Include(rpteoHTMLCode); });
  const int32_t symbol = view.AddTextStyle([](TFontInfo& s) { s.FontName = "Symbol"; });
  view.Data().AddTextW(u"\u0416<\u03A9>", unicode, TRPTag(), 0);
  view.Data().AddTextW(u"<b>raw</b>", code, TRPTag(), 1);
  view.Pane.AddTextNL("a  \xC6&b", 0, 0, 0);
  view.Pane.AddTextNL("ab", symbol, 0, 0);
  const std::string css = view.HtmlBody(0, true);
  EXPECT_NE(css.find("<span class=rpts6>&#1046;&lt;&#937;&gt;</span>"), std::string::npos) << css;
  EXPECT_NE(css.find("<span class=rpts7><b>raw</b></span>"), std::string::npos);
  EXPECT_NE(css.find("<p>a&nbsp; \xC6&amp;b</p>"), std::string::npos);
  EXPECT_NE(css.find("<span class=rpts8>&alpha;&beta;</span>"), std::string::npos);  // the Symbol font
  const std::string utf8 = view.HtmlBody(rphtmlUtf8, true);
  EXPECT_NE(utf8.find("\xD0\x96&lt;\xCE\xA9&gt;"), std::string::npos);
  EXPECT_NE(utf8.find("<p>a&nbsp; \xD0\x96&amp;b</p>"), std::string::npos);
  // The classic flavour keeps Symbol text as it is.
  EXPECT_NE(view.HtmlBody(rphtmlNoBodyFontTags, false).find("face=\"Symbol\">ab</font>"), std::string::npos);
}

TEST(RPHTMLExportTest, TheHostsExtrasAndParagraphHook) {
  TExportView view;
  view.Pane.AddTextNL("a", 0, 0, 0);
  view.Pane.AddTextNL("b", 0, 0, 0);
  view.Pane.OnSaveHTMLExtra = [](TCustomRichPane*, TRPHTMLSaveArea area, bool cssVersion, AnsiString& code) {
    static const char* const names[] = {"HEAD", "ATTR", "BODY", "END"};
    code = std::string("[") + names[area] + (cssVersion ? "c" : "") + "]";
  };
  view.Pane.OnSaveParaToHTML = [](TCustomRichPane*, TCustomRPData&, int32_t itemNo, bool paraStart, bool,
                                  AnsiString& code) { code = (paraStart ? "{" : "}") + std::to_string(itemNo); };
  const std::string classic = view.Html(rphtmlNoBodyFontTags, false);
  EXPECT_NE(classic.find("[HEAD]</head>\r\n<body [ATTR] leftmargin"), std::string::npos) << classic;
  EXPECT_NE(classic.find("bottommargin=0>\r\n[BODY]{0<p>a</p>\r\n}0{1<p>b</p>\r\n}1[END]</body></html>"),
            std::string::npos)
      << classic;
  const std::string css = view.Html(0, true);
  EXPECT_NE(css.find("[HEADc]</head>\r\n<body [ATTRc]>\r\n[BODYc]\r\n{0<p>a</p>\r\n}0{1<p>b</p>\r\n}1\r\n[ENDc]"),
            std::string::npos)
      << css;
}

TEST(RPHTMLExportTest, TheHostWritesItems) {
  TExportView view;
  view.Pane.AddTextNL("a", 0, 0, 0);
  view.Data().AddItem("", std::make_unique<TRPBreakItemInfo>(&view.Data()));
  view.Pane.OnSaveItemToFile = [](TCustomRichPane*, const WideString&, TCustomRPData&, int32_t itemNo,
                                  TRPSaveFormat format, bool, AnsiString& text, bool& doDefault) {
    EXPECT_EQ(format, rpsfHTML);
    text = "<!--" + std::to_string(itemNo) + "-->";
    doDefault = false;
  };
  EXPECT_EQ(view.HtmlBody(rphtmlNoBodyFontTags, false), "<p><!--0--></p>\r\n<!--1-->\r\n");
}

// A page written with no path carries its pictures: a bitmap drawn and made JPEG, a PNG
// picture as PNG; nothing is written into the working folder.
TEST(RPHTMLExportTest, APageWithoutAPathCarriesItsPictures) {
  const TempFolder working;
  const TWorkingFolderScope inWorking(working.Path());
  TExportView view;
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(3, 2);
  auto png = std::make_unique<TPNGObject>();
  png->Assign(*bitmap);
  view.Data().AddPicture("bitmap", std::move(bitmap), 0, rpvaBaseline);
  view.Data().AddPicture("png", std::move(png), -1, rpvaBaseline);
  for (const bool css : {false, true}) {
    SCOPED_TRACE(css ? "CSS" : "classic");
    const std::string html = view.Html(rphtmlOnlyBody, css, TRPHTMLExportParams());
    EXPECT_NE(html.find("src=\"data:image/jpeg;base64,/9j/"), std::string::npos) << html;
    EXPECT_NE(html.find("src=\"data:image/png;base64,iVBORw0KGgo"), std::string::npos) << html;
  }
  EXPECT_EQ(EntryCount(working.Path()), 0u);
}

TEST(RPHTMLExportTest, PicturesGoWhereTheHostOrTheDefaultSavingPutsThem) {
  TExportView view;
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(3, 2);
  view.Data().AddPicture("picture", std::move(bitmap), 0, rpvaBaseline);
  const std::filesystem::path folder = BesideTestProgram("html-pictures");
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  TRPHTMLExportParams params;
  params.Path = Utf8ToWide((folder / "page.html").string());
  params.ImagesPrefix = u"img";
  // The default saving: a numbered JPEG file beside the page.
  EXPECT_NE(view.Html(rphtmlOnlyBody, false, params).find("src=\"img0.jpg\""), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(folder / "img0.jpg"));
  // The host saves it (OnSaveImage2) and names it.
  view.Pane.OnSaveImage2 = [](TCustomRichPane*, const TGraphic& graphic, TRPSaveFormat format, const WideString&,
                              TColor, WideString& fileName, bool& doDefault) {
    EXPECT_EQ(format, rpsfHTML);
    EXPECT_EQ(graphic.Width(), 3);
    fileName = u"pics\\saved.png";
    doDefault = false;
  };
  EXPECT_NE(view.Html(rphtmlOnlyBody, false, params).find("src=\"pics/saved.png\""), std::string::npos);
  // The place the host gives (OnHTMLSaveImage) comes first.
  view.Pane.OnHTMLSaveImage = [](TCustomRichPane*, TCustomRPData&, int32_t itemNo, const WideString&, TColor,
                                 AnsiString& location, bool& doDefault) {
    EXPECT_EQ(itemNo, 0);
    location = "given.png";
    doDefault = false;
  };
  EXPECT_NE(view.Html(rphtmlOnlyBody, false, params).find("src=\"given.png\""), std::string::npos);
  std::filesystem::remove_all(folder);
}

// PNG pictures keep their format and transparency: "\pngblip" in RTF, a .png file (the
// same bytes) beside HTML.
TEST(RPHTMLExportTest, PngPicturesLeaveAsPng) {
  TExportView view;
  TBitmap pixels;
  pixels.SetPixelFormat(pf24bit);
  pixels.SetSize(4, 3);
  auto png = std::make_unique<TPNGObject>();
  png->BuildFromBitmap(pixels, true, clBlack);
  TMemoryStream original;
  png->SaveToStream(original);
  view.Data().AddPicture("picture", std::move(png), 0, rpvaBaseline);
  const std::string rtf = view.Rtf();
  EXPECT_NE(rtf.find("\\pngblip"), std::string::npos) << rtf;
  EXPECT_EQ(rtf.find("\\dibitmap"), std::string::npos);
  const std::filesystem::path folder = BesideTestProgram("html-png");
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  TRPHTMLExportParams params;
  params.Path = Utf8ToWide((folder / "page.html").string());
  params.ImagesPrefix = u"img";
  for (const bool css : {false, true}) {
    EXPECT_NE(view.Html(rphtmlOnlyBody, css, params).find("src=\"img0.png\""), std::string::npos) << css;
    TMemoryStream saved;
    saved.LoadFromFile(Utf8ToWide((folder / "img0.png").string()));
    EXPECT_EQ(TExportView::Bytes(saved), TExportView::Bytes(original));
    std::filesystem::remove(folder / "img0.png");
  }
  std::filesystem::remove_all(folder);
}

// A control that saves the pictures of its exports itself.
class TPictureSavingPane : public TCustomRichPane {
public:
  using TCustomRichPane::TCustomRichPane;
  std::vector<int32_t> SavedWidths;
  WideString SavePictureFile(const WideString&, const WideString& imagesPrefix, const TGraphic& graphic,
                             int32_t& imgSaveNo, bool, TColor) override {
    SavedWidths.push_back(graphic.Width());
    return imagesPrefix + Utf8ToWide("-own" + std::to_string(imgSaveNo++) + ".png");
  }
};

std::unique_ptr<TBitmap> BitmapOfWidth(int32_t width) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(width, 2);
  return bitmap;
}

TEST(RPHTMLExportTest, TheControlSavesThePicturesOfItsCellsToo) {
  TTestRichPane styles;
  TPictureSavingPane pane(nullptr);
  pane.SetStyle(&styles.Style);
  pane.RPData().AddPicture("top", BitmapOfWidth(3), 0, rpvaBaseline);
  auto table = std::make_unique<TRPTableItemInfo>(1, 1, &pane.RPData());
  table->GetCell(0, 0)->Clear();
  table->GetCell(0, 0)->AddPicture("in cell", BitmapOfWidth(5), 0, rpvaBaseline);
  pane.AddItem("", std::move(table));
  TRPHTMLExportParams params;
  params.Path = u"/nowhere/page.html";
  params.ImagesPrefix = u"pic";
  params.Options = rphtmlOnlyBody;
  for (const bool css : {false, true}) {
    pane.SavedWidths.clear();
    TMemoryStream stream;
    ASSERT_TRUE(css ? SaveHTMLCSSToStream(pane.RPData(), stream, params)
                    : SaveHTMLToStream(pane.RPData(), stream, params));
    const std::string html = TExportView::Bytes(stream);
    EXPECT_EQ(pane.SavedWidths, (std::vector<int32_t>{3, 5})) << css;
    EXPECT_NE(html.find("src=\"pic-own0.png\""), std::string::npos) << html;
    EXPECT_NE(html.find("src=\"pic-own1.png\""), std::string::npos) << html;
  }
  pane.Clear();
}

TEST(RPHTMLExportTest, FailuresAnswerFalse) {
  TCustomRichPane bare(nullptr);
  bare.AddTextNL("a", 0, 0, 0);
  TMemoryStream stream;
  EXPECT_FALSE(SaveHTMLToStream(bare.RPData(), stream, {}));
  EXPECT_FALSE(SaveHTMLCSSToStream(bare.RPData(), stream, {}));
  EXPECT_EQ(stream.Size(), 0);
  TExportView view;
  view.Pane.AddTextNL("a", 0, 0, 0);
  view.Pane.OnSaveHTMLExtra = [](TCustomRichPane*, TRPHTMLSaveArea area, bool, AnsiString&) {
    if (area == rp_thms_Body) throw std::runtime_error("host");
  };
  EXPECT_FALSE(SaveHTMLToStream(view.Data(), stream, {}));
  EXPECT_NE(TExportView::Bytes(stream).find("<body"), std::string::npos);
}

}  // namespace
