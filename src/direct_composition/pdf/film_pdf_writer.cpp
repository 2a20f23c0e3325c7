#include "direct_composition/pdf/film_pdf_writer.h"

#include "base/result.h"
#include "direct_composition/picture_scaling.h"
#include "direct_composition/worker_pool.h"

#include <libdeflate.h>

#include <cstdio>  // jpeglib.h needs FILE
#include <jpeglib.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

namespace vantorel::direct_composition {

bool filmImageCompressionOf(const std::string& keyword, FilmImageCompression& compression)
{
    std::string word;
    for (char c : keyword)
        if (!std::isspace(static_cast<unsigned char>(c)))
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (word == "lossless")
        compression = FilmImageCompression::Lossless;
    else if (word == "jpeg")
        compression = FilmImageCompression::Jpeg;
    else
        return false;
    return true;
}

namespace {

constexpr int jpegQuality = 94;
// A picture with at most a quarter of the dots its rectangle has at 300 dpi
// (across or down) is enlarged by us to that resolution as its magnification
// asks: viewers and printers would each stretch it their own way, and some
// place its pixels off their centres. One closer to that resolution goes at
// its own; what scaling is left is the device's, smoothed or not as
// /Interpolate says (PDF viewers smooth below 4x whatever it says).
constexpr double dotsPerTwip = 300.0 / 1440.0;
constexpr double enlargedFrom = 4.0;

using Pixels = std::shared_ptr<const std::vector<std::uint8_t>>;

// One image XObject: its samples, and once encoded, its stream.
struct PdfImage {
    Picture source;  // before enlarging
    Magnification magnification = Magnification::Bilinear;
    int width = 0;  // as written
    int height = 0;
    bool grey = true;
    Pixels pixels;  // as written: tightly packed rows, top row first
    bool interpolate = false;
    bool jpeg = false;
    int flateLevel = defaultFlateLevel;

    std::string stream;      // encoded samples
    bool predicted = false;  // Flate over rows filtered with PNG's Up predictor
    bool encoded = false;
    std::string failure;  // what encoding threw
    int object = 0;
};

std::string number(double value)
{
    char text[48];
    std::snprintf(text, sizeof(text), "%.4f", value);
    std::string s = text;
    s.erase(s.find_last_not_of('0') + 1);
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    if (s == "-0" || s.empty())
        s = "0";
    return s;
}

std::string level(std::uint8_t value)
{
    return number(value / 255.0);
}

// The picture's samples as DeviceGray when every pixel is grey; null otherwise.
Pixels greyOf(const Picture& picture)
{
    if (picture.format == Picture::Format::Gray8)
        return picture.pixels;
    const std::size_t count = static_cast<std::size_t>(picture.width) * picture.height;
    const std::uint8_t* rgb = picture.pixels->data();
    for (std::size_t i = 0; i < count; ++i)
        if (rgb[i * 3] != rgb[i * 3 + 1] || rgb[i * 3] != rgb[i * 3 + 2])
            return nullptr;
    auto grey = std::make_shared<std::vector<std::uint8_t>>(count);
    for (std::size_t i = 0; i < count; ++i)
        (*grey)[i] = rgb[i * 3];
    return grey;
}

struct CompressorDeleter {
    void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

// Flate (zlib) over the rows, each led by PNG's Up filter: film pictures are
// smooth from row to row, so the differences pack far better than the greys.
[[nodiscard]] bool encodeFlate(PdfImage& image)
{
    // One compressor per thread and level, kept for the next film.
    thread_local std::map<int, std::unique_ptr<libdeflate_compressor, CompressorDeleter>> compressors;
    auto& compressor = compressors[image.flateLevel];
    if (!compressor)
        compressor.reset(libdeflate_alloc_compressor(image.flateLevel));
    if (!compressor)
        return false;
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * (image.grey ? 1 : 3);
    const std::uint8_t* source = image.pixels->data();
    // Working buffers kept by the thread for the next picture, never cleared:
    // every byte is written before it is read.
    thread_local std::vector<std::uint8_t> filtered;
    thread_local std::vector<std::uint8_t> packed;
    const std::size_t filteredSize = (rowBytes + 1) * image.height;
    if (filtered.size() < filteredSize)
        filtered.resize(filteredSize);
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* out = filtered.data() + (rowBytes + 1) * y;
        const std::uint8_t* row = source + rowBytes * y;
        out[0] = 2;  // Up
        if (y == 0) {
            std::memcpy(out + 1, row, rowBytes);
            continue;
        }
        const std::uint8_t* above = row - rowBytes;
        for (std::size_t x = 0; x < rowBytes; ++x)
            out[1 + x] = static_cast<std::uint8_t>(row[x] - above[x]);
    }
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor.get(), filteredSize);
    if (packed.size() < bound)
        packed.resize(bound);
    const std::size_t size =
        libdeflate_zlib_compress(compressor.get(), filtered.data(), filteredSize, packed.data(), bound);
    if (size == 0)
        return false;
    image.stream.assign(reinterpret_cast<const char*>(packed.data()), size);
    // A very large picture's buffers are not kept: a film of them would
    // otherwise stay in memory for good.
    constexpr std::size_t keptBytes = 16u << 20;
    if (filtered.size() > keptBytes || packed.size() > keptBytes) {
        std::vector<std::uint8_t>().swap(filtered);
        std::vector<std::uint8_t>().swap(packed);
    }
    image.predicted = true;
    return true;
}

struct JpegFailure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jpegFailed(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegFailure*>(info->err)->jump, 1);
}

