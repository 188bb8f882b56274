#pragma once
// ZNImage: carries one picture through one processing step. The caller sets
// the original's record, the clone and thumbnail settings, calls DoIt and
// reads the results back: whether a clone and a thumbnail were written, the
// quality used, the clone's size (in the record) and the error.
//
// DoIt checks which of the clone and the thumbnail already exist and are up to
// date (by file date, file size and the dimensions in the file header, without
// decoding), reads the original at most once, makes the clone (resize,
// metadata, the "_clone" hook, the clone-effect list, the write, the file
// date) or copies the original unchanged, then makes the thumbnail and draws
// the preview into the picture box when one is set.
#include <cstdint>
#include <memory>
#include <string>

#include "foundation/error.h"
#include "image/captured_metadata.h"
#include "image/current_image.h"
#include "image/image_file_record.h"
#include "image/metadata/picture_metadata.h"
#include "image/picture/clone_effect_steps.h"
#include "image/picture/picture_box_port.h"
#include "image/picture_buffer.h"

namespace galvora {

class CCloneEffekte;

class ZNImage {
public:
    ZNImage();
    ~ZNImage();
    ZNImage(const ZNImage&) = delete;
    ZNImage& operator=(const ZNImage&) = delete;

    // Releases the buffers and the metadata lists and clears the error; keeps
    // every setting and the results of the last DoIt.
    void reset();

    // The original's record; DoIt also writes the clone and thumbnail facts
    // into it. DoIt needs one.
    void ImageFile(std::shared_ptr<ZNImageFile> record) { record_ = std::move(record); }
    const std::shared_ptr<ZNImageFile>& ImageFile() const { return record_; }

    // Target of the preview drawing, or null. The box must outlive its use.
    void PictureBox(PictureBoxPort* box) { picture_box_ = box; }

    void OriginalPfad(std::string path) { original_dir_ = std::move(path); }

    // Takes over the buffer given (a buffer already held is replaced).
    void CloneRGB(PictureBuffer buffer) { clone_ = std::move(buffer); }
    PictureBuffer& CloneRGB() { return clone_; }
    const PictureBuffer& CloneRGB() const { return clone_; }
    void CloneDimX(int32_t value);
    int32_t CloneDimX() const;
    void CloneDimY(int32_t value);
    int32_t CloneDimY() const;
    void CloneRotated(bool value) { clone_rotated_ = value; }
    bool OriginalRotated() const { return clone_rotated_; }

    void ClonenDurchführen(bool value) { clone_on_ = value; }
    bool ClonenDurchführen() const { return clone_on_; }
    void ClonePfad(std::string path) { clone_dir_ = std::move(path); }
    void CloneAusdehnung(int32_t value) { clone_length_ = value; }
    void CloneBreite(int32_t value) { clone_width_ = value; }
    void CloneHöhe(int32_t value) { clone_height_ = value; }
    void CloneSeitenwahl(int32_t value) { clone_side_ = value; }
    void CloneQualität(int32_t value) { clone_quality_ = value; }
    void CloneMaxSize(int32_t value) { clone_max_size_ = value; }
    void CloneTIFKomprimierung(int32_t value) { clone_tiff_compression_ = value; }
    void CloneJPGProgressiveSpeicherung(bool value) { clone_progressive_ = value; }
    void CloneFilter(int32_t value) { clone_filter_ = value; }
    void CloneNurWennNeuerErstellen(bool value) { clone_only_when_newer_ = value; }
    void CloneStempeln(bool value) { clone_effects_on_ = value; }
    bool CloneErstellt() const { return clone_made_; }

    void ThumbDurchführen(bool value) { thumb_on_ = value; }
    bool ThumbDurchführen() const { return thumb_on_; }
    void ThumbPfad(std::string path) { thumb_dir_ = std::move(path); }
    void ThumbVomClone(bool value) { thumb_from_clone_ = value; }
    void ThumbAusdehnung(int32_t value) { thumb_length_ = value; }
    void ThumbBreite(int32_t value) { thumb_width_ = value; }
    void ThumbHöhe(int32_t value) { thumb_height_ = value; }
    void ThumbSeitenwahl(int32_t value) { thumb_side_ = value; }
    // The setter takes the requested quality, the getter gives the quality
    // the writer used for the last thumbnail.
    void ThumbQualität(int32_t value) { thumb_quality_ = value; }
    int32_t ThumbQualität() const { return thumb_quality_used_; }
    void ThumbVergrößernErlauben(bool value) { thumb_enlarge_ = value; }
    void ThumbRahmenFüllen(bool value) { thumb_fill_box_ = value; }
    void ThumbRahmenfarbePassend(bool value) { thumb_fill_average_ = value; }
    void ThumbRahmenfarbe(int32_t colour) { thumb_fill_colour_ = colour; }
    bool ThumbErstellt() const { return thumb_made_; }

