// The published properties of the style sheet and its styles (the order in which the
// component streams write them), and what the styles define beyond them.
//
// Sets are written as the number their stored bytes make; enumerations as their
// ordinals, and an ordinal past the enumeration is refused as an invalid property value.
#include "platform/base/Filer.h"
#include "platform/base/PublishedProperties.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPGraphicHelpers.h"
#include "richtext/model/RPStyle.h"

namespace {

template <typename T, typename TGet, typename TSet>
TPropInfo Ordinal(AnsiString name, TTypeKind kind, TGet get, TSet set, std::optional<int64_t> def) {
  TPropInfo info{std::move(name), kind, {}, {}, def, {}};
  info.Get = [get](const TPersistent& o) -> TPropValue { return static_cast<int64_t>(get(static_cast<const T&>(o))); };
  info.Set = [set](TPersistent& o, const TPropValue& v) { set(static_cast<T&>(o), std::get<int64_t>(v)); };
  return info;
}

// A 32-bit integer field (colours included).
template <typename T, typename TField>
TPropInfo Int(const char* name, TField T::*field, int64_t def) {
  return Ordinal<T>(
      name, tkInteger, [field](const T& o) { return static_cast<int64_t>(o.*field); },
      [field](T& o, int64_t v) { o.*field = static_cast<TField>(v); }, def);
}

template <typename T>
TPropInfo Bool(const char* name, bool T::*field, bool def) {
  return Ordinal<T>(
      name, tkBoolean, [field](const T& o) { return o.*field; }, [field](T& o, int64_t v) { o.*field = v != 0; },
      def ? 1 : 0);
}

// An enumeration of ordinals 0 .. max.
template <typename T, typename TEnum>
TPropInfo Enum(const char* name, TEnum T::*field, TEnum def, TEnum max) {
  return Ordinal<T>(
      name, tkInteger, [field](const T& o) { return static_cast<int64_t>(o.*field); },
      [field, max](T& o, int64_t v) {
        if (v < 0 || v > static_cast<int64_t>(max)) TReader::PropValueError();
        o.*field = static_cast<TEnum>(v);
      },
      static_cast<int64_t>(def));
}

template <typename T, typename TSetType>
TPropInfo Set(const char* name, TSetType T::*field) {
  return Ordinal<T>(
      name, tkInteger, [field](const T& o) { return static_cast<int64_t>((o.*field).StoredValue()); },
      [field](T& o, int64_t v) { o.*field = TSetType::FromStoredValue(static_cast<uint64_t>(v)); }, 0);
}

template <typename T>
TPropInfo FontStyles(const char* name, TFontStyles T::*field) {
  return Ordinal<T>(
      name, tkInteger, [field](const T& o) { return static_cast<int64_t>((o.*field).Bits()); },
      [field](T& o, int64_t v) { o.*field = TFontStyles::FromBits(static_cast<uint32_t>(v)); }, 0);
}

template <typename T>
TPropInfo Text(const char* name, AnsiString T::*field) {
  TPropInfo info{name, tkLString, {}, {}, {}, {}};
  info.Get = [field](const TPersistent& o) -> TPropValue { return static_cast<const T&>(o).*field; };
  info.Set = [field](TPersistent& o, const TPropValue& v) { static_cast<T&>(o).*field = std::get<AnsiString>(v); };
  return info;
}

// An owned object (a part of a style, or a collection): the reader fills it in place.
template <typename T, typename TGet>
TPropInfo Object(const char* name, TGet get) {
  TPropInfo info{name, tkClass, {}, {}, {}, {}};
  info.Get = [get](const TPersistent& o) -> TPropValue {
    return static_cast<TPersistent*>(&get(const_cast<T&>(static_cast<const T&>(o))));
  };
  info.Set = [get](TPersistent& o, const TPropValue& v) {
    if (TPersistent* source = std::get<TPersistent*>(v)) get(static_cast<T&>(o)).Assign(*source);
  };
  return info;
}

// The image-list context of the list styles a level belongs to (level -> its levels ->
// their list style -> the list styles), or nullptr.
const IRPImageListContext* ImageListContextOf(const TRPListLevel& level) {
  const TCollection* levels = level.Collection();
  const auto* list = levels ? dynamic_cast<const TCollectionItem*>(levels->GetOwner()) : nullptr;
  const auto* lists = list ? dynamic_cast<const TRPListInfos*>(list->Collection()) : nullptr;
  return lists ? lists->ImageLists : nullptr;
}

// The fields every style has, through the setters that a template's own style
// descriptions refuse; those descriptions store none of them.
const TClassProps& InfoProps() {
  using T = TCustomRPInfo;
  auto stored = [](TPropInfo info) {
    info.Stored = [](const TPersistent& o) { return static_cast<const T&>(o).HasInfoFields(); };
    return info;
  };
  auto styleName = [] {
    TPropInfo info{"StyleName", tkLString, {}, {}, {}, {}};
    info.Get = [](const TPersistent& o) -> TPropValue { return static_cast<const T&>(o).StyleName; };
    info.Set = [](TPersistent& o, const TPropValue& v) { static_cast<T&>(o).SetStyleName(std::get<AnsiString>(v)); };
    return info;
  };
  static const TClassProps props("TCustomRPInfo", nullptr,
                                 {
                                     stored(Ordinal<T>(
                                         "BaseStyleNo", tkInteger, [](const T& o) { return o.BaseStyleNo; },
                                         [](T& o, int64_t v) { o.SetBaseStyleNo(static_cast<int32_t>(v)); }, -1)),
                                     stored(styleName()),
                                     stored(Ordinal<T>(
                                         "Standard", tkBoolean, [](const T& o) { return o.Standard; },
                                         [](T& o, int64_t v) { o.SetStandard(v != 0); }, 1)),
                                     stored(Ordinal<T>(
                                         "StyleTemplateId", tkInteger, [](const T& o) { return o.StyleTemplateId; },
                                         [](T& o, int64_t v) { o.SetStyleTemplateId(static_cast<int32_t>(v)); }, -1)),
                                 });
  return props;
}

}  // namespace

