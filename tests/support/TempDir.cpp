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
std::string fromEnvironment(const char* variable, const std::string& name)
{
    const char* folder = std::getenv(variable);
    if (!folder)
        throw std::runtime_error(std::string(variable) + " is not set (run the tests through ctest)");
    return (std::filesystem::path(folder) / name).string();
}
} // namespace

std::string fixturePath(const std::string& name) { return fromEnvironment("SEDILO_FIXTURES", name); }
std::string dataPath(const std::string& name) { return fromEnvironment("SEDILO_DATA", name); }

} // namespace sedilo::test
