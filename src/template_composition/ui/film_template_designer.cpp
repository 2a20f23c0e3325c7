#include "template_composition/ui/film_template_designer.h"

#include "direct_composition/qt/film_page_painter.h"
#include "template_composition/qt/rpx_file.h"
#include "template_composition/ui/design_canvas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vantorel::template_composition::ui {

namespace {

const char* const sizeModes[] = {"0 裁剪", "1 拉伸", "2 缩放"};
const char* const alignments[] = {"0 左上", "1 右上", "2 居中", "3 左下", "4 右下"};

QString millimetres(float twips)
{
    return QString::number(twips / twipsPerMm, 'f', 1);
}

QDoubleSpinBox* millimetreBox(const char* name, double low, double high, double value, QWidget* parent)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(low, high);
    box->setDecimals(2);
    box->setSuffix(QStringLiteral(" mm"));
    box->setValue(value);
    return box;
}

QPushButton* button(const QString& text, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

}  // namespace

FilmTemplateDesigner::FilmTemplateDesigner(QWidget* owner, QString homeFolder)
    : QWidget(owner, Qt::Window), homeFolder_(std::move(homeFolder))
{
    setObjectName(QStringLiteral("FilmTemplateDesigner"));
    setWindowTitle(QStringLiteral("胶片格式设计"));
    canvas_ = new DesignCanvas(this);
    canvas_->setObjectName(QStringLiteral("canvas"));
    auto* middle = new QVBoxLayout;
    middle->addWidget(canvas_, 0, Qt::AlignHCenter | Qt::AlignTop);
    middle->addWidget(buildFilePanel());
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildGridPanel(), 0, Qt::AlignTop);
    layout->addLayout(middle, 1);
    layout->addWidget(buildControlPanel(), 0, Qt::AlignTop);

    connect(canvas_, &DesignCanvas::selectionChanged, this, &FilmTemplateDesigner::showSelection);
    connect(canvas_, &DesignCanvas::designChanged, this, &FilmTemplateDesigner::showSelection);
    // A first grid, so the page is never empty.
    paper_->setCurrentText(QStringLiteral("1417"));
    (void)layOut();  // a grid that cannot be laid out is told on the page itself
}

QWidget* FilmTemplateDesigner::buildGridPanel()
{
    auto* box = new QGroupBox(QStringLiteral("新建格式"), this);
    auto* form = new QFormLayout(box);
    paper_ = new QComboBox(box);
    paper_->setObjectName(QStringLiteral("paper"));
    for (const std::string& code : designPaperCodes())
        paper_->addItem(QString::fromStdString(code));
    customWidth_ = millimetreBox("customWidth", 10, 2000, 356, box);
    customHeight_ = millimetreBox("customHeight", 10, 2000, 432, box);
    orientation_ = new QComboBox(box);
    orientation_->setObjectName(QStringLiteral("orientation"));
    orientation_->addItems({QStringLiteral("纵向"), QStringLiteral("横向")});
    formatKind_ = new QComboBox(box);
    formatKind_->setObjectName(QStringLiteral("formatKind"));
    formatKind_->addItems({QStringLiteral("STANDARD"), QStringLiteral("ROW"), QStringLiteral("COL")});
    cols_ = new QSpinBox(box);
    cols_->setObjectName(QStringLiteral("cols"));
    rows_ = new QSpinBox(box);
    rows_->setObjectName(QStringLiteral("rows"));
    for (QSpinBox* count : {cols_, rows_}) {
        count->setRange(1, 10);
        count->setValue(1);
    }
    colsLabel_ = new QLabel(box);
    rowsLabel_ = new QLabel(box);
    margin_ = millimetreBox("margin", 0, 100, 360 / twipsPerMm, box);
    gap_ = millimetreBox("gap", 0, 100, 60 / twipsPerMm, box);
    blackBase_ = new QCheckBox(QStringLiteral("黑色底板"), box);
    blackBase_->setObjectName(QStringLiteral("blackBase"));
    blackBase_->setChecked(true);
    form->addRow(QStringLiteral("胶片规格："), paper_);
    form->addRow(QStringLiteral("自定义宽："), customWidth_);
    form->addRow(QStringLiteral("自定义高："), customHeight_);
    form->addRow(QStringLiteral("方向："), orientation_);
    form->addRow(QStringLiteral("格式："), formatKind_);
    form->addRow(colsLabel_, cols_);
    form->addRow(rowsLabel_, rows_);
    form->addRow(QStringLiteral("边距："), margin_);
    form->addRow(QStringLiteral("间隔："), gap_);
    form->addRow(blackBase_);
    auto* layOutButton = button(QStringLiteral("生成网格"), "layOut", box);
    form->addRow(layOutButton);
    connect(layOutButton, &QPushButton::clicked, this, &FilmTemplateDesigner::layOut);
    connect(formatKind_, &QComboBox::currentIndexChanged, this, &FilmTemplateDesigner::kindChanged);
    connect(paper_, &QComboBox::currentTextChanged, this, [this](const QString& code) {
        const bool custom = isCustomPaper(code.toStdString());
        customWidth_->setEnabled(custom);
        customHeight_->setEnabled(custom);
    });
    kindChanged();
    return box;
}

