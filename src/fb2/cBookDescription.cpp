#include "fb2/cBookDescription.h"

void TBookDescription::Clear() {
  Title.clear();
  Authors.clear();
  Translators.clear();
  Genres.clear();
  Adapter.clear();
  Publisher.clear();
  Year.clear();
  ISBN.clear();
  Annotation.clear();
}

void TBookDescription::Assign(const TPersistent& source) {
  const auto* description = dynamic_cast<const TBookDescription*>(&source);
  if (description == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  Title = description->Title;
  Authors = description->Authors;
  Translators = description->Translators;
  Genres = description->Genres;
  Adapter = description->Adapter;
  Publisher = description->Publisher;
  Year = description->Year;
  ISBN = description->ISBN;
  Annotation = description->Annotation;
}
