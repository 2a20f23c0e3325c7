#include "console/ui/pages/access_gate.h"

#include <QLineEdit>
#include <QWidget>

namespace vantorel::console::ui {

AccessGate::AccessGate(Lock dicom, Lock print, Lock run, std::function<bool(const std::string&)> isPassword,
                       QObject* parent)
    : QObject(parent), locks_{dicom, print, run}, control_(*this, std::move(isPassword))
{
    control_.lockAll();
    for (settings::LockedPage page :
         {settings::LockedPage::Dicom, settings::LockedPage::Print, settings::LockedPage::Run}) {
        connect(lock(page).box, &QLineEdit::textChanged, this,
                [this, page](const QString& text) { control_.boxTextChanged(page, text.toStdString()); });
    }
}

void AccessGate::showBoxText(settings::LockedPage page, const std::string& text)
{
    lock(page).box->setText(QString::fromStdString(text));
}

void AccessGate::enableGroup(settings::LockedPage page, bool enabled)
{
    lock(page).group->setEnabled(enabled);
}

}  // namespace vantorel::console::ui
