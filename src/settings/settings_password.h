#pragma once

#include <string>

namespace vantorel::settings {

// The settings password an administrator set with `vantorel --set-password`,
// kept as a salted PBKDF2-HMAC-SHA256 hash in "SettingsPasswordHash":
// "pbkdf2-sha256$<iterations>$<salt hex>$<hash hex>".
std::string hashSettingsPassword(const std::string& password);

enum class PasswordMatch { Yes, No, Unreadable };

// Whether `typed` is the password of `stored` (compared in constant time);
// Unreadable when `stored` is not such a hash.
PasswordMatch matchSettingsPassword(const std::string& stored, const std::string& typed);

// The rule of the settings pages' password boxes: the fixed system password
// while no hash is stored, otherwise only the password of the hash (an
// unreadable hash opens nothing). The last text checked is remembered, so a
// text copied into the three boxes is hashed once.
class SettingsPasswordCheck {
public:
    explicit SettingsPasswordCheck(const std::string& storedHash) : stored_(storedHash) {}
    bool operator()(const std::string& typed);

private:
    const std::string& stored_;  // the live setting
    std::string lastStored_;
    std::string lastTyped_;
    bool lastResult_ = false;
    bool checked_ = false;
};

}  // namespace vantorel::settings
