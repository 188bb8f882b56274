#include "profile/settings_table.h"

#include <string>

#include "foundation/error.h"
#include "foundation/language.h"
#include "profile/number_text.h"
#include "profile/profile_script.h"
#include "profile/profile_lists.h"

namespace galvora {

bool profil_geaendert = false;
bool profil_ungespeichert = false;

namespace {

// Every keyed entry with its default. The page heads declare UTF-8, since the
// pages are written in UTF-8. Names of pictures, folders and pages come from
// whoever made the picture tree: the templates write them through a chain of
// `replace` calls that turns "&", "<", ">" and '"' into their character
// references, so a name is shown as text and never read as markup, in element
// content and in attribute values alike. References are URL-encoded by the
// run and need nothing more.
constexpr SettingDefinition kDefinitions[] = {
    {1, "VERSION", "0", "", ""},
    {2, "KOMMENTAR", "", "", ""},
    {3, "BMP", "0", "", ""},
    {4, "EMF", "0", "", ""},
    {5, "GIF", "0", "", ""},
    {6, "JPG", "1", "", ""},
    {7, "JP2", "0", "", ""},
    {8, "PCD", "0", "", ""},
    {9, "PCX", "0", "", ""},
    {10, "PNG", "0", "", ""},
    {11, "PSD", "0", "", ""},
    {12, "RAW", "0", "", ""},
    {13, "TGA", "0", "", ""},
    {14, "TIF", "0", "", ""},
    {15, "BMP_EXT", "BMP", "BMP", ""},
    {16, "EMF_EXT", "EMF,WMF", "EMF", ""},
    {17, "GIF_EXT", "GIF", "GIF", ""},
    {18, "JPG_EXT", "JPG", "JPG", ""},
    {19, "JP2_EXT", "J2K,JP2", "JP2", ""},
    {20, "PCD_EXT", "PCD", "PCD", ""},
    {21, "PCX_EXT", "PCX", "PCX", ""},
    {22, "PNG_EXT", "PNG", "PNG", ""},
    {23, "PSD_EXT", "PSD", "PSD", ""},
    {24, "RAW_EXT", "CR2,CRW,DCR,DNG,MRW,NEF,ORF,PEF,RAF,RAW,SRF,SR2", "RAW", ""},
    {25, "TGA_EXT", "TGA", "TGA", ""},
    {26, "TIF_EXT", "TIF", "TIF", ""},
    {27, "DIR_LEVEL", "0", "", ""},
    {28, "DIR_SORT", "1", "", ""},
    {29, "DIR_SORTDIRECTION", "0", "", ""},
    {30, "FILTER", "*", "", ""},
    {31, "IMAGE_ORACLE", "", "", ""},
    {32, "PCD_FORMAT", "5", "", ""},
    {33, "THUMBNAILS", "1", "", ""},
    {34, "THUMB_DIRNAME", "thumbs", "", ""},
    {35, "THUMB_CLONE", "0", "", ""},
    {36, "THUMBDIR_CLEAN", "0", "", ""},
    {37, "THUMB_SIZE", "120", "", ""},
    {38, "THUMB_WIDTH", "120", "", ""},
    {39, "THUMB_HEIGHT", "120", "", ""},
    {40, "THUMB_SELECTED_SIDE", "1", "", ""},
    {41, "THUMB_FRAMEFILL", "0", "", ""},
    {42, "THUMB_FRAMEFILLCOLOR", "16777215", "", ""},
    {43, "THUMB_FRAMEFILLCOLORFITS", "0", "", ""},
    {44, "THUMB_QUALITY", "60", "", ""},
    {45, "THUMB_ENLARGE", "0", "", ""},
    {46, "THUMB_RENAME", "0", "", ""},
    {47, "THUMB_RENAME_MASK", "thumb_#", "", ""},
    {48, "THUMB_RENAME_DIGITS", "4", "", ""},
    {49, "THUMB_RENAME_CASE", "0", "", ""},
    {50, "THUMB_RENAME_FIND", "", "", ""},
    {51, "THUMB_RENAME_REPLACE", "", "", ""},
    {52, "GENERATE_CLONES", "0", "", ""},
    {53, "CLONE_PATH", "", "", ""},
    {54, "CLONE_APPEND_BASENAME", "0", "", ""},
    {55, "CLONE_COPY", "1", "", ""},
    {56, "CLONE_CONVERT", "1", "", ""},
    {57, "CLONE_SIZE_ORIGINAL", "1", "", ""},
    {58, "CLONE_SIZE", "640", "", ""},
    {59, "CLONE_WIDTH", "640", "", ""},
    {60, "CLONE_HEIGHT", "640", "", ""},
    {61, "CLONE_SELECTED_SIDE", "0", "", ""},
    {62, "CLONE_ONLY_IF_NEWER", "0", "", ""},
    {63, "CLONE_DIRCLEAN", "0", "", ""},
    {64, "CLONE_QUALITY", "75", "", ""},
    {65, "CLONE_MAXSIZE", "0", "", ""},
    {66, "CLONE_MAXSIZEBYTES", "100000", "", ""},
    {67, "CLONE_MINQUALITY", "25", "", ""},
    {68, "CLONE_FILTER", "-2", "", ""},
    {69, "CLONE_METADATA", "0", "", ""},
    {70, "CLONE_RENAME", "0", "", ""},
    {71, "CLONE_RENAME_MASK", "clone_#", "", ""},
    {72, "CLONE_RENAME_DIGITS", "4", "", ""},
    {73, "CLONE_RENAME_CASE", "0", "", ""},
    {74, "CLONE_RENAME_FIND", "", "", ""},
    {75, "CLONE_RENAME_REPLACE", "", "", ""},
    {76, "CLONE_PRESERVE_DATE", "0", "", ""},
    {77, "CLONE_TIF_COMPMODE", "0", "", ""},
    {78, "CLONE_JPG_PROGRESSIVE", "0", "", ""},
    {79, "ZANTOSCRIPT_FILE", "", "", ""},
    {80, "GENERATE_HTML", "1", "", ""},
    {81, "HTML_BASE", "html", "", ""},
    {82, "HTML_DIRCLEAN", "0", "", ""},
    {83, "HTML_EXTENSION", "html", "", ""},
    {84, "THUMB_SORTIERUNG", "1", "", ""},
    {85, "THUMB_SORTIERRICHTUNG", "0", "", ""},
    {86, "DECO_PATH", "deco", "", ""},
    {87, "DECO_COPY", "1", "", ""},
    {88, "DECO_COPY_EVER", "1", "", ""},
    {89, "DECO_POOL", "", "", ""},
    {90, "DECO_SOURCE", "standard", "", ""},
    {91, "LAUNCH_BROWSER", "1", "", ""},
    {92, "HTML_DOCTYPE", "", "", ""},
    {93, "HTML_HTML", "", "", ""},
    {94, "HTML_CHANGED", "0", "", ""},
    {95, "GENERATE_FRAME", "0", "", ""},
    {96, "HTML_FRAME_FILENAME", "start", "", ""},
    {97, "HTML_FRAME_IN_BASEDIR", "0", "", ""},
    {98, "HTML_FRAME_HEAD_DISABLE_ZANTOSCRIPT", "0", "", ""},
    {99, "GENERATE_INDEX", "0", "", ""},
    {100, "HTML_INDEX_FILENAME", "index", "", ""},
    {101, "HTML_INDEX_IN_BASEDIR", "0", "", ""},
    {102, "HTML_INDEX_ENTRIES_PER_LINE", "6", "", ""},
    {103, "HTML_INDEX_FIRST_THUMBPAGE", "0", "", ""},
    {104, "HTML_INDEX_GROUP", "0", "", ""},
    {105, "HTML_INDEX_HEAD_DISABLE_ZANTOSCRIPT", "0", "", ""},
    {106, "HTML_INDEX_PRINT_DATE", "1", "", ""},
    {107, "GENERATE_THUMBPAGES", "1", "", ""},
    {108, "HTML_DEFAULT", "default", "", ""},
    {109, "HTML_SPLIT", "0", "", ""},
    {110, "THUMBS_PER_LINE", "4", "", ""},
    {111, "LINES_PER_PAGE", "5", "", ""},
    {112, "SPLIT_DIGITS", "1", "", ""},
    {113, "NAV_EXTENDED", "0", "", ""},
    {114, "HTML_VERWEISFOLGE", "1", "", ""},
    {115, "REF_POS", "4", "", ""},
    {116, "HTML_HEAD_DISABLE_ZANTOSCRIPT", "0", "", ""},
    {117, "PRINT_DATE", "1", "", ""},
    {118, "GENERATE_PICPAGE", "1", "", ""},
    {119, "HTML_BILD_NAV_EXTENDED", "0", "", ""},
    {120, "HTML_BILD_VERWEISFOLGE", "1", "", ""},
    {121, "HTML_BILD_REF_POS", "4", "", ""},
    {122, "HTML_BILD_HEAD_DISABLE_ZANTOSCRIPT", "0", "", ""},
    {123, "HTML_BILD_PRINT_DATE", "1", "", ""},
    {125, "HTML_INDEX_HEAD", "<meta name=\"generator\" content=\"Galvora\">\r\n<meta name=\"keywords\" content=\"Galvora\">\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">", "", "IndexHead"},
    {126, "HTML_INDEX_TITLE", "Galvora - Index", "", "IndexDoctitle"},
    {127, "HTML_INDEX_BODY_TAG", "bgcolor=\"#FFFFFF\"", "", "IndexBody"},
    {128, "HTML_INDEX_POSTBODY", "<h1 style=\"text-align:center\">Galvora - Index</h1>", "", "IndexTitle"},
    {129, "HTML_INDEX_PRE_TABLE", "", "", "IndexPreTable"},
    {130, "HTML_INDEX_TABLE_OPEN", "<table align=\"center\" border=\"0\" cellpadding=\"5\" cellspacing=\"0\">\r\n", "", "IndexTableOpen"},
    {131, "HTML_INDEX_TR_OPEN", "<tr>\r\n", "", "IndexTrOpen"},
    {132, "HTML_INDEX_TABLE", "align=\"center\" border=\"0\" cellpadding=\"5\" cellspacing=\"0\"", "", ""},
    {133, "HTML_INDEX_TD_OPEN", "<td align=\"center\">", "", "IndexTdOpen"},
    {134, "HTML_INDEX_TD_TAG", "align=\"center\"", "", ""},
    {135, "HTML_INDEX_ENTRY", "<a href=\"{src_ref}\">{replace(replace(replace(replace(src_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}</a>", "", "IndexEntry"},
    {136, "HTML_INDEX_TD_CLOSE", "</td>\r\n", "", "IndexTdClose"},
    {137, "HTML_INDEX_TR_CLOSE", "</tr>\r\n", "", "IndexTrClose"},
    {138, "HTML_INDEX_TABLE_CLOSE", "</table>\r\n", "", "IndexTableClose"},
    {139, "HTML_INDEX_POST_TABLE", "", "", "IndexPostTable"},
    {140, "HTML_INDEX_POST_POST_TABLE", "", "", "IndexPostPostTable"},
    {141, "HTML_INDEX_FOOTER", "", "", "IndexFooter"},
    {144, "HTML_FRAME_HEAD", "<meta name=\"generator\" content=\"Galvora\">\r\n<meta name=\"keywords\" content=\"Galvora\">\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">", "", "FrameHead"},
    {145, "HTML_FRAME_TITLE", "Galvora - Frame", "", "FrameDoctitle"},
    {146, "HTML_FRAME_CONTENT", "", "", "FrameContent"},
    {149, "HTML_HEAD", "<meta name=\"generator\" content=\"Galvora\">\r\n<meta name=\"keywords\" content=\"Galvora\">\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">", "", "ThumbHead"},
    {150, "HTML_TITLE", "Galvora - Thumbnails", "", "ThumbDoctitle"},
    {151, "HTML_BODY", "bgcolor=\"#FFFFFF\"", "", "ThumbBody"},
    {152, "HTML_POST_BODY", "<h1 style=\"text-align:center\">Galvora - Thumbnails</h1>", "", "ThumbTitle"},
    {153, "HTML_THUMB_PREV_PREV", "<div style=\"text-align:center\">", "", "ThumbPrevPrev"},
    {154, "HTML_FIRST", "<a href=\"{first_ref}\"><img src=\"{deco_ref}/gesamtanfang.gif\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(first_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(first_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a> ", "", "ThumbAllFirst"},
    {155, "HTML_PATH_FIRST", "<a href=\"{first_path_ref}\"><img src=\"{deco_ref}/pfadanfang.gif\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(first_path_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(first_path_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a> ", "", "ThumbPathFirst"},
    {156, "HTML_PREV", "<a href=\"{prev_ref}\"><img src=\"{deco_ref}/links.gif\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(prev_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(prev_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a> ", "", "ThumbPrev"},
    {157, "HTML_UP", "<a href=\"{up_ref}\"><img src=\"{deco_ref}/home.gif\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(up_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(up_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a>", "", "ThumbUp"},
    {158, "HTML_NEXT", " <a href=\"{next_ref}\"><img src=\"{deco_ref}/rechts.gif\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(next_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(next_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a>", "", "ThumbNext"},
    {159, "HTML_PATH_LAST", " <a href=\"{last_path_ref}\"><img src=\"{deco_ref}/pfadende.gif\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(last_path_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(last_path_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a> ", "", "ThumbPathLast"},
    {160, "HTML_LAST", " <a href=\"{last_ref}\"><img src=\"{deco_ref}/gesamtende.gif\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(last_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(last_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a>", "", "ThumbAllLast"},
    {161, "HTML_THUMB_NEXT_NEXT", "</div>", "", "ThumbNextNext"},
    {162, "HTML_PRE_TABLE", "", "", "ThumbPreTable"},
    {163, "HTML_THUMB_TABLE_OPEN", "<table align=\"center\" border=\"0\" cellpadding=\"10\" cellspacing=\"0\">\r\n", "", "ThumbTableOpen"},
    {164, "HTML_TABLE_TAG", "align=\"center\" border=\"0\" cellpadding=\"10\" cellspacing=\"0\"", "", ""},
    {165, "HTML_THUMB_TR_OPEN", "<tr>\r\n", "", "ThumbTrOpen"},
    {166, "HTML_THUMB_TD_OPEN", "<td align=\"center\">", "", "ThumbTdOpen"},
    {167, "HTML_THUMB_TD_TAG", "align=\"center\"", "", ""},
    {168, "HTML_THUMB_PIC_TAG", "<a href=\"{src_ref}\"><img src=\"{thumb_ref}\" style=\"border-style:none\" width=\"{thumb_dimx}\" height=\"{thumb_dimy}\" alt=\"{replace(replace(replace(replace(file, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(file, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"><br><font size=\"1\">{replace(replace(replace(replace(FILE, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}</font></a><br><font size=\"1\">{DIM}<br>{SIZE_BYTE} Bytes</font>", "", "ThumbPic"},
    {169, "HTML_THUMB_TD_CLOSE", "</td>\r\n", "", "ThumbTdClose"},
    {170, "HTML_THUMB_TR_CLOSE", "</tr>\r\n", "", "ThumbTrClose"},
    {171, "HTML_THUMB_TABLE_CLOSE", "</table>\r\n", "", "ThumbTableClose"},
    {172, "HTML_POST_TABLE", "", "", "ThumbPostTable"},
    {173, "HTML_THUMB_FOOTER", "", "", "ThumbFooter"},
    {176, "HTML_PIC_HEAD", "<meta name=\"generator\" content=\"Galvora\">\r\n<meta name=\"keywords\" content=\"Galvora\">\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">", "", "PicHead"},
    {177, "HTML_PIC_TITLE", "Galvora - {replace(replace(replace(replace(doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}", "", "PicDoctitle"},
    {178, "HTML_PIC_BODY", "bgcolor=\"#FFFFFF\"", "", "PicBody"},
    {179, "HTML_PIC_POST_BODY", "", "", "PicTitle"},
    {180, "HTML_PIC_PREV_PREV", "<div style=\"text-align:center\">", "", "PicPrevPrev"},
    {181, "HTML_PIC_FIRST", "<a href=\"{first_ref}\"><img src=\"{deco_ref}/gesamtanfang.gif\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(first_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(first_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a> ", "", "PicAllFirst"},
    {182, "HTML_PIC_PATH_FIRST", "<a href=\"{first_path_ref}\"><img src=\"{deco_ref}/pfadanfang.gif\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(first_path_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(first_path_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a> ", "", "PicPathFirst"},
    {183, "HTML_PIC_PAGE_FIRST", "<a href=\"{first_page_ref}\"><img src=\"{deco_ref}/seitenanfang.gif\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(first_page_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(first_page_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a> ", "", "PicPageFirst"},
    {184, "HTML_PIC_PREV", "<a href=\"{prev_ref}\"><img src=\"{deco_ref}/links.gif\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(prev_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(prev_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a> ", "", "PicPrev"},
    {185, "HTML_PIC_UP", "<a href=\"{up_ref}\"><img src=\"{deco_ref}/index.gif\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(up_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(up_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a>", "", "PicUp"},
    {186, "HTML_PIC_NEXT", " <a href=\"{next_ref}\"><img src=\"{deco_ref}/rechts.gif\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(next_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(next_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a>", "", "PicNext"},
    {187, "HTML_PIC_PAGE_LAST", " <a href=\"{last_page_ref}\"><img src=\"{deco_ref}/seitenende.gif\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(last_page_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(last_page_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a>", "", "PicPageLast"},
    {188, "HTML_PIC_PATH_LAST", " <a href=\"{last_path_ref}\"><img src=\"{deco_ref}/pfadende.gif\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(last_path_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(last_path_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a>", "", "PicPathLast"},
    {189, "HTML_PIC_LAST", " <a href=\"{last_ref}\"><img src=\"{deco_ref}/gesamtende.gif\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(last_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(last_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a>", "", "PicAllLast"},
    {190, "HTML_PIC_NEXT_NEXT", "</div><br>", "", "PicNextNext"},
    {191, "HTML_PIC_PREPIC", "", "", "PicPrePic"},
    {192, "HTML_PIC_PIC", "<div style=\"text-align:center\"><a href=\"{up_ref}\"><img src=\"{pic_ref}\" style=\"border-style:none\" alt=\"{replace(replace(replace(replace(doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a></div>", "", "PicPic"},
    {193, "HTML_PIC_POSTPIC", "", "", "PicPostPic"},
    {194, "HTML_PIC_FOOTER", "", "", "PicFooter"},
};

struct DialogTitles {
    std::string save;
    std::string load;
    std::string remove;
};

DialogTitles& dialog_titles() {
    static DialogTitles titles;
    return titles;
}

}  // namespace

std::span<const SettingDefinition> setting_definitions() { return kDefinitions; }

bool setting_takes_number(int index) {
    // VERSION has a number as default but holds the program version as text.
    constexpr int kVersion = 1;
    if (index == kVersion) return false;
    for (const SettingDefinition& d : kDefinitions) {
        if (d.index != index) continue;
        int32_t ignored = 0;
        return text_to_int32(d.default_value, ignored);
    }
    return false;
}

Profiltabelle& Profileinstellungen() {
    static Profiltabelle table;
    return table;
}

Profiltabelle& geladene_Profileinstellungen() {
    static Profiltabelle table;
    return table;
}

std::array<std::string, kProfileEntryCount>& profileintrag_beschreibung() {
    static std::array<std::string, kProfileEntryCount> captions;
    return captions;
}

const std::string& profil_titel_speichern() { return dialog_titles().save; }
const std::string& profil_titel_laden() { return dialog_titles().load; }
const std::string& profil_titel_loeschen() { return dialog_titles().remove; }

void check_profile_index(int index, const char* source) {
    if (index < 0 || index >= kProfileEntryCount) throw GalvoraError(9, source, "Subscript out of range");
}

const std::string& profilwert(int index) {
    check_profile_index(index, "profilwert");
    return Profileinstellungen()[static_cast<size_t>(index)].value;
}

void profileintrag_definieren(int index, std::string_view caption, std::string_view key,
                              std::string_view default_value) {
    check_profile_index(index, "profileintrag_definieren");
    const auto i = static_cast<size_t>(index);
    profileintrag_beschreibung()[i] = caption;
    geladene_Profileinstellungen()[i] = Profileintrag{std::string(key), std::string(default_value)};
}

void profilvorlagen_vorbelegen() {
    auto& captions = profileintrag_beschreibung();
    for (const auto& d : kDefinitions) {
        if (*d.caption_key != '\0') captions[static_cast<size_t>(d.index)] = inq("Profile", d.caption_key);
    }
    auto& titles = dialog_titles();
    titles.save = inq("Profile", "ProfileSave");
    titles.load = inq("Profile", "ProfileLoad");
    titles.remove = inq("Profile", "ProfileDelete");
}

void profil_schluessel_definieren() {
    // Captions follow the user-interface language from the first definition on.
    static const bool hook_installed = [] {
        set_language_changed_hook(&profilvorlagen_vorbelegen);
        return true;
    }();
    (void)hook_installed;

    for (int index = 0; index < kProfileEntryCount; ++index) profileintrag_definieren(index, "", "", "");
    for (const auto& d : kDefinitions) profileintrag_definieren(d.index, d.caption, d.key, d.default_value);
    profilvorlagen_vorbelegen();

    LoadedProfileModules().clear();
    script_engine_frisch();
    LoadedCloneEffects().clear();
    LoadedCloneEffects().verändert_reset();

    profil_ungespeichert = false;
    profil_geaendert = false;
    LoadedProfileModules().verändert_reset();
    ProfileModules().verändert_reset();
}

void profilwert_setzen(int index, std::string_view value) {
    check_profile_index(index, "profilwert_setzen");
    auto& entry = Profileinstellungen()[static_cast<size_t>(index)];
    if (entry.value != value) {
        entry.value = value;
        profil_geaendert = true;
    }
}

void profilwert_setzen(int index, double value) { profilwert_setzen(index, std::string_view(number_to_text(value))); }

}  // namespace galvora
