#pragma once
// A window context with the viewer and editor panes, the transfer commands' Edit items and
// the viewer commands, for the pane tests. Dialogs of the find and replace loops are
// answered from dialogAnswers (the text to type and the button), in order.

#include "fileops/FakePanes.h"
#include "support/FakeWindowContext.h"
#include "support/TempHome.h"

#include "viewers/EditorSettings.h"
#include "viewers/ViewerSettings.h"
#include "fileops/ui/TransferMenus.h"
#include "platform/Registry.h"
#include "viewers/ui/FileViewerPane.h"
#include "viewers/ui/TFindDlg.h"
#include "viewers/ui/TReplDlg.h"
#include "viewers/ui/TextEditorPane.h"
#include "viewers/ui/ViewerCommands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QMainWindow>

#include <deque>
#include <memory>

#include <sys/stat.h>

struct DialogAnswer {
    QString find;
    int result = QDialog::Accepted;
    QString replace;
    bool fromCursor = true;
};


class ViewerPaneFixture : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        context = std::make_unique<ModeContext>(&window);
        settingsFile = home().configHome() + QStringLiteral("/registry.txt");
        Registry registry(settingsFile);
        registry.save();
        context->setSettingsFile(settingsFile);
        transfer = new TransferMenus(*context);
        viewer = new FileViewerPane(*context, settings, &window);
        editor = new TextEditorPane(*context, settings, &window);
        viewer->setBrowsePanes(&panes);
        commands = new ViewerCommands(*context, *viewer, *editor);
        commands->setDialogRunner([this](QDialog& dialog) { return answerDialog(dialog); });
    }

    int answerDialog(QDialog& dialog)
    {
        dialogsShown.append(dialog.windowTitle());
        QComboBox* offered = dialog.findChild<QComboBox*>(QStringLiteral("ComboBoxFind"));
        openedWith.append(offered->currentText());
        QStringList items;
        for (int i = 0; i < offered->count(); ++i)
            items << offered->itemText(i);
        offeredLists.append(items);
        if (dialogAnswers.empty()) {
            dialog.done(QDialog::Rejected);
            return QDialog::Rejected;
        }
        const DialogAnswer answer = dialogAnswers.front();
        dialogAnswers.pop_front();
        offered->setEditText(answer.find);
        if (auto* replace = dialog.findChild<QComboBox*>(QStringLiteral("ComboBoxReplace")))
            replace->setEditText(answer.replace);
        if (auto* fromCursor = dialog.findChild<QCheckBox*>(QStringLiteral("CheckBoxFromCursor")))
            fromCursor->setChecked(answer.fromCursor);
        dialog.done(answer.result);
        return answer.result;
    }

    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // The fake context, whose mode a test sets; a switch to the viewer enters it.
    class ModeContext final : public WindowContext {
    public:
        explicit ModeContext(QMainWindow* window)
            : m_fake(window)
        {
        }
        void setMode(TViewMode mode) { m_mode = mode; }
        void setSettingsFile(const QString& path) { m_fake.setSettingsFile(path); }
        std::function<void(TViewMode, const QString&)> switched;
        QList<std::pair<TViewMode, QString>> switches;

        QWidget* window() const override { return m_fake.window(); }
        QMenu* menu(MainMenu which) const override { return m_fake.menu(which); }
        QToolButton* button(BandButton which) const override { return m_fake.button(which); }
        QLabel* statusPanel(int index) const override { return m_fake.statusPanel(index); }
        QProgressBar* meter() const override { return m_fake.meter(); }
        TViewMode currentMode() const override { return m_mode; }
        void switchMode(TViewMode mode, const QString& path) override
        {
            m_mode = mode;
            switches.append({mode, path});
            if (switched)
                switched(mode, path);
        }
        BrowseNavigator& navigator() const override { return m_fake.navigator(); }
        QStringList recentPaths() const override { return m_fake.recentPaths(); }
        void updateRecentPaths(const QString& folder) override { m_fake.updateRecentPaths(folder); }
        QString settingsFile() const override { return m_fake.settingsFile(); }
        int& historyIndex(HistoryIndex which) override { return m_fake.historyIndex(which); }
        void saveSettings() override { m_fake.saveSettings(); }
        QString currentPath() const override { return m_fake.currentPath(); }

    private:
        FakeWindowContext m_fake;
        TViewMode m_mode = vmFileManager;
    };

    QMainWindow window;
    std::unique_ptr<ModeContext> context;
    QString settingsFile;
    struct PaneSettings : EditorSettings, ViewerSettings {};
    PaneSettings settings;
    FakePanes panes;
    TransferMenus* transfer = nullptr;
    FileViewerPane* viewer = nullptr;
    TextEditorPane* editor = nullptr;
    ViewerCommands* commands = nullptr;
    std::deque<DialogAnswer> dialogAnswers;
    QStringList dialogsShown;
    QStringList openedWith; // the find text each dialog opened with
    QList<QStringList> offeredLists; // the remembered texts each dialog offered
};
