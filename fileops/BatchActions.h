#pragma once
// The batch actions as one table, looked up by operation code: the caption (the confirmation
// dialog's heading and the action the batch loop shows), the controls the confirmation
// dialog shows for the action, the dialog's height and how the target is taken. Nothing
// picks an action by comparing on-screen captions.

#include "fileops/ConfirmActions.h"

#include <QString>

#include <span>

// The operation codes of the batch commands: 0 to 9 the graphics conversions, 10 to 14 the
// file tools, 15 to 18 the zip commands. opZipFolder is the zip of the tree's folder: a
// heading of its own in the confirmation dialog; its batch runs as opZip.
enum OperationCode : quint8 {
    opBmpToJpg = 0, opBmpToGif, opBmpToWmf, opBmpToTif, opJpgToBmp, opJpgToGif, opWmfToBmp, opGifToBmp, opGifToJpg,
    opTifToBmp = 9,
    opChangeExtension = 10, opAppendFiles, opMakeNumberFiles, opSearchReplace, opChangeAttributes = 14,
    opZipToExe = 15, opZip, opUnzip, opZipFix = 18,
    opZipFolder,
    kOperationCount
};

struct BatchAction {
    OperationCode code;
    const char* caption;
    ConfirmControls controls; // shown besides the target row and the buttons
    int height;               // the confirmation dialog's height (the zip panel collapsed)
    bool archiveTarget;       // the target names an archive: taken without a folder test
    bool pickArchive;         // the browse button picks an archive file, not a folder
    bool onTreeFolder;        // acts on the tree's folder: the dialog names no selection

    QString captionText() const { return QString::fromUtf8(caption); }
};

// The entry of code; every code below kOperationCount has one.
const BatchAction& BatchActionOf(OperationCode code);
// Every entry, in code order.
std::span<const BatchAction> BatchActions();
