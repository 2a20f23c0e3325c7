#include "console_automation.h"

#include "console/ui/qt_translations.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <iostream>
#include <unistd.h>

namespace vantorel::app {

namespace {

// The widget at `path`: the first segment anywhere among the windows, each
// further one below the previous.
QWidget* widgetAt(const QString& path)
{
    const QStringList names = path.split('/', Qt::SkipEmptyParts);
    if (names.isEmpty())
        return nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        QWidget* widget =
            window->objectName() == names.front() ? window : window->findChild<QWidget*>(names.front());
        for (int i = 1; widget && i < names.size(); ++i)
            widget = widget->findChild<QWidget*>(names[i]);
        if (widget)
            return widget;
    }
    return nullptr;
}

QString describe(QWidget* widget)
{
    QString text;
    bool checked = false;
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        text = edit->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
        text = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        text = button->text();
        checked = button->isChecked();
    }
    return QStringLiteral("enabled=%1 visible=%2 checked=%3 text=%4")
        .arg(widget->isEnabled() ? 1 : 0)
        .arg(widget->isVisible() ? 1 : 0)
        .arg(checked ? 1 : 0)
        .arg(text);
}

// Where a label's picture is on the screen: "pixmap=WxH at=X,Y" (its top
// left corner, global), or "pixmap=none". The label centres its picture.
QString describePixmap(QWidget* widget)
{
    auto* label = qobject_cast<QLabel*>(widget);
    if (!label || label->pixmap().isNull())
        return QStringLiteral("pixmap=none");
    const QSize size = label->pixmap().deviceIndependentSize().toSize();
    const QPoint corner = label->mapToGlobal(
        QPoint((label->width() - size.width()) / 2, (label->height() - size.height()) / 2));
    return QStringLiteral("pixmap=%1x%2 at=%3,%4")
        .arg(size.width())
        .arg(size.height())
        .arg(corner.x())
        .arg(corner.y());
}

// Makes the row current and selected, as a click on it does.
QString selectRow(QAbstractItemView* grid, const QString& where)
{
    const QModelIndex cell = grid->model() ? grid->model()->index(where.toInt(), 0) : QModelIndex();
    if (!cell.isValid())
        return QStringLiteral("error no such row");
    grid->scrollTo(cell);
    grid->setCurrentIndex(cell);
    return QStringLiteral("ok");
}

QString answerDialog(const QString& how)
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return QStringLiteral("error no dialog waits");
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        const QMessageBox::StandardButton which = how == QLatin1String("yes") ? QMessageBox::Yes
            : how == QLatin1String("ok")                                      ? QMessageBox::Ok
                                                                              : QMessageBox::No;
        QAbstractButton* button = box->button(which);
        if (!button)
            return QStringLiteral("error no such button");
        button->click();
        return QStringLiteral("ok");
    }
    if (auto* dialog = qobject_cast<QFontDialog*>(modal); dialog && how.startsWith("font ")) {
        const QStringList parts = how.mid(5).split('|');
        if (parts.size() != 3)
            return QStringLiteral("error font wants family|points|bold");
        QFont font(parts[0]);
        font.setPointSizeF(parts[1].toDouble());
        font.setBold(parts[2] == QLatin1String("1"));
        dialog->setCurrentFont(console::ui::withFontStyleName(font));
        dialog->accept();
        return QStringLiteral("ok");
    }
    if (auto* dialog = qobject_cast<QColorDialog*>(modal); dialog && how.startsWith("colour ")) {
        dialog->setCurrentColor(QColor(how.mid(7)));
        dialog->accept();
        return QStringLiteral("ok");
    }
    return QStringLiteral("error cannot answer ") + modal->windowTitle();
}

