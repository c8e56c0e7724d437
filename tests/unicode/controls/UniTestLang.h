// Language files for the tests of translated windows.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "l10n/LangController.h"
#include "l10n/LangTestIds.h"
#include "platform/gui/QtText.h"

// Writes the text as a UTF-8 language file "QuirefoldB_ru.lng" in a fresh folder and
// registers it with the language manager; the folder lives as long as the result.
inline std::unique_ptr<QTemporaryDir> RegisterTestLangFile(const QString& text) {
  auto dir = std::make_unique<QTemporaryDir>();
  QFile file(dir->filePath("QuirefoldB_ru.lng"));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("\xEF\xBB\xBF" + text.toUtf8());
  file.close();
  EXPECT_TRUE(LangManager().RegisterLangFile(FromQString(file.fileName())));
  return dir;
}

// The identifier of the component's text at path that the controller lists; a text it
// does not list fails the test.
inline uint32_t ListedLangId(TLanguageController& controller, const TComponent* component, const char* path) {
  const uint32_t id = LangIdOf(controller.Root(), component, path);
  EXPECT_NE(id, 0u) << component->Name() << "." << path;
  return id;
}
