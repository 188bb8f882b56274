#include "shipped_profiles.h"

#include <gtest/gtest.h>

#include <memory>
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

// Helpers of the page templates, in the profile's own script language. They
// read only the metadata that the picture carries, so that a picture without
// EXIF or IPTC data records no run-time error.
constexpr std::string_view kModule = R"zs(// Hilfen der Seitenvorlagen: HTML-Maskierung, Namen und Zahlwörter,
// Aufnahmedaten aus EXIF und IPTC. Gelesen wird nur, was das Bild enthält.

// Text für HTML: & < > und " als Entitäten.
function esc(t)
{
  if (type(t) != @STRING && type(t) != @INTEGER && type(t) != @DOUBLE) return "";
  t = string(t);
  t = replace(t, "&", "&amp;");
  t = replace(t, "<", "&lt;");
  t = replace(t, ">", "&gt;");
  return replace(t, """", "&quot;");
}

// "1 Bild", "12 Bilder"
function anzahl(n, eins, mehrere)
{
  if (n == 1) return "1 " + eins;
  return string(n) + " " + mehrere;
}

// Name des Basisordners
function basisname()
{
  global base_absolute;
  n = filenamepart(base_absolute, @FILENAME);
  e = filenamepart(base_absolute, @FILETYPE);
  if (type(n) != @STRING) n = "";
  if (type(e) == @STRING && e != "") n = n + "." + e;
  if (n == "") n = "Bilder";
  return n;
}

// Name des Albums; auf Ebene 0 ist das Album der Basisordner selbst.
function albumname()
{
  global path;
  if (path == "" || path == ".") return basisname();
  return path;
}

// Titel einer Übersichtsseite
function albumtitel()
{
  global path;
  if (path == "" || path == ".") return basisname();
  return path + " – " + basisname();
}

// @TRUE, wenn t nicht leer ist und nur aus Ziffern besteht
function ziffern(t)
{
  if (type(t) != @STRING || t == "") return @FALSE;
  for (i = 1; i <= len(t); i = i + 1)
    if (index("0123456789", mid(t, i, 1)) == 0) return @FALSE;
  return @TRUE;
}

// @TRUE, wenn der Hauptteil der EXIF-Daten den Eintrag tag enthält
function exif_hat(tag)
{
  n = exifcount(@MAIN);
  if (type(n) != @INTEGER) return @FALSE;
  for (i = 1; i <= n; i = i + 1)
    if (exiftag(i) == tag) return @TRUE;
  return @FALSE;
}

// Wert eines EXIF-Eintrags als Text; "", wenn das Bild ihn nicht hat
function exif_text(tag)
{
  if (!exif_hat(tag)) return "";
  v = exif(tag);
  if (type(v) != @STRING && type(v) != @INTEGER && type(v) != @DOUBLE) return "";
  return trim(string(v));
}

// Wert eines IPTC-Datensatzes; "", wenn das Bild ihn nicht hat
function iptc_text(nummer)
{
  n = iptccount();
  if (type(n) != @INTEGER) return "";
  for (i = 1; i <= n; i = i + 1)
    if (iptctag(i) == nummer) {
      v = iptc(nummer);
      if (type(v) == @STRING) return trim(v);
      return "";
    }
  return "";
}

// Zahl eines EXIF-Bruchs "Zähler/Nenner"; 0, wenn keine Zahl
function bruch(r)
{
  z = split(r, "/", 1);
  n = split(r, "/", 2);
  if (!ziffern(z)) return 0.0;
  if (n == "") return double(z);
  if (!ziffern(n)) return 0.0;
  if (double(n) == 0) return 0.0;
  return double(z) / double(n);
}

// Zahl mit höchstens einer Nachkommastelle: 5.6, 8, 10.3
function zahl1(x)
{
  t = format("%.1!", x);
  if (mid(t, len(t) - 1) == ".0") t = mid(t, 1, len(t) - 2);
  return t;
}

function belichtung()
{
  x = bruch(exif_text(33434));
  if (x <= 0) return "";
  if (x < 0.25001) return "1/" + format("%!", 1 / x) + " s";
  return zahl1(x) + " s";
}

function blende()
{
  x = bruch(exif_text(33437));
  if (x <= 0) return "";
  return "f/" + zahl1(x);
}

function brennweite()
{
  x = bruch(exif_text(37386));
  if (x <= 0) return "";
  return zahl1(x) + " mm";
}

function iso()
{
  v = split(exif_text(34855), ",", 1);
  if (!ziffern(v) || v == "0") return "";
  return "ISO " + v;
}

// t ohne die Endung s, ohne Rücksicht auf Groß- und Kleinschreibung
function ohne_endung(t, s)
{
  if (len(t) > len(s) && lower(mid(t, len(t) - len(s) + 1)) == lower(s))
    return trim(mid(t, 1, len(t) - len(s)));
  return t;
}

// Kamera: das Modell, mit dem Hersteller davor, wo das Modell ihn nicht nennt
function kamera()
{
  h = exif_text(271);
  m = exif_text(272);
  k = index(h, ",");
  if (k > 0) h = trim(mid(h, 1, k - 1));
  h = ohne_endung(h, " Corporation");
  h = ohne_endung(h, " Corp.");
  h = ohne_endung(h, " Imaging");
  h = ohne_endung(h, " Camera");
  if (m == "") return h;
  for (i = 1; split(h, " ", i) != ""; i = i + 1) {
    w = lower(split(h, " ", i));
    if (len(w) > 1 && index(lower(m), w) > 0) return m;
  }
  return trim(h + " " + m);
}

function objektiv()
{
  o = exif_text(42036);
  if (o == "----") return "";
  return o;
}

// Aufnahmezeitpunkt als <time>: "22. Januar 2008, 03:28"
function aufnahme()
{
  d = exif_text(36867);
  if (d == "") d = exif_text(36868);
  if (len(d) < 16) return "";
  j = mid(d, 1, 4);
  mo = mid(d, 6, 2);
  t = mid(d, 9, 2);
  h = mid(d, 12, 2);
  mi = mid(d, 15, 2);
  if (!ziffern(j) || !ziffern(mo) || !ziffern(t) || !ziffern(h) || !ziffern(mi)) return "";
  if (j == "0000" || integer(mo) < 1 || integer(mo) > 12 || integer(t) < 1) return "";
  monate = "Januar,Februar,März,April,Mai,Juni,Juli,August,September,Oktober,November,Dezember";
  return "<time datetime=""" + j + "-" + mo + "-" + t + "T" + h + ":" + mi + """>"
    + integer(t) + ". " + split(monate, ",", integer(mo)) + " " + j + ", " + h + ":" + mi + "</time>";
}

// Titel des Bildes: IPTC-Objektname oder -Überschrift, sonst der Dateiname
function titel()
{
  global file;
  t = iptc_text(5);
  if (t == "") t = iptc_text(105);
  if (t == "") t = file;
  return t;
}

// Angaben zum Bild: Titel, Bildunterschrift, Aufnahmedaten, Stichwörter
function bildangaben()
{
  t = "<h1>" + esc(titel()) + "</h1>";
  u = iptc_text(120);
  if (u != "") t = t + "<p class=""text"">" + esc(u) + "</p>";
  z = "";
  a = aufnahme();
  if (a != "") z = z + "<li>" + a + "</li>";
  a = kamera();
  if (a != "") z = z + "<li>" + esc(a) + "</li>";
  a = objektiv();
  if (a != "") z = z + "<li>" + esc(a) + "</li>";
  w = "";
  a = belichtung();
  if (a != "") w = a;
  a = blende();
  if (a != "") w = w + (w == "" ? "" : " · ") + a;
  a = iso();
  if (a != "") w = w + (w == "" ? "" : " · ") + a;
  a = brennweite();
  if (a != "") w = w + (w == "" ? "" : " · ") + a;
  if (w != "") z = z + "<li>" + w + "</li>";
  if (z != "") t = t + "<ul class=""exif"">" + z + "</ul>";
  s = iptc_text(25);
  if (s != "") {
    z = "";
    for (i = 1; split(s, ",", i) != ""; i = i + 1) z = z + "<li>" + esc(split(s, ",", i)) + "</li>";
    t = t + "<ul class=""stichwoerter"" aria-label=""Stichwörter"">" + z + "</ul>";
  }
  return t;
}

// Pfadleiste: Alben, Gruppe, Album und auf Bildseiten das Bild
function pfad(bildseite)
{
  global index_ref, up_ref, parent_path;
  oben = " data-nav=""up""";
  t = "<ol>";
  if (index_ref != "")
    t = t + "<li><a href=""" + index_ref + """" + (bildseite ? "" : oben) + ">Alben</a></li>";
  if (parent_path != "") t = t + "<li>" + esc(parent_path) + "</li>";
  if (!bildseite) return t + "<li aria-current=""page"">" + esc(albumname()) + "</li></ol>";
  if (up_ref != "") t = t + "<li><a href=""" + up_ref + """" + oben + ">" + esc(albumname()) + "</a></li>";
  else t = t + "<li>" + esc(albumname()) + "</li>";
  return t + "<li aria-current=""page"">" + esc(titel()) + "</li></ol>";
}

// Vorschaubild einer Kachel: Breite je 1000 der Höhe
function seitenverhaeltnis()
{
  global thumb_dimx, thumb_dimy;
  if (thumb_dimy < 1) return 1500;
  return thumb_dimx * 1000 / thumb_dimy;
}

// Die ersten Bilder einer Seite lädt der Browser sofort, die übrigen beim Blättern.
function spaeter()
{
  global count_cur_file;
  if (count_cur_file > 12) return " loading=""lazy""";
  return "";
}

// Titelbild eines Albums: das erste Querformat unter den ersten Bildern, sonst das erste Bild
function titelbild(d)
{
  n = dirinfo(d, @COUNT);
  if (type(n) != @INTEGER || n < 1) return "";
  b = 1;
  for (i = 1; i <= n && i <= 20; i = i + 1)
    if (imageinfo(d, i, @THUMBDIMX) > imageinfo(d, i, @THUMBDIMY)) {
      b = i;
      break;
    }
  r = imageinfo(d, b, @THUMBREF);
  if (type(r) != @STRING || r == "") return "";
  return "<img src=""" + r + """ width=""" + imageinfo(d, b, @THUMBDIMX) + """ height="""
    + imageinfo(d, b, @THUMBDIMY) + """ alt=""""" + (d > 8 ? " loading=""lazy""" : "") + ">";
}

// Klick auf das Bild: zum nächsten Bild, nach dem letzten zur Übersicht
function weiter_ref()
{
  global next_ref, up_ref;
  if (next_ref != "") return next_ref;
  return up_ref;
}

function weiter_titel()
{
  global next_ref;
  if (next_ref != "") return "Nächstes Bild";
  return "Zur Übersicht";
}

// Das nächste Bild des Albums schon laden, während dieses betrachtet wird
function vorladen()
{
  global count_cur_path, count_cur_file, count_files;
  if (count_cur_file >= count_files) return "";
  r = imageinfo(count_cur_path, count_cur_file + 1, @REF);
  if (type(r) != @STRING || r == "") return "";
  return format("%\") + "<link rel=""prefetch"" href=""" + r + """>";
}

// Text des Schriftzugs: © Jahr der Aufnahme und Fotograf aus den Bilddaten
function stempeltext()
{
  w = "";
  if (exif_hat(33432)) w = exifnice(33432, 0, 1);
  if (type(w) != @STRING) w = "";
  w = trim(w);
  if (w == "") w = exif_text(315);
  if (w == "") w = iptc_text(80);
  w = replace(w, "©", "");
  w = replace(w, "(c)", "");
  w = replace(w, "(C)", "");
  w = trim(replace(w, "Copyright", ""));
  j = mid(exif_text(36867), 1, 4);
  if (!ziffern(j) || j == "0000") j = datepart(now(), "yyyy");
  if (w == "") return "© " + j;
  return "© " + j + " " + w;
}
)zs";

// Every page: HTML5 head with a viewport, the decoration set's stylesheet and
// its keyboard script.
constexpr std::string_view kHead = R"(<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<meta name="generator" content="Galvora">
<link rel="stylesheet" href="{deco_ref}/modern.css">
<script src="{deco_ref}/navigation.js" defer></script>)";

