#include "template_composition/ac_report.h"

namespace vantorel::template_composition {

namespace {
// The built-in page until start-up sets it: a 14 x 17 inch film, no margins.
constexpr float builtInPaperWidth = 20125.0f;
constexpr float builtInPaperHeight = 24478.7f;
}  // namespace

ReportLayout builtInLayout()
{
    ReportLayout layout;
    ReportControl banner;
    banner.name = "Imgyy";
    banner.left = 0;
    banner.top = 0;
    banner.width = builtInPaperWidth;
    banner.height = 1000;
    banner.sizeMode = SizeMode::Zoom;
    banner.pictureAlignment = PictureAlignment::Center;
    layout.controls.push_back(banner);

    ReportControl main;
    main.name = "Image1";
    main.left = 0;
    main.top = 1100;
    main.width = builtInPaperWidth;
    main.height = builtInPaperHeight - 1100;
    main.sizeMode = SizeMode::Zoom;
    main.pictureAlignment = PictureAlignment::Center;
    layout.controls.push_back(main);

    for (int n = 2; n <= maxFillSlots; ++n) {
        ReportControl placeholder;
        placeholder.name = "Image" + std::to_string(n);
        // Ten hidden placeholders a row, 400 twips apart.
        const int column = (n - 2) % 10;
        const int row = (n - 2) / 10;
        placeholder.left = static_cast<float>(column) * 400;
        placeholder.top = static_cast<float>(row) * 400;
        placeholder.width = 300;
        placeholder.height = 300;
        placeholder.visible = false;
        layout.controls.push_back(placeholder);
    }
    return layout;
}

AcReport::AcReport() : controls_(builtInLayout().controls)
{
    page_.paperWidth = builtInPaperWidth;
    page_.paperHeight = builtInPaperHeight;
    startPage_ = page_;
}

void AcReport::setOrientation(int orientation)
{
    owner_.check("AcReport");
    if (orientation == 1 || orientation == 2)
        page_.orientation = orientation;
}

void AcReport::setPaperSize(float width, float height)
{
    owner_.check("AcReport");
    page_.paperWidth = width;
    page_.paperHeight = height;
    startPage_.paperWidth = width;
    startPage_.paperHeight = height;
}

void AcReport::setMargins(float left, float top, float right, float bottom)
{
    owner_.check("AcReport");
    page_.marginLeft = left;
    page_.marginTop = top;
    page_.marginRight = right;
    page_.marginBottom = bottom;
    startPage_.marginLeft = left;
    startPage_.marginTop = top;
    startPage_.marginRight = right;
    startPage_.marginBottom = bottom;
}

void AcReport::startFilm()
{
    owner_.check("AcReport");
    const int orientation = page_.orientation;
    page_ = startPage_;
    page_.orientation = orientation;
    controls_.clear();
}

void AcReport::loadLayout(ReportLayout layout)
{
    owner_.check("AcReport");
    const LayoutPageSettings& p = layout.page;
    if (p.orientation)
        setOrientation(*p.orientation);
    page_.paperWidth = p.paperWidth.value_or(page_.paperWidth);
    page_.paperHeight = p.paperHeight.value_or(page_.paperHeight);
    page_.marginLeft = p.marginLeft.value_or(page_.marginLeft);
    page_.marginTop = p.marginTop.value_or(page_.marginTop);
    page_.marginRight = p.marginRight.value_or(page_.marginRight);
    page_.marginBottom = p.marginBottom.value_or(page_.marginBottom);
    controls_ = std::move(layout.controls);
}

ReportControl* AcReport::slot(const std::string& name)
{
    owner_.check("AcReport");
    for (ReportControl& control : controls_) {
        if (control.name == name)
            return &control;
    }
    return nullptr;
}

}  // namespace vantorel::template_composition
