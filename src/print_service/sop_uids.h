#pragma once

namespace vantorel::print_service::sop {

// SOP classes and well-known instances of print management.
inline constexpr const char* basicFilmSession = "1.2.840.10008.5.1.1.1";
inline constexpr const char* basicFilmBox = "1.2.840.10008.5.1.1.2";
inline constexpr const char* basicGrayscaleImageBox = "1.2.840.10008.5.1.1.4";
inline constexpr const char* basicColorImageBox = "1.2.840.10008.5.1.1.4.1";
inline constexpr const char* grayscalePrintMeta = "1.2.840.10008.5.1.1.9";
inline constexpr const char* colorPrintMeta = "1.2.840.10008.5.1.1.18";
inline constexpr const char* printer = "1.2.840.10008.5.1.1.16";
inline constexpr const char* printerInstance = "1.2.840.10008.5.1.1.17";
inline constexpr const char* presentationLut = "1.2.840.10008.5.1.1.23";
inline constexpr const char* printJob = "1.2.840.10008.5.1.1.14";
inline constexpr const char* verification = "1.2.840.10008.1.1";

}  // namespace vantorel::print_service::sop
