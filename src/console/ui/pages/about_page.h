#pragma once

#include <QWidget>

#include <array>
#include <string>

class QLabel;

namespace vantorel::console::ui {

// The about page ("关于", and every entry that names no other page): the eight
// lines of "\About\about.ini", one per line.
class AboutPage final : public QWidget {
    Q_OBJECT
public:
    explicit AboutPage(QWidget* parent = nullptr);
    void setLines(const std::array<std::string, 8>& lines);
    QString line(int index) const;  // 0 ... 7

private:
    std::array<QLabel*, 8> lines_{};
};

}  // namespace vantorel::console::ui
