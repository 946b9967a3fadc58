#pragma once
// Pictures shipped with the application.

#include "object.h"

#include <memory>
#include <string>

// The backend's decoded image; opaque to the program.
class PictureImage {
  public:
    virtual ~PictureImage() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};

class Picture : public Object {
  public:
    Picture(std::string fileName, std::shared_ptr<PictureImage> image)
        : fileName_(std::move(fileName)), image_(std::move(image)) {}
    // The picture file `fileName` in the application's resources folder, or
    // nil when it is missing or cannot be decoded.
    static Ref<Picture> OpenFromApp(const std::string& fileName);

    const std::string& FileName() const { return fileName_; }
    const PictureImage& Image() const { return *image_; }
    int Width() const { return image_->Width(); }
    int Height() const { return image_->Height(); }
    TAMZEL_CLASS_RECORD()

  private:
    std::string fileName_;
    std::shared_ptr<PictureImage> image_;
};
