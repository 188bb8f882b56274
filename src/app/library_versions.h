#pragma once
// The versions of the libraries the program works with, as the loaded
// libraries report them at run time. A library that offers no way to ask is
// named by the version it was built against and the file that is loaded.
#include <string>
#include <utility>
#include <vector>

namespace galvora {

using Bibliotheksversion = std::pair<std::string, std::string>;  // name, version

// The picture codecs: libjpeg-turbo, libpng, libtiff, giflib, LibRaw, libwmf.
std::vector<Bibliotheksversion> bildbibliotheken();
// The system components: the C library, FreeType, fontconfig, PCRE2,
// unixODBC and libcurl.
std::vector<Bibliotheksversion> systemkomponenten();
// Both, codecs first (the order of the environment report in the log).
std::vector<Bibliotheksversion> bibliotheksversionen();

// The file of the shared library that holds the given function or object,
// after symbolic links are resolved ("libgif.so.7.2.0"); "" when the address
// belongs to no shared library.
std::string geladene_bibliotheksdatei(const void* adresse);

}  // namespace galvora
