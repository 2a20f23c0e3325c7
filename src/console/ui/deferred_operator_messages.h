#pragma once

#include "base/operator_messages.h"

#include <string>
#include <vector>

namespace vantorel::console::ui {

// Keeps messages until start-up reaches the step that shows them: the
// settings are read in one pass, but the operator sees the missing
// printer-list message where start-up reads the printer pools.
class DeferredOperatorMessages final : public base::OperatorMessages {
public:
    void show(const std::string& text, const std::string& title, base::MessageIcon icon) override
    {
        held_.push_back({text, title, icon});
    }

    // Shows every held message on `target`, in order, and forgets them.
    void release(base::OperatorMessages& target)
    {
        std::vector<Held> held;
        held.swap(held_);
        for (const Held& message : held)
            target.show(message.text, message.title, message.icon);
    }

    bool empty() const { return held_.empty(); }

private:
    struct Held {
        std::string text;
        std::string title;
        base::MessageIcon icon;
    };
    std::vector<Held> held_;
};

}  // namespace vantorel::console::ui
