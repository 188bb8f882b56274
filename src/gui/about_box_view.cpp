#include "gui/about_box_view.h"

#include <QApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtGlobal>

#include "app/about_box.h"
#include "foundation/program_info.h"
#include "platform/os_info.h"

namespace galvora {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

QString text(const char* tag) { return q(fenstertext(kInformFenster, tag)); }

QLabel* verweis(const std::string& beschriftung, const char* name, QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("<a href=\"#\">%1</a>").arg(q(beschriftung).toHtmlEscaped()), parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    return label;
}

}  // namespace

InformDialog::InformDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(kInformFenster);
    designtexte_aufnehmen(kInformFenster, inform_designtexte());
    setWindowTitle(text("Title"));

    auto* name = new QLabel(q(product_name()), this);
    name->setObjectName("label6");
    QFont gross = name->font();
    gross.setPointSizeF(gross.pointSizeF() * 2);
    gross.setBold(true);
    name->setFont(gross);

    auto* version = new QLabel(q(versionszeile()), this);
    version->setObjectName("Galvora_Version");
    auto* copyright = new QLabel(q(copyright_text()), this);
    copyright->setObjectName("Copyright");

    liste_ = new QTreeWidget(this);
    liste_->setObjectName("VersionInfo");
    liste_->setRootIsDecorated(false);
    liste_->setSelectionMode(QAbstractItemView::NoSelection);
    liste_->setHeaderLabels({text("Component"), text("Version")});
    const Bibliotheksversion toolkit{"Qt", qVersion()};
    for (const Komponentenzeile& zeile : komponentenzeilen(OperatingSystem(), toolkit))
        new QTreeWidgetItem(liste_, {q(zeile.komponente), q(zeile.version)});
    liste_->resizeColumnToContents(0);
    liste_->header()->setStretchLastSection(true);
    liste_->setMinimumSize(520, 300);

    auto* homepage = verweis(homepage_adresse(), "hlink", this);
    connect(homepage, &QLabel::linkActivated, this, [] { homepage_oeffnen(); });
    auto* mail_text = new QLabel(text("Email"), this);
    mail_text->setObjectName("Label1");
    auto* mail = verweis(mail_adresse(), "mail", this);
    connect(mail, &QLabel::linkActivated, this, [] { mail_oeffnen(); });

    update_knopf_ = new QPushButton(text("Update"), this);
    update_knopf_->setObjectName("UpdateAnfrage");
    connect(update_knopf_, &QPushButton::clicked, this, &InformDialog::update_starten);
    auto* ok = new QPushButton(text("OK"), this);
    ok->setObjectName("OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* mail_zeile = new QHBoxLayout;
    mail_zeile->addWidget(mail_text);
    mail_zeile->addWidget(mail);
    mail_zeile->addStretch();
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(update_knopf_);
    knoepfe->addStretch();
    knoepfe->addWidget(ok);

    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(name);
    spalte->addWidget(version);
    spalte->addWidget(copyright);
    spalte->addWidget(liste_, 1);
    spalte->addWidget(homepage);
    spalte->addLayout(mail_zeile);
    spalte->addLayout(knoepfe);
}

InformDialog::~InformDialog() {
    // The query ends within its time limit; the window waits for it rather
    // than leave a thread running behind it.
    if (abfrage_ != nullptr) {
        abfrage_->wait();
        delete abfrage_;
    }
}

void InformDialog::update_starten() {
    if (abfrage_ != nullptr) return;
    update_knopf_->setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    auskunft_ = std::make_shared<UpdateAuskunft>();
    abfrage_ = QThread::create([ziel = auskunft_] { *ziel = update_abfragen(); });
    connect(abfrage_, &QThread::finished, this, &InformDialog::update_fertig);
    abfrage_->start();
}

void InformDialog::update_fertig() {
    QThread* fertig = abfrage_;
    abfrage_ = nullptr;
    fertig->wait();
    fertig->deleteLater();
    QApplication::restoreOverrideCursor();
    update_knopf_->setEnabled(true);
    update_melden(*auskunft_);
    emit update_beantwortet();
}

void zeige_infobox(QWidget* parent) {
    InformDialog dialog(parent);
    dialog.exec();
}

}  // namespace galvora
