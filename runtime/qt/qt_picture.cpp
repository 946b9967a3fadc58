#include "qt_picture.h"

#include "qt_backend.h"

#include <fstream>
#include <iterator>

QPixmap QtPixmapOf(const Picture* picture) {
    if (!picture)
        return {};
    const auto* image = dynamic_cast<const QtPictureImage*>(&picture->Image());
    return image ? QPixmap::fromImage(image->Image()) : QPixmap();
}

std::shared_ptr<PictureImage> QtPlatform::LoadPicture(const std::string& path) {
    // Read as bytes and let Qt tell the format from the content: a path
    // handed to QImage as a QString would not survive a non-UTF-8 name.
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return nullptr;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    QImage image = QImage::fromData(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())));
    if (image.isNull())
        return nullptr;
    // fromRawData borrowed the bytes; the copy owns its pixels.
    image.detach();
    return std::make_shared<QtPictureImage>(std::move(image));
}
