#include "hospital_name/ui/frmhname.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vantorel::hospital_name::ui {

namespace {

QString styleSummary(const NameStyle& style)
{
    QString text = QString::fromStdString(style.font) + QStringLiteral("  ") +
        QString::fromStdString(pointSizeText(style.pointSize)) + QStringLiteral("磅");
    if (style.bold)
        text += QStringLiteral("  粗体");
    if (style.italic)
        text += QStringLiteral("  斜体");
    return text;
}

}  // namespace

Frmhname::Frmhname(QWidget* owner, settings::SettingsStore& store, settings::HeaderSettings& header,
                   base::RunLog& log)
    : QWidget(owner, Qt::Window), dialogs_(this), editor_(store, header, picture_, dialogs_, log)
{
    setObjectName(QStringLiteral("Frmhname"));
    setWindowTitle(QStringLiteral("医院名称设置"));
    build();
    editor_.open();
    base_ = loadBasePicture(QString::fromStdString(editor_.basePicturePath()));
    showState();
    showTypedName();
}

void Frmhname::build()
{
    customPicture_ = new QCheckBox(QStringLiteral("使用自定义医院名称图片（医院名称\\yymc.bmp）"), this);
    name_ = new QLineEdit(this);
    styleText_ = new QLabel(this);
    textStyle_ = new QPushButton(QStringLiteral("字体和颜色…"), this);
    left_ = new QLineEdit(this);
    top_ = new QLineEdit(this);
    preview_ = new QLabel(this);
    save_ = new QPushButton(QStringLiteral("保存"), this);
    undo_ = new QPushButton(QStringLiteral("撤销"), this);
    close_ = new QPushButton(QStringLiteral("关闭"), this);
    previewNote_ = new QLabel(this);
    customPicture_->setObjectName(QStringLiteral("customPicture"));
    name_->setObjectName(QStringLiteral("hospitalName"));
    styleText_->setObjectName(QStringLiteral("styleText"));
    textStyle_->setObjectName(QStringLiteral("textStyle"));
    left_->setObjectName(QStringLiteral("leftStart"));
    top_->setObjectName(QStringLiteral("topStart"));
    preview_->setObjectName(QStringLiteral("preview"));
    save_->setObjectName(QStringLiteral("savePicture"));
    undo_->setObjectName(QStringLiteral("undoPicture"));
    close_->setObjectName(QStringLiteral("closeEditor"));
    previewNote_->setObjectName(QStringLiteral("previewNote"));
    previewNote_->setStyleSheet(QStringLiteral("color: #c00000;"));
    preview_->setFrameShape(QFrame::Box);
    preview_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* style = new QHBoxLayout;
    style->addWidget(styleText_, 1);
    style->addWidget(textStyle_);
    auto* start = new QHBoxLayout;
    start->addWidget(left_);
    start->addWidget(new QLabel(QStringLiteral("上起始点："), this));
    start->addWidget(top_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("医院名称："), name_);
    form->addRow(QStringLiteral("文字样式："), style);
    form->addRow(QStringLiteral("左起始点："), start);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save_);
    buttons->addWidget(undo_);
    buttons->addWidget(close_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(customPicture_);
    column->addLayout(form);
    column->addWidget(new QLabel(QStringLiteral("预览："), this));
    column->addWidget(preview_);
    column->addWidget(previewNote_);
    column->addLayout(buttons);

    connect(customPicture_, &QCheckBox::toggled, this, [this](bool on) {
        editor_.setCustomPicture(on);
        showState();
    });
    connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
        editor_.setName(text.toStdString());
        showTypedName();
    });
    connect(left_, &QLineEdit::textEdited, this,
            [this](const QString& text) { editor_.setLeft(text.toStdString()); });
    connect(top_, &QLineEdit::textEdited, this,
            [this](const QString& text) { editor_.setTop(text.toStdString()); });
    connect(textStyle_, &QPushButton::clicked, this, [this] {
        editor_.chooseFont();
        showState();
        showTypedName();
    });
    connect(save_, &QPushButton::clicked, this, [this] {
        if (editor_.save())
            showPicture(picture_.image());
    });
    connect(undo_, &QPushButton::clicked, this, [this] {
        if (editor_.undo())
            showPicture(picture_.image());
    });
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
}

void Frmhname::showState()
{
    const EditorState& state = editor_.state();
    {
        const QSignalBlocker quiet(customPicture_);
        customPicture_->setChecked(state.customPicture);
    }
    name_->setText(QString::fromStdString(state.name));
    left_->setText(QString::fromStdString(state.left));
    top_->setText(QString::fromStdString(state.top));
    styleText_->setText(styleSummary(state.style));
    const QColor colour(redOf(state.style.colour), greenOf(state.style.colour), blueOf(state.style.colour));
    styleText_->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
    const bool editing = editor_.editingEnabled();
    for (QWidget* widget :
         {static_cast<QWidget*>(name_), static_cast<QWidget*>(textStyle_), static_cast<QWidget*>(left_),
          static_cast<QWidget*>(top_), static_cast<QWidget*>(save_), static_cast<QWidget*>(undo_)})
        widget->setEnabled(editing);
}

void Frmhname::showPicture(const QImage& image)
{
    shown_ = image;
    preview_->setPixmap(QPixmap::fromImage(shown_));
    preview_->setFixedSize(shown_.size() + QSize(2, 2));
}

// The name as it stands in the fields, drawn on the base picture as a save
// would draw it; nothing is written.
void Frmhname::showTypedName()
{
    const EditorState& state = editor_.state();
    showPicture(renderHospitalName(base_, state.name, state.style));
    previewNote_->setText(nameFitsPicture(base_, state.name, state.style) ? QString()
                                                                          : QString::fromUtf8(nameTooLong));
}

}  // namespace vantorel::hospital_name::ui