// Settings and page templates both profiles share; each then sets its own.
// The theme names the look the stylesheet gives the pages.
void set_common(std::string_view theme) {
    // Pictures: JPEG, PNG and TIFF under their usual extensions.
    set("PNG", "1");
    set("TIF", "1");
    set("JPG_EXT", "JPG,JPEG");
    set("TIF_EXT", "TIF,TIFF");
    set("THUMB_SORTIERUNG", "7");  // natural name order: IMG_2 before IMG_10

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
    set("HTML_HTML", "lang=\"de\" class=\"" + std::string(theme) + "\"");
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
    set("HTML_INDEX_HEAD", kHead);
    set("HTML_INDEX_TITLE", "{esc(basisname())}");
    set("HTML_INDEX_BODY_TAG", "class=\"alben\"");
    set("HTML_INDEX_POSTBODY", R"(<header class="kopf">
<nav class="pfad" aria-label="Pfad"><ol><li aria-current="page">Alben</li></ol></nav>
</header>
<main class="inhalt">
<h1>{esc(basisname())}</h1>
<p class="unterzeile">{anzahl(count_all_path, "Album", "Alben")} · {anzahl(count_all_files, "Bild", "Bilder")}</p>
)");
    set("HTML_INDEX_PRE_TABLE",
        "{if (parent_path != \"\") \"<section class=\"\"gruppe\"\"><h2>\" + esc(parent_path) + \"</h2>\" + format(\"%\\\")}");
    set("HTML_INDEX_TABLE_OPEN",
        "{if (parent_path != \"\" || count_cur_path == 1) \"<ul class=\"\"karten\"\">\" + format(\"%\\\")}");
    set("HTML_INDEX_TR_OPEN", "");
    set("HTML_INDEX_TD_OPEN", "");
    set("HTML_INDEX_ENTRY",
        "<li><a href=\"{src_ref}\">{titelbild(count_cur_path)}<span class=\"name\">{esc(albumname())}</span>"
        "<span class=\"zahl\">{anzahl(count_files, \"Bild\", \"Bilder\")}</span></a></li>\n");
    set("HTML_INDEX_TD_CLOSE", "");
    set("HTML_INDEX_TR_CLOSE", "");
    set("HTML_INDEX_TABLE_CLOSE",
        "{if (parent_path != \"\" || count_cur_path == count_all_path) \"</ul>\" + format(\"%\\\")}");
    set("HTML_INDEX_POST_TABLE", "{if (parent_path != \"\") \"</section>\" + format(\"%\\\")}");
    set("HTML_INDEX_POST_POST_TABLE", "</main>\n");
    set("HTML_INDEX_FOOTER", "<footer class=\"fuss\">Mit Galvora erstellt</footer>");

    // Thumbnail pages: one page per album, the neighbouring albums below.
    set("HTML_HEAD", kHead);
    set("HTML_TITLE", "{esc(albumtitel())}");
    set("HTML_BODY", "class=\"album\"");
    set("HTML_POST_BODY", R"(<header class="kopf">
<nav class="pfad" aria-label="Pfad">{pfad(0)}</nav>
</header>
<main class="inhalt">
<h1>{esc(albumname())}</h1>
<p class="unterzeile">{anzahl(count_files, "Bild", "Bilder")}</p>)");
    set("HTML_THUMB_PREV_PREV", "<nav class=\"blaettern\" aria-label=\"Alben\">");
    set("HTML_PREV", "<a rel=\"prev\" href=\"{prev_ref}\"><span aria-hidden=\"true\">‹</span> {esc(prev_doc)}</a>");
    set("HTML_UP", "");
    // Extended navigation is off; switched on, it shows text links too.
    set("HTML_FIRST", "<a class=\"weit\" href=\"{first_ref}\"><span aria-hidden=\"true\">«</span> {esc(first_doc)}</a>");
    set("HTML_PATH_FIRST", "<a class=\"weit\" href=\"{first_path_ref}\">Erste Seite</a>");
    set("HTML_PATH_LAST", "<a class=\"weit\" href=\"{last_path_ref}\">Letzte Seite</a>");
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

    // Picture pages: the clone as large as the window allows, paging, details.
    set("HTML_PIC_HEAD", std::string(kHead) + "{vorladen()}");
    set("HTML_PIC_TITLE", "{esc(titel())} – {esc(albumname())}");
    set("HTML_PIC_BODY", "class=\"bild\"");
    set("HTML_PIC_POST_BODY", R"(<header class="kopf">
<nav class="pfad" aria-label="Pfad">{pfad(1)}</nav>
<p class="zaehler">{count_cur_file} / {count_files}</p>
</header>
<main class="betrachter" data-wischen>)");
    set("HTML_PIC_PREV_PREV", "<nav class=\"blaettern\" aria-label=\"Blättern\">");
    set("HTML_PIC_PREV", "<a rel=\"prev\" href=\"{prev_ref}\"><span aria-hidden=\"true\">‹</span> Zurück</a>");
    set("HTML_PIC_UP", "<a class=\"hoch\" href=\"{up_ref}\">Übersicht</a>");
    set("HTML_PIC_FIRST", "<a class=\"weit\" href=\"{first_ref}\"><span aria-hidden=\"true\">«</span> Erstes Bild</a>");
    set("HTML_PIC_PATH_FIRST", "<a class=\"weit\" href=\"{first_path_ref}\">Erstes Bild des Albums</a>");
    set("HTML_PIC_PAGE_FIRST", "<a class=\"weit\" href=\"{first_page_ref}\">Erstes Bild der Seite</a>");
    set("HTML_PIC_PAGE_LAST", "<a class=\"weit\" href=\"{last_page_ref}\">Letztes Bild der Seite</a>");
    set("HTML_PIC_PATH_LAST", "<a class=\"weit\" href=\"{last_path_ref}\">Letztes Bild des Albums</a>");
    set("HTML_PIC_LAST", "<a class=\"weit\" href=\"{last_ref}\">Letztes Bild <span aria-hidden=\"true\">»</span></a>");
    set("HTML_PIC_NEXT", "<a rel=\"next\" href=\"{next_ref}\">Weiter <span aria-hidden=\"true\">›</span></a>");
    set("HTML_PIC_NEXT_NEXT", "</nav>");
    set("HTML_PIC_PREPIC", "");
    set("HTML_PIC_PIC",
        "<figure class=\"buehne\"><a href=\"{weiter_ref()}\" title=\"{weiter_titel()}\"><img src=\"{pic_ref}\" "
        "width=\"{dimx}\" height=\"{dimy}\" alt=\"{esc(titel())}\"></a></figure>");
    set("HTML_PIC_POSTPIC", "<section class=\"angaben\" aria-label=\"Bildangaben\">{bildangaben()}</section>");
    set("HTML_PIC_FOOTER", "</main>");

    ProfileModules().add("bildtexte", crlf(kModule), kModuleNotCompiled);
}

