#include "direct_composition/qt/film_text_pdf.h"

#include "direct_composition/qt/film_page_painter.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace vantorel::direct_composition {

namespace {

// One PDF as Qt's engine writes it: a classic cross-reference table, every
// object written once, one after the other.
class QtPdf {
public:
    explicit QtPdf(std::string bytes) : bytes_(std::move(bytes)) { read(); }

    bool valid() const { return valid_; }
    int objectCount() const { return static_cast<int>(offsets_.size()); }
    int root() const { return root_; }
    int info() const { return info_; }

    // Object `n` from "n 0 obj" to just before the next object (or the table).
    std::string object(int n) const
    {
        const std::size_t begin = offsets_[static_cast<std::size_t>(n)];
        const auto next = std::upper_bound(sorted_.begin(), sorted_.end(), begin);
        const std::size_t end = next == sorted_.end() ? xref_ : *next;
        return bytes_.substr(begin, end - begin);
    }

    // The number after `key` in object `n` as a reference ("key N 0 R"); 0 when none.
    int reference(int n, const std::string& key) const { return referenceIn(object(n), key); }

    static int referenceIn(const std::string& text, const std::string& key)
    {
        const std::regex pattern(key + R"(\s*\[?\s*(\d+)\s+0\s+R)");
        std::smatch match;
        return std::regex_search(text, match, pattern) ? std::stoi(match[1]) : 0;
    }

private:
    void read()
    {
        const std::size_t start = bytes_.rfind("startxref");
        if (start == std::string::npos)
            return;
        xref_ = std::strtoul(bytes_.c_str() + start + 9, nullptr, 10);
        if (xref_ >= bytes_.size() || bytes_.compare(xref_, 4, "xref") != 0)
            return;
        const char* p = bytes_.c_str() + xref_ + 4;
        char* end = nullptr;
        const long first = std::strtol(p, &end, 10);
        const long count = std::strtol(end, &end, 10);
        if (first != 0 || count <= 1)
            return;
        offsets_.assign(static_cast<std::size_t>(count), 0);
        for (long i = 0; i < count; ++i) {
            const std::size_t offset = std::strtoul(end, &end, 10);
            std::strtoul(end, &end, 10);
            while (*end == ' ')
                ++end;
            const char kind = *end++;
            if (i > 0 && kind == 'n') {
                if (offset >= xref_)
                    return;
                offsets_[static_cast<std::size_t>(i)] = offset;
                sorted_.push_back(offset);
            }
        }
        std::sort(sorted_.begin(), sorted_.end());
        const std::string trailer = bytes_.substr(xref_);
        root_ = referenceIn(trailer, "/Root");
        info_ = referenceIn(trailer, "/Info");
        valid_ = root_ > 0 && root_ < count && static_cast<std::size_t>(count - 1) == sorted_.size();
    }

    std::string bytes_;
    std::vector<std::size_t> offsets_;  // by object number; 0 for the free entry
    std::vector<std::size_t> sorted_;
    std::size_t xref_ = 0;
    int root_ = 0;
    int info_ = 0;
    bool valid_ = false;
};

// The object renumbered: its own number and every reference in its
// dictionary moved by `shift`; a stream's bytes stay as they are.
std::string renumbered(const std::string& object, int shift)
{
    const std::size_t stream = object.find("stream");
    const std::string head = object.substr(0, stream);
    static const std::regex reference(R"((\d+)(\s+0\s+)(R|obj)\b)");
    std::string out;
    auto last = head.cbegin();
    for (auto it = std::sregex_iterator(head.begin(), head.end(), reference); it != std::sregex_iterator();
         ++it) {
        out.append(last, head.cbegin() + it->position());
        out += std::to_string(std::stoi((*it)[1]) + shift) + (*it)[2].str() + (*it)[3].str();
        last = head.cbegin() + it->position() + it->length();
    }
    out.append(last, head.cend());
    if (stream != std::string::npos)
        out += object.substr(stream);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' '))
        out.pop_back();
    return out;
}

