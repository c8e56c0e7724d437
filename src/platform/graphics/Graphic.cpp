#include "platform/graphics/Graphic.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<TGraphicClass>& Registry() {
  static std::vector<TGraphicClass> classes;
  return classes;
}

bool SameClassName(AnsiStringView a, AnsiStringView b) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

[[noreturn]] void RaiseAssign(const char* sourceName, const char* destName) {
  AnsiString message = "Cannot assign a ";
  message += sourceName;
  message += " to a ";
  message += destName;
  throw EConvertError(message);
}

}  // namespace

TGraphic::~TGraphic() = default;

void TGraphic::Assign(const TGraphic* source) {
  if (source == nullptr) RaiseAssignError(nullptr);
  source->AssignTo(*this);
}

void TGraphic::AssignTo(TGraphic& dest) const { RaiseAssign(ClassName(), dest.ClassName()); }

void TGraphic::RaiseAssignError(const TGraphic* source) const {
  RaiseAssign(source != nullptr ? source->ClassName() : "nil", ClassName());
}

void RegisterGraphicClass(TGraphicClass graphicClass) {
  auto& classes = Registry();
  if (std::find(classes.begin(), classes.end(), graphicClass) == classes.end()) classes.push_back(graphicClass);
}

void UnRegisterGraphicClass(TGraphicClass graphicClass) { std::erase(Registry(), graphicClass); }

TGraphicClass FindGraphicClass(AnsiStringView className) {
  for (TGraphicClass graphicClass : Registry())
    if (SameClassName(graphicClass->ClassName, className)) return graphicClass;
  return nullptr;
}
