#include "platform/base/Components.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/Exception.h"

namespace {

// Writes what it hears and when it dies into a shared log.
class TProbe : public TComponent {
public:
  TProbe(TComponent* owner, const char* name, std::vector<std::string>& log) : TComponent(owner), FLog(log) {
    SetName(name);
  }
  ~TProbe() override { FLog.push_back("free " + Name()); }
  TComponent* Watched = nullptr;

protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    FLog.push_back(Name() + (operation == opInsert ? " +" : " -") + component->Name());
    if (operation == opRemove && component == Watched) Watched = nullptr;
  }

private:
  std::vector<std::string>& FLog;
};

}  // namespace

TEST(Components, OwnerFreesWhatItOwnsLastFirst) {
  std::vector<std::string> log;
  {
    TProbe owner(nullptr, "Form", log);
    CreateOwned<TProbe>(owner, "First", log);
    TProbe* second = CreateOwned<TProbe>(owner, "Second", log);
    CreateOwned<TProbe>(*second, "Inner", log);
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(owner.Components(1), second);
    EXPECT_EQ(second->ComponentIndex(), 1);
    EXPECT_EQ(owner.FindComponent("SECOND"), second);
    EXPECT_EQ(owner.FindComponent("Inner"), nullptr);
    log.clear();
  }
  // A component's own destructor body runs before the components it owns are freed.
  EXPECT_EQ(log, (std::vector<std::string>{"free Form", "free Second", "free Inner", "free First"}));
}

TEST(Components, DeletingAComponentTellsItsOwnerAndListeners) {
  std::vector<std::string> log;
  TProbe form(nullptr, "Form", log);
  TProbe other(nullptr, "Other", log);
  auto button = std::make_unique<TProbe>(&form, "Button", log);
  CreateOwned<TProbe>(form, "Label", log);
  other.Watched = button.get();
  other.FreeNotification(button.get());
  log.clear();
  button.reset();
  EXPECT_EQ(other.Watched, nullptr);
  EXPECT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"free Button", "Other -Button", "Label -Button", "Form -Button"}));

  // A listener that goes first is forgotten: freeing the watched one later tells nobody.
  std::vector<std::string> log2;
  auto watched = std::make_unique<TProbe>(nullptr, "Watched", log2);
  {
    TProbe listener(nullptr, "Listener", log2);
    listener.FreeNotification(watched.get());
  }
  log2.clear();
  watched.reset();
  EXPECT_EQ(log2, (std::vector<std::string>{"free Watched"}));
}

TEST(Components, NamesAreIdentifiersUniqueWithinTheOwner) {
  std::vector<std::string> log;
  TProbe form(nullptr, "Form", log);
  TProbe* edit = CreateOwned<TProbe>(form, "Edit1", log);
  edit->SetName("edit1");  // only the case changes
  const struct {
    const char* Name;
    const char* Message;
  } cases[] = {
      {"1Edit", "'1Edit' is not a valid component name"},
      {"a b", "'a b' is not a valid component name"},
  };
  TProbe* other = CreateOwned<TProbe>(form, "", log);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    try {
      other->SetName(c.Name);
      ADD_FAILURE() << "no exception";
    } catch (const EComponentError& e) {
      EXPECT_STREQ(e.what(), c.Message);
    }
  }
  try {
    other->SetName("EDIT1");
    FAIL() << "no exception";
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "A component named EDIT1 already exists");
  }
  TProbe stray(nullptr, "Edit1", log);
  EXPECT_THROW(form.InsertComponent(&stray), EComponentError);
  EXPECT_EQ(stray.Owner(), nullptr);
}

TEST(Components, ComponentsMoveBetweenOwners) {
  std::vector<std::string> log;
  TProbe a(nullptr, "A", log);
  TProbe b(nullptr, "B", log);
  TProbe* child = CreateOwned<TProbe>(a, "Child", log);
  log.clear();
  b.InsertComponent(child);
  EXPECT_EQ(child->Owner(), &b);
  EXPECT_EQ(a.ComponentCount(), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"Child -Child", "A -Child", "Child +Child", "B +Child"}));
  EXPECT_THROW(a.Components(0), EListError);
}

TEST(Components, LoadedEndsTheLoadingState) {
  std::vector<std::string> log;
  TProbe probe(nullptr, "Probe", log);
  probe.SetComponentState(csLoading | csDesigning);
  probe.Loaded();
  EXPECT_EQ(probe.ComponentState(), csDesigning);
}
