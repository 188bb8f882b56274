#pragma once
// A picture box: its background colour, the picture named by its key (the
// sample picture, the background tile repeated over the box, the window
// control box, the arrows of the navigation strips, the group marker), or a
// gradient of pixel columns. It reports clicks; it holds other widgets.
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace galvora {

class PictureWidget : public QWidget {
    Q_OBJECT
public:
    explicit PictureWidget(QWidget* parent = nullptr);

    void set_picture(const std::string& key, bool tiled);
    // Paints one colour (0x00BBGGRR) per pixel column instead of a picture.
    void set_gradient(std::function<const std::vector<uint32_t>&()> columns);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::string picture_;
    bool tiled_ = false;
    std::function<const std::vector<uint32_t>&()> gradient_;
};

// The images of the options dialog's design, made once.
const QImage& sample_image();
const QImage& background_tile();

}  // namespace galvora
