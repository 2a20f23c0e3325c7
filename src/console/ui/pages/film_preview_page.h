#pragma once

#include <QImage>
#include <QWidget>

class QLabel;

namespace vantorel::console::ui {

// The film preview page ("胶片预览"): the page picture of the last film that
// was composed, scaled to fit, so the operator sees what went to the printer.
class FilmPreviewPage final : public QWidget {
    Q_OBJECT
public:
    explicit FilmPreviewPage(QWidget* parent = nullptr);

    void showFilm(const QImage& page, const QString& caption = QString());
    const QImage& lastFilm() const { return film_; }
    QString caption() const;

private:
    QImage film_;
    QWidget* picture_ = nullptr;
    QLabel* caption_ = nullptr;
};

}  // namespace vantorel::console::ui
