// The clone settings, renaming and clone-effect pages in the options
// dialog's window, driven as the user drives them: the effect list built
// through the editors' widgets, saved in a profile and run in batch mode by
// the program itself; the eyedropper with the mouse; OK by its key; and a
// contact sheet of every editor written into the build folder.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <regex>

#include "gui/options/effect_page_views.h"
#include "gui/options/form_view.h"
#include "gui/options/options_dialog_view.h"
#include "gui/options/qt_bridge.h"
#include "gui/options_view_support.h"
#include "image/picture/zn_image.h"
#include "image/image_file_record.h"
#include "german_locale.h"
#include "options/options_test_support.h"
#include "options/test_pictures.h"
#include "options/pages/clone_effects_page.h"
#include "options/pages/clone_page.h"
#include "options/pages/clone_rename_page.h"
#include "profile/border.h"
#include "profile/image_stamp.h"
#include "profile/picture_effect.h"
#include "profile/profile_file.h"
#include "profile/profile_lists.h"
#include "profile/text_stamp.h"
#include "profile/profiles.h"
#include "foundation/text_codec.h"
#include "image/picture_io.h"
#include "options/pages/effect_editor_support.h"
#include "foundation/registry.h"
#include "generation/run_state.h"
#include "generation/settings_access.h"
#include "image/picture_type.h"
#include "options/value_encodings.h"
#include "profile/script_modules.h"
#include "script/engine.h"

namespace galvora::testing {
namespace {

constexpr int kBoxCloning = 12;
constexpr int kBoxRename = 18;
constexpr int kBoxEffects = 13;
constexpr int kClonePathEntry = 53;

class ClonePagesWindow : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        user_profile_folder();
    }
    void TearDown() override {
        QCoreApplication::processEvents();
        optionen_ansicht_freigeben();
        OptionsTest::TearDown();
    }

    CClonenEffekte& effects_page() { return *dynamic_cast<CClonenEffekte*>(dialog().seite(PageSlot::CClonenEffekte1)); }

    static void click_node(OptionenDialog& view, int box) { click_tree_node(view, box); }
};

// ---------------------------------------------------------------- the list through the editors

// Opens the dialog through the main window's entry and runs the steps while
// it is open; whatever the steps leave open is cancelled.
bool open_and(const std::function<void(OptionenDialog&)>& steps) {
    QTimer::singleShot(0, [steps] {
        OptionenDialog* view = optionen_ansicht();
        if (view == nullptr) return;
        QApplication::setActiveWindow(view);
        steps(*view);
        if (view->isVisible()) view->done(QDialog::Rejected);
    });
    return optionen_zeigen(nullptr);
}

template <class W = QWidget>
W* widget_in(FormView& form, const char* name, int index = -1) {
    auto* widget = qobject_cast<W*>(form.widget_of(form.page().control(name, index)));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// The form view of a nested effect editor.
FormView& editor_form(OptionenDialog& view, const char* editor) {
    FormView& page = *view.page_view(PageSlot::CClonenEffekte1);
    auto* nested = dynamic_cast<NestedPageView*>(page.widget_of(page.page().control(editor)));
    EXPECT_NE(nested, nullptr) << editor;
    return nested->form();
}

void type_into(QLineEdit* box, const char* text, bool enter) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    if (enter) QTest::keyClick(box, Qt::Key_Return);
}

