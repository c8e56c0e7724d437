// The main window's converter in the program: the per-book driver.
#pragma once

#include <utility>

#include "app/uBookConvertor.h"
#include "convert/cFB2WolConvertor.h"

class TFB2WolBookConvertor : public TBookConvertor {
public:
  void SetOnProgress(TBookProgressEvent event) override { FDriver.OnProgress = std::move(event); }
  void SelectScheme(const WideString& name) override { FDriver.SelectScheme(name); }
  void LoadBook(const WideString& fileName) override { FDriver.LoadBook(fileName); }
  void ConvertBook() override { FDriver.ConvertBook(); }
  void SaveWolf(const WideString& fileName) override { FDriver.SaveWolf(fileName); }

private:
  TFB2WolConvertor FDriver;
};
