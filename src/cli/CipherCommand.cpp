#include <iostream>

#include "CliPrompt.h"
#include "CommandRegistry.h"
#include "services/cipher/NameCipher.h"
#include "services/text/Trim.h"

namespace sedilo::cli {

namespace {

// Notes whether the cipher warned, so that a refused text is not a success.
class WarningPrompt : public CliPrompt {
public:
    using CliPrompt::CliPrompt;
    void showPlain(const std::string& text, bool informationIcon) override
    {
        m_warned = true;
        CliPrompt::showPlain(text, informationIcon);
    }
    bool warned() const { return m_warned; }

private:
    bool m_warned = false;
};

int runCipher(const std::vector<std::string>& args)
{
    if (args.size() != 2 || (args[0] != "encrypt" && args[0] != "decrypt"))
        return usageError("cipher: expected 'encrypt TEXT' or 'decrypt STORED'");

    WarningPrompt prompt(std::cout, std::cerr);
    cipher::NameCipher names(prompt);
    names.setPassPhrase(cipher::kCipherPassPhrase);
    std::string result;
    if (args[0] == "encrypt") {
        // The import stores names trimmed, and never an empty one.
        const std::string name = trimSpaces(args[1]);
        if (name.empty())
            return usageError("cipher encrypt: the name is empty");
        result = names.EncryptName(name);
    } else {
        result = names.DecryptName(args[1]);
        result.erase(result.find_last_not_of('\0') + 1);
    }
    if (prompt.warned())
        return kExitFailure;
    std::cout << result << "\n";
    return kExitOk;
}

const CommandRegistrar registrar("cipher", {"cipher encrypt TEXT | cipher decrypt STORED", runCipher});

} // namespace

} // namespace sedilo::cli