// A click on a check box or option button lands on its box, as a user's does.
void tick(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// Switches cloning on and adds the add menu's entry (0 text stamp, 1 image
// stamp, 2 frame, 3 picture effect) to the list; the effects page's form,
// the dialog active again.
FormView& first_effect(OptionenDialog& view, int entry) {
    click_tree_node(view, kBoxCloning);
    tick(widget_in<QCheckBox>(*view.page_view(PageSlot::CClonen1), "CloneErzeugen"));
    click_tree_node(view, kBoxEffects);
    FormView& page = *view.page_view(PageSlot::CClonenEffekte1);
    QTest::mouseClick(widget_in<QPushButton>(page, "Edit"), Qt::LeftButton);
    auto* menu = dynamic_cast<PopupMenu*>(page.widget_of(page.page().control("pEffektMenü")));
    EXPECT_NE(menu, nullptr);
    if (menu != nullptr) {
        QTest::mouseClick(widget_in<QPushButton>(page, "Neu"), Qt::LeftButton);
        menu->menu()->actions()[entry]->trigger();
        menu->menu()->hide();
        QApplication::processEvents();
    }
    QApplication::setActiveWindow(&view);
    return page;
}

void choose_in(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// Runs the program in batch mode with a user profile over a picture folder;
// the exit status, with what it wrote to its outputs.
std::pair<int, std::string> run_batch(const TempFolder& tmp, const std::string& profile, const fs::path& pictures) {
    QProcess galvora;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    // The sanitizer build's program: fontconfig keeps a little of its
    // configuration to the end, as in the test programs.
    const fs::path suppressions = tmp.path() / "lsan.supp";
    write_file(suppressions, "leak:libfontconfig.so\n");
    environment.insert("LSAN_OPTIONS", QString::fromStdString("suppressions=" + suppressions.string()));
    galvora.setProcessEnvironment(environment);
    galvora.start(QString::fromStdString((fs::path(GALVORA_BIN_DIR) / "galvora").string()),
                  {QString::fromStdString("/Profile=" + profile), QString::fromStdString("/Basedir=" + pictures.string()),
                   "/Level=0"});
    if (!galvora.waitForFinished(-1)) return {-1, "the program did not finish"};
    return {galvora.exitCode(),
            galvora.readAllStandardError().toStdString() + galvora.readAllStandardOutput().toStdString()};
}

// The original with the list's effects applied in list order by the clone
// step's own code (a text stamp draws its text as it stands), and when the
// clone is a JPEG, saved and read back as the run saves it.
PictureBuffer expected_clone(const TempFolder& tmp, const fs::path& original, int32_t type,
                             const CCloneEffekte& effects) {
    PictureBuffer picture;
    int32_t width = 0;
    int32_t height = 0;
    ReadImage(original.string(), type, picture, width, height);
    ZNImage image;
    image.ImageFile(std::make_shared<ZNImageFile>());
    image.CloneRGB(picture.copy());
    for (long i = 1; i <= effects.count(); ++i) {
        ErrorInfo error;
        const auto item = effects.item(i);
        const auto* text = dynamic_cast<const CTextStamp*>(item.get());
        EXPECT_TRUE(image.CloneEffektAnwenden(*item, text != nullptr ? text->Text() : std::string(), error))
            << i << " " << error.description;
    }
    if (type != picture_type::jpeg) return image.CloneRGB().copy();
    const fs::path saved = tmp.path() / "expected.jpg";
    int32_t used = 0;
    WriteImage(saved.string(), type, image.CloneRGB(), entry_as_int32(profilwert(kSetCloneQuality)).value_or(0), 0,
               switch_is_on(profilwert(kSetCloneJpgProgressive)), 0, used);
    PictureBuffer back;
    ReadImage(saved.string(), type, back, width, height);
    return back;
}

// The clone the run wrote equals, pixel for pixel, the expected picture.
void expect_same_pixels(const fs::path& clone, int32_t type, const PictureBuffer& expected) {
    PictureBuffer written;
    int32_t width = 0;
    int32_t height = 0;
    ASSERT_TRUE(fs::exists(clone)) << clone;
    ReadImage(clone.string(), type, written, width, height);
    ASSERT_EQ(width, expected.width());
    ASSERT_EQ(height, expected.height());
    ASSERT_EQ(expected.size_bytes(), written.size_bytes());
    EXPECT_EQ(std::memcmp(expected.data(), written.data(), written.size_bytes()), 0);
}

TEST_F(ClonePagesWindow, AListBuiltInTheEditorsIsSavedAndRunInBatchMode) {
    const fs::path pictures = tmp.path() / "pictures";
    write_picture(pictures / "photo.png", 64, 48);
    const fs::path stamp_file = tmp.path() / "stamp.png";
    write_picture(stamp_file, 20, 16);
    const fs::path clones = tmp.path() / "clones";
    load({{10, "1"}});  // PNG pictures are read (the file filter page's switch)
    ASSERT_EQ(profil_neu("Effekte"), 1);
    ASSERT_EQ(aktuelles_profil()->Name(), "Effekte");
    dialogs.files = {stamp_file.string()};
    dialogs.colours = {0x2050A0};

    const bool ok = open_and([&](OptionenDialog& view) {
        click_node(view, kBoxCloning);
        FormView& cloning = *view.page_view(PageSlot::CClonen1);
        tick(widget_in<QCheckBox>(cloning, "CloneErzeugen"));
        type_into(widget_in<QLineEdit>(cloning, "ClonePfad"), clones.string().c_str(), false);
        tick(widget_in<QCheckBox>(cloning, "CloneKopieJPG"));

        click_node(view, kBoxEffects);
        ASSERT_EQ(view.model().sichtbare_box(), kBoxEffects);
        FormView& page = *view.page_view(PageSlot::CClonenEffekte1);
        QTest::mouseClick(widget_in<QPushButton>(page, "Edit"), Qt::LeftButton);
        auto* menu = dynamic_cast<PopupMenu*>(page.widget_of(page.page().control("pEffektMenü")));
        ASSERT_NE(menu, nullptr);
        for (int entry = 0; entry < 4; ++entry) {
            QTest::mouseClick(widget_in<QPushButton>(page, "Neu"), Qt::LeftButton);
            ASSERT_TRUE(menu->menu()->isVisible());
            ASSERT_EQ(menu->menu()->actions().size(), 4);
            menu->menu()->actions()[entry]->trigger();
            menu->menu()->hide();
            QApplication::processEvents();
        }
        // The menu took the window's activity with it; the user comes back.
        QApplication::setActiveWindow(&view);
        // F2 renames the frame in the list.
        auto* list = widget_in<QTreeWidget>(page, "ListViewCloneEffekte");
        ASSERT_EQ(list->topLevelItemCount(), 4);
        list->setFocus();
        list->setCurrentItem(list->topLevelItem(2));
        QTest::keyClick(list, Qt::Key_F2);
        QApplication::processEvents();
        auto* label_editor = list->findChild<QLineEdit*>();
        ASSERT_NE(label_editor, nullptr);
        label_editor->selectAll();
        QTest::keyClicks(label_editor, "Blauer Rahmen");
        QTest::keyClick(label_editor, Qt::Key_Return);
        QApplication::processEvents();
        QTest::mouseClick(widget_in<QPushButton>(page, "Auswählen"), Qt::LeftButton);
        auto* chooser = widget_in<QComboBox>(page, "ComboCloneEffekte");
        ASSERT_EQ(chooser->count(), 4);
        EXPECT_EQ(chooser->itemText(2), "Blauer Rahmen");

        // The picture effect: a mosaic of 6 x 6 cells.
        choose_in(chooser, 3);
        FormView& effect = editor_form(view, "CBildEffekte1");
        ASSERT_TRUE(effect.isVisible());
        choose_in(widget_in<QComboBox>(effect, "BildeffektartCombo"), 7);
        type_into(widget_in<QLineEdit>(effect, "Mosaikbreite"), "6", true);
        type_into(widget_in<QLineEdit>(effect, "Mosaikhöhe"), "6", true);

        // The text stamp: its text, its height, bottom right on a box.
        choose_in(chooser, 0);
        FormView& text = editor_form(view, "CTextStempel1");
        auto* text_box = widget_in<QPlainTextEdit>(text, "StempelText");
        ASSERT_TRUE(text_box->isVisible());
        text_box->setFocus();
        text_box->selectAll();
        QTest::keyClicks(text_box, "Galvora");
        choose_in(widget_in<QComboBox>(text, "StempelTextSchrift"),
                  widget_in<QComboBox>(text, "StempelTextSchrift")->findText("DejaVu Sans"));
        type_into(widget_in<QLineEdit>(text, "StempelTextHöhe"), "14", true);
        QTest::mouseClick(widget_in(text, "StempelTextPosition", 9), Qt::LeftButton);
        tick(widget_in<QCheckBox>(text, "StempelTextHGFüllen"));

        // The image stamp: its picture, top right, its red picked as transparent.
        choose_in(chooser, 1);
        FormView& image = editor_form(view, "CBildStempel1");
        QTest::mouseClick(widget_in<QPushButton>(image, "Bildwahl"), Qt::LeftButton);
        QTest::mouseClick(widget_in(image, "StempelBildPosition", 3), Qt::LeftButton);
        tick(widget_in<QCheckBox>(image, "StempelBildMitTransparentfarbe"));
        auto* stamp_page = dynamic_cast<CBildStempel*>(&image.page());
        const Einpassung drawn = stamp_page->gezeichnet();
        QWidget* preview = widget_in(image, "StempelBildWahl");
        const QPoint red(drawn.left + drawn.width / 2, drawn.top + drawn.height / 2);
        QTest::mousePress(preview, Qt::LeftButton, {}, red);
        QTest::mouseRelease(preview, Qt::LeftButton, {}, red);
        widget_in<QSlider>(image, "StempelBildFarbtoleranz")->setValue(10);
        widget_in<QSlider>(image, "StempelBildDeckkraft")->setValue(80);
        type_into(widget_in<QLineEdit>(image, "StempelBildOffsetX"), "-3", true);

        // The frame: outer, coloured; its width typed and left by OK's key.
        choose_in(chooser, 2);
        FormView& frame = editor_form(view, "CRahmen1");
        tick(widget_in<QRadioButton>(frame, "InnenAussen", 1));
        QTest::mouseClick(widget_in<QPushButton>(frame, "FarbeButton"), Qt::LeftButton);
        type_into(widget_in<QLineEdit>(frame, "Breite"), "9", false);
        ASSERT_EQ(QApplication::focusWidget(), widget_in(frame, "Breite"));
        // OK by its key: the width box still has the focus when OK runs.
        qobject_cast<QPushButton*>(view.widget("OK"))->click();
    });
    ASSERT_TRUE(ok);
    ASSERT_TRUE(port.boxes.empty()) << port.boxes.front().text;

    // What the editors built, as the dialog accepted it.
    const CCloneEffekte& built = LoadedCloneEffects();
    ASSERT_EQ(built.count(), 4);
    const auto& text = dynamic_cast<const CTextStamp&>(*built.item(1));
    const auto& image = dynamic_cast<const CImageStamp&>(*built.item(2));
    const auto& frame = dynamic_cast<const CBorder&>(*built.item(3));
    const auto& effect = dynamic_cast<const CBildEffekt&>(*built.item(4));
    EXPECT_EQ(text.Text(), "Galvora");
    EXPECT_EQ(text.Font(), "DejaVu Sans");
    EXPECT_EQ(text.Height(), 14);
    EXPECT_EQ(text.Position(), 9);
    EXPECT_EQ(text.Background(), 1);
    EXPECT_EQ(image.Name(), stamp_file.string());
    EXPECT_EQ(image.Position(), 3);
    EXPECT_EQ(image.OffsetX(), -3);
    EXPECT_EQ(image.TransparenteFarbeNutzen(), 1);
    EXPECT_EQ(image.TransparenteFarbe(), 0x0000FF) << "picked from the stamp's red square";
    EXPECT_EQ(image.TransparenzFarbtoleranz(), 19507);
    EXPECT_EQ(image.deckkraft(), 80);
    EXPECT_EQ(frame.Description(), "Blauer Rahmen");
    EXPECT_EQ(frame.RahmenArt(), 1);
    EXPECT_EQ(frame.Farbe(), 0x2050A0);
    EXPECT_EQ(frame.Breite(), 9) << "the edit that had the focus when OK was pressed";
    EXPECT_EQ(effect.Bildeffektart(), 12);
    EXPECT_EQ(effect.LongArray(1), 6);
    EXPECT_EQ(effect.LongArray(2), 6);

    // Saved, and run by the program in batch mode.
    ASSERT_EQ(profil_speichern(), 1);
    const fs::path file = profildatei(benutzerprofilordner(), "Effekte");
    ASSERT_TRUE(fs::exists(file));
    const auto [status, output] = run_batch(tmp, "Effekte", pictures);
    EXPECT_EQ(status, 0) << output;
    // The clone is the picture with exactly these four effects, in list order,
    // each frame side 9 pixels wide.
    const PictureBuffer expected = expected_clone(tmp, pictures / "photo.png", picture_type::png, built);
    EXPECT_EQ(expected.width(), 64 + 2 * 9);
    EXPECT_EQ(expected.height(), 48 + 2 * 9);
    expect_same_pixels(clones / "photo.png", picture_type::png, expected);

    // The list read back from the profile file is the list built, property
    // for property, and writes the same text again.
    std::error_code ec;
    const auto bytes = read_file_bytes(file, ec);
    ASSERT_TRUE(bytes.has_value());
    Profiltabelle table = geladene_Profileinstellungen();
    CCloneEffekte reread;
    ZNModule modules;
    profile_lines_einlesen(split_lines(decode_text(*bytes)), table, reread, modules);
    ASSERT_EQ(reread.count(), built.count());
    EXPECT_EQ(profile_text(table, reread, modules), profile_text(table, built, modules));
    EXPECT_EQ(dynamic_cast<const CTextStamp&>(*reread.item(1)).Text(), "Galvora");
    EXPECT_EQ(dynamic_cast<const CImageStamp&>(*reread.item(2)).TransparenzFarbtoleranz(), 19507);
    EXPECT_EQ(reread.item(3)->Description(), "Blauer Rahmen");
    EXPECT_EQ(dynamic_cast<const CBildEffekt&>(*reread.item(4)).LongArray(2), 6);
    EXPECT_EQ(profile_text(table, reread, modules), decode_text(*bytes));
}

// In a German locale the picture effect editor's value label shows a
// decimal comma, as the user reads numbers; the profile saved from the
// dialog keeps its numbers with ".", so it reads back in every locale.
TEST_F(ClonePagesWindow, AGermanLocaleShowsACommaAndSavesAPoint) {
    ASSERT_TRUE(set_german_locale());
    ASSERT_EQ(profil_neu("Komma"), 1);
    QString shown;
    const bool ok = open_and([&](OptionenDialog& view) {
        FormView& page = first_effect(view, 3);  // a picture effect
        QTest::mouseClick(widget_in<QPushButton>(page, "Auswählen"), Qt::LeftButton);
        choose_in(widget_in<QComboBox>(page, "ComboCloneEffekte"), 0);
        FormView& effect = editor_form(view, "CBildEffekte1");
        const auto& kinds = dynamic_cast<CBildEffekte&>(effect.page()).kinds();
        for (size_t i = 0; i < kinds.size(); ++i)
            if (kinds[i].kind == 1) choose_in(widget_in<QComboBox>(effect, "BildeffektartCombo"), static_cast<int>(i));
        auto* slider = widget_in<QSlider>(effect, "GammawertSlider");
        slider->setValue(150);
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Right);
        shown = widget_in<QLabel>(effect, "Gammawert")->text();
        qobject_cast<QPushButton*>(view.widget("OK"))->click();
    });
    ASSERT_TRUE(ok);
    ASSERT_TRUE(port.boxes.empty()) << port.boxes.front().text;
    ASSERT_EQ(profil_speichern(), 1);
    set_c_locale();
    EXPECT_EQ(shown.toStdString(), "1,51");
    const std::string text = read_file(profildatei(benutzerprofilordner(), "Komma"));
    EXPECT_NE(text.find("IMAGE_EFFECT_DOUBLEVALUE_01=1.51\r\n"), std::string::npos) << text;
    EXPECT_FALSE(std::regex_search(text, std::regex("=-?[0-9]+,[0-9]"))) << text;
}

// ---------------------------------------------------------------- a loaded list edited

// The list a saved profile starts with: a text stamp, an outer frame and a
// mosaic.
void add_starting_list(CCloneEffekte& list) {
    auto text = std::make_shared<CTextStamp>();
    text->Description("Stempel");
    text->Text("Alt");
    text->Font("DejaVu Sans");
    text->Height(20);
    text->Position(5);
    list.add(text);
    auto frame = std::make_shared<CBorder>();
    frame->Description("Rahmen");
    frame->RahmenArt(1);
    frame->Breite(4);
    frame->Farbe(0x102030);
    list.add(frame);
    auto mosaic = std::make_shared<CBildEffekt>();
    mosaic->Description("Mosaik");
    mosaic->Bildeffektart(12);
    mosaic->LongArray(1, 6);
    mosaic->LongArray(2, 6);
    list.add(mosaic);
}

// Shows the list editor and clicks a row (0-based).
void list_editor_at(FormView& page, int row) {
    QTest::mouseClick(widget_in<QPushButton>(page, "Edit"), Qt::LeftButton);
    auto* list = widget_in<QTreeWidget>(page, "ListViewCloneEffekte");
    ASSERT_GT(list->topLevelItemCount(), row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(row)).center());
}

