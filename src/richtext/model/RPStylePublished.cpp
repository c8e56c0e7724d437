// The published properties of the style classes, for the component stream in which the
// native format carries style collections (and the style templates their styles).
#include "richtext/model/RPFontInfo.h"
#include "richtext/model/RPParaInfo.h"
#include "richtext/model/RPStyleProps.h"

namespace {

// The entries of a TRPRect under prefix ("Border.BorderOffsets."), in its published order.
template <typename T, typename Access>
void AddRectProps(std::vector<TPropInfo>& props, const AnsiString& prefix, Access rect) {
  props.push_back(RPStyleOrdProp<T>(
      prefix + "Left", [rect](T& s) -> int32_t& { return rect(s).Left; }, 0));
  props.push_back(RPStyleOrdProp<T>(
      prefix + "Right", [rect](T& s) -> int32_t& { return rect(s).Right; }, 0));
  props.push_back(RPStyleOrdProp<T>(
      prefix + "Top", [rect](T& s) -> int32_t& { return rect(s).Top; }, 0));
  props.push_back(RPStyleOrdProp<T>(
      prefix + "Bottom", [rect](T& s) -> int32_t& { return rect(s).Bottom; }, 0));
}

template <typename T, typename Access>
void AddBooleanRectProps(std::vector<TPropInfo>& props, const AnsiString& prefix, Access rect) {
  props.push_back(RPStyleOrdProp<T>(
      prefix + "Left", [rect](T& s) -> bool& { return rect(s).Left; }, 1));
  props.push_back(RPStyleOrdProp<T>(
      prefix + "Right", [rect](T& s) -> bool& { return rect(s).Right; }, 1));
  props.push_back(RPStyleOrdProp<T>(
      prefix + "Top", [rect](T& s) -> bool& { return rect(s).Top; }, 1));
  props.push_back(RPStyleOrdProp<T>(
      prefix + "Bottom", [rect](T& s) -> bool& { return rect(s).Bottom; }, 1));
}

std::vector<TPropInfo> CustomRPFontInfoProps() {
  using T = TCustomRPFontInfo;
  std::vector<TPropInfo> props{
      RPStyleOrdProp<T>(
          "Charset", [](T& s) -> uint8_t& { return s.Charset; }, DEFAULT_CHARSET),
      RPStyleTextProp<T>("FontName", [](T& s) -> AnsiString& { return s.FontName; }),
      RPStyleOrdProp<T>(
          "Size", [](T& s) -> int32_t& { return s.Size; }, 10),
  };
  // The font styles as their four bits.
  TPropInfo style{"Style", tkInteger, {}, {}, int64_t{0}, {}};
  style.Get = [](const TPersistent& o) -> TPropValue { return int64_t{static_cast<const T&>(o).Style.Bits()}; };
  style.Set = [](TPersistent& o, const TPropValue& v) {
    static_cast<T&>(o).Style = TFontStyles::FromBits(static_cast<uint32_t>(std::get<int64_t>(v)));
  };
  props.push_back(std::move(style));
  props.push_back(RPStyleOrdProp<T>(
      "VShift", [](T& s) -> int32_t& { return s.VShift; }, 0));
  props.push_back(RPStyleOrdProp<T>(
      "Color", [](T& s) -> TColor& { return s.Color; }, clWindowText));
  props.push_back(RPStyleOrdProp<T>(
      "BackColor", [](T& s) -> TColor& { return s.BackColor; }, clNone));
  props.push_back(RPStyleOrdProp<T>(
      "HoverBackColor", [](T& s) -> TColor& { return s.HoverBackColor; }, clNone));
  props.push_back(RPStyleOrdProp<T>(
      "HoverColor", [](T& s) -> TColor& { return s.HoverColor; }, clNone));
  props.push_back(RPStyleSetProp<T>("StyleEx", [](T& s) -> TRPFontStyles& { return s.StyleEx; }));
  props.push_back(RPStyleOrdProp<T>(
      "Jump", [](T& s) -> bool& { return s.Jump; }, 0));
  props.push_back(RPStyleOrdProp<T>(
      "JumpCursor", [](T& s) -> int32_t& { return s.JumpCursor; }, crJump));
  props.push_back(RPStyleOrdProp<T>(
      "CharScale", [](T& s) -> int32_t& { return s.CharScale; }, 100));
  props.push_back(RPStyleOrdProp<T>(
      "CharSpacing", [](T& s) -> int32_t& { return s.CharSpacing; }, 0));
  props.push_back(RPStyleOrdProp<T>(
      "BiDiMode", [](T& s) -> TRPBiDiMode& { return s.BiDiMode; }, rpbdUnspecified));
  props.push_back(RPStyleSetProp<T>("Protection", [](T& s) -> TRPProtectOptions& { return s.Protection; }));
  props.push_back(RPStyleSetProp<T>("Options", [](T& s) -> TRPTextOptions& { return s.Options; }));
  return props;
}

std::vector<TPropInfo> CustomRPParaInfoProps() {
  using T = TCustomRPParaInfo;
  std::vector<TPropInfo> props{
      RPStyleOrdProp<T>(
          "FirstIndent", [](T& s) -> int32_t& { return s.FirstIndent; }, 0),
      RPStyleOrdProp<T>(
          "LeftIndent", [](T& s) -> int32_t& { return s.LeftIndent; }, 0),
      RPStyleOrdProp<T>(
          "RightIndent", [](T& s) -> int32_t& { return s.RightIndent; }, 0),
      RPStyleOrdProp<T>(
          "SpaceBefore", [](T& s) -> int32_t& { return s.SpaceBefore; }, 0),
      RPStyleOrdProp<T>(
          "SpaceAfter", [](T& s) -> int32_t& { return s.SpaceAfter; }, 0),
      RPStyleOrdProp<T>(
          "Alignment", [](T& s) -> TRPAlignment& { return s.Alignment; }, rpaLeft),
      RPStyleOrdProp<T>(
          "Border.Width", [](T& s) -> int32_t& { return s.Border.Width; }, 1),
      RPStyleOrdProp<T>(
          "Border.InternalWidth", [](T& s) -> int32_t& { return s.Border.InternalWidth; }, 1),
      RPStyleOrdProp<T>(
          "Border.Color", [](T& s) -> TColor& { return s.Border.Color; }, clWindowText),
      RPStyleOrdProp<T>(
          "Border.Style", [](T& s) -> TRPBorderStyle& { return s.Border.Style; }, rpbNone),
  };
  AddBooleanRectProps<T>(props, "Border.VisibleBorders.",
                         [](T& s) -> TRPBooleanRect& { return s.Border.VisibleBorders; });
  AddRectProps<T>(props, "Border.BorderOffsets.", [](T& s) -> TRPRect& { return s.Border.BorderOffsets; });
  props.push_back(RPStyleOrdProp<T>(
      "Background.Color", [](T& s) -> TColor& { return s.Background.Color; }, clNone));
  AddRectProps<T>(props, "Background.BorderOffsets.", [](T& s) -> TRPRect& { return s.Background.BorderOffsets; });
  props.push_back(RPStyleOrdProp<T>(
      "LineSpacing", [](T& s) -> int32_t& { return s.LineSpacing; }, 100));
  props.push_back(RPStyleOrdProp<T>(
      "LineSpacingType", [](T& s) -> TRPLineSpacingType& { return s.LineSpacingType; }, rplsPercent));
  props.push_back(RPStyleSetProp<T>("Options", [](T& s) -> TRPParaOptions& { return s.Options; }));
  props.push_back(RPStyleOrdProp<T>(
      "BiDiMode", [](T& s) -> TRPBiDiMode& { return s.BiDiMode; }, rpbdUnspecified));
  // The tab stops as a collection value.
  TPropInfo tabs{"Tabs", tkClass, {}, {}, {}, {}};
  tabs.Get = [](const TPersistent& o) -> TPropValue {
    return static_cast<TPersistent*>(&const_cast<T&>(static_cast<const T&>(o)).Tabs);
  };
  tabs.Set = [](TPersistent& o, const TPropValue& v) {
    if (TPersistent* source = std::get<TPersistent*>(v)) static_cast<T&>(o).Tabs.Assign(*source);
  };
  props.push_back(std::move(tabs));
  return props;
}

}  // namespace

