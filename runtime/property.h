#pragma once
// Property records: a window's or a control's fixed values as data
// (name -> value), applied in one step. The backend maps the ones it
// understands to the toolkit; all of them stay readable.

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

struct Color {
    int red = 0, green = 0, blue = 0, alpha = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

using PropertyValue = std::variant<bool, std::int64_t, double, std::string, Color>;

struct Property {
    std::string name;
    PropertyValue value;
};
using PropertyValues = std::vector<Property>;

class PropertyStore {
  public:
    void Apply(const PropertyValues& values) {
        for (const auto& p : values)
            values_[p.name] = p.value;
    }
    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    const PropertyValue* Find(const std::string& name) const {
        auto it = values_.find(name);
        return it == values_.end() ? nullptr : &it->second;
    }
    template <class T> T Get(const std::string& name, T fallback = T{}) const {
        const PropertyValue* v = Find(name);
        if (!v)
            return fallback;
        if (const T* t = std::get_if<T>(v))
            return *t;
        return fallback;
    }
    const std::map<std::string, PropertyValue>& All() const { return values_; }

  private:
    std::map<std::string, PropertyValue> values_;
};