void FilmTemplateDesigner::kindChanged()
{
    switch (formatKind_->currentIndex()) {
    case 1:
        colsLabel_->setText(QStringLiteral("第一行图像数："));
        rowsLabel_->setText(QStringLiteral("第二行图像数："));
        break;
    case 2:
        colsLabel_->setText(QStringLiteral("第一列图像数："));
        rowsLabel_->setText(QStringLiteral("第二列图像数："));
        break;
    default:
        colsLabel_->setText(QStringLiteral("列数："));
        rowsLabel_->setText(QStringLiteral("行数："));
    }
}

QWidget* FilmTemplateDesigner::buildControlPanel()
{
    auto* box = new QGroupBox(QStringLiteral("所选项目"), this);
    auto* form = new QFormLayout(box);
    selection_ = new QLabel(box);
    selection_->setObjectName(QStringLiteral("selection"));
    selection_->setMinimumWidth(200);
    selection_->setWordWrap(true);
    sizeMode_ = new QComboBox(box);
    sizeMode_->setObjectName(QStringLiteral("sizeMode"));
    for (const char* mode : sizeModes)
        sizeMode_->addItem(QString::fromUtf8(mode));
    alignment_ = new QComboBox(box);
    alignment_->setObjectName(QStringLiteral("alignment"));
    for (const char* alignment : alignments)
        alignment_->addItem(QString::fromUtf8(alignment));
    labelText_ = new QLineEdit(box);
    labelText_->setObjectName(QStringLiteral("labelText"));
    labelFont_ = new QFontComboBox(box);
    labelFont_->setObjectName(QStringLiteral("labelFont"));
    labelSize_ = new QSpinBox(box);
    labelSize_->setObjectName(QStringLiteral("labelSize"));
    labelSize_->setRange(4, 200);
    labelSize_->setValue(16);
    labelSize_->setSuffix(QStringLiteral(" pt"));
    labelBold_ = new QCheckBox(QStringLiteral("粗体"), box);
    labelBold_->setObjectName(QStringLiteral("labelBold"));
    form->addRow(selection_);
    form->addRow(QStringLiteral("图像填充："), sizeMode_);
    form->addRow(QStringLiteral("图像对齐："), alignment_);
    form->addRow(QStringLiteral("文字："), labelText_);
    form->addRow(QStringLiteral("字体："), labelFont_);
    form->addRow(QStringLiteral("字号："), labelSize_);
    form->addRow(labelBold_);
    auto* addLabel = button(QStringLiteral("添加文字"), "addLabel", box);
    auto* addLine = button(QStringLiteral("添加横线"), "addLine", box);
    auto* addPictureButton = button(QStringLiteral("添加图片"), "addPicture", box);
    remove_ = button(QStringLiteral("删除"), "remove", box);
    for (QPushButton* b : {addLabel, addLine, addPictureButton, remove_})
        form->addRow(b);

    connect(sizeMode_, &QComboBox::activated, this, [this](int mode) {
        if (const auto index = canvas_->selected()) {
            design_->setSizeMode(*index, static_cast<SizeMode>(mode));
            designEdited();
        }
    });
    connect(alignment_, &QComboBox::activated, this, [this](int alignment) {
        if (const auto index = canvas_->selected()) {
            design_->setAlignment(*index, static_cast<PictureAlignment>(alignment));
            designEdited();
        }
    });
    connect(labelText_, &QLineEdit::textEdited, this, &FilmTemplateDesigner::applyLabel);
    connect(labelFont_, &QFontComboBox::currentFontChanged, this, &FilmTemplateDesigner::applyLabel);
    connect(labelSize_, &QSpinBox::valueChanged, this, &FilmTemplateDesigner::applyLabel);
    connect(labelBold_, &QCheckBox::toggled, this, &FilmTemplateDesigner::applyLabel);
    connect(addLabel, &QPushButton::clicked, this, [this] {
        const QString text = labelText_->text().isEmpty() ? QStringLiteral("文字") : labelText_->text();
        const std::size_t index =
            design_->addLabel(text.toStdString(), labelFont_->currentFont().family().toStdString(),
                              labelSize_->value(), labelBold_->isChecked());
        canvas_->refresh();
        canvas_->select(index);
    });
    connect(addLine, &QPushButton::clicked, this, [this] {
        const std::size_t index = design_->addLine(true);
        canvas_->refresh();
        canvas_->select(index);
    });
    connect(addPictureButton, &QPushButton::clicked, this, &FilmTemplateDesigner::addPicture);
    connect(remove_, &QPushButton::clicked, this, [this] {
        if (const auto index = canvas_->selected()) {
            design_->remove(*index);
            canvas_->select(std::nullopt);
            canvas_->refresh();
        }
    });
    return box;
}

