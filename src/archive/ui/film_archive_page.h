#pragma once

#include <QWidget>

class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;

namespace vantorel::console {
class OperatorMessages;
class RunLog;
namespace ui {
class DesktopLauncher;
}
}  // namespace vantorel::console

namespace vantorel::archive {

class FilmListing;

// "胶片管理": lists the archived films between two dates ("查询") and opens a
// listed film with the desktop's viewer (double-click). A failed listing says
// so in the status line under the grid, without a message box.
class FilmArchivePage final : public QWidget {
    Q_OBJECT
public:
    struct Services {
        FilmListing& listing;
        console::OperatorMessages& messages;
        console::ui::DesktopLauncher& desktop;
        console::RunLog& log;
    };
    explicit FilmArchivePage(Services services, QWidget* parent = nullptr);

    void query();
    // Opens the film of the grid's current row.
    void openFilm();
    void FitGrid();

    QDateEdit* fromDate() const { return from_; }
    QDateEdit* toDate() const { return to_; }
    QPushButton* queryButton() const { return query_; }
    QTableView* grid() const { return grid_; }
    QLabel* statusLine() const { return status_; }

private:
    Services services_;
    QDateEdit* from_;
    QDateEdit* to_;
    QPushButton* query_;
    QTableView* grid_;
    QLabel* status_;
};

}  // namespace vantorel::archive
