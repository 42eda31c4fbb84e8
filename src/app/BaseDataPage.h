#pragma once

#include <QWidget>

#include "basedata/BaseDataTab.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace sedilo::gui {

class ExamineeGridModel;
class ProgressBinding;

// Tab index 0, "导入基础数据": importing the examinees.
class BaseDataPage : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "导入基础数据";

    explicit BaseDataPage(basedata::BaseDataTab& tab, QWidget* parent = nullptr);

    // Copies the texts typed into the page into the tab's state, and back.
    void pullFromWidgets();
    void pushToWidgets();

    // Start-up: the header texts of sjgrid and its column widths.
    void writeGridHeaders();

private slots:
    void onPushButton2Clicked(); // choose the base-data workbook
    void onPushButton1Clicked(); // import
    void onPushButton6Clicked(); // show the sample workbook
    void onPushButton12Clicked(); // clear the base data

private:
    basedata::BaseDataTab& m_tab;
    QLabel* m_label2;
    QLabel* m_label3;
    QLabel* m_label4;
    QLineEdit* m_sjlj;
    QPushButton* m_pushButton2;
    QPushButton* m_pushButton1;
    QPushButton* m_pushButton6;
    QPushButton* m_pushButton12;
    QProgressBar* m_prbar;
    QTableView* m_sjgrid;
    ExamineeGridModel* m_sjgridModel;
    ProgressBinding* m_prbarBinding;
};

} // namespace sedilo::gui
