#include "template_composition/template_design.h"

#include "base/file_writing.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantorel::template_composition {

namespace {

constexpr float minimumSize = 2 * twipsPerMm;
// ROW and COL templates fill at most five slots; STANDARD ones 42.
constexpr int maxCount = 42;

float snapped(float twips)
{
    return std::round(twips / twipsPerMm) * twipsPerMm;
}

struct Box {
    float left, top, width, height;
};

Box boxOf(const ReportControl& c)
{
    if (c.kind == ReportControl::Kind::Line)
        return {std::min(c.x1, c.x2), std::min(c.y1, c.y2), std::fabs(c.x2 - c.x1), std::fabs(c.y2 - c.y1)};
    return {c.left, c.top, c.width, c.height};
}

// The paper code a template's file name carries ("L1417-23.rpx": 1417).
std::string paperCodeOfName(const std::string& fileName)
{
    const std::string stem = fileName.substr(0, fileName.find('-'));
    for (const char* code : {"1417", "1414", "1114", "1012", "1014", "810", "A3", "A4", "B5"}) {
        const std::string c = code;
        if (stem.size() >= c.size() && stem.compare(stem.size() - c.size(), c.size(), c) == 0)
            return c;
    }
    return "1417";
}

}  // namespace

const std::vector<std::string>& designPaperCodes()
{
    static const std::vector<std::string> codes{"1417",    "1114",    "810",     "A4",     "A3",
                                                "自定义1", "自定义2", "自定义3", "自定义4"};
    return codes;
}

bool isCustomPaper(const std::string& paperCode)
{
    return paperCode.rfind("自定义", 0) == 0;
}

base::Result<TemplateDesign> TemplateDesign::newGrid(const DesignRequest& request)
{
    const auto& codes = designPaperCodes();
    if (std::find(codes.begin(), codes.end(), request.paperCode) == codes.end())
        return base::Failure{"unknown paper " + request.paperCode};
    GridTemplateOptions grid = request.grid;
    if (isCustomPaper(request.paperCode)) {
        if (!(request.customWidthMm >= 10 && request.customHeightMm >= 10 && request.customWidthMm <= 2000 &&
              request.customHeightMm <= 2000))
            return base::Failure{"a custom paper takes 10 to 2000 mm each way"};
        grid.paperWidth = request.customWidthMm * twipsPerMm;
        grid.paperHeight = request.customHeightMm * twipsPerMm;
    } else {
        const auto size = paperSizeOf(request.paperCode);
        grid.paperWidth = size->first;
        grid.paperHeight = size->second;
    }
    const int slots = grid.r_c.empty() ? grid.cols * grid.rows : grid.cols + grid.rows;
    if (grid.cols < 1 || grid.rows < 1 || grid.cols > 99 || grid.rows > 99 || slots > maxCount ||
        (!grid.r_c.empty() && slots > maxRowColumnSlots))
        return base::Failure{"a template holds 1 to 42 slots (5 for ROW and COL)"};
    const float across = (grid.orientation == 2 ? grid.paperHeight : grid.paperWidth) - 2 * grid.margin;
    const float down = (grid.orientation == 2 ? grid.paperWidth : grid.paperHeight) - 2 * grid.margin;
    if (grid.margin < 0 || grid.gap < 0 || across < minimumSize || down < minimumSize)
        return base::Failure{"the margins leave no room on the paper"};
    return TemplateDesign(gridTemplate(grid), gridTemplateFileName(grid, request.paperCode));
}

TemplateDesign TemplateDesign::fromLayout(ReportLayout layout, const std::string& fileName)
{
    LayoutPageSettings& page = layout.page;
    if (!page.paperWidth || !page.paperHeight) {
        const auto size = paperSizeOf(paperCodeOfName(fileName));
        page.paperWidth = page.paperWidth.value_or(size->first);
        page.paperHeight = page.paperHeight.value_or(size->second);
    }
    return TemplateDesign(std::move(layout), fileName);
}

TemplateDesign::TemplateDesign(ReportLayout layout, std::string fileName)
    : layout_(std::move(layout)), fileName_(std::move(fileName))
{}

