#pragma once

#include <map>
#include <memory>
#include <string>

#include "arrange/RoomTemplate.h"

namespace sedilo::arrange {

// The templates of one run by their path text, each parsed on first use.
class TemplateCache {
public:
    explicit TemplateCache(rooms::FillDirection direction) : m_direction(direction) {}

    // The reference stays valid for the cache's life. Throws as RoomTemplate does.
    const RoomTemplate& get(const std::string& path);

private:
    rooms::FillDirection m_direction;
    std::map<std::string, std::unique_ptr<RoomTemplate>> m_templates;
};

} // namespace sedilo::arrange
