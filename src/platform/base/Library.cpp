#include "platform/base/Library.h"

#include <dlfcn.h>

#include <string>

#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"

namespace {

template <typename Char>
HMODULE LoadLibraryByName(const Char* fileName) {
  std::string name;
  if (fileName == nullptr || !NameBytes(fileName, name)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) SetLastError(ERROR_MOD_NOT_FOUND);
  return reinterpret_cast<HMODULE>(handle);
}

}  // namespace

HMODULE LoadLibraryW(const WideChar* fileName) { return LoadLibraryByName(fileName); }

HMODULE LoadLibraryA(const char* fileName) { return LoadLibraryByName(fileName); }

bool FreeLibrary(HMODULE module) {
  if (module == 0 || dlclose(reinterpret_cast<void*>(module)) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return true;
}

void* GetProcAddress(HMODULE module, const char* procName) {
  void* address = module != 0 && procName != nullptr ? dlsym(reinterpret_cast<void*>(module), procName) : nullptr;
  if (address == nullptr) SetLastError(ERROR_PROC_NOT_FOUND);
  return address;
}
