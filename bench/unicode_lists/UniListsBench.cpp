// String lists and ini files on the sizes the program meets: the language manager's
// sorted tables of a few thousand constants, a scheme file of 20 sections read into
// memory, keys written into a section, the settings file read one value at a time.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/base/FileSystemNames.h"
#include "platform/base/PrivateProfile.h"
#include "unicode/UniWideStrings.h"
#include "unicode/ini/UniIniFiles.h"

namespace {

WideString ConstantName(int i) {
  std::string name = "SMsgConstant" + std::to_string((i * 7919) % 100003);
  return WideString(name.begin(), name.end());
}

void SortedAdd(benchmark::State& state) {
  const auto count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    TUniStringList list;
    list.SetSorted(true);
    for (int i = 0; i < count; ++i) list.Add(ConstantName(i));
    benchmark::DoNotOptimize(list.Count());
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(SortedAdd)->Arg(4000);

void SortedFindIgnoringCase(benchmark::State& state) {
  TUniStringList list;
  list.SetSorted(true);
  for (int i = 0; i < 4000; ++i) list.Add(ConstantName(i));
  int32_t index = 0;
  int i = 0;
  for (auto _ : state) {
    WideString key = ConstantName(i++ % 4000);
    key[1] = u'm';
    benchmark::DoNotOptimize(list.Find(key, index));
  }
}
BENCHMARK(SortedFindIgnoringCase);

// A scheme-like file: 20 sections of 12 keys.
std::string WriteSchemeFile() {
  char path[] = "/tmp/qf-bench-ini-XXXXXX";
  close(mkstemp(path));
  TUniMemIniFile ini(FileSystemNameToWide(path));
  for (int s = 0; s < 20; ++s)
    for (int k = 0; k < 12; ++k) {
      const std::string section = "Style" + std::to_string(s), key = "Key" + std::to_string(k);
      ini.WriteInteger(WideString(section.begin(), section.end()), WideString(key.begin(), key.end()), s * k);
    }
  ini.UpdateFile();
  return path;
}

void MemIniLoadAndRead(benchmark::State& state) {
  const std::string path = WriteSchemeFile();
  const WideString name = FileSystemNameToWide(path);
  for (auto _ : state) {
    TUniMemIniFile ini(name);
    benchmark::DoNotOptimize(ini.ReadInteger(u"Style19", u"Key11", 0));
  }
  unlink(path.c_str());
}
BENCHMARK(MemIniLoadAndRead);

// Keys written one by one into a section of an empty ini, as a scheme is saved: every
// write looks its key up first. The time per key stays flat as the section grows.
void MemIniWriteKeys(benchmark::State& state) {
  const auto count = static_cast<int>(state.range(0));
  std::vector<WideString> keys;
  for (int k = 0; k < count; ++k) {
    const std::string key = "Key" + std::to_string(k);
    keys.emplace_back(key.begin(), key.end());
  }
  for (auto _ : state) {
    TUniMemIniFile ini(WideString{});
    for (int k = 0; k < count; ++k) ini.WriteInteger(u"Section", keys[static_cast<size_t>(k)], k);
    benchmark::DoNotOptimize(ini.ReadInteger(u"Section", keys[0], -1));
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(MemIniWriteKeys)->Arg(20)->Arg(1000)->Arg(10000);

void ProfileReadValue(benchmark::State& state) {
  const std::string path = WriteSchemeFile();
  const WideString name = FileSystemNameToWide(path);
  for (auto _ : state) benchmark::DoNotOptimize(GetPrivateProfileValueW(u"Style19", u"Key11", u"", name.c_str()));
  unlink(path.c_str());
}
BENCHMARK(ProfileReadValue);

}  // namespace
