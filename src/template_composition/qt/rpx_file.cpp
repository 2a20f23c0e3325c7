#include "template_composition/qt/rpx_file.h"

#include "direct_composition/qt/film_page_painter.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>
#include <functional>
#include <optional>

namespace vantorel::template_composition {

namespace {

constexpr float maxTwips = 1.0e6f;
// The child element of an image control that holds its own picture.
const std::string pictureElement = "Picture";

[[nodiscard]] std::optional<float> number(const QXmlStreamAttributes& attributes, const char* name)
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
[[nodiscard]] std::optional<std::uint32_t> colour(QStringView text)
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
// Entries it does not use are kept in `keptStyle`, as written.
void applyStyle(ReportControl& label, const QString& style)
{
    QStringList kept;
    for (const QString& part : style.split(u';', Qt::SkipEmptyParts)) {
        const int colon = part.indexOf(u':');
        if (colon < 0) {
            if (!part.trimmed().isEmpty())
                kept << part.trimmed();
            continue;
        }
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
        } else {
            kept << part.trimmed();
        }
    }
    label.keptStyle = kept.join(QStringLiteral("; ")).toStdString();
}

// The attributes the writer writes for a control of this kind; the others
// are kept.
bool writtenAttribute(ReportControl::Kind kind, QStringView name)
{
    static const QStringList common{"Type", "Name", "Left", "Top", "Width", "Height", "Visible"};
    static const QStringList image{"SizeMode", "PictureAlignment"};
    static const QStringList label{"Caption", "Text", "Style", "ForeColor", "BackStyle", "BackColor"};
    static const QStringList line{"X1", "Y1", "X2", "Y2", "LineWeight", "LineColor"};
    static const QStringList shape{"BackStyle", "BackColor"};
    if (common.contains(name))
        return true;
    switch (kind) {
    case ReportControl::Kind::Image:
        return image.contains(name);
    case ReportControl::Kind::Label:
        return label.contains(name);
    case ReportControl::Kind::Line:
        return line.contains(name);
    case ReportControl::Kind::Shape:
        return shape.contains(name);
    }
    return false;
}

KeptAttributes keptAttributes(const QXmlStreamAttributes& attributes,
                              const std::function<bool(QStringView)>& written)
{
    KeptAttributes kept;
    for (const QXmlStreamAttribute& a : attributes)
        if (!written(a.qualifiedName()))
            kept.emplace_back(a.qualifiedName().toString().toStdString(), a.value().toString().toStdString());
    return kept;
}

// The element the reader stands on, with everything inside it; the reader
// ends on its end tag. Blank character data between elements is dropped.
KeptElement readKept(QXmlStreamReader& reader)
{
    KeptElement element;
    element.name = reader.qualifiedName().toString().toStdString();
    element.attributes = keptAttributes(reader.attributes(), [](QStringView) { return false; });
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            element.children.push_back(readKept(reader));
        } else if (token == QXmlStreamReader::EndElement) {
            break;
        } else if (token == QXmlStreamReader::Characters && !reader.isWhitespace()) {
            KeptElement text;
            text.text = reader.text().toString().toStdString();
            element.children.push_back(std::move(text));
        }
    }
    return element;
}

