#include "mac_picture.h"

#include "window_building.h"

namespace x_Mac {
Ref<Picture> Mac() {
    // Never released: the picture lives as long as the program, and a
    // toolkit image must not be destroyed after the toolkit has shut down.
    static Ref<Picture>& pic = *new Ref<Picture>();
    return CachedAppPicture(pic, "Mac.tiff");
}
} // namespace x_Mac
