#include "console/ui/pages/readme_help.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QSaveFile>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace vantorel::console::ui {

QString builtInReadme()
{
    QFile file(QStringLiteral(":/help/README.md"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool writeReadmeHtml(const QString& markdown, const QString& htmlPath)
{
    QTextDocument document;
    document.setMarkdown(markdown);
    QSaveFile file(htmlPath);
    return file.open(QIODevice::WriteOnly) && file.write(document.toHtml().toUtf8()) >= 0 && file.commit();
}

QDialog* showReadmeHelp(QWidget* parent, const QString& markdown, const QString& htmlPath)
{
    auto* dialog = new QDialog(parent, Qt::Window);
    dialog->setObjectName(QStringLiteral("readmeHelp"));
    dialog->setWindowTitle(QStringLiteral("设置帮助"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto* browser = new QTextBrowser(dialog);
    browser->setObjectName(QStringLiteral("readmeText"));
    // The README's links to other files (docs/...) lead nowhere inside the
    // program: only web addresses open, in the desktop's browser.
    browser->setOpenLinks(false);
    QObject::connect(browser, &QTextBrowser::anchorClicked, browser, [](const QUrl& link) {
        if (link.scheme() == QLatin1String("http") || link.scheme() == QLatin1String("https"))
            QDesktopServices::openUrl(link);
    });
    if (writeReadmeHtml(markdown, htmlPath))
        browser->setSource(QUrl::fromLocalFile(htmlPath), QTextDocument::HtmlResource);
    else
        browser->setMarkdown(markdown);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    dialog->resize(900, 700);
    dialog->show();
    return dialog;
}

}  // namespace vantorel::console::ui
