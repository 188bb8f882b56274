#pragma once
// The about box "Inform": version, copyright, the version list of the
// components, the maker's links and the update query, which runs on a worker
// thread so that the window keeps answering while it waits.
#include <QDialog>

#include <memory>

#include "app/update_query.h"

class QLabel;
class QPushButton;
class QThread;
class QTreeWidget;

namespace galvora {

// Opens the about box modally over the parent (the main window's Info menu).
void zeige_infobox(QWidget* parent);

class InformDialog : public QDialog {
    Q_OBJECT
public:
    explicit InformDialog(QWidget* parent);
    ~InformDialog() override;

    // True while an update query is on its way.
    bool update_laeuft() const { return abfrage_ != nullptr; }

signals:
    // The answer of an update query has been shown.
    void update_beantwortet();

private:
    void update_starten();
    void update_fertig();

    QTreeWidget* liste_;
    QPushButton* update_knopf_;
    QThread* abfrage_ = nullptr;
    std::shared_ptr<UpdateAuskunft> auskunft_;
};

}  // namespace galvora
