#include "direct_composition/qt/film_file_folder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace vantorel::direct_composition {

std::string reserveFilmFile(const std::string& homeFolder)
{
    const QString folder = QString::fromStdString(homeFolder) + QStringLiteral("/FilmFile");
    if (!QDir().mkpath(folder))
        return {};
    const QString stem =
        folder + '/' + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int suffix = 0; suffix < 100000; ++suffix) {
        const QString path =
            suffix == 0 ? stem + QStringLiteral(".pdf") : stem + QStringLiteral("-%1.pdf").arg(suffix);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return path.toStdString();
        if (!file.exists())
            return {};  // the folder cannot be written
    }
    return {};
}

}  // namespace vantorel::direct_composition
