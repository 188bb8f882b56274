#pragma once
// Where the program lives and what it is called.
#include <filesystem>
#include <string>

namespace galvora {

// The resource folder: the executable's folder when it holds languages/, else
// <exe>/../share/galvora. Tests may point it elsewhere.
std::filesystem::path program_folder();
void set_program_folder(const std::filesystem::path& folder);

// "Galvora"
std::string product_name();
// major.minor(00).revision(00), for example "2.11.02".
std::string programmversion();
int program_major();
int program_minor();
int program_revision();

// True in the finished program (the original distinguished a run inside its
// development environment).
bool kompiliert_laeuft();

}  // namespace galvora
