#include "services/cipher/Rijndael.h"

#include "services/cipher/CipherError.h"

namespace sedilo::cipher {

namespace {

constexpr const char* kIllegalKeyBits = "cRijndael.SetCipherKey - Illegal KeyBits Value";
constexpr const char* kNotMultipleOfBlock = "ciphertext size not a multiple of block size";
constexpr const char* kIncorrectLengthField = "warning - incorrect length field";
constexpr const char* kOutOfRange = "Subscript out of range";
constexpr std::int32_t kBlockBytes = 16;

std::uint32_t rotl8(std::uint32_t word) { return (word << 8) | (word >> 24); }
std::uint32_t rotr8(std::uint32_t word) { return (word >> 8) | (word << 24); }
std::uint8_t byteOf(std::uint32_t word, int index) { return static_cast<std::uint8_t>(word >> (8 * index)); }

std::uint32_t pack(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    return std::uint32_t{b0} | (std::uint32_t{b1} << 8) | (std::uint32_t{b2} << 16) | (std::uint32_t{b3} << 24);
}

std::uint32_t load(const Bytes& bytes, std::size_t at)
{
    return pack(bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]);
}

void store(std::uint32_t word, Bytes& bytes, std::size_t at)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = byteOf(word, i);
}

std::uint8_t doubled(std::uint8_t x)
{
    return static_cast<std::uint8_t>((x << 1) ^ ((x & 0x80) ? 0x1B : 0x00));
}

std::uint8_t rotl8Bits(std::uint8_t x, int n)
{
    return static_cast<std::uint8_t>((x << n) | (x >> (8 - n)));
}

void requireBlock(const Bytes& bytes, std::int32_t offset)
{
    if (offset < 0 || static_cast<std::size_t>(offset) + kBlockBytes > bytes.size())
        throw CipherError(kSubscriptOutOfRange, kOutOfRange);
}

} // namespace

cRijndael::cRijndael(Prompt& prompt) : m_prompt(prompt)
{
    buildTables();
}

void cRijndael::buildTables()
{
    // Powers and logarithms of the generator 3 make field products and inverses lookups.
    std::array<std::uint8_t, 256> power{};
    std::array<std::uint8_t, 256> logarithm{};
    std::uint8_t x = 1;
    for (int i = 0; i < 255; ++i) {
        power[static_cast<std::size_t>(i)] = x;
        logarithm[x] = static_cast<std::uint8_t>(i);
        x = static_cast<std::uint8_t>(x ^ doubled(x));
    }
    auto multiply = [&](std::uint8_t a, std::uint8_t b) -> std::uint8_t {
        if (a == 0 || b == 0)
            return 0;
        return power[(logarithm[a] + logarithm[b]) % 255];
    };

    std::array<std::uint8_t, 256> sbox{};
    std::array<std::uint8_t, 256> inverseSbox{};
    for (int value = 0; value < 256; ++value) {
        const auto byte = static_cast<std::uint8_t>(value);
        const std::uint8_t inverse = byte == 0 ? 0 : power[(255 - logarithm[byte]) % 255];
        const auto s = static_cast<std::uint8_t>(inverse ^ rotl8Bits(inverse, 1) ^ rotl8Bits(inverse, 2)
                                                 ^ rotl8Bits(inverse, 3) ^ rotl8Bits(inverse, 4) ^ 0x63);
        sbox[byte] = s;
        inverseSbox[s] = byte;
    }

    std::uint8_t constant = 1;
    for (auto& roundConstant : m_roundConstants) {
        roundConstant = constant;
        constant = doubled(constant);
    }

    for (int value = 0; value < 256; ++value) {
        const auto index = static_cast<std::size_t>(value);
        const std::uint8_t s = sbox[index];
        const std::uint8_t t = inverseSbox[index];
        m_forwardSbox[index] = pack(s, s, s, s);
        m_inverseSbox[index] = pack(t, t, t, t);
        std::uint32_t forward = pack(multiply(2, s), s, s, multiply(3, s));
        std::uint32_t inverse = pack(multiply(0x0E, t), multiply(0x09, t), multiply(0x0D, t), multiply(0x0B, t));
        for (int table = 0; table < 4; ++table) {
            m_forwardTables[static_cast<std::size_t>(table)][index] = forward;
            m_inverseTables[static_cast<std::size_t>(table)][index] = inverse;
            forward = rotl8(forward);
            inverse = rotl8(inverse);
        }
    }
}