// --- Text styles -------------------------------------------------------------------------

const TClassProps& TCustomRPFontInfo::Props() {
  using T = TCustomRPFontInfo;
  static const TClassProps props("TCustomRPFontInfo", &InfoProps(),
                                 {
                                     Int("Charset", &T::Charset, DEFAULT_CHARSET),
                                     Text("FontName", &T::FontName),
                                     Int("Size", &T::Size, 10),
                                     FontStyles("Style", &T::Style),
                                     Int("VShift", &T::VShift, 0),
                                     Int("Color", &T::Color, clWindowText),
                                     Int("BackColor", &T::BackColor, clNone),
                                     Int("HoverBackColor", &T::HoverBackColor, clNone),
                                     Int("HoverColor", &T::HoverColor, clNone),
                                     Set("StyleEx", &T::StyleEx),
                                     Bool("Jump", &T::Jump, false),
                                     Int("JumpCursor", &T::JumpCursor, crJump),
                                     Int("CharScale", &T::CharScale, 100),
                                     Int("CharSpacing", &T::CharSpacing, 0),
                                     Enum("BiDiMode", &T::BiDiMode, rpbdUnspecified, rpbdRightToLeft),
                                     Set("Protection", &T::Protection),
                                     Set("Options", &T::Options),
                                 });
  return props;
}

void TCustomRPFontInfo::DefineProperties(TFiler& filer) {
  TCustomRPInfo::DefineProperties(filer);
  filer.DefineProperty(
      "SingleSymbols",
      [this](TReader& reader) {
        if (!reader.ReadBoolean()) return;
        Protection.Include(rpprStyleProtect);
        Protection.Include(rpprDoNotAutoSwitch);
      },
      nullptr, false);
}

const TClassProps& TFontInfo::Props() {
  using T = TFontInfo;
  static const TClassProps props("TFontInfo", &TCustomRPFontInfo::Props(),
                                 {
                                     Int("NextStyleNo", &T::NextStyleNo, -1),
                                     Bool("Unicode", &T::Unicode, false),
                                     Set("ModifiedProperties", &T::ModifiedProperties),
                                 });
  return props;
}

