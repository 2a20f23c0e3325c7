#pragma once

#include "hospital_name/editor_ports.h"

class QWidget;

namespace vantorel::hospital_name::ui {

// The editor's questions as message boxes (question icon, Yes and No) and its
// choosers as Qt's font and colour dialogs, all modal to `parent`.
class QtEditorDialogs final : public EditorDialogs {
public:
    explicit QtEditorDialogs(QWidget* parent) : parent_(parent) {}

    bool askYesNo(const std::string& title, const std::string& text) override;
    NameStyle chooseFont(const NameStyle& current) override;
    std::uint32_t chooseColour(std::uint32_t current) override;

private:
    QWidget* parent_;
};

}  // namespace vantorel::hospital_name::ui
