#include "services/workbook/XmlBlocks.h"

#include <cstring>

namespace sedilo::workbook {

bool BlockCuts::stillSafe(const char* data, std::size_t size)
{
    // "<!" or "<?"; only "<?xml" opening the part (after a byte order mark
    // at most) is allowed. '!' and '?' are rare in a sheet, '<' is not.
    const char* end = data + size;
    for (const char mark : {'!', '?'}) {
        for (const char* at = data; m_safe && at < end; ++at) {
            at = static_cast<const char*>(std::memchr(at, mark, static_cast<std::size_t>(end - at)));
            if (!at)
                break;
            const char before = at == data ? m_lastByte : at[-1];
            const std::uint64_t opening = m_seen + static_cast<std::uint64_t>(at - data);
            if (before == '<' && opening > 0 && (mark == '!' || opening - 1 > 3))
                m_safe = false;
        }
    }
    m_seen += size;
    if (size > 0)
        m_lastByte = data[size - 1];
    return m_safe;
}

std::size_t BlockCuts::lastCut(const std::string& text) const
{
    const std::size_t at = text.rfind(m_closingTag);
    return at == std::string::npos ? 0 : at + m_closingTag.size();
}

std::optional<std::size_t> parseWrappedBlock(XmlStream& parser, const std::string& block, bool plain)
{
    static constexpr char kWrapper[] = "_";
    if (plain) {
        if (!parser.parsePlainElement(kWrapper, block))
            return std::nullopt;
    } else {
        static constexpr char kOpen[] = "<_>";
        static constexpr char kClose[] = "</_>";
        parser.feed(kOpen, sizeof kOpen - 1);
        parser.feed(block.data(), block.size());
        parser.feed(kClose, sizeof kClose - 1);
        parser.finish();
    }
    return parser.elements() - 1;
}

} // namespace sedilo::workbook
