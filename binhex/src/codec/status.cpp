#include "binhex/binhex.h"

namespace binhex {
namespace {

#define BINHEX_STATUS_NAME(id, text) #id,
constexpr const char* kNames[] = {BINHEX_STATUS_LIST(BINHEX_STATUS_NAME)};
#undef BINHEX_STATUS_NAME

#define BINHEX_STATUS_TEXT(id, text) text,
constexpr const char* kTexts[] = {BINHEX_STATUS_LIST(BINHEX_STATUS_TEXT)};
#undef BINHEX_STATUS_TEXT

constexpr auto kCount = sizeof kNames / sizeof kNames[0];

} // namespace

const char* status_name(Status status) noexcept {
    const auto index = static_cast<std::size_t>(status);
    return index < kCount ? kNames[index] : "unknown";
}

const char* status_message(Status status) noexcept {
    const auto index = static_cast<std::size_t>(status);
    return index < kCount ? kTexts[index] : "unknown status";
}

} // namespace binhex
