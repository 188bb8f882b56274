#pragma once
// The small input windows: a new profile, a new script module, the
// extension list of a picture type, and the script's input box. Each
// function opens its window modally over the parent and returns what the
// caller reads afterwards; the rules live in app/small_dialogs.h.
#include <QDialog>

#include <memory>
#include <optional>
#include <string>

#include "app/small_dialogs.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace galvora {

class ZNModul;
class ZNModule;

// The name of the profile created, "" when none was.
std::string zeige_profil_neu(QWidget* parent);
// The module created, nullptr when none was.
std::shared_ptr<ZNModul> zeige_modul_neu(QWidget* parent, ZNModule& module);
// Edits settings entry `eintragsnummer` (15 to 26).
void zeige_dateiarten(QWidget* parent, int eintragsnummer);
// The text confirmed with OK; nullopt when the box was closed otherwise.
// With a title, the title stands in the caption and the prompt above the box.
std::optional<std::string> zeige_eingabebox(QWidget* parent, const std::string& prompt, const std::string& preset,
                                            const std::string& title = {});

// A window with a label, a text box and OK / Cancel: the frame of the first three.
class NameDialog : public QDialog {
    Q_OBJECT
public:
    NameDialog(QWidget* parent, const char* fenster, const std::vector<Designtext>& texte, const char* boxname);

    QLineEdit* eingabe() const { return eingabe_; }
    QLabel* beschriftung() const { return beschriftung_; }

protected:
    // OK: the window's rule; true closes the window.
    virtual bool bestaetigt(std::string& text) = 0;

private:
    void ok_gedrueckt();

    QLabel* beschriftung_;
    QLineEdit* eingabe_;
};

class ProfilNeuDialog : public NameDialog {
    Q_OBJECT
public:
    explicit ProfilNeuDialog(QWidget* parent);
    const std::string& profilname() const { return modell_.profilname(); }

protected:
    bool bestaetigt(std::string& text) override { return modell_.ok(text); }

private:
    ProfilNeu modell_;
};

class ModulNeuDialog : public NameDialog {
    Q_OBJECT
public:
    ModulNeuDialog(QWidget* parent, ZNModule& module);
    std::shared_ptr<ZNModul> modul() const { return modell_.modul(); }

protected:
    bool bestaetigt(std::string& text) override { return modell_.ok(text); }

private:
    ModulNeu modell_;
};

class DateiartenDialog : public NameDialog {
    Q_OBJECT
public:
    DateiartenDialog(QWidget* parent, int eintragsnummer);

protected:
    bool bestaetigt(std::string& text) override { return modell_.ok(text); }

private:
    Dateiarten modell_;
};

// "ZNSInputForm": the prompt is the window's caption; the preset is selected
// whole when the window shows, so typing replaces it.
class EingabeDialog : public QDialog {
    Q_OBJECT
public:
    EingabeDialog(QWidget* parent, const std::string& prompt, const std::string& preset,
                  const std::string& title = {});
    QLineEdit* eingabe() const { return eingabe_; }
    // "" until OK was pressed.
    const std::string& eingegeben() const { return eingegeben_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* eingabe_;
    std::string eingegeben_;
};

}  // namespace galvora
