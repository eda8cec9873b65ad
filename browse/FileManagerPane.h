#pragma once
// The file manager pane (mode vmFileManager): the file list FileViewFol1 in the pane
// stack, the folder tree in the path panel beside it, the band ToolBarFileManger, and the
// drive tabs above or below while the tree shows a single drive.

#include "platform/ui/ViewPane.h"

#include <QObject>
#include <QPointer>

class TFileViewFol;
class TPathViewFol;
class TTabControlDriveFol;

class FileManagerPane : public QObject, public ViewPane {
    Q_OBJECT
public:
    FileManagerPane(TTabControlDriveFol* tabs, TPathViewFol* tree, TFileViewFol* list, QObject* parent = nullptr);

    TViewMode mode() const override { return vmFileManager; }
    QWidget* widget() const override;
    int toolBand() const override { return bandFileManger; }
    PaneChromes chrome() const override { return PaneChrome::PathPanel; }
    QString settingsGroup() const override { return QString(); }
    // The folder shown is the navigator's: entering shows the panes as they are.
    void enter(const QString& path) override;
    void leave() override;
    // The list is browsed, not stepped through.
    void stepFile(int direction) override;

private:
    QPointer<TTabControlDriveFol> m_tabs;
    QPointer<TPathViewFol> m_tree;
    QPointer<TFileViewFol> m_list;
};