// --- Paragraph styles ------------------------------------------------------------------------

const TClassProps& TRPRect::Props() {
  using T = TRPRect;
  static const TClassProps props(
      "TRPRect", nullptr,
      {Int("Left", &T::Left, 0), Int("Right", &T::Right, 0), Int("Top", &T::Top, 0), Int("Bottom", &T::Bottom, 0)});
  return props;
}

const TClassProps& TRPBooleanRect::Props() {
  using T = TRPBooleanRect;
  // Visible sides default to true.
  static const TClassProps props("TRPBooleanRect", nullptr,
                                 {Bool("Left", &T::Left, true), Bool("Right", &T::Right, true),
                                  Bool("Top", &T::Top, true), Bool("Bottom", &T::Bottom, true)});
  return props;
}

const TClassProps& TRPBorder::Props() {
  using T = TRPBorder;
  static const TClassProps props(
      "TRPBorder", nullptr,
      {
          Int("Width", &T::Width, 1),
          Int("InternalWidth", &T::InternalWidth, 1),
          Int("Color", &T::Color, clWindowText),
          Enum("Style", &T::Style, rpbNone, rpbThickOutside),
          Object<T>("VisibleBorders", [](T& o) -> TRPBooleanRect& { return o.VisibleBorders; }),
          Object<T>("BorderOffsets", [](T& o) -> TRPRect& { return o.BorderOffsets; }),
      });
  return props;
}

const TClassProps& TRPBackgroundRect::Props() {
  using T = TRPBackgroundRect;
  static const TClassProps props("TRPBackgroundRect", nullptr,
                                 {
                                     Int("Color", &T::Color, clNone),
                                     Object<T>("BorderOffsets", [](T& o) -> TRPRect& { return o.BorderOffsets; }),
                                 });
  return props;
}

const TClassProps& TRPTabInfo::Props() {
  using T = TRPTabInfo;
  static const TClassProps props("TRPTabInfo", nullptr,
                                 {
                                     Enum("Align", &T::Align, rptaLeft, rptaCenter),
                                     Ordinal<T>(
                                         "Position", tkInteger, [](const T& o) { return o.Position(); },
                                         [](T& o, int64_t v) { o.SetPosition(static_cast<int32_t>(v)); }, 0),
                                     Text("Leader", &T::Leader),
                                 });
  return props;
}

const TClassProps& TCustomRPParaInfo::Props() {
  using T = TCustomRPParaInfo;
  static const TClassProps props("TCustomRPParaInfo", &InfoProps(),
                                 {
                                     Int("FirstIndent", &T::FirstIndent, 0),
                                     Int("LeftIndent", &T::LeftIndent, 0),
                                     Int("RightIndent", &T::RightIndent, 0),
                                     Int("SpaceBefore", &T::SpaceBefore, 0),
                                     Int("SpaceAfter", &T::SpaceAfter, 0),
                                     Enum("Alignment", &T::Alignment, rpaLeft, rpaJustify),
                                     Object<T>("Border", [](T& o) -> TRPBorder& { return o.Border; }),
                                     Object<T>("Background", [](T& o) -> TRPBackgroundRect& { return o.Background; }),
                                     Int("LineSpacing", &T::LineSpacing, 100),
                                     Enum("LineSpacingType", &T::LineSpacingType, rplsPercent, rplsSpaceBetween),
                                     Set("Options", &T::Options),
                                     Enum("BiDiMode", &T::BiDiMode, rpbdUnspecified, rpbdRightToLeft),
                                     Object<T>("Tabs", [](T& o) -> TRPTabInfos& { return o.Tabs; }),
                                 });
  return props;
}

const TClassProps& TParaInfo::Props() {
  using T = TParaInfo;
  static const TClassProps props("TParaInfo", &TCustomRPParaInfo::Props(),
                                 {
                                     Int("NextParaNo", &T::NextParaNo, -1),
                                     Int("DefStyleNo", &T::DefStyleNo, -1),
                                     Set("ModifiedProperties1", &T::ModifiedProperties1),
                                     Set("ModifiedProperties2", &T::ModifiedProperties2),
                                 });
  return props;
}

