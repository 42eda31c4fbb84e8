#include "services/workbook/XmlStream.h"

#include <climits>
#include <cstring>
#include <exception>
#include <expat.h>

#include "services/workbook/WorkbookError.h"

namespace sedilo::workbook {

XmlStream::XmlStream(std::string file, std::string partName, Limits limits)
    : m_file(std::move(file)), m_partName(std::move(partName)), m_limits(limits)
{
    // Read as UTF-8 whatever the declaration says, like every other part.
    m_parser = XML_ParserCreate("UTF-8");
    if (!m_parser)
        throw std::bad_alloc();
    XML_SetUserData(m_parser, this);
    XML_SetElementHandler(m_parser, &XmlStream::onStart, &XmlStream::onEnd);
    XML_SetCharacterDataHandler(m_parser, &XmlStream::onText);
    XML_SetStartDoctypeDeclHandler(m_parser, &XmlStream::onDoctype);
}

XmlStream::~XmlStream()
{
    XML_ParserFree(m_parser);
}

const char* XmlStream::attribute(const char** attributes, std::string_view name)
{
    // Compared in place: measuring every name first was a tenth of a large
    // sheet's read.
    for (; *attributes; attributes += 2)
        if (std::strncmp(attributes[0], name.data(), name.size()) == 0 && attributes[0][name.size()] == '\0')
            return attributes[1];
    return nullptr;
}

void XmlStream::fail(const std::string& cause) const
{
    throw WorkbookError(CauseKind::DamagedWorkbook, m_file, cause + " (in " + m_partName + ")");
}

void XmlStream::stopWith(std::string cause)
{
    if (m_stopCause.empty())
        m_stopCause = std::move(cause);
    halt();
}

void XmlStream::halt()
{
    if (!m_plain)
        XML_StopParser(m_parser, XML_FALSE);
}

bool XmlStream::stopping() const
{
    return m_handlerFailure || !m_stopCause.empty();
}

void XmlStream::throwWhyStopped() const
{
    if (m_handlerFailure)
        std::rethrow_exception(m_handlerFailure);
    if (!m_stopCause.empty())
        fail(m_stopCause);
}

void XmlStream::noteEventEnd()
{
    m_lastEventEnd = static_cast<std::uint64_t>(XML_GetCurrentByteIndex(m_parser))
                     + static_cast<std::uint64_t>(XML_GetCurrentByteCount(m_parser));
}

void XmlStream::addElements(std::size_t count)
{
    m_elements += count;
    if (m_elements > m_limits.elements)
        fail("the XML holds more than " + std::to_string(m_limits.elements) + " elements");
}

void XmlStream::onStart(void* self, const char* name, const char** attributes)
{
    auto& stream = *static_cast<XmlStream*>(self);
    if (stream.stopping())
        return;
    stream.noteEventEnd();
    stream.deliverStart(name, attributes);
}

void XmlStream::deliverStart(std::string_view name, const char** attributes)
{
    if (++m_depth > m_limits.depth)
        return stopWith("the XML nests deeper than " + std::to_string(m_limits.depth) + " elements");
    if (++m_elements > m_limits.elements)
        return stopWith("the XML holds more than " + std::to_string(m_limits.elements) + " elements");
    m_gathering = false;
    try {
        startElement(name, attributes, m_depth);
    } catch (...) {
        m_handlerFailure = std::current_exception();
        halt();
    }
}

void XmlStream::onEnd(void* self, const char* name)
{
    auto& stream = *static_cast<XmlStream*>(self);
    // Expat still ends the empty element whose start stopped the parse.
    if (stream.stopping())
        return;
    stream.noteEventEnd();
    stream.deliverEnd(name);
}

void XmlStream::deliverEnd(std::string_view name)
{
    try {
        endElement(name, m_depth--);
    } catch (...) {
        m_handlerFailure = std::current_exception();
        halt();
    }
    m_gathering = false;
}

void XmlStream::onText(void* self, const char* text, int length)
{
    static_cast<XmlStream*>(self)->deliverText(text, static_cast<std::size_t>(length));
}

void XmlStream::deliverText(const char* text, std::size_t length)
{
    if (!m_gathering || stopping())
        return;
    if (m_text.size() + length > m_limits.text)
        return stopWith("a text of the XML is longer than " + std::to_string(m_limits.text) + " bytes");
    m_text.append(text, length);
}

void XmlStream::onDoctype(void* self, const char*, const char*, const char*, int)
{
    static_cast<XmlStream*>(self)->stopWith("the XML declares a document type, which a workbook never does");
}

void XmlStream::parse(const char* data, std::size_t size, bool last)
{
    do {
        const int piece = static_cast<int>(std::min<std::size_t>(size, INT_MAX / 2));
        const bool final = last && static_cast<std::size_t>(piece) == size;
        m_fed += static_cast<std::uint64_t>(piece);
        if (XML_Parse(m_parser, data, piece, final ? XML_TRUE : XML_FALSE) != XML_STATUS_OK) {
            throwWhyStopped();
            throw WorkbookError(CauseKind::DamagedWorkbook, m_file, "malformed XML in " + m_partName + ": " +
                                            XML_ErrorString(XML_GetErrorCode(m_parser)) + " at byte " +
                                            std::to_string(XML_GetCurrentByteIndex(m_parser)));
        }
        data += piece;
        size -= static_cast<std::size_t>(piece);
    } while (size > 0);
}

void XmlStream::feed(const char* data, std::size_t size)
{
    parse(data, size, false);
}

void XmlStream::finish()
{
    parse(nullptr, 0, true);
}

} // namespace sedilo::workbook
