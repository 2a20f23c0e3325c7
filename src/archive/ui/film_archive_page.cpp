#include "archive/ui/film_archive_page.h"

#include "archive/film_listing.h"
#include "archive/film_query.h"
#include "archive/film_reprint.h"
#include "base/operator_messages.h"
#include "base/run_log.h"
#include "console/ui/pages/page_layout.h"
#include "console/ui/pages/page_services.h"

#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QThreadPool>
#include <QVBoxLayout>

namespace vantorel::archive {

namespace {

QDateEdit* dateEdit(const char* name, QWidget* parent)
{
    auto* edit = new QDateEdit(QDate::currentDate(), parent);
    edit->setObjectName(QLatin1String(name));
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return edit;
}

}  // namespace

FilmArchivePage::FilmArchivePage(Services services, QWidget* parent) : QWidget(parent), services_(services)
{
    setObjectName(QStringLiteral("filmManagementPage"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(console::ui::pageHeading(QStringLiteral("胶片管理"), this));

    auto* dates = new QHBoxLayout;
    from_ = dateEdit("filmDateFrom", this);
    to_ = dateEdit("filmDateTo", this);
    query_ = new QPushButton(QStringLiteral("查询"), this);
    query_->setObjectName(QStringLiteral("filmQuery"));
    dates->addWidget(new QLabel(QStringLiteral("打印日期："), this));
    dates->addWidget(from_);
    dates->addWidget(new QLabel(QStringLiteral("～"), this));
    dates->addWidget(to_);
    dates->addWidget(query_);
    dates->addStretch(1);
    layout->addLayout(dates);

    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("filmGrid"));
    grid_->setModel(&services_.listing.model());
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->setVisible(false);
    grid_->setWordWrap(false);  // one line per film; long paths are elided

    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("filmPreview"));
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setMinimumSize(240, 320);
    preview_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    preview_->setWordWrap(true);
    auto* split = new QSplitter(this);
    split->addWidget(grid_);
    split->addWidget(preview_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);

    auto* actions = new QHBoxLayout;
    reprint_ = new QPushButton(QStringLiteral("重新打印"), this);
    reprint_->setObjectName(QStringLiteral("filmReprint"));
    folder_ = new QPushButton(QStringLiteral("打开所在文件夹"), this);
    folder_->setObjectName(QStringLiteral("filmOpenFolder"));
    reprint_->setEnabled(false);
    folder_->setEnabled(false);
    actions->addWidget(reprint_);
    actions->addWidget(folder_);
    actions->addStretch(1);
    layout->addLayout(actions);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("filmArchiveStatus"));
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(status_);

    connect(query_, &QPushButton::clicked, this, &FilmArchivePage::query);
    connect(grid_, &QTableView::doubleClicked, this, &FilmArchivePage::openFilm);
    connect(reprint_, &QPushButton::clicked, this, &FilmArchivePage::reprintFilm);
    connect(folder_, &QPushButton::clicked, this, &FilmArchivePage::openFolder);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &FilmArchivePage::showCurrentFilm);
    // A new listing replaces the rows without a current-row signal.
    connect(&services_.listing.model(), &QAbstractItemModel::modelReset, this,
            &FilmArchivePage::showCurrentFilm);
}

void FilmArchivePage::query()
{
    const std::optional<QString> failure = services_.listing.list(from_->date(), to_->date());
    if (failure) {
        status_->setText(QStringLiteral("无法访问胶片档案：") + *failure);
        services_.log.write("胶片查询失败：" + failure->simplified().toStdString());  // one line
    } else {
        status_->clear();
    }
    fitGrid();
}

void FilmArchivePage::fitGrid()
{
    QAbstractItemModel& model = services_.listing.model();
    const auto& columns = filmGridColumns();
    const int count = std::min(model.columnCount(), static_cast<int>(columns.size()));
    for (int column = 0; column < count; ++column) {
        const GridColumn& shown = columns[static_cast<std::size_t>(column)];
        if (*shown.heading)
            model.setHeaderData(column, Qt::Horizontal, QString::fromUtf8(shown.heading));
        grid_->setColumnWidth(column, twipsToPixels(shown.twips, grid_->logicalDpiX()));
    }
}

QString FilmArchivePage::currentPath() const
{
    constexpr int pathColumn = 2;
    const QModelIndex current = grid_->currentIndex();
    QAbstractItemModel& model = services_.listing.model();
    if (!current.isValid() || model.columnCount() <= pathColumn)
        return {};
    return model.index(current.row(), pathColumn).data().toString().trimmed();
}

void FilmArchivePage::openFilm()
{
    const QString path = currentPath();
    if (path.isEmpty())
        return;
    if (!QFileInfo(path).isFile()) {
        services_.messages.show("胶片【" + path.toStdString() + "】不存在。", "打开出错",
                                base::MessageIcon::Information);
        return;
    }
    services_.desktop.openDocument(path);
}

void FilmArchivePage::showCurrentFilm()
{
    const QString path = currentPath();
    const bool exists = !path.isEmpty() && QFileInfo(path).isFile();
    reprint_->setEnabled(exists && services_.reprint != nullptr);
    folder_->setEnabled(!path.isEmpty() && QFileInfo(path).dir().exists());
    const quint64 request = ++previewRequest_;
    previewImage_ = QImage();
    preview_->setPixmap(QPixmap());
    if (path.isEmpty()) {
        preview_->clear();
        return;
    }
    if (!exists) {
        preview_->setText(QStringLiteral("胶片【%1】不存在。").arg(path));
        return;
    }
    preview_->setText(QStringLiteral("正在读取胶片…"));
    // A film image is some megabytes: it is read and scaled down on a pool
    // thread, so the window never waits for the disk. The page may be gone
    // when the image is ready; the queued call then does not run.
    const QPointer<FilmArchivePage> page(this);
    const QSize bound(1200, 1200);
    QThreadPool::globalInstance()->start([page, path, request, bound] {
        QImage image(path);
        if (!image.isNull() && (image.width() > bound.width() || image.height() > bound.height()))
            image = image.scaled(bound, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QMetaObject::invokeMethod(
            page,
            [page, request, image] {
                if (page)
                    page->showPreview(request, image);
            },
            Qt::QueuedConnection);
    });
}

void FilmArchivePage::showPreview(quint64 request, const QImage& image)
{
    if (request != previewRequest_)
        return;  // another row was chosen meanwhile
    if (image.isNull()) {
        preview_->setText(QStringLiteral("胶片【%1】无法读取。").arg(currentPath()));
        return;
    }
    previewImage_ = image;
    preview_->setPixmap(
        QPixmap::fromImage(image.scaled(preview_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void FilmArchivePage::reprintFilm()
{
    const QString path = currentPath();
    if (path.isEmpty() || services_.reprint == nullptr)
        return;
    if (!QFileInfo(path).isFile()) {
        status_->setText(QStringLiteral("胶片【%1】不存在。").arg(path));
        showCurrentFilm();
        return;
    }
    const ReprintOutcome outcome = services_.reprint->reprint(path.toStdString());
    status_->setText(outcome.printed
                         ? QStringLiteral("已重新打印。打印机：") + QString::fromStdString(outcome.printer)
                         : QStringLiteral("重新打印失败：") + QString::fromStdString(outcome.failure));
}

void FilmArchivePage::openFolder()
{
    const QString path = currentPath();
    if (!path.isEmpty())
        services_.desktop.openDocument(QFileInfo(path).absolutePath());
}

}  // namespace vantorel::archive