// Baseline JPEG at quality 94, one grey component for grey pictures.
[[nodiscard]] bool encodeJpeg(PdfImage& image)
{
    jpeg_compress_struct info;
    JpegFailure failure;
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = jpegFailed;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(failure.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.width);
    info.image_height = static_cast<JDIMENSION>(image.height);
    info.input_components = image.grey ? 1 : 3;
    info.in_color_space = image.grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, jpegQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * info.input_components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.pixels->data() + rowBytes * info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    image.stream.assign(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return true;
}

// The samples as written: enlarged when asked, grey when grey.
[[nodiscard]] bool prepare(PdfImage& image)
{
    if (image.pixels)
        return true;
    Picture picture = image.source;
    if (picture.width != image.width || picture.height != image.height) {
        switch (image.magnification) {
        case Magnification::Replicate:
            picture = scaleNearest(picture, image.width, image.height);
            break;
        case Magnification::Cubic:
            picture = scaleBicubic(picture, image.width, image.height);
            break;
        default:
            picture = scaleBilinear(picture, image.width, image.height);
            break;
        }
        if (picture.isNull())
            return false;
    }
    image.pixels = greyOf(picture);
    image.grey = image.pixels != nullptr;
    if (!image.grey)
        image.pixels = picture.pixels;
    image.source = {};
    return true;
}

void encode(PdfImage& image)
{
    try {
        image.encoded = prepare(image) && (image.jpeg ? encodeJpeg(image) : encodeFlate(image));
    } catch (...) {
        image.encoded = false;
        image.failure = base::currentExceptionReason();
    }
    image.pixels.reset();  // the samples are no longer needed
}

// A PDF text string: literal when plain ASCII, else UTF-16BE in hex.
std::string pdfText(const std::string& text)
{
    const bool ascii = std::all_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F;
    });
    if (ascii) {
        std::string literal = "(";
        for (char c : text) {
            if (c == '(' || c == ')' || c == '\\')
                literal += '\\';
            literal += c;
        }
        return literal + ")";
    }
    std::string hex = "<FEFF";
    const auto unit = [&hex](unsigned value) {
        char digits[8];
        std::snprintf(digits, sizeof(digits), "%04X", value & 0xFFFF);
        hex += digits;
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        unsigned code = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + k < text.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            unit(0xD800 + (code >> 10));
            unit(0xDC00 + (code & 0x3FF));
        } else {
            unit(code);
        }
    }
    return hex + ">";
}

// Collects the page's images and drawing operators.
class PageBuilder {
public:
    explicit PageBuilder(const FilmPdfOptions& options) : options_(options) {}

    void add(const DrawOp& op)
    {
        if (op.kind == DrawOp::Kind::Text) {
            hasText_ = true;
            return;
        }
        if (op.picture.isNull())
            return;
        if (op.picture.width == 1 && op.picture.height == 1) {
            fill(op.picture, op.rect);
            return;
        }
        addPicture(op);
    }

    std::vector<PdfImage>& images() { return images_; }
    bool hasText() const { return hasText_; }
    const std::string& content() const { return content_; }

private:
    void fill(const Picture& pixel, const RectF& rect)
    {
        const auto& p = *pixel.pixels;
        if (pixel.format == Picture::Format::Gray8 || (p[0] == p[1] && p[1] == p[2]))
            content_ += level(p[0]) + " g ";
        else
            content_ += level(p[0]) + ' ' + level(p[1]) + ' ' + level(p[2]) + " rg ";
        content_ += number(rect.x) + ' ' + number(rect.y) + ' ' + number(rect.width) + ' ' +
            number(rect.height) + " re f\n";
    }

