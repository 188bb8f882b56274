// The option pages in the dialog's window, driven through their widgets: a
// profile changed on every page, saved and read back, then the gallery a
// batch run of the program makes with it; the script editor's keys, colours
// and undo; and a contact sheet of every page written into the build folder.
#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTextBlock>
#include <QTextLayout>

#include <cstdlib>

#include "app/syntax_colors.h"
#include "foundation/registry.h"
#include "gui/small_dialog_views.h"
#include "image/picture_io.h"
#include "options/pages/script_editor.h"
#include "options/pages/script_modules_page.h"
#include "options_window_support.h"
#include "profile/profile_file.h"
#include "profile/profiles.h"

namespace galvora::testing {
namespace {

// What the user does with the widgets.
void tick(QWidget* widget) {
    auto* button = qobject_cast<QAbstractButton*>(widget);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible() && button->isEnabled()) << button->objectName().toStdString();
    // On the box or the round button itself: a wide button's middle may lie past its text.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(7, button->height() / 2));
}

void press(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    ASSERT_TRUE(widget->isVisible() && widget->isEnabled()) << widget->objectName().toStdString();
    QTest::mouseClick(widget, Qt::LeftButton);
}

// Replaces a line's text as typed, then leaves it.
void retype(QWidget* widget, const char* text) {
    auto* line = qobject_cast<QLineEdit*>(widget);
    ASSERT_NE(line, nullptr);
    ASSERT_TRUE(line->isVisible() && line->isEnabled()) << line->objectName().toStdString();
    QTest::mouseClick(line, Qt::LeftButton);
    line->selectAll();
    QTest::keyClick(line, Qt::Key_Delete);
    QTest::keyClicks(line, text);
    line->clearFocus();
}

// Answers the next small window the dialog opens (a new profile, a new
// module): the name typed into its box, then OK. The window is looked for
// until it is there, as it opens only once the button's click runs. The
// offscreen platform does not activate the dialog again when the small
// window closes, as a desktop does: the test does that after the click.
void answer_next_name_window(const char* name) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, name] {
        auto* window = qobject_cast<NameDialog*>(QApplication::activeModalWidget());
        if (window == nullptr || !window->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        window->eingabe()->setText(name);
        QTest::mouseClick(window->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    });
    poll->start();
}

// Types lines into a text editor, each ended by the Return key.
void type_lines(QPlainTextEdit* edit, const std::vector<std::string>& lines) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClicks(edit, QString::fromStdString(lines[i]));
    }
}

class OptionPagesWindow : public OptionsWindow {
protected:
    void SetUp() override {
        OptionsWindow::SetUp();
        user_profile_folder();
        write_jpeg(base / "bild3.jpg", 40, 30);
        write_jpeg(base / "anders.jpg", 40, 30);
        set_options_help_topic_opener([this](const std::string& topic) { help_topics.push_back(topic); });
    }

