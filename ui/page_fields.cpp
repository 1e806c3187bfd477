#include "ui/page_fields.h"

namespace veltra {

const PageField& pageFieldOf(EditField field)
{
    for (const PageField& row : pageFields)
        if (row.field == field)
            return row;
    return pageFields.front();
}

std::string lackingLine(const std::vector<const char*>& names)
{
    std::vector<std::string> said;
    for (const char* name : names)
        if (said.empty() || said.back() != name)
            said.emplace_back(name);
    if (said.empty())
        return {};
    std::string line = res::lackingLineStart;
    for (std::size_t i = 0; i < said.size(); ++i) {
        if (i > 0)
            line += i + 1 == said.size() ? res::lackingListLastSeparator : res::lackingListSeparator;
        line += said[i];
    }
    return line + res::lackingLineEnd;
}

}  // namespace veltra
