#include "platform/base/Object.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "platform/base/Exception.h"
#include "platform/base/Format.h"

TObject::~TObject() = default;

AnsiString TObject::ClassName() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  const std::unique_ptr<char, decltype(&std::free)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                              &std::free);
  return status == 0 && demangled ? AnsiString(demangled.get()) : AnsiString(mangled);
}

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

TPersistent* TPersistent::GetOwner() const { return nullptr; }

void TPersistent::DefineProperties(TFiler&) {}

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError(Format(SAssignError, {ClassName(), dest.ClassName()}));
}
