#pragma once

#include <QWidget>

#include <array>

#include "app/Session.h"
#include "services/Prompt.h"
#include "services/ShellDialogs.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QRadioButton;
class QTableView;

namespace sedilo::gui {

class RoomGridModel;

// Tab index 1, "设置考室参数": the room list and the arrangement options.
class RoomsPage : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "设置考室参数";

    RoomsPage(session::Session& session, Prompt& prompt, ShellDialogs& dialogs, QWidget* parent = nullptr);

    // Copies the texts typed into the page into the tab's state, and back.
    void pullFromWidgets();
    void pushToWidgets();

    // Start-up: the header texts of ksgrid and its column widths.
    void writeGridHeaders();

private slots:
    void onSzksbtClicked();      // choose a room template
    void onSzksbt2Clicked();     // add a room
    void onPushButton8Clicked(); // modify the current room
    void onPushButton10Clicked(); // delete the current room
    void onPushButton18Clicked(); // clear the room list
    void onPushButton9Clicked(); // open the template sample
    void onPushButton13Clicked(); // save the room list
    void onPushButton14Clicked(); // load the room list
    void onKsgridClicked(const QModelIndex& index);
    void onKsgridDoubleClicked(const QModelIndex& index);

private:
    void onFillBoxClicked(int box);
    void onOrderingBoxClicked(int box);
    void onSeatingRuleClicked();
    void showOptions();
    void followCurrentCell(const QModelIndex& index);
    // The room just added at the end of the list comes into view.
    void scrollToLastRoom();

    session::Session& m_session;
    rooms::RoomsTab& m_tab;
    Prompt& m_prompt;
    ShellDialogs& m_dialogs;
    QGroupBox* m_groupBox1;
    QLabel* m_label7;
    QLabel* m_label5;
    QLineEdit* m_ksname;
    QLabel* m_label8;
    QLineEdit* m_ksmbpath;
    QPushButton* m_szksbt;
    QPushButton* m_szksbt2;
    QTableView* m_ksgrid;
    RoomGridModel* m_ksgridModel;
    QPushButton* m_pushButton8;
    QPushButton* m_pushButton10;
    QPushButton* m_pushButton18;
    QLabel* m_kstjstr;
    QGroupBox* m_frame1;
    QGroupBox* m_frame2;
    std::array<QCheckBox*, 2> m_fillBoxes;     // plfscheck1, plfscheck2
    std::array<QCheckBox*, 5> m_orderingBoxes; // pxfschek1 .. pxfschek5
    QGroupBox* m_frame3;                       // "座位规则"
    QCheckBox* m_tdwcheck;                     // "同单位不相邻"
    QRadioButton* m_xlfs1;                     // "前后左右"
    QRadioButton* m_xlfs2;                     // "周围八格"
    QPushButton* m_pushButton9;
    QPushButton* m_pushButton13;
    QPushButton* m_pushButton14;
};

} // namespace sedilo::gui
