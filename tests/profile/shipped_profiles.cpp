#include "shipped_profiles.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "profile/border.h"
#include "profile/picture_effect.h"
#include "profile/profile_file.h"
#include "profile/profile_lists.h"
#include "profile/profiles.h"
#include "profile/settings_table.h"
#include "profile/text_stamp.h"

namespace galvora::testing {
namespace {

// Profile values and module texts break their lines with CR LF.
std::string crlf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

void set(std::string_view key, std::string_view value) {
    for (const SettingDefinition& definition : setting_definitions()) {
        if (key == definition.key) {
            profilwert_setzen(definition.index, crlf(value));
            return;
        }
    }
    ADD_FAILURE() << "no setting " << key;
}

// Helpers of the page templates, in the profile's own script language, for
// both languages: a line that starts with "de|" or "en|" belongs to the
// module of that language only. They read only the metadata that the
// picture carries, so that a picture without EXIF or IPTC data records no
// run-time error.
constexpr std::string_view kModule = R"zs(de|// Hilfen der Seitenvorlagen: HTML-Maskierung, Namen und Anzahlen,
de|// Aufnahmedaten aus EXIF und IPTC. Gelesen wird nur, was das Bild enthält.
de|// Die Texte für Besucher stehen in den Vorlagen und hier in base_name,
de|// taken, picture_details, trail und click_title.
en|// Helpers of the page templates: HTML escaping, names and counts, shooting
en|// data from EXIF and IPTC. Only what the picture holds is read.
en|// The texts visitors read stand in the templates and here in base_name,
en|// taken, picture_details, trail and click_title.

de|// Text für HTML: & < > und " als Entitäten.
en|// Text for HTML: & < > and " as entities.
function esc(t)
{
  if (type(t) != @STRING && type(t) != @INTEGER && type(t) != @DOUBLE) return "";
  t = string(t);
  t = replace(t, "&", "&amp;");
  t = replace(t, "<", "&lt;");
  t = replace(t, ">", "&gt;");
  return replace(t, """", "&quot;");
}

de|// Anzahl mit ihrem Wort: "1 Bild", "12 Bilder"
en|// A count with its word: "1 picture", "12 pictures"
function counted(n, one, many)
{
  if (n == 1) return "1 " + one;
  return string(n) + " " + many;
}

de|// Name des Basisordners
en|// Name of the base folder
function base_name()
{
  global base_absolute;
  n = filenamepart(base_absolute, @FILENAME);
  e = filenamepart(base_absolute, @FILETYPE);
  if (type(n) != @STRING) n = "";
  if (type(e) == @STRING && e != "") n = n + "." + e;
de|  if (n == "") n = "Bilder";
en|  if (n == "") n = "Pictures";
  return n;
}

de|// Name des Albums; auf Ebene 0 ist das Album der Basisordner selbst.
en|// Name of the album; at level 0 the album is the base folder itself.
function album_name()
{
  global path;
  if (path == "" || path == ".") return base_name();
  return path;
}

de|// Titel einer Übersichtsseite
en|// Title of a thumbnail page
function album_title()
{
  global path;
  if (path == "" || path == ".") return base_name();
  return path + " – " + base_name();
}

de|// @TRUE, wenn t nicht leer ist und nur aus Ziffern besteht
en|// @TRUE when t is not empty and holds digits only
function digits_only(t)
{
  if (type(t) != @STRING || t == "") return @FALSE;
  for (i = 1; i <= len(t); i = i + 1)
    if (index("0123456789", mid(t, i, 1)) == 0) return @FALSE;
  return @TRUE;
}

de|// @TRUE, wenn der Hauptteil der EXIF-Daten den Eintrag tag enthält
en|// @TRUE when the main part of the EXIF data holds the entry tag
function has_exif(tag)
{
  n = exifcount(@MAIN);
  if (type(n) != @INTEGER) return @FALSE;
  for (i = 1; i <= n; i = i + 1)
    if (exiftag(i) == tag) return @TRUE;
  return @FALSE;
}

de|// Wert eines EXIF-Eintrags als Text; "", wenn das Bild ihn nicht hat
en|// Value of an EXIF entry as text; "" when the picture lacks it
function exif_text(tag)
{
  if (!has_exif(tag)) return "";
  v = exif(tag);
  if (type(v) != @STRING && type(v) != @INTEGER && type(v) != @DOUBLE) return "";
  return trim(string(v));
}

de|// Wert eines IPTC-Datensatzes; "", wenn das Bild ihn nicht hat
en|// Value of an IPTC dataset; "" when the picture lacks it
function iptc_text(dataset)
{
  n = iptccount();
  if (type(n) != @INTEGER) return "";
  for (i = 1; i <= n; i = i + 1)
    if (iptctag(i) == dataset) {
      v = iptc(dataset);
      if (type(v) == @STRING) return trim(v);
      return "";
    }
  return "";
}

de|// Zahl eines EXIF-Bruchs "Zähler/Nenner"; 0, wenn keine Zahl
en|// Number of an EXIF fraction "numerator/denominator"; 0 when it is none
function fraction(r)
{
  z = split(r, "/", 1);
  n = split(r, "/", 2);
  if (!digits_only(z)) return 0.0;
  if (n == "") return double(z);
  if (!digits_only(n)) return 0.0;
  if (double(n) == 0) return 0.0;
  return double(z) / double(n);
}

de|// Zahl mit höchstens einer Nachkommastelle: 5.6, 8, 10.3
en|// Number with at most one decimal: 5.6, 8, 10.3
function one_decimal(x)
{
  t = format("%.1!", x);
  if (mid(t, len(t) - 1) == ".0") t = mid(t, 1, len(t) - 2);
  return t;
}

function exposure()
{
  x = fraction(exif_text(33434));
  if (x <= 0) return "";
  if (x < 0.25001) return "1/" + format("%!", 1 / x) + " s";
  return one_decimal(x) + " s";
}

function aperture()
{
  x = fraction(exif_text(33437));
  if (x <= 0) return "";
  return "f/" + one_decimal(x);
}

function focal_length()
{
  x = fraction(exif_text(37386));
  if (x <= 0) return "";
  return one_decimal(x) + " mm";
}

function iso()
{
  v = split(exif_text(34855), ",", 1);
  if (!digits_only(v) || v == "0") return "";
  return "ISO " + v;
}

de|// t ohne die Endung s, ohne Rücksicht auf Groß- und Kleinschreibung
en|// t without the ending s, in any letter case
function without_suffix(t, s)
{
  if (len(t) > len(s) && lower(mid(t, len(t) - len(s) + 1)) == lower(s))
    return trim(mid(t, 1, len(t) - len(s)));
  return t;
}

de|// Kamera: das Modell, mit dem Hersteller davor, wo das Modell ihn nicht nennt
en|// Camera: the model, with the maker before it where the model does not name it
function camera()
{
  h = exif_text(271);
  m = exif_text(272);
  k = index(h, ",");
  if (k > 0) h = trim(mid(h, 1, k - 1));
  h = without_suffix(h, " Corporation");
  h = without_suffix(h, " Corp.");
  h = without_suffix(h, " Imaging");
  h = without_suffix(h, " Camera");
  if (m == "") return h;
  for (i = 1; split(h, " ", i) != ""; i = i + 1) {
    w = lower(split(h, " ", i));
    if (len(w) > 1 && index(lower(m), w) > 0) return m;
  }
  return trim(h + " " + m);
}

function lens()
{
  o = exif_text(42036);
  if (o == "----") return "";
  return o;
}

de|// Aufnahmezeitpunkt als <time>: "22. Januar 2008, 03:28"
en|// Time taken as <time>: "22 January 2008, 03:28"
function taken()
{
  d = exif_text(36867);
  if (d == "") d = exif_text(36868);
  if (len(d) < 16) return "";
  j = mid(d, 1, 4);
  mo = mid(d, 6, 2);
  t = mid(d, 9, 2);
  h = mid(d, 12, 2);
  mi = mid(d, 15, 2);
  if (!digits_only(j) || !digits_only(mo) || !digits_only(t) || !digits_only(h) || !digits_only(mi)) return "";
  if (j == "0000" || integer(mo) < 1 || integer(mo) > 12 || integer(t) < 1) return "";
de|  months = "Januar,Februar,März,April,Mai,Juni,Juli,August,September,Oktober,November,Dezember";
de|  day = string(integer(t)) + ". ";
en|  months = "January,February,March,April,May,June,July,August,September,October,November,December";
en|  day = string(integer(t)) + " ";
  return "<time datetime=""" + j + "-" + mo + "-" + t + "T" + h + ":" + mi + """>"
    + day + split(months, ",", integer(mo)) + " " + j + ", " + h + ":" + mi + "</time>";
}

de|// Titel des Bildes: IPTC-Objektname oder -Überschrift, sonst der Dateiname
en|// Title of the picture: the IPTC object name or headline, else the file name
function picture_title()
{
  global file;
  t = iptc_text(5);
  if (t == "") t = iptc_text(105);
  if (t == "") t = file;
  return t;
}

de|// Angaben zum Bild: Titel, Bildunterschrift, Aufnahmedaten, Stichwörter
en|// Details of the picture: title, caption, shooting data, keywords
function picture_details()
{
  t = "<h1>" + esc(picture_title()) + "</h1>";
  u = iptc_text(120);
  if (u != "") t = t + "<p class=""text"">" + esc(u) + "</p>";
  z = "";
  a = taken();
  if (a != "") z = z + "<li>" + a + "</li>";
  a = camera();
  if (a != "") z = z + "<li>" + esc(a) + "</li>";
  a = lens();
  if (a != "") z = z + "<li>" + esc(a) + "</li>";
  w = "";
  a = exposure();
  if (a != "") w = a;
  a = aperture();
  if (a != "") w = w + (w == "" ? "" : " · ") + a;
  a = iso();
  if (a != "") w = w + (w == "" ? "" : " · ") + a;
  a = focal_length();
  if (a != "") w = w + (w == "" ? "" : " · ") + a;
  if (w != "") z = z + "<li>" + w + "</li>";
  if (z != "") t = t + "<ul class=""exif"">" + z + "</ul>";
  s = iptc_text(25);
  if (s != "") {
    z = "";
    for (i = 1; split(s, ",", i) != ""; i = i + 1) z = z + "<li>" + esc(split(s, ",", i)) + "</li>";
de|    t = t + "<ul class=""stichwoerter"" aria-label=""Stichwörter"">" + z + "</ul>";
en|    t = t + "<ul class=""stichwoerter"" aria-label=""Keywords"">" + z + "</ul>";
  }
  return t;
}

de|// Pfadleiste: Alben, Gruppe, Album und auf Bildseiten das Bild
en|// Breadcrumb trail: albums, group, album and on picture pages the picture
function trail(picture_page)
{
  global index_ref, up_ref, parent_path;
de|  albums = "Alben";
en|  albums = "Albums";
  up = " data-nav=""up""";
  t = "<ol>";
  if (index_ref != "")
    t = t + "<li><a href=""" + index_ref + """" + (picture_page ? "" : up) + ">" + albums + "</a></li>";
  if (parent_path != "") t = t + "<li>" + esc(parent_path) + "</li>";
  if (!picture_page) return t + "<li aria-current=""page"">" + esc(album_name()) + "</li></ol>";
  if (up_ref != "") t = t + "<li><a href=""" + up_ref + """" + up + ">" + esc(album_name()) + "</a></li>";
  else t = t + "<li>" + esc(album_name()) + "</li>";
  return t + "<li aria-current=""page"">" + esc(picture_title()) + "</li></ol>";
}

de|// Vorschaubild einer Kachel: Breite je 1000 der Höhe
en|// Thumbnail of a tile: its width per 1000 of its height
function tile_ratio()
{
  global thumb_dimx, thumb_dimy;
  if (thumb_dimy < 1) return 1500;
  return thumb_dimx * 1000 / thumb_dimy;
}

de|// Die ersten n Bilder eines Albums füllen den ersten Bildschirm: Sie lädt der
de|// Browser sofort, die übrigen erst, wenn sie beim Blättern näher kommen.
en|// The first n pictures of an album fill the first screen: they load at once,
en|// the others only as they come near while the visitor scrolls.
function lazy_after(n)
{
  global count_cur_file;
  if (count_cur_file > n) return " loading=""lazy""";
  return "";
}

de|// Titelbild des Albums d: das erste Querformat unter seinen ersten Bildern,
de|// sonst sein erstes Bild; nach den ersten n Alben lädt es der Browser erst,
de|// wenn es beim Blättern näher kommt.
en|// Cover of album d: the first landscape picture among its first pictures,
en|// else its first picture; after the first n albums it loads only as it
en|// comes near while the visitor scrolls.
function cover(d, n)
{
  c = dirinfo(d, @COUNT);
  if (type(c) != @INTEGER || c < 1) return "";
  b = 1;
  for (i = 1; i <= c && i <= 20; i = i + 1)
    if (imageinfo(d, i, @THUMBDIMX) > imageinfo(d, i, @THUMBDIMY)) {
      b = i;
      break;
    }
  r = imageinfo(d, b, @THUMBREF);
  if (type(r) != @STRING || r == "") return "";
  return "<img src=""" + r + """ width=""" + imageinfo(d, b, @THUMBDIMX) + """ height="""
    + imageinfo(d, b, @THUMBDIMY) + """ alt=""""" + (d > n ? " loading=""lazy""" : "") + ">";
}

de|// Klick auf das Bild: zum nächsten Bild, nach dem letzten zur Übersicht
en|// A click on the picture: to the next picture, after the last to the overview
function click_ref()
{
  global next_ref, up_ref;
  if (next_ref != "") return next_ref;
  return up_ref;
}

function click_title()
{
  global next_ref;
de|  if (next_ref != "") return "Nächstes Bild";
de|  return "Zur Übersicht";
en|  if (next_ref != "") return "Next picture";
en|  return "To the overview";
}

de|// Das Bild auf seiner Seite nie größer, als es aufgenommen wurde: Ist der
de|// Clone größer als sein Original, zeigt die Bühne ihn in dessen Größe.
en|// The picture on its page never larger than it was taken: a clone larger
en|// than its original is shown on the stage at the original's size.
function size_limit()
{
  global dimx, dimy, dimx_original, dimy_original;
  c = max(dimx, dimy);
  o = max(dimx_original, dimy_original);
  if (c < 1 || o < 1 || o >= c) return "";
  return " style=""--max-width:" + string(dimx * o / c) + "px""";
}

de|// Das nächste Bild des Albums schon laden, während dieses betrachtet wird
en|// Loads the album's next picture while this one is looked at
function prefetch_next()
{
  global count_cur_path, count_cur_file, count_files;
  if (count_cur_file >= count_files) return "";
  r = imageinfo(count_cur_path, count_cur_file + 1, @REF);
  if (type(r) != @STRING || r == "") return "";
  return format("%\") + "<link rel=""prefetch"" href=""" + r + """>";
}

de|// Text des Schriftzugs: © Jahr der Aufnahme und Fotograf aus den Bilddaten
en|// Text of the stamp: © the year taken and the photographer from the picture's data
function stamp_text()
{
  w = "";
  if (has_exif(33432)) w = exifnice(33432, 0, 1);
  if (type(w) != @STRING) w = "";
  w = trim(w);
  if (w == "") w = exif_text(315);
  if (w == "") w = iptc_text(80);
  w = replace(w, "©", "");
  w = replace(w, "(c)", "");
  w = replace(w, "(C)", "");
  w = trim(replace(w, "Copyright", ""));
  j = mid(exif_text(36867), 1, 4);
  if (!digits_only(j) || j == "0000") j = datepart(now(), "yyyy");
  if (w == "") return "© " + j;
  return "© " + j + " " + w;
}
)zs";

// The module's text for one language: the lines of both, and those marked
// for this language without their mark.
std::string module_in(std::string_view language) {
    const std::string mark = std::string(language) + "|";
    std::string out;
    size_t start = 0;
    while (start < kModule.size()) {
        size_t end = kModule.find('\n', start);
        if (end == std::string_view::npos) end = kModule.size();
        std::string_view line = kModule.substr(start, end - start);
        start = end + 1;
        if (line.size() >= 3 && line[2] == '|' && (line.starts_with("de") || line.starts_with("en"))) {
            if (!line.starts_with(mark)) continue;
            line.remove_prefix(mark.size());
        }
        out.append(line);
        out += '\n';
    }
    return out;
}

// Every page: HTML5 head with a viewport, the decoration set's stylesheet and
// its keyboard script.
constexpr std::string_view kHead = R"(<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<meta name="generator" content="Galvora">
<link rel="stylesheet" href="{deco_ref}/modern.css">
<script src="{deco_ref}/navigation.js" defer></script>)";

// What the visitor reads on the pages, in the profile's language.
struct Words {
    std::string_view language;  // the pages' lang attribute and the module's language
    std::string_view module;    // the script module's name
    std::string_view trail;     // label of the breadcrumb trail
    std::string_view albums;    // the index page in the trail; label of the album paging
    std::string_view album, album_many, picture, picture_many;  // after a number
    std::string_view made_with;
    std::string_view first_page, last_page;
    std::string_view paging;  // label of the picture paging
    std::string_view previous, overview, next;
    std::string_view first_picture, first_of_album, first_of_page, last_of_page, last_of_album, last_picture;
    std::string_view details;  // label of the picture's details
};

const Words kGerman{
    .language = "de",
    .module = "bildtexte",
    .trail = "Pfad",
    .albums = "Alben",
    .album = "Album",
    .album_many = "Alben",
    .picture = "Bild",
    .picture_many = "Bilder",
    .made_with = "Mit Galvora erstellt",
    .first_page = "Erste Seite",
    .last_page = "Letzte Seite",
    .paging = "Blättern",
    .previous = "Zurück",
    .overview = "Übersicht",
    .next = "Weiter",
    .first_picture = "Erstes Bild",
    .first_of_album = "Erstes Bild des Albums",
    .first_of_page = "Erstes Bild der Seite",
    .last_of_page = "Letztes Bild der Seite",
    .last_of_album = "Letztes Bild des Albums",
    .last_picture = "Letztes Bild",
    .details = "Bildangaben",
};

const Words kEnglish{
    .language = "en",
    .module = "pagetexts",
    .trail = "Breadcrumb",
    .albums = "Albums",
    .album = "album",
    .album_many = "albums",
    .picture = "picture",
    .picture_many = "pictures",
    .made_with = "Made with Galvora",
    .first_page = "First page",
    .last_page = "Last page",
    .paging = "Pictures",
    .previous = "Previous",
    .overview = "Overview",
    .next = "Next",
    .first_picture = "First picture",
    .first_of_album = "First picture of the album",
    .first_of_page = "First picture of the page",
    .last_of_page = "Last picture of the page",
    .last_of_album = "Last picture of the album",
    .last_picture = "Last picture",
    .details = "Picture details",
};

// Joins texts; a template reads best as the words and markup it writes.
std::string cat(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view part : parts) out += part;
    return out;
}

// A count with its two words, as a call of the module's counted().
std::string counted(std::string_view number, std::string_view one, std::string_view many) {
    return cat({"{counted(", number, ", \"", one, "\", \"", many, "\")}"});
}

// The first pictures of a page, those of its first screen, load at once;
// the others only as the visitor scrolls near them.
std::string lazy_after(int first_screen) { return cat({"{lazy_after(", std::to_string(first_screen), ")}"}); }

// Settings and page templates all profiles share; each then sets its own.
// The theme names the look the stylesheet gives the pages.
// Of the albums on the index page, the first `first_covers` load at once.
void set_common(const Words& w, std::string_view theme, int first_covers) {
    // Pictures: JPEG, PNG and TIFF under their usual extensions.
    set("PNG", "1");
    set("TIF", "1");
    set("JPG_EXT", "JPG,JPEG");
    set("TIF_EXT", "TIF,TIFF");
    set("THUMB_SORTIERUNG", "7");  // natural name order: IMG_2 before IMG_10
    // Made for a folder of albums: the window's tree shows its sub-folders.
    set("DIR_LEVEL", "1");

    // Clones of 1600 pixels on the longer side, made again only when their
    // original changed; the output folder lies in the picture folder.
    set("GENERATE_CLONES", "1");
    set("CLONE_COPY", "0");
    set("CLONE_SIZE_ORIGINAL", "0");
    set("CLONE_SELECTED_SIDE", "1");
    for (const char* key : {"CLONE_SIZE", "CLONE_WIDTH", "CLONE_HEIGHT"}) set(key, "1600");
    set("CLONE_QUALITY", "85");
    set("CLONE_JPG_PROGRESSIVE", "1");
    set("CLONE_ONLY_IF_NEWER", "1");
    set("THUMB_QUALITY", "82");

    // Pages: HTML5, replaced only when their text changed.
    set("HTML_DOCTYPE", "<!DOCTYPE html>");
    set("HTML_HTML", cat({"lang=\"", w.language, "\" class=\"", theme, "\""}));
    set("HTML_CHANGED", "1");
    set("DECO_SOURCE", "modern");
    set("GENERATE_INDEX", "1");
    set("HTML_INDEX_GROUP", "1");
    set("HTML_INDEX_FIRST_THUMBPAGE", "1");
    set("HTML_INDEX_PRINT_DATE", "0");
    set("HTML_SPLIT", "0");
    set("REF_POS", "16");
    set("PRINT_DATE", "0");
    set("HTML_BILD_REF_POS", "16");
    set("HTML_BILD_PRINT_DATE", "0");
    // Attribute entries of old profiles that these templates do not use.
    for (const char* key : {"HTML_INDEX_TABLE", "HTML_INDEX_TD_TAG", "HTML_TABLE_TAG", "HTML_THUMB_TD_TAG"}) set(key, "");

    // Index page: the albums as cards with a cover picture, grouped by their
    // parent folder at directory level 2. Without groups (levels 0 and 1) the
    // table templates run once per album, so the list opens at the first
    // album and closes at the last.
    const std::string trail_label = cat({" aria-label=\"", w.trail, "\""});
    set("HTML_INDEX_HEAD", kHead);
    set("HTML_INDEX_TITLE", "{esc(base_name())}");
    set("HTML_INDEX_BODY_TAG", "class=\"alben\"");
    set("HTML_INDEX_POSTBODY",
        cat({"<header class=\"kopf\">\n<nav class=\"pfad\"", trail_label, "><ol><li aria-current=\"page\">", w.albums,
             "</li></ol></nav>\n</header>\n<main class=\"inhalt\">\n<h1>{esc(base_name())}</h1>\n"
             "<p class=\"unterzeile\">",
             counted("count_all_path", w.album, w.album_many), " · ",
             counted("count_all_files", w.picture, w.picture_many), "</p>\n"}));
    set("HTML_INDEX_PRE_TABLE",
        "{if (parent_path != \"\") \"<section class=\"\"gruppe\"\"><h2>\" + esc(parent_path) + \"</h2>\" + format(\"%\\\")}");
    set("HTML_INDEX_TABLE_OPEN",
        "{if (parent_path != \"\" || count_cur_path == 1) \"<ul class=\"\"karten\"\">\" + format(\"%\\\")}");
    set("HTML_INDEX_TR_OPEN", "");
    set("HTML_INDEX_TD_OPEN", "");
    set("HTML_INDEX_ENTRY",
        cat({"<li><a href=\"{src_ref}\">{cover(count_cur_path, ", std::to_string(first_covers),
             ")}<span class=\"name\">{esc(album_name())}</span><span class=\"zahl\">",
             counted("count_files", w.picture, w.picture_many), "</span></a></li>\n"}));
    set("HTML_INDEX_TD_CLOSE", "");
    set("HTML_INDEX_TR_CLOSE", "");
    set("HTML_INDEX_TABLE_CLOSE",
        "{if (parent_path != \"\" || count_cur_path == count_all_path) \"</ul>\" + format(\"%\\\")}");
    set("HTML_INDEX_POST_TABLE", "{if (parent_path != \"\") \"</section>\" + format(\"%\\\")}");
    set("HTML_INDEX_POST_POST_TABLE", "</main>\n");
    set("HTML_INDEX_FOOTER", cat({"<footer class=\"fuss\">", w.made_with, "</footer>"}));

    // Thumbnail pages: one page per album, the neighbouring albums below.
    set("HTML_HEAD", kHead);
    set("HTML_TITLE", "{esc(album_title())}");
    set("HTML_BODY", "class=\"album\"");
    set("HTML_POST_BODY",
        cat({"<header class=\"kopf\">\n<nav class=\"pfad\"", trail_label,
             ">{trail(0)}</nav>\n</header>\n<main class=\"inhalt\">\n<h1>{esc(album_name())}</h1>\n"
             "<p class=\"unterzeile\">",
             counted("count_files", w.picture, w.picture_many), "</p>"}));
    set("HTML_THUMB_PREV_PREV", cat({"<nav class=\"blaettern\" aria-label=\"", w.albums, "\">"}));
    set("HTML_PREV", "<a rel=\"prev\" href=\"{prev_ref}\"><span aria-hidden=\"true\">‹</span> {esc(prev_doc)}</a>");
    set("HTML_UP", "");
    // Extended navigation is off; switched on, it shows text links too.
    set("HTML_FIRST", "<a class=\"weit\" href=\"{first_ref}\"><span aria-hidden=\"true\">«</span> {esc(first_doc)}</a>");
    set("HTML_PATH_FIRST", cat({"<a class=\"weit\" href=\"{first_path_ref}\">", w.first_page, "</a>"}));
    set("HTML_PATH_LAST", cat({"<a class=\"weit\" href=\"{last_path_ref}\">", w.last_page, "</a>"}));
    set("HTML_LAST", "<a class=\"weit\" href=\"{last_ref}\">{esc(last_doc)} <span aria-hidden=\"true\">»</span></a>");
    set("HTML_NEXT", "<a rel=\"next\" href=\"{next_ref}\">{esc(next_doc)} <span aria-hidden=\"true\">›</span></a>");
    set("HTML_THUMB_NEXT_NEXT", "</nav>");
    set("HTML_PRE_TABLE", "");
    set("HTML_THUMB_TABLE_OPEN", "<div class=\"raster\">\n");
    set("HTML_THUMB_TR_OPEN", "");
    set("HTML_THUMB_TD_OPEN", "");
    set("HTML_THUMB_TD_CLOSE", "\n");
    set("HTML_THUMB_TR_CLOSE", "");
    set("HTML_THUMB_TABLE_CLOSE", "</div>\n");
    set("HTML_POST_TABLE", "</main>");
    set("HTML_THUMB_FOOTER", "");

    // Picture pages: the clone as large as the window allows, but never
    // larger than the picture was taken; paging, details.
    set("HTML_PIC_HEAD", std::string(kHead) + "{prefetch_next()}");
    set("HTML_PIC_TITLE", "{esc(picture_title())} – {esc(album_name())}");
    set("HTML_PIC_BODY", "class=\"bild\"");
    set("HTML_PIC_POST_BODY",
        cat({"<header class=\"kopf\">\n<nav class=\"pfad\"", trail_label,
             ">{trail(1)}</nav>\n<p class=\"zaehler\">{count_cur_file} / {count_files}</p>\n</header>\n"
             "<main class=\"betrachter\" data-wischen>"}));
    set("HTML_PIC_PREV_PREV", cat({"<nav class=\"blaettern\" aria-label=\"", w.paging, "\">"}));
    set("HTML_PIC_PREV",
        cat({"<a rel=\"prev\" href=\"{prev_ref}\"><span aria-hidden=\"true\">‹</span> ", w.previous, "</a>"}));
    set("HTML_PIC_UP", cat({"<a class=\"hoch\" href=\"{up_ref}\">", w.overview, "</a>"}));
    set("HTML_PIC_FIRST",
        cat({"<a class=\"weit\" href=\"{first_ref}\"><span aria-hidden=\"true\">«</span> ", w.first_picture, "</a>"}));
    set("HTML_PIC_PATH_FIRST", cat({"<a class=\"weit\" href=\"{first_path_ref}\">", w.first_of_album, "</a>"}));
    set("HTML_PIC_PAGE_FIRST", cat({"<a class=\"weit\" href=\"{first_page_ref}\">", w.first_of_page, "</a>"}));
    set("HTML_PIC_PAGE_LAST", cat({"<a class=\"weit\" href=\"{last_page_ref}\">", w.last_of_page, "</a>"}));
    set("HTML_PIC_PATH_LAST", cat({"<a class=\"weit\" href=\"{last_path_ref}\">", w.last_of_album, "</a>"}));
    set("HTML_PIC_LAST",
        cat({"<a class=\"weit\" href=\"{last_ref}\">", w.last_picture, " <span aria-hidden=\"true\">»</span></a>"}));
    set("HTML_PIC_NEXT",
        cat({"<a rel=\"next\" href=\"{next_ref}\">", w.next, " <span aria-hidden=\"true\">›</span></a>"}));
    set("HTML_PIC_NEXT_NEXT", "</nav>");
    set("HTML_PIC_PREPIC", "");
    set("HTML_PIC_PIC",
        "<figure class=\"buehne\"{size_limit()}><a href=\"{click_ref()}\" title=\"{click_title()}\"><img "
        "src=\"{pic_ref}\" width=\"{dimx}\" height=\"{dimy}\" alt=\"{esc(picture_title())}\"></a></figure>");
    set("HTML_PIC_POSTPIC",
        cat({"<section class=\"angaben\" aria-label=\"", w.details, "\">{picture_details()}</section>"}));
    set("HTML_PIC_FOOTER", "</main>");

    ProfileModules().add(std::string(w.module), crlf(module_in(w.language)), kModuleNotCompiled);
}

std::string finish(const std::string& version) {
    profilaenderungen_uebernehmen();
    geladene_Profileinstellungen()[1].value = version;
    return profile_text(geladene_Profileinstellungen(), WorkingCloneEffects(), LoadedProfileModules());
}

// The modern album: cards of albums, a justified grid, a dark viewer with the
// picture's details beside it; pictures stay as taken.
std::string album_text(const Words& w, std::string_view folder, std::string_view description,
                       const std::string& version) {
    profil_laden(nullptr);
    set("KOMMENTAR", description);
    // What loads at once: a phone's first screen shows five rows of two
    // landscape thumbnails (rows of 105 pixels; more with portraits), a
    // desktop window's first row six or seven; albums come as cards, one
    // below the other on a phone (two and a half to a screen), four in a row
    // in a window 1280 pixels wide.
    constexpr int kFirstThumbnails = 12;
    constexpr int kFirstCovers = 4;
    set_common(w, "thema-album", kFirstCovers);
    set("CLONE_PATH", folder);
    // Thumbnails of one height, so that the rows of the grid fit them at
    // their own size.
    set("THUMB_SELECTED_SIDE", "3");
    for (const char* key : {"THUMB_SIZE", "THUMB_WIDTH", "THUMB_HEIGHT"}) set(key, "280");
    // Paging stays in the album: it ends at its first and last picture.
    set("HTML_BILD_VERWEISFOLGE", "3");
    set("HTML_THUMB_PIC_TAG",
        "<a href=\"{src_ref}\" style=\"--r:{tile_ratio()}\"><img src=\"{thumb_ref}\" width=\"{thumb_dimx}\" "
        "height=\"{thumb_dimy}\" alt=\"{esc(file)}\"" + lazy_after(kFirstThumbnails) + "></a>");
    return finish(version);
}

// The quiet gallery: square tiles with names, the picture in a white frame
// with a copyright line, paging through all albums in a row.
std::string galerie_text(const Words& w, std::string_view folder, std::string_view description,
                         std::string_view frame_name, const std::string& version) {
    profil_laden(nullptr);
    set("KOMMENTAR", description);
    // What loads at once: square tiles in two columns on a phone, four rows
    // of them on its first screen, and five or six in a desktop window's row;
    // the albums of the index page come in the same tiles, three rows of
    // them on a phone's first screen.
    constexpr int kFirstThumbnails = 10;
    constexpr int kFirstCovers = 6;
    set_common(w, "thema-galerie", kFirstCovers);
    set("CLONE_PATH", folder);
    set("THUMB_SELECTED_SIDE", "1");
    for (const char* key : {"THUMB_SIZE", "THUMB_WIDTH", "THUMB_HEIGHT"}) set(key, "280");
    set("HTML_BILD_VERWEISFOLGE", "1");
    set("HTML_THUMB_PIC_TAG",
        "<a href=\"{src_ref}\"><figure><img src=\"{thumb_ref}\" width=\"{thumb_dimx}\" height=\"{thumb_dimy}\" "
        "alt=\"\"" + lazy_after(kFirstThumbnails) + "><figcaption>{esc(file)}</figcaption></figure></a>");

    // The frame lies over the picture's edge (an inner frame), so that the
    // clone keeps the size the run expects and is not made again each run.
    auto frame = std::make_shared<CBorder>();
    frame->Description(std::string(frame_name));
    frame->RahmenArt(0);
    frame->Breite(14);
    frame->deckkraft(100);
    WorkingCloneEffects().add(frame);
    auto stamp = std::make_shared<CTextStamp>();
    stamp->Description("Copyright");
    stamp->Text(" {stamp_text()} ");
    stamp->Font("DejaVu Sans");
    stamp->Height(28);
    stamp->Position(9);
    stamp->OffsetX(-32);
    stamp->OffsetY(-32);
    stamp->Opacity(90);
    stamp->Background(1);
    stamp->BackgroundColor(0);
    stamp->BackgroundOpacity(35);
    WorkingCloneEffects().add(stamp);
    return finish(version);
}

}  // namespace

