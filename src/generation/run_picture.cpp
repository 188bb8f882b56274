#include "generation/run_picture.h"

#include "generation/zn_image_picture.h"
#include "generation/settings_access.h"
#include "profile/clone_effect_list.h"

namespace galvora {

namespace {

RunPictureFactory& factory_slot() {
    static RunPictureFactory factory;
    return factory;
}

}  // namespace

void set_run_picture_factory(RunPictureFactory factory) { factory_slot() = std::move(factory); }

std::shared_ptr<RunPicture> neues_bildobjekt() {
    if (factory_slot()) return factory_slot()();
    return std::make_shared<ZNImageRunPicture>();
}

Bildkonfiguration bildobjekt_konfigurieren(RunPicture& p, const CCloneEffekte& effects) {
    Bildkonfiguration result;

    p.ClonenDurchführen(setting_is_one(kSetGenerateClones));
    if (p.ClonenDurchführen() && setting_is_one(kSetCloneRename)) {
        result.umbenennung.an = true;
        result.umbenennung.maske = setting_text(kSetCloneRenameMask);
        result.umbenennung.stellen = setting_int(kSetCloneRenameDigits);
        result.umbenennung.suchen = setting_text(kSetCloneRenameFind);
        result.umbenennung.ersetzen = setting_text(kSetCloneRenameReplace);
        result.umbenennung.modus = setting_int(kSetCloneRenameCase);
    }
    p.CloneNurWennNeuerErstellen(setting_is_one(kSetCloneOnlyIfNewer));
    result.format_behalten = !setting_is_one(kSetCloneConvert);
    p.CloneSeitenwahl(setting_int(kSetCloneSelectedSide));
    p.CloneAusdehnung(setting_int(kSetCloneSize));
    p.CloneBreite(setting_int(kSetCloneWidth));
    p.CloneHöhe(setting_int(kSetCloneHeight));
    if (setting_is_one(kSetCloneMaxsize)) {
        p.CloneMaxSize(setting_int(kSetCloneMaxsizeBytes));
        p.CloneQualität(setting_int(kSetCloneMinQuality));
    } else {
        p.CloneMaxSize(0);
        p.CloneQualität(setting_int(kSetCloneQuality));
    }
    p.CloneJPGProgressiveSpeicherung(setting_is_one(kSetCloneJpgProgressive));
    switch (setting_int(kSetCloneTifCompmode)) {
        case 0: p.CloneTIFKomprimierung(1); break;  // none
        case 1: p.CloneTIFKomprimierung(5); break;  // LZW
        case 2: p.CloneTIFKomprimierung(8); break;  // Deflate
        default: break;                              // the object's own value stays
    }
    p.CloneFilter(setting_int(kSetCloneFilter));
    p.MetadataKopieren(setting_is_one(kSetCloneMetadata));
    p.DatumZeitErhalten(setting_is_one(kSetClonePreserveDate));
    p.CloneStempeln(effects.count() > 0);
    p.CloneEffekte(&effects);

    p.ThumbDurchführen(setting_is_one(kSetThumbnails));
    if (p.ThumbDurchführen()) {
        p.ThumbVomClone(setting_is_one(kSetThumbClone));
        p.ThumbSeitenwahl(setting_int(kSetThumbSelectedSide));
        p.ThumbAusdehnung(setting_int(kSetThumbSize));
        p.ThumbBreite(setting_int(kSetThumbWidth));
        p.ThumbHöhe(setting_int(kSetThumbHeight));
        p.ThumbQualität(setting_int(kSetThumbQuality));
        p.ThumbRahmenFüllen(setting_is_one(kSetThumbFramefill));
        p.ThumbRahmenfarbePassend(setting_is_one(kSetThumbFramefillColorFits));
        p.ThumbRahmenfarbe(setting_int(kSetThumbFramefillColor));
        p.ThumbVergrößernErlauben(setting_is_one(kSetThumbEnlarge));
    }
    return result;
}

}  // namespace galvora
