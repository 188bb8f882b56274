#include "generation/output_record.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "foundation/bounded_read.h"
#include "foundation/file_helpers.h"
#include "foundation/output_file.h"
#include "generation/output_folders.h"
#include "generation/output_guard.h"
#include "generation/run_port.h"
#include "image/picture_type.h"
#include "platform/trash.h"

namespace galvora {

namespace fs = std::filesystem;

namespace {

constexpr char kRecordHeader[] = "# Galvora: the files this program wrote into this folder\n";
constexpr char kEarlierGallery[] = "# with files of an earlier gallery";
constexpr char kRecordRewrite[] = ".galvora-record.new";
constexpr int kDeepestClean = 64;  // recorded folders within recorded folders

std::string kanonisch(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

std::string normal(const std::string& path) { return fs::path(path).lexically_normal().string(); }

bool liegt_in(const std::string& canonical, const std::string& root) {
    if (root.empty()) return false;
    if (canonical == root) return true;
    return canonical.size() > root.size() && canonical.compare(0, root.size(), root) == 0 &&
           (root.back() == '/' || canonical[root.size()] == '/');
}

// One name a line; a name may hold any byte but "/" and NUL, so the line
// breaks and the escape character itself are written as %XX.
std::string zeile(const std::string& name) {
    std::string line;
    for (char c : name) {
        if (c == '%') line += "%25";
        else if (c == '\n') line += "%0A";
        else if (c == '\r') line += "%0D";
        else line += c;
    }
    return line + '\n';
}

std::string name_aus_zeile(const std::string& line) {
    std::string name;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '%' && i + 2 < line.size()) {
            const std::string hex = line.substr(i + 1, 2);
            if (hex == "25") name += '%';
            else if (hex == "0A") name += '\n';
            else if (hex == "0D") name += '\r';
            else {
                name += line[i];
                continue;
            }
            i += 2;
        } else {
            name += line[i];
        }
    }
    return name;
}

bool alles_schreiben(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Writes the record of the folder anew, sorted by name, and puts it in place
// in one step; the one there stays when that fails.
void neu_schreiben(int dir_fd, const std::set<std::string>& names, bool earlier_gallery) {
    std::string text = kRecordHeader;
    if (earlier_gallery) text += std::string(kEarlierGallery) + "\n";
    for (const std::string& name : names) text += zeile(name);
    const int fd = ::openat(dir_fd, kRecordRewrite, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return;
    const bool ok = alles_schreiben(fd, text);
    if (::close(fd) == 0 && ok) ::renameat(dir_fd, kRecordRewrite, dir_fd, kOutputRecordName);
    else ::unlinkat(dir_fd, kRecordRewrite, 0);
}

// The kind of file for taking over a file of an earlier gallery: text, or
// the picture type the first bytes show (binary without a type is "other").
int art(const std::string& path) {
    const std::optional<std::string> bytes = dateianfang(path);
    if (!bytes) return -2;
    if (!anfang_ist_binaer(*bytes)) return -1;
    return static_cast<int>(guess_file_type(*bytes));
}

// True when the folder holds an entry besides `name` and this program's own
// hidden files (the record, temporaries).
bool haelt_fremdes(const std::string& folder, const std::string& name) {
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const std::string n = entry.path().filename().string();
        if (n != name && n.rfind(".galvora-", 0) != 0) return true;
    }
    return false;
}

bool ist_heimat_oder_darueber(const std::string& canonical) {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return false;
    const std::string h = kanonisch(home);
    return !h.empty() && liegt_in(h, canonical);
}

}  // namespace

Ausgabeaufzeichnung& ausgabeaufzeichnung() {
    static Ausgabeaufzeichnung record;
    return record;
}

void Ausgabeaufzeichnung::beginnen(const std::string& root, const std::vector<std::string>& folders,
                                   bool gallery_shaped) {
    const std::lock_guard lock(mutex_);
    ordner_.clear();
    eingerichtet_.clear();
    aktiv_ = !root.empty();
    galerieform_ = gallery_shaped;
    wurzel_ = kanonisch(root);
    if (wurzel_.empty()) wurzel_ = normal(root);
    eingerichtet_.insert(normal(root));
    eingerichtet_.insert(wurzel_);
    for (const std::string& f : folders) {
        eingerichtet_.insert(normal(f));
        if (const std::string c = kanonisch(f); !c.empty()) eingerichtet_.insert(c);
    }
}

void Ausgabeaufzeichnung::beenden() {
    const std::lock_guard lock(mutex_);
    // The names came in the order their files were finished, which the
    // worker threads decide: sorted, the record is the same for the same
    // gallery however it was made.
    // A name whose file never took its place (a stopped run) or has gone
    // since leaves the record with it.
    for (auto& [folder, state] : ordner_) {
        if (!state.ergaenzt) continue;
        const int dir_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (dir_fd < 0) continue;
        for (auto it = state.namen.begin(); it != state.namen.end();) {
            struct stat st {};
            if (::fstatat(dir_fd, it->c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT) {
                it = state.namen.erase(it);
            } else {
                ++it;
            }
        }
        neu_schreiben(dir_fd, state.namen, state.vorgaenger);
        ::close(dir_fd);
    }
    aktiv_ = false;
    ordner_.clear();
    eingerichtet_.clear();
}

bool Ausgabeaufzeichnung::aktiv() const {
    const std::lock_guard lock(mutex_);
    return aktiv_;
}

void Ausgabeaufzeichnung::ordner_einrichten(const std::string& folder) {
    const std::lock_guard lock(mutex_);
    if (!aktiv_) return;
    eingerichtet_.insert(normal(folder));
    if (const std::string c = kanonisch(folder); !c.empty()) eingerichtet_.insert(c);
}

Ausgabeaufzeichnung::Ordner& Ausgabeaufzeichnung::ordner(const std::string& canonical) {
    auto found = ordner_.find(canonical);
    if (found != ordner_.end()) return found->second;
    Ordner& state = ordner_[canonical];
    const std::string path = canonical + "/" + kOutputRecordName;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return state;
    // A record is a file this program made; anything else in its place
    // (a link, a folder) counts as a record that names nothing.
    state.hatte_aufzeichnung = true;
    if (!S_ISREG(st.st_mode)) return state;
    std::error_code ec;
    const std::optional<std::string> text = read_file_bounded(path, kComponentFileLimit, ec);
    if (!text) return state;
    size_t start = 0;
    while (start < text->size()) {
        size_t end = text->find('\n', start);
        if (end == std::string::npos) end = text->size();
        const std::string line = text->substr(start, end - start);
        start = end + 1;
        if (line == kEarlierGallery) state.vorgaenger = true;
        if (line.empty() || line.front() == '#') continue;
        state.namen.insert(name_aus_zeile(line));
    }
    return state;
}

bool Ausgabeaufzeichnung::darf_anlegen(const std::string& folder, const std::string& canonical) {
    if (eingerichtet_.count(normal(folder)) != 0 || eingerichtet_.count(canonical) != 0) return true;
    // A folder an earlier run wrote into (and so set up) holds a record.
    return ordner(canonical).hatte_aufzeichnung;
}

bool Ausgabeaufzeichnung::ordner_uebernehmbar(const std::string& canonical, const Ordner& state) const {
    if (!state.vorgaenger && (state.hatte_aufzeichnung || !galerieform_)) return false;
    return !ist_heimat_oder_darueber(wurzel_) && !ist_heimat_oder_darueber(canonical) && !haelt_originale(canonical);
}

bool Ausgabeaufzeichnung::uebernehmbar(const std::string& canonical, const Ordner& state, const std::string& target,
                                       const std::string& new_file) const {
    if (!ordner_uebernehmbar(canonical, state)) return false;
    if (new_file.empty()) return true;  // asked again, with the finished file, before it takes the place
    const int old_kind = art(target);
    return old_kind != -2 && old_kind == art(new_file);
}

bool Ausgabeaufzeichnung::aufzeichnen(const std::string& folder, const std::string& canonical, Ordner& state,
                                      const std::string& name) {
    if (state.namen.count(name) != 0) return true;
    const int dir_fd = open_folder_for_writing(folder);
    if (dir_fd < 0) return false;
    const int fd = ::openat(dir_fd, kOutputRecordName, O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    const int err = errno;
    ::close(dir_fd);
    if (fd < 0) {
        errno = err;
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok && st.st_size == 0) {
        // A record begun in a folder of an earlier gallery (one that holds
        // files of it) says so.
        state.vorgaenger = state.vorgaenger || (ordner_uebernehmbar(canonical, state) && haelt_fremdes(canonical, name));
        ok = alles_schreiben(fd, kRecordHeader);
        if (ok && state.vorgaenger) ok = alles_schreiben(fd, std::string(kEarlierGallery) + "\n");
    }
    ok = ok && alles_schreiben(fd, zeile(name));
    ok = ::close(fd) == 0 && ok;
    if (!ok) return false;
    state.namen.insert(name);
    state.ergaenzt = true;
    return true;
}

int Ausgabeaufzeichnung::zulassen(const std::string& target, const std::string& new_file) {
    const std::lock_guard lock(mutex_);
    return pruefen(target, new_file, true);
}

int Ausgabeaufzeichnung::skript_zulassen(const std::string& target) {
    const std::lock_guard lock(mutex_);
    return pruefen(target, "", false);
}

int Ausgabeaufzeichnung::pruefen(const std::string& target, const std::string& new_file, bool uebernahme) {
    if (!aktiv_) return 0;
    const std::string folder = folder_of(target);
    const std::string name = name_of(target);
    if (name == kOutputRecordName || name == kRecordRewrite) return EPERM;
    const std::string canonical = kanonisch(folder);
    if (canonical.empty()) return ENOENT;
    if (!liegt_in(canonical, wurzel_)) {
        run_port().log_line("Nicht geschrieben: " + target + " (außerhalb der Ausgabe)");
        return EPERM;
    }
    struct stat st {};
    const bool exists = ::lstat(target.c_str(), &st) == 0;
    Ordner& state = ordner(canonical);
    if (!exists) {
        if (!darf_anlegen(folder, canonical)) {
            run_port().log_line("Nicht geschrieben: " + target +
                                " (ein Ordner, den Galvora weder eingerichtet noch beschrieben hat)");
            return EPERM;
        }
    } else if (state.namen.count(name) == 0) {
        if (!uebernahme || !uebernehmbar(canonical, state, target, new_file)) {
            run_port().log_line("Nicht ersetzt: " + target + " (keine Datei, die Galvora geschrieben hat)");
            return EPERM;
        }
        // A file of an earlier gallery: recorded once the finished file is
        // known to be of its kind.
        if (new_file.empty()) return 0;
    }
    if (!aufzeichnen(folder, canonical, state, name)) return errno != 0 ? errno : EIO;
    return 0;
}

bool Ausgabeaufzeichnung::leeren(const std::string& folder, int flags) {
    const std::lock_guard lock(mutex_);
    const std::string canonical = kanonisch(folder);
    if (canonical.empty()) return false;
    if (!ordner(canonical).hatte_aufzeichnung) {
        // Nothing of the folder's own goes; folders of the program's inside
        // it (they hold a record) are cleaned all the same.
        run_port().log_line("Nicht geleert: " + folder +
                            " (keine Aufzeichnung der Dateien, die Galvora dort geschrieben hat)");
        leeren_in(canonical, flags, 0);
        return false;
    }
    return leeren_in(canonical, flags, 0);
}

bool Ausgabeaufzeichnung::leeren_in(const std::string& folder, int flags, int depth) {
    Ordner& state = ordner(folder);
    const int dir_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir_fd < 0) return false;
    bool all_gone = true;
    std::set<std::string> left;
    for (const std::string& name : state.namen) {
        struct stat st {};
        if (::fstatat(dir_fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone already
        // A folder of that name is not the file that was recorded.
        if (S_ISDIR(st.st_mode)) {
            left.insert(name);
            continue;
        }
        std::error_code ec;
        const bool gone = (flags & kDeleteToTrash) != 0 ? move_to_trash(folder + "/" + name, ec)
                                                        : ::unlinkat(dir_fd, name.c_str(), 0) == 0;
        if (!gone) {
            left.insert(name);
            all_gone = false;
        }
    }
    state.namen = left;
    // Sub-folders that hold a record are the run's own: cleaned by it, and
    // removed when nothing else is left in them.
    std::vector<std::string> subfolders;
    std::error_code list_ec;
    if (depth < kDeepestClean) {
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, list_ec)) {
            std::error_code ec;
            if (!entry.is_symlink(ec) && entry.is_directory(ec) &&
                ::faccessat(dir_fd, (entry.path().filename().string() + "/" + kOutputRecordName).c_str(), F_OK,
                            AT_SYMLINK_NOFOLLOW) == 0)
                subfolders.push_back(entry.path().filename().string());
        }
    }
    for (const std::string& sub : subfolders) {
        const std::string path = folder + "/" + sub;
        if (!leeren_in(path, flags, depth + 1)) all_gone = false;
        std::error_code ec;
        bool only_record = true;
        for (const fs::directory_entry& entry : fs::directory_iterator(path, ec)) {
            if (entry.path().filename() != kOutputRecordName) only_record = false;
        }
        if (!ec && only_record) {
            const int sub_fd = ::openat(dir_fd, sub.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub_fd >= 0) {
                ::unlinkat(sub_fd, kOutputRecordName, 0);
                ::close(sub_fd);
            }
            if (::unlinkat(dir_fd, sub.c_str(), AT_REMOVEDIR) == 0) ordner_.erase(path);
        }
    }
    // The record now names what is left (a folder without one gets none).
    if (state.hatte_aufzeichnung) {
        neu_schreiben(dir_fd, state.namen, state.vorgaenger);
        state.ergaenzt = false;
    }
    ::close(dir_fd);
    return all_gone;
}

}  // namespace galvora
