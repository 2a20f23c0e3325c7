#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <array>
#include <functional>

class QLabel;
class QStatusBar;
class QTimer;

namespace vantorel::console::ui {

// The nine panels of the main window's status bar, in this order: "已打印胶片数",
// the print count, "监听端口", the port, the listening state ("正常"/"失败"),
// "IP地址", the local IP address, the date and the time. Date and time follow
// the wall clock, refreshed every second.
class StatusPanels final : public QObject {
    Q_OBJECT
public:
    static constexpr int panelCount = 9;
    using Now = std::function<QDateTime()>;

    explicit StatusPanels(QStatusBar& bar, Now now = &QDateTime::currentDateTime);

    void setPrintCount(qint64 count);
    void setListenPort(const QString& port);
    void setListening(bool ok);
    // "正常"/"失败" at start-up, but deliberately "True"/"False" after a port
    // change, the words of the run log line that operators know.
    void setListeningAfterPortChange(bool ok);
    void setLocalAddress(const QString& address);
    // Shown beside the panels while films do not reach their printer
    // ("胶片未能打印：" and the reason); an empty problem hides it.
    void setPrinterProblem(const QString& problem);
    QString printerProblemText() const;  // empty while hidden
    // Shown beside the panels while the DICOM port is not listened on and
    // is being tried again; an empty text hides it.
    void setListenProblem(const QString& problem);
    // Shown while archive rows of printed films wait for the database
    // ("档案待写入：N条"); 0 hides it.
    void setArchiveWaiting(qint64 waiting);
    // Shown while printed films cannot be saved ("胶片未能保存：" and why);
    // an empty problem hides it.
    void setFilmSavingProblem(const QString& problem);
    QString filmSavingProblemText() const;  // empty while hidden
    QString archiveWaitingText() const;     // empty while hidden
    QString listenProblemText() const;      // empty while hidden

    QString text(int panel) const;  // panel 1 ... 9, as on screen
    void refreshClock();

    // The "system's short date" and "long time" of a zh-CN workstation.
    static QString dateText(const QDateTime& time);  // 2014/3/5
    static QString timeText(const QDateTime& time);  // 7:08:09

private:
    std::array<QLabel*, panelCount> panels_{};
    QLabel* printerProblem_ = nullptr;
    QLabel* listenProblem_ = nullptr;
    QLabel* archiveWaiting_ = nullptr;
    QLabel* filmSavingProblem_ = nullptr;
    Now now_;
    QTimer* clock_ = nullptr;
};

}  // namespace vantorel::console::ui