const std::vector<ShippedProfile>& shipped_profiles() {
    static const std::vector<ShippedProfile> profiles{
        {"album", "de",
         [](const std::string& version) {
             return album_text(kGerman, "album",
                               "Modernes Fotoalbum für einen Ordner mit Alben: Alben mit Titelbild, Bilder mit "
                               "1600 Pixeln und Aufnahmedaten, Blättern mit den Pfeiltasten; ohne Schriftzug. "
                               "Seiten auf Deutsch, auf Englisch: album-english",
                               version);
         }},
        {"album-english", "en",
         [](const std::string& version) {
             return album_text(kEnglish, "album-english",
                               "Modern photo album for a folder of albums: albums with a cover picture, pictures "
                               "of 1600 pixels with their shooting data, paging with the arrow keys; no text "
                               "stamp. Pages in English, in German: album",
                               version);
         }},
        {"galerie", "de",
         [](const std::string& version) {
             return galerie_text(kGerman, "galerie",
                                 "Schlichte Galerie für einen Ordner mit Alben: Kacheln mit Bildnamen, Bilder mit "
                                 "1600 Pixeln in weißem Rahmen mit Schriftzug \"© Jahr Fotograf\", Aufnahmedaten. "
                                 "Seiten auf Deutsch, auf Englisch: gallery-english",
                                 "Weißer Rahmen", version);
         }},
        {"gallery-english", "en",
         [](const std::string& version) {
             return galerie_text(kEnglish, "gallery-english",
                                 "Quiet gallery for a folder of albums: tiles with the picture names, pictures of "
                                 "1600 pixels in a white frame with the text stamp \"© year photographer\", "
                                 "shooting data. Pages in English, in German: galerie",
                                 "White frame", version);
         }},
    };
    return profiles;
}

const std::string& shipped_module_text(const std::string& language) {
    static const std::string german = crlf(module_in(kGerman.language));
    static const std::string english = crlf(module_in(kEnglish.language));
    return language == kGerman.language ? german : english;
}

}  // namespace galvora::testing
