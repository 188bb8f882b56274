#pragma once
// The page "Profil": the profile for the next run. Choosing another profile
// in the list loads and applies it (after asking to save the changes of the
// current one); the small button goes back to the profile chosen before; the
// current profile can be saved, saved under a new name and deleted (never the
// built-in default profile), and its description edited. Below stand the
// program version that last wrote the profile and the profile's sample
// picture (a hatched box when it has none).
//
// A load of a profile reloads every page of the dialog, this one included:
// the list is rebuilt and the new current profile chosen, and BaumAnpassen is
// raised. A load changes no state on purpose beyond that.
#include <memory>
#include <string>
#include <vector>

#include "image/picture_buffer.h"
#include "options/option_page.h"

namespace galvora {

class ZNProfil;

// The sample box, in pixels.
inline constexpr int32_t kSampleWidth = 200;
inline constexpr int32_t kSampleHeight = 150;

class CProfil : public OptionPage {
public:
    CProfil();

    // "Erstellt mit Galvora, Version" and the profile's VERSION.
    void setzeErstellversion();

    // The version as the label shows it: every part a whole number without
    // leading zeros ("2.11.02" gives "2.11.2").
    static std::string version_text(const std::string& version);
    // The sample file of a profile; "" when there is none.
    static std::string sample_file(const ZNProfil& profile);
    // What the sample box shows for a file: the picture, reduced until it fits
    // the box and framed in grey; a hatched placeholder filling the box when
    // the file is missing or unreadable; nothing when it cannot be reduced.
    static std::shared_ptr<const PictureBuffer> sample_picture(const std::string& file, int32_t box_width,
                                                               int32_t box_height);

protected:
    void fill() override;
    void language_texts() override;

private:
    std::shared_ptr<ZNProfil> selected_profile() const;
    void select(const std::string& name);
    void choose();
    void previous();
    void save();
    void save_as();
    void remove();
    void load_selected();
    void draw_sample();

    // The profile of each list item, in the list's order.
    std::vector<std::shared_ptr<ZNProfil>> item_profiles_;
};

}  // namespace galvora