// An embedded picture of an image control (a logo): PNG or another format
// Qt reads, in Base64.
[[nodiscard]] bool readPicture(const KeptElement& element, ReportControl& control)
{
    if (element.name != pictureElement || element.children.size() != 1 || !element.children[0].name.empty())
        return false;
    const QImage image =
        QImage::fromData(QByteArray::fromBase64(QByteArray::fromStdString(element.children[0].text)));
    if (image.isNull())
        return false;
    control.picture = direct_composition::fromQImage(image);
    return !control.picture.isNull();
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
    control.backFilled =
        flagOr(a, "BackStyle",
               control.kind == ReportControl::Kind::Shape && a.hasAttribute(QLatin1String("BackColor")));
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
    if (const auto orientation = number(a, "Orientation");
        orientation && (*orientation == 1 || *orientation == 2))
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

namespace {

// A control of the Detail section (the reader on its start tag): a control
// the film uses, or nothing when it is of another type (then kept whole).
std::optional<ReportControl> readDetailControl(QXmlStreamReader& reader, KeptElement& whole)
{
    whole = readKept(reader);
    if (whole.name != "Control")
        return std::nullopt;
    QXmlStreamAttributes attributes;
    for (const auto& [name, value] : whole.attributes)
        attributes.append(QString::fromStdString(name), QString::fromStdString(value));
    auto control = readControl(attributes);
    if (!control)
        return std::nullopt;
    const ReportControl::Kind kind = control->kind;
    control->keptAttributes =
        keptAttributes(attributes, [kind](QStringView name) { return writtenAttribute(kind, name); });
    for (KeptElement& child : whole.children)
        if (kind != ReportControl::Kind::Image || !readPicture(child, *control))
            control->keptChildren.push_back(std::move(child));
    return control;
}

void readDetail(QXmlStreamReader& reader, ReportLayout& layout)
{
    if (reader.attributes().hasAttribute(QLatin1String("Name")))
        layout.kept.detailName = reader.attributes().value(QLatin1String("Name")).toString().toStdString();
    layout.kept.detailAttributes = keptAttributes(reader.attributes(), [](QStringView name) {
        return name == QLatin1String("Type") || name == QLatin1String("Name");
    });
    while (reader.readNextStartElement()) {
        KeptElement whole;
        if (auto control = readDetailControl(reader, whole))
            layout.controls.push_back(std::move(*control));
        else
            layout.kept.detailElements.emplace_back(layout.controls.size(), std::move(whole));
    }
}

bool isDetail(const QXmlStreamReader& reader)
{
    return reader.name() == QLatin1String("Section") &&
        reader.attributes()
            .value(QLatin1String("Type"))
            .trimmed()
            .compare(QLatin1String("Detail"), Qt::CaseInsensitive) == 0;
}

void readSections(QXmlStreamReader& reader, ReportLayout& layout)
{
    KeptLayout& kept = layout.kept;
    kept.sectionsAttributes = keptAttributes(reader.attributes(), [](QStringView) { return false; });
    bool sawDetail = false;
    while (reader.readNextStartElement()) {
        if (!sawDetail && isDetail(reader)) {
            sawDetail = true;
            readDetail(reader, layout);
        } else {
            (sawDetail ? kept.afterDetail : kept.beforeDetail).push_back(readKept(reader));
        }
    }
}

void readPage(QXmlStreamReader& reader, ReportLayout& layout)
{
    static const QStringList read{"Orientation", "PaperWidth",  "PaperHeight", "LeftMargin",
                                  "TopMargin",   "RightMargin", "BottomMargin"};
    layout.page = readPageSettings(reader.attributes());
    layout.kept.pageAttributes =
        keptAttributes(reader.attributes(), [](QStringView name) { return read.contains(name); });
    layout.kept.pageChildren = readKept(reader).children;
}

}  // namespace

base::Result<ReportLayout> parseRpx(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    reader.setNamespaceProcessing(false);
    ReportLayout layout;
    if (reader.readNextStartElement()) {
        if (reader.name() != QLatin1String("ActiveReportsLayout"))
            return base::Failure{"not a report layout (root element " +
                                 reader.name().toString().toStdString() + ")"};
        KeptLayout& kept = layout.kept;
        kept.rootAttributes = keptAttributes(
            reader.attributes(), [](QStringView name) { return name == QLatin1String("Version"); });
        bool sawPage = false, sawSections = false;
        while (reader.readNextStartElement()) {
            if (reader.name() == QLatin1String("PageSettings")) {
                sawPage = true;
                readPage(reader, layout);
            } else if (reader.name() == QLatin1String("Sections") && !sawSections) {
                sawSections = true;
                readSections(reader, layout);
            } else {
                (sawSections   ? kept.afterSections
                     : sawPage ? kept.beforeSections
                               : kept.beforePage)
                    .push_back(readKept(reader));
            }
        }
        // Nothing may follow the root but comments and blanks.
        while (!reader.atEnd() && !reader.hasError())
            reader.readNext();
    } else if (!reader.hasError()) {
        return base::Failure{"not a report layout (no root element)"};
    }
    if (reader.hasError())
        return base::Failure{"malformed layout at line " + std::to_string(reader.lineNumber()) + ": " +
                             reader.errorString().toStdString()};
    return layout;
}

base::Result<ReportLayout> RpxTemplateLoader::load(const std::string& path)
{
    const QString file = QString::fromStdString(path);
    const QFileInfo info(file);
    if (!info.exists())
        return base::Failure{"file not found"};
    if (!info.isFile())
        return base::Failure{"not a file"};
    if (info.size() == 0)
        return base::Failure{"empty file"};
    if (info.size() > maxTemplateBytes)
        return base::Failure{"file of " + std::to_string(info.size()) +
                             " bytes, larger than a template can be (" + std::to_string(maxTemplateBytes) +
                             ")"};
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return base::Failure{input.errorString().toStdString()};
    return parseRpx(input.read(maxTemplateBytes + 1));
}

namespace {

void writeAttributes(QXmlStreamWriter& writer, const KeptAttributes& attributes)
{
    for (const auto& [name, value] : attributes)
        writer.writeAttribute(QString::fromStdString(name), QString::fromStdString(value));
}

void writeKept(QXmlStreamWriter& writer, const KeptElement& element)
{
    if (element.name.empty()) {
        writer.writeCharacters(QString::fromStdString(element.text));
        return;
    }
    writer.writeStartElement(QString::fromStdString(element.name));
    writeAttributes(writer, element.attributes);
    for (const KeptElement& child : element.children)
        writeKept(writer, child);
    writer.writeEndElement();
}

void writeKept(QXmlStreamWriter& writer, const std::vector<KeptElement>& elements)
{
    for (const KeptElement& element : elements)
        writeKept(writer, element);
}

class LayoutWriter {
public:
    explicit LayoutWriter(QByteArray& bytes) : writer_(&bytes)
    {
        writer_.setAutoFormatting(true);
        writer_.setAutoFormattingIndent(2);
    }

    void write(const ReportLayout& layout)
    {
        const KeptLayout& kept = layout.kept;
        writer_.writeStartDocument();
        writer_.writeStartElement(QStringLiteral("ActiveReportsLayout"));
        writer_.writeAttribute(QStringLiteral("Version"), QStringLiteral("2.0"));
        writeAttributes(writer_, kept.rootAttributes);
        writeKept(writer_, kept.beforePage);
        writePage(layout);
        writeKept(writer_, kept.beforeSections);
        writer_.writeStartElement(QStringLiteral("Sections"));
        writeAttributes(writer_, kept.sectionsAttributes);
        writeKept(writer_, kept.beforeDetail);
        writer_.writeStartElement(QStringLiteral("Section"));
        writer_.writeAttribute(QStringLiteral("Type"), QStringLiteral("Detail"));
        writer_.writeAttribute(QStringLiteral("Name"), QString::fromStdString(kept.detailName));
        writeAttributes(writer_, kept.detailAttributes);
        for (std::size_t i = 0; i <= layout.controls.size(); ++i) {
            for (const auto& [before, element] : kept.detailElements)
                if (before == i || (i == layout.controls.size() && before > i))
                    writeKept(writer_, element);
            if (i < layout.controls.size())
                writeControl(layout.controls[i]);
        }
        writer_.writeEndElement();  // Section
        writeKept(writer_, kept.afterDetail);
        writer_.writeEndElement();  // Sections
        writeKept(writer_, kept.afterSections);
        writer_.writeEndElement();  // ActiveReportsLayout
        writer_.writeEndDocument();
    }

private:
    void put(const char* name, std::optional<float> value)
    {
        if (value)
            writer_.writeAttribute(QLatin1String(name), QString::number(*value, 'g', 9));
    }

    void writePage(const ReportLayout& layout)
    {
        const LayoutPageSettings& page = layout.page;
        writer_.writeStartElement(QStringLiteral("PageSettings"));
        if (page.orientation)
            writer_.writeAttribute(QStringLiteral("Orientation"), QString::number(*page.orientation));
        put("PaperWidth", page.paperWidth);
        put("PaperHeight", page.paperHeight);
        put("LeftMargin", page.marginLeft);
        put("RightMargin", page.marginRight);
        put("TopMargin", page.marginTop);
        put("BottomMargin", page.marginBottom);
        writeAttributes(writer_, layout.kept.pageAttributes);
        writeKept(writer_, layout.kept.pageChildren);
        writer_.writeEndElement();
    }

    void writeControl(const ReportControl& c)
    {
        writer_.writeStartElement(QStringLiteral("Control"));
        static const char* const types[] = {"AR.Image", "AR.Label", "AR.Line", "AR.Shape"};
        writer_.writeAttribute(QStringLiteral("Type"), QLatin1String(types[static_cast<int>(c.kind)]));
        writer_.writeAttribute(QStringLiteral("Name"), QString::fromStdString(c.name));
        put("Left", c.left);
        put("Top", c.top);
        put("Width", c.width);
        put("Height", c.height);
        writer_.writeAttribute(QStringLiteral("Visible"),
                               c.visible ? QStringLiteral("1") : QStringLiteral("0"));
        switch (c.kind) {
        case ReportControl::Kind::Image:
            writer_.writeAttribute(QStringLiteral("SizeMode"), QString::number(static_cast<int>(c.sizeMode)));
            writer_.writeAttribute(QStringLiteral("PictureAlignment"),
                                   QString::number(static_cast<int>(c.pictureAlignment)));
            break;
        case ReportControl::Kind::Label: {
            writer_.writeAttribute(QStringLiteral("Caption"), QString::fromStdString(c.text));
            QString style = QStringLiteral("font-family: %1; font-size: %2pt; font-weight: %3")
                                .arg(QString::fromStdString(c.fontName))
                                .arg(c.fontSize)
                                .arg(c.bold ? QStringLiteral("bold") : QStringLiteral("normal"));
            if (!c.keptStyle.empty())
                style += QStringLiteral("; ") + QString::fromStdString(c.keptStyle);
            writer_.writeAttribute(QStringLiteral("Style"), style);
            writer_.writeAttribute(QStringLiteral("ForeColor"), QString::number(c.foreColor));
            if (c.backFilled) {
                writer_.writeAttribute(QStringLiteral("BackStyle"), QStringLiteral("1"));
                writer_.writeAttribute(QStringLiteral("BackColor"), QString::number(c.backColor));
            }
            break;
        }
        case ReportControl::Kind::Line:
            put("X1", c.x1);
            put("Y1", c.y1);
            put("X2", c.x2);
            put("Y2", c.y2);
            put("LineWeight", c.lineWeight);
            writer_.writeAttribute(QStringLiteral("LineColor"), QString::number(c.lineColor));
            break;
        case ReportControl::Kind::Shape:
            writer_.writeAttribute(QStringLiteral("BackStyle"),
                                   c.backFilled ? QStringLiteral("1") : QStringLiteral("0"));
            writer_.writeAttribute(QStringLiteral("BackColor"), QString::number(c.backColor));
            break;
        }
        writeAttributes(writer_, c.keptAttributes);
        if (c.kind == ReportControl::Kind::Image && !c.picture.isNull())
            writePicture(c.picture);
        writeKept(writer_, c.keptChildren);
        writer_.writeEndElement();
    }

    void writePicture(const direct_composition::Picture& picture)
    {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!direct_composition::toQImage(picture).save(&buffer, "PNG"))
            return;
        writer_.writeStartElement(QString::fromStdString(pictureElement));
        writer_.writeAttribute(QStringLiteral("Format"), QStringLiteral("PNG"));
        writer_.writeCharacters(QString::fromLatin1(png.toBase64()));
        writer_.writeEndElement();
    }

    QXmlStreamWriter writer_;
};

}  // namespace

QByteArray writeRpx(const ReportLayout& layout)
{
    QByteArray bytes;
    LayoutWriter(bytes).write(layout);
    return bytes;
}

}  // namespace vantorel::template_composition