    void MetadataKopieren(bool value) { copy_metadata_ = value; }
    void DatumZeitErhalten(bool value) { keep_date_ = value; }

    // The full path of the file whose step failed in the last DoIt, or empty.
    const std::string& ErrImage() const { return err_image_; }
    // The error of the last DoIt (number 0 after success).
    const ErrorInfo& Err() const { return error_; }

    // Runs the whole step. True on success; on failure the error and ErrImage
    // tell what failed, and nothing after the failing step ran.
    bool DoIt();

    // Grabs the picture box content, resampled to width x height, as the
    // clone (for the clone-effect preview). Needs a record.
    void usePicturebox(PictureBoxPort& box, int32_t width, int32_t height);

    // The picture's metadata lists, read once on first use.
    PictureMetadata& metadata() { return metadata_; }
    // Reads this picture's metadata once (JPEG and PNG originals only).
    void LiesMetadaten();
    bool metadata_read() const { return metadata_.metadata_read(); }

    // The clone-effect list applied with CloneStempeln; by default the
    // profile's working list. The list must outlive the object's use of it.
    void CloneEffekte(const CCloneEffekte* list) { effects_ = list; }
    // The calls made for the list's items (tests and previews replace them).
    void effect_steps(CloneEffectSteps steps) { steps_ = std::move(steps); }

    // The decoded original (empty until a step needed it).
    const PictureBuffer& original_buffer() const { return original_; }
    const PictureBuffer& thumbnail_buffer() const { return thumbnail_; }

private:
    class Surface;
    struct Run;

    void FreeImageBuffers();
    bool fail(Run& run, const std::string& path, ErrorInfo error);
    bool fail(Run& run, const std::string& path, const GalvoraError& error);
    bool check_existing(Run& run);
    bool read_original_facts(Run& run);
    void decide_clone(Run& run);
    bool make_clone(Run& run);
    bool apply_effect_list(Run& run);
    bool make_thumbnail(Run& run);
    bool draw_preview(Run& run);
    // Read the original, or the clone file back, upright and no larger than
    // needed for min_width x min_height.
    bool read_original(Run& run, int32_t min_width, int32_t min_height);
    bool read_clone(Run& run, int32_t min_width, int32_t min_height);
    // Size of a thumbnail made from a source of width x height, before the box.
    void thumbnail_size(int32_t width, int32_t height, int32_t& thumb_width, int32_t& thumb_height) const;
    void make_current(bool on);

    std::shared_ptr<ZNImageFile> record_;
    PictureBoxPort* picture_box_ = nullptr;
    std::string original_dir_;
    std::string clone_dir_;
    std::string thumb_dir_;

    PictureBuffer original_;
    PictureBuffer clone_;
    PictureBuffer thumbnail_;
    std::shared_ptr<CapturedMetadata> original_meta_;
    PictureMetadata metadata_;
    std::shared_ptr<Surface> surface_;

    bool clone_rotated_ = false;
    bool clone_on_ = false;
    int32_t clone_length_ = 0;
    int32_t clone_width_ = 0;
    int32_t clone_height_ = 0;
    int32_t clone_side_ = 0;
    int32_t clone_quality_ = 0;
    int32_t clone_max_size_ = 0;
    int32_t clone_tiff_compression_ = 0;
    bool clone_progressive_ = false;
    int32_t clone_filter_ = 0;
    bool clone_only_when_newer_ = false;
    bool clone_effects_on_ = false;
    bool clone_made_ = false;

    bool thumb_on_ = false;
    bool thumb_from_clone_ = false;
    int32_t thumb_length_ = 0;
    int32_t thumb_width_ = 0;
    int32_t thumb_height_ = 0;
    int32_t thumb_side_ = 0;
    int32_t thumb_quality_ = 0;
    int32_t thumb_quality_used_ = 0;
    bool thumb_enlarge_ = false;
    bool thumb_fill_box_ = false;
    bool thumb_fill_average_ = false;
    int32_t thumb_fill_colour_ = 0;
    bool thumb_made_ = false;

    bool copy_metadata_ = false;
    bool keep_date_ = false;

    std::string err_image_;
    ErrorInfo error_;
    const CCloneEffekte* effects_ = nullptr;
    CloneEffectSteps steps_;
};

}  // namespace galvora
