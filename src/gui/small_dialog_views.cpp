#include "gui/small_dialog_views.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "foundation/program_info.h"
#include "profile/script_modules.h"

namespace galvora {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

NameDialog::NameDialog(QWidget* parent, const char* fenster, const std::vector<Designtext>& texte,
                       const char* boxname)
    : QDialog(parent) {
    setObjectName(fenster);
    designtexte_aufnehmen(fenster, texte);
    setWindowTitle(q(fenstertext(fenster, "Title")));

    beschriftung_ = new QLabel(q(fenstertext(fenster, texte[1].tag)), this);
    beschriftung_->setObjectName("Label1");
    eingabe_ = new QLineEdit(this);
    eingabe_->setObjectName(boxname);
    eingabe_->setMinimumWidth(280);
    beschriftung_->setBuddy(eingabe_);

    auto* knoepfe = new QDialogButtonBox(this);
    QPushButton* ok = knoepfe->addButton(q(fenstertext(fenster, "OK")), QDialogButtonBox::AcceptRole);
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    QPushButton* abbrechen = knoepfe->addButton(q(fenstertext(fenster, "Cancel")), QDialogButtonBox::RejectRole);
    abbrechen->setObjectName("CancelButton");
    connect(ok, &QPushButton::clicked, this, &NameDialog::ok_gedrueckt);
    connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);

    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(beschriftung_);
    spalte->addWidget(eingabe_);
    spalte->addWidget(knoepfe);
    setSizeGripEnabled(false);
}

void NameDialog::ok_gedrueckt() {
    std::string text = eingabe_->text().toStdString();
    const bool schliessen = bestaetigt(text);
    eingabe_->setText(q(text));
    if (schliessen) accept();
}

ProfilNeuDialog::ProfilNeuDialog(QWidget* parent)
    : NameDialog(parent, kProfilNeuFenster, profilneu_designtexte(), "Profil_Bezeichner") {}

ModulNeuDialog::ModulNeuDialog(QWidget* parent, ZNModule& module)
    : NameDialog(parent, kModulNeuFenster, modulneu_designtexte(), "Modul_Bezeichner"), modell_(module) {}

DateiartenDialog::DateiartenDialog(QWidget* parent, int eintragsnummer)
    : NameDialog(parent, kDateiartenFenster, dateiarten_designtexte(), "Dateiarten"), modell_(eintragsnummer) {
    beschriftung()->setText(q(modell_.beschriftung()));
    eingabe()->setText(q(modell_.wert()));
}

EingabeDialog::EingabeDialog(QWidget* parent, const std::string& prompt, const std::string& preset,
                             const std::string& title)
    : QDialog(parent) {
    setObjectName(kEingabeFenster);
    setWindowTitle(q(!title.empty() ? title : prompt.empty() ? product_name() : prompt));
    QLabel* prompt_label = nullptr;
    if (!title.empty() && !prompt.empty()) {
        prompt_label = new QLabel(q(prompt), this);
        prompt_label->setObjectName("Prompt");
    }
    eingabe_ = new QLineEdit(q(preset), this);
    eingabe_->setObjectName("FInputText");
    eingabe_->setMinimumWidth(320);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        eingegeben_ = eingabe_->text().toStdString();
        accept();
    });
    auto* spalte = new QVBoxLayout(this);
    if (prompt_label != nullptr) spalte->addWidget(prompt_label);
    spalte->addWidget(eingabe_);
    spalte->addWidget(ok, 0, Qt::AlignRight);
}

void EingabeDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    eingabe_->selectAll();
    eingabe_->setFocus();
}

std::string zeige_profil_neu(QWidget* parent) {
    ProfilNeuDialog dialog(parent);
    dialog.exec();
    return dialog.profilname();
}

std::shared_ptr<ZNModul> zeige_modul_neu(QWidget* parent, ZNModule& module) {
    ModulNeuDialog dialog(parent, module);
    dialog.exec();
    return dialog.modul();
}

void zeige_dateiarten(QWidget* parent, int eintragsnummer) {
    DateiartenDialog dialog(parent, eintragsnummer);
    dialog.exec();
}

std::optional<std::string> zeige_eingabebox(QWidget* parent, const std::string& prompt, const std::string& preset,
                                            const std::string& title) {
    EingabeDialog dialog(parent, prompt, preset, title);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.eingegeben();
}

}  // namespace galvora
