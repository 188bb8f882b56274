// The options dialog's window, driven as the user drives it: opened through
// the entry the main window's Options menu calls, a setting changed through
// a page's widget or the template editor, OK or Cancel, and then a real run
// over pictures on disk. Also the keyboard, and screenshots of the four
// template mock-ups written into the build folder.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "options_window_support.h"

namespace galvora::testing {
namespace {

constexpr int kGenerateFrame = 95;
constexpr int kGenerateIndex = 99;
constexpr int kRefPos = 115;

TEST_F(OptionsWindow, PageWidgetAndOkReachTheNextRun) {
    const bool ok = open_and([](OptionenDialog& view) {
        click_tree_node(view, 6);
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
    EXPECT_TRUE(TreeRebuildRequested);
    run();
    EXPECT_NE(pages_below(base / "galerie").find("bild1"), std::string::npos);
    EXPECT_FALSE(fs::exists(base / "html"));
}

TEST_F(OptionsWindow, TemplateEditAndOkByKeyboardReachTheNextRun) {
    const bool ok = open_and([](OptionenDialog& view) {
        click_tree_node(view, kBoxThumbLayout);
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
        click_tree_node(view, 6);
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

TEST_F(OptionsWindow, TabStaysInThePageAndEscIsNoCancel) {
    port.answer = ID_YES;
    std::vector<QWidget*> reached;
    std::vector<QWidget*> own;
    size_t boxes_after_esc = 99;
    bool open_after_esc = false;
    const bool ok = open_and([&](OptionenDialog& view) {
        own = {view.tree(), view.widget("OK"), view.widget("Abbrechen"), view.widget("Tag_Input"),
               view.widget("SyntaxTest")};
        click_tree_node(view, 6);
        auto* base_name = page_widget(view, PageSlot::CHTML1, "htmlpath_base");
        QTest::mouseClick(base_name, Qt::LeftButton);
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached.push_back(QApplication::focusWidget());
        }
        // An edit in the template editor, then Esc: nothing is asked, the dialog stays.
        click_tree_node(view, kBoxThumbLayout);
        QTest::mouseClick(view.widget("Tag_Input"), Qt::LeftButton);
        QTest::keyClicks(view.widget("Tag_Input"), "x");
        QTest::keyClick(view.widget("Tag_Input"), Qt::Key_Escape);
        boxes_after_esc = port.boxes.size();
        open_after_esc = view.isVisible();
        // The close box asks; Yes closes.
        view.close();
    });
    EXPECT_FALSE(ok);
    ASSERT_EQ(own.size(), 5u);
    for (QWidget* focus : reached) {
        EXPECT_NE(focus, nullptr);
        for (QWidget* control : own) EXPECT_NE(focus, control) << control->objectName().toStdString();
    }
    EXPECT_EQ(boxes_after_esc, 0u);
    EXPECT_TRUE(open_after_esc);
    EXPECT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(profilwert(149), geladene_Profileinstellungen()[149].value);
}

TEST_F(OptionsWindow, F1OpensTheShownPagesHelpTopic) {
    std::vector<int> topics;
    set_options_help_opener([&](int topic) { topics.push_back(topic); });
    open_and([](OptionenDialog& view) {
        click_tree_node(view, 6);
        QTest::keyClick(view.tree(), Qt::Key_F1);
        click_tree_node(view, kBoxIncludeFile);
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
        click_tree_node(view, shot.box);
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
