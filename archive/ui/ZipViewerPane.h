#pragma once
// The zip viewer pane (mode vmZipViewer, no band of its own): the list ZipViewer of the
// archive that View opened, read on a worker thread, and its popup PopupMenuZipView: Select
// All / Un-Select All, Extract the selected entries (beside the archive: the viewer leaves
// the engine's base directory empty), Delete the selected entries (or the whole archive when
// none or all are selected) and Close. Extracting and deleting run as jobs while the viewer
// is disabled. The pane owns the engine for its archive; leaving closes it. The widget in the
// pane stack is the list itself.

#include "archive/TAbZipKit.h"
#include "platform/ui/ViewPane.h"

#include <QFutureWatcher>
#include <QObject>

#include <memory>

class QAction;
class QMenu;
class TAbZipView;
class WindowContext;

class ZipViewerPane final : public QObject, public ViewPane {
    Q_OBJECT
public:
    // The viewer is made in parent (the pane stack) and owns the pane.
    ZipViewerPane(WindowContext& context, QWidget* parent);
    ~ZipViewerPane() override;

    TAbZipView* ZipViewer() const { return m_view; }
    QMenu* PopupMenuZipView() const { return m_popup; }
    QString archivePath() const { return m_path; }

    TViewMode mode() const override { return vmZipViewer; }
    QWidget* widget() const override;
    int toolBand() const override { return kNoBand; }
    PaneChromes chrome() const override { return {}; }
    QString settingsGroup() const override { return QString(); }
    void enter(const QString& path) override;
    void leave() override;
    void stepFile(int) override {}

    void PopupMenuZipViewPopup();
    void PopupMenuZipViewExtractClick();
    void PopupMenuZipViewCloseClick();
    // The file deletion command on the viewer.
    void deleteSelected();

    // "Can not open Zip file to view " and a line break, the file's name and the reason.
    static QString openErrorText(const QString& path, const QString& reason);

Q_SIGNALS:
    // The archive's listing is shown, or its error reported.
    void archiveShown();
    void openFailed();

private:
    struct Opened {
        std::shared_ptr<TAbZipKit> kit;
        QString error;
        quint64 generation = 0;
    };

    QAction* addItem(const char* name, const QString& caption);
    void opened();
    void showEntries();
    void toggleSelectAll();
    // Runs work on the engine as a job with the viewer disabled and the busy cursor.
    bool runOnKit(const QString& title, const std::function<bool(TAbZipKit&, QString&)>& work);
    void wireKit();
    void deleteArchive();

    WindowContext& m_context;
    TAbZipView* m_view;
    QMenu* m_popup;
    QAction* m_selectAll;
    QAction* m_extract;
    QAction* m_delete;
    std::shared_ptr<TAbZipKit> m_kit;
    QFutureWatcher<Opened> m_opening;
    QString m_path;
    quint64 m_generation = 0;
    bool m_deleteHooked = false;
};