    void addPicture(const DrawOp& op)
    {
        const Picture& picture = op.picture;
        int width = picture.width;
        int height = picture.height;
        const double dotsAcross = op.rect.width * dotsPerTwip;
        const double dotsDown = op.rect.height * dotsPerTwip;
        if (op.magnification != Magnification::None && dotsAcross <= 20000 && dotsDown <= 20000 &&
            (dotsAcross >= enlargedFrom * width || dotsDown >= enlargedFrom * height)) {
            width = std::max(width, static_cast<int>(std::lround(dotsAcross)));
            height = std::max(height, static_cast<int>(std::lround(dotsDown)));
        }
        const bool interpolate =
            op.magnification == Magnification::Bilinear || op.magnification == Magnification::Cubic;
        const auto key = std::make_tuple(static_cast<const void*>(picture.pixels.get()), picture.width,
                                         picture.height, width, height, int(op.magnification));
        auto known = known_.find(key);
        if (known == known_.end()) {
            PdfImage image;
            image.source = picture;
            image.magnification = op.magnification;
            image.width = width;
            image.height = height;
            image.interpolate = interpolate;
            image.jpeg = options_.compression == FilmImageCompression::Jpeg;
            image.flateLevel = options_.flateLevel;
            images_.push_back(std::move(image));
            known = known_.emplace(key, images_.size() - 1).first;
        }
        place(known->second, op.rect);
    }

    // The image's unit square onto the rectangle, its top row at the top.
    void place(std::size_t image, const RectF& rect)
    {
        content_ += "q " + number(rect.width) + " 0 0 " + number(-rect.height) + ' ' + number(rect.x) + ' ' +
            number(rect.y + rect.height) + " cm /Im" + std::to_string(image) + " Do Q\n";
    }

    const FilmPdfOptions& options_;
    std::vector<PdfImage> images_;
    std::map<std::tuple<const void*, int, int, int, int, int>, std::size_t> known_;
    std::string content_;
    bool hasText_ = false;
};

// Writes numbered objects and remembers where each begins.
class ObjectWriter {
public:
    explicit ObjectWriter(const PdfSink& sink) : sink_(sink) {}

    // A piece the sink refuses stops the writing: nothing more is sent, and
    // finish() says whether every piece was taken.
    void put(const std::string& text) { put(text.data(), text.size()); }
    void put(const char* data, std::size_t size)
    {
        if (!ok_ || size == 0)
            return;
        ok_ = sink_(data, size);
        offset_ += size;
    }

    int reserve()
    {
        offsets_.push_back(0);
        return static_cast<int>(offsets_.size());
    }
    void begin(int object)
    {
        offsets_[static_cast<std::size_t>(object - 1)] = offset_;
        put(std::to_string(object) + " 0 obj\n");
    }
    void object(int object, const std::string& body)
    {
        begin(object);
        put(body);
        put("\nendobj\n");
    }
    void stream(int object, const std::string& dictionary, const std::string& data)
    {
        begin(object);
        put(dictionary);
        put("\nstream\n");
        put(data);
        put("\nendstream\nendobj\n");
    }

    // A complete object made elsewhere, numbered as reserved.
    void raw(int object, const std::string& text)
    {
        offsets_[static_cast<std::size_t>(object - 1)] = offset_;
        put(text);
        put("\n");
    }

    [[nodiscard]] bool finish(int root, int info)
    {
        const std::size_t xref = offset_;
        std::string table = "xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n";
        for (std::size_t offset : offsets_) {
            char entry[24];
            std::snprintf(entry, sizeof(entry), "%010zu 00000 n \n", offset);
            table += entry;
        }
        table += "trailer\n<< /Size " + std::to_string(offsets_.size() + 1) + " /Root " +
            std::to_string(root) + " 0 R /Info " + std::to_string(info) + " 0 R >>\nstartxref\n" +
            std::to_string(xref) + "\n%%EOF\n";
        put(table);
        return ok_;
    }

private:
    const PdfSink& sink_;
    std::size_t offset_ = 0;
    std::vector<std::size_t> offsets_;
    bool ok_ = true;
};

std::string imageDictionary(const PdfImage& image)
{
    std::string d = "<< /Type /XObject /Subtype /Image /Width " + std::to_string(image.width) + " /Height " +
        std::to_string(image.height) + " /ColorSpace " + (image.grey ? "/DeviceGray" : "/DeviceRGB") +
        " /BitsPerComponent 8";
    if (image.jpeg) {
        d += " /Filter /DCTDecode";
    } else {
        d += " /Filter /FlateDecode";
        if (image.predicted)
            d += " /DecodeParms << /Predictor 12 /Colors " + std::to_string(image.grey ? 1 : 3) +
                " /BitsPerComponent 8 /Columns " + std::to_string(image.width) + " >>";
    }
    d += image.interpolate ? " /Interpolate true" : " /Interpolate false";
    return d;
}

}  // namespace

