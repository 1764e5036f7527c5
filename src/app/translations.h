// The program's translation and Qt's own, installed at start-up before any
// text is made. The program's English is built into it (":/i18n").
#pragma once

#include <QString>
#include <optional>

#include "shell/ui_language.h"

namespace zk {

// --lang when given, else the locale's choice.
UiLanguage ChosenLanguage(std::optional<UiLanguage> option);

// Installs the translators for `language` into the running application
// (Japanese, the source language, needs only Qt's own). False when the
// program's English translation cannot be loaded.
bool InstallTranslations(UiLanguage language);

}  // namespace zk