// The built-in profile holds no effect: the first one comes from the add
// button's menu, by mouse and by keyboard.
TEST_F(ClonePagesWindow, TheFirstEffectsOfAnEmptyListAreAddedByMouseAndByKeyboard) {
    ASSERT_EQ(WorkingCloneEffects().count(), 0);
    const bool ok = open_and([&](OptionenDialog& view) {
        click_node(view, kBoxCloning);
        tick(widget_in<QCheckBox>(*view.page_view(PageSlot::CClonen1), "CloneErzeugen"));
        click_node(view, kBoxEffects);
        ASSERT_EQ(view.model().sichtbare_box(), kBoxEffects);
        FormView& page = *view.page_view(PageSlot::CClonenEffekte1);
        QTest::mouseClick(widget_in<QPushButton>(page, "Edit"), Qt::LeftButton);
        auto* popup = dynamic_cast<PopupMenu*>(page.widget_of(page.page().control("pEffektMenü")));
        ASSERT_NE(popup, nullptr);
        QMenu* menu = popup->menu();
        auto* add = widget_in<QPushButton>(page, "Neu");
        ASSERT_TRUE(add->isEnabled());

        // The mouse: the third entry, the frame.
        QTest::mouseClick(add, Qt::LeftButton);
        ASSERT_TRUE(menu->isVisible());
        ASSERT_EQ(menu->actions().size(), 4);
        EXPECT_TRUE(menu->isEnabled());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions()[2]).center());
        QApplication::processEvents();
        EXPECT_FALSE(menu->isVisible());
        QApplication::setActiveWindow(&view);

        // The keyboard: Space on the add button, down to the second entry, Return.
        add->setFocus();
        QTest::keyClick(add, Qt::Key_Space);
        ASSERT_TRUE(menu->isVisible());
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_FALSE(menu->isVisible());
        QApplication::setActiveWindow(&view);

        auto* list = widget_in<QTreeWidget>(page, "ListViewCloneEffekte");
        ASSERT_EQ(list->topLevelItemCount(), 2);
        EXPECT_EQ(list->topLevelItem(0)->text(0).toStdString(), "Rahmen");
        EXPECT_EQ(list->topLevelItem(1)->text(0).toStdString(), "Bildstempel");
        QTest::mouseClick(widget_in<QPushButton>(page, "Auswählen"), Qt::LeftButton);
        EXPECT_EQ(widget_in<QComboBox>(page, "ComboCloneEffekte")->count(), 2);
        QTest::mouseClick(view.widget("OK"), Qt::LeftButton);
    });
    ASSERT_TRUE(ok);
    ASSERT_EQ(WorkingCloneEffects().count(), 2);
    EXPECT_NE(dynamic_cast<const CBorder*>(WorkingCloneEffects().item(1).get()), nullptr);
    EXPECT_NE(dynamic_cast<const CImageStamp*>(WorkingCloneEffects().item(2).get()), nullptr);
}

