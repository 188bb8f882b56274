// Every window of the program in German and in English, at the desktop's
// default font and at the larger ones many desktops set: no caption of a
// label, check box, option button or button is wider than its widget, no
// control reaches past what holds it, and no two visible controls lie on top
// of each other. The windows are the main window, the about box, the small
// dialogs and the options dialog with every page, in every state that shows
// other controls (cloning off and on, each picture format, each frame kind
// and each picture effect).
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSizeGrip>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTreeWidget>

#include <functional>
#include <string>
#include <vector>

#include "foundation/registry.h"
#include "gui/about_box_view.h"
#include "gui/options/effect_page_views.h"
#include "gui/options_view_support.h"
#include "gui/small_dialog_views.h"
#include "gui/window_test_support.h"
#include "options/options_dialog.h"
#include "profile/script_modules.h"

namespace galvora::testing {
namespace {

constexpr int kBoxCloning = 12;
constexpr int kBoxEffects = 13;

// The widgets whose children are their own parts (a combo box's list, a
// scroll area's bars), not controls a window places.
bool places_no_controls(const QWidget* widget) {
    return qobject_cast<const QAbstractScrollArea*>(widget) != nullptr && qobject_cast<const QScrollArea*>(widget) == nullptr;
}
bool is_part_of_another(const QWidget* widget) {
    for (const QWidget* w = widget->parentWidget(); w != nullptr && !w->isWindow(); w = w->parentWidget())
        if (places_no_controls(w) || qobject_cast<const QComboBox*>(w) != nullptr ||
            qobject_cast<const QAbstractSpinBox*>(w) != nullptr)
            return true;
    return false;
}

QString name_of(const QWidget* widget) {
    QString path;
    for (const QWidget* w = widget; w != nullptr && !w->isWindow(); w = w->parentWidget())
        path = (w->objectName().isEmpty() ? QString(w->metaObject()->className()) : w->objectName()) +
               (path.isEmpty() ? "" : "/" + path);
    return path;
}

// The width a control's caption needs, with the box or indicator beside it.
int needed_width(const QWidget* widget, QString& text) {
    const QFontMetrics metrics = widget->fontMetrics();
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        text = label->text();
        if (text.isEmpty() || label->wordWrap() || label->textFormat() == Qt::RichText ||
            (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text)))
            return 0;
        int widest = 0;
        for (const QString& line : text.split('\n')) widest = std::max(widest, metrics.horizontalAdvance(line));
        return widest + 2 * label->margin() + 2 * label->frameWidth() + std::max(0, label->indent());
    }
    if (const auto* push = qobject_cast<const QPushButton*>(widget)) {
        text = push->text();
        if (text.isEmpty()) return 0;
        QString shown = text;
        shown.remove('&');
        // The caption and the button's frame on both sides.
        const int frame = widget->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
        const int icon = push->icon().isNull() ? 0 : push->iconSize().width() + 4;
        return metrics.horizontalAdvance(shown) + icon + 2 * frame + 4;
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        text = button->text();
        if (text.isEmpty()) return 0;
        return button->sizeHint().width();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        text = group->title();
        if (text.isEmpty()) return 0;
        return metrics.horizontalAdvance(text) + 2 * metrics.averageCharWidth();
    }
    return 0;
}

// What is wrong with the layout of a shown window: captions cut off and
// controls on top of each other.
std::vector<std::string> layout_faults(QWidget& window, const std::string& where) {
    std::vector<std::string> faults;
    auto fault = [&](const QString& what) { faults.push_back(where + ": " + what.toStdString()); };
    const QList<QWidget*> all = window.findChildren<QWidget*>();
    for (QWidget* widget : all) {
        if (widget->isWindow() || !widget->isVisible() || is_part_of_another(widget)) continue;
        QString text;
        const int needed = needed_width(widget, text);
        if (needed > widget->width())
            fault(QString("%1 \"%2\" needs %3 px, has %4").arg(name_of(widget), text).arg(needed).arg(widget->width()));
        // The parts a widget shows lie inside it: a control reaching past the
        // edge of what holds it is cut off there.
        QWidget* parent = widget->parentWidget();
        if (parent != nullptr && !parent->isWindow() && !qobject_cast<QScrollArea*>(parent) &&
            parent->objectName() != "qt_scrollarea_viewport" && !parent->rect().contains(widget->geometry()))
            fault(QString("%1 (%2,%3 %4x%5) reaches past %6 (%7x%8)")
                      .arg(name_of(widget))
                      .arg(widget->x())
                      .arg(widget->y())
                      .arg(widget->width())
                      .arg(widget->height())
                      .arg(name_of(parent))
                      .arg(parent->width())
                      .arg(parent->height()));
    }
    for (QWidget* parent : all + QList<QWidget*>{&window}) {
        if (!parent->isVisible() || places_no_controls(parent) || is_part_of_another(parent) ||
            qobject_cast<QComboBox*>(parent) != nullptr)
            continue;
        std::vector<QWidget*> shown;
        for (QObject* child : parent->children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            // The size grip lies over the window's corner by its nature.
            if (widget != nullptr && !widget->isWindow() && widget->isVisible() && !widget->geometry().isEmpty() &&
                qobject_cast<QSizeGrip*>(widget) == nullptr)
                shown.push_back(widget);
        }
        for (size_t i = 0; i < shown.size(); ++i)
            for (size_t j = i + 1; j < shown.size(); ++j)
                if (shown[i]->geometry().intersects(shown[j]->geometry()))
                    fault(QString("%1 lies on %2").arg(name_of(shown[i]), name_of(shown[j])));
    }
    return faults;
}

