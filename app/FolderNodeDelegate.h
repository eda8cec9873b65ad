#pragma once
// Draws the folder tree's nodes as the main window wants them (PathViewFol1CustomDrawItem):
// a folder that is read-only or hidden in the system's grey-text colour, a hidden one also
// struck through. Drives and the root are drawn as they are; folders on network drives are
// not asked, so that painting never waits on a share.

#include <QStyledItemDelegate>

class FolderNodeDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Whether the folder is drawn grey, and whether struck through.
    static bool isGreyed(const QString& folder);
    static bool isHidden(const QString& folder);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
