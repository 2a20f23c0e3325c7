#pragma once

#include <string>

namespace vantorel::direct_composition {

// Reserves the PDF file for the next film of the built-in "FilmFile" printer:
// <home>/FilmFile/yyyyMMdd-HHmmss.pdf, or with "-1", "-2", ... when taken. The
// file is created empty so that no later film can pick the same name. Empty
// when the folder cannot be written.
std::string reserveFilmFile(const std::string& homeFolder);

}  // namespace vantorel::direct_composition
