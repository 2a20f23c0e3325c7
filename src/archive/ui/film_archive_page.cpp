#include "archive/ui/film_archive_page.h"

#include "archive/film_listing.h"
#include "archive/film_query.h"
#include "console/operator_messages.h"
#include "console/run_log.h"
#include "console/ui/pages/page_layout.h"
#include "console/ui/pages/page_services.h"

#include <QDateEdit>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
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

FilmArchivePage::FilmArchivePage(Services services, QWidget* parent)
    : QWidget(parent), services_(services)
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
    layout->addWidget(grid_, 1);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("filmArchiveStatus"));
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(status_);

    connect(query_, &QPushButton::clicked, this, &FilmArchivePage::query);
    connect(grid_, &QTableView::doubleClicked, this, &FilmArchivePage::openFilm);
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
    FitGrid();
}

void FilmArchivePage::FitGrid()
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

void FilmArchivePage::openFilm()
{
    constexpr int pathColumn = 2;
    const QModelIndex current = grid_->currentIndex();
    QAbstractItemModel& model = services_.listing.model();
    if (!current.isValid() || model.columnCount() <= pathColumn)
        return;
    const QString path = model.index(current.row(), pathColumn).data().toString().trimmed();
    if (path.isEmpty())
        return;
    if (!QFileInfo(path).isFile()) {
        services_.messages.show("胶片【" + path.toStdString() + "】不存在。", "打开出错",
                                console::MessageIcon::Information);
        return;
    }
    services_.desktop.openDocument(path);
}

}  // namespace vantorel::archive
