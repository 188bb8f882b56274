#pragma once
// The control-image box: shows the picture the run works on (the picture
// object draws into it) or, idle, a cross pattern in the colour that says
// whether the control image is on. A click, or Space while it has the focus,
// switches the control image.
#include <QImage>
#include <QWidget>
#include <atomic>
#include <mutex>

#include "image/picture/picture_box_port.h"

namespace galvora::gui {

class ControlPictureBox : public QWidget, public PictureBoxPort {
    Q_OBJECT
public:
    explicit ControlPictureBox(QWidget* parent = nullptr);

    // The idle look in the colour of the control image's state.
    void leeren(uint32_t colour);

    // The picture object's drawing. It may come from a thread of the
    // picture pipeline, so the picture is kept behind a lock and the widget
    // repaints through its event queue.
    float scale_width() const override { return static_cast<float>(width_.load()); }
    float scale_height() const override { return static_cast<float>(height_.load()); }
    void clear() override;
    bool draw_rgb(const PictureBuffer& picture, int32_t x, int32_t y, int32_t draw_width,
                  int32_t draw_height) override;
    void copy_content(PictureBuffer& target) const override;

    // The box's content as it stands (the tests look at it).
    QImage inhalt() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void repaint_later();

    mutable std::mutex mutex_;
    QImage image_;
    std::atomic<int> width_{0};
    std::atomic<int> height_{0};
};

}  // namespace galvora::gui
