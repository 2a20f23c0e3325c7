#include "console/ui/pages/film_preview_page.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace vantorel::console::ui {

namespace {

// Draws the film scaled to fit, centred, on a dark light-box background.
class FilmPicture final : public QWidget {
public:
    FilmPicture(const QImage& film, QWidget* parent) : QWidget(parent), film_(film)
    {
        setObjectName(QStringLiteral("filmPicture"));
        setMinimumSize(120, 120);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(40, 44, 52));
        if (film_.isNull())
            return;
        QSize size = film_.size().scaled(this->size() - QSize(16, 16), Qt::KeepAspectRatio);
        QRect target(QPoint(0, 0), size);
        target.moveCenter(rect().center());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, film_);
    }

private:
    const QImage& film_;
};

}  // namespace

FilmPreviewPage::FilmPreviewPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("filmPreviewPage"));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("胶片预览"), this);
    heading->setObjectName(QStringLiteral("pageHeading"));
    layout->addWidget(heading);

    picture_ = new FilmPicture(film_, this);
    layout->addWidget(picture_, 1);

    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("filmCaption"));
    caption_->setAlignment(Qt::AlignCenter);
    layout->addWidget(caption_);
}

void FilmPreviewPage::showFilm(const QImage& page, const QString& caption)
{
    film_ = page;
    caption_->setText(caption);
    picture_->update();
}

QString FilmPreviewPage::caption() const
{
    return caption_->text();
}

}  // namespace vantorel::console::ui
