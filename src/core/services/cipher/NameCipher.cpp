#include "services/cipher/NameCipher.h"

#include "services/cipher/CipherError.h"
#include "services/cipher/Rijndael.h"
#include "services/text/Gbk.h"

namespace sedilo::cipher {

namespace {

constexpr const char* kTextNotHex = "Text not Hex data";
constexpr const char* kTextTooLong =
    "Can not assign a String larger than 64k \r\n"
    "to the Text property of a TextBox control.\r\n"
    "If you need to support Strings longer than 64k,\r\n"
    "you can use a RichTextBox control instead.";
constexpr std::size_t kTextLimit = 65536;
constexpr std::size_t kKeyBufferBytes = 32;
constexpr std::int32_t kKeyBits = 128;
constexpr long kGroupBytes = 16;

// Walks UTF-8 code points; a byte that starts no valid sequence stands for itself.
template <typename Visit>
void forEachCodePoint(const std::string& text, Visit visit)
{
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        bool valid = length > 0 && at + length <= text.size();
        for (std::size_t i = 1; valid && i < length; ++i)
            valid = (static_cast<unsigned char>(text[at + i]) & 0xC0) == 0x80;
        if (!valid) {
            visit(static_cast<char32_t>(lead));
            ++at;
            continue;
        }
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i)
            code = (code << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
        visit(code);
        at += length;
    }
}

int hexDigitValue(unsigned char low)
{
    if (low >= '0' && low <= '9')
        return low - '0';
    if (low >= 'A' && low <= 'F')
        return low - 'A' + 10;
    if (low >= 'a' && low <= 'f')
        return low - 'a' + 10;
    return -1;
}

} // namespace

NameCipher::NameCipher(Prompt& prompt) : m_prompt(prompt) {}

NameCipher::~NameCipher() = default;

cRijndael& NameCipher::sharedCipher()
{
    if (!m_cipher)
        m_cipher = std::make_unique<cRijndael>(m_prompt);
    return *m_cipher;
}

// The cipher works block by block with no state between texts, so its key
// schedule is made once per pass phrase rather than once per name.
cRijndael& NameCipher::keyedCipher()
{
    cRijndael& cipher = sharedCipher();
    if (!m_keyedFor || *m_keyedFor != CipherPassPhrase) {
        cipher.SetCipherKey(CipherKey(), kKeyBits);
        m_keyedFor = CipherPassPhrase;
    }
    return cipher;
}

GbkConverter& NameCipher::converter()
{
    if (!m_converter)
        m_converter = std::make_unique<GbkConverter>();
    return *m_converter;
}

std::vector<std::uint8_t> NameCipher::CipherKey() const
{
    std::vector<std::uint8_t> key;
    if (HexToBytes(CipherPassPhrase, key) == 16)
        return key;
    const std::string ansi = utf8ToGbk(CipherPassPhrase);
    key.assign(ansi.begin(), ansi.end());
    key.resize(kKeyBufferBytes, 0);
    return key;
}

std::string NameCipher::EncryptName(const std::string& name)
{
    const std::string ansi = converter().toGbk(name);
    const Bytes plain(ansi.begin(), ansi.end());
    cRijndael& cipher = keyedCipher();
    Bytes encrypted;
    cipher.ArrayEncrypt(plain, encrypted, 0);
    std::string result;
    AssignText(result, BytesToHex(encrypted, static_cast<long>(encrypted.size()), kGroupBytes));
    return result;
}

std::string NameCipher::DecryptName(const std::string& stored)
{
    Bytes encrypted;
    if (HexToBytes(stored, encrypted) == 0) {
        // The empty text is what a refused 64k name left behind; it has no name.
        if (!stored.empty())
            m_prompt.showPlain(kTextNotHex, false);
        return {};
    }
    cRijndael& cipher = keyedCipher();
    Bytes plain;
    if (cipher.ArrayDecrypt(plain, encrypted, 0) != 0)
        plain.clear();
    std::string result;
    AssignText(result, converter().toUtf8(std::string_view(reinterpret_cast<const char*>(plain.data()), plain.size())));
    return result;
}

long NameCipher::HexToBytes(const std::string& text, std::vector<std::uint8_t>& out)
{
    out.clear();
    int high = -1;
    forEachCodePoint(text, [&](char32_t code) {
        const int digit = hexDigitValue(static_cast<unsigned char>(code & 0xFF));
        if (digit < 0)
            return;
        if (high < 0) {
            high = digit;
            return;
        }
        out.push_back(static_cast<std::uint8_t>(high << 4 | digit));
        high = -1;
    });
    return static_cast<long>(out.size());
}

std::string NameCipher::BytesToHex(const std::vector<std::uint8_t>& bytes, long count, long group)
{
    if (count < 0 || static_cast<std::size_t>(count) > bytes.size() || (group <= 0 && count > 1))
        throw CipherError(kSubscriptOutOfRange, "Subscript out of range");
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(static_cast<std::size_t>(count) * 2 + static_cast<std::size_t>(count) / 8);
    for (long i = 0; i < count; ++i) {
        if (i > 0 && i % group == 0)
            text += "  ";
        const std::uint8_t byte = bytes[static_cast<std::size_t>(i)];
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

void NameCipher::AssignText(std::string& destination, const std::string& source)
{
    // The stored text is ASCII, so counting code points matches the byte count
    // there, while a name counts each character once however many bytes it has.
    std::size_t characters = 0;
    forEachCodePoint(source, [&](char32_t) { ++characters; });
    if (characters >= kTextLimit) {
        m_prompt.showPlain(kTextTooLong, true);
        return;
    }
    destination = source;
}

} // namespace sedilo::cipher
