#include "template_composition/qt/saved_film_reprint.h"

#include "base/run_log.h"
#include "direct_composition/qt/film_page_painter.h"
#include "settings/settings_model.h"
#include "template_composition/grid_template.h"
#include "template_composition/template_chooser.h"

#include <QImage>
#include <QString>

#include <algorithm>

namespace vantorel::template_composition {

namespace dc = direct_composition;

namespace {

// The picture fitted to the sheet, centred.
dc::FilmPage sheetOf(const dc::Picture& picture, const ReportPageSettings& page, const std::string& printer)
{
    dc::FilmPage film;
    film.printer = printer;
    film.pageWidth = page.sheetWidth();
    film.pageHeight = page.sheetHeight();
    const float scale = std::min(film.pageWidth / static_cast<float>(picture.width),
                                 film.pageHeight / static_cast<float>(picture.height));
    const float width = picture.width * scale, height = picture.height * scale;
    dc::DrawOp op;
    op.picture = picture;
    op.rect = {(film.pageWidth - width) / 2, (film.pageHeight - height) / 2, width, height};
    film.ops.push_back(std::move(op));
    film.ending = dc::FilmPage::Ending::Ended;
    return film;
}

}  // namespace

SavedFilmReprint::SavedFilmReprint(const settings::RoutingSettings& settings,
                                   const settings::InstalledPrinters& installedPrinters,
                                   std::string homeFolder, base::RunLog& log, std::function<void()> countFilm)
    : settings_(settings),
      installedPrinters_(installedPrinters),
      log_(log),
      countFilm_(std::move(countFilm)),
      printer_(std::move(homeFolder))
{}

archive::ReprintOutcome SavedFilmReprint::failed(archive::ReprintOutcome outcome, const std::string& reason)
{
    outcome.failure = reason;
    log_.write("重新打印失败：" + reason);
    return outcome;
}

archive::ReprintOutcome SavedFilmReprint::reprint(const std::string& imagePath)
{
    archive::ReprintOutcome outcome;
    outcome.printer = otherRoutePrinter(settings_, installedPrinters_);
    log_.write("重新打印：" + imagePath + " -> " + outcome.printer);
    if (outcome.printer.empty())
        return failed(outcome, "其他尺寸胶片没有选定打印机");

    const QImage image(QString::fromStdString(imagePath));
    if (image.isNull())
        return failed(outcome, "胶片图像无法读取");
    const dc::Picture picture = dc::fromQImage(image);
    if (picture.isNull())
        return failed(outcome, "胶片图像无法读取");

    const auto paper = paperSizeOf(otherRoutePaper(settings_).value_or("A4"));
    ReportPageSettings page;
    page.orientation = picture.width > picture.height ? 2 : 1;
    page.paperWidth = paper->first;
    page.paperHeight = paper->second;

    ReportPrintError error;
    if (!printer_.print(sheetOf(picture, page, outcome.printer), page, outcome.printer, "重新打印", error))
        return failed(outcome, error.description.empty() ? "打印机没有接收胶片" : error.description);
    outcome.printed = true;
    if (countFilm_)
        countFilm_();
    log_.write("重新打印完毕。打印机：" + outcome.printer);
    return outcome;
}

}  // namespace vantorel::template_composition