    template <class W>
    static W* widget(OptionenDialog& view, PageSlot slot, const char* name, int index = -1) {
        W* found = qobject_cast<W*>(page_widget(view, slot, name, index));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // The text editor inside a page that embeds the script editor.
    static QPlainTextEdit* script_text(OptionenDialog& view, PageSlot slot) {
        return qobject_cast<QPlainTextEdit*>(view.findChild<QWidget*>(page_slot_name(slot))
                                                 ->findChild<QPlainTextEdit*>("Modul_Inhalt"));
    }
    static QWidget* script_button(OptionenDialog& view, PageSlot slot) {
        return view.findChild<QWidget*>(page_slot_name(slot))->findChild<QWidget*>("SyntaxTest");
    }

    std::vector<std::string> help_topics;
};

// The lines of the oracle and of the module as they are typed (Tab indents).
const std::vector<std::string> kOracleLines = {"if (file == \"anders\") return @FALSE;", "return @TRUE;"};
const char* const kModuleText = "function gruss() {\r\n  return \"Hallo\";\r\n}";

TEST_F(OptionPagesWindow, EveryPageChangesTheProfileAndTheBatchRunMakesThatGallery) {
    const bool ok = open_and([this](OptionenDialog& view) {
        // Profile: a new one from the defaults, with a description.
        click_node(view, kBoxProfile);
        answer_next_name_window("Rundreise");
        press(page_widget(view, PageSlot::CProfil1, "Profil_Neu_Button"));
        QApplication::setActiveWindow(&view);
        ASSERT_EQ(aktuelles_profil()->Name(), "Rundreise");
        EXPECT_EQ(widget<QComboBox>(view, PageSlot::CProfil1, "ProfilListe")->currentText(), "Rundreise");
        auto* description = widget<QPlainTextEdit>(view, PageSlot::CProfil1, "Profil_Beschreibung");
        QTest::mouseClick(description->viewport(), Qt::LeftButton);
        QTest::keyClicks(description, "Rundreise durch alle Seiten");

        // General: a choice of the user, not of the profile.
        click_node(view, 16);
        tick(page_widget(view, PageSlot::CAllgemeines1, "LöschOption", 1));
        EXPECT_EQ(registry_lesen("LastSession", "deleteoption", ""), "1");

        // File filter: PNG too, and an oracle that leaves one picture out.
        click_node(view, 0);
        tick(page_widget(view, PageSlot::CDateifilter1, "bild_art", 6));
        QPlainTextEdit* oracle = script_text(view, PageSlot::CDateifilter1);
        ASSERT_NE(oracle, nullptr);
        QTest::mouseClick(oracle->viewport(), Qt::LeftButton);
        type_lines(oracle, kOracleLines);
        port.boxes.clear();
        press(script_button(view, PageSlot::CDateifilter1));
        ASSERT_EQ(port.boxes.size(), 1u);
        EXPECT_EQ(port.boxes[0].style, MB_ICON_INFORMATION) << port.boxes[0].text;

        // Thumbnails: a box of 80 x 60 filled with green, quality 75.
        click_node(view, 1);
        retype(page_widget(view, PageSlot::CThumbnails1, "thumbverzeichnis"), "vorschau");
        tick(page_widget(view, PageSlot::CThumbnails1, "Seitenwahl", 3));
        retype(page_widget(view, PageSlot::CThumbnails1, "ThumbBreite"), "80");
        retype(page_widget(view, PageSlot::CThumbnails1, "ThumbHöhe"), "60");
        tick(page_widget(view, PageSlot::CThumbnails1, "RahmenFüllen"));
        dialogs.colours.push_back(0x00FF00);
        press(page_widget(view, PageSlot::CThumbnails1, "RahmenFüllfarbeButton"));
        widget<QSlider>(view, PageSlot::CThumbnails1, "Qualität")->setValue(75);
        EXPECT_EQ(widget<QLabel>(view, PageSlot::CThumbnails1, "Qualität_Prozent")->text(), "75%");

        // Script modules: a new module written in the editor and tested.
        click_node(view, 11);
        answer_next_name_window("hilfe");
        press(page_widget(view, PageSlot::CZantoScript2, "Modul_Neu_Button"));
        QApplication::setActiveWindow(&view);
        QPlainTextEdit* module = script_text(view, PageSlot::CZantoScript2);
        ASSERT_NE(module, nullptr);
        ASSERT_EQ(QApplication::focusWidget(), module);
        QTest::keyClicks(module, "function gruss() {");
        QTest::keyClick(module, Qt::Key_Return);
        QTest::keyClick(module, Qt::Key_Tab);
        QTest::keyClicks(module, "return \"Hallo\";");
        QTest::keyClick(module, Qt::Key_Return);
        QTest::keyClicks(module, "}");
        EXPECT_TRUE(module->document()->isUndoAvailable());
        EXPECT_EQ(widget<QComboBox>(view, PageSlot::CZantoScript2, "Modulliste")->itemData(0, Qt::UserRole + 1), "gold");
        port.boxes.clear();
        press(script_button(view, PageSlot::CZantoScript2));
        ASSERT_EQ(port.boxes.size(), 1u);
        EXPECT_EQ(port.boxes[0].style, MB_ICON_INFORMATION) << port.boxes[0].text;
        EXPECT_EQ(widget<QComboBox>(view, PageSlot::CZantoScript2, "Modulliste")->itemData(0, Qt::UserRole + 1), "grün");
        port.boxes.clear();

        // HTML output.
        click_node(view, 6);
        retype(page_widget(view, PageSlot::CHTML1, "htmlpath_base"), "galerie");
        retype(page_widget(view, PageSlot::CHTML1, "htmlfile_extension"), "htm");
        tick(page_widget(view, PageSlot::CHTML1, "HTMLDir_Löschen"));
        tick(page_widget(view, PageSlot::CHTML1, "Launch_Browser"));
        retype(page_widget(view, PageSlot::CHTML1, "html_DocType"), "<!DOCTYPE html>");
        retype(page_widget(view, PageSlot::CHTML1, "html_HTMLTag"), "lang=\"de\"");

        // Sorting: folders by date, pictures by name descending.
        click_node(view, 19);
        tick(page_widget(view, PageSlot::CHTMLSortierung1, "dirSort", 2));
        tick(page_widget(view, PageSlot::CHTMLSortierung1, "ImageSortDirection", 1));

        // Decoration: another folder name, existing copies kept.
        click_node(view, 5);
        retype(page_widget(view, PageSlot::CDeko1, "decopath"), "schmuck");
        tick(page_widget(view, PageSlot::CDeko1, "DekoImmerKopieren"));

        // Start page and index page on, with names of their own.
        click_node(view, 14);
        tick(page_widget(view, PageSlot::CHTMLStartseite1, "mit_HTML_Frameseite"));
        retype(page_widget(view, PageSlot::CHTMLStartseite1, "html_framefile_name"), "willkommen");
        click_node(view, 2);
        tick(page_widget(view, PageSlot::CHTMLIndex1, "mit_HTML_Indexfestlegung"));
        retype(page_widget(view, PageSlot::CHTMLIndex1, "html_indexfile_name"), "uebersicht");
        retype(page_widget(view, PageSlot::CHTMLIndex1, "indexeinträge_horizontal"), "3");

        // Thumbnail pages: two per line, a new page after each line.
        click_node(view, 3);
        retype(page_widget(view, PageSlot::CHTMLThumbnails1, "thumbs_per_line"), "2");
        tick(page_widget(view, PageSlot::CHTMLThumbnails1, "einige_auf_seite"));
        retype(page_widget(view, PageSlot::CHTMLThumbnails1, "lines_per_page"), "1");
        tick(page_widget(view, PageSlot::CHTMLThumbnails1, "NavExtended"));
        tick(page_widget(view, PageSlot::CHTMLThumbnails1, "Erstelldatum"));

        // The thumbnail pages' title calls the module.
        click_node(view, kBoxThumbLayout);
        QTest::mouseClick(view.widget("HTML_thumb_SD_html_title"), Qt::LeftButton);
        auto* input = qobject_cast<QPlainTextEdit*>(view.widget("Tag_Input"));
        input->selectAll();
        QTest::keyClicks(input, "{gruss()} Album");

        // No picture pages.
        click_node(view, 4);
        tick(page_widget(view, PageSlot::CHTMLBildseite1, "mit_HTML_Bildfestlegung"));

        // Save on the profile page, then OK.
        click_node(view, kBoxProfile);
        press(page_widget(view, PageSlot::CProfil1, "profil_speichern"));
        QTest::mouseClick(view.widget("OK"), Qt::LeftButton);
    });
    ASSERT_TRUE(ok);
    EXPECT_TRUE(port.boxes.empty()) << port.boxes.front().text;

    // The file read back is the profile those edits describe.
    const fs::path file = fs::path(benutzerprofilordner()) / "Rundreise.qvp";
    ASSERT_TRUE(fs::exists(file));
    profil_schluessel_definieren();
    Profiltabelle expected = geladene_Profileinstellungen();
    expected[1].value = programmversion();
    const std::vector<std::pair<int, std::string>> edits = {
        {2, "Rundreise durch alle Seiten"},
        {10, "1"},
        {28, "2"},
        {31, "if (file == \"anders\") return @FALSE;\r\nreturn @TRUE;"},
        {34, "vorschau"},
        {38, "80"},
        {39, "60"},
        {40, "4"},
        {41, "1"},
        {42, "65280"},
        {44, "75"},
        {81, "galerie"},
        {82, "1"},
        {83, "htm"},
        {85, "1"},
        {86, "schmuck"},
        {88, "0"},
        {91, "0"},
        {92, "<!DOCTYPE html>"},
        {93, "lang=\"de\""},
        {95, "1"},
        {96, "willkommen"},
        {99, "1"},
        {100, "uebersicht"},
        {102, "3"},
        {109, "1"},
        {110, "2"},
        {111, "1"},
        {113, "1"},
        {117, "0"},
        {118, "0"},
        {150, "{gruss()} Album"},
    };
    for (const auto& [index, value] : edits) expected[static_cast<size_t>(index)].value = value;
    CCloneEffekte no_effects;
    ZNModule modules;
    modules.add("hilfe", kModuleText, kModuleCompiled);
    EXPECT_EQ(read_file(file), profile_text(expected, no_effects, modules));

    // A batch run of the program with that profile.
    const fs::path log = tmp.path() / "run.txt";
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY '" GALVORA_BIN_DIR "/galvora' /Profile=Rundreise '/Basedir=" +
                                base.string() + "' /Level=0 >'" + log.string() + "' 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_EQ(status, 0) << read_file(log);

    const fs::path html = base / "galerie";
    ASSERT_TRUE(fs::is_directory(html)) << read_file(log);
    std::vector<std::string> pages;
    std::string all;
    for (const auto& entry : fs::directory_iterator(html)) {
        pages.push_back(entry.path().filename().string());
        if (entry.path().extension() == ".htm") all += read_file(entry.path());
    }
    std::sort(pages.begin(), pages.end());
    // Start page and index page by their names; no picture pages; nothing as ".html".
    EXPECT_TRUE(fs::exists(html / "willkommen.htm"));
    EXPECT_TRUE(fs::exists(html / "uebersicht.htm"));
    for (const std::string& page : pages) {
        EXPECT_NE(page.substr(page.size() - 5), ".html") << page;
        EXPECT_EQ(page.find("bild"), std::string::npos) << page;
    }
    // Three pictures, two per line and one line per page: two thumbnail pages.
    std::vector<std::string> thumbnail_pages;
    for (const std::string& page : pages)
        if (page.rfind("default", 0) == 0) thumbnail_pages.push_back(page);
    ASSERT_EQ(thumbnail_pages.size(), 2u) << ::testing::PrintToString(pages);
    const std::string first_page = read_file(html / thumbnail_pages[0]);
    EXPECT_NE(first_page.find("<title>Hallo Album</title>"), std::string::npos) << first_page;
    EXPECT_EQ(first_page.rfind("<!DOCTYPE html>", 0), 0u) << first_page.substr(0, 200);
    EXPECT_NE(first_page.find("lang=\"de\""), std::string::npos);
    // Names descending: bild3 and bild2 on the first page, bild1 on the second.
    EXPECT_LT(first_page.find("bild3"), first_page.find("bild2"));
    EXPECT_EQ(first_page.find("bild1"), std::string::npos);
    EXPECT_EQ(all.find("anders"), std::string::npos);
    // Thumbnails in their folder, fitted into 80 x 60 and framed in green.
    const fs::path thumbs = base / "vorschau";
    ASSERT_TRUE(fs::is_directory(thumbs)) << ::testing::PrintToString(tree_of(base));
    PictureBuffer thumb;
    int32_t width = 0;
    int32_t height = 0;
    ReadImage((thumbs / "bild1.jpg").string(), 6, thumb, width, height);
    EXPECT_EQ(width, 80);
    EXPECT_EQ(height, 60);
    const uint8_t* corner = thumb.pixel(0, 0);
    EXPECT_LT(corner[0], 60);
    EXPECT_GT(corner[1], 200);
    EXPECT_FALSE(fs::exists(thumbs / "anders.jpg"));
    EXPECT_TRUE(fs::is_directory(base / "schmuck"));
}

// Cancel on each page: the edit reached the working settings while the
// dialog was open, and after Cancel (Yes to the question) the settings and
// the loaded profile are as they were.
TEST_F(OptionPagesWindow, CancelOnEveryPageLeavesTheProfileAsItWas) {
    struct Case {
        int box;
        PageSlot slot;
        const char* control;
        int index;
        const char* typed;  // nullptr: a click
        int entry;
    };
    const Case cases[] = {
        {kBoxProfile, PageSlot::CProfil1, "Profil_Beschreibung", -1, "verworfen", 2},
        {0, PageSlot::CDateifilter1, "bild_art", 6, nullptr, 10},
        {0, PageSlot::CDateifilter1, "dateinamen", -1, "x*", 30},
        {1, PageSlot::CThumbnails1, "thumbverzeichnis", -1, "verworfen", 34},
        {1, PageSlot::CThumbnails1, "Seitenwahl", 3, nullptr, 40},
        {5, PageSlot::CDeko1, "decopath", -1, "verworfen", 86},
        {14, PageSlot::CHTMLStartseite1, "mit_HTML_Frameseite", -1, nullptr, 95},
        {2, PageSlot::CHTMLIndex1, "mit_HTML_Indexfestlegung", -1, nullptr, 99},
        {3, PageSlot::CHTMLThumbnails1, "thumbs_per_line", -1, "7", 110},
        {4, PageSlot::CHTMLBildseite1, "mit_HTML_Bildfestlegung", -1, nullptr, 118},
    };
    port.answer = ID_YES;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        const std::string before = profilwert(c.entry);
        const bool ok = open_and([&](OptionenDialog& view) {
            click_node(view, c.box);
            QWidget* control = page_widget(view, c.slot, c.control, c.index);
            if (c.typed == nullptr) {
                tick(control);
            } else if (auto* text = qobject_cast<QPlainTextEdit*>(control)) {
                QTest::mouseClick(text->viewport(), Qt::LeftButton);
                QTest::keyClicks(text, c.typed);
            } else {
                retype(control, c.typed);
            }
            EXPECT_NE(profilwert(c.entry), before) << "the edit reaches the working settings";
            QTest::mouseClick(view.widget("Abbrechen"), Qt::LeftButton);
        });
        EXPECT_FALSE(ok);
        EXPECT_EQ(profilwert(c.entry), before);
        EXPECT_EQ(geladene_Profileinstellungen()[static_cast<size_t>(c.entry)].value, before);
    }
}

