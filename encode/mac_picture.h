#pragma once

#include "runtime/picture.h"

namespace x_Mac {
// The picture of the computer, "Mac.tiff"; nil while it cannot be loaded.
// Once loaded it is kept for the rest of the run.
Ref<Picture> Mac();
} // namespace x_Mac