std::int32_t cRijndael::SetCipherKey(const Bytes& pass, std::int32_t KeyBits)
{
    int nk = 0;
    switch (KeyBits) {
    case 128: nk = 4; Nr = 10; break;
    case 192: nk = 6; Nr = 12; break;
    case 256: nk = 8; Nr = 14; break;
    default: throw CipherError(kCipherMisuse, kIllegalKeyBits);
    }
    if (pass.size() < static_cast<std::size_t>(4 * nk))
        throw CipherError(kSubscriptOutOfRange, kOutOfRange);

    auto subWord = [this](std::uint32_t word) {
        return pack(byteOf(m_forwardSbox[byteOf(word, 0)], 0), byteOf(m_forwardSbox[byteOf(word, 1)], 0),
                    byteOf(m_forwardSbox[byteOf(word, 2)], 0), byteOf(m_forwardSbox[byteOf(word, 3)], 0));
    };
    const int words = 4 * (Nr + 1);
    for (int i = 0; i < nk; ++i)
        m_encryptionKeys[static_cast<std::size_t>(i)] = load(pass, static_cast<std::size_t>(4 * i));
    for (int i = nk; i < words; ++i) {
        std::uint32_t word = m_encryptionKeys[static_cast<std::size_t>(i - 1)];
        if (i % nk == 0)
            word = subWord(rotr8(word)) ^ m_roundConstants[static_cast<std::size_t>(i / nk - 1)];
        else if (nk > 6 && i % nk == 4)
            word = subWord(word);
        m_encryptionKeys[static_cast<std::size_t>(i)] = m_encryptionKeys[static_cast<std::size_t>(i - nk)] ^ word;
    }
    deriveDecryptionKeys();
    return 0;
}

void cRijndael::deriveDecryptionKeys()
{
    for (int round = 0; round <= Nr; ++round) {
        for (int j = 0; j < 4; ++j) {
            std::uint32_t word = m_encryptionKeys[static_cast<std::size_t>(4 * (Nr - round) + j)];
            if (round > 0 && round < Nr) {
                // The inverse tables hold InvMixColumns of InvSubBytes, so feeding
                // them S(b) leaves InvMixColumns of the plain word.
                std::uint32_t mixed = 0;
                for (int b = 0; b < 4; ++b)
                    mixed ^= m_inverseTables[static_cast<std::size_t>(b)][byteOf(m_forwardSbox[byteOf(word, b)], 0)];
                word = mixed;
            }
            m_decryptionKeys[static_cast<std::size_t>(4 * round + j)] = word;
        }
    }
}

