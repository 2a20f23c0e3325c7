#pragma once

#include "base/operator_messages.h"
#include "settings/print_count.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantorel::testing {

// A fresh folder for one test, removed with everything in it afterwards.
class Sandbox {
public:
    Sandbox()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantorel-console-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        path_ = pattern;
    }
    ~Sandbox()
    {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& relative) const { return path_ + "/" + relative; }

private:
    std::string path_;
};

inline void writeBytes(const std::string& path, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Keeps every operator message.
class RecordingMessages final : public base::OperatorMessages {
public:
    struct Message {
        std::string text;
        std::string title;
        base::MessageIcon icon;
    };
    void show(const std::string& text, const std::string& title, base::MessageIcon icon) override
    {
        shown.push_back({text, title, icon});
    }
    std::vector<Message> shown;
};

class FakePrintCount final : public settings::PrintCountStore {
public:
    explicit FakePrintCount(std::int32_t count = 0) : count_(count) {}
    std::int32_t read() const override { return count_; }
    void write(std::int32_t count) override { count_ = count; }

private:
    std::int32_t count_;
};

}  // namespace vantorel::testing
