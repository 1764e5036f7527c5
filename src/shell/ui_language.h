// Which language the program speaks: Japanese, its own, or English. Files
// and command lines are the same in both; only what the user reads changes.
#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace zk {

enum class UiLanguage { Japanese, English };

// The value of --lang: "ja" or "en"; nothing for any other word.
std::optional<UiLanguage> LanguageFromOption(const QString &word);

// The language the locale asks for. The first of LANGUAGE (its first entry),
// LC_ALL, LC_MESSAGES and LANG that is set decides: Japanese for ja*, and
// for C and POSIX (the program's own language); English for any other
// language. Nothing set: Japanese. `env` answers for a variable's value.
UiLanguage LanguageFromLocale(const std::function<QString(const char *name)> &env);

// "ja" or "en": the suffix of the translation files.
QString LanguageCode(UiLanguage language);

}  // namespace zk