ReportPageSettings TemplateDesign::page() const
{
    const LayoutPageSettings& p = layout_.page;
    ReportPageSettings page;
    page.orientation = p.orientation.value_or(1);
    page.paperWidth = p.paperWidth.value_or(0);
    page.paperHeight = p.paperHeight.value_or(0);
    page.marginLeft = p.marginLeft.value_or(0);
    page.marginTop = p.marginTop.value_or(0);
    page.marginRight = p.marginRight.value_or(0);
    page.marginBottom = p.marginBottom.value_or(0);
    return page;
}

bool TemplateDesign::isSlot(std::size_t index) const
{
    const ReportControl& c = control(index);
    if (c.kind != ReportControl::Kind::Image || c.name.size() < 6 || c.name.compare(0, 5, "Image") != 0)
        return false;
    const std::string digits = c.name.substr(5);
    if (digits.size() > 2 || digits[0] == '0' ||
        !std::all_of(digits.begin(), digits.end(), [](unsigned char d) { return std::isdigit(d); }))
        return false;
    const int n = std::stoi(digits);
    return n >= 1 && n <= maxFillSlots;
}

std::optional<std::size_t> TemplateDesign::controlAt(float x, float y) const
{
    for (std::size_t i = layout_.controls.size(); i-- > 0;) {
        const ReportControl& c = layout_.controls[i];
        // The black base under the slots is the page, not something to pick.
        if (!c.visible || (c.kind == ReportControl::Kind::Shape && c.name == "Base"))
            continue;
        Box box = boxOf(c);
        if (c.kind == ReportControl::Kind::Line) {
            box.left -= twipsPerMm;
            box.top -= twipsPerMm;
            box.width += 2 * twipsPerMm;
            box.height += 2 * twipsPerMm;
        }
        if (x >= box.left && x <= box.left + box.width && y >= box.top && y <= box.top + box.height)
            return i;
    }
    return std::nullopt;
}

void TemplateDesign::moveTo(std::size_t index, float left, float top)
{
    ReportControl& c = layout_.controls.at(index);
    const ReportPageSettings p = page();
    const Box box = boxOf(c);
    // On the sheet: from minus the margin to the far edge less the size.
    const auto placed = [](float wanted, float low, float high) {
        return std::clamp(snapped(wanted), low, std::max(low, high));
    };
    const float newLeft = placed(left, -p.marginLeft, p.sheetWidth() - p.marginLeft - box.width);
    const float newTop = placed(top, -p.marginTop, p.sheetHeight() - p.marginTop - box.height);
    const float dx = newLeft - box.left, dy = newTop - box.top;
    if (c.kind == ReportControl::Kind::Line) {
        c.x1 += dx;
        c.x2 += dx;
        c.y1 += dy;
        c.y2 += dy;
        syncLineBox(c);
    } else {
        c.left = newLeft;
        c.top = newTop;
    }
}

void TemplateDesign::nudge(std::size_t index, int rightMm, int downMm)
{
    const Box box = boxOf(control(index));
    moveTo(index, box.left + rightMm * twipsPerMm, box.top + downMm * twipsPerMm);
}

void TemplateDesign::resizeTo(std::size_t index, float width, float height)
{
    ReportControl& c = layout_.controls.at(index);
    const ReportPageSettings p = page();
    const Box box = boxOf(c);
    const float maxWidth = p.sheetWidth() - p.marginLeft - box.left;
    const float maxHeight = p.sheetHeight() - p.marginTop - box.top;
    const float w =
        std::clamp(snapped(box.left + width) - box.left, minimumSize, std::max(minimumSize, maxWidth));
    const float h =
        std::clamp(snapped(box.top + height) - box.top, minimumSize, std::max(minimumSize, maxHeight));
    if (c.kind == ReportControl::Kind::Line) {
        // A line's length follows the drag along its direction.
        if (std::fabs(c.x2 - c.x1) >= std::fabs(c.y2 - c.y1))
            (c.x2 >= c.x1 ? c.x2 : c.x1) = box.left + w;
        else
            (c.y2 >= c.y1 ? c.y2 : c.y1) = box.top + h;
        syncLineBox(c);
    } else {
        c.width = w;
        c.height = h;
    }
}

void TemplateDesign::syncLineBox(ReportControl& line) const
{
    const Box box = boxOf(line);
    line.left = box.left;
    line.top = box.top;
    line.width = box.width;
    line.height = box.height;
}

