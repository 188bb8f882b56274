#pragma once
// Where script output goes: channel -1 appends to the program-wide text buffer
// `ausgabe_puffer`, a channel of 1 or more writes into the open page that the
// generation engine registered under that number, 0 discards the output.
#include <cstdint>
#include <ostream>
#include <string>

namespace galvora {

extern std::string ausgabe_puffer;

// Registers the stream of an open page under its file number (1 or more);
// nullptr removes the registration.
void ausgabe_kanal_registrieren(int32_t nummer, std::ostream* strom);
void ausgabe_kanal_entfernen(int32_t nummer);
// The stream of a file number, or nullptr.
std::ostream* ausgabe_kanal(int32_t nummer);

// The current output channel (set by each run and each compile).
int32_t ausgabe_kanal_aktuell();
void ausgabe_kanal_setzen(int32_t kanal);

// Writes text to the current output channel.
void ausgabe_schreiben(const std::string& text);

}  // namespace galvora