// The buttons of the waiting dialog, in the order of its button row.
QString dialogButtons()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return QStringLiteral("error no dialog waits");
    QList<QAbstractButton*> buttons;
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        buttons = box->buttons();
    else if (auto* row = modal->findChild<QDialogButtonBox*>())
        buttons = row->buttons();
    QStringList texts;
    for (QAbstractButton* button : buttons)
        texts << button->text();
    return QStringLiteral("buttons=") + texts.join('|');
}

QString gridRows(QAbstractItemView* grid)
{
    QAbstractItemModel* model = grid->model();
    if (!model)
        return QStringLiteral("rows=0");
    while (model->canFetchMore({}))
        model->fetchMore({});
    QString text = QStringLiteral("rows=%1").arg(model->rowCount());
    for (int row = 0; row < std::min(model->rowCount(), 200); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data().toString();
        text += '\t' + cells.join('|');
    }
    return text;
}

// Press, release and double-click on the cell, as the mouse sends them; later,
// from the event loop, as the double-click may open a dialog that waits.
QString doubleClickCell(QAbstractItemView* grid, const QString& where)
{
    const QStringList parts = where.split(' ', Qt::SkipEmptyParts);
    if (parts.size() != 2 || !grid->model())
        return QStringLiteral("error dclick wants row and column");
    const QModelIndex cell = grid->model()->index(parts[0].toInt(), parts[1].toInt());
    if (!cell.isValid())
        return QStringLiteral("error no such cell");
    grid->scrollTo(cell);
    const QPointF at = grid->visualRect(cell).center();
    QPointer<QWidget> viewport = grid->viewport();
    QTimer::singleShot(0, viewport, [viewport, at] {
        const QPointF global = viewport->mapToGlobal(at);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            if (!viewport)
                return;
            QMouseEvent event(type, at, global, Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(viewport, &event);
        }
    });
    return QStringLiteral("ok");
}

// Press, moves and release of the left button, as the mouse sends them.
QString dragWidget(QWidget* widget, const QString& where)
{
    const QStringList parts = where.split(' ', Qt::SkipEmptyParts);
    if (parts.size() != 4)
        return QStringLiteral("error drag wants x1 y1 x2 y2");
    const auto at = [widget, &parts](int i) {
        return QPointF(parts[i].toDouble() * widget->width(), parts[i + 1].toDouble() * widget->height());
    };
    const QPointF from = at(0), to = at(2);
    const auto send = [widget](QEvent::Type type, QPointF point, Qt::MouseButtons buttons) {
        QMouseEvent event(type, point, widget->mapToGlobal(point), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (int step = 1; step <= 4; ++step)
        send(QEvent::MouseMove, from + (to - from) * step / 4, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
    return QStringLiteral("ok");
}

QString pressKey(QWidget* widget, const QString& name)
{
    const QKeySequence sequence(name);
    if (sequence.isEmpty())
        return QStringLiteral("error no such key ") + name;
    const QKeyCombination combination = sequence[0];
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, combination.key(), combination.keyboardModifiers());
        QApplication::sendEvent(widget, &event);
    }
    return QStringLiteral("ok");
}

}  // namespace

ConsoleAutomation::ConsoleAutomation()
    : input_(std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read))
{
    connect(input_.get(), &QSocketNotifier::activated, this, &ConsoleAutomation::readCommands);
}

ConsoleAutomation::~ConsoleAutomation() = default;

void ConsoleAutomation::readCommands()
{
    char buffer[4096];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
        input_->setEnabled(false);  // end of input: nothing more to do
        return;
    }
    pending_.append(buffer, static_cast<int>(n));
    for (int end; (end = pending_.indexOf('\n')) >= 0;) {
        const QString line = QString::fromUtf8(pending_.left(end)).trimmed();
        pending_.remove(0, end + 1);
        if (!line.isEmpty())
            std::cout << run(line).toStdString() << std::endl;
    }
}

