// The panes of the right-hand side: each mode shows its registered pane with its band and
// chrome, a registered pane replaces the mode's pane, and every switch leaves one pane
// and enters the next exactly once. And the context the feature controllers reach the
// window through.
#include "app/MainWindowControls.h"
#include "app/TFormMainFolvane3.h"
#include "browse/TTabControlDriveFol.h"
#include "platform/ui/BasicViewPane.h"
#include "platform/ui/WindowContext.h"
#include "tests/app/MainWindowFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QSet>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSlider>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>

namespace {

using PanesTest = MainWindowFixture;

// A pane that records what the window asks of it.
class RecordingPane : public BasicViewPane {
public:
    RecordingPane()
        : BasicViewPane({vmZipViewer, "RecordingPane", bandView, PaneChrome::HexButton | PaneChrome::TrackBar, nullptr})
    {
    }
    void enter(const QString& path) override { calls << QStringLiteral("enter ") + path; }
    void leave() override { calls << QStringLiteral("leave"); }
    void stepFile(int direction) override { calls << QStringLiteral("step %1").arg(direction); }

    QStringList calls;
};

TEST_F(PanesTest, EachModeShowsItsPaneItsBandAndItsChromeOnly)
{
    store([](AppSettings& s) { s.singleDrive = true; });
    auto window = shown();
    const MainWindowControls& c = window->controls();
    struct Case {
        TViewMode mode;
        const char* pane;
        int band;
        bool pathPanel, addressBox, trackBar, hexButton;
    } cases[] = {
        {vmWebBrowser, "WebBrowser1", bandBrowser, false, true, false, false},
        {vmFileViewer, "FileViewer", bandView, false, false, false, true},
        {vmTextEditor, "TextEditor", bandTextEditor, false, false, false, false},
        {vmMoviePlayer, "ScrollBox1", bandMovie, false, false, true, false},
        {vmImageViewer, "ScrollBox1", bandImage, false, false, false, false},
        {vmZipViewer, "ZipViewer", kNoBand, false, false, false, false},
        {vmFileManager, "FileViewFol1", bandFileManger, true, false, false, false},
    };
    for (const Case& m : cases) {
        SCOPED_TRACE(m.pane);
        c.MeterItemStatus->show();
        window->enterMode(m.mode);
        EXPECT_EQ(window->CurrentMode(), m.mode);
        EXPECT_EQ(c.rightPane->currentWidget()->objectName(), QLatin1String(m.pane));
        EXPECT_EQ(c.rightPane->currentWidget(), window->pane(m.mode)->widget());
        for (int band = 0; band < kBandCount; ++band)
            EXPECT_EQ(!c.bands[band]->isHidden(), band == bandGlobal || band == m.band) << "band " << band;
        EXPECT_EQ(!c.PanelPath->isHidden(), m.pathPanel);
        EXPECT_EQ(!c.ComboBoxURL->isHidden(), m.addressBox);
        EXPECT_EQ(!c.MediaTrackBar->isHidden(), m.trackBar);
        EXPECT_EQ(!c.ButtonHex->isHidden(), m.hexButton);
        EXPECT_TRUE(c.MeterItemStatus->isHidden());
        EXPECT_EQ(!c.TabControlDriveFol1->isHidden(), m.mode == vmFileManager) << "single drive: tabs in the file manager";
    }
    // The stored values a pane owns are a group the store reads and writes.
    QStringList groups;
    for (const SettingsGroup& group : window->store().groups())
        groups << group.subkey;
    EXPECT_EQ(groups, (QStringList{QString(), "Editor", "Viewer", "Options"}));
    for (int mode = 0; mode < kViewModeCount; ++mode) {
        const QString group = window->pane(mode)->settingsGroup();
        EXPECT_TRUE(group.isEmpty() || groups.contains(group)) << mode;
    }
    EXPECT_EQ(window->pane(vmTextEditor)->settingsGroup(), QStringLiteral("Editor"));
    EXPECT_EQ(window->pane(vmFileViewer)->settingsGroup(), QStringLiteral("Viewer"));
}

TEST_F(PanesTest, ARegisteredPaneIsEnteredAndLeftOncePerSwitch)
{
    auto window = shown();
    const MainWindowControls& c = window->controls();
    auto* pane = new RecordingPane;
    window->registerPane(pane);
    EXPECT_EQ(window->pane(vmZipViewer), pane);
    EXPECT_EQ(window->findChildren<QWidget*>(QStringLiteral("RecordingPane")).size(), 1) << "in the pane stack";

    window->enterMode(vmZipViewer, QStringLiteral("/data/a.zip"));
    EXPECT_EQ(c.rightPane->currentWidget(), pane);
    EXPECT_FALSE(c.bands[bandView]->isHidden()) << "the pane's own band";
    EXPECT_FALSE(c.ButtonHex->isHidden());
    EXPECT_FALSE(c.MediaTrackBar->isHidden());
    EXPECT_TRUE(c.PanelPath->isHidden());

    QSignalSpy steps(window.get(), &TFormMainFolvane3::stepFileRequested);
    c.SpinViewerNext->click();
    EXPECT_EQ(steps.size(), 1);
    window->enterMode(vmTextEditor);
    window->enterMode(vmFileManager);
    window->enterMode(vmZipViewer);
    window->enterMode(vmZipViewer);
    window->enterMode(vmFileManager);
    // The spinner steps the list and shows the next file in the pane that suits it (the
    // window's step, not the pane's), which leaves this pane.
    EXPECT_EQ(pane->calls, (QStringList{"enter /data/a.zip", "leave", "enter ", "leave", "enter ", "leave"}));
}

TEST_F(PanesTest, TheContextReachesEveryMenuAndBandButtonOfTheWindow)
{
    TFormMainFolvane3 window(path());
    WindowContext& context = window.context();
    const std::pair<MainMenu, const char*> menus[] = {
        {MainMenu::File, "MenuFile"},   {MainMenu::Path, "MenuPath"},           {MainMenu::Edit, "MenuEdit"},
        {MainMenu::Search, "MenuSearch"}, {MainMenu::Music, "MenuMusic"},       {MainMenu::Drive, "MenuDrive"},
        {MainMenu::FileTools, "MenuFileTools"}, {MainMenu::Tools, "MenuTools"}, {MainMenu::Help, "MenuHelp"},
    };
    for (const auto& [menu, name] : menus)
        EXPECT_EQ(context.menu(menu)->objectName(), QLatin1String(name));
    QSet<QToolButton*> buttons;
    for (int i = 0; i < kBandButtonCount; ++i) {
        QToolButton* button = context.button(BandButton(i));
        ASSERT_NE(button, nullptr) << i;
        buttons.insert(button);
    }
    EXPECT_EQ(buttons.size(), kBandButtonCount) << "every button once";
    const std::pair<BandButton, const char*> named[] = {
        {BandButton::ViewFile, "ButtonViewFile"}, {BandButton::Shuffle, "ToolButtonShuffle"},
        {BandButton::Hex, "ButtonHex"}, {BandButton::SingleDrive, "ButtonSingleDrive"}, {BandButton::Dup, "ButtonDup"},
    };
    for (const auto& [button, name] : named)
        EXPECT_EQ(context.button(button)->objectName(), QLatin1String(name));

    context.switchMode(vmTextEditor);
    EXPECT_EQ(context.currentMode(), vmTextEditor);
    EXPECT_EQ(window.CurrentMode(), vmTextEditor);
    context.historyIndex(HistoryIndex::FileStr) = 4;
    EXPECT_EQ(window.settings().fileStrIndex, 4) << "saved with the window's settings";
    EXPECT_EQ(&context.navigator(), &window.navigator());
}

} // namespace
