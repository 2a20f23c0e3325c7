#pragma once

#include "base/result.h"
#include "template_composition/report_layout.h"
#include "template_composition/template_chooser.h"

#include <QByteArray>

#include <string>

namespace vantorel::template_composition {

// Templates larger than this are refused unread: a layout of 42 slots takes a
// few kilobytes, and the file is read while an N-ACTION waits.
inline constexpr qint64 maxTemplateBytes = qint64{4} * 1024 * 1024;

// Reads the layout form of a template (see docs/templates.md): the
// ActiveReportsLayout root, its PageSettings and the AR.Image, AR.Label,
// AR.Line and AR.Shape controls of the Detail section. Everything else is
// ignored; malformed XML gives a Failure with the reason.
base::Result<ReportLayout> parseRpx(const QByteArray& xml);

// Writes a layout in the same form.
QByteArray writeRpx(const ReportLayout& layout);

// Template files from disk: missing, empty, oversized and unreadable files are
// refused with their reason.
class RpxTemplateLoader final : public TemplateLoader {
public:
    base::Result<ReportLayout> load(const std::string& path) override;
};

}  // namespace vantorel::template_composition
