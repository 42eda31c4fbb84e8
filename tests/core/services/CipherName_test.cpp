#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "services/cipher/NameCipher.h"
#include "services/cipher/ParallelNames.h"
#include "services/text/Gbk.h"
#include "support/ScriptedPrompt.h"

using namespace sedilo;
using namespace sedilo::cipher;

namespace {

constexpr const char* kTooLong =
    "Can not assign a String larger than 64k \r\nto the Text property of a TextBox control.\r\n"
    "If you need to support Strings longer than 64k,\r\nyou can use a RichTextBox control instead.";

class NameCipherTest : public ::testing::Test {
protected:
    NameCipherTest() { names.setPassPhrase(kCipherPassPhrase); }

    test::ScriptedPrompt prompt;
    NameCipher names{prompt};
};

// A name of `bytes` code page 936 bytes: Chinese characters, one ASCII letter when odd.
std::string nameOfBytes(std::size_t bytes)
{
    std::string name;
    for (std::size_t i = 0; i < bytes / 2; ++i)
        name += "张";
    if (bytes % 2)
        name += "x";
    return name;
}

} // namespace

TEST_F(NameCipherTest, KeyIsThePassPhraseBytesZeroExtended)
{
    std::vector<std::uint8_t> expected{'q', 'z', 'r', 'm', 't', '5', '1', '7', '3', '0', '@', '8', '6', '2'};
    expected.resize(32, 0);
    EXPECT_EQ(names.CipherKey(), expected);

    names.setPassPhrase("00112233445566778899AaBbCcDdEeFf");
    EXPECT_EQ(names.CipherKey(), (std::vector<std::uint8_t>{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88,
                                                            0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}));
}

TEST_F(NameCipherTest, StoredTextMatchesAes128EcbOfTheGbkBytes)
{
    // Computed independently: openssl enc -aes-128-ecb -nopad over D5C5C8FD and twelve zero bytes.
    EXPECT_EQ(names.EncryptName("张三"), "FC6AEE452AF14C7D28EFE8F5D36ED8CC");
}

TEST_F(NameCipherTest, StoredTextLengthFollowsTheBlockCount)
{
    const struct {
        std::size_t bytes;
        std::size_t length;
    } cases[] = {{1, 32}, {6, 32}, {16, 32}, {17, 66}, {32, 66}, {33, 100}, {48, 100}};
    for (const auto& c : cases) {
        const std::string name = nameOfBytes(c.bytes);
        ASSERT_EQ(utf8ToGbk(name).size(), c.bytes);
        const std::string stored = names.EncryptName(name);
        EXPECT_EQ(stored.size(), c.length) << c.bytes;
        for (std::size_t group = 32; group < stored.size(); group += 34)
            EXPECT_EQ(stored.substr(group, 2), "  ") << c.bytes;
        EXPECT_EQ(stored.find_first_not_of("0123456789ABCDEF "), std::string::npos) << stored;
    }
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(NameCipherTest, RoundTripGivesTheNameAndOneZeroPerPaddingByte)
{
    for (std::size_t bytes : {1u, 16u, 17u, 33u}) {
        const std::string name = nameOfBytes(bytes);
        const std::size_t padding = (16 - bytes % 16) % 16;
        EXPECT_EQ(names.DecryptName(names.EncryptName(name)), name + std::string(padding, '\0')) << bytes;
    }
    EXPECT_EQ(names.DecryptName(names.EncryptName("张三丰")), std::string("张三丰") + std::string(10, '\0'));
    // A character outside code page 936 keeps its identity.
    EXPECT_EQ(names.DecryptName(names.EncryptName("刘䶮")).substr(0, 6), "刘䶮");
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(NameCipherTest, SameNameSameTextAndSharedLeadingBlocksShareTheirGroup)
{
    const std::string first = names.EncryptName(nameOfBytes(16) + "甲");
    const std::string second = names.EncryptName(nameOfBytes(16) + "乙");
    EXPECT_EQ(first, names.EncryptName(nameOfBytes(16) + "甲"));
    EXPECT_EQ(first.substr(0, 34), second.substr(0, 34));
    EXPECT_NE(first, second);
}

TEST_F(NameCipherTest, HexToBytesSkipsNonDigitsAndReadsLowBitsOfEveryCharacter)
{
    std::vector<std::uint8_t> out;
    EXPECT_EQ(NameCipher::HexToBytes("0aFf", out), 2);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0x0A, 0xFF}));
    EXPECT_EQ(NameCipher::HexToBytes("1  2\r\n3-4", out), 2);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0x12, 0x34}));
    EXPECT_EQ(NameCipher::HexToBytes("ABC", out), 1);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0xAB}));
    EXPECT_EQ(NameCipher::HexToBytes("乁1", out), 1); // U+4E41: low byte 0x41 is "A"
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0xA1}));
    EXPECT_EQ(NameCipher::HexToBytes("张", out), 0); // U+5F20: low byte 0x20 is a space
    EXPECT_TRUE(out.empty());

    // A stored text survives lower case and broken lines.
    const std::string stored = names.EncryptName("李四");
    std::string mangled;
    for (std::size_t i = 0; i < stored.size(); ++i)
        mangled += std::string(i % 7 == 0 ? "\r\n" : "") + static_cast<char>(std::tolower(stored[i]));
    EXPECT_EQ(names.DecryptName(mangled + "F"), names.DecryptName(stored));
}

