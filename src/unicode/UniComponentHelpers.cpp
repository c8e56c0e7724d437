#include "unicode/UniComponentHelpers.h"

#include "platform/base/Exception.h"
#include "platform/base/ListAlgorithms.h"
#include "platform/base/PublishedProperties.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

namespace {

void DropString(TReader& reader) { reader.ReadString(); }

void DefineWideCharProperty(TFiler& filer, TPersistent& instance, const TPropInfo& info) {
  auto* writer = dynamic_cast<TWriter*>(&filer);
  const bool hasData = writer && info.IsStored(instance) && !writer->IsDefaultPropValue(instance, info);
  filer.DefineProperty(
      info.Name + "W",
      [&instance, &info](TReader& reader) {
        const TValueType next = reader.NextValue();
        if (next != vaString && next != vaLString && next != vaWString) TReader::PropValueError();
        const WideString text = reader.ReadWideString();
        if (text.size() > 1) TReader::PropValueError();
        info.Set(instance, static_cast<int64_t>(text.empty() ? 0 : text[0]));
      },
      [&instance, &info](TWriter& w) {
        w.WriteWideString(WideString(1, static_cast<WideChar>(std::get<int64_t>(info.Get(instance)))));
      },
      hasData);
  filer.DefineProperty(
      info.Name + "_UTF7",
      [&instance, &info](TReader& reader) {
        const WideString text = Utf7ToWide(reader.ReadString());
        info.Set(instance, static_cast<int64_t>(text.empty() ? 0 : text[0]));
      },
      {}, false);
}

}  // namespace

void DefineWideProperties(TFiler& filer, TPersistent& instance) {
  for (const TPropInfo* info : PublishedPropList(instance)) {
    if (info->Kind == tkWString) {
      // Companions of older form files; UTF7StreamingEnabled is off, so both are dropped.
      filer.DefineProperty(info->Name + "W", DropString, {}, false);
      filer.DefineProperty(info->Name + "_UTF7", DropString, {}, false);
    } else if (info->Kind == tkWChar && info->HasGetter() && info->HasSetter()) {
      DefineWideCharProperty(filer, instance, *info);
    }
  }
}

TWideComponentHelper::TWideComponentHelper(TComponent& component, TWideComponentHelperList& list)
    : TComponent(nullptr), FComponent(&component), FList(&list) {
  component.FreeNotification(this);
  bool found = false;
  const int32_t index = list.Search(&component, found);
  list.FItems.insert(list.FItems.begin() + index, std::unique_ptr<TWideComponentHelper>(this));
}

TWideComponentHelper::TWideComponentHelper(TComponent* owner) : TComponent(owner) {
  throw EUniInternalError("Unicode Internal Error: TWideComponentHelper.Create should never be encountered.");
}

TWideComponentHelper::~TWideComponentHelper() = default;

void TWideComponentHelper::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove || component != FComponent || !FList) return;
  FComponent = nullptr;
  auto& items = FList->FItems;
  for (auto it = items.begin(); it != items.end(); ++it)
    if (it->get() == this) {
      // Frees this helper: nothing of it is touched afterwards.
      items.erase(it);
      return;
    }
}

TWideComponentHelperList::~TWideComponentHelperList() = default;

int32_t TWideComponentHelperList::Search(const TComponent* component, bool& found) const {
  int32_t index = 0;
  found = SortedFind(
      Count(), false,
      [&](int32_t i) {
        const TComponent* item = FItems[static_cast<size_t>(i)]->Component();
        return std::less<const TComponent*>()(item, component) ? -1 : item == component ? 0 : 1;
      },
      index);
  return index;
}

TWideComponentHelper* FindComponentHelper(const TWideComponentHelperList& list, const TComponent* component) {
  bool found = false;
  const int32_t index = list.Search(component, found);
  return found ? list.Items(index) : nullptr;
}

WideString ReconcileWideWithAnsi(WideString& stored, AnsiStringView ansi) {
  if (DefaultWideToAnsi(stored) != ansi) stored = DefaultAnsiToWide(ansi);
  return stored;
}

void AssignWideWithAnsi(const WideString& value, WideString& stored, AnsiStringView ansi,
                        const std::function<void(const AnsiString&)>& setAnsi) {
  ReconcileWideWithAnsi(stored, ansi);
  if (value == stored) return;
  const AnsiString valueAnsi = DefaultWideToAnsi(value);
  if (DefaultAnsiToWide(valueAnsi) != value && valueAnsi == ansi) setAnsi(AnsiString());
  stored = value;
  setAnsi(valueAnsi);
}
