#pragma once
// The glue between the settings table, the script engine and the page files:
// page templates compile into script functions named after their settings
// keys, a template runs into an open page by its entry number, and any script
// function (a hook such as "_init" or "_oracle") runs by name.
#include <cstdint>
#include <string>
#include <string_view>

namespace galvora {

// Compiles a template as the function `name`, replacing a script function of
// that name that an earlier run left; returns the compiler's code.
int32_t vorlage_uebersetzen(const std::string& name, const std::string& source);

// Compiles every entry from first to last (inclusive) whose value is not
// blank, in template mode, as the function named after the entry's key. The
// first failure shows "ErrTagLastErr" (title "ZantoScript Compiler") with the
// page kind text, the entry's display name and the compiler's error text and
// returns the compiler's code; 0 when every entry compiled.
int32_t vorlagen_kompilieren(int first, int last, const std::string& page_kind_text);

// Runs the template of an entry into the output channel (a page's file
// number); an entry whose value is empty writes nothing.
void vorlage_ausgeben(int32_t channel, int entry);

// Runs the script function of that name with the output channel: a page's
// file number, 0 to discard, -1 into the engine's text buffer. A name that no
// script defines runs nothing. The function's result stays in _return_value.
void skriptfunktion_ausfuehren(int32_t channel, std::string_view name);

// True when a script defines a function of that name.
bool skriptfunktion_vorhanden(std::string_view name);

}  // namespace galvora
