// The IANA character-set registry as a component: every registered name and alias of
// the MIBenums 3-106, 109-112, 1000-1015, 2000-2101 and 2250-2259 (236 character sets).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/base/Components.h"
#include "platform/base/Exception.h"
#include "platform/base/PublishedProperties.h"
#include "platform/base/Types.h"

inline constexpr char SInvalidMIBNumber[] = "Invalid MIB number";

// The names of a MIBenum, the registry's Name first and then its aliases in the
// registry's order; empty for a number outside the registry.
const std::vector<AnsiString>& CharsetNames(int32_t mibEnum);

using TCSMIBChangingEvent = std::function<void(TObject* sender, int32_t newEnum, bool& allowChange)>;

class TCSMIB : public TComponent {
public:
  // Enum starts at 3 (US-ASCII), set through SetEnum.
  explicit TCSMIB(TComponent* owner);

  // Changes Enum when the value is valid and differs, unless OnChanging refuses; then
  // OnChange. An invalid value raises Exception "Invalid MIB number", or changes
  // nothing under IgnoreInvalidEnum.
  virtual void SetEnum(int32_t value);
  virtual void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }
  virtual void SetOnChanging(TCSMIBChangingEvent handler) { FOnChanging = std::move(handler); }
  // True for the numbers the registry knows.
  virtual bool IsValidEnum(int32_t value) const;
  // Number of names of Enum (Name plus aliases); raises "Invalid MIB number" when Enum is
  // outside the registry.
  virtual int32_t GetAliasCount() const;
  // The name at index; raises "Invalid MIB number" as GetAliasCount, and for an index
  // outside 0..GetAliasCount()-1.
  virtual AnsiString GetAlias(int32_t index) const;
  // The name the registry marks as preferred for MIME, or empty.
  virtual AnsiString GetPreferredMIMEName() const;
  // Walks every MIBenum upwards through SetEnum (the change events fire at each step)
  // and compares its names with name, ASCII case ignored. Found: true, Enum left at the
  // match. Not found: Enum set back to where it was, false.
  virtual bool FindName(AnsiStringView name);

  int32_t Enum() const { return FEnum; }
  bool IgnoreInvalidEnum() const { return FIgnoreInvalidEnum; }
  void SetIgnoreInvalidEnum(bool value) { FIgnoreInvalidEnum = value; }
  const TNotifyEvent& OnChange() const { return FOnChange; }
  const TCSMIBChangingEvent& OnChanging() const { return FOnChanging; }

  // Published: OnChange, OnChanging, Enum (through SetEnum), IgnoreInvalidEnum; the two
  // ordinals have no declared default, so a form file always holds them.
  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

protected:
  virtual void DoChange();
  virtual void DoChanging(int32_t newEnum, bool& allowChange);

private:
  const std::vector<AnsiString>& CheckedNames() const;

  int32_t FEnum = 0;
  bool FIgnoreInvalidEnum = false;
  TCSMIBChangingEvent FOnChanging;
  TNotifyEvent FOnChange;
};