QWidget* FilmTemplateDesigner::buildFilePanel()
{
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    fileName_ = new QLabel(panel);
    fileName_->setObjectName(QStringLiteral("fileName"));
    fileName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_ = new QLabel(panel);
    status_->setObjectName(QStringLiteral("status"));
    auto* row = new QHBoxLayout;
    auto* open = button(QStringLiteral("打开"), "open", panel);
    auto* saveButton = button(QStringLiteral("保存"), "save", panel);
    row->addWidget(status_, 1);
    row->addWidget(open);
    row->addWidget(saveButton);
    column->addWidget(fileName_);
    column->addLayout(row);
    connect(open, &QPushButton::clicked, this, &FilmTemplateDesigner::chooseOpenFile);
    connect(saveButton, &QPushButton::clicked, this, &FilmTemplateDesigner::save);
    return panel;
}

QString FilmTemplateDesigner::targetPath() const
{
    return homeFolder_ + QStringLiteral("/ReportMode/") + QString::fromStdString(design_->fileName());
}

bool FilmTemplateDesigner::layOut()
{
    DesignRequest request;
    request.paperCode = paper_->currentText().toStdString();
    request.customWidthMm = float(customWidth_->value());
    request.customHeightMm = float(customHeight_->value());
    GridTemplateOptions& grid = request.grid;
    grid.orientation = orientation_->currentIndex() == 1 ? 2 : 1;
    grid.r_c = formatKind_->currentIndex() == 0 ? std::string() : formatKind_->currentText().toStdString();
    grid.cols = cols_->value();
    grid.rows = rows_->value();
    grid.margin = float(margin_->value() * twipsPerMm);
    grid.gap = float(gap_->value() * twipsPerMm);
    grid.blackBase = blackBase_->isChecked();
    auto design = TemplateDesign::newGrid(request);
    if (!design) {
        tell(QStringLiteral("无法生成：") + QString::fromStdString(design.reason()));
        return false;
    }
    setDesign(std::move(*design));
    tell(QString());
    return true;
}

void FilmTemplateDesigner::setDesign(TemplateDesign design)
{
    design_ = std::move(design);
    canvas_->setDesign(&*design_);
    fileName_->setText(QStringLiteral("保存为：") + targetPath());
    adjustSize();
}

