// Support for the UTF-16 controls and dialogs: the extra form-file properties of their
// UTF-16 properties, a helper component that attaches data to another component, and
// the pairing of a control's UTF-16 text with the 8-bit text of the class library.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/base/Components.h"
#include "platform/base/Filer.h"
#include "platform/base/Types.h"

// The switch of the UTF-7 form-file properties: off, and never switched on, so their
// values are read and dropped.
inline constexpr bool UTF7StreamingEnabled = false;

// Defines, for each published UTF-16 string property, "<name>W" and "<name>_UTF7" (read
// and dropped, never written); for each UTF-16 character property, "<name>W" (a string
// of at most one character, as the character, written as a wide string when the property
// is stored and not at its default) and "<name>_UTF7" (read from UTF-7, never written).
// A "W" value of another type, or of more than one character, raises EReadError
// "Invalid property value".
void DefineWideProperties(TFiler& filer, TPersistent& instance);

class TWideComponentHelperList;

// Data attached to a component; freed when that component goes.
class TWideComponentHelper : public TComponent {
public:
  // Follows component and joins the list at its place by the component's address; the
  // list owns it.
  TWideComponentHelper(TComponent& component, TWideComponentHelperList& list);
  // The plain component constructor: raises EUniInternalError "Unicode Internal Error:
  // TWideComponentHelper.Create should never be encountered.".
  explicit TWideComponentHelper(TComponent* owner);
  ~TWideComponentHelper() override;

  TComponent* Component() const { return FComponent; }

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  TComponent* FComponent = nullptr;
  TWideComponentHelperList* FList = nullptr;
};

// Helpers sorted ascending by the address of the component each follows.
class TWideComponentHelperList {
public:
  TWideComponentHelperList() = default;
  TWideComponentHelperList(const TWideComponentHelperList&) = delete;
  TWideComponentHelperList& operator=(const TWideComponentHelperList&) = delete;
  ~TWideComponentHelperList();

  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  TWideComponentHelper* Items(int32_t index) const { return FItems.at(static_cast<size_t>(index)).get(); }

private:
  friend class TWideComponentHelper;
  friend TWideComponentHelper* FindComponentHelper(const TWideComponentHelperList& list, const TComponent* component);
  // The bisection of the class library: the position found and whether it matched.
  int32_t Search(const TComponent* component, bool& found) const;

  std::vector<std::unique_ptr<TWideComponentHelper>> FItems;
};

// The helper following component, or nullptr.
TWideComponentHelper* FindComponentHelper(const TWideComponentHelperList& list, const TComponent* component);

// Keeps a stored UTF-16 text in step with the control's 8-bit text: when the stored text
// no longer converts to the 8-bit text (someone set the 8-bit one), it becomes the 8-bit
// text widened. Returns the stored text.
WideString ReconcileWideWithAnsi(WideString& stored, AnsiStringView ansi);
// Stores a new UTF-16 text and gives its 8-bit form to the control; when the new text is
// lossy in 8 bits and its 8-bit form equals the current one, the control first gets an
// empty text, so that it still sees a change.
void AssignWideWithAnsi(const WideString& value, WideString& stored, AnsiStringView ansi,
                        const std::function<void(const AnsiString&)>& setAnsi);
