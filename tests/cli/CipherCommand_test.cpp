#include <gtest/gtest.h>

#include "CliRunner.h"
#include "support/TempDir.h"

using sedilo::test::CliRun;
using sedilo::test::runCli;
using sedilo::test::TempDir;

TEST(CipherCommand, EncryptPrintsTheStoredTextAndDecryptTheName)
{
    TempDir dir;
    const CliRun encrypted = runCli(dir.path().string(), {"cipher", "encrypt", " 张三 "});
    ASSERT_EQ(encrypted.exitCode, 0) << encrypted.err;
    // AES-128 of D5 C5 C8 FD and twelve zero bytes under the built-in pass phrase.
    EXPECT_EQ(encrypted.out, "FC6AEE452AF14C7D28EFE8F5D36ED8CC\n");

    const CliRun decrypted = runCli(dir.path().string(), {"cipher", "decrypt", "fc6aee452af14c7d28efe8f5d36ed8cc"});
    ASSERT_EQ(decrypted.exitCode, 0) << decrypted.err;
    EXPECT_EQ(decrypted.out, "张三\n");

    const std::string longName = "欧阳" + std::string(20, 'x');
    const CliRun twoBlocks = runCli(dir.path().string(), {"cipher", "encrypt", longName});
    ASSERT_EQ(twoBlocks.exitCode, 0);
    EXPECT_EQ(twoBlocks.out.size(), 67u);
    const CliRun back = runCli(dir.path().string(), {"cipher", "decrypt", twoBlocks.out.substr(0, 66)});
    EXPECT_EQ(back.out, longName + "\n");
}

TEST(CipherCommand, UsageErrorsExitTwoAndCipherWarningsOne)
{
    TempDir dir;
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"cipher"}, {"cipher", "encrypt"}, {"cipher", "rot13", "x"}, {"cipher", "encrypt", "   "}}) {
        const CliRun run = runCli(dir.path().string(), args);
        EXPECT_EQ(run.exitCode, 2) << args.size();
        EXPECT_NE(run.err.find("cipher"), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    const CliRun notHex = runCli(dir.path().string(), {"cipher", "decrypt", "xyz"});
    EXPECT_EQ(notHex.exitCode, 1);
    EXPECT_EQ(notHex.err, "Text not Hex data\n");
    const CliRun shortText = runCli(dir.path().string(), {"cipher", "decrypt", "ABCD"});
    EXPECT_EQ(shortText.exitCode, 1);
    EXPECT_EQ(shortText.err, "ciphertext size not a multiple of block size\n");
}