// --- List styles ------------------------------------------------------------------------------

const TClassProps& TRPMarkerFont::Props() {
  using T = TRPMarkerFont;
  auto stored = [](TPropInfo info, bool (T::*rule)() const) {
    info.Stored = [rule](const TPersistent& o) { return (static_cast<const T&>(o).*rule)(); };
    return info;
  };
  auto name = [] {
    TPropInfo info{"Name", tkLString, {}, {}, {}, {}};
    info.Get = [](const TPersistent& o) -> TPropValue { return static_cast<const T&>(o).Name(); };
    info.Set = [](TPersistent& o, const TPropValue& v) { static_cast<T&>(o).SetName(std::get<AnsiString>(v)); };
    return info;
  };
  static const TClassProps props(
      "TRPMarkerFont", nullptr,
      {
          Ordinal<T>(
              "Charset", tkInteger, [](const T& o) { return o.Charset(); },
              [](T& o, int64_t v) { o.SetCharset(static_cast<uint8_t>(v)); }, DEFAULT_CHARSET),
          Ordinal<T>(
              "Color", tkInteger, [](const T& o) { return o.Color(); },
              [](T& o, int64_t v) { o.SetColor(static_cast<TColor>(v)); }, clWindowText),
          // Height and name are written only when they differ from 8 points and Arial.
          stored(Ordinal<T>(
                     "Height", tkInteger, [](const T& o) { return o.Height(); },
                     [](T& o, int64_t v) { o.SetHeight(static_cast<int32_t>(v)); }, std::nullopt),
                 &T::IsHeightStored),
          stored(name(), &T::IsNameStored),
          Ordinal<T>(
              "Style", tkInteger, [](const T& o) { return o.Style().Bits(); },
              [](T& o, int64_t v) { o.SetStyle(TFontStyles::FromBits(static_cast<uint32_t>(v))); }, 0),
      });
  return props;
}

const TClassProps& TRPListLevel::Props() {
  using T = TRPListLevel;
  // The texts are stored as hexadecimal by DefineProperties, so that no code page
  // touches their bytes.
  auto notStored = [](TPropInfo info) {
    info.Stored = [](const TPersistent&) { return false; };
    return info;
  };
  auto formatW = [] {
    TPropInfo info{"FormatStringW", tkWString, {}, {}, {}, {}};
    info.Get = [](const TPersistent& o) -> TPropValue { return static_cast<const T&>(o).FormatStringW; };
    info.Set = [](TPersistent& o, const TPropValue& v) { static_cast<T&>(o).FormatStringW = std::get<WideString>(v); };
    return info;
  };
  // The font is made when a stream names one of its properties, and written only when
  // the level has one.
  auto font = [] {
    TPropInfo info = Object<T>("Font", [](T& o) -> TRPMarkerFont& { return o.GetFont(); });
    info.Stored = [](const TPersistent& o) { return static_cast<const T&>(o).FindFont() != nullptr; };
    return info;
  };
  static const TClassProps props(
      "TRPListLevel", nullptr,
      {
          Enum("ListType", &T::ListType, rplstBullet, rplstUnicodeBullet),
          Int("StartFrom", &T::StartFrom, 1),
          Int("ImageIndex", &T::ImageIndex, 0),
          notStored(Text("FormatString", &T::FormatString)),
          notStored(formatW()),
          Int("LeftIndent", &T::LeftIndent, 0),
          Int("FirstIndent", &T::FirstIndent, 10),
          Int("MarkerIndent", &T::MarkerIndent, 0),
          Enum("MarkerAlignment", &T::MarkerAlignment, rpmaLeft, rpmaCenter),
          font(),
          Ordinal<T>(
              "Options", tkInteger, [](const T& o) { return o.Options.StoredValue(); },
              [](T& o, int64_t v) { o.Options = TRPListLevelOptions::FromStoredValue(static_cast<uint64_t>(v)); },
              static_cast<int64_t>(TRPListLevelOptions{rploContinuous, rploLevelReset}.StoredValue())),
      });
  return props;
}