QString ConsoleAutomation::run(const QString& line)
{
    const int space = line.indexOf(' ');
    const QString verb = line.left(space);
    const QString rest = space < 0 ? QString() : line.mid(space + 1);
    if (verb == QLatin1String("modal")) {
        QWidget* modal = QApplication::activeModalWidget();
        return QStringLiteral("modal=") + (modal ? modal->windowTitle() : QString());
    }
    if (verb == QLatin1String("answer"))
        return answerDialog(rest);
    if (verb == QLatin1String("buttons"))
        return dialogButtons();
    if (verb == QLatin1String("page")) {
        auto* navigation = qobject_cast<QListWidget*>(widgetAt(QStringLiteral("navigation")));
        const auto items =
            navigation ? navigation->findItems(rest, Qt::MatchExactly) : QList<QListWidgetItem*>();
        if (items.isEmpty())
            return QStringLiteral("error no entry ") + rest;
        navigation->setCurrentItem(items.front());
        return QStringLiteral("ok");
    }
    const int split = rest.indexOf(' ');
    QWidget* widget = widgetAt(split < 0 ? rest : rest.left(split));
    if (!widget)
        return QStringLiteral("error no widget ") + rest;
    if (verb == QLatin1String("state"))
        return describe(widget);
    if (verb == QLatin1String("date")) {
        auto* edit = qobject_cast<QDateEdit*>(widget);
        const QDate date = QDate::fromString(rest.mid(split + 1), Qt::ISODate);
        if (!edit || !edit->isEnabled() || !date.isValid())
            return QStringLiteral("disabled");
        edit->setDate(date);
        return QStringLiteral("ok");
    }
    if (auto* grid = qobject_cast<QAbstractItemView*>(widget); grid && verb == QLatin1String("rows"))
        return gridRows(grid);
    if (verb == QLatin1String("pixmap"))
        return describePixmap(widget);
    if (auto* grid = qobject_cast<QAbstractItemView*>(widget); grid && verb == QLatin1String("select"))
        return selectRow(grid, rest.mid(split + 1));
    if (auto* grid = qobject_cast<QAbstractItemView*>(widget); grid && verb == QLatin1String("dclick"))
        return doubleClickCell(grid, rest.mid(split + 1));
    if (verb == QLatin1String("choose")) {
        auto* combo = qobject_cast<QComboBox*>(widget);
        const int index = combo ? combo->findText(rest.mid(split + 1)) : -1;
        if (!combo || !combo->isEnabled() || index < 0)
            return QStringLiteral("disabled");
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        return QStringLiteral("ok");
    }
    if (verb == QLatin1String("drag"))
        return widget->isEnabled() ? dragWidget(widget, rest.mid(split + 1)) : QStringLiteral("disabled");
    if (verb == QLatin1String("key"))
        return widget->isEnabled() ? pressKey(widget, rest.mid(split + 1)) : QStringLiteral("disabled");
    if (verb == QLatin1String("type")) {
        // A spin box is typed into through its line edit.
        auto* spin = qobject_cast<QAbstractSpinBox*>(widget);
        auto* edit = spin ? spin->findChild<QLineEdit*>() : qobject_cast<QLineEdit*>(widget);
        if (!edit || !edit->isEnabled())
            return QStringLiteral("disabled");
        edit->setFocus();
        edit->selectAll();
        QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, split < 0 ? QString() : rest.mid(split + 1));
        if (typed.text().isEmpty())
            edit->del();
        else
            QApplication::sendEvent(edit, &typed);
        if (spin)
            spin->interpretText();
        return QStringLiteral("ok");
    }
    if (verb == QLatin1String("click")) {
        auto* button = qobject_cast<QAbstractButton*>(widget);
        if (!button || !button->isEnabled())
            return QStringLiteral("disabled");
        // Later, from the event loop: the click may open a dialog that waits.
        QTimer::singleShot(0, button, &QAbstractButton::click);
        return QStringLiteral("ok");
    }
    return QStringLiteral("error unknown command ") + verb;
}

}  // namespace vantorel::app