std::string TemplateDesign::freeName(const std::string& stem) const
{
    for (int n = 1;; ++n) {
        const std::string name = stem + std::to_string(n);
        if (std::none_of(layout_.controls.begin(), layout_.controls.end(),
                         [&name](const ReportControl& c) { return c.name == name; }))
            return name;
    }
}

std::uint32_t TemplateDesign::inkColour() const
{
    const bool darkBase =
        std::any_of(layout_.controls.begin(), layout_.controls.end(), [](const ReportControl& c) {
            return c.kind == ReportControl::Kind::Shape && c.backFilled && c.backColor == 0;
        });
    return darkBase ? 0xFFFFFF : 0;
}

std::size_t TemplateDesign::add(ReportControl control)
{
    layout_.controls.push_back(std::move(control));
    return layout_.controls.size() - 1;
}

std::size_t TemplateDesign::addLabel(const std::string& text, const std::string& fontName, double fontSize,
                                     bool bold)
{
    ReportControl label;
    label.kind = ReportControl::Kind::Label;
    label.name = freeName("Label");
    label.width = snapped(60 * twipsPerMm);
    label.height = snapped(std::max(5.0, fontSize * 25.4 / 72 * 1.5) * twipsPerMm);
    label.foreColor = inkColour();
    const std::size_t index = add(std::move(label));
    setLabel(index, text, fontName, fontSize, bold);
    return index;
}

std::size_t TemplateDesign::addLine(bool horizontal)
{
    ReportControl line;
    line.kind = ReportControl::Kind::Line;
    line.name = freeName("Line");
    line.x2 = horizontal ? snapped(50 * twipsPerMm) : 0;
    line.y2 = horizontal ? 0 : snapped(50 * twipsPerMm);
    line.lineWeight = 30;
    line.lineColor = inkColour();
    syncLineBox(line);
    return add(std::move(line));
}

std::size_t TemplateDesign::addPicture(const direct_composition::Picture& picture)
{
    ReportControl image;
    image.name = freeName("Picture");
    image.picture = picture;
    image.sizeMode = SizeMode::Zoom;
    image.pictureAlignment = PictureAlignment::Center;
    // 30 mm wide, the picture's proportions.
    image.width = snapped(30 * twipsPerMm);
    const float height = picture.width > 0 ? image.width * picture.height / picture.width : image.width;
    image.height = std::max(minimumSize, snapped(height));
    return add(std::move(image));
}

void TemplateDesign::remove(std::size_t index)
{
    layout_.controls.erase(layout_.controls.begin() + static_cast<std::ptrdiff_t>(index));
    // Kept elements after it keep their place among the others.
    for (auto& [before, element] : layout_.kept.detailElements)
        if (before > index)
            --before;
}

void TemplateDesign::setSizeMode(std::size_t index, SizeMode mode)
{
    layout_.controls.at(index).sizeMode = mode;
}

void TemplateDesign::setAlignment(std::size_t index, PictureAlignment alignment)
{
    layout_.controls.at(index).pictureAlignment = alignment;
}

void TemplateDesign::setLabel(std::size_t index, const std::string& text, const std::string& fontName,
                              double fontSize, bool bold)
{
    ReportControl& label = layout_.controls.at(index);
    label.text = text;
    label.fontName = fontName;
    label.fontSize = std::clamp(fontSize, 1.0, 400.0);
    label.bold = bold;
}

base::Result<void> writeTemplateFile(const std::string& path, const std::string& bytes)
{
    const std::string temporary = path + ".part-" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return base::Failure{std::strerror(errno)};
    std::string reason;
    bool complete = base::writeAll(fd, bytes.data(), bytes.size(), reason);
    if (complete && ::fsync(fd) != 0) {
        reason = std::strerror(errno);
        complete = false;
    }
    if (::close(fd) != 0 && complete) {
        reason = std::strerror(errno);
        complete = false;
    }
    if (complete && ::rename(temporary.c_str(), path.c_str()) != 0) {
        reason = std::strerror(errno);
        complete = false;
    }
    if (!complete) {
        ::unlink(temporary.c_str());
        return base::Failure{reason};
    }
    return {};
}

}  // namespace vantorel::template_composition