void TRPListLevel::DefineProperties(TFiler& filer) {
  TCollectionItem::DefineProperties(filer);
  // The picture as the class library's pictures store themselves: the graphic's class
  // name, then its bytes. A class that is not registered, or bytes that do not load,
  // leave the level without a picture.
  filer.DefineBinaryProperty(
      "Picture.Data",
      [this](TStream& stream) {
        SetPicture(nullptr);
        uint8_t length = 0;
        if (stream.Read(&length, 1) != 1) return;
        AnsiString className(length, '\0');
        if (length && stream.Read(className.data(), length) != length) return;
        const TGraphicClass graphicClass = FindGraphicClass(className);
        if (!graphicClass) return;
        AnsiString bytes(static_cast<size_t>(stream.Size() - stream.Position()), '\0');
        if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
        try {
          std::unique_ptr<TGraphic> graphic = RPCreateGraphic(graphicClass);
          RPFLoadPictureFromBinaryStr(bytes, *graphic);
          SetPicture(graphic.get());
        } catch (const Exception&) {
        }
      },
      [this](TStream& stream) {
        const AnsiString className = GetPicture()->ClassName();
        const auto length = static_cast<uint8_t>(className.size());
        stream.WriteBuffer(&length, 1);
        stream.WriteBuffer(className.data(), length);
        GetPicture()->SaveToStream(stream);
      },
      HasPicture());
  filer.DefineProperty(
      "FormatStringWCode", [this](TReader& reader) { FormatStringW = RPFHexToWideStr(reader.ReadString()); },
      [this](TWriter& writer) { writer.WriteString(RPFWideStrToHex(FormatStringW)); }, !FormatStringW.empty());
  filer.DefineProperty(
      "FormatStringCode", [this](TReader& reader) { FormatString = RPFHexToStr(reader.ReadString()); },
      [this](TWriter& writer) { writer.WriteString(RPFStrToHex(FormatString)); }, FormatString != "\xB7");
  const IRPImageListContext* context = ImageListContextOf(*this);
  filer.DefineProperty(
      "ILTag",
      [this, context](TReader& reader) {
        const auto tag = static_cast<int32_t>(reader.ReadInteger());
        ImageList = context ? context->FindImageListByTag(tag) : nullptr;
      },
      [this](TWriter& writer) { writer.WriteInteger(ImageList->Tag()); }, context && ImageList);
}

const TClassProps& TRPListInfo::Props() {
  using T = TRPListInfo;
  static const TClassProps props("TRPListInfo", &InfoProps(),
                                 {
                                     Object<T>("Levels", [](T& o) -> TRPListLevelCollection& { return o.Levels(); }),
                                     Bool("OneLevelPreview", &T::OneLevelPreview, false),
                                 });
  return props;
}

void TRPListInfo::DefineProperties(TFiler& filer) {
  TCustomRPInfo::DefineProperties(filer);
  filer.DefineProperty(
      "LstID", [this](TReader& reader) { SetListID(static_cast<int32_t>(reader.ReadInteger())); },
      [this](TWriter& writer) { writer.WriteInteger(GetListID()); }, true);
}

// --- Templates and the style sheet -------------------------------------------------------------

const TClassProps& TRPStyleTemplate::Props() {
  using T = TRPStyleTemplate;
  auto name = [] {
    TPropInfo info{"Name", tkLString, {}, {}, {}, {}};
    info.Get = [](const TPersistent& o) -> TPropValue { return static_cast<const T&>(o).Name(); };
    info.Set = [](TPersistent& o, const TPropValue& v) { static_cast<T&>(o).SetName(std::get<AnsiString>(v)); };
    return info;
  };
  static const TClassProps props("TRPStyleTemplate", nullptr,
                                 {
                                     Object<T>("TextStyle", [](T& o) -> TRPSTFontInfo& { return o.TextStyle(); }),
                                     Object<T>("ParaStyle", [](T& o) -> TRPSTParaInfo& { return o.ParaStyle(); }),
                                     Set("ValidTextProperties", &T::ValidTextProperties),
                                     Set("ValidParaProperties1", &T::ValidParaProperties1),
                                     Set("ValidParaProperties2", &T::ValidParaProperties2),
                                     name(),
                                     Ordinal<T>(
                                         "ParentId", tkInteger, [](const T& o) { return o.ParentId(); },
                                         [](T& o, int64_t v) { o.SetParentId(static_cast<int32_t>(v)); }, -1),
                                 });
  return props;
}