TEST_F(OptionPagesWindow, ScriptEditorColoursIndentsFindsAndOpensHelp) {
    ProfileModules().add("muster", "function f(a) {\r\n  return exif(1);\r\n}", kModuleCompiled);
    ProfileModules().verändert_reset();
    dialog().seite_laden(PageSlot::CZantoScript2);
    open_and([this](OptionenDialog& view) {
        click_node(view, 11);
        QPlainTextEdit* edit = script_text(view, PageSlot::CZantoScript2);
        ASSERT_NE(edit, nullptr);
        // Each piece in its role's colour.
        auto colour_at = [edit](int line, int column) -> QColor {
            const QTextBlock block = edit->document()->findBlockByNumber(line);
            for (const QTextLayout::FormatRange& range : block.layout()->formats())
                if (column >= range.start && column < range.start + range.length) return range.format.foreground().color();
            return {};
        };
        auto syntax = [](int index) {
            const uint32_t c = SyntaxColors[static_cast<size_t>(index)];
            return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        };
        EXPECT_EQ(colour_at(0, 0), syntax(0));   // function
        EXPECT_EQ(colour_at(0, 9), syntax(2));   // f(
        EXPECT_EQ(colour_at(1, 9), syntax(2));   // exif(
        EXPECT_EQ(colour_at(1, 14), syntax(3));  // 1

        // A typed line is coloured at once; undo stays available: the colours
        // are no edits of the text here, so undo takes back only what was typed.
        QTextCursor cursor = edit->textCursor();
        cursor.movePosition(QTextCursor::End);
        edit->setTextCursor(cursor);
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClicks(edit, "x = @TRUE");
        EXPECT_EQ(colour_at(3, 4), syntax(6));
        EXPECT_TRUE(edit->document()->isUndoAvailable());
        EXPECT_EQ(view.findChild<QWidget*>("CZantoScript2")->findChild<QLabel*>("editpos")->text(),
                  "Zeile 4:4, Spalte 10:9");

        // F1 on the word at the caret.
        cursor.setPosition(edit->document()->findBlockByNumber(1).position() + 11);
        edit->setTextCursor(cursor);
        QTest::keyClick(edit, Qt::Key_F1);
        EXPECT_EQ(help_topics, std::vector<std::string>{"zng_doc703.htm#exif"});

        // Tab over lines 1 to 3 indents them; Shift+Tab takes it back; the
        // focus stays in the text.
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Tab);
        EXPECT_EQ(edit->toPlainText(), "  function f(a) {\n    return exif(1);\n  }\n  x = @TRUE");
        EXPECT_EQ(QApplication::focusWidget(), edit);
        QTest::keyClick(edit, Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(edit->toPlainText(), "function f(a) {\n  return exif(1);\n}\nx = @TRUE");
        // The editor's own edits are undone like typing.
        edit->undo();
        EXPECT_EQ(edit->toPlainText(), "  function f(a) {\n    return exif(1);\n  }\n  x = @TRUE");
    });
}

