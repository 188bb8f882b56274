#pragma once
// The profile list, the current profile and the operations on it: list,
// load (read and apply), create, delete, apply, accept, discard, ask to save,
// and the command-line overrides.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace galvora {

// Kinds of profile.
enum : int32_t {
    kProfileDefault = 0,  // built in, has no file
    kProfileSystem = 1,   // in the program's profiles/ folder
    kProfileUser = 2,     // in the user's profile folder
};

class ZNProfil {
public:
    ZNProfil(int32_t art, std::string name, std::string path)
        : art_(art), name_(std::move(name)), path_(std::move(path)) {}

    int32_t art() const { return art_; }
    void art(int32_t value) { art_ = value; }
    // The file name without ".qvp"; for the default profile its language text.
    const std::string& Name() const { return name_; }
    void Name(std::string_view value) { name_ = value; }
    // The folder of the file, without a trailing "/"; empty for the default profile.
    const std::string& path() const { return path_; }
    void path(std::string_view value) { path_ = value; }

private:
    int32_t art_;
    std::string name_;
    std::string path_;
};

// Ordered list of profiles keyed by name without regard to case.
class ZNProfile {
public:
    // Reuses an entry of that name (moved to the end) or creates one.
    std::shared_ptr<ZNProfil> add(int32_t art, std::string_view name, std::string_view path);
    std::shared_ptr<ZNProfil> item(long position) const;  // 1-based
    std::shared_ptr<ZNProfil> item(std::string_view name) const;
    long count() const { return static_cast<long>(profiles_.size()); }
    auto begin() const { return profiles_.begin(); }
    auto end() const { return profiles_.end(); }

private:
    std::vector<std::shared_ptr<ZNProfil>> profiles_;
};

// The user's profile folder: the registry value LastSession/userprofiledir,
// empty when none is set.
std::string benutzerprofilordner();
// <per-user data folder>/profiles, which the main window stores as the
// user's profile folder when none is set.
std::string standard_benutzerprofilordner();

void profile_auflisten();
ZNProfile& profilliste();
std::shared_ptr<ZNProfil> profil_per_name(std::string_view name);
// The current profile (the default profile until another is loaded).
std::shared_ptr<ZNProfil> aktuelles_profil();
void set_aktuelles_profil(std::shared_ptr<ZNProfil> profile);
// The descriptor of the built-in default profile.
std::shared_ptr<ZNProfil> standardprofil();

// Makes the profile current (nullptr: the default profile), reads and applies it.
void profil_laden(std::shared_ptr<ZNProfil> profile = nullptr);
// Creates a user profile from the current settings; 1 written, 2 failed.
int profil_neu(std::string_view name);
// Deletes the current profile's file; 1 done, 2 refused or failed.
int profil_loeschen();
void profil_anwenden();
// 6 nothing to discard or discarded, 7 the user kept the changes.
int profilaenderungen_verwerfen_fragen();
void profilaenderungen_uebernehmen();
// 1 nothing left unsaved or saved, 2 cancelled or saving failed, 6 or 7 answers
// that leave the unsaved state as it was.
int profilaenderungen_speichern_fragen();
// One command-line override of the loaded table: "$KEY" puts the value before
// the entry's text, "KEY$" after it. `value` holds the resulting text afterwards.
// Returns the index of the setting, or -1 (nothing changed) when the name is no
// setting key.
int profilwert_per_name_setzen(std::string_view name, std::string& value);

}  // namespace galvora
