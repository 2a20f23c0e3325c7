#pragma once

#include "console/ui/pages/page_services.h"

#include <QWidget>

class QCheckBox;
class QListWidget;
class QPushButton;

namespace vantorel::console::ui {

// "界面设置": the skin switch and the list of skin files "*.she" of the Skin
// folder. Selecting a file applies it at once; saving stores the selection and
// the switch for the next start. Not locked.
class AppearancePage final : public QWidget {
    Q_OBJECT
public:
    AppearancePage(PageContext context, SkinApplier& skins, QWidget* parent = nullptr);

    // Lists the skin files of `folder`; the stored skin file, when listed, is
    // shown selected (without applying it again).
    void setSkinFolder(const QString& folder);
    void showSettings();
    void save();

    QCheckBox* skinEnabledBox() const { return enabled_; }
    QListWidget* skinList() const { return list_; }
    QPushButton* saveButton() const { return save_; }

private:
    void skinSelected();
    QString selectedFile() const;

    PageContext context_;
    SkinApplier& skins_;
    QString folder_;
    QCheckBox* enabled_;
    QListWidget* list_;
    QPushButton* save_;
};

}  // namespace vantorel::console::ui
