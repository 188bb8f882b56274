// The options dialog's window, driven as the user drives it: opened through
// the entry the main window's Options menu calls, a setting changed through
// a page's widget or the template editor, OK or Cancel, and then a real run
// over pictures on disk. Also the keyboard, and screenshots of the four
// template mock-ups written into the build folder.
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

#include "app/main_window.h"
#include "app/run_start.h"
#include "app/selection_tree_build.h"
#include "generation/browser_launch.h"
#include "generation/generation_run.h"
#include "generation/run_completion.h"
#include "gui/options/form_view.h"
#include "gui/options/options_dialog_view.h"
#include "options/options_test_support.h"

namespace galvora::testing {
namespace {

constexpr int kGenerateFrame = 95;
constexpr int kGenerateIndex = 99;
constexpr int kRefPos = 115;

class OptionsWindow : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        seitenerzeugung_anmelden();
        set_browser_opener([](const std::string&) {});
        for (const char* name : {"gesamtanfang", "pfadanfang", "seitenanfang", "links", "home", "index", "rechts",
                                 "seitenende", "pfadende", "gesamtende"})
            write_file(tmp.path() / "program" / "decopool" / "standard" / (std::string(name) + ".gif"), "GIF89a");
        write_jpeg(base / "bild1.jpg", 32, 24);
        write_jpeg(base / "bild2.jpg", 24, 32);
        startdialog() = Startdialog{};
        startdialog().basisverzeichnis = base.string();
        startdialog().basisverzeichnis_tag = "base";
        DirectoryLevel = 0;
        AuswahlBaumAufbauen(startdialog(), 0);
    }
    void TearDown() override {
        QCoreApplication::processEvents();
        optionen_ansicht_freigeben();
        laufabschnitte() = Laufabschnitte{};
        set_browser_opener(nullptr);
        startdialog() = Startdialog{};
        OptionsTest::TearDown();
    }

    // Opens the dialog through the main window's entry and runs the steps
    // while it is open. Whatever the steps leave open is cancelled, so a
    // failing step cannot leave the dialog waiting.
    bool open_and(const std::function<void(OptionenDialog&)>& steps) {
        QTimer::singleShot(0, [steps] {
            OptionenDialog* view = optionen_ansicht();
            if (view == nullptr) return;
            // The offscreen platform makes no window active by itself; focus needs one.
            QApplication::setActiveWindow(view);
            steps(*view);
            if (view->isVisible()) view->done(QDialog::Rejected);
        });
        return optionen_zeigen(nullptr);
    }

    static void click_node(OptionenDialog& view, int box) {
        QTreeWidget* tree = view.tree();
        const QList<QTreeWidgetItem*> found = tree->findItems("*", Qt::MatchWildcard | Qt::MatchRecursive);
        for (QTreeWidgetItem* item : found) {
            if (item->data(0, Qt::UserRole).toString() != QString("KEY%1").arg(box)) continue;
            tree->scrollToItem(item);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
            return;
        }
        ADD_FAILURE() << "no node KEY" << box;
    }

    static QWidget* page_widget(OptionenDialog& view, PageSlot slot, const char* name) {
        FormView* page = view.page_view(slot);
        return page != nullptr ? page->widget_of(page->page().control(name)) : nullptr;
    }

    // Starts a run as the main window's start button does.
    void run() {
        port.boxes.clear();
        aufbereitung_starten(startdialog());
        ASSERT_TRUE(port.boxes.empty()) << port.boxes.front().text;
    }
    // The text of every page the run wrote below a folder.
    static std::string pages_below(const fs::path& folder) {
        std::string all;
        std::error_code ec;
        for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (it->path().extension() == ".html") all += read_file(it->path());
        return all;
    }
};

