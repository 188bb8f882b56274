#pragma once
// A German locale for the tests of what the user's locale changes. It is
// made once per test program with localedef into a temporary folder, which
// LOCPATH names while the locale is set, so the tests do not depend on the
// locales the machine has installed.
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace galvora::testing {

class GermanLocaleFolder {
public:
    GermanLocaleFolder()
        : folder_(std::filesystem::temp_directory_path() / ("galvora-locale-" + std::to_string(::getpid()))) {
        std::error_code ec;
        std::filesystem::create_directories(folder_, ec);
        // localedef ends with status 1 for mere warnings: the folder it made tells.
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + (folder_ / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
        (void)std::system(command.c_str());
    }
    ~GermanLocaleFolder() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    GermanLocaleFolder(const GermanLocaleFolder&) = delete;
    GermanLocaleFolder& operator=(const GermanLocaleFolder&) = delete;
    const std::filesystem::path& path() const { return folder_; }

private:
    std::filesystem::path folder_;
};

// Sets every category to de_DE.UTF-8 (decimal separator ","); false when the
// locale could not be made.
inline bool set_german_locale() {
    static GermanLocaleFolder folder;
    // LOCPATH only while the locale is loaded: programs the test starts (a
    // batch run) keep the machine's own locales.
    const char* old = std::getenv("LOCPATH");
    const std::string previous = old != nullptr ? old : "";
    ::setenv("LOCPATH", folder.path().c_str(), 1);
    const bool set = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    if (old != nullptr) {
        ::setenv("LOCPATH", previous.c_str(), 1);
    } else {
        ::unsetenv("LOCPATH");
    }
    return set;
}

// Back to the "C" locale after a test.
inline void set_c_locale() { std::setlocale(LC_ALL, "C"); }

}  // namespace galvora::testing
