#pragma once

#include "base/fwd.h"

#include <QImage>
#include <QWidget>

class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;

namespace vantorel::console {
namespace ui {
class DesktopLauncher;
}
}  // namespace vantorel::console

namespace vantorel::archive {

class FilmListing;
class FilmReprint;

// "胶片管理": lists the archived films between two dates ("查询"), shows the
// selected film's image beside the grid (read off the main thread), prints it
// again ("重新打印", while its file exists), opens its folder ("打开所在文件夹")
// and opens a listed film with the desktop's viewer (double-click). A failed
// listing and a reprint's outcome are said in the status line under the grid,
// without a message box.
class FilmArchivePage final : public QWidget {
    Q_OBJECT
public:
    struct Services {
        FilmListing& listing;
        base::OperatorMessages& messages;
        console::ui::DesktopLauncher& desktop;
        base::RunLog& log;
        FilmReprint* reprint = nullptr;  // none: "重新打印" stays disabled
    };
    explicit FilmArchivePage(Services services, QWidget* parent = nullptr);

    void query();
    // Opens the film of the grid's current row.
    void openFilm();
    void fitGrid();
    // Prints the film of the grid's current row again.
    void reprintFilm();
    // Opens the folder of the film of the grid's current row.
    void openFolder();

    QDateEdit* fromDate() const { return from_; }
    QDateEdit* toDate() const { return to_; }
    QPushButton* queryButton() const { return query_; }
    QTableView* grid() const { return grid_; }
    QLabel* statusLine() const { return status_; }
    QLabel* preview() const { return preview_; }
    QPushButton* reprintButton() const { return reprint_; }
    QPushButton* folderButton() const { return folder_; }

private:
    QString currentPath() const;
    void showCurrentFilm();
    void showPreview(quint64 request, const QImage& image);

    Services services_;
    QDateEdit* from_;
    QDateEdit* to_;
    QPushButton* query_;
    QTableView* grid_;
    QLabel* status_;
    QLabel* preview_;
    QPushButton* reprint_;
    QPushButton* folder_;
    quint64 previewRequest_ = 0;  // the newest; older images that arrive late are dropped
    QImage previewImage_;
};

}  // namespace vantorel::archive
