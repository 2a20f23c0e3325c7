#pragma once

#include <string>

namespace vantorel::archive {

// How a saved film fared when it was printed again.
struct ReprintOutcome {
    bool printed = false;
    std::string printer;  // where it went; empty when no printer was chosen
    std::string failure;  // why it was not printed
};

// Prints a saved film image once more, as one page (the film archive page's
// "重新打印"). Called on the main thread; the archive is not written to.
class FilmReprint {
public:
    virtual ~FilmReprint() = default;
    virtual ReprintOutcome reprint(const std::string& imagePath) = 0;
};

}  // namespace vantorel::archive
