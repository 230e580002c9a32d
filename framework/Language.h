// The program's texts as the rest of the program sees them: the string table, menus and
// dialogs, each replaceable through the language file beside the program. A string
// handed out stays valid for the whole run.
#pragma once

#include <windows.h>

namespace lang {

// Added to a string id, asks for the built-in text whatever a language file says.
constexpr unsigned kUntranslated = 0x10000;

// Reads the language file beside the program when it exists (its path, right-to-left,
// character set, translator). Texts looked up earlier stay valid.
void Load();
// The language file in use, or "" when there is none.
const char* FilePath();

// The text of a string-table id; "" when there is none.
const char* String(unsigned id);

// The text of a string-table id that the program fills in with one number: the
// translation only when it holds exactly one "%d" and no other conversion ("%%" aside),
// since a language file is written by a stranger; otherwise the built-in text.
const char* NumberFormat(unsigned id);
// Whether a format holds exactly one "%d" and no other conversion.
bool IsOneNumberFormat(const char* format);

// A menu resource with its item texts translated.
HMENU LoadMenu(int menuId);

// The dialog resource that the next translated dialog comes from.
void SetCurrentDialog(int dialogId);
// Replaces the dialog's caption and control texts from the language file.
void TranslateDialog(HWND dialog);

// Mode bits for the right-to-left layout.
constexpr int kMirrorChildren = 1;
constexpr int kChildrenRightToLeft = 2;
// When the language file asks for it: lays the window (and by mode its children) out
// from right to left.
void ApplyRightToLeft(HWND window, int mode);

// Writes the language template beside the program, keeping every text already there.
void WriteTemplate(const int* skippedDialogs, int skippedCount);

// What the language file asks for: right-to-left layout, the character set named in HTML
// reports, and the translator's credit. Off and empty when no language file is used.
bool RightToLeft();
const char* Charset();
const char* TranslatorName();
const char* TranslatorUrl();

}  // namespace lang
