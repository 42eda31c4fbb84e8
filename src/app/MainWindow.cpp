#include "MainWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

#include "BackgroundRun.h"
#include "Banner.h"
#include "BaseDataPage.h"
#include "ExportPage.h"
#include "GeneratePage.h"
#include "ProgressBinding.h"
#include "ResizeAnchors.h"
#include "RoomsPage.h"
#include "Twips.h"
#include "UiStyle.h"
#include "UiThreadPrompt.h"
#include "app/Startup.h"

namespace sedilo::gui {

namespace {
constexpr int kClientWidth = 808;  // 12120 twips
constexpr int kClientHeight = 557; // 8355 twips
constexpr int kTabControlTop = 68; // 1030 twips, rounded so that the control ends at the bottom edge
} // namespace

MainWindow::MainWindow(const std::string& databasePath, Prompt& prompt, ShellDialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_prompt(new UiThreadPrompt(prompt, this)), m_run(new BackgroundRun(*m_prompt, this)),
      m_session(std::make_unique<session::Session>(databasePath, *m_prompt))
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QString::fromUtf8(kCaption));
    // The default size is the smallest: every control has its place in it.
    setMinimumSize(kClientWidth, kClientHeight);
    resize(kClientWidth, kClientHeight);
    setFont(songTi(9));

    auto& state = *m_session;
    m_guard = std::make_unique<session::TabGuard>(state.database, state.rooms.ksgrid, state.rooms.options, *m_prompt,
                                                  state.generate.ksscpro, state.exporting.cxdcscpro);

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));

    m_tabControl = new QTabWidget(this);
    m_tabControl->setObjectName(QStringLiteral("TabControl1"));
    // Built inside the window: a style sheet fixes a widget's font from its
    // parents' when it is set, so a page built on its own would keep the
    // default font in its flat edit boxes instead of the window's.
    m_baseDataPage = new BaseDataPage(state, *m_prompt, dialogs, *m_run, m_tabControl);
    m_roomsPage = new RoomsPage(state, *m_prompt, dialogs, m_tabControl);
    m_generatePage = new GeneratePage(state, *m_prompt, dialogs, *m_run, m_tabControl);
    m_exportPage = new ExportPage(state, *m_prompt, dialogs, *m_run, m_tabControl);
    m_tabControl->addTab(m_baseDataPage, QString::fromUtf8(BaseDataPage::kCaption));
    m_tabControl->addTab(m_roomsPage, QString::fromUtf8(RoomsPage::kCaption));
    m_tabControl->addTab(m_generatePage, QString::fromUtf8(GeneratePage::kCaption));
    m_tabControl->addTab(m_exportPage, QString::fromUtf8(ExportPage::kCaption));

    placeControls();

    connect(m_tabControl, &QTabWidget::currentChanged, this, &MainWindow::onTabChanged);
    connect(m_run, &BackgroundRun::started, this, [this] { setControlsEnabled(false); });
    // Behind a box the run shows, its progress stands where the run is.
    connect(m_prompt, &UiThreadPrompt::aboutToShow, this, [this] {
        for (ProgressBinding* binding : findChildren<ProgressBinding*>())
            binding->flush();
    });
    connect(m_run, &BackgroundRun::finished, this, &MainWindow::onRunFinished);
}

// A run still going works on the session, and the pages hold references into
// it: the run ends first, then the pages go.
MainWindow::~MainWindow()
{
    m_run->waitForFinished();
    delete m_tabControl;
}

void MainWindow::start()
{
    auto& state = *m_session;
    session::RunStartup(state.database, *m_prompt, state.cipher);
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

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeControls();
}

void MainWindow::placeControls()
{
    const QSize extra = size() - QSize(kClientWidth, kClientHeight);
    const int extraWidth = std::max(0, extra.width());
    if (m_image1->width() != kBannerWidth + extraWidth) {
        m_image1->setGeometry(kBannerLeft, 0, kBannerWidth + extraWidth, kBannerHeight);
        m_image1->setPixmap(drawBanner(kBannerWidth + extraWidth));
    }
    m_tabControl->setGeometry(0, kTabControlTop, std::max(width(), kClientWidth),
                              std::max(height(), kClientHeight) - kTabControlTop);
    for (int page = 0; page < m_tabControl->count(); ++page)
        applyAnchors(m_tabControl->widget(page), extra);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The run uses the session the window owns; the window closes when it ends.
    if (m_run->isRunning()) {
        m_closeWhenRunEnds = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void MainWindow::onRunFinished()
{
    setControlsEnabled(true);
    if (m_closeWhenRunEnds) {
        m_closeWhenRunEnds = false;
        close();
    }
}

// Everything the user can act on: the tab bar, buttons, option boxes, text
// boxes and grids. Labels and progress bars stay as they are, so that the
// progress of the run reads clearly.
void MainWindow::setControlsEnabled(bool enabled)
{
    m_tabControl->tabBar()->setEnabled(enabled);
    for (int page = 0; page < m_tabControl->count(); ++page) {
        for (QWidget* control : m_tabControl->widget(page)->findChildren<QWidget*>()) {
            if (qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control)
                || qobject_cast<QAbstractItemView*>(control))
                control->setEnabled(enabled);
        }
    }
}

} // namespace sedilo::gui
