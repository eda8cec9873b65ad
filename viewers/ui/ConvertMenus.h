#pragma once
// The graphics conversions in the main window: the submenu "Convert Graphic File(s)..." of
// the File Tools menu and of the file list's popup, each with "BMP to ...", "JPG to ...",
// "WMF to ...", "GIF to ..." and "TIF to ..." and the target kinds in them (MenuBMPtoJPG,
// PopupFileBMPtoJPG and so on). A conversion collects the selected files and every file
// below the selected folders, asks the confirmation dialog for the target folder, runs the
// batch loop in the progress dialog, and afterwards shows once what went wrong (the
// "ERROR on" lines and the readers' notes), tells the shell the target changed and reloads
// the list.

#include "fileops/BatchActions.h"

#include <QObject>

class QMenu;
class TransferMenus;
class WindowContext;

class ConvertMenus final : public QObject {
    Q_OBJECT
public:
    ConvertMenus(WindowContext& context, TransferMenus& transfer);

    // Runs the conversion of code (opBmpToJpg to opTifToBmp) on the list's selection.
    void convert(OperationCode code);

private:
    QMenu* addConvertMenu(QMenu* parent, const QString& prefix);
    void showSummary();

    WindowContext& m_context;
    TransferMenus& m_transfer;
};
