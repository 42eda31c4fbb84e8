#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <optional>
#include <string>

#include "services/threads/WorkerPool.h"
#include "services/workbook/XmlStream.h"

namespace sedilo::workbook {

// Where a part may be cut: only after a closing tag, and only while no
// comment, CDATA section or processing instruction has shown up, since in
// those the tag could stand as mere text. The declaration opening the part
// is allowed.
class BlockCuts {
public:
    explicit BlockCuts(std::string closingTag) : m_closingTag(std::move(closingTag)) {}

    // Notes the next bytes of the part; false once cutting is unsafe.
    bool stillSafe(const char* data, std::size_t size);
    // The end of the last closing tag in `text`, or 0.
    std::size_t lastCut(const std::string& text) const;

private:
    std::string m_closingTag;
    std::uint64_t m_seen = 0;
    char m_lastByte = 0;
    bool m_safe = true;
};

// Parses `block`, cut out of a part, inside a wrapper element that stands
// for the element its elements sit in: with expat, or with the plain
// scanner when `plain`. Gives the count of the block's own elements, the
// wrapper left out, or nothing when the plain scanner gave up.
std::optional<std::size_t> parseWrappedBlock(XmlStream& parser, const std::string& block, bool plain);

// A block's records, parsed by a `Parser` made from `args` and the records:
// with the plain scanner first, and with expat where the block is not plain
// markup. Throws `NotWhole` unless `(parser.*whole)()` holds at the block's
// end, where the blocks repeat, for the next one to follow on.
template <class Records, class NotWhole, class Parser, class... Args>
Records parseBlockRecords(const std::string& bytes, bool (Parser::*whole)() const, const Args&... args)
{
    for (const bool plain : {true, false}) {
        Records records;
        Parser parser(args..., records);
        const std::optional<std::size_t> elements = parseWrappedBlock(parser, bytes, plain);
        if (!elements)
            continue;
        if (!(parser.*whole)())
            throw NotWhole{};
        records.elements = *elements;
        return records;
    }
    throw NotWhole{}; // not reached: expat gives a count or throws
}

// Feeds a large part into `main` with most of its parsing spread over other
// threads. The part is cut into blocks after a closing tag; each block is
// parsed into `Records` elsewhere and replayed into `main` in order. A block
// is replayed only when it parsed whole and `main` stands just after such a
// tag, where the blocks repeat (`atBoundary`); otherwise its bytes are fed
// to `main` as they are. So the outcome, an error included, is that of
// feeding every byte to `main`.
template <class Records>
class XmlBlocks {
public:
    struct Handlers {
        std::function<Records(const std::string& block)> parse; // throws when the block is not whole
        std::function<bool()> atBoundary;
        std::function<void(const Records&)> replay;
    };

    static constexpr std::size_t kBlockSize = 256 * 1024;

    XmlBlocks(XmlStream& main, std::string closingTag, Handlers handlers, unsigned threads)
        : m_main(main), m_cuts(std::move(closingTag)), m_handlers(std::move(handlers)),
          m_inFlight(std::max(1u, threads) + 1), m_split(threads > 1), m_pool(threads)
    {
    }
    ~XmlBlocks()
    {
        for (Block& block : m_blocks)
            if (block.records.valid())
                block.records.wait();
    }
    XmlBlocks(const XmlBlocks&) = delete;
    XmlBlocks& operator=(const XmlBlocks&) = delete;

    void feed(const char* data, std::size_t size)
    {
        m_split = m_split && m_cuts.stillSafe(data, size);
        m_carry.append(data, size);
        if (!m_split || m_carry.size() >= 4 * kBlockSize) {
            feedCarry();
        } else if (m_carry.size() >= kBlockSize) {
            if (const std::size_t end = m_cuts.lastCut(m_carry))
                cut(end);
        }
    }

    void finish()
    {
        feedCarry();
        m_main.finish();
    }

private:
    struct Block {
        std::string bytes;
        std::future<Records> records;
    };

    void cut(std::size_t end)
    {
        while (m_blocks.size() >= m_inFlight)
            takeOldest();
        // The bytes stay put while a thread reads them: a deque never moves
        // its elements when others are added or taken at its ends.
        std::string rest;
        rest.reserve(2 * kBlockSize);
        rest.append(m_carry, end);
        Block& block = m_blocks.emplace_back(Block{std::move(m_carry), {}});
        block.bytes.resize(end);
        m_carry = std::move(rest);
        block.records = m_pool.submit([this, &bytes = block.bytes] { return m_handlers.parse(bytes); });
    }

    void takeOldest()
    {
        Block& block = m_blocks.front();
        std::optional<Records> records;
        try {
            records.emplace(block.records.get());
        } catch (...) {
            // Fed as it is below: `main` then tells what is wrong, if anything.
        }
        if (records && m_handlers.atBoundary() && m_main.lastEventEndsInput())
            m_handlers.replay(*records);
        else
            feedMain(block.bytes);
        m_blocks.pop_front();
    }

    void feedCarry()
    {
        while (!m_blocks.empty())
            takeOldest();
        feedMain(m_carry);
        m_carry.clear();
    }

    void feedMain(const std::string& bytes)
    {
        if (!bytes.empty())
            m_main.feed(bytes.data(), bytes.size());
    }

    XmlStream& m_main;
    BlockCuts m_cuts;
    Handlers m_handlers;
    std::size_t m_inFlight;
    bool m_split;
    WorkerPool m_pool; // outlives the blocks its threads read
    std::string m_carry;
    std::deque<Block> m_blocks;
};

} // namespace sedilo::workbook