void expect_fits(QWidget& window, const std::string& where) {
    QApplication::processEvents();
    for (const std::string& fault : layout_faults(window, where)) ADD_FAILURE() << fault;
}

template <class W = QWidget>
W* widget_in(FormView& form, const char* name, int index = -1) {
    auto* widget = qobject_cast<W*>(form.widget_of(form.page().control(name, index)));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void click(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

void choose_in(QComboBox* combo, int index) {
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// A language, and the desktop's font size in points (0: the platform's own
// font, which the offscreen platform takes from fontconfig).
struct Desktop {
    const char* language;
    int points;
};

class LayoutFit : public WindowTest, public ::testing::WithParamInterface<Desktop> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (GetParam().points > 0) {
            QFont font = QApplication::font();
            font.setPointSize(GetParam().points);
            QApplication::setFont(font);
        }
        registry_schreiben("Administration", "language", GetParam().language);
        // The profile makes no clones: the clone settings are first shown off.
        make_base();
        write_file(tmp.path() / "data" / "galvora" / "profiles" / (kProfile + std::string(".qvp")),
                   "VERSION=2.11.02\r\nDIR_LEVEL=1\r\nGENERATE_CLONES=0\r\nCLONE_PATH=" + out.string() + "\r\n");
        registry_schreiben("LastSession", "profile", kProfile);
        registry_schreiben("LastSession", "profilelastselection", "1");
        ASSERT_EQ(start(), kExitDone);
        choose_base(base);
    }

    // Shows every page of the dialog's tree in turn.
    void walk_the_tree(OptionenDialog& view, const std::string& what) {
        view.tree()->expandAll();
        std::vector<int> boxes;
        for (QTreeWidgetItem* item : view.tree()->findItems("*", Qt::MatchWildcard | Qt::MatchRecursive))
            boxes.push_back(item->data(0, Qt::UserRole).toString().mid(3).toInt());
        ASSERT_GT(boxes.size(), 15u);
        for (int box : boxes) {
            click_tree_node(view, box);
            ASSERT_EQ(view.model().sichtbare_box(), box);
            expect_fits(view, where(what + ", page " + std::to_string(box)));
        }
    }

    void through_options_menu(const std::function<void(OptionenDialog&)>& steps) {
        with_modal_dialog(
            [&](QWidget* dialog) {
                auto* view = qobject_cast<OptionenDialog*>(dialog);
                ASSERT_NE(view, nullptr) << "not the options dialog";
                QApplication::setActiveWindow(view);
                steps(*view);
                if (view->isVisible()) view->done(QDialog::Rejected);
            },
            [this] { window().menue_optionen()->trigger(); });
    }

    void TearDown() override {
        WindowTest::TearDown();
        QApplication::setFont(platform_font_);
    }

    bool english() const { return GetParam().language == std::string("en"); }
    std::string where(const std::string& what) {
        return std::string(GetParam().language) + " " + std::to_string(QApplication::font().pointSize()) + " pt, " +
               what;
    }

    const QFont platform_font_ = QApplication::font();
};

TEST_P(LayoutFit, TheMainWindowTheAboutBoxAndTheSmallDialogs) {
    ASSERT_EQ(window().startknopf()->text().toStdString(), english() ? "Start" : "starten");
    expect_fits(window(), where("main window"));
    bool shown = false;
    with_modal_dialog(
        [&](QWidget* dialog) {
            shown = true;
            expect_fits(*dialog, where("about box"));
            QTest::keyClick(dialog, Qt::Key_Escape);
        },
        [this] { window().menue_info()->trigger(); });
    EXPECT_TRUE(shown);

    ZNModule modules;
    ProfilNeuDialog profile(&window());
    ModulNeuDialog module(&window(), modules);
    DateiartenDialog types(&window(), 15);
    EingabeDialog input(&window(), "Wie heißt du?", "Bob", "Frage");
    for (QDialog* dialog : std::initializer_list<QDialog*>{&profile, &module, &types, &input}) {
        dialog->show();
        expect_fits(*dialog, where(dialog->objectName().toStdString()));
        dialog->hide();
    }
}

TEST_P(LayoutFit, EveryPageOfTheOptionsDialogInEveryState) {
    through_options_menu([&](OptionenDialog& view) {
        ASSERT_EQ(qobject_cast<QPushButton*>(view.widget("Abbrechen"))->text().toStdString(),
                  english() ? "Cancel" : "Abbrechen");
        walk_the_tree(view, "cloning off");

        // Cloning on, with each format's options and a largest file size.
        click_tree_node(view, kBoxCloning);
        FormView& cloning = *view.page_view(PageSlot::CClonen1);
        click(widget_in<QCheckBox>(cloning, "CloneErzeugen"));
        ASSERT_TRUE(widget_in<QComboBox>(cloning, "BildtypOptionen")->isEnabled());
        for (int type : {1, 0}) {
            choose_in(widget_in<QComboBox>(cloning, "BildtypOptionen"), type);
            expect_fits(view, where("clone settings, format " + std::to_string(type)));
        }
        click(widget_in<QCheckBox>(cloning, "CloneMaxSize"));
        expect_fits(view, where("clone settings, largest file size"));
        walk_the_tree(view, "cloning on");

        // One effect of each kind, each shown in its editor.
        click_tree_node(view, kBoxEffects);
        FormView& page = *view.page_view(PageSlot::CClonenEffekte1);
        QTest::mouseClick(widget_in<QPushButton>(page, "Edit"), Qt::LeftButton);
        expect_fits(view, where("effect list"));
        auto* menu = dynamic_cast<PopupMenu*>(page.widget_of(page.page().control("pEffektMenü")));
        ASSERT_NE(menu, nullptr);
        for (int entry = 0; entry < 4; ++entry) {
            QTest::mouseClick(widget_in<QPushButton>(page, "Neu"), Qt::LeftButton);
            ASSERT_TRUE(menu->menu()->isVisible());
            menu->menu()->actions()[entry]->trigger();
            menu->menu()->hide();
            QApplication::processEvents();
        }
        QApplication::setActiveWindow(&view);
        QTest::mouseClick(widget_in<QPushButton>(page, "Auswählen"), Qt::LeftButton);
        auto* chooser = widget_in<QComboBox>(page, "ComboCloneEffekte");
        ASSERT_EQ(chooser->count(), 4);
        auto editor = [&](const char* name) -> FormView& {
            auto* nested = dynamic_cast<NestedPageView*>(page.widget_of(page.page().control(name)));
            EXPECT_NE(nested, nullptr) << name;
            return nested->form();
        };
        choose_in(chooser, 0);
        expect_fits(view, where("text stamp"));
        choose_in(chooser, 1);
        expect_fits(view, where("image stamp"));
        choose_in(chooser, 2);
        FormView& frame = editor("CRahmen1");
        for (int kind = 0; kind < 3; ++kind) {
            click(widget_in<QRadioButton>(frame, "InnenAussen", kind));
            expect_fits(view, where("frame kind " + std::to_string(kind)));
        }
        click(widget_in<QRadioButton>(frame, "InnenAussen", 0));
        click(widget_in<QRadioButton>(frame, "RechteckigEllipse", 1));
        expect_fits(view, where("frame, ellipse"));
        choose_in(chooser, 3);
        FormView& effect = editor("CBildEffekte1");
        auto* kinds = widget_in<QComboBox>(effect, "BildeffektartCombo");
        for (int kind = 0; kind < kinds->count(); ++kind) {
            choose_in(kinds, kind);
            expect_fits(view, where("picture effect " + kinds->itemText(kind).toStdString()));
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Desktops, LayoutFit,
                         ::testing::Values(Desktop{"de", 0}, Desktop{"en", 0}, Desktop{"de", 10}, Desktop{"en", 10},
                                           Desktop{"de", 11}, Desktop{"en", 11}),
                         [](const ::testing::TestParamInfo<Desktop>& info) {
                             return std::string(info.param.language) +
                                    (info.param.points > 0 ? "_" + std::to_string(info.param.points) + "pt" : "");
                         });

}  // namespace
}  // namespace galvora::testing
