#pragma once
// A picture object that keeps every setting the run gives it and, when it
// processes a picture, only learns the original's facts (file date, size,
// dimensions and metadata) and hands them on as the clone's facts. It serves
// the picture oracle, which makes neither clone nor thumbnail, and stands in
// for the run until the image pipeline installs its own picture object; a
// picture that asks for a clone or a thumbnail fails with error 1000.
#include <memory>
#include <optional>
#include <string>

#include "generation/run_picture.h"
#include "image/metadata/picture_metadata.h"

namespace galvora {

class OriginalFactsPicture : public RunPicture {
public:
    void ClonenDurchführen(bool on) override { clonen = on; }
    bool ClonenDurchführen() const override { return clonen; }
    void CloneNurWennNeuerErstellen(bool on) override { nur_wenn_neuer = on; }
    void CloneSeitenwahl(int32_t v) override { clone_seitenwahl = v; }
    void CloneAusdehnung(int32_t v) override { clone_ausdehnung = v; }
    void CloneBreite(int32_t v) override { clone_breite = v; }
    void CloneHöhe(int32_t v) override { clone_hoehe = v; }
    void CloneMaxSize(int32_t v) override { clone_max_size = v; }
    void CloneQualität(int32_t v) override { clone_qualitaet = v; }
    void CloneJPGProgressiveSpeicherung(bool on) override { progressiv = on; }
    void CloneTIFKomprimierung(int32_t v) override { tif_komprimierung = v; }
    void CloneFilter(int32_t v) override { clone_filter = v; }
    void MetadataKopieren(bool on) override { metadaten_kopieren = on; }
    void DatumZeitErhalten(bool on) override { datum_erhalten = on; }
    void CloneStempeln(bool on) override { stempeln = on; }
    void ThumbDurchführen(bool on) override { thumbs = on; }
    bool ThumbDurchführen() const override { return thumbs; }
    void ThumbVomClone(bool on) override { thumb_vom_clone = on; }
    void ThumbSeitenwahl(int32_t v) override { thumb_seitenwahl = v; }
    void ThumbAusdehnung(int32_t v) override { thumb_ausdehnung = v; }
    void ThumbBreite(int32_t v) override { thumb_breite = v; }
    void ThumbHöhe(int32_t v) override { thumb_hoehe = v; }
    void ThumbQualität(int32_t v) override { thumb_qualitaet = v; }
    void ThumbRahmenFüllen(bool on) override { rahmen_fuellen = on; }
    void ThumbRahmenfarbePassend(bool on) override { rahmenfarbe_passend = on; }
    void ThumbRahmenfarbe(int32_t c) override { rahmenfarbe = c; }
    void ThumbVergrößernErlauben(bool on) override { vergroessern = on; }

    void OriginalPfad(const std::string& folder) override { original_pfad = folder; }
    void ClonePfad(const std::string& folder) override { clone_pfad = folder; }
    void ThumbPfad(const std::string& folder) override { thumb_pfad = folder; }
    void ImageFile(std::shared_ptr<ZNImageFile> r) override { record = std::move(r); }
    bool DoIt(ErrorInfo& error) override;
    bool CloneErstellt() const override { return false; }
    bool ThumbErstellt() const override { return false; }
    const std::string& ErrImage() const override { return err_image_; }
    PictureMetadata* metadata() override { return &metadata_; }

    // The settings as given, readable for checks.
    bool clonen = false, nur_wenn_neuer = false, progressiv = false, metadaten_kopieren = false;
    bool datum_erhalten = false, stempeln = false, thumbs = false, thumb_vom_clone = false;
    bool rahmen_fuellen = false, rahmenfarbe_passend = false, vergroessern = false;
    int32_t clone_seitenwahl = 0, clone_ausdehnung = 0, clone_breite = 0, clone_hoehe = 0;
    int32_t clone_max_size = 0, clone_qualitaet = 0, clone_filter = 0;
    int32_t tif_komprimierung = 0;
    int32_t thumb_seitenwahl = 0, thumb_ausdehnung = 0, thumb_breite = 0, thumb_hoehe = 0, thumb_qualitaet = 0;
    int32_t rahmenfarbe = 0;
    std::string original_pfad, clone_pfad, thumb_pfad;
    std::shared_ptr<ZNImageFile> record;

private:
    std::string err_image_;
    PictureMetadata metadata_;
};

}  // namespace galvora