TEST_F(OptionPagesWindow, ContactSheetOfEveryPage) {
    load({{95, "1"}, {99, "1"}});
    ProfileModules().add("beispiel", "function beispiel(a) {\r\n  // ein Kommentar\r\n  return \"Text\" + a;\r\n}",
                         kModuleCompiled);
    dialog().seite_laden(PageSlot::CZantoScript2);
    OptionenDialog view(optionen());
    view.show();
    QApplication::setActiveWindow(&view);
    struct Shot {
        int box;
        QImage image;
    };
    std::vector<Shot> shots;
    for (int b : {16, 7, 0, 1, 11, 17, 6, 19, 5, 14, 2, 3, 4}) {
        click_node(view, b);
        ASSERT_EQ(view.model().sichtbare_box(), b);
        QCoreApplication::processEvents();
        shots.push_back({b, view.grab().toImage()});
        ASSERT_FALSE(shots.back().image.isNull());
    }
    view.hide();

    // Three columns of half-size shots, each under its page's title.
    constexpr int kColumns = 3;
    const QSize cell = shots.front().image.size() / 2;
    const int caption = 22;
    QImage sheet(kColumns * cell.width(), static_cast<int>((shots.size() + kColumns - 1) / kColumns) * (cell.height() + caption),
                 QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (size_t i = 0; i < shots.size(); ++i) {
        const int x = static_cast<int>(i % kColumns) * cell.width();
        const int y = static_cast<int>(i / kColumns) * (cell.height() + caption);
        painter.drawText(QRect(x + 6, y, cell.width() - 12, caption), Qt::AlignVCenter,
                         QString::fromStdString(dialog().baum().node(PageTree::key_of(shots[i].box))->text));
        painter.drawImage(QRect(QPoint(x, y + caption), cell), shots[i].image);
    }
    painter.end();
    const fs::path folder = fs::path(GALVORA_BUILD_DIR) / "screenshots";
    fs::create_directories(folder);
    const fs::path file = folder / "option_pages_contact_sheet.png";
    ASSERT_TRUE(sheet.save(QString::fromStdString(file.string())));
    EXPECT_GT(fs::file_size(file), 10000u);
}

}  // namespace
}  // namespace galvora::testing
