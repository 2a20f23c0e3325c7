#include "console/ui/pages/appearance_page.h"

#include "console/ui/pages/page_layout.h"
#include "settings/settings_keys.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "settings/settings_writer.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantorel::console::ui {

AppearancePage::AppearancePage(PageContext context, SkinApplier& skins, QWidget* parent)
    : QWidget(parent), context_(std::move(context)), skins_(skins)
{
    setObjectName(QStringLiteral("appearancePage"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pageHeading(QStringLiteral("界面设置"), this));
    enabled_ = new QCheckBox(QStringLiteral("启用界面风格"), this);
    enabled_->setObjectName(QStringLiteral("skinEnabled"));
    layout->addWidget(enabled_);
    layout->addWidget(new QLabel(QStringLiteral("界面风格："), this));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("skinFiles"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setFixedSize(260, 220);
    layout->addWidget(list_);
    save_ = new QPushButton(QStringLiteral("保存设置"), this);
    save_->setObjectName(QStringLiteral("save"));
    layout->addWidget(save_, 0, Qt::AlignLeft);
    layout->addStretch(1);

    connect(list_, &QListWidget::itemSelectionChanged, this, &AppearancePage::skinSelected);
    connect(save_, &QPushButton::clicked, this, &AppearancePage::save);
}

void AppearancePage::setSkinFolder(const QString& folder)
{
    folder_ = folder;
    const QSignalBlocker quiet(list_);
    list_->clear();
    list_->addItems(QDir(folder).entryList({QStringLiteral("*.she")}, QDir::Files, QDir::Name));
    showSettings();
}

void AppearancePage::showSettings()
{
    enabled_->setChecked(context_.settings.skinEnabled);
    const QSignalBlocker quiet(list_);
    const QString stored = QString::fromStdString(context_.settings.skinFile).trimmed();
    const auto found = list_->findItems(stored, Qt::MatchExactly);
    if (!found.isEmpty())
        list_->setCurrentItem(found.first());
}

QString AppearancePage::selectedFile() const
{
    const auto selected = list_->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void AppearancePage::skinSelected()
{
    const QString file = selectedFile();
    // Applied whether or not skins are switched on, as the operator asked.
    if (!file.isEmpty())
        skins_.apply(context_.homeFolder + QStringLiteral("/Skin/") + file);
}

void AppearancePage::save()
{
    const SaveReport report(context_);
    // Both are start-up fields: the current skin stays until the next start.
    // A failed write is kept by the store and reported when the save ends.
    (void)settings::saveSetting(context_.store, context_.settings, context_.installedPrinters,
                                settings::keys::skin, selectedFile().toStdString());
    (void)settings::saveSetting(context_.store, context_.settings, context_.installedPrinters,
                                settings::keys::skinEnabled, enabled_->isChecked() ? "1" : "0");
}

}  // namespace vantorel::console::ui
