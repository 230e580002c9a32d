// Texts of the string table, as the rest of the program sees them. A text handed out
// stays valid for the whole run.
#pragma once

namespace lang {

// Added to a string id, asks for the built-in text whatever a language file says.
constexpr unsigned kUntranslated = 0x10000;

// The text of a string-table id; "" when there is none.
const char* String(unsigned id);

// What the language file asks for: right-to-left layout, the character set named in HTML
// reports, and the translator's credit. Off and empty when no language file is used.
bool RightToLeft();
const char* Charset();
const char* TranslatorName();
const char* TranslatorUrl();

}  // namespace lang
