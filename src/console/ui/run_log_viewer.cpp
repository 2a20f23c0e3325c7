#include "console/ui/run_log_viewer.h"

#include "base/gbk.h"
#include "base/operator_messages.h"
#include "base/run_log.h"

#include <QFile>
#include <QFileInfo>

namespace vantorel::console::ui {

namespace {

// Log files are written in GBK; a byte sequence that is not GBK shows as the
// replacement character rather than cutting the text short.
QString decodeGbk(const QByteArray& bytes)
{
    return QString::fromStdString(base::gbkToUtf8(bytes.toStdString()));
}

const QString hintTitle = QStringLiteral("提示");

}  // namespace

RunLogViewer::RunLogViewer(QString homeFolder, const base::Clock& clock, base::OperatorMessages& messages,
                           AskFileName askFileName)
    : home_(std::move(homeFolder)), clock_(clock), messages_(messages), askFileName_(std::move(askFileName))
{}

QString RunLogViewer::todaysLogPath() const
{
    return home_ + QStringLiteral("/LOG/") + QString::fromStdString(base::FileRunLog::fileName(clock_.now()));
}

void RunLogViewer::showLog()
{
    const QString path = todaysLogPath();
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        reportMissing(path);
        return;
    }
    shownPath_ = path;
    text_ = decodeGbk(file.readAll());
    if (onChanged)
        onChanged();
}

void RunLogViewer::saveLog()
{
    // Before any log has been shown the path is empty, and an empty path is
    // reported like any other missing file.
    if (shownPath_.isEmpty() || !QFileInfo(shownPath_).isFile()) {
        reportMissing(shownPath_);
        return;
    }
    const std::optional<QString> chosen = askFileName_ ? askFileName_() : std::nullopt;
    if (!chosen)
        return;
    const QString name = chosen->trimmed();
    // The dialog answers with a whole path: a blank name typed in a folder
    // comes back as "<folder>/   ", which is no file name either (trimmed
    // alone it would name the folder and save beside it as "<folder>.log").
    if (name.isEmpty() || QFileInfo(*chosen).fileName().trimmed().isEmpty()) {
        messages_.show("请输入文件名后再另存。", hintTitle.toStdString(), base::MessageIcon::Information);
        return;
    }
    const QString target = name + QStringLiteral(".log");
    // Saving the log onto itself would first delete it; there is nothing to copy.
    if (QFileInfo(target).canonicalFilePath() == QFileInfo(shownPath_).canonicalFilePath())
        return;
    if (QFileInfo::exists(target) && !QFile::remove(target))
        return;
    QFile::copy(shownPath_, target);  // a failed copy ends the action silently
}

void RunLogViewer::reportMissing(const QString& path) const
{
    const QString text = QStringLiteral("抱歉，日志文件【") + path + QStringLiteral("】未找到。");
    messages_.show(text.toStdString(), hintTitle.toStdString(), base::MessageIcon::Information);
}

}  // namespace vantorel::console::ui
