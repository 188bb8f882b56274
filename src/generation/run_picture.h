#pragma once
// What the run needs of its picture object: the property setters the profile
// configures, the per-picture paths and record, the processing step and its
// results, and the picture's metadata for the script built-ins. The picture
// object of the image pipeline serves the run through this interface; the
// run obtains new objects from the factory below.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "foundation/error.h"

namespace galvora {

class CCloneEffekte;
class PictureBoxPort;
class PictureMetadata;
class ZNImageFile;

class RunPicture {
public:
    virtual ~RunPicture() = default;

    // --- clone settings
    virtual void ClonenDurchführen(bool on) = 0;
    virtual bool ClonenDurchführen() const = 0;
    virtual void CloneNurWennNeuerErstellen(bool on) = 0;
    virtual void CloneSeitenwahl(int32_t value) = 0;
    virtual void CloneAusdehnung(int32_t value) = 0;
    virtual void CloneBreite(int32_t value) = 0;
    virtual void CloneHöhe(int32_t value) = 0;
    virtual void CloneMaxSize(int32_t value) = 0;
    virtual void CloneQualität(int32_t value) = 0;
    virtual void CloneJPGProgressiveSpeicherung(bool on) = 0;
    virtual void CloneTIFKomprimierung(int32_t value) = 0;
    virtual void CloneFilter(int32_t value) = 0;
    virtual void MetadataKopieren(bool on) = 0;
    virtual void DatumZeitErhalten(bool on) = 0;
    virtual void CloneStempeln(bool on) = 0;
    // The clone-effect list applied when CloneStempeln is on; it must outlive its use.
    virtual void CloneEffekte(const CCloneEffekte* list) = 0;

    // --- thumbnail settings
    virtual void ThumbDurchführen(bool on) = 0;
    virtual bool ThumbDurchführen() const = 0;
    virtual void ThumbVomClone(bool on) = 0;
    virtual void ThumbSeitenwahl(int32_t value) = 0;
    virtual void ThumbAusdehnung(int32_t value) = 0;
    virtual void ThumbBreite(int32_t value) = 0;
    virtual void ThumbHöhe(int32_t value) = 0;
    virtual void ThumbQualität(int32_t value) = 0;
    virtual void ThumbRahmenFüllen(bool on) = 0;
    virtual void ThumbRahmenfarbePassend(bool on) = 0;
    virtual void ThumbRahmenfarbe(int32_t colour) = 0;
    virtual void ThumbVergrößernErlauben(bool on) = 0;

    // --- one picture
    virtual void OriginalPfad(const std::string& folder) = 0;
    virtual void ClonePfad(const std::string& folder) = 0;
    virtual void ThumbPfad(const std::string& folder) = 0;
    virtual void ImageFile(std::shared_ptr<ZNImageFile> record) = 0;
    // Target of the preview drawing (the main window's control picture), or null.
    virtual void PictureBox(PictureBoxPort* box) = 0;
    // Processes the picture; false with the error filled when a step failed.
    virtual bool DoIt(ErrorInfo& error) = 0;
    virtual bool CloneErstellt() const = 0;
    virtual bool ThumbErstellt() const = 0;
    virtual const std::string& ErrImage() const = 0;
    // The picture's metadata lists (read lazily), or nullptr.
    virtual PictureMetadata* metadata() = 0;

    // --- processing pictures ahead of their turn (picture_pipeline.h)
    // True when objects of this kind can process a picture on a worker
    // thread. The run then configures further objects like this one, gives
    // them later pictures, and lets this object take over their results in
    // each picture's turn.
    virtual bool supports_processing_ahead() const { return false; }
    // Takes over what other (an object of the same kind and settings) left
    // after its DoIt, as if this object had processed that picture itself;
    // the facts other wrote into its record are copied by the caller.
    virtual void take_results(RunPicture& other) { (void)other; }
};

// Makes a new picture object with its default settings (neither clone nor
// thumbnail): the image pipeline's ZNImage, unless a factory was installed
// (tests install one that records what the run sets).
using RunPictureFactory = std::function<std::shared_ptr<RunPicture>()>;
void set_run_picture_factory(RunPictureFactory factory);
std::shared_ptr<RunPicture> neues_bildobjekt();

// Clone renaming as the run reads it from the profile (used when the pictures
// are named).
struct CloneUmbenennung {
    bool an = false;
    std::string maske;
    int32_t stellen = 0;
    std::string suchen;
    std::string ersetzen;
    int32_t modus = 0;
};

// What configuring the picture object leaves for the naming of the pictures.
struct Bildkonfiguration {
    CloneUmbenennung umbenennung;
    // True when CLONE_CONVERT is not 1: clones keep the original's format.
    bool format_behalten = true;
};

// Sets the picture object from the working settings in the run's fixed
// order, and hands it the clone-effect list. Thumbnail settings are read only when thumbnails are made; the
// rename settings only when clones are made and renaming is on.
Bildkonfiguration bildobjekt_konfigurieren(RunPicture& picture, const CCloneEffekte& effects);

}  // namespace galvora
