#pragma once
// Where the program lives and what it is called.
#include <filesystem>
#include <string>
#include <string_view>

namespace galvora {

// The resource folder: the executable's folder when it holds languages/, else
// <exe>/../share/galvora. Tests may point it elsewhere.
std::filesystem::path program_folder();
void set_program_folder(const std::filesystem::path& folder);

// "Galvora"
std::string product_name();
// major.minor(00).revision(00), for example "2.11.02".
std::string programmversion();
// A version text as people read it: each part between the points as a whole
// number, so "2.11.02" shows as "2.11.2" and "3.0.1" stays "3.0.1". Parts that
// are not plain digits are kept as they stand.
std::string version_kurz(std::string_view version);
// The copyright line and the file description of the program's version
// record (the description is empty for a release build).
std::string copyright_text();
std::string dateibeschreibung();
int program_major();
int program_minor();
int program_revision();

// True in the finished program (the original distinguished a run inside its
// development environment).
bool kompiliert_laeuft();

}  // namespace galvora
