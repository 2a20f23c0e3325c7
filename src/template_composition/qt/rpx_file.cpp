#include "template_composition/qt/rpx_file.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>

namespace vantorel::template_composition {

namespace {

constexpr float maxTwips = 1.0e6f;

std::optional<float> number(const QXmlStreamAttributes& attributes, const char* name)
{
    const QStringView text = attributes.value(QLatin1String(name));
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    // Lengths beyond a few metres, NaN and infinities are no lengths.
    if (!ok || !std::isfinite(value) || std::fabs(value) > maxTwips)
        return std::nullopt;
    return value;
}

float numberOr(const QXmlStreamAttributes& attributes, const char* name, float fallback)
{
    return number(attributes, name).value_or(fallback);
}

// "0"/"False" are false, "1", "-1" (a VB True) and "True" true.
bool flagOr(const QXmlStreamAttributes& attributes, const char* name, bool fallback)
{
    const QString text = attributes.value(QLatin1String(name)).trimmed().toString().toLower();
    if (text == QLatin1String("0") || text == QLatin1String("false"))
        return false;
    if (text == QLatin1String("1") || text == QLatin1String("-1") || text == QLatin1String("true"))
        return true;
    return fallback;
}

// A colour as the engine writes it, a decimal 0x00BBGGRR, or "#RRGGBB".
std::optional<std::uint32_t> colour(QStringView text)
{
    text = text.trimmed();
    bool ok = false;
    if (text.startsWith(u'#') && text.size() == 7) {
        const std::uint32_t rgb = text.mid(1).toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    }
    const qlonglong value = text.toLongLong(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(value & 0xFFFFFF);
}

std::uint32_t colourOr(const QXmlStreamAttributes& attributes, const char* name, std::uint32_t fallback)
{
    return colour(attributes.value(QLatin1String(name))).value_or(fallback);
}

template <typename Enum>
Enum enumOr(const QXmlStreamAttributes& attributes, const char* name, int last, Enum fallback)
{
    const std::optional<float> value = number(attributes, name);
    if (!value || *value < 0 || *value > last)
        return fallback;
    return static_cast<Enum>(static_cast<int>(*value));
}

// A label's style: "font-family: Arial; font-size: 12pt; font-weight: bold;
// color: #FFFFFF; background-color: #000000".
void applyStyle(ReportControl& label, const QString& style)
{
    for (const QString& part : style.split(u';', Qt::SkipEmptyParts)) {
        const int colon = part.indexOf(u':');
        if (colon < 0)
            continue;
        const QString key = part.left(colon).trimmed().toLower();
        const QString value = part.mid(colon + 1).trimmed();
        if (key == QLatin1String("font-family")) {
            label.fontName = QString(value).remove(u'"').remove(u'\'').toStdString();
        } else if (key == QLatin1String("font-size")) {
            bool ok = false;
            const double size = QString(value).remove(QLatin1String("pt")).trimmed().toDouble(&ok);
            if (ok && size > 0 && size < 1000)
                label.fontSize = size;
        } else if (key == QLatin1String("font-weight")) {
            label.bold = value.toLower() == QLatin1String("bold") || value.toInt() >= 600;
        } else if (key == QLatin1String("color")) {
            label.foreColor = colour(value).value_or(label.foreColor);
        } else if (key == QLatin1String("background-color")) {
            if (const auto back = colour(value)) {
                label.backColor = *back;
                label.backFilled = true;
            }
        }
    }
}

std::optional<ReportControl> readControl(const QXmlStreamAttributes& a)
{
    const QString type = a.value(QLatin1String("Type")).trimmed().toString();
    ReportControl control;
    if (type == QLatin1String("AR.Image"))
        control.kind = ReportControl::Kind::Image;
    else if (type == QLatin1String("AR.Label"))
        control.kind = ReportControl::Kind::Label;
    else if (type == QLatin1String("AR.Line"))
        control.kind = ReportControl::Kind::Line;
    else if (type == QLatin1String("AR.Shape"))
        control.kind = ReportControl::Kind::Shape;
    else
        return std::nullopt;
    control.name = a.value(QLatin1String("Name")).trimmed().toString().toStdString();
    control.left = numberOr(a, "Left", 0);
    control.top = numberOr(a, "Top", 0);
    control.width = numberOr(a, "Width", 0);
    control.height = numberOr(a, "Height", 0);
    control.visible = flagOr(a, "Visible", true);
    control.sizeMode = enumOr(a, "SizeMode", 2, SizeMode::Clip);
    control.pictureAlignment = enumOr(a, "PictureAlignment", 4, PictureAlignment::TopLeft);
    control.text = (a.hasAttribute(QLatin1String("Caption")) ? a.value(QLatin1String("Caption"))
                                                              : a.value(QLatin1String("Text")))
                       .toString()
                       .toStdString();
    control.foreColor = colourOr(a, "ForeColor", control.foreColor);
    control.backFilled = flagOr(a, "BackStyle", control.kind == ReportControl::Kind::Shape &&
                                                    a.hasAttribute(QLatin1String("BackColor")));
    control.backColor = colourOr(a, "BackColor", control.backColor);
    applyStyle(control, a.value(QLatin1String("Style")).toString());
    control.x1 = numberOr(a, "X1", control.left);
    control.y1 = numberOr(a, "Y1", control.top);
    control.x2 = numberOr(a, "X2", control.left + control.width);
    control.y2 = numberOr(a, "Y2", control.top + control.height);
    control.lineWeight = numberOr(a, "LineWeight", control.lineWeight);
    control.lineColor = colourOr(a, "LineColor", control.lineColor);
    return control;
}

LayoutPageSettings readPageSettings(const QXmlStreamAttributes& a)
{
    LayoutPageSettings page;
    if (const auto orientation = number(a, "Orientation"); orientation && (*orientation == 1 || *orientation == 2))
        page.orientation = static_cast<int>(*orientation);
    const auto positive = [&a](const char* name) -> std::optional<float> {
        const auto value = number(a, name);
        return value && *value > 0 ? value : std::nullopt;
    };
    const auto margin = [&a](const char* name) -> std::optional<float> {
        const auto value = number(a, name);
        return value && *value >= 0 ? value : std::nullopt;
    };
    page.paperWidth = positive("PaperWidth");
    page.paperHeight = positive("PaperHeight");
    page.marginLeft = margin("LeftMargin");
    page.marginTop = margin("TopMargin");
    page.marginRight = margin("RightMargin");
    page.marginBottom = margin("BottomMargin");
    return page;
}

}  // namespace

std::optional<ReportLayout> parseRpx(const QByteArray& xml, std::string& error)
{
    QXmlStreamReader reader(xml);
    ReportLayout layout;
    bool sawRoot = false;
    int detailDepth = 0;  // > 0 inside the Detail section
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (detailDepth > 0)
                --detailDepth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (detailDepth > 0)
            ++detailDepth;
        const QStringView name = reader.name();
        const QXmlStreamAttributes attributes = reader.attributes();
        if (!sawRoot) {
            if (name != QLatin1String("ActiveReportsLayout")) {
                error = "not a report layout (root element " + name.toString().toStdString() + ")";
                return std::nullopt;
            }
            sawRoot = true;
        } else if (name == QLatin1String("PageSettings")) {
            layout.page = readPageSettings(attributes);
        } else if (name == QLatin1String("Section") && detailDepth == 0 &&
                   attributes.value(QLatin1String("Type")).compare(QLatin1String("Detail"), Qt::CaseInsensitive) == 0) {
            detailDepth = 1;
        } else if (name == QLatin1String("Control") && detailDepth == 2) {
            if (auto control = readControl(attributes))
                layout.controls.push_back(std::move(*control));
        }
    }
    if (reader.hasError()) {
        error = "malformed layout at line " + std::to_string(reader.lineNumber()) + ": " +
                reader.errorString().toStdString();
        return std::nullopt;
    }
    if (!sawRoot) {
        error = "not a report layout (no root element)";
        return std::nullopt;
    }
    return layout;
}

std::optional<ReportLayout> RpxTemplateLoader::load(const std::string& path, std::string& error)
{
    const QString file = QString::fromStdString(path);
    const QFileInfo info(file);
    if (!info.exists()) {
        error = "file not found";
        return std::nullopt;
    }
    if (!info.isFile()) {
        error = "not a file";
        return std::nullopt;
    }
    if (info.size() == 0) {
        error = "empty file";
        return std::nullopt;
    }
    if (info.size() > maxTemplateBytes) {
        error = "file of " + std::to_string(info.size()) + " bytes, larger than a template can be (" +
                std::to_string(maxTemplateBytes) + ")";
        return std::nullopt;
    }
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly)) {
        error = input.errorString().toStdString();
        return std::nullopt;
    }
    return parseRpx(input.read(maxTemplateBytes + 1), error);
}

