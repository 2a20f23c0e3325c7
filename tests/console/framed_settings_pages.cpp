#include "framed_settings_pages.h"

#include "console/ui/pages/page_layout.h"

#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace vantorel::console::ui {

namespace {

QWidget* framedPage(const QString& title, const char* objectName, QWidget* parent)
{
    auto* page = new QWidget(parent);
    page->setObjectName(QString::fromLatin1(objectName));
    auto* layout = new QVBoxLayout(page);
    auto* heading = new QLabel(title, page);
    heading->setObjectName(QStringLiteral("pageHeading"));
    layout->addWidget(heading);
    return page;
}

void finishPage(QWidget* page)
{
    static_cast<QVBoxLayout*>(page->layout())->addStretch(1);
}

}  // namespace

FramedSettingsPages::FramedSettingsPages(QWidget* parent)
    : dicom_(framedPage(QStringLiteral("DICOM设置"), "dicomPage", parent)),
      print_(framedPage(QStringLiteral("打印设置"), "printPage", parent)),
      appearance_(framedPage(QStringLiteral("界面设置"), "appearancePage", parent)),
      runSettings_(framedPage(QStringLiteral("运行设置"), "runSettingsPage", parent)),
      filmManagement_(filmManagementFrame(parent))
{
    auto* skins = new QListWidget(appearance_);
    skins->setObjectName(QStringLiteral("skinFiles"));
    appearance_->layout()->addWidget(new QLabel(QStringLiteral("界面风格："), appearance_));
    appearance_->layout()->addWidget(skins);

    for (QWidget* page : {dicom_, print_, appearance_, runSettings_})
        finishPage(page);
}

void FramedSettingsPages::setSkinFolder(const QString& folder)
{
    auto* list = appearance_->findChild<QListWidget*>(QStringLiteral("skinFiles"));
    list->clear();
    list->addItems(QDir(folder).entryList({QStringLiteral("*.she")}, QDir::Files, QDir::Name));
}

void FramedSettingsPages::setFilmDates(const QDate& date)
{
    for (auto* edit : filmManagement_->findChildren<QDateEdit*>())
        edit->setDate(date);
}

QStringList FramedSettingsPages::skinFiles() const
{
    QStringList files;
    auto* list = appearance_->findChild<QListWidget*>(QStringLiteral("skinFiles"));
    for (int i = 0; i < list->count(); ++i)
        files << list->item(i)->text();
    return files;
}

QDate FramedSettingsPages::filmDateFrom() const
{
    return filmManagement_->findChild<QDateEdit*>(QStringLiteral("filmDateFrom"))->date();
}

QDate FramedSettingsPages::filmDateTo() const
{
    return filmManagement_->findChild<QDateEdit*>(QStringLiteral("filmDateTo"))->date();
}

}  // namespace vantorel::console::ui