bool FilmTemplateDesigner::openFile(const QString& path)
{
    auto layout = RpxTemplateLoader().load(path.toStdString());
    if (!layout) {
        QMessageBox::warning(
            this, QStringLiteral("打开"),
            QStringLiteral("无法打开 %1：%2").arg(path, QString::fromStdString(layout.reason())));
        return false;
    }
    setDesign(TemplateDesign::fromLayout(std::move(*layout), QFileInfo(path).fileName().toStdString()));
    tell(QStringLiteral("已打开：") + path);
    return true;
}

void FilmTemplateDesigner::chooseOpenFile()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("打开"), homeFolder_ + "/ReportMode", QStringLiteral("胶片格式 (*.rpx)"),
        nullptr, QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty())
        (void)openFile(path);  // a file that cannot be read is told in a message box
}

bool FilmTemplateDesigner::save()
{
    const QString path = targetPath();
    if (QFileInfo::exists(path)) {
        QMessageBox ask(QMessageBox::Question, QStringLiteral("请确认"),
                        QStringLiteral("%1 已存在，要替换它吗？").arg(path),
                        QMessageBox::Yes | QMessageBox::No, this);
        if (ask.exec() != QMessageBox::Yes)
            return false;
    }
    const QByteArray bytes = writeRpx(design_->layout());
    // A folder that cannot be made is told without a reason, as Qt gives none.
    const base::Result<void> written = QDir().mkpath(QFileInfo(path).path())
        ? writeTemplateFile(path.toStdString(), bytes.toStdString())
        : base::Result<void>(base::Failure{});
    if (!written) {
        QMessageBox::warning(
            this, QStringLiteral("保存"),
            QStringLiteral("%1 未能保存：%2").arg(path, QString::fromStdString(written.reason())));
        return false;
    }
    tell(QStringLiteral("已保存：") + path);
    return true;
}

void FilmTemplateDesigner::addPicture()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("添加图片"), homeFolder_,
                                                      QStringLiteral("图片 (*.png *.bmp *.jpg *.jpeg)"),
                                                      nullptr, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty())
        return;
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        QMessageBox::warning(this, QStringLiteral("添加图片"), reader.errorString());
        return;
    }
    const std::size_t index = design_->addPicture(direct_composition::fromQImage(image));
    canvas_->refresh();
    canvas_->select(index);
}

void FilmTemplateDesigner::applyLabel()
{
    const auto index = canvas_->selected();
    if (!index || design_->control(*index).kind != ReportControl::Kind::Label)
        return;
    design_->setLabel(*index, labelText_->text().toStdString(),
                      labelFont_->currentFont().family().toStdString(), labelSize_->value(),
                      labelBold_->isChecked());
    designEdited();
}

void FilmTemplateDesigner::designEdited()
{
    canvas_->refresh();
    showSelection();
}

// The selected control's name, place and size in millimetres, and its
// settings in the right column.
void FilmTemplateDesigner::showSelection()
{
    const auto index = canvas_->selected();
    const bool image = index && design_->control(*index).kind == ReportControl::Kind::Image;
    const bool label = index && design_->control(*index).kind == ReportControl::Kind::Label;
    sizeMode_->setEnabled(image);
    alignment_->setEnabled(image);
    remove_->setEnabled(index.has_value());
    if (!index) {
        selection_->setText(QStringLiteral("未选中（单击页面上的项目）"));
        return;
    }
    const ReportControl& c = design_->control(*index);
    selection_->setText(QStringLiteral("%1  左 %2  上 %3  宽 %4  高 %5 (mm)")
                            .arg(QString::fromStdString(c.name), millimetres(c.left), millimetres(c.top),
                                 millimetres(c.width), millimetres(c.height)));
    if (image) {
        sizeMode_->setCurrentIndex(static_cast<int>(c.sizeMode));
        alignment_->setCurrentIndex(static_cast<int>(c.pictureAlignment));
    }
    if (label) {
        const QSignalBlocker a(labelText_), b(labelFont_), d(labelSize_), e(labelBold_);
        labelText_->setText(QString::fromStdString(c.text));
        labelFont_->setCurrentFont(QFont(QString::fromStdString(c.fontName)));
        labelSize_->setValue(int(c.fontSize));
        labelBold_->setChecked(c.bold);
    }
}

void FilmTemplateDesigner::tell(const QString& text)
{
    status_->setText(text);
}

}  // namespace vantorel::template_composition::ui
