#pragma once
// A window with the real folder tree and file list over the test drives, the transfer
// commands wired to them through a FakeWindowContext, for tests that drive the window's
// commands as the user does. A test adds its own controllers in addControllers().
#include "browse/DriveFixture.h"

#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "fileops/ui/TransferMenus.h"
#include "support/BrowseWaits.h"
#include "support/FakeWindowContext.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

class BrowseWindowFixture : public DriveFixture {
protected:
    void SetUp() override
    {
        DriveFixture::SetUp();
        m_window = std::make_unique<QMainWindow>();
        m_context = std::make_unique<FakeWindowContext>(m_window.get());
        auto* central = new QWidget(m_window.get());
        auto* layout = new QVBoxLayout(central);
        m_tree = new TPathViewFol(central);
        m_list = new TFileViewFol(central);
        layout->addWidget(m_tree);
        layout->addWidget(m_list);
        m_window->setCentralWidget(central);
        m_tree->setCurrentFolder(m_data);
        m_tree->setNavigator(&m_context->navigator());
        m_list->setNavigator(&m_context->navigator());
        m_tree->RebuildTree();
        m_context->recentPathUpdated = [this](const QString& folder) { m_recent << folder; };
        m_context->setSettingsFile(home().configHome() + QStringLiteral("/registry.txt"));
        m_context->bindHistoryIndex(HistoryIndex::Ext, &m_extIndex);
        m_menus = new TransferMenus(*m_context);
        m_menus->setPanes(m_tree, m_list);
        addControllers();
        m_window->resize(700, 700);
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }
    void TearDown() override
    {
        m_window.reset();
        m_context.reset();
        DriveFixture::TearDown();
    }
    // The test's own controllers, made once the transfer commands exist.
    virtual void addControllers() {}

    void go(const QString& folder)
    {
        ASSERT_TRUE(m_tree->GoToPath(folder));
        m_list->setDirectory(folder);
        ASSERT_TRUE(waitForList(*m_list));
        ASSERT_TRUE(waitForTree(*m_tree));
    }
    void selectInList(const QStringList& names)
    {
        ASSERT_TRUE(waitForList(*m_list));
        QAbstractItemView* view = m_list->currentView();
        view->clearSelection();
        for (int row = 0; row < m_list->model().rowCount(); ++row) {
            const QModelIndex index = m_list->model().index(row, 0);
            if (names.contains(index.data().toString()))
                view->selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    std::unique_ptr<QMainWindow> m_window;
    std::unique_ptr<FakeWindowContext> m_context;
    TPathViewFol* m_tree = nullptr;
    TFileViewFol* m_list = nullptr;
    TransferMenus* m_menus = nullptr;
    QStringList m_recent;
    int m_extIndex = 0;
};
