#include "qt_properties.h"

#include <cmath>

double NumberProperty(const PropertyStore& store, const std::string& name, double fallback) {
    const PropertyValue* value = store.Find(name);
    if (!value)
        return fallback;
    if (const auto* i = std::get_if<std::int64_t>(value))
        return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(value))
        return *d;
    return fallback;
}

int IntProperty(const PropertyStore& store, const std::string& name, int fallback) {
    return static_cast<int>(std::lround(NumberProperty(store, name, fallback)));
}

bool BoolProperty(const PropertyStore& store, const std::string& name, bool fallback) {
    const PropertyValue* value = store.Find(name);
    if (!value)
        return fallback;
    if (const auto* b = std::get_if<bool>(value))
        return *b;
    if (const auto* i = std::get_if<std::int64_t>(value))
        return *i != 0;
    return fallback;
}

std::string TextProperty(const PropertyStore& store, const std::string& name,
                         const std::string& fallback) {
    return store.Get<std::string>(name, fallback);
}
