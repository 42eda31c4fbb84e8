#include "support/TempDir.h"

#include <cstdlib>
#include <random>
#include <stdexcept>

namespace sedilo::test {

TempDir::TempDir()
{
    std::random_device device;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("sedilo-test-" + std::to_string(device()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

namespace {
// The environment may point elsewhere; by default the source tree's folders.
std::string fromEnvironment(const char* variable, const char* fallback, const std::string& name)
{
    const char* folder = std::getenv(variable);
    return (std::filesystem::path(folder && *folder ? folder : fallback) / name).string();
}
} // namespace

std::string fixturePath(const std::string& name)
{
    return fromEnvironment("SEDILO_FIXTURES", SEDILO_SOURCE_DIR "/tests/fixtures", name);
}

std::string dataPath(const std::string& name)
{
    return fromEnvironment("SEDILO_DATA", SEDILO_SOURCE_DIR "/data", name);
}

} // namespace sedilo::test
