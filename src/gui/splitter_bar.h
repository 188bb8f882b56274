#pragma once
// The bar between the tree and the status area. Dragged with the left mouse
// button, or moved with the arrow keys while it has the focus; the model
// decides whether the tree takes the new width.
#include <QWidget>

namespace galvora::gui {

class SplitterBar : public QWidget {
    Q_OBJECT
public:
    explicit SplitterBar(QWidget* parent = nullptr);

    // Pixels an arrow key moves the bar.
    static constexpr int kSchritt = 16;

signals:
    void gedrueckt();
    // A move while the bar is held, x relative to the bar.
    void gezogen(int x);
    void losgelassen();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace galvora::gui
