#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "services/Prompt.h"

namespace sedilo {
class GbkConverter;
}

namespace sedilo::cipher {

class cRijndael;

// The pass phrase start-up gives the name cipher; it never changes afterwards.
inline constexpr const char* kCipherPassPhrase = "qzrmt51730@862";

// The name cipher: the text and byte operations over one shared Rijndael
// object. Its warnings go to the prompt with the application's default title.
class NameCipher {
public:
    explicit NameCipher(Prompt& prompt);
    ~NameCipher();
    NameCipher(const NameCipher&) = delete;
    NameCipher& operator=(const NameCipher&) = delete;

    void setPassPhrase(std::string passPhrase) { CipherPassPhrase = std::move(passPhrase); }
    const std::string& passPhrase() const { return CipherPassPhrase; }
    // Where its warnings go: a twin on another thread records them for it.
    Prompt& prompt() const { return m_prompt; }

    // A trimmed, non-empty name (UTF-8) to its stored text: upper-case hex in
    // groups of 32 digits separated by two spaces.
    std::string EncryptName(const std::string& name);
    // A stored text to the name (UTF-8), followed by one U+0000 per padding byte.
    std::string DecryptName(const std::string& stored);

    std::vector<std::uint8_t> CipherKey() const;
    static long HexToBytes(const std::string& text, std::vector<std::uint8_t>& out);
    static std::string BytesToHex(const std::vector<std::uint8_t>& bytes, long count, long group);
    // Sets destination unless the source has 65,536 characters or more.
    void AssignText(std::string& destination, const std::string& source);

private:
    cRijndael& sharedCipher();
    cRijndael& keyedCipher();
    GbkConverter& converter();

    std::string CipherPassPhrase;
    Prompt& m_prompt;
    std::unique_ptr<cRijndael> m_cipher; // made by the first text operation
    std::optional<std::string> m_keyedFor; // the pass phrase m_cipher holds the key of
    std::unique_ptr<GbkConverter> m_converter;
};

} // namespace sedilo::cipher
