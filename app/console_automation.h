#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;

namespace vantorel::app {

// Remote hands for automated checks of the window (VANTOREL_CONSOLE_COMMANDS):
// commands arrive on standard input, one a line, and act on the real widgets
// as the operator's mouse and keyboard would; each gets one line of answer on
// standard output. Widgets are named by their object names from a window
// down, e.g. "printPage/password" or "Frmhname/savePicture".
//
//   type <widget> <text>   replaces a line edit's (or spin box's) text as typing does
//   choose <widget> <text> picks the entry of a combo box with that text
//   drag <widget> <x1> <y1> <x2> <y2>   presses the left button at (x1, y1),
//                          moves to (x2, y2) and lets go; fractions of the
//                          widget's width and height
//   key <widget> <key>     presses and releases a key ("Right", "Up", ...)
//   click <widget>         clicks a button ("disabled" when it cannot be clicked)
//   page <entry>           selects a navigation entry
//   state <widget>         "enabled=1 visible=1 checked=0 text=..."
//   modal                  the title of the modal dialog that waits, if any
//   buttons                its buttons' texts as Qt holds them ("是(&Y)|否(&N)")
//   date <widget> <yyyy-MM-dd>   picks a date in a date box
//   rows <widget>          a grid's rows: "rows=N", then per row a tab and
//                          its cells joined by "|" (the first 200 rows)
//   dclick <widget> <row> <column>   double-clicks a grid's cell
//   select <widget> <row>  makes a grid's row the current one
//   pixmap <widget>        "pixmap=WxH at=X,Y": a label's picture and its
//                          top-left corner on the screen, or "pixmap=none"
//   answer yes|no|ok       answers the waiting message box
//   answer font <family>|<points>|<bold 0/1>   accepts the waiting font dialog
//   answer colour #rrggbb  accepts the waiting colour dialog
//
// Commands are taken while a modal dialog waits, so they can answer it.
class ConsoleAutomation final : public QObject {
public:
    ConsoleAutomation();
    ~ConsoleAutomation() override;

private:
    void readCommands();
    QString run(const QString& line);

    std::unique_ptr<QSocketNotifier> input_;
    QByteArray pending_;
};

}  // namespace vantorel::app
