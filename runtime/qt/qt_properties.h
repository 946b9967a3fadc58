#pragma once
// Reading property values the way the property records spell them: a number
// may arrive as an integer or as a double.

#include "runtime/property.h"

#include <string>

double NumberProperty(const PropertyStore& store, const std::string& name, double fallback);
int IntProperty(const PropertyStore& store, const std::string& name, int fallback);
bool BoolProperty(const PropertyStore& store, const std::string& name, bool fallback);
std::string TextProperty(const PropertyStore& store, const std::string& name,
                         const std::string& fallback = {});
