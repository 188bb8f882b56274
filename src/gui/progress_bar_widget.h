#pragma once
// Paints a progress bar model: its background, the filled pieces, the frame
// and the label's caption over the bar.
#include <QWidget>
#include <cstdint>

#include "app/progress_bar.h"

namespace galvora::gui {

class ProgressBarWidget : public QWidget {
    Q_OBJECT
public:
    ProgressBarWidget(Fortschrittanzeige& model, QWidget* parent = nullptr);

    // Repaints when the model changed since the last paint; `now` paints at once.
    void zeigen(bool now = false);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Fortschrittanzeige& model_;
    uint64_t painted_ = ~uint64_t{0};
};

}  // namespace galvora::gui