struct FilmPdf::Parts {
    PdfSheet sheet;
    std::string title;
    FilmPage page;  // origin only
    std::vector<PdfImage> images;
    std::string content;
    PdfOverlay overlay;
    bool ready = false;
    std::string failure;  // what a picture's encoding threw
};

FilmPdf::FilmPdf(const FilmPage& page, const PdfSheet& sheet, const FilmPdfOptions& options)
    : parts_(std::make_unique<Parts>())
{
    parts_->sheet = sheet;
    parts_->title = options.title;
    parts_->page.originX = page.originX;
    parts_->page.originY = page.originY;
    PageBuilder builder(options);
    for (const DrawOp& op : page.ops)
        builder.add(op);
    parts_->images = std::move(builder.images());
    parts_->content = builder.content();
    std::vector<PdfImage>& images = parts_->images;
    WorkerPool::shared().run(images.size(), [&images](std::size_t i) { encode(images[i]); });
    parts_->ready =
        std::all_of(images.begin(), images.end(), [](const PdfImage& image) { return image.encoded; });
    for (const PdfImage& image : images)
        if (parts_->failure.empty() && !image.failure.empty())
            parts_->failure = "a picture could not be encoded: " + image.failure;
    // The text's objects follow the five of the document and the images'.
    if (parts_->ready && builder.hasText() && options.drawText)
        parts_->ready = options.drawText(page, sheet, 6 + static_cast<int>(images.size()), parts_->overlay);
}

FilmPdf::~FilmPdf() = default;

bool FilmPdf::ready() const
{
    return parts_->ready;
}

const std::string& FilmPdf::failure() const
{
    return parts_->failure;
}

bool FilmPdf::write(const PdfSink& sink)
{
    if (!parts_->ready)
        return false;
    parts_->ready = false;  // the streams are given away below
    const PdfSheet& sheet = parts_->sheet;
    std::vector<PdfImage>& images = parts_->images;

    ObjectWriter out(sink);
    const int catalog = out.reserve();
    const int pages = out.reserve();
    const int pageObject = out.reserve();
    const int contents = out.reserve();
    const int info = out.reserve();
    for (PdfImage& image : images)
        image.object = out.reserve();
    const PdfOverlay& overlay = parts_->overlay;
    std::vector<int> overlayObjects;
    for (std::size_t i = 0; i < overlay.objects.size(); ++i)
        overlayObjects.push_back(out.reserve());

    // Twips from the printable area's corner, y downwards, then the page's origin.
    const std::string content = "q\n0.05 0 0 -0.05 " + number(sheet.printableLeftPoints) + ' ' +
        number(sheet.heightPoints - sheet.printableTopPoints) + " cm\n1 0 0 1 " +
        number(parts_->page.originX) + ' ' + number(parts_->page.originY) + " cm\n" + parts_->content +
        "Q\n" + (overlay.form > 0 ? "/Tx Do\n" : "");
    std::string resources = "<< /XObject <<";
    for (std::size_t i = 0; i < images.size(); ++i)
        resources += " /Im" + std::to_string(i) + ' ' + std::to_string(images[i].object) + " 0 R";
    if (overlay.form > 0)
        resources += " /Tx " + std::to_string(overlay.form) + " 0 R";
    resources += " >> >>";

    out.put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    out.object(catalog, "<< /Type /Catalog /Pages " + std::to_string(pages) + " 0 R >>");
    out.object(pages, "<< /Type /Pages /Kids [" + std::to_string(pageObject) + " 0 R] /Count 1 >>");
    out.object(pageObject,
               "<< /Type /Page /Parent " + std::to_string(pages) + " 0 R /MediaBox [0 0 " +
                   number(sheet.widthPoints) + ' ' + number(sheet.heightPoints) + "] /Resources " +
                   resources + " /Contents " + std::to_string(contents) + " 0 R >>");
    out.stream(contents, "<< /Length " + std::to_string(content.size()) + " >>", content);
    out.object(info, "<< /Title " + pdfText(parts_->title) + " /Producer (Vantorel) >>");
    for (PdfImage& image : images) {
        std::string dictionary = imageDictionary(image);
        dictionary += " /Length " + std::to_string(image.stream.size()) + " >>";
        out.stream(image.object, dictionary, image.stream);
        std::string().swap(image.stream);
    }
    for (std::size_t i = 0; i < overlay.objects.size(); ++i)
        out.raw(overlayObjects[i], overlay.objects[i]);
    return out.finish(catalog, info);
}

bool writeFilmPdf(const FilmPage& page, const PdfSheet& sheet, const FilmPdfOptions& options,
                  const PdfSink& sink)
{
    FilmPdf pdf(page, sheet, options);
    return pdf.write(sink);
}

}  // namespace vantorel::direct_composition
