#include "console/settings_password.h"

#include "console/settings_model.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <climits>

namespace vantorel::console {

namespace {

constexpr const char* method = "pbkdf2-sha256";
// A stored cost above this is refused: each keystroke in a password box
// hashes once, and a doctored file must not freeze the console.
constexpr int maxIterations = 10000000;
constexpr std::size_t minSaltBytes = 8;
constexpr std::size_t maxSaltBytes = 64;

std::string hex(const std::vector<unsigned char>& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (const unsigned char b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 0x0f];
    }
    return text;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool fromHex(const std::string& text, std::vector<unsigned char>& bytes)
{
    if (text.size() % 2 != 0)
        return false;
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = hexDigit(text[i]);
        const int low = hexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes.push_back(static_cast<unsigned char>(high * 16 + low));
    }
    return true;
}

std::vector<std::string> fields(const std::string& text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find('$', start)) != std::string::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

// Digits only, 1 ... maxIterations.
int iterationCount(const std::string& text)
{
    if (text.empty() || text.size() > 8)
        return 0;
    int n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
    }
    return n <= maxIterations ? n : 0;
}

bool derive(const std::string& password, const std::vector<unsigned char>& salt, int iterations,
            std::vector<unsigned char>& out)
{
    if (password.size() > INT_MAX)
        return false;
    out.assign(PasswordHash::hashBytes, 0);
    return PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt.data(),
                             static_cast<int>(salt.size()), iterations, EVP_sha256(),
                             static_cast<int>(out.size()), out.data()) == 1;
}

}  // namespace

PasswordHash PasswordHash::make(const std::string& password)
{
    std::vector<unsigned char> salt(saltBytes);
    if (RAND_bytes(salt.data(), static_cast<int>(salt.size())) != 1) {
        PasswordHash none;
        none.problem_ = "no random bytes for the salt";
        return none;
    }
    return make(password, std::move(salt), defaultIterations);
}

PasswordHash PasswordHash::make(const std::string& password, std::vector<unsigned char> salt, int iterations)
{
    PasswordHash made;
    made.iterations_ = iterations;
    made.salt_ = std::move(salt);
    if (iterations < 1 || iterations > maxIterations || made.salt_.size() < minSaltBytes ||
        made.salt_.size() > maxSaltBytes || !derive(password, made.salt_, iterations, made.hash_))
        made.problem_ = "cannot hash with this salt and iteration count";
    return made;
}

PasswordHash PasswordHash::parse(const std::string& text)
{
    PasswordHash read;
    const std::vector<std::string> parts = fields(text);
    if (parts.size() != 4 || parts[0] != method)
        read.problem_ = std::string("not a ") + method + "$<iterations>$<salt>$<hash> text";
    else if ((read.iterations_ = iterationCount(parts[1])) == 0)
        read.problem_ = "iteration count not 1 to " + std::to_string(maxIterations);
    else if (!fromHex(parts[2], read.salt_) || read.salt_.size() < minSaltBytes ||
             read.salt_.size() > maxSaltBytes)
        read.problem_ = "salt not " + std::to_string(minSaltBytes) + " to " + std::to_string(maxSaltBytes) +
                        " bytes of hex";
    else if (!fromHex(parts[3], read.hash_) || read.hash_.size() != hashBytes)
        read.problem_ = "hash not " + std::to_string(hashBytes) + " bytes of hex";
    return read;
}

std::string PasswordHash::text() const
{
    if (!usable())
        return {};
    return std::string(method) + "$" + std::to_string(iterations_) + "$" + hex(salt_) + "$" + hex(hash_);
}

bool PasswordHash::matches(const std::string& password) const
{
    std::vector<unsigned char> candidate;
    if (!usable() || !derive(password, salt_, iterations_, candidate))
        return false;
    return CRYPTO_memcmp(candidate.data(), hash_.data(), hashBytes) == 0;
}

SettingsPasswordCheck::SettingsPasswordCheck(const Settings& settings) : settings_(settings) {}

std::string SettingsPasswordCheck::problem(const Settings& settings)
{
    if (!settings.settingsFileUnreadable.empty())
        return "PrtIni.ini cannot be read: " + settings.settingsFileUnreadable;
    if (settings.settingsPasswordHash.empty())
        return {};
    const std::string problem = PasswordHash::parse(settings.settingsPasswordHash).problem();
    return problem.empty() ? problem : std::string(settingsPasswordKey) + ": " + problem;
}

bool SettingsPasswordCheck::opens(const std::string& text)
{
    const std::string& stored = settings_.settingsPasswordHash;
    if (!settings_.settingsFileUnreadable.empty())
        return false;
    if (stored.empty())
        return text == systemPassword;
    if (remembered_ && stored == lastStored_ && text == lastText_)
        return lastAnswer_;
    lastAnswer_ = PasswordHash::parse(stored).matches(text);
    lastStored_ = stored;
    lastText_ = text;
    remembered_ = true;
    return lastAnswer_;
}

}  // namespace vantorel::console
