#pragma once

#include "console/ui/pages/page_services.h"
#include "settings/settings_model.h"

#include <QStringList>
#include <QWidget>

#include <array>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace vantorel::console::ui {

// The routing part of the print page: the routing choice, the eight routing
// rows (film-size box or IP entry, printer pool with its "指定"/"确认" button,
// paper code) and the shared multi-select list of installed printers. Edits
// act on the routing table at once; a row's "确认" also stores its pool.
class RoutingRows final : public QWidget {
    Q_OBJECT
public:
    RoutingRows(PageContext context, QWidget* parent = nullptr);

    // Shows the model: routing choice, IP entries, paper codes, pools and the
    // installed printers.
    void showSettings();

    bool routeByDevice() const;
    std::array<std::string, settings::routeCount> deviceIps() const;
    std::array<int, settings::routeCount> paperIndexes() const;

    QRadioButton* bySizeChoice() const { return bySize_; }
    QRadioButton* byDeviceChoice() const { return byDevice_; }
    QLineEdit* filmSizeBox(int row) const { return rows_[index(row)].filmSize; }
    QLineEdit* ipEntry(int row) const { return rows_[index(row)].ip; }
    QLineEdit* poolView(int row) const { return rows_[index(row)].pool; }
    QPushButton* assignButton(int row) const { return rows_[index(row)].assign; }
    QComboBox* paperBox(int row) const { return rows_[index(row)].paper; }
    QListWidget* printerList() const { return printers_; }

    // The row's "指定"/"确认" button (clicking it does the same).
    void assign(int row);

private:
    struct Row {
        QLineEdit* filmSize = nullptr;
        QLineEdit* ip = nullptr;
        QLineEdit* pool = nullptr;
        QPushButton* assign = nullptr;
        QComboBox* paper = nullptr;
    };
    static std::size_t index(int row) { return static_cast<std::size_t>(row); }
    QWidget* buildChoice();
    void buildRow(int row, QGridLayout& grid);
    void showMode(bool byDevice);
    void showPool(int row);
    void confirm(int row);

    PageContext context_;
    QRadioButton* bySize_ = nullptr;
    QRadioButton* byDevice_ = nullptr;
    QLabel* sizeHeading_ = nullptr;
    QLabel* ipHeading_ = nullptr;
    std::array<Row, settings::routeCount> rows_{};
    QListWidget* printers_ = nullptr;
};

}  // namespace vantorel::console::ui
