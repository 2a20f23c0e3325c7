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

// The class a colour film box names for its image boxes. Deliberately the
// Color Print Meta class, not basicColorImageBox: films have always been
// created this way and colour modalities echo the class they are given in
// their image box N-SET, so changing it changes what peers send back.
inline constexpr const char* colorImageBoxReference = colorPrintMeta;

}  // namespace vantorel::print_service::sop
