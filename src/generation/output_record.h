#pragma once
// What a run may make, replace and clean up in its output. A profile may come
// from anyone and may name any folder as the gallery, so the path alone says
// nothing about whose files lie there. Every output folder keeps a hidden
// record (".galvora-record") of the names the program wrote into it, each
// name written down before its file takes its place:
//  - a file is made only in a folder the run set up (its thumbnail, page,
//    decoration and clone folders) or one that holds a record;
//  - a file that is there already is replaced, appended to or removed only
//    when its name is on the folder's record;
//  - a clean-up removes the recorded entries only; a folder without a record
//    is not cleaned at all, and the run's log says so.
// A gallery made before folders kept records has none: its files are taken
// over (and recorded) when the run writes a file of the same name and kind,
// provided the output root looks like a gallery (it holds the profile's
// thumbnail or page folder), neither it nor the folder is the home folder or
// above it, and the folder holds no originals of the run. A file a script
// writes is never taken over so.
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace galvora {

inline constexpr char kOutputRecordName[] = ".galvora-record";

class Ausgabeaufzeichnung {
public:
    // Begins a run that writes below root into the given folders (they need
    // not exist yet). `gallery_shaped`: the root held the run's thumbnail or
    // page folder before the run began.
    void beginnen(const std::string& root, const std::vector<std::string>& folders, bool gallery_shaped);
    void beenden();
    bool aktiv() const;

    // A folder the run has set up (made, or found and taken as its own).
    void ordner_einrichten(const std::string& folder);

    // 0 when `target` may be written now, else an error number (EPERM).
    // `new_file` is the finished file that is to take the target's place, or
    // empty when the file is about to be opened or appended to. A yes writes
    // the name into the folder's record first.
    int zulassen(const std::string& target, const std::string& new_file);

    // The same for a file a script writes: that never takes over a file of
    // an earlier gallery, since a script may name any file there.
    int skript_zulassen(const std::string& target);

    // Removes what the record of `folder` names (recorded sub-folders by
    // their own records, and then themselves when empty); `flags` as for
    // verzeichnis_loeschen (the trash). False when the folder has no record,
    // with a line in the run's log; nothing is removed then.
    bool leeren(const std::string& folder, int flags);

private:
    struct Ordner {
        bool hatte_aufzeichnung = false;  // when the run first looked
        std::set<std::string> namen;
        bool ergaenzt = false;  // names added by this run
    };
    Ordner& ordner(const std::string& canonical);
    bool darf_anlegen(const std::string& folder, const std::string& canonical);
    bool uebernehmbar(const std::string& canonical, const std::string& target, const std::string& new_file) const;
    bool aufzeichnen(const std::string& folder, Ordner& state, const std::string& name);
    int pruefen(const std::string& target, const std::string& new_file, bool uebernahme);
    bool leeren_in(const std::string& folder, int flags, int depth);

    mutable std::mutex mutex_;
    bool aktiv_ = false;
    bool galerieform_ = false;
    std::string wurzel_;  // canonical
    std::set<std::string> eingerichtet_;  // as given and canonical
    std::map<std::string, Ordner> ordner_;
};

Ausgabeaufzeichnung& ausgabeaufzeichnung();

}  // namespace galvora
