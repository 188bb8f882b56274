#include "app/library_versions.h"

#include <dlfcn.h>
#include <gnu/libc-version.h>

#include <curl/curl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <gif_lib.h>
#include <jconfig.h>
#include <jpeglib.h>
#include <libraw/libraw.h>
#include <png.h>
#include <sql.h>
#include <sqlext.h>
#include <tiffio.h>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <libwmf/api.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace galvora {

namespace {

#define GALVORA_STRINGIFY2(x) #x
#define GALVORA_STRINGIFY(x) GALVORA_STRINGIFY2(x)

std::string drei_teile(long a, long b, long c) {
    return std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c);
}

// "4.5.0 (libfoo.so.6.0.0)": the build's version with the loaded file beside it.
std::string mit_datei(const std::string& version, const void* symbol) {
    const std::string datei = geladene_bibliotheksdatei(symbol);
    return datei.empty() ? version : version + " (" + datei + ")";
}

// libjpeg-turbo has no call for its version, but every build carries the
// banner "libjpeg-turbo version 2.1.5 (build 20230203)" in its library file.
std::string jpeg_version() {
    const void* symbol = reinterpret_cast<const void*>(&jpeg_std_error);
    Dl_info info{};
    if (dladdr(symbol, &info) != 0 && info.dli_fname != nullptr) {
        std::ifstream datei(info.dli_fname, std::ios::binary);
        const std::string inhalt((std::istreambuf_iterator<char>(datei)), std::istreambuf_iterator<char>());
        const std::string marke = "libjpeg-turbo version ";
        const size_t at = inhalt.find(marke);
        if (at != std::string::npos) {
            const size_t anfang = at + marke.size();
            const size_t ende = inhalt.find_first_not_of("0123456789.", anfang);
            if (ende != std::string::npos && ende > anfang) return inhalt.substr(anfang, ende - anfang);
        }
    }
    return mit_datei(GALVORA_STRINGIFY(LIBJPEG_TURBO_VERSION), symbol);
}

// "LIBTIFF, Version 4.5.0\nCopyright ..." gives "4.5.0".
std::string tiff_version() {
    const std::string text = TIFFGetVersion();
    const std::string marke = "Version ";
    const size_t at = text.find(marke);
    if (at == std::string::npos) return text.substr(0, text.find('\n'));
    const size_t anfang = at + marke.size();
    return text.substr(anfang, text.find_first_of(" \n", anfang) - anfang);
}

std::string freetype_version() {
    FT_Library bibliothek = nullptr;
    if (FT_Init_FreeType(&bibliothek) != 0) return "NV";
    FT_Int a = 0, b = 0, c = 0;
    FT_Library_Version(bibliothek, &a, &b, &c);
    FT_Done_FreeType(bibliothek);
    return drei_teile(a, b, c);
}

std::string fontconfig_version() {
    const int v = FcGetVersion();
    return drei_teile(v / 10000, v / 100 % 100, v % 100);
}

std::string pcre2_version() {
    char text[64] = {};
    if (pcre2_config(PCRE2_CONFIG_VERSION, text) < 0) return "NV";
    std::string version = text;
    return version.substr(0, version.find(' '));
}

std::string unixodbc_version() {
    SQLHENV umgebung = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &umgebung))) return "NV";
    SQLCHAR text[64] = {};
    SQLINTEGER laenge = 0;
    const SQLRETURN r = SQLGetEnvAttr(umgebung, SQL_ATTR_UNIXODBC_VERSION, text, sizeof text - 1, &laenge);
    SQLFreeHandle(SQL_HANDLE_ENV, umgebung);
    if (!SQL_SUCCEEDED(r)) return "NV";
    return reinterpret_cast<const char*>(text);
}

std::string curl_version_text() {
    const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
    if (info == nullptr || info->version == nullptr) return "NV";
    std::string version = info->version;
    if (info->ssl_version != nullptr) version += std::string(" (") + info->ssl_version + ")";
    return version;
}

}  // namespace

std::string geladene_bibliotheksdatei(const void* adresse) {
    Dl_info info{};
    if (dladdr(adresse, &info) == 0 || info.dli_fname == nullptr) return {};
    std::error_code ec;
    const std::filesystem::path echt = std::filesystem::canonical(info.dli_fname, ec);
    if (ec) return {};
    // The program itself is no shared library: a statically linked piece has no file of its own.
    const std::filesystem::path programm = std::filesystem::canonical("/proc/self/exe", ec);
    if (!ec && echt == programm) return {};
    return echt.filename().string();
}

std::vector<Bibliotheksversion> bildbibliotheken() {
    return {
        {"libjpeg-turbo", jpeg_version()},
        {"libpng", png_get_libpng_ver(nullptr)},
        {"libtiff", tiff_version()},
        // giflib and libwmf have no call for their version.
        {"giflib", mit_datei(drei_teile(GIFLIB_MAJOR, GIFLIB_MINOR, GIFLIB_RELEASE),
                             reinterpret_cast<const void*>(&DGifOpenFileName))},
        {"LibRaw", libraw_version()},
        {"libwmf", mit_datei(GALVORA_LIBWMF_VERSION, reinterpret_cast<const void*>(&wmf_api_create))},
    };
}

std::vector<Bibliotheksversion> systemkomponenten() {
    return {
        {"GNU C Library", gnu_get_libc_version()},
        {"FreeType", freetype_version()},
        {"fontconfig", fontconfig_version()},
        {"PCRE2", pcre2_version()},
        {"unixODBC", unixodbc_version()},
        {"libcurl", curl_version_text()},
    };
}

std::vector<Bibliotheksversion> bibliotheksversionen() {
    std::vector<Bibliotheksversion> alle = bildbibliotheken();
    for (auto& zeile : systemkomponenten()) alle.push_back(std::move(zeile));
    return alle;
}

}  // namespace galvora