TEST_F(ClonePagesWindow, AnEffectEditedInASavedListReachesTheClonesOfAPhoto) {
    const fs::path photo =
        fs::path(GALVORA_TESTDATA_DIR) / "images" / "pkg" /
        "golang-golang-x-image-dev/root/usr/share/gocode/src/golang.org/x/image/testdata/go-turns-two-280x360.jpeg";
    ASSERT_TRUE(fs::exists(photo)) << "test picture missing: run scripts/fetch-testdata.sh <build>/testdata";
    struct Case {
        const char* what;
        std::function<void(OptionenDialog&, FormView&)> edit;
        std::function<void(const CCloneEffekte&)> check;
    };
    auto choose_effect = [](FormView& page, int index) {
        choose_in(widget_in<QComboBox>(page, "ComboCloneEffekte"), index);
    };
    const Case cases[] = {
        {"mosaic cells typed",
         [&](OptionenDialog& view, FormView& page) {
             choose_effect(page, 2);
             type_into(widget_in<QLineEdit>(editor_form(view, "CBildEffekte1"), "Mosaikbreite"), "15", true);
         },
         [](const CCloneEffekte& list) {
             EXPECT_EQ(dynamic_cast<const CBildEffekt&>(*list.item(3)).LongArray(1), 15);
         }},
        {"mosaic turned into a vertical mirror",
         [&](OptionenDialog& view, FormView& page) {
             choose_effect(page, 2);
             FormView& effect = editor_form(view, "CBildEffekte1");
             const auto& kinds = dynamic_cast<CBildEffekte&>(effect.page()).kinds();
             for (size_t i = 0; i < kinds.size(); ++i)
                 if (kinds[i].kind == 14)
                     choose_in(widget_in<QComboBox>(effect, "BildeffektartCombo"), static_cast<int>(i));
             tick(widget_in<QRadioButton>(effect, "Flipart", 2));
         },
         [](const CCloneEffekte& list) {
             const auto& effect = dynamic_cast<const CBildEffekt&>(*list.item(3));
             EXPECT_EQ(effect.Bildeffektart(), 14);
             EXPECT_EQ(effect.LongArray(1), 2);
         }},
        {"frame width typed and its colour chosen",
         [&](OptionenDialog& view, FormView& page) {
             choose_effect(page, 1);
             FormView& frame = editor_form(view, "CRahmen1");
             QTest::mouseClick(widget_in<QPushButton>(frame, "FarbeButton"), Qt::LeftButton);
             type_into(widget_in<QLineEdit>(frame, "Breite"), "11", true);
         },
         [](const CCloneEffekte& list) {
             const auto& frame = dynamic_cast<const CBorder&>(*list.item(2));
             EXPECT_EQ(frame.Breite(), 11);
             EXPECT_EQ(frame.Farbe(), 0x30C060);
         }},
        {"stamp text typed",
         [&](OptionenDialog& view, FormView& page) {
             choose_effect(page, 0);
             auto* text = widget_in<QPlainTextEdit>(editor_form(view, "CTextStempel1"), "StempelText");
             text->setFocus();
             text->selectAll();
             QTest::keyClicks(text, "Neu");
         },
         [](const CCloneEffekte& list) { EXPECT_EQ(dynamic_cast<const CTextStamp&>(*list.item(1)).Text(), "Neu"); }},
        {"frame moved below the mosaic",
         [&](OptionenDialog&, FormView& page) {
             list_editor_at(page, 1);
             QTest::mouseClick(widget_in<QPushButton>(page, "nachUnten"), Qt::LeftButton);
         },
         [](const CCloneEffekte& list) {
             EXPECT_EQ(list.item(2)->Description(), "Mosaik");
             EXPECT_EQ(list.item(3)->Description(), "Rahmen");
         }},
        {"mosaic deleted",
         [&](OptionenDialog&, FormView& page) {
             list_editor_at(page, 2);
             QTest::mouseClick(widget_in<QPushButton>(page, "Löschen"), Qt::LeftButton);
         },
         [](const CCloneEffekte& list) {
             ASSERT_EQ(list.count(), 2);
             EXPECT_EQ(list.item(2)->Description(), "Rahmen");
         }},
        {"picture effect added at the end",
         [&](OptionenDialog& view, FormView& page) {
             list_editor_at(page, 0);
             QTest::mouseClick(widget_in<QPushButton>(page, "Neu"), Qt::LeftButton);
             auto* menu = dynamic_cast<PopupMenu*>(page.widget_of(page.page().control("pEffektMenü")));
             ASSERT_NE(menu, nullptr);
             menu->menu()->actions()[3]->trigger();
             menu->menu()->hide();
             QApplication::processEvents();
             QApplication::setActiveWindow(&view);
         },
         [](const CCloneEffekte& list) {
             ASSERT_EQ(list.count(), 4);
             EXPECT_NE(dynamic_cast<const CBildEffekt*>(list.item(4).get()), nullptr);
         }},
    };
    const fs::path pictures = tmp.path() / "pictures";
    fs::create_directories(pictures);
    fs::copy_file(photo, pictures / "photo.jpg");
    for (size_t n = 0; n < std::size(cases); ++n) {
        const Case& c = cases[n];
        SCOPED_TRACE(c.what);
        // A saved profile with the starting list, read back from its file.
        const std::string name = "Bearbeitet" + std::to_string(n);
        const fs::path clones = tmp.path() / ("clones" + std::to_string(n));
        LoadedCloneEffects().clear();
        add_starting_list(LoadedCloneEffects());
        load({{kSetGenerateClones, "1"}, {kClonePathEntry, clones.string()}});
        ASSERT_EQ(profil_neu(name), 1);
        profil_laden(profil_per_name(name));
        ASSERT_EQ(WorkingCloneEffects().count(), 3);
        dialogs.colours = {0x30C060};

        const bool ok = open_and([&](OptionenDialog& view) {
            click_node(view, kBoxEffects);
            ASSERT_EQ(view.model().sichtbare_box(), kBoxEffects);
            c.edit(view, *view.page_view(PageSlot::CClonenEffekte1));
            qobject_cast<QPushButton*>(view.widget("OK"))->click();
        });
        ASSERT_TRUE(ok);
        ASSERT_TRUE(port.boxes.empty()) << port.boxes.front().text;
        const CCloneEffekte& accepted = LoadedCloneEffects();
        c.check(accepted);
        ASSERT_EQ(profil_speichern(), 1);

        const auto [status, output] = run_batch(tmp, name, pictures);
        EXPECT_EQ(status, 0) << output;
        expect_same_pixels(clones / "photo.jpg", picture_type::jpeg,
                           expected_clone(tmp, pictures / "photo.jpg", picture_type::jpeg, accepted));
    }
}

