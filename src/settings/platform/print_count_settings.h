#pragma once

#include "settings/print_count.h"

namespace vantorel::settings {

// PrintCount in the per-user settings: organisation "Zelquora", group "胶片",
// key "打印计数", stored as decimal text (QSettings, native format).
class PrintCountSettings final : public PrintCountStore {
public:
    std::int32_t read() const override;
    void write(std::int32_t count) override;
};

}  // namespace vantorel::settings
