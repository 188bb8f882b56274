#pragma once
// Names and paths: splitting, validating, testing for existence, creating a
// folder chain, and the program's special folders. Paths are POSIX: a full
// path begins with "/" and the drive part of a path is always empty.
#include <string>
#include <string_view>

namespace galvora {

struct PathParts {
    std::string drive;      // always empty on this platform
    std::string directory;  // the folders, without the leading "/" and the last "/"
    std::string name;       // the file name before its last "."
    std::string extension;  // the text after the last ".", without the dot
};

// Splits a path into its parts; "/a/b/pic.jpg" gives directory "a/b", name
// "pic", extension "jpg".
PathParts pfad_zerlegen(std::string_view path);

// Valid as a single file name: 1 to 255 characters, no blank at either end, not
// beginning with "$", not "." or "..", none of " / \ : | < > * ?
bool dateiname_gueltig(std::string_view name);

// Valid as a full path: 1 to 255 characters, beginning with "/", none of " | < > * ?
bool pfadname_gueltig(std::string_view path);

// Mode 1: an existing entry that is not a folder; mode 2: an existing folder;
// any other mode: either. Symbolic links are followed.
bool verzeichnis_existiert(std::string_view path, int mode);

// Creates every missing folder along the path and returns the trimmed path.
// Throws GalvoraError 1001 "No valid Pathname" (source "MakeFullDir") for a path
// that is not a full path, and the file system's error (source "MakeFullDir")
// when a folder cannot be created or the path does not end as a folder.
// `reached`, when given, receives the part of the path that was being created
// when the error came (the whole path when it came at the end).
std::string MakeFullDir(std::string_view path, std::string* reached = nullptr);

// Special folders by their old folder numbers: 26 the per-user data folder
// ($XDG_DATA_HOME/galvora), 43 the program's resource folder; "" for others.
std::string spezialordner_pfad(int folder_number);

}  // namespace galvora