TEST_F(NameCipherTest, BytesToHexWritesUpperCaseInTwoSpaceGroups)
{
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 40; ++i)
        bytes.push_back(static_cast<std::uint8_t>(0xA0 + i));
    const std::string text = NameCipher::BytesToHex(bytes, 40, 16);
    EXPECT_EQ(text.size(), 2u * 40 + 2u * ((40 - 1) / 16));
    EXPECT_EQ(text.substr(0, 4), "A0A1");
    EXPECT_EQ(text.substr(30, 6), "AF  B0");
    EXPECT_EQ(NameCipher::BytesToHex(bytes, 3, 2), "A0A1  A2");
    EXPECT_EQ(NameCipher::BytesToHex(bytes, 0, 16), "");
    EXPECT_EQ(text.find_first_of("abcdef"), std::string::npos);
}

TEST_F(NameCipherTest, UndecodableStoredTextsGiveTheEmptyName)
{
    EXPECT_EQ(names.DecryptName(""), "");
    EXPECT_TRUE(prompt.shown().empty());

    EXPECT_EQ(names.DecryptName("xyz 张"), "");
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].text, "Text not Hex data");
    EXPECT_TRUE(prompt.shown()[0].plain);
    EXPECT_FALSE(prompt.shown()[0].informationIcon);

    prompt.clear();
    EXPECT_EQ(names.DecryptName(names.EncryptName("王五").substr(0, 30)), "");
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].text, "ciphertext size not a multiple of block size");
    EXPECT_FALSE(prompt.shown()[0].informationIcon);
}

TEST_F(NameCipherTest, NamesOver64kCharactersOfStoredTextAreRefused)
{
    const std::string longest = nameOfBytes(30832);
    EXPECT_EQ(names.EncryptName(longest).size(), 65516u);
    EXPECT_TRUE(prompt.shown().empty());

    EXPECT_EQ(names.EncryptName(nameOfBytes(30833)), "");
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].text, kTooLong);
    EXPECT_TRUE(prompt.shown()[0].plain);
    EXPECT_TRUE(prompt.shown()[0].informationIcon);

    // Characters, not bytes: 30,000 Chinese characters are 90,000 UTF-8 bytes.
    std::string destination = "kept";
    names.AssignText(destination, nameOfBytes(60000));
    EXPECT_EQ(destination, nameOfBytes(60000));
    names.AssignText(destination, std::string(65536, 'A'));
    EXPECT_EQ(destination, nameOfBytes(60000));
    EXPECT_EQ(prompt.shown().size(), 2u);
}

// Warnings and the first failure reach the caller's prompt in text order,
// whichever thread met them, and nothing after that failure does.
TEST_F(NameCipherTest, ParallelRunsShowWarningsAndFailInTextOrder)
{
    std::vector<std::string> stored(1000);
    for (std::size_t i = 0; i < stored.size(); ++i)
        stored[i] = names.EncryptName("考生" + std::to_string(i));
    for (const std::size_t i : {101u, 600u, 901u})
        stored[i] = "not hex"; // warns and gives no name
    ParallelNames parallel(names);
    ParallelNames::Batch batch = parallel.run(stored.size(), [&](NameCipher& cipher, std::size_t i) {
        if (i == 700 || i == 950)
            throw std::runtime_error("failed at " + std::to_string(i));
        return cipher.DecryptName(stored[i]);
    });

    for (std::size_t i = 0; i < 700; ++i) {
        const std::string name(batch.take(i));
        if (i == 101 || i == 600)
            EXPECT_EQ(name, "");
        else
            EXPECT_EQ(name.substr(0, name.find('\0')), "考生" + std::to_string(i));
        EXPECT_EQ(prompt.shown().size(), i < 101 ? 0u : i < 600 ? 1u : 2u) << i;
    }
    try {
        batch.take(700);
        FAIL() << "no failure at 700";
    } catch (const std::runtime_error& failure) {
        EXPECT_STREQ(failure.what(), "failed at 700");
    }
    ASSERT_EQ(prompt.shown().size(), 2u);
    EXPECT_TRUE(prompt.shown()[1].plain);
}
