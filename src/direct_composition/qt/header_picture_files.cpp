#include "direct_composition/qt/header_picture_files.h"

#include "direct_composition/qt/film_page_painter.h"

#include <QFileInfo>
#include <QImage>

namespace vantorel::direct_composition {

namespace {

Picture loadPicture(const std::string& path)
{
    return fromQImage(QImage(QString::fromStdString(path)));
}

}  // namespace

HeaderPictureFiles::HeaderPictureFiles(const std::string& homeFolder)
    : folder_(homeFolder + "/医院名称"), cross_(loadPicture(folder_ + "/cross.bmp"))
{}

bool HeaderPictureFiles::customHeaderExists() const
{
    return QFileInfo::exists(QString::fromStdString(folder_ + "/yymc.bmp"));
}

Picture HeaderPictureFiles::loadCustomHeader() const
{
    return loadPicture(folder_ + "/yymc.bmp");
}

}  // namespace vantorel::direct_composition
