#pragma once
// A German locale for the tests of what the user's locale changes. It is
// made once per test program with localedef into a temporary folder that
// LOCPATH names, so the tests do not depend on the locales the machine has
// installed.
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
        ::setenv("LOCPATH", folder_.c_str(), 1);
    }
    ~GermanLocaleFolder() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    GermanLocaleFolder(const GermanLocaleFolder&) = delete;
    GermanLocaleFolder& operator=(const GermanLocaleFolder&) = delete;

private:
    std::filesystem::path folder_;
};

// Sets every category to de_DE.UTF-8 (decimal separator ","); false when the
// locale could not be made.
inline bool set_german_locale() {
    static GermanLocaleFolder folder;
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

// Back to the "C" locale after a test.
inline void set_c_locale() { std::setlocale(LC_ALL, "C"); }

}  // namespace galvora::testing
