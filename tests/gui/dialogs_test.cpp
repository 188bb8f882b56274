// The window program's message boxes and common dialogs through their Qt
// ports: Esc runs each box's cancel logic, the dialogs give their results.
#include <QColorDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>

#include "app/common_dialogs.h"
#include "app/progress_bar.h"
#include "foundation/messages.h"
#include "gui/colours.h"
#include "gui/progress_bar_widget.h"
#include "gui/qt_ui_port.h"
#include "gui/window_test_support.h"

namespace galvora::testing {
namespace {

using namespace std::string_literals;

void press(QWidget* widget, Qt::Key key) { QTest::keyClick(widget, key); }

TEST(QtMessageBoxes, EscGivesEachBoxItsCancelAnswer) {
    gui::QtUiPort port;
    struct Case {
        int style;
        int escape;
    };
    const Case cases[] = {{MB_OK_STYLE | MB_ICON_INFORMATION, ID_OK},
                          {MB_OKCANCEL_STYLE | MB_ICON_EXCLAMATION, ID_CANCEL},
                          {MB_YESNOCANCEL_STYLE | MB_ICON_QUESTION, ID_CANCEL},
                          {MB_YESNO_STYLE | MB_ICON_QUESTION, ID_NO}};
    for (const Case& c : cases) {
        int answer = 0;
        QString title;
        with_modal_dialog(
            [&title](QWidget* box) {
                title = box->windowTitle();
                press(box, Qt::Key_Escape);
            },
            [&] { answer = port.message_box("Galvora", "Text", c.style); });
        EXPECT_EQ(answer, c.escape) << c.style;
        EXPECT_EQ(title.toStdString(), "Galvora");
    }
    // Enter gives the default button, here the second one.
    int answer = 0;
    with_modal_dialog([](QWidget* box) { press(box, Qt::Key_Return); },
                      [&] { answer = port.message_box("Galvora", "Text", 0x100 | MB_YESNO_STYLE); });
    EXPECT_EQ(answer, ID_NO);
    // Abort, Retry, Ignore has no cancel logic: Esc leaves the box open.
    with_modal_dialog(
        [](QWidget* box) {
            press(box, Qt::Key_Escape);
            EXPECT_TRUE(box->isVisible());
            auto* message = qobject_cast<QMessageBox*>(box);
            ASSERT_NE(message, nullptr);
            message->button(QMessageBox::Retry)->click();
        },
        [&] { answer = port.message_box("Galvora", "Text", 2); });
    EXPECT_EQ(answer, 4);
}

TEST(QtMessageBoxes, TheInputBoxGivesTheTextOrNothingOnCancel) {
    gui::QtUiPort port;
    std::optional<std::string> text;
    with_modal_dialog(
        [](QWidget* dialog) {
            EXPECT_EQ(dialog->windowTitle().toStdString(), "Name?");
            auto* input = dialog->findChild<QLineEdit*>("FInputText");
            ASSERT_NE(input, nullptr);
            EXPECT_EQ(input->text().toStdString(), "alt");
            input->setText("neu");
            QTest::mouseClick(dialog->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
        },
        [&] { text = port.input_box("Name?", "alt"); });
    EXPECT_EQ(text, "neu");
    with_modal_dialog([](QWidget* dialog) { press(dialog, Qt::Key_Escape); },
                      [&] { text = port.input_box("Name?", "alt"); });
    EXPECT_EQ(text, std::nullopt);
}

TEST(QtCommonDialogs, ColourAndFileDialogsThroughTheirPort) {
    gui::QtDialogPort dialogs;
    set_dialog_port(&dialogs);
    int32_t colour = 0;
    with_modal_dialog(
        [](QWidget* dialog) {
            EXPECT_EQ(dialog->windowTitle().toStdString(), "Galvora - Rahmen");
            for (int i = 0; i < QColorDialog::customCount(); ++i) EXPECT_EQ(QColorDialog::customColor(i), Qt::black);
            auto* chooser = qobject_cast<QColorDialog*>(dialog);
            ASSERT_NE(chooser, nullptr);
            EXPECT_EQ(chooser->currentColor(), QColor(0x40, 0x80, 0xFF));
            chooser->setCurrentColor(QColor(1, 2, 3));
            chooser->accept();
        },
        [&] { colour = ShowColorDialog("Rahmen", 0xFF8040); });
    EXPECT_EQ(colour, 0x030201);
    with_modal_dialog([](QWidget* dialog) { press(dialog, Qt::Key_Escape); },
                      [&] { colour = ShowColorDialog("Rahmen", 0xFF8040); });
    EXPECT_EQ(colour, -1);

    TempFolder tmp;
    write_file(tmp.path() / "module.zsf", "!*a\r\n");
    std::string chosen;
    with_modal_dialog(
        [&](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            ASSERT_NE(files, nullptr);
            EXPECT_EQ(files->windowTitle().toStdString(), "Galvora - Skriptdatei laden");
            // "*.*" is every file, also one without a dot in its name.
            EXPECT_EQ(files->nameFilters(), QStringList({"Skriptdateien (*.zsf)", "Alle (*)"}));
            files->selectFile(QString::fromStdString((tmp.path() / "module.zsf").string()));
            QMetaObject::invokeMethod(files, "accept");
        },
        [&] { chosen = ShowFileDialog(false, "Skriptdateien\0*.zsf\0Alle\0*.*\0"s, "", "", "Skriptdatei laden", 0); });
    EXPECT_EQ(chosen, (tmp.path() / "module.zsf").string());
    with_modal_dialog([](QWidget* dialog) { press(dialog, Qt::Key_Escape); },
                      [&] { chosen = ShowFileDialog(true, "Skriptdateien\0*.zsf\0"s, "", "zsf", "x", 2); });
    EXPECT_EQ(chosen, "");
    set_dialog_port(nullptr);
}

TEST(ProgressBarView, PaintsThePiecesOfItsModel) {
    Fortschrittanzeige model;
    gui::ProgressBarWidget widget(model);
    widget.resize(200, 20);
    widget.show();
    QApplication::processEvents();
    model.hgfarbe(0x0000FF);  // red
    model.Max(4);
    model.setze_aktwert(2);
    model.rahmenfarbe(0x00FF00);
    model.Text("Bilder");
    const QImage image = widget.grab().toImage();
    EXPECT_EQ(image.pixelColor(50, 10), QColor(255, 0, 0));
    EXPECT_NE(image.pixelColor(150, 10), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 255, 0));  // the frame
    EXPECT_FLOAT_EQ(model.breite(), 200);
    EXPECT_EQ(gui::farbwert(gui::qt_farbe(0x123456, widget.palette())), 0x123456u);
}

}  // namespace
}  // namespace galvora::testing