TEST_F(OptionsWindow, PageWidgetAndOkReachTheNextRun) {
    const bool ok = open_and([](OptionenDialog& view) {
        click_node(view, 6);
        ASSERT_EQ(view.model().sichtbare_box(), 6);
        auto* base_name = qobject_cast<QLineEdit*>(page_widget(view, PageSlot::CHTML1, "htmlpath_base"));
        ASSERT_NE(base_name, nullptr);
        ASSERT_TRUE(base_name->isVisible());
        QTest::mouseClick(base_name, Qt::LeftButton);
        base_name->selectAll();
        QTest::keyClicks(base_name, "galerie");
        QTest::mouseClick(view.widget("OK"), Qt::LeftButton);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(geladene_Profileinstellungen()[81].value, "galerie");
    EXPECT_TRUE(options_hand_off().TreeRebuildRequested);
    run();
    EXPECT_NE(pages_below(base / "galerie").find("bild1"), std::string::npos);
    EXPECT_FALSE(fs::exists(base / "html"));
}

TEST_F(OptionsWindow, TemplateEditAndOkByKeyboardReachTheNextRun) {
    const bool ok = open_and([](OptionenDialog& view) {
        click_node(view, kBoxThumbLayout);
        ASSERT_TRUE(view.widget("Tag_Input")->isVisible());
        // A click on the title bar of the mock-up chooses the page title's template.
        QTest::mouseClick(view.widget("HTML_thumb_SD_html_title"), Qt::LeftButton);
        ASSERT_EQ(view.model().editor().TagIndex, 150);
        auto* input = qobject_cast<QPlainTextEdit*>(view.widget("Tag_Input"));
        ASSERT_EQ(QApplication::focusWidget(), input);
        input->selectAll();
        QTest::keyClicks(input, "Mein Album");
        EXPECT_EQ(view.model().control("tag_input_pos").state().caption, "Zeile 1:1, Spalte 11:10");
        // OK by its key: the text box still has the focus when OK runs.
        qobject_cast<QPushButton*>(view.widget("OK"))->click();
    });
    EXPECT_TRUE(ok);
    run();
    EXPECT_NE(pages_below(base / "html").find("<title>Mein Album</title>"), std::string::npos)
        << pages_below(base / "html");
}

TEST_F(OptionsWindow, CancelLeavesTheProfileAsItWas) {
    port.answer = ID_YES;
    const bool ok = open_and([](OptionenDialog& view) {
        click_node(view, 6);
        auto* base_name = qobject_cast<QLineEdit*>(page_widget(view, PageSlot::CHTML1, "htmlpath_base"));
        QTest::mouseClick(base_name, Qt::LeftButton);
        base_name->selectAll();
        QTest::keyClicks(base_name, "verworfen");
        QTest::mouseClick(view.widget("Abbrechen"), Qt::LeftButton);
    });
    EXPECT_FALSE(ok);
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text, msg("MsgProfileChangesReject", {aktuelles_profil()->Name()}));
    EXPECT_EQ(profilwert(81), "html");
    EXPECT_EQ(geladene_Profileinstellungen()[81].value, "html");
    run();
    EXPECT_NE(pages_below(base / "html").find("bild1"), std::string::npos);
    EXPECT_FALSE(fs::exists(base / "verworfen"));
}

TEST_F(OptionsWindow, KeyboardReachesTreeButtonsAndEditorAndEscIsCancel) {
    port.answer = ID_NO;
    bool reached_ok = false;
    bool reached_cancel = false;
    bool reached_editor = false;
    bool still_open_after_no = false;
    const bool ok = open_and([&](OptionenDialog& view) {
        click_node(view, kBoxThumbLayout);
        view.tree()->setFocus();
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            reached_ok = reached_ok || focus == view.widget("OK");
            reached_cancel = reached_cancel || focus == view.widget("Abbrechen");
            reached_editor = reached_editor || focus == view.widget("Tag_Input");
        }
        // An edit, then Esc: the Cancel question; No keeps the dialog open.
        view.widget("Tag_Input")->setFocus();
        QTest::keyClicks(view.widget("Tag_Input"), "x");
        QTest::keyClick(view.widget("Tag_Input"), Qt::Key_Escape);
        still_open_after_no = view.isVisible();
        // The close box asks the same; Yes closes.
        port.answer = ID_YES;
        view.close();
    });
    EXPECT_FALSE(ok);
    EXPECT_TRUE(reached_ok);
    EXPECT_TRUE(reached_cancel);
    EXPECT_TRUE(reached_editor);
    EXPECT_TRUE(still_open_after_no);
    EXPECT_EQ(port.boxes.size(), 2u);
    EXPECT_EQ(profilwert(149), geladene_Profileinstellungen()[149].value);
}

TEST_F(OptionsWindow, F1OpensTheShownPagesHelpTopic) {
    std::vector<int> topics;
    set_options_help_opener([&](int topic) { topics.push_back(topic); });
    open_and([](OptionenDialog& view) {
        click_node(view, 6);
        QTest::keyClick(view.tree(), Qt::Key_F1);
        click_node(view, kBoxIncludeFile);
        QTest::keyClick(view.tree(), Qt::Key_F1);
    });
    set_options_help_opener(nullptr);
    EXPECT_EQ(topics, (std::vector<int>{1005, 1002}));
}

TEST_F(OptionsWindow, ScreenshotsOfTheFourTemplateMockups) {
    // Extended navigation above the table, the index grouped, the picture
    // page's full strip below its description.
    load({{kGenerateFrame, "1"}, {kGenerateIndex, "1"}, {kRefPos, "4"}, {113, "1"}, {104, "1"}, {119, "1"}, {121, "16"}});
    OptionenDialog view(optionen());
    view.show();
    QApplication::setActiveWindow(&view);
    const fs::path folder = fs::path(GALVORA_BUILD_DIR) / "screenshots";
    fs::create_directories(folder);
    struct Shot {
        int box;
        const char* file;
        const char* element;  // a widget the mock-up must show
    };
    for (const Shot& shot : {Shot{kBoxFrameLayout, "options_frame_page.png", "HTML_Frame_content_text"},
                             Shot{kBoxIndexLayout, "options_index_page.png", "shape_pfadgruppierung"},
                             Shot{kBoxThumbLayout, "options_thumbnail_page.png", "HTML_thumb_SD_Verweise"},
                             Shot{kBoxPicLayout, "options_picture_page.png", "HTML_BSD_Pic"}}) {
        click_node(view, shot.box);
        EXPECT_EQ(view.model().sichtbare_box(), shot.box);
        EXPECT_TRUE(view.widget(shot.element)->isVisible()) << shot.file;
        EXPECT_TRUE(view.widget("Tag_Input")->isVisible());
        const QImage image = view.grab().toImage();
        ASSERT_FALSE(image.isNull());
        EXPECT_GE(image.width(), view.minimumWidth());
        EXPECT_TRUE(image.save(QString::fromStdString((folder / shot.file).string())));
        EXPECT_TRUE(fs::exists(folder / shot.file));
    }
    view.hide();
}

}  // namespace
}  // namespace galvora::testing
