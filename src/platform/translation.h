// User-visible texts of the code that does not know Qt (the core): marked with
// QT_TRANSLATE_NOOP where they are written, so Qt Linguist finds them, and
// shown through translate(), which the application points at its translations.
// Without a hook, and in the C and POSIX locales, a text stays its source text.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Spelt as Qt spells it, so that a file may see both definitions.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace platform {

using TranslationHook = std::function<std::string(const char* context, const char* source)>;

// The text in the user's language; `source` itself without a hook.
std::string translate(const char* context, const char* source);
// Replaces the hook; returns the previous one.
TranslationHook setTranslationHook(TranslationHook hook);

// The locale of messages as the environment gives it: LC_ALL, else
// LC_MESSAGES, else LANG, the first one set and not empty; "C" when none is.
std::string messagesLocale(const std::function<const char*(const char*)>& getenv);

// The translation files to try for a locale, best first, without folder or
// ".qm": "vantrel_zh_CN", "vantrel_zh", then the English one that serves every
// locale without its own. None for C and POSIX (the source texts).
std::vector<std::string> translationNames(const std::string& locale);

}  // namespace platform