void TRPStyleTemplate::DefineProperties(TFiler& filer) {
  TCollectionItem::DefineProperties(filer);
  filer.DefineProperty(
      "IDProp", [this](TReader& reader) { SetId(static_cast<TRPStyleTemplateId>(reader.ReadInteger())); },
      [this](TWriter& writer) { writer.WriteInteger(GetId()); }, true);
}

const TClassProps& TRPStyleTemplateCollection::Props() {
  using T = TRPStyleTemplateCollection;
  auto defStyleName = [] {
    TPropInfo info = Text("DefStyleName", &T::DefStyleName);
    info.Stored = [](const TPersistent& o) { return static_cast<const T&>(o).DefStyleName != DefaultStyleNameFormat; };
    return info;
  };
  static const TClassProps props("TRPStyleTemplateCollection", nullptr, {defStyleName()});
  return props;
}

const TClassProps& TRPStyle::Props() {
  using T = TRPStyle;
  static const TClassProps props(
      "TRPStyle", nullptr,
      {
          Object<T>("TextStyles", [](T& o) -> TFontInfos& { return o.TextStyles(); }),
          Object<T>("ParaStyles", [](T& o) -> TParaInfos& { return o.ParaStyles(); }),
          Object<T>("ListStyles", [](T& o) -> TRPListInfos& { return o.ListStyles(); }),
          Int("SpacesInTab", &T::SpacesInTab, 0),
          Int("DefTabWidth", &T::DefTabWidth, 48),
          Int("JumpCursor", &T::JumpCursor, crJump),
          Int("LineSelectCursor", &T::LineSelectCursor, crLineSelect),
          Bool("FullRedraw", &T::FullRedraw, false),
          Bool("UseSound", &T::UseSound, true),
          Int("Color", &T::Color, clWindow),
          Int("HoverColor", &T::HoverColor, clNone),
          Int("CurrentItemColor", &T::CurrentItemColor, clNone),
          Int("SelColor", &T::SelColor, clHighlight),
          Int("SelTextColor", &T::SelTextColor, clHighlightText),
          Int("InactiveSelColor", &T::InactiveSelColor, clHighlight),
          Int("InactiveSelTextColor", &T::InactiveSelTextColor, clHighlightText),
          Int("CheckpointColor", &T::CheckpointColor, clGreen),
          Int("CheckpointEvColor", &T::CheckpointEvColor, clLime),
          Int("PageBreakColor", &T::PageBreakColor, clBtnShadow),
          Int("SoftPageBreakColor", &T::SoftPageBreakColor, clBtnFace),
          Int("LiveSpellingColor", &T::LiveSpellingColor, clRed),
          Enum("SelectionMode", &T::SelectionMode, rpsmWord, rpsmParagraph),
          Enum("SelectionStyle", &T::SelectionStyle, rpssItems, rpssLines),
          Int("DefUnicodeStyle", &T::DefUnicodeStyle, -1),
          Int("DefCodePage", &T::DefCodePage, 0),
          Published::Event("OnApplyStyle"),
          Published::Event("OnApplyStyleColor"),
          Published::Event("OnDrawStyleText"),
          Published::Event("OnStyleHoverSensitive"),
          Published::Event("OnDrawTextBack"),
          Published::Event("OnDrawCheckpoint"),
          Published::Event("OnDrawPageBreak"),
          Published::Event("OnDrawParaBack"),
          Object<T>("StyleTemplates", [](T& o) -> TRPStyleTemplateCollection& { return o.StyleTemplates(); }),
      });
  return props;
}
