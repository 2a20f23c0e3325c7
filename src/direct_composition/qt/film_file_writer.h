#pragma once

#include "base/result.h"

#include <QString>

#include <functional>
#include <string>

class QIODevice;
class QPdfWriter;

namespace vantorel::direct_composition {

// Writes one PDF into `folder` so that a film's name never holds a partial
// file: the PDF is written under a hidden temporary name, every write checked,
// flushed to disk and closed (checked too), then renamed to `stem`.pdf, or
// `stem`-1.pdf, `stem`-2.pdf, ... when taken (an existing file is never
// replaced). On any failure the partial file is removed. `paint` draws the
// page onto the writer and says whether painting succeeded. Returns the
// film's final path, or a Failure with the reason it was not written (the
// system's own words, e.g. "No space left on device").
base::Result<std::string> writeFilmFile(const QString& folder, const QString& stem,
                                        const std::function<bool(QPdfWriter&)>& paint);

// The same, with `write` writing the PDF's bytes itself onto the file (every
// write checked) and saying whether it wrote the whole film.
base::Result<std::string> writeFilmFileBytes(const QString& folder, const QString& stem,
                                             const std::function<bool(QIODevice&)>& write);

// The folder of the built-in "FilmFile" printer below a home folder.
QString filmFileFolder(const std::string& homeFolder);

// Writes the film of this moment on the built-in "FilmFile" printer:
// <home>/FilmFile/yyyyMMdd-HHmmss.pdf, numbered when taken, as writeFilmFile
// writes it.
base::Result<std::string> writeFilmFileNow(const std::string& homeFolder,
                                           const std::function<bool(QPdfWriter&)>& paint);

base::Result<std::string> writeFilmFileBytesNow(const std::string& homeFolder,
                                                const std::function<bool(QIODevice&)>& write);

// Removes the temporary files that a process which ended in the middle of a
// film (killed, crashed) left in `folder`; files of running processes stay.
// Returns how many were removed.
int removeAbandonedFilmFiles(const QString& folder);

}  // namespace vantorel::direct_composition