const TClassProps& TCustomRPInfo::Props() {
  using T = TCustomRPInfo;
  static const TClassProps props("TCustomRPInfo", nullptr,
                                 {
                                     RPStyleTextProp<T>("StyleName", [](T& s) -> AnsiString& { return s.StyleName; }),
                                     RPStyleOrdProp<T>(
                                         "BaseStyleNo", [](T& s) -> int32_t& { return s.BaseStyleNo; }, -1),
                                     RPStyleOrdProp<T>(
                                         "Standard", [](T& s) -> bool& { return s.Standard; }, 1),
                                     RPStyleOrdProp<T>(
                                         "StyleTemplateId", [](T& s) -> int32_t& { return s.StyleTemplateId; }, -1),
                                 });
  return props;
}

const TClassProps& TCustomRPFontInfo::Props() {
  static const TClassProps props("TCustomRPFontInfo", &TCustomRPInfo::Props(), CustomRPFontInfoProps());
  return props;
}

const TClassProps& TFontInfo::Props() {
  using T = TFontInfo;
  static const TClassProps props(
      "TFontInfo", &TCustomRPFontInfo::Props(),
      {
          RPStyleOrdProp<T>(
              "NextStyleNo", [](T& s) -> int32_t& { return s.NextStyleNo; }, -1),
          RPStyleOrdProp<T>(
              "Unicode", [](T& s) -> bool& { return s.Unicode; }, 0),
          RPStyleSetProp<T>("ModifiedProperties", [](T& s) -> TRPFontInfoProperties& { return s.ModifiedProperties; }),
      });
  return props;
}

