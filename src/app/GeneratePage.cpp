#include "GeneratePage.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "BackgroundRun.h"
#include "Controls.h"
#include "ProgressBinding.h"
#include "ResizeAnchors.h"
#include "Twips.h"
#include "UiStyle.h"
#include "arrange/GenerateArrangement.h"
#include "services/ShellFolders.h"

namespace sedilo::gui {

namespace {
constexpr int kLeft = 240;
constexpr int kButtonWidth = 1695;
constexpr int kButtonHeight = 495;
constexpr int kPathRowTop = 1500;
constexpr int kEditHeight = 315;
} // namespace

GeneratePage::GeneratePage(session::Session& session, Prompt& prompt, ShellDialogs& dialogs, BackgroundRun& run,
                           QWidget* parent)
    : QWidget(parent), m_session(session), m_tab(session.generate), m_dialogs(dialogs), m_prompt(prompt), m_run(run)
{
    m_label9 = makeLabel(this, "Label9", "方法：选择生成路径-->点击生成编排文件按钮。", pageRect(kLeft, 840, 9000, 360));
    m_label9->setFont(songTi(10.5));

    const int editTop = kPathRowTop + (kButtonHeight - kEditHeight) / 2;
    m_label13 = makeLabel(this, "Label13", "考室编排文件生成路径", pageRect(kLeft, editTop, 1950, kEditHeight));
    m_ksoutpath = makeEdit(this, "ksoutpath", "", pageRect(2250, editTop, 6900, kEditHeight));
    makeFlat(m_ksoutpath);
    setGrows(m_ksoutpath, Qt::Horizontal);
    m_pushButton3 = makeButton(this, "PushButton3", "选择路径", pageRect(9270, kPathRowTop, kButtonWidth, kButtonHeight));

    const int actionsTop = 2280;
    m_pushButton7 = makeButton(this, "PushButton7", "生成编排文件", pageRect(kLeft, actionsTop, kButtonWidth, kButtonHeight));
    m_pushButton11 = makeButton(this, "PushButton11", "打开输出文件夹",
                                pageRect(kLeft + kButtonWidth + 120, actionsTop, kButtonWidth, kButtonHeight));

    m_ksscpro = makeProgressBar(this, "ksscpro", pageRect(kLeft, 3000, 11640, 255));
    m_scts = makeLabel(this, "scts", "", pageRect(kLeft, 3360, 11640, 330));
    m_progressBinding = new ProgressBinding(m_tab.ksscpro, m_ksscpro, m_scts, this);

    connect(m_ksoutpath, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_tab.ksoutpath = text.toStdString(); });
    connect(m_pushButton3, &QPushButton::clicked, this, &GeneratePage::onPushButton3Clicked);
    connect(m_pushButton7, &QPushButton::clicked, this, &GeneratePage::onPushButton7Clicked);
    connect(m_pushButton11, &QPushButton::clicked, this, &GeneratePage::onPushButton11Clicked);
}

void GeneratePage::pullFromWidgets()
{
    m_tab.ksoutpath = m_ksoutpath->text().toStdString();
}

void GeneratePage::pushToWidgets()
{
    m_ksoutpath->setText(QString::fromStdString(m_tab.ksoutpath));
    m_progressBinding->apply();
}

void GeneratePage::onPushButton3Clicked()
{
    pullFromWidgets();
    ChooseOutputFolder(m_tab.ksoutpath, m_dialogs);
    pushToWidgets();
}

void GeneratePage::onPushButton11Clicked()
{
    pullFromWidgets();
    OpenOutputFolder(OutputFolderButton::PushButton11, m_tab.ksoutpath, m_dialogs, m_prompt);
}

// The run reads the room tab, which cannot change while the controls are disabled.
void GeneratePage::onPushButton7Clicked()
{
    pullFromWidgets();
    m_run.start(
        [this] {
            arrange::GenerateArrangement(m_tab, m_session.rooms, m_session.database, m_session.cipher, m_prompt);
        },
        [this] { pushToWidgets(); });
}

} // namespace sedilo::gui