// ---------------------------------------------------------------- the preview of a text stamp

// The preview box as the window shows it.
QImage preview_pixels(FormView& page) {
    return page.widget_of(page.page().control("BeispielImage"))->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The sample with the stamp drawn with this text by the clone step's own code.
QImage sample_stamped(const CTextStamp& stamp, const std::string& text, int32_t width, int32_t height) {
    ZNImage image;
    image.ImageFile(std::make_shared<ZNImageFile>());
    image.CloneRGB(CClonenEffekte::beispiel_aufnehmen(width, height));
    ErrorInfo error;
    EXPECT_TRUE(image.CloneEffektAnwenden(stamp, text, error)) << error.description;
    return to_image(image.CloneRGB()).convertToFormat(QImage::Format_RGB32);
}

// A stamp text is a template: typed into the stamp's text box, the preview
// shows what it writes for the sample (a module function of the profile and
// the picture's size included), as the run stamps it, and nothing when it
// does not compile, as the run finds no function for it then. The engine
// keeps nothing of it, so the page's syntax test still reports the text.
TEST_F(ClonePagesWindow, AStampTextIsPreviewedAsTheScriptWritesIt) {
    ProfileModules().add("stempel", "function stempeltext() {\r\n  return \"EF\";\r\n}\r\n", kModuleNotCompiled);
    const ZNSFunktionArray::Stand engine_before = zns()->fkt_oba.stand();
    struct Case {
        const char* typed;
        const char* stamped;
    };
    const Case cases[] = {
        {"{\"AB\" + \"CD\"}", "ABCD"},
        {"{stempeltext()} {dimx}x{dimy}", "EF 146x146"},
        {"AB{\"CD\" +}", ""},
        // An endless loop stops early and counts as no script error of the next run.
        {"{while (1) { x = 1; }}", ""},
    };
    const bool ok = open_and([&](OptionenDialog& view) {
        FormView& page = first_effect(view, 0);
        QTest::mouseClick(widget_in<QPushButton>(page, "Auswählen"), Qt::LeftButton);
        ASSERT_EQ(WorkingCloneEffects().count(), 1);
        const auto& stamp = dynamic_cast<const CTextStamp&>(*WorkingCloneEffects().item(1));

        FormView& text = editor_form(view, "CTextStempel1");
        ASSERT_TRUE(text.isVisible());
        choose_in(widget_in<QComboBox>(text, "StempelTextSchrift"),
                  widget_in<QComboBox>(text, "StempelTextSchrift")->findText("DejaVu Sans"));
        type_into(widget_in<QLineEdit>(text, "StempelTextHöhe"), "24", true);
        QTest::mouseClick(widget_in(text, "StempelTextPosition", 5), Qt::LeftButton);
        const int32_t width = effects_page().vorschau_breite();
        const int32_t height = effects_page().vorschau_hoehe();
        auto* box = widget_in<QPlainTextEdit>(text, "StempelText");
        for (const Case& c : cases) {
            SCOPED_TRACE(c.typed);
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, c.typed);
            QApplication::processEvents();
            ASSERT_EQ(stamp.Text(), c.typed);
            const QImage shown = preview_pixels(page);
            const QImage expected = sample_stamped(stamp, c.stamped, width, height);
            // The box holds the sample picture and nothing beside it.
            ASSERT_EQ(shown.size(), expected.size());
            EXPECT_EQ(shown, expected);
            EXPECT_NE(expected, sample_stamped(stamp, c.typed, width, height)) << "the braces would show";
            // Nothing of the stamp's script stays in the engine.
            EXPECT_EQ(zns()->fkt_oba.count(), static_cast<int32_t>(engine_before.size()));
            EXPECT_EQ(zns()->fkt_oba.funktion_per_bezeichner(stempeltext_funktion(1)), nullptr);
            EXPECT_EQ(zns()->fkt_oba.funktion_fehlt(), nullptr);
            EXPECT_EQ(lauf_auftrag().skriptfehler_vorab, 0);
        }
        // The page's syntax test still finds the text sound.
        port.boxes.clear();
        QTest::mouseClick(widget_in<QPushButton>(text, "SyntaxTest"), Qt::LeftButton);
        ASSERT_EQ(port.boxes.size(), 1u);
        EXPECT_EQ(port.boxes[0].style, MB_ICON_INFORMATION) << port.boxes[0].text;
        qobject_cast<QPushButton*>(view.widget("OK"))->click();
    });
    ASSERT_TRUE(ok);
}

