#include <gtest/gtest.h>

#include "services/cipher/CipherError.h"
#include "services/cipher/Rijndael.h"
#include "support/ScriptedPrompt.h"

using namespace sedilo;
using namespace sedilo::cipher;

namespace {

Bytes fromHex(const std::string& hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

Bytes counting(std::size_t count)
{
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    return bytes;
}

struct KnownAnswer {
    std::int32_t keyBits;
    const char* cipherText;
};

class RijndaelKnownAnswer : public ::testing::TestWithParam<KnownAnswer> {};

} // namespace

// FIPS-197 Appendix C: key 00 01 02 … and plaintext 00 11 22 … ff.
TEST_P(RijndaelKnownAnswer, EncryptsAndDecryptsTheAppendixCVectors)
{
    test::ScriptedPrompt prompt;
    cRijndael cipher(prompt);
    const KnownAnswer vector = GetParam();
    ASSERT_EQ(cipher.SetCipherKey(counting(static_cast<std::size_t>(vector.keyBits / 8)), vector.keyBits), 0);

    const Bytes plain = fromHex("00112233445566778899aabbccddeeff");
    Bytes out(16);
    cipher.BlockEncrypt(plain, out, 0, 0);
    EXPECT_EQ(out, fromHex(vector.cipherText));

    Bytes back(16);
    cipher.BlockDecrypt(back, out, 0, 0);
    EXPECT_EQ(back, plain);

    // In place, at an offset inside a larger array.
    Bytes buffer(40, 0xEE);
    std::copy(plain.begin(), plain.end(), buffer.begin() + 7);
    cipher.BlockEncrypt(buffer, buffer, 7, 7);
    EXPECT_EQ(Bytes(buffer.begin() + 7, buffer.begin() + 23), fromHex(vector.cipherText));
    cipher.BlockDecrypt(buffer, buffer, 7, 7);
    EXPECT_EQ(Bytes(buffer.begin() + 7, buffer.begin() + 23), plain);
    EXPECT_EQ(buffer[6], 0xEE);
    EXPECT_EQ(buffer[23], 0xEE);
}

INSTANTIATE_TEST_SUITE_P(Fips197, RijndaelKnownAnswer,
                         ::testing::Values(KnownAnswer{128, "69c4e0d86a7b0430d8cdb78070b4c55a"},
                                           KnownAnswer{192, "dda97ca4864cdfe06eaf70a0ec0d7191"},
                                           KnownAnswer{256, "8ea2b7ca516745bfeafc49904b496089"}));

TEST(Rijndael, MisuseRaisesErrorNumberOneWithItsDescription)
{
    test::ScriptedPrompt prompt;
    cRijndael cipher(prompt);
    try {
        cipher.SetCipherKey(counting(32), 64);
        FAIL() << "no error raised";
    } catch (const CipherError& error) {
        EXPECT_EQ(error.number(), 1);
        EXPECT_EQ(error.description(), "cRijndael.SetCipherKey - Illegal KeyBits Value");
    }
    EXPECT_THROW(cipher.SetCipherKey(counting(15), 128), CipherError);
    cipher.SetCipherKey(counting(16), 128);
    Bytes shortArray(15);
    EXPECT_THROW(cipher.BlockEncrypt(shortArray, shortArray, 0, 0), CipherError);
}

TEST(Rijndael, ArrayEncryptPadsWithZerosWhenNothingIsAppended)
{
    test::ScriptedPrompt prompt;
    cRijndael cipher(prompt);
    cipher.SetCipherKey(counting(16), 128);
    for (std::size_t length : {0u, 1u, 15u, 16u, 17u, 32u, 33u}) {
        const Bytes plain = counting(length);
        Bytes encrypted;
        ASSERT_EQ(cipher.ArrayEncrypt(plain, encrypted, 0), 0);
        EXPECT_EQ(encrypted.size(), (length + 15) / 16 * 16) << length;

        Bytes decrypted;
        ASSERT_EQ(cipher.ArrayDecrypt(decrypted, encrypted, 0), 0);
        Bytes padded = plain;
        padded.resize(encrypted.size(), 0);
        EXPECT_EQ(decrypted, padded) << length;
    }
    EXPECT_TRUE(prompt.shown().empty());
}

TEST(Rijndael, ArrayFramingWithALengthFieldRestoresTheExactLength)
{
    test::ScriptedPrompt prompt;
    cRijndael cipher(prompt);
    cipher.SetCipherKey(counting(32), 256);
    for (std::size_t length : {0u, 5u, 15u, 16u, 31u}) {
        const Bytes plain = counting(length);
        Bytes encrypted;
        cipher.ArrayEncrypt(plain, encrypted, 1);
        EXPECT_EQ(encrypted.size(), length / 16 * 16 + 16) << length;
        Bytes decrypted;
        ASSERT_EQ(cipher.ArrayDecrypt(decrypted, encrypted, 1), 0);
        EXPECT_EQ(decrypted, plain) << length;
    }
    EXPECT_TRUE(prompt.shown().empty());
}

TEST(Rijndael, ArrayDecryptWarnsAboutBadSizesAndLengthFields)
{
    test::ScriptedPrompt prompt;
    cRijndael cipher(prompt);
    cipher.SetCipherKey(counting(16), 128);

    Bytes untouched{1, 2, 3};
    EXPECT_EQ(cipher.ArrayDecrypt(untouched, counting(20), 0), -1);
    EXPECT_EQ(untouched, (Bytes{1, 2, 3}));
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].text, "ciphertext size not a multiple of block size");
    EXPECT_TRUE(prompt.shown()[0].plain);
    EXPECT_FALSE(prompt.shown()[0].informationIcon);

    // A block whose last byte decrypts above 15 carries no valid length field.
    Bytes bad(16, 0);
    bad[15] = 0xF0;
    Bytes encrypted;
    cipher.ArrayEncrypt(bad, encrypted, 0);
    Bytes decrypted;
    EXPECT_EQ(cipher.ArrayDecrypt(decrypted, encrypted, 1), 1);
    EXPECT_EQ(decrypted, bad);
    ASSERT_EQ(prompt.shown().size(), 2u);
    EXPECT_EQ(prompt.shown()[1].text, "warning - incorrect length field");
}
