#include "arrange/TemplateCache.h"

namespace sedilo::arrange {

const RoomTemplate& TemplateCache::get(const std::string& path)
{
    auto found = m_templates.find(path);
    if (found == m_templates.end())
        found = m_templates.emplace(path, std::make_unique<RoomTemplate>(path, m_direction)).first;
    return *found->second;
}

} // namespace sedilo::arrange
