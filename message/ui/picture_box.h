// Picture box: shows an image file's contents stretched to fill the box,
// proportions not kept, over a black background. JPEG is decoded with
// libjpeg; other formats through Qt's image readers. Empty or undecodable
// data leaves the box black.
#pragma once

#include "text.h"

#include <QImage>
#include <QWidget>

#include <string_view>

namespace ui {

// The decoded image, or a null image for data that is not a picture.
QImage decodePicture(std::string_view fileBytes);

class PictureBox : public QWidget
{
    Q_OBJECT

public:
    PictureBox(std::string_view formName, QWidget* parent);

    void setPicture(std::string_view fileBytes);
    bool hasPicture() const { return !image_.isNull(); }
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
    QImage scaled_;  // image_ at the box's size, made on the first paint at it
};

}  // namespace ui
