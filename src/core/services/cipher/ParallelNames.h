#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "services/Prompt.h"
#include "services/text/TextArena.h"
#include "services/threads/WorkerPool.h"

namespace sedilo::cipher {

class NameCipher;

// Runs one operation of the name cipher over many texts on every core. The
// cipher is pure, but its buffers and converter are not to be shared, so each
// thread has a cipher of its own with the same pass phrase. What those ciphers
// would show is recorded with the text it concerns, and reaches the prompt from
// the caller's thread, in order, as running the operation text by text would.
class ParallelNames {
public:
    using Operation = std::function<std::string(NameCipher& cipher, std::size_t index)>;

    struct Shown {
        std::size_t index;
        std::string text;
        bool informationIcon;
    };

    // The outcome of one run, taken text by text in order.
    class Batch {
    public:
        // Shows the warnings up to text `index`, then gives its result, valid
        // while the batch lives, or throws its failure, which ends the batch.
        // Indexes must rise from one call to the next.
        std::string_view take(std::size_t index);
        std::size_t size() const { return m_size; }

    private:
        friend class ParallelNames;
        Prompt* m_prompt = nullptr;
        std::size_t m_size = 0;
        // Text i is the (i / stride)th result of worker i % stride: each worker
        // keeps its results in memory of its own thread, not one string apiece.
        std::vector<TextArena> m_results;
        std::vector<Shown> m_shown; // by index
        std::size_t m_nextShown = 0;
        std::exception_ptr m_failure;
        std::size_t m_failedIndex = 0;
    };

    explicit ParallelNames(const NameCipher& names);
    ~ParallelNames();
    ParallelNames(const ParallelNames&) = delete;
    ParallelNames& operator=(const ParallelNames&) = delete;

    // `operation` for the texts 0 to count - 1. It touches no prompt, so it may
    // run on any thread, though one run at a time.
    Batch run(std::size_t count, const Operation& operation);

private:
    struct Worker;

    Prompt& m_prompt;
    std::vector<std::unique_ptr<Worker>> m_workers;
    WorkerPool m_helpers; // for every worker but the first, which is the caller's thread
};

} // namespace sedilo::cipher
