#include "ui/pages.h"

namespace veltra {

std::size_t rankInPage(const SaveRule& rule)
{
    std::size_t rank = 0;
    for (const SaveRule* earlier = &rule; earlier != saveRules.data() && (earlier - 1)->group == rule.group; --earlier)
        ++rank;
    return rank;
}

}  // namespace veltra
