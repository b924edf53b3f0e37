#pragma once

#include <span>

namespace kestrum {

// The commands of the alias list and of the in/exclusion list: the keywords
// the list editors offer, and the commands an imported analog.cfg puts into
// those lists.
std::span<const char *const> aliasKeywords();
std::span<const char *const> inclusionKeywords();

} // namespace kestrum
