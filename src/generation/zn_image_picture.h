#pragma once
// The image pipeline's picture object as the run's picture object.
#include "generation/run_picture.h"
#include "image/picture/zn_image.h"

namespace galvora {

class ZNImageRunPicture : public RunPicture {
public:
    void ClonenDurchführen(bool on) override { image_.ClonenDurchführen(on); }
    bool ClonenDurchführen() const override { return image_.ClonenDurchführen(); }
    void CloneNurWennNeuerErstellen(bool on) override { image_.CloneNurWennNeuerErstellen(on); }
    void CloneSeitenwahl(int32_t v) override { image_.CloneSeitenwahl(v); }
    void CloneAusdehnung(int32_t v) override { image_.CloneAusdehnung(v); }
    void CloneBreite(int32_t v) override { image_.CloneBreite(v); }
    void CloneHöhe(int32_t v) override { image_.CloneHöhe(v); }
    void CloneMaxSize(int32_t v) override { image_.CloneMaxSize(v); }
    void CloneQualität(int32_t v) override { image_.CloneQualität(v); }
    void CloneJPGProgressiveSpeicherung(bool on) override { image_.CloneJPGProgressiveSpeicherung(on); }
    void CloneTIFKomprimierung(int32_t v) override { image_.CloneTIFKomprimierung(v); }
    void CloneFilter(int32_t v) override { image_.CloneFilter(v); }
    void MetadataKopieren(bool on) override { image_.MetadataKopieren(on); }
    void DatumZeitErhalten(bool on) override { image_.DatumZeitErhalten(on); }
    void CloneStempeln(bool on) override { image_.CloneStempeln(on); }
    void CloneEffekte(const CCloneEffekte* list) override { image_.CloneEffekte(list); }
    void ThumbDurchführen(bool on) override { image_.ThumbDurchführen(on); }
    bool ThumbDurchführen() const override { return image_.ThumbDurchführen(); }
    void ThumbVomClone(bool on) override { image_.ThumbVomClone(on); }
    void ThumbSeitenwahl(int32_t v) override { image_.ThumbSeitenwahl(v); }
    void ThumbAusdehnung(int32_t v) override { image_.ThumbAusdehnung(v); }
    void ThumbBreite(int32_t v) override { image_.ThumbBreite(v); }
    void ThumbHöhe(int32_t v) override { image_.ThumbHöhe(v); }
    void ThumbQualität(int32_t v) override { image_.ThumbQualität(v); }
    void ThumbRahmenFüllen(bool on) override { image_.ThumbRahmenFüllen(on); }
    void ThumbRahmenfarbePassend(bool on) override { image_.ThumbRahmenfarbePassend(on); }
    void ThumbRahmenfarbe(int32_t c) override { image_.ThumbRahmenfarbe(c); }
    void ThumbVergrößernErlauben(bool on) override { image_.ThumbVergrößernErlauben(on); }

    void OriginalPfad(const std::string& folder) override { image_.OriginalPfad(folder); }
    void ClonePfad(const std::string& folder) override { image_.ClonePfad(folder); }
    void ThumbPfad(const std::string& folder) override { image_.ThumbPfad(folder); }
    void ImageFile(std::shared_ptr<ZNImageFile> record) override { image_.ImageFile(std::move(record)); }
    void PictureBox(PictureBoxPort* box) override { image_.PictureBox(box); }
    bool DoIt(ErrorInfo& error) override {
        const bool done = image_.DoIt();
        error = done ? ErrorInfo{} : image_.Err();
        return done;
    }
    bool CloneErstellt() const override { return image_.CloneErstellt(); }
    bool ThumbErstellt() const override { return image_.ThumbErstellt(); }
    const std::string& ErrImage() const override { return image_.ErrImage(); }
    PictureMetadata* metadata() override { return &image_.metadata(); }
    bool supports_processing_ahead() const override { return true; }
    void take_results(RunPicture& other) override {
        if (auto* same_kind = dynamic_cast<ZNImageRunPicture*>(&other)) image_.take_results(same_kind->image_);
    }

    ZNImage& image() { return image_; }

private:
    ZNImage image_;
};

}  // namespace galvora
