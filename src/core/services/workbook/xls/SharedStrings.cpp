#include "services/workbook/xls/SharedStrings.h"

#include <algorithm>

#include "services/workbook/xls/BiffRecord.h"
#include "services/workbook/xls/ContinuedReader.h"
#include "services/workbook/xls/LittleEndian.h"

namespace sedilo::workbook::xls {

SharedStrings parseSharedStrings(const std::vector<std::string_view>& bodies)
{
    SharedStrings table;
    ContinuedReader reader(bodies);
    table.totalReferences = reader.u32();
    const std::uint32_t declared = reader.u32();
    // Each string takes at least three bytes, so the declared count cannot
    // run away with the memory.
    try {
        for (std::uint32_t i = 0; i < declared && !reader.atEnd(); ++i) {
            SharedString entry;
            const std::size_t count = reader.u16();
            const std::uint8_t flags = reader.u8();
            const std::size_t runs = (flags & 0x08) ? reader.u16() : 0;
            const std::size_t phonetic = (flags & 0x04) ? reader.u32() : 0;
            entry.highByte = (flags & 0x01) != 0;
            entry.characters = reader.characters(count, entry.highByte);
            entry.runs = reader.bytes(4 * runs);
            entry.phonetic = reader.bytes(phonetic);
            entry.text = utf16ToUtf8(entry.characters);
            table.strings.push_back(std::move(entry));
        }
    } catch (const BiffError&) {
        // A truncated last string is dropped; cells pointing at it fail when read.
    }
    return table;
}

SharedString makeSharedString(std::string_view utf8)
{
    SharedString entry;
    entry.characters = utf8ToUtf16(utf8);
    entry.highByte = std::any_of(entry.characters.begin(), entry.characters.end(), [](char16_t c) { return c > 0xFF; });
    entry.text = std::string(utf8);
    return entry;
}

namespace {

// Builds the SST record and its CONTINUE records piece by piece, noting
// where each string starts for the EXTSST index.
class SstWriter {
public:
    SstWriter(std::size_t streamPosition, std::uint32_t total, std::uint32_t unique)
        : m_recordStart(streamPosition)
    {
        appendU32(m_body, total);
        appendU32(m_body, unique);
    }

    void add(const SharedString& entry)
    {
        const bool wide = entry.highByte
            || std::any_of(entry.characters.begin(), entry.characters.end(), [](char16_t c) { return c > 0xFF; });
        const std::size_t width = wide ? 2 : 1;
        std::string header;
        appendU16(header, static_cast<std::uint16_t>(std::min<std::size_t>(entry.characters.size(), 0xFFFF)));
        header.push_back(static_cast<char>((wide ? 0x01 : 0) | (entry.phonetic.empty() ? 0 : 0x04)
                                           | (entry.runs.empty() ? 0 : 0x08)));
        if (!entry.runs.empty())
            appendU16(header, static_cast<std::uint16_t>(entry.runs.size() / 4));
        if (!entry.phonetic.empty())
            appendU32(header, static_cast<std::uint32_t>(entry.phonetic.size()));

        const std::size_t count = std::min<std::size_t>(entry.characters.size(), 0xFFFF);
        if (room() < header.size() + (count > 0 ? width : 0))
            flush();
        m_starts.push_back({m_recordStart + 4 + m_body.size(), 4 + m_body.size()});
        m_body += header;

        std::size_t done = 0;
        while (done < count) {
            if (room() < width) {
                flush();
                m_body.push_back(static_cast<char>(wide ? 0x01 : 0x00));
            }
            const std::size_t n = std::min(count - done, room() / width);
            for (std::size_t i = 0; i < n; ++i) {
                const char16_t c = entry.characters[done + i];
                if (wide)
                    appendU16(m_body, c);
                else
                    m_body.push_back(static_cast<char>(c));
            }
            done += n;
        }
        for (std::size_t i = 0; i + 4 <= entry.runs.size(); i += 4) {
            if (room() < 4)
                flush();
            m_body.append(entry.runs, i, 4);
        }
        if (!entry.phonetic.empty() && room() < entry.phonetic.size() && entry.phonetic.size() <= MaxRecordData)
            flush();
        std::string_view rest = entry.phonetic;
        while (!rest.empty()) {
            if (room() == 0)
                flush();
            const std::size_t n = std::min(rest.size(), room());
            m_body.append(rest.substr(0, n));
            rest.remove_prefix(n);
        }
    }

    std::string finish()
    {
        flush();
        std::string extSst;
        const std::size_t count = m_starts.size();
        const std::size_t perBucket = std::max<std::size_t>(8, (count + 127) / 128);
        appendU16(extSst, static_cast<std::uint16_t>(perBucket));
        for (std::size_t i = 0; i < count; i += perBucket) {
            appendU32(extSst, static_cast<std::uint32_t>(m_starts[i].position));
            appendU16(extSst, static_cast<std::uint16_t>(m_starts[i].offsetInRecord));
            appendU16(extSst, 0);
        }
        appendRecord(m_out, record::ExtSst, extSst);
        return std::move(m_out);
    }

private:
    struct Start {
        std::size_t position;
        std::size_t offsetInRecord;
    };

    std::size_t room() const { return MaxRecordData - m_body.size(); }

    void flush()
    {
        if (m_body.empty() && !m_out.empty())
            return;
        appendRecord(m_out, m_out.empty() ? record::Sst : record::Continue, m_body);
        m_recordStart += 4 + m_body.size();
        m_body.clear();
    }

    std::string m_out;
    std::string m_body;
    std::size_t m_recordStart;
    std::vector<Start> m_starts;
};

} // namespace

std::string serializeSharedStrings(const std::vector<SharedString>& strings, const std::vector<SharedString>& appended,
                                   std::uint32_t totalReferences, std::size_t streamPosition)
{
    SstWriter writer(streamPosition, totalReferences, static_cast<std::uint32_t>(strings.size() + appended.size()));
    for (const SharedString& entry : strings)
        writer.add(entry);
    for (const SharedString& entry : appended)
        writer.add(entry);
    return writer.finish();
}

} // namespace sedilo::workbook::xls
