#include "services/cipher/ParallelNames.h"

#include <algorithm>
#include <iterator>
#include <thread>

#include "services/cipher/NameCipher.h"

namespace sedilo::cipher {

namespace {

// A worker cipher's boxes, kept with the text they concern.
class RecordingPrompt final : public Prompt {
public:
    PromptAnswer show(PromptStyle style, const std::string& text, const std::string&) override
    {
        shown.push_back({index, text, style == PromptStyle::Information});
        return PromptAnswer::Ok;
    }
    void showPlain(const std::string& text, bool informationIcon) override
    {
        shown.push_back({index, text, informationIcon});
    }

    std::size_t index = 0;
    std::vector<ParallelNames::Shown> shown;
};

unsigned cores()
{
    return std::max(1u, std::thread::hardware_concurrency());
}

} // namespace

struct ParallelNames::Worker {
    explicit Worker(const NameCipher& source) : cipher(prompt) { cipher.setPassPhrase(source.passPhrase()); }

    RecordingPrompt prompt;
    NameCipher cipher;
    std::exception_ptr failure;
    std::size_t failedIndex = 0;
};

ParallelNames::ParallelNames(const NameCipher& names) : m_prompt(names.prompt()), m_helpers(cores() - 1)
{
    for (unsigned i = 0; i < cores(); ++i)
        m_workers.push_back(std::make_unique<Worker>(names));
}

ParallelNames::~ParallelNames() = default;

ParallelNames::Batch ParallelNames::run(std::size_t count, const Operation& operation)
{
    Batch batch;
    batch.m_prompt = &m_prompt;
    batch.m_size = count;
    const std::size_t stride = m_workers.size();
    batch.m_results.resize(stride);
    const auto work = [&](std::size_t first) {
        Worker& worker = *m_workers[first];
        worker.failure = nullptr;
        TextArena& results = batch.m_results[first];
        for (std::size_t index = first; index < count; index += stride) {
            worker.prompt.index = index;
            try {
                results.append(operation(worker.cipher, index));
            } catch (...) {
                worker.failure = std::current_exception();
                worker.failedIndex = index;
                return;
            }
        }
    };
    // The helpers use this frame: it is left only once they are done, even
    // when handing one its work fails.
    struct Helping {
        std::vector<std::future<void>> futures;
        ~Helping()
        {
            for (std::future<void>& future : futures)
                future.wait();
        }
    } helping;
    helping.futures.reserve(stride);
    for (std::size_t first = 1; first < std::min(stride, count); ++first)
        helping.futures.push_back(m_helpers.submit([&work, first] { work(first); }));
    work(0);
    for (std::future<void>& helper : helping.futures)
        helper.wait();
    for (const auto& worker : m_workers) {
        auto& shown = worker->prompt.shown;
        std::move(shown.begin(), shown.end(), std::back_inserter(batch.m_shown));
        shown.clear();
        if (worker->failure && (!batch.m_failure || worker->failedIndex < batch.m_failedIndex)) {
            batch.m_failure = worker->failure;
            batch.m_failedIndex = worker->failedIndex;
        }
    }
    std::stable_sort(batch.m_shown.begin(), batch.m_shown.end(),
                     [](const Shown& a, const Shown& b) { return a.index < b.index; });
    return batch;
}

std::string_view ParallelNames::Batch::take(std::size_t index)
{
    for (; m_nextShown < m_shown.size() && m_shown[m_nextShown].index <= index; ++m_nextShown)
        m_prompt->showPlain(m_shown[m_nextShown].text, m_shown[m_nextShown].informationIcon);
    if (m_failure && index >= m_failedIndex)
        std::rethrow_exception(m_failure);
    const std::size_t stride = m_results.size();
    return m_results[index % stride].at(index / stride);
}

} // namespace sedilo::cipher