const TClassProps& TRPTabInfo::Props() {
  using T = TRPTabInfo;
  // Position goes through its setter, which keeps the collection sorted.
  static const TClassProps props("TRPTabInfo", nullptr, [] {
    TPropInfo position{"Position", tkInteger, {}, {}, int64_t{0}, {}};
    position.Get = [](const TPersistent& o) -> TPropValue { return int64_t{static_cast<const T&>(o).Position()}; };
    position.Set = [](TPersistent& o, const TPropValue& v) {
      static_cast<T&>(o).SetPosition(static_cast<int32_t>(std::get<int64_t>(v)));
    };
    return std::vector<TPropInfo>{
        RPStyleOrdProp<T>(
            "Align", [](T& s) -> TRPTabAlign& { return s.Align; }, rptaLeft),
        std::move(position),
        RPStyleTextProp<T>("Leader", [](T& s) -> AnsiString& { return s.Leader; }),
    };
  }());
  return props;
}

const TClassProps& TCustomRPParaInfo::Props() {
  static const TClassProps props("TCustomRPParaInfo", &TCustomRPInfo::Props(), CustomRPParaInfoProps());
  return props;
}

const TClassProps& TParaInfo::Props() {
  using T = TParaInfo;
  static const TClassProps props(
      "TParaInfo", &TCustomRPParaInfo::Props(),
      {
          RPStyleOrdProp<T>(
              "NextParaNo", [](T& s) -> int32_t& { return s.NextParaNo; }, -1),
          RPStyleOrdProp<T>(
              "DefStyleNo", [](T& s) -> int32_t& { return s.DefStyleNo; }, -1),
          RPStyleSetProp<T>("ModifiedProperties1",
                            [](T& s) -> TRPParaInfoProperties1& { return s.ModifiedProperties1; }),
          RPStyleSetProp<T>(
              "ModifiedProperties2", [](T& s) -> TRPParaInfoProperties2& { return s.ModifiedProperties2; },
              TRPParaInfoProperties2::StoredBase),
      });
  return props;
}
