#include "settings/settings_password.h"

#include "settings/access_control.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vantorel::settings {

namespace {

constexpr int iterations = 100000;
constexpr std::size_t saltBytes = 16;
constexpr std::size_t hashBytes = 32;

std::string hex(const std::vector<unsigned char>& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 0xF];
    }
    return text;
}

bool unhex(const std::string& text, std::vector<unsigned char>& bytes)
{
    if (text.empty() || text.size() % 2 != 0)
        return false;
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const auto value = [](char c) {
            return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        };
        const int high = value(text[i]), low = value(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes.push_back(static_cast<unsigned char>(high * 16 + low));
    }
    return true;
}

std::vector<unsigned char> derive(const std::string& password, const std::vector<unsigned char>& salt,
                                  int rounds, std::size_t length)
{
    std::vector<unsigned char> key(length);
    PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt.data(),
                      static_cast<int>(salt.size()), rounds, EVP_sha256(), static_cast<int>(key.size()),
                      key.data());
    return key;
}

}  // namespace

std::string hashSettingsPassword(const std::string& password)
{
    std::vector<unsigned char> salt(saltBytes);
    if (RAND_bytes(salt.data(), static_cast<int>(salt.size())) != 1)
        return {};
    return "pbkdf2-sha256$" + std::to_string(iterations) + "$" + hex(salt) + "$" +
        hex(derive(password, salt, iterations, hashBytes));
}

PasswordMatch matchSettingsPassword(const std::string& stored, const std::string& typed)
{
    const std::string scheme = "pbkdf2-sha256$";
    if (stored.rfind(scheme, 0) != 0)
        return PasswordMatch::Unreadable;
    const std::size_t roundsEnd = stored.find('$', scheme.size());
    const std::size_t saltEnd = roundsEnd == std::string::npos ? roundsEnd : stored.find('$', roundsEnd + 1);
    if (saltEnd == std::string::npos)
        return PasswordMatch::Unreadable;
    const std::string roundsText = stored.substr(scheme.size(), roundsEnd - scheme.size());
    char* end = nullptr;
    const long rounds = std::strtol(roundsText.c_str(), &end, 10);
    std::vector<unsigned char> salt, hash;
    if (roundsText.empty() || *end != '\0' || rounds < 1000 || rounds > 10000000 ||
        !unhex(stored.substr(roundsEnd + 1, saltEnd - roundsEnd - 1), salt) ||
        !unhex(stored.substr(saltEnd + 1), hash) || hash.size() < 16 || hash.size() > 64)
        return PasswordMatch::Unreadable;
    const std::vector<unsigned char> typedHash = derive(typed, salt, static_cast<int>(rounds), hash.size());
    return CRYPTO_memcmp(typedHash.data(), hash.data(), hash.size()) == 0 ? PasswordMatch::Yes
                                                                          : PasswordMatch::No;
}

bool SettingsPasswordCheck::operator()(const std::string& typed)
{
    if (checked_ && typed == lastTyped_ && stored_ == lastStored_)
        return lastResult_;
    lastTyped_ = typed;
    lastStored_ = stored_;
    checked_ = true;
    lastResult_ = stored_.empty() ? typed == systemPassword
                                  : matchSettingsPassword(stored_, typed) == PasswordMatch::Yes;
    return lastResult_;
}

}  // namespace vantorel::settings
