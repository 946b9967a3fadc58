#pragma once
// The runtime's pictures, decoded by Qt.

#include "runtime/picture.h"

#include <QImage>
#include <QPixmap>

class QtPictureImage : public PictureImage {
  public:
    explicit QtPictureImage(QImage image) : image_(std::move(image)) {}
    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    const QImage& Image() const { return image_; }

  private:
    QImage image_;
};

// The picture as a pixmap; a null pixmap for nil or for a picture another
// backend decoded.
QPixmap QtPixmapOf(const Picture* picture);