std::string finish(const std::string& version) {
    profilaenderungen_uebernehmen();
    geladene_Profileinstellungen()[1].value = version;
    return profile_text(geladene_Profileinstellungen(), WorkingCloneEffects(), LoadedProfileModules());
}

// The modern album: cards of albums, a justified grid, a dark viewer with the
// picture's details beside it; pictures stay as taken.
std::string album_text(const std::string& version) {
    profil_laden(nullptr);
    set("KOMMENTAR",
        "Modernes Fotoalbum: Alben mit Titelbild, Bilder mit 1600 Pixeln und Aufnahmedaten, "
        "Blättern mit den Pfeiltasten; ohne Schriftzug");
    set_common("thema-album");
    set("CLONE_PATH", "album");
    // Thumbnails of one height, so that the rows of the grid fit them at
    // their own size.
    set("THUMB_SELECTED_SIDE", "3");
    for (const char* key : {"THUMB_SIZE", "THUMB_WIDTH", "THUMB_HEIGHT"}) set(key, "280");
    // Paging stays in the album: it ends at its first and last picture.
    set("HTML_BILD_VERWEISFOLGE", "3");
    set("HTML_THUMB_PIC_TAG",
        "<a href=\"{src_ref}\" style=\"--r:{seitenverhaeltnis()}\"><img src=\"{thumb_ref}\" width=\"{thumb_dimx}\" "
        "height=\"{thumb_dimy}\" alt=\"{esc(file)}\"{spaeter()}></a>");
    return finish(version);
}

