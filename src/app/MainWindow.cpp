#include "MainWindow.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QTabWidget>

#include "Banner.h"
#include "BaseDataPage.h"
#include "ExportPage.h"
#include "GeneratePage.h"
#include "RoomsPage.h"
#include "Twips.h"
#include "UiStyle.h"
#include "app/Startup.h"

namespace sedilo::gui {

namespace {
constexpr int kClientWidth = 808;  // 12120 twips
constexpr int kClientHeight = 557; // 8355 twips
constexpr int kTabControlTop = 68; // 1030 twips, rounded so that the control ends at the bottom edge
} // namespace

MainWindow::MainWindow(const std::string& databasePath, Prompt& prompt, ShellDialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_prompt(prompt), m_session(std::make_unique<session::Session>(databasePath, prompt))
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QString::fromUtf8(kCaption));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(songTi(9));

    auto& state = *m_session;
    m_guard = std::make_unique<session::TabGuard>(state.database, state.rooms.ksgrid, state.rooms.options, prompt,
                                                  state.generate.ksscpro, state.exporting.cxdcscpro);

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(kBannerLeft, 0, kBannerWidth, kBannerHeight);
    m_image1->setPixmap(drawBanner());

    m_tabControl = new QTabWidget(this);
    m_tabControl->setObjectName(QStringLiteral("TabControl1"));
    m_tabControl->setGeometry(0, kTabControlTop, kClientWidth, kClientHeight - kTabControlTop);
    m_baseDataPage = new BaseDataPage(state.baseData);
    m_roomsPage = new RoomsPage(state.rooms);
    m_generatePage = new GeneratePage(state.generate, dialogs, prompt);
    m_exportPage = new ExportPage(state.exporting, state.generate, dialogs, prompt);
    m_tabControl->addTab(m_baseDataPage, QString::fromUtf8(BaseDataPage::kCaption));
    m_tabControl->addTab(m_roomsPage, QString::fromUtf8(RoomsPage::kCaption));
    m_tabControl->addTab(m_generatePage, QString::fromUtf8(GeneratePage::kCaption));
    m_tabControl->addTab(m_exportPage, QString::fromUtf8(ExportPage::kCaption));

    connect(m_tabControl, &QTabWidget::currentChanged, this, &MainWindow::onTabChanged);
}

// The pages hold references into the session: they go first.
MainWindow::~MainWindow()
{
    delete m_tabControl;
}

void MainWindow::start()
{
    auto& state = *m_session;
    session::RunStartup(state.database, m_prompt, state.cipher);
    selectTabWithoutGuard(session::kBaseDataTabIndex);
    m_baseDataPage->writeGridHeaders();
    m_roomsPage->writeGridHeaders();
}

void MainWindow::selectTabWithoutGuard(int index)
{
    const QSignalBlocker blocker(m_tabControl);
    m_tabControl->setCurrentIndex(index);
}

void MainWindow::pullFromWidgets()
{
    m_baseDataPage->pullFromWidgets();
    m_roomsPage->pullFromWidgets();
    m_generatePage->pullFromWidgets();
    m_exportPage->pullFromWidgets();
}

void MainWindow::pushToWidgets()
{
    m_baseDataPage->pushToWidgets();
    m_roomsPage->pushToWidgets();
    m_generatePage->pushToWidgets();
    m_exportPage->pushToWidgets();
}

void MainWindow::onTabChanged(int index)
{
    pullFromWidgets();
    // Selecting the tab to go back to runs the guard again for that tab, which
    // its earlier checks have just passed.
    if (const auto redirect = m_guard->TabChanged(index))
        m_tabControl->setCurrentIndex(*redirect);
}

} // namespace sedilo::gui
