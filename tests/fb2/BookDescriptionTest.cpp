#include "fb2/cBookDescription.h"

#include <gtest/gtest.h>

#include "platform/base/Exception.h"

namespace {

// The nine fields in their order.
WideString TBookDescription::*const Fields[] = {
    &TBookDescription::Title,  &TBookDescription::Authors, &TBookDescription::Translators,
    &TBookDescription::Genres, &TBookDescription::Adapter, &TBookDescription::Publisher,
    &TBookDescription::Year,   &TBookDescription::ISBN,    &TBookDescription::Annotation,
};

void FillDistinct(TBookDescription& description, const WideString& tag) {
  char16_t n = u'1';
  for (auto field : Fields) description.*field = tag + n++;
}

}  // namespace

TEST(BookDescription, StartsEmptyAndClearsEveryField) {
  TBookDescription description;
  for (auto field : Fields) EXPECT_EQ(description.*field, u"");
  FillDistinct(description, u"x");
  description.Clear();
  for (auto field : Fields) EXPECT_EQ(description.*field, u"");
}

TEST(BookDescription, AssignCopiesEachFieldToItsPlace) {
  TBookDescription source, target;
  FillDistinct(source, u"\u0416");
  target.Assign(source);
  char16_t n = u'1';
  for (auto field : Fields) EXPECT_EQ(target.*field, WideString(u"\u0416") + n++);

  TBookDescription cleared;
  target.Assign(cleared);  // a cleared description empties a filled one
  for (auto field : Fields) EXPECT_EQ(target.*field, u"");
}

TEST(BookDescription, OtherSourcesRaiseTheAssignmentError) {
  class TOther : public TPersistent {};
  TOther other;
  TBookDescription description;
  description.Title = u"kept";
  try {
    description.Assign(other);
    FAIL() << "assigned from an unrelated object";
  } catch (const EConvertError& e) {
    EXPECT_NE(std::string(e.what()).find("to a TBookDescription"), std::string::npos) << e.what();
  }
  EXPECT_EQ(description.Title, u"kept");
}
