#include "window_building.h"

#include <cstdint>

PropertyValues WindowValues(PropertyValues own) {
    const PropertyValues shared = {
        {"MinimumWidth", std::int64_t{64}},
        {"MinimumHeight", std::int64_t{64}},
        {"MaximumWidth", std::int64_t{32000}},
        {"MaximumHeight", std::int64_t{32000}},
        {"Type", std::int64_t{0}},
        {"HasCloseButton", true},
        {"HasMaximizeButton", false},
        {"HasFullScreenButton", false},
        {"Resizeable", false},
        {"Composite", false},
        {"MacProcID", std::int64_t{0}},
        {"FullScreen", false},
        {"Visible", true},
        {"HasBackgroundColor", false},
        {"BackgroundColor", kWhite},
        {"MenuBarVisible", true},
        {"LiveResize", true},
    };
    own.insert(own.end(), shared.begin(), shared.end());
    return own;
}

PropertyValues ControlValues(PropertyValues own) {
    PropertyValues all = {
        {"Enabled", true},
        {"Visible", true},
        {"TabStop", true},
        {"TabPanelIndex", std::int64_t{0}},
        {"LockLeft", true},
        {"LockTop", true},
        {"LockRight", false},
        {"LockBottom", false},
        {"InitialParent", std::string()},
        {"Tooltip", std::string()},
        {"AllowAutoDeactivate", true},
        // The smallest 32-bit integer: the controls are found by name alone.
        {"Index", std::int64_t{-2147483648LL}},
    };
    all.insert(all.end(), own.begin(), own.end());
    return all;
}

Ref<Picture> CachedAppPicture(Ref<Picture>& cache, const char* fileName) {
    if (!cache)
        cache = Picture::OpenFromApp(fileName);
    return cache;
}