void cRijndael::cipherBlock(const Bytes& in, std::int32_t from, Bytes& out, std::int32_t to, bool decrypt) const
{
    const auto& keys = decrypt ? m_decryptionKeys : m_encryptionKeys;
    const auto& tables = decrypt ? m_inverseTables : m_forwardTables;
    const auto& sbox = decrypt ? m_inverseSbox : m_forwardSbox;
    // ShiftRows takes row r from column j + r; its inverse from column j - r.
    const int step = decrypt ? 3 : 1;

    std::array<std::uint32_t, 4> state{};
    for (int j = 0; j < 4; ++j)
        state[static_cast<std::size_t>(j)] = load(in, static_cast<std::size_t>(from + 4 * j)) ^ keys[static_cast<std::size_t>(j)];

    auto column = [&](const std::array<std::uint32_t, 4>& s, int j, int row) {
        return byteOf(s[static_cast<std::size_t>((j + step * row) % 4)], row);
    };
    for (int round = 1; round < Nr; ++round) {
        std::array<std::uint32_t, 4> next{};
        for (int j = 0; j < 4; ++j) {
            std::uint32_t word = keys[static_cast<std::size_t>(4 * round + j)];
            for (int row = 0; row < 4; ++row)
                word ^= tables[static_cast<std::size_t>(row)][column(state, j, row)];
            next[static_cast<std::size_t>(j)] = word;
        }
        state = next;
    }
    std::array<std::uint32_t, 4> last{};
    for (int j = 0; j < 4; ++j) {
        std::uint32_t word = keys[static_cast<std::size_t>(4 * Nr + j)];
        for (int row = 0; row < 4; ++row)
            word ^= sbox[column(state, j, row)] & (0xFFu << (8 * row));
        last[static_cast<std::size_t>(j)] = word;
    }
    for (int j = 0; j < 4; ++j)
        store(last[static_cast<std::size_t>(j)], out, static_cast<std::size_t>(to + 4 * j));
}

void cRijndael::BlockEncrypt(const Bytes& plaintext, Bytes& ciphertext, std::int32_t p, std::int32_t q) const
{
    requireBlock(plaintext, p);
    requireBlock(ciphertext, q);
    cipherBlock(plaintext, p, ciphertext, q, false);
}

void cRijndael::BlockDecrypt(Bytes& plaintext, const Bytes& ciphertext, std::int32_t p, std::int32_t q) const
{
    requireBlock(ciphertext, q);
    requireBlock(plaintext, p);
    cipherBlock(ciphertext, q, plaintext, p, true);
}

std::int32_t cRijndael::ArrayEncrypt(const Bytes& plaintext, Bytes& ciphertext, std::int32_t appendsize) const
{
    const std::size_t n = plaintext.size();
    const std::size_t remainder = n % kBlockBytes;
    const std::size_t size = appendsize == 0 ? (n + kBlockBytes - 1) / kBlockBytes * kBlockBytes
                                             : n / kBlockBytes * kBlockBytes + kBlockBytes;
    Bytes out(size, 0);
    if (appendsize != 0)
        out[size - 1] = static_cast<std::uint8_t>(remainder);
    std::size_t at = 0;
    for (; at + kBlockBytes <= n; at += kBlockBytes)
        cipherBlock(plaintext, static_cast<std::int32_t>(at), out, static_cast<std::int32_t>(at), false);
    for (std::size_t i = 0; i < remainder; ++i)
        out[at + i] = plaintext[at + i];
    if (size > at)
        cipherBlock(out, static_cast<std::int32_t>(at), out, static_cast<std::int32_t>(at), false);
    ciphertext = std::move(out);
    return 0;
}

std::int32_t cRijndael::ArrayDecrypt(Bytes& plaintext, const Bytes& ciphertext, std::int32_t appendsize) const
{
    const std::size_t n = ciphertext.size();
    if (n % kBlockBytes != 0) {
        m_prompt.showPlain(kNotMultipleOfBlock, false);
        return -1;
    }
    Bytes out(n, 0);
    for (std::size_t at = 0; at < n; at += kBlockBytes)
        cipherBlock(ciphertext, static_cast<std::int32_t>(at), out, static_cast<std::int32_t>(at), true);
    if (appendsize != 0) {
        // No final block means no length field to read either.
        const std::uint8_t length = n == 0 ? kBlockBytes : out[n - 1];
        if (length > 15) {
            m_prompt.showPlain(kIncorrectLengthField, false);
            plaintext = std::move(out);
            return 1;
        }
        out.resize(n - kBlockBytes + length);
    }
    plaintext = std::move(out);
    return 0;
}

} // namespace sedilo::cipher