// The quiet gallery: square tiles with names, the picture in a white frame
// with a copyright line, paging through all albums in a row.
std::string galerie_text(const std::string& version) {
    profil_laden(nullptr);
    set("KOMMENTAR",
        "Schlichte Galerie: Kacheln mit Bildnamen, Bilder mit 1600 Pixeln in weißem Rahmen "
        "mit Schriftzug \"© Jahr Fotograf\", Aufnahmedaten");
    set_common("thema-galerie");
    set("CLONE_PATH", "galerie");
    set("THUMB_SELECTED_SIDE", "1");
    for (const char* key : {"THUMB_SIZE", "THUMB_WIDTH", "THUMB_HEIGHT"}) set(key, "280");
    set("HTML_BILD_VERWEISFOLGE", "1");
    set("HTML_THUMB_PIC_TAG",
        "<a href=\"{src_ref}\"><figure><img src=\"{thumb_ref}\" width=\"{thumb_dimx}\" height=\"{thumb_dimy}\" "
        "alt=\"\"{spaeter()}><figcaption>{esc(file)}</figcaption></figure></a>");

    // The frame lies over the picture's edge (an inner frame), so that the
    // clone keeps the size the run expects and is not made again each run.
    auto frame = std::make_shared<CBorder>();
    frame->Description("Weißer Rahmen");
    frame->RahmenArt(0);
    frame->Breite(14);
    frame->deckkraft(100);
    WorkingCloneEffects().add(frame);
    auto stamp = std::make_shared<CTextStamp>();
    stamp->Description("Copyright");
    stamp->Text(" {stempeltext()} ");
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
    static const std::vector<ShippedProfile> profiles{{"album", album_text}, {"galerie", galerie_text}};
    return profiles;
}

const std::string& shipped_module_text() {
    static const std::string text = crlf(kModule);
    return text;
}

}  // namespace galvora::testing
