#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "services/Prompt.h"

namespace sedilo::cipher {

using Bytes = std::vector<std::uint8_t>;

// Table-driven Rijndael with 128-bit blocks (AES, FIPS-197). Every 32-bit word
// packs one state column with its first byte lowest. Misuse raises CipherError;
// the conditions it only warns about go to the prompt and the status.
class cRijndael {
public:
    explicit cRijndael(Prompt& prompt);

    // KeyBits 128, 192 or 256; the first KeyBits/8 bytes of `pass` are the key.
    std::int32_t SetCipherKey(const Bytes& pass, std::int32_t KeyBits);

    // One 16-byte block; the two arrays may be the same at the same offset.
    void BlockEncrypt(const Bytes& plaintext, Bytes& ciphertext, std::int32_t p, std::int32_t q) const;
    void BlockDecrypt(Bytes& plaintext, const Bytes& ciphertext, std::int32_t p, std::int32_t q) const;

    // Electronic codebook over whole arrays. With appendsize 0 the plaintext is
    // zero-padded to whole blocks; otherwise a final block always follows whose
    // last byte holds the length of the partial block.
    std::int32_t ArrayEncrypt(const Bytes& plaintext, Bytes& ciphertext, std::int32_t appendsize) const;
    std::int32_t ArrayDecrypt(Bytes& plaintext, const Bytes& ciphertext, std::int32_t appendsize) const;

private:
    using Table = std::array<std::uint32_t, 256>;

    void buildTables();
    void deriveDecryptionKeys();
    void cipherBlock(const Bytes& in, std::int32_t from, Bytes& out, std::int32_t to, bool decrypt) const;

    Prompt& m_prompt;
    std::array<Table, 4> m_forwardTables{};
    Table m_forwardSbox{};
    std::array<Table, 4> m_inverseTables{};
    Table m_inverseSbox{};
    std::array<std::uint32_t, 10> m_roundConstants{};
    std::int32_t Nr = 0;
    std::array<std::uint32_t, 60> m_encryptionKeys{};
    std::array<std::uint32_t, 60> m_decryptionKeys{};
};

} // namespace sedilo::cipher
