#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

struct XML_ParserStruct;

namespace sedilo::workbook {

// A streaming XML parse (libexpat) over a part fed piece by piece, for parts
// too large to hold as a document. Bounded: element nesting, the count of
// elements and the text gathered at once are capped, and a document type
// declaration (the door to entity expansion) is refused.
class XmlStream {
public:
    struct Limits {
        int depth = 64;
        std::size_t elements = 64u * 1024 * 1024;
        std::size_t text = 4u * 1024 * 1024;
    };

    XmlStream(std::string file, std::string partName, Limits limits);
    virtual ~XmlStream();
    XmlStream(const XmlStream&) = delete;
    XmlStream& operator=(const XmlStream&) = delete;

    // Throws WorkbookError for malformed XML or a limit passed, and rethrows
    // what a handler threw.
    void feed(const char* data, std::size_t size);
    void finish();

    // Parses `content` as the children of an element named `wrapper`, with
    // the same events and limits as expat, when it keeps to the plain markup
    // spreadsheets write: ASCII names; quoted attribute values and text of
    // well-formed UTF-8 without control characters or "]", where references
    // are the predefined entities and printable character references. False
    // at the first thing outside that, having delivered some events: the
    // stream is then spent, and expat must parse the content afresh. Throws
    // like feed() when a limit is passed or a handler throws.
    bool parsePlainElement(std::string_view wrapper, std::string_view content);

    // True when the last event fed ended at the last byte fed: the parse holds
    // nothing back that the bytes after it could belong to.
    bool lastEventEndsInput() const { return m_lastEventEnd == m_fed; }

    // Elements parsed elsewhere count against the limit as if met here.
    std::size_t elements() const { return m_elements; }
    void addElements(std::size_t count);

protected:
    // `attributes` is expat's array of name, value pairs ending in null.
    virtual void startElement(std::string_view name, const char** attributes, int depth) = 0;
    virtual void endElement(std::string_view name, int depth) = 0;

    // Character data between the start and end tag of the current element is
    // gathered only while this is set.
    void gatherText(bool on) { m_gathering = on; }
    std::string& text() { return m_text; }

    [[noreturn]] void fail(const std::string& cause) const;
    const std::string& file() const { return m_file; }

    // The value of the attribute named exactly `name`, or nullptr.
    static const char* attribute(const char** attributes, std::string_view name);

private:
    static void onStart(void* self, const char* name, const char** attributes);
    static void onEnd(void* self, const char* name);
    static void onText(void* self, const char* text, int length);
    static void onDoctype(void* self, const char*, const char*, const char*, int);
    void noteEventEnd();
    void deliverStart(std::string_view name, const char** attributes);
    void deliverEnd(std::string_view name);
    void deliverText(const char* text, std::size_t length);
    void halt();
    void throwWhyStopped() const;
    void parse(const char* data, std::size_t size, bool last);
    void stopWith(std::string cause);
    bool stopping() const;

    std::string m_file;
    std::string m_partName;
    Limits m_limits;
    ::XML_ParserStruct* m_parser = nullptr;
    int m_depth = 0;
    std::size_t m_elements = 0;
    std::uint64_t m_fed = 0;
    std::uint64_t m_lastEventEnd = 0;
    bool m_gathering = false;
    bool m_plain = false; // parsed by parsePlainElement, not expat
    std::string m_text;
    std::string m_stopCause;
    std::exception_ptr m_handlerFailure;
};

} // namespace sedilo::workbook