// ---------------------------------------------------------------- contact sheet

TEST_F(ClonePagesWindow, ContactSheetOfEveryPageAndEditor) {
    write_picture(tmp.path() / "stamp.png", 60, 40);
    write_picture(tmp.path() / "frame.png", 24, 24);
    // Each preview shows its own effect.
    registry_schreiben("LastSession", "showallcloneeffects", "0");
    optionen_freigeben();
    load({{52, "1"}, {61, "4"}, {70, "1"}, {71, "%_$_#"}});
    CCloneEffekte& list = WorkingCloneEffects();
    struct Shot {
        std::string caption;
        std::shared_ptr<CCloneEffekt> effect;
    };
    std::vector<Shot> shots;
    auto text = std::make_shared<CTextStamp>();
    text->Description("Textstempel");
    text->Text("Galvora%\\{_picname}");
    text->Font("DejaVu Sans");
    text->Height(18);
    text->Position(9);
    text->Background(1);
    text->Border(1);
    shots.push_back({"text stamp", text});
    auto image = std::make_shared<CImageStamp>();
    image->Description("Bildstempel");
    image->Name((tmp.path() / "stamp.png").string());
    image->TransparenteFarbeNutzen(1);
    image->Position(5);
    shots.push_back({"image stamp", image});
    auto missing = std::make_shared<CImageStamp>();
    missing->Description("Bildstempel ohne Bild");
    missing->Name((tmp.path() / "none.png").string());
    shots.push_back({"image stamp, picture missing", missing});
    const char* frame_names[] = {"inner frame", "inner ellipse", "outer frame", "outer frame, fitted colour",
                                 "picture frame"};
    for (int i = 0; i < 5; ++i) {
        auto border = std::make_shared<CBorder>();
        border->Description(frame_names[i]);
        border->RahmenArt(i < 2 ? 0 : i < 4 ? 1 : 2);
        border->InnenrahmenArt(i == 1 ? 1 : 0);
        border->FarbePassend(i == 3 ? 1 : 0);
        border->Farbe(0x3060C0);
        if (i == 4) border->Bildname((tmp.path() / "frame.png").string());
        shots.push_back({frame_names[i], border});
    }
    for (int kind : {0, 1, 2, 3, 4, 5, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}) {
        auto effect = std::make_shared<CBildEffekt>();
        effect->Bildeffektart(kind);
        effect->Description("Bildeffekt " + std::to_string(kind));
        shots.push_back({"picture effect " + std::to_string(kind), effect});
    }
    for (const Shot& shot : shots) list.add(shot.effect);
    dialog().InitDialog();

    OptionenDialog view(optionen());
    view.show();
    QApplication::setActiveWindow(&view);
    std::vector<std::pair<std::string, QImage>> images;
    click_node(view, kBoxCloning);
    images.emplace_back("clone settings", view.page_view(PageSlot::CClonen1)->grab().toImage());
    click_node(view, kBoxRename);
    images.emplace_back("clone renaming", view.page_view(PageSlot::CClonenUmbenennen1)->grab().toImage());
    click_node(view, kBoxEffects);
    CClonenEffekte& page = effects_page();
    for (size_t i = 0; i < shots.size(); ++i) {
        view.page_view(PageSlot::CClonenEffekte1)->forward(
            [&] { page.user_choose(page.control("ComboCloneEffekte"), static_cast<int32_t>(i)); });
        ASSERT_EQ(page.aktueller_effekt(), shots[i].effect);
        images.emplace_back(shots[i].caption, view.page_view(PageSlot::CClonenEffekte1)->grab().toImage());
    }
    view.page_view(PageSlot::CClonenEffekte1)->forward([&] { page.user_click(page.control("Edit")); });
    images.emplace_back("effect list editor", view.page_view(PageSlot::CClonenEffekte1)->grab().toImage());
    const fs::path folder = fs::path(GALVORA_BUILD_DIR) / "screenshots";
    fs::create_directories(folder);
    images.emplace_back("whole dialog", view.grab().toImage());

    // The sheet: four columns of the shots at half size, each with its caption.
    const int columns = 4;
    const int cell_width = 480;
    int cell_height = 0;
    for (const auto& [caption, shot] : images) {
        ASSERT_FALSE(shot.isNull()) << caption;
        cell_height = std::max(cell_height, shot.height() * cell_width / std::max(1, shot.width()));
    }
    cell_height += 24;
    const int rows = static_cast<int>((images.size() + columns - 1) / columns);
    QImage sheet(columns * cell_width, rows * cell_height, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (size_t i = 0; i < images.size(); ++i) {
        const int x = static_cast<int>(i % columns) * cell_width;
        const int y = static_cast<int>(i / columns) * cell_height;
        const QImage scaled = images[i].second.scaledToWidth(cell_width - 8, Qt::SmoothTransformation);
        painter.drawImage(x + 4, y + 20, scaled);
        painter.drawText(QRect(x + 4, y, cell_width - 8, 20), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromStdString(images[i].first));
        images[i].second.save(QString::fromStdString((folder / ("clone_page_" + std::to_string(i) + ".png")).string()));
    }
    painter.end();
    const fs::path file = folder / "clone_effect_editors.png";
    ASSERT_TRUE(sheet.save(QString::fromStdString(file.string())));
    EXPECT_GT(fs::file_size(file), 10000u);
    view.hide();
}

}  // namespace
}  // namespace galvora::testing
