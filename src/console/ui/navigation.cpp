#include "console/ui/navigation.h"

namespace vantorel::console::ui {

QStringList firstNavigationEntries()
{
    return {entries::filmPreview, entries::dicom, entries::print};
}

QStringList laterNavigationEntries(bool offerFilmManagement)
{
    QStringList later{entries::appearance, entries::runSettings};
    if (offerFilmManagement)
        later << entries::filmManagement;
    later << entries::runLog << entries::about;
    return later;
}

PageKey pageForEntry(const QString& entryText)
{
    struct Match {
        const QString& text;
        PageKey page;
    };
    const Match matches[] = {
        {entries::filmPreview, PageKey::FilmPreview},
        {entries::dicom, PageKey::Dicom},
        {entries::print, PageKey::Print},
        {entries::filmManagement, PageKey::FilmManagement},
        {entries::runLog, PageKey::RunLog},
        {entries::appearance, PageKey::Appearance},
        {entries::runSettings, PageKey::RunSettings},
    };
    for (const Match& match : matches) {
        if (match.text == entryText)
            return match.page;
    }
    return PageKey::About;
}

}  // namespace vantorel::console::ui
