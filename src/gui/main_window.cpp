#include "gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "app/base_directory.h"
#include "app/help.h"
#include "app/main_window.h"
#include "app/menu_keys.h"
#include "app/options_handoff.h"
#include "app/run_start.h"
#include "foundation/language.h"
#include "gui/colours.h"
#include "gui/control_picture_box.h"
#include "gui/progress_bar_widget.h"
#include "gui/selection_tree_view.h"
#include "gui/splitter_bar.h"
#include "gui/window_limits.h"
#include "gui/window_run_port.h"

namespace galvora::gui {

WindowHooks& window_hooks() {
    static WindowHooks hooks;
    return hooks;
}

namespace {

// The design captions of the tagged controls: German, the built-in language.
struct Tagged {
    const char* tag;
    const char* caption;
};
constexpr Tagged kMenuOptions{"MenuOptions", "Optionen"};
constexpr Tagged kMenuInfo{"MenuInfo", "Info"};
constexpr Tagged kMenuHelp{"MenuHelp", "Hilfe"};
constexpr Tagged kMenuExit{"MenuExit", "Beenden"};
constexpr Tagged kBaseLabel{"BaseDirectory", "Basisverzeichnis"};
constexpr Tagged kCloneLabel{"CloneDirectory", "Cloneverzeichnis"};

// A tagged control as the language routines see it: its caption is kept by
// tag and shown by the window.
class TaggedControl : public WindowControl {
public:
    TaggedControl(std::map<std::string, std::string>& captions, std::string tag, std::function<void()> shown)
        : captions_(captions), tag_(std::move(tag)), shown_(std::move(shown)) {}
    std::string tag() const override { return tag_; }
    std::optional<std::string> caption() const override { return captions_[tag_]; }
    void set_caption(const std::string& text) override {
        captions_[tag_] = text;
        shown_();
    }

private:
    std::map<std::string, std::string>& captions_;
    std::string tag_;
    std::function<void()> shown_;
};

QRect rect_of(const Rechteck& r) { return QRect(r.links, r.oben, r.breite, r.hoehe); }

// The log box: text to read, scroll and select with the keyboard, not to
// edit. A read-only box shows no caret, so while it has the focus a frame in
// the highlight colour says where the keys go.
class LogBox : public QPlainTextEdit {
public:
    explicit LogBox(QWidget* parent) : QPlainTextEdit(parent) {
        setReadOnly(true);
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        setTabChangesFocus(true);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPlainTextEdit::paintEvent(event);
        if (!hasFocus()) return;
        QPainter painter(viewport());
        QPen pen(palette().color(QPalette::Highlight));
        pen.setWidth(2);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(viewport()->rect().adjusted(1, 1, -1, -1));
    }
    void focusInEvent(QFocusEvent* event) override {
        QPlainTextEdit::focusInEvent(event);
        viewport()->update();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QPlainTextEdit::focusOutEvent(event);
        viewport()->update();
    }
};

Bildschirm screen_of(const QWidget& widget) {
    QScreen* screen = widget.screen() != nullptr ? widget.screen() : QGuiApplication::primaryScreen();
    Bildschirm b;
    if (screen == nullptr) return b;
    const QRect area = screen->availableGeometry();
    b.breite = area.width();
    b.hoehe = area.height();
    b.twips_pro_pixel_x = std::max(1, static_cast<int>(std::lround(1440.0 / screen->logicalDotsPerInchX())));
    b.twips_pro_pixel_y = std::max(1, static_cast<int>(std::lround(1440.0 / screen->logicalDotsPerInchY())));
    return b;
}

}  // namespace

MainWindow::MainWindow(Startdialog& model) : model_(model) {
    build();
    run_port_ = std::make_unique<WindowRunPort>(*this, model_);
}

MainWindow::~MainWindow() {
    if (model_.ansicht == this) model_.ansicht = nullptr;
}

void MainWindow::build() {
    setObjectName("Startdialog");
    client_ = new QWidget(this);
    setCentralWidget(client_);
    client_->installEventFilter(this);

    auto* frame = new QFrame(client_);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    rahmen_gesamt_ = frame;
    statuszeile_ = new QFrame(client_);

    basiswahl_ = new QToolButton(rahmen_gesamt_);
    basiswahl_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    basiswahl_->setFocusPolicy(Qt::StrongFocus);
    // The arrow of the recent list is a button of its own right of the
    // folder button, so that Tab stops on it; Space, Return, Down or F4 open
    // the list, and Down or F4 on the folder button do as well (see eventFilter).
    zuletzt_pfeil_ = new QToolButton(rahmen_gesamt_);
    zuletzt_pfeil_->setArrowType(Qt::DownArrow);
    zuletzt_pfeil_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    zuletzt_pfeil_->setFocusPolicy(Qt::StrongFocus);
    zuletzt_ = new QMenu(zuletzt_pfeil_);
    basiswahl_->installEventFilter(this);
    zuletzt_pfeil_->installEventFilter(this);
    connect(basiswahl_, &QToolButton::clicked, this, [this] {
        basisverzeichnis_waehlen(model_);
        aktualisieren();
    });
    connect(zuletzt_pfeil_, &QToolButton::clicked, this, [this] { show_recent_menu(); });
    connect(zuletzt_, &QMenu::triggered, this, [this](QAction* entry) {
        zuletzt_gewaehlt(model_, entry->data().toString().toStdString());
        aktualisieren();
    });

    clonelabel_ = new QToolButton(rahmen_gesamt_);
    clonelabel_->setAutoRaise(true);
    clonelabel_->setFocusPolicy(Qt::NoFocus);
    clonelabel_->setToolButtonStyle(Qt::ToolButtonTextOnly);

    // Both folders are shown, not typed: the base folder comes from its
    // button and the recent list, the clone folder from the profile. Without
    // the frame of an entry field they read as the window's own text (on a
    // red field when the base folder is missing), and Tab still reaches them
    // to select and copy the path.
    basisverzeichnis_ = new QLineEdit(rahmen_gesamt_);
    cloneverzeichnis_ = new QLineEdit(rahmen_gesamt_);
    for (QLineEdit* field : {basisverzeichnis_, cloneverzeichnis_}) {
        field->setReadOnly(true);
        field->setFrame(false);
        QPalette face = field->palette();
        face.setColor(QPalette::Base, face.color(QPalette::Button));
        field->setPalette(face);
    }

    baum_ = new SelectionTreeView(rahmen_gesamt_);
    connect(baum_, &SelectionTreeView::knoten_geklickt, this, [this](qint64 node) { baum_klick(model_, node); });
    connect(baum_, &SelectionTreeView::taste, this, [this](int key) { baum_taste(model_, key); });

    splitter_ = new SplitterBar(rahmen_gesamt_);
    connect(splitter_, &SplitterBar::gedrueckt, this, [this] { model_.layout.ziehen = true; });
    connect(splitter_, &SplitterBar::gezogen, this, [this](int x) {
        if (galvora::splitter_ziehen(model_.layout, x)) anordnen();
    });
    connect(splitter_, &SplitterBar::losgelassen, this, [this] { model_.layout.ziehen = false; });

    status_ = new QWidget(rahmen_gesamt_);
    ok_ = new QPushButton(status_);
    ok_->setGeometry(rect_of(entwurf::kStartknopf));
    connect(ok_, &QPushButton::clicked, this, [this] {
        aufbereitung_starten(model_);
        aktualisieren();
    });
    logging_ = new LogBox(status_);
    logging_->setGeometry(rect_of(entwurf::kLogging));
    kontrollbild_ = new ControlPictureBox(status_);
    kontrollbild_->setGeometry(rect_of(entwurf::kKontrollbild));
    connect(kontrollbild_, &ControlPictureBox::clicked, this, [this] {
        kontrollbild_umschalten(model_);
        aktualisieren();
    });
    version_ = new QLabel(status_);
    version_->setGeometry(rect_of(entwurf::kVersion));

    gesamt_ = new ProgressBarWidget(model_.gesamtfortschritt, statuszeile_);
    pfad_ = new ProgressBarWidget(model_.pfadfortschritt, baum_->viewport());
    pfad_->hide();

    for (const Tagged* t : {&kMenuOptions, &kMenuInfo, &kMenuHelp, &kMenuExit, &kBaseLabel, &kCloneLabel}) {
        captions_[t->tag] = t->caption;
        tagged_.push_back(std::make_unique<TaggedControl>(captions_, t->tag, [this] { menu_captions(); }));
    }
    optionen_ = menuBar()->addAction(QString());
    info_ = menuBar()->addAction(QString());
    hilfe_ = menuBar()->addAction(QString());
    beenden_ = menuBar()->addAction(QString());
    hilfe_->setShortcut(QKeySequence::HelpContents);
    connect(optionen_, &QAction::triggered, this, [this] { options_clicked(); });
    connect(info_, &QAction::triggered, this, [this] {
        if (window_hooks().show_about_box) window_hooks().show_about_box(this);
    });
    connect(hilfe_, &QAction::triggered, this, [] { hilfe_menue(); });
    connect(beenden_, &QAction::triggered, this, [this] { close(); });
    menu_captions();

    // Everything the user works with is reached with the Tab key, in the
    // order in which the window reads.
    setTabOrder(basiswahl_, zuletzt_pfeil_);
    setTabOrder(zuletzt_pfeil_, basisverzeichnis_);
    setTabOrder(basisverzeichnis_, cloneverzeichnis_);
    setTabOrder(cloneverzeichnis_, baum_);
    setTabOrder(baum_, splitter_);
    setTabOrder(splitter_, ok_);
    setTabOrder(ok_, logging_);
    setTabOrder(logging_, kontrollbild_);

    // Until the load has finished nothing can be worked.
    for (QWidget* w : {static_cast<QWidget*>(basiswahl_), static_cast<QWidget*>(zuletzt_pfeil_),
                       static_cast<QWidget*>(ok_), static_cast<QWidget*>(baum_)})
        w->setEnabled(false);
    for (QAction* a : {optionen_, info_, hilfe_, beenden_}) a->setEnabled(false);
}

void MainWindow::menu_captions() {
    const std::vector<std::string> keyed = menue_kuerzel({captions_[kMenuOptions.tag], captions_[kMenuInfo.tag],
                                                          captions_[kMenuHelp.tag], captions_[kMenuExit.tag]});
    optionen_->setText(QString::fromStdString(keyed[0]));
    info_->setText(QString::fromStdString(keyed[1]));
    hilfe_->setText(QString::fromStdString(keyed[2]));
    beenden_->setText(QString::fromStdString(keyed[3]));
    basiswahl_->setText(QString::fromStdString(captions_[kBaseLabel.tag]));
    clonelabel_->setText(QString::fromStdString(captions_[kCloneLabel.tag]));
}

std::string MainWindow::caption() const { return model_.titel; }

void MainWindow::set_caption(const std::string& text) {
    model_.titel = text;
    setWindowTitle(QString::fromStdString(text));
}

std::vector<WindowControl*> MainWindow::controls() {
    std::vector<WindowControl*> list;
    for (auto& control : tagged_) list.push_back(control.get());
    return list;
}

void MainWindow::formular_vorbereiten() {
    if (ZNLanguage* german = sprache_deutsch()) german->AddForm(*this);
}

void MainWindow::sprache_anwenden() {
    if (const ZNLanguage* language = aktuelle_sprache()) language->InitForm(*this);
    // The label toolbars take their captions' widths; the fields start right
    // of the wider one.
    for (const Tagged* t : {&kBaseLabel, &kCloneLabel}) captions_[t->tag] = inq(name(), t->tag);
    menu_captions();
    feldlayout(model_.layout, basiswahl_->sizeHint().width() + zuletzt_pfeil_->sizeHint().width(),
               clonelabel_->sizeHint().width());
    anordnen();
}

void MainWindow::geometrie_wiederherstellen() {
    const Bildschirm screen = screen_of(*this);
    const Fenstergeometrie g = geometrie_laden(model_.layout, screen);
    SubclassWindow(*this, g.mindestbreite, g.mindesthoehe, g.hoechstbreite, g.hoechsthoehe);
    QScreen* s = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    const QPoint origin = s != nullptr ? s->availableGeometry().topLeft() : QPoint();
    open_maximised_ = g.maximiert;
    resize(g.breite, g.hoehe);
    if (!g.maximiert) move(origin.x() + g.links, origin.y() + g.oben);
}

void MainWindow::zeigen() {
    if (open_maximised_) {
        showMaximized();
    } else {
        show();
    }
    anordnen();
    aktualisieren();
    repaint();
}

void MainWindow::show_recent_list() {
    if (shown_recent_ == model_.zuletzt) return;
    shown_recent_ = model_.zuletzt;
    zuletzt_->clear();
    for (const std::string& entry : model_.zuletzt) {
        QAction* action = zuletzt_->addAction(QString::fromStdString(entry));
        action->setData(QString::fromStdString(entry));
    }
}

void MainWindow::show_recent_menu() {
    if (zuletzt_->isEmpty() || !zuletzt_pfeil_->isEnabled()) return;
    // Below the folder button, as a drop-down of the pair.
    zuletzt_->exec(basiswahl_->mapToGlobal(QPoint(0, basiswahl_->height())));
}

void MainWindow::aktualisieren() {
    const QString title = QString::fromStdString(model_.titel);
    if (windowTitle() != title) setWindowTitle(title);

    const QString base = QString::fromStdString(model_.basisverzeichnis);
    if (basisverzeichnis_->text() != base) basisverzeichnis_->setText(base);
    QPalette field = basisverzeichnis_->palette();
    const QColor background = qt_farbe(model_.basisverzeichnis_farbe, palette());
    if (field.color(QPalette::Base) != background) {
        field.setColor(QPalette::Base, background);
        basisverzeichnis_->setPalette(field);
    }
    const QString clone = QString::fromStdString(model_.cloneverzeichnis);
    if (cloneverzeichnis_->text() != clone) cloneverzeichnis_->setText(clone);

    baum_->zeigen(model_.baum);
    show_recent_list();

    const QString start = QString::fromStdString(model_.ok_text);
    if (ok_->text() != start) ok_->setText(start);
    ok_->setEnabled(model_.bedienbar);
    const bool choosing = model_.bedienbar && model_.auswahl_aktiv;
    baum_->setEnabled(choosing);
    basiswahl_->setEnabled(choosing);
    zuletzt_pfeil_->setEnabled(choosing);
    optionen_->setVisible(model_.menues_sichtbar);
    info_->setVisible(model_.menues_sichtbar);
    optionen_->setEnabled(model_.bedienbar && !model_.optionen_gesperrt);
    for (QAction* a : {info_, hilfe_, beenden_}) a->setEnabled(model_.bedienbar);

    const QString version = QString::fromStdString(model_.version_text);
    if (version_->text() != version) version_->setText(version);

    gesamt_->zeigen();
    pfad_->zeigen();
    if (pfad_->isVisible() != model_.pfadfortschritt_sichtbar) pfad_->setVisible(model_.pfadfortschritt_sichtbar);

    switch (model_.mauszeiger) {
        case kZeigerSanduhr:
            setCursor(Qt::WaitCursor);
            break;
        case kZeigerPfeilSanduhr:
            setCursor(Qt::BusyCursor);
            break;
        default:
            unsetCursor();
    }
}

void MainWindow::kontrollbild_leeren() { kontrollbild_->leeren(kontrollbild_farbe(model_.kontrollbild)); }

void MainWindow::logging_leeren() {
    run_port_->leeren();
    logging_->clear();
    logging_->repaint();
}

void MainWindow::schliessen_nachholen() {
    QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
}

std::optional<Fenstermasse> MainWindow::fenstermasse() {
    const Bildschirm screen = screen_of(*this);
    // A maximised window is stored at the screen's size, so it opens maximised again.
    const int width = isMaximized() ? screen.breite : this->width();
    const int height = isMaximized() ? screen.hoehe : this->height();
    return galvora::fenstermasse(screen, width, height, model_.layout.baumbreite);
}

void MainWindow::options_clicked() {
    MenueOptionenClick(model_, [this] {
        if (options_dialog_ == nullptr && window_hooks().make_options_dialog)
            options_dialog_ = window_hooks().make_options_dialog(this);
        if (options_dialog_ != nullptr) options_dialog_->exec();
    });
}

void MainWindow::anordnen() {
    if (isMinimized() || !model_.layout.bereit) return;
    const Anordnung a = startdialog_anordnen(model_, width(), height(), client_->width(), client_->height());
    rahmen_gesamt_->setGeometry(rect_of(a.rahmen_gesamt));
    statuszeile_->setGeometry(rect_of(a.statuszeile));
    basiswahl_->setGeometry(entwurf::kRand, entwurf::kZeile1Oben, basiswahl_->sizeHint().width(),
                            entwurf::kZeilenhoehe);
    zuletzt_pfeil_->setGeometry(basiswahl_->geometry().right() + 1, entwurf::kZeile1Oben,
                                zuletzt_pfeil_->sizeHint().width(), entwurf::kZeilenhoehe);
    clonelabel_->setGeometry(entwurf::kRand, entwurf::kZeile2Oben, clonelabel_->sizeHint().width(),
                             entwurf::kZeilenhoehe);
    basisverzeichnis_->setGeometry(rect_of(a.basisverzeichnis));
    cloneverzeichnis_->setGeometry(rect_of(a.cloneverzeichnis));
    baum_->setGeometry(rect_of(a.baum));
    splitter_->setGeometry(rect_of(a.splitter));
    status_->setGeometry(rect_of(a.status));
    logging_->setGeometry(rect_of(a.logging));
    gesamt_->setGeometry(rect_of(a.gesamtfortschritt));
    const QString title = QString::fromStdString(model_.titel);
    if (windowTitle() != title) setWindowTitle(title);
}

void MainWindow::pfadfortschritt_anlegen() {
    const QRect row = baum_->zeilenrechteck();
    if (row.isNull()) return;
    // Over the node's text, right of its picture.
    const int left = row.left() + baum_->iconSize().width() + 6;
    pfad_->setGeometry(left, row.top(), entwurf::kPfadfortschrittBreite, row.height());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closed_) {
        event->accept();
        return;
    }
    if (!startdialog_schliessen_pruefen()) {
        event->ignore();
        aktualisieren();
        return;
    }
    startdialog_schliessen();
    closed_ = true;
    if (options_dialog_ != nullptr) options_dialog_->hide();
    if (window_hooks().unload_options_dialog) window_hooks().unload_options_dialog();
    startdialog_entladen();
    event->accept();
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        model_.minimiert = isMinimized();
        // Back from the taskbar the window lays itself out, and with that
        // takes its base title again.
        if (!model_.minimiert) anordnen();
        aktualisieren();
    }
    QMainWindow::changeEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) anordnen();
    if ((watched == basiswahl_ || watched == zuletzt_pfeil_) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Down || key == Qt::Key_F4) && static_cast<QWidget*>(watched)->isEnabled()) {
            show_recent_menu();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace galvora::gui
