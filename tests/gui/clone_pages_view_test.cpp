// The clone settings, renaming and clone-effect pages in the options
// dialog's window, driven as the user drives them: the effect list built
// through the editors' widgets, saved in a profile and run in batch mode by
// the program itself; the eyedropper with the mouse; OK by its key; and a
// contact sheet of every editor written into the build folder.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

#include "gui/options/effect_page_views.h"
#include "gui/options/form_view.h"
#include "gui/options/options_dialog_view.h"
#include "image/picture/zn_image.h"
#include "image/image_file_record.h"
#include "options/options_test_support.h"
#include "options/pages/clone_effects_page.h"
#include "options/pages/clone_page.h"
#include "options/pages/clone_rename_page.h"
#include "profile/border.h"
#include "profile/image_stamp.h"
#include "profile/picture_effect.h"
#include "profile/profile_file.h"
#include "profile/profile_lists.h"
#include "profile/text_stamp.h"

namespace galvora::testing {
namespace {

constexpr int kBoxCloning = 12;
constexpr int kBoxRename = 18;
constexpr int kBoxEffects = 13;

// Writes a PNG of the size: a red square on a white ground, blue at the top left.
void write_png(const fs::path& path, int32_t width, int32_t height) {
    fs::create_directories(path.parent_path());
    PictureBuffer picture = PictureBuffer::allocate(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = picture.pixel(x, y);
            const bool inner = x >= width / 4 && x < width * 3 / 4 && y >= height / 4 && y < height * 3 / 4;
            p[0] = 255;
            p[1] = inner ? 0 : 255;
            p[2] = inner ? 0 : 255;
            if (x < 4 && y < 4) {
                p[0] = 0;
                p[1] = 0;
                p[2] = 255;
            }
        }
    }
    int32_t used = 0;
    WriteImage(path.string(), 10, picture, 0, 0, false, 0, used);
}

class ClonePagesWindow : public OptionsTest {
protected:
    void TearDown() override {
        QCoreApplication::processEvents();
        optionen_ansicht_freigeben();
        OptionsTest::TearDown();
    }

    CClonenEffekte& effects_page() { return *dynamic_cast<CClonenEffekte*>(dialog().seite(PageSlot::CClonenEffekte1)); }

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
};

// ---------------------------------------------------------------- contact sheet

TEST_F(ClonePagesWindow, ContactSheetOfEveryPageAndEditor) {
    write_png(tmp.path() / "stamp.png", 60, 40);
    write_png(tmp.path() / "frame.png", 24, 24);
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
