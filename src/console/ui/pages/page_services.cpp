#include "console/ui/pages/page_services.h"

#include "base/operator_messages.h"
#include "settings/settings_store.h"

#include "console/ui/skin.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <QUrl>

namespace vantorel::console::ui {

SaveReport::SaveReport(PageContext& context) : context_(context)
{
    (void)context_.store.takeWriteFailure();  // what went before is not this save's
}

SaveReport::~SaveReport()
{
    const std::string failure = context_.store.takeWriteFailure();
    if (!failure.empty())
        context_.messages.show("设置未能保存：" + failure, "设置失败", base::MessageIcon::Warning);
}

bool SystemDesktopLauncher::openDocument(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool SystemDesktopLauncher::startProgram(const QString& path)
{
    return QProcess::startDetached(path, {}, QFileInfo(path).absolutePath());
}

MinutePurgeTimer::MinutePurgeTimer() : timer_(std::make_unique<QTimer>())
{
    timer_->setInterval(60000);
    QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] {
        if (onTick)
            onTick();
    });
}

MinutePurgeTimer::~MinutePurgeTimer() = default;

void MinutePurgeTimer::start()
{
    timer_->start();
}
void MinutePurgeTimer::stop()
{
    timer_->stop();
}
bool MinutePurgeTimer::running() const
{
    return timer_->isActive();
}

void ApplicationSkinApplier::apply(const QString& path)
{
    if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance()))
        applySkin(*application, path);
}

}  // namespace vantorel::console::ui