std::string points(double value)
{
    return QByteArray::number(value, 'f', 4).toStdString();
}

// Everything the text page depends on: the sheet, the origin and every text
// operation.
std::string textKey(const FilmPage& page, const PdfSheet& sheet)
{
    std::string key = points(sheet.widthPoints) + ' ' + points(sheet.heightPoints) + ' ' +
        points(sheet.printableLeftPoints) + ' ' + points(sheet.printableTopPoints) + ' ' +
        points(page.originX) + ' ' + points(page.originY);
    for (const DrawOp& op : page.ops) {
        if (op.kind != DrawOp::Kind::Text)
            continue;
        key += '\n' + points(op.rect.x) + ' ' + points(op.rect.y) + ' ' + std::to_string(op.style.colour) +
            ' ' + points(op.style.pointSize) + (op.style.bold ? " bold " : " ") + op.style.font + '\t' +
            op.text;
    }
    return key;
}

// The text page as Qt's PDF engine writes it.
std::string textPdf(const FilmPage& page, const PdfSheet& sheet)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        // One device pixel per twip.
        writer.setResolution(1440);
        writer.setPageLayout(
            QPageLayout(QPageSize(QSizeF(sheet.widthPoints, sheet.heightPoints), QPageSize::Point),
                        QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.translate(sheet.printableLeftPoints * 20 + page.originX,
                          sheet.printableTopPoints * 20 + page.originY);
        for (const DrawOp& op : page.ops)
            if (op.kind == DrawOp::Kind::Text)
                paintFilmText(painter, op);
        if (!painter.end())
            return {};
    }
    return buffer.data().toStdString();
}

}  // namespace

bool FilmTextOverlay::draw(const FilmPage& page, const PdfSheet& sheet, int firstObject, PdfOverlay& overlay)
{
    std::string key = textKey(page, sheet);
    if (key != key_ || pdf_.empty()) {
        pdf_ = textPdf(page, sheet);
        key_ = pdf_.empty() ? std::string() : std::move(key);
    }
    const QtPdf pdf(pdf_);
    if (!pdf.valid())
        return false;
    const int pages = pdf.reference(pdf.root(), "/Pages");
    const int pageObject = pages > 0 ? pdf.reference(pages, "/Kids") : 0;
    if (pageObject <= 0 || pageObject >= pdf.objectCount())
        return false;
    const std::string pageText = pdf.object(pageObject);
    const int contents = QtPdf::referenceIn(pageText, "/Contents");
    const int resources = QtPdf::referenceIn(pageText, "/Resources");
    if (contents <= 0 || resources <= 0 || contents >= pdf.objectCount())
        return false;

    // Qt's objects 1 ... n - 1 become firstObject ... ; the catalog, the page
    // tree, the page and the document information are not needed and stay
    // as empty objects so that the numbers run on.
    const int shift = firstObject - 1;
    overlay.objects.clear();
    for (int n = 1; n < pdf.objectCount(); ++n) {
        const std::string number = std::to_string(n + shift) + " 0 obj\n";
        if (n == pdf.root() || n == pages || n == pageObject || n == pdf.info()) {
            overlay.objects.push_back(number + "null\nendobj");
            continue;
        }
        std::string object = renumbered(pdf.object(n), shift);
        if (n == contents) {
            // The page's content becomes a form of the whole sheet.
            const std::size_t open = object.find("<<");
            if (open == std::string::npos)
                return false;
            object.insert(open + 2,
                          " /Type /XObject /Subtype /Form /BBox [0 0 " + points(sheet.widthPoints) + ' ' +
                              points(sheet.heightPoints) + "] /Resources " +
                              std::to_string(resources + shift) + " 0 R ");
        }
        overlay.objects.push_back(object);
    }
    overlay.form = contents + shift;
    return true;
}

}  // namespace vantorel::direct_composition
