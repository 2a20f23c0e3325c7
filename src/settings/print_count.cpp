#include "settings/print_count.h"

namespace vantorel::settings {

std::int32_t PrintCount::addOne()
{
    value_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(value_) + 1u);
    store_.write(value_);
    return value_;
}

}  // namespace vantorel::settings