QByteArray writeRpx(const ReportLayout& layout)
{
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(2);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("ActiveReportsLayout"));
    writer.writeAttribute(QStringLiteral("Version"), QStringLiteral("2.0"));
    writer.writeStartElement(QStringLiteral("PageSettings"));
    const auto put = [&writer](const char* name, std::optional<float> value) {
        if (value)
            writer.writeAttribute(QLatin1String(name), QString::number(*value, 'g', 9));
    };
    const LayoutPageSettings& page = layout.page;
    if (page.orientation)
        writer.writeAttribute(QStringLiteral("Orientation"), QString::number(*page.orientation));
    put("PaperWidth", page.paperWidth);
    put("PaperHeight", page.paperHeight);
    put("LeftMargin", page.marginLeft);
    put("RightMargin", page.marginRight);
    put("TopMargin", page.marginTop);
    put("BottomMargin", page.marginBottom);
    writer.writeEndElement();
    writer.writeStartElement(QStringLiteral("Sections"));
    writer.writeStartElement(QStringLiteral("Section"));
    writer.writeAttribute(QStringLiteral("Type"), QStringLiteral("Detail"));
    writer.writeAttribute(QStringLiteral("Name"), QStringLiteral("Detail"));
    for (const ReportControl& c : layout.controls) {
        writer.writeStartElement(QStringLiteral("Control"));
        static const char* const types[] = {"AR.Image", "AR.Label", "AR.Line", "AR.Shape"};
        writer.writeAttribute(QStringLiteral("Type"), QLatin1String(types[static_cast<int>(c.kind)]));
        writer.writeAttribute(QStringLiteral("Name"), QString::fromStdString(c.name));
        put("Left", c.left);
        put("Top", c.top);
        put("Width", c.width);
        put("Height", c.height);
        writer.writeAttribute(QStringLiteral("Visible"), c.visible ? QStringLiteral("1") : QStringLiteral("0"));
        switch (c.kind) {
        case ReportControl::Kind::Image:
            writer.writeAttribute(QStringLiteral("SizeMode"), QString::number(static_cast<int>(c.sizeMode)));
            writer.writeAttribute(QStringLiteral("PictureAlignment"),
                                  QString::number(static_cast<int>(c.pictureAlignment)));
            break;
        case ReportControl::Kind::Label:
            writer.writeAttribute(QStringLiteral("Caption"), QString::fromStdString(c.text));
            writer.writeAttribute(QStringLiteral("Style"),
                                  QStringLiteral("font-family: %1; font-size: %2pt; font-weight: %3")
                                      .arg(QString::fromStdString(c.fontName))
                                      .arg(c.fontSize)
                                      .arg(c.bold ? QStringLiteral("bold") : QStringLiteral("normal")));
            writer.writeAttribute(QStringLiteral("ForeColor"), QString::number(c.foreColor));
            break;
        case ReportControl::Kind::Line:
            put("X1", c.x1);
            put("Y1", c.y1);
            put("X2", c.x2);
            put("Y2", c.y2);
            put("LineWeight", c.lineWeight);
            writer.writeAttribute(QStringLiteral("LineColor"), QString::number(c.lineColor));
            break;
        case ReportControl::Kind::Shape:
            writer.writeAttribute(QStringLiteral("BackStyle"), c.backFilled ? QStringLiteral("1") : QStringLiteral("0"));
            writer.writeAttribute(QStringLiteral("BackColor"), QString::number(c.backColor));
            break;
        }
        writer.writeEndElement();
    }
    writer.writeEndElement();  // Section
    writer.writeEndElement();  // Sections
    writer.writeEndElement();  // ActiveReportsLayout
    writer.writeEndDocument();
    return bytes;
}

}  // namespace vantorel::template_composition
