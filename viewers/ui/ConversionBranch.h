#pragma once
// The batch loop's branches for the ten graphics conversions (operation codes opBmpToJpg to
// opTifToBmp): each file of the work list goes through one PictureConverter per batch, so
// "Yes to All" holds for the rest of the batch. A file of the wrong kind, or one that cannot
// be read or written, shows "ERROR on <name>" in the item label and the batch goes on (a
// single damaged picture must not stop a folder of hundreds); the replace question is asked
// on the UI thread; Cancel there ends the batch. Every "ERROR on" line and reader's note is
// kept for the summary the window shows once the batch has ended.

#include <QStringList>

class ConversionBranch {
public:
    // Registers the ten branches in the batch loop's table.
    static void registerBranches();
    // The lines of the last batch: "ERROR on" lines and the readers' notes, in order.
    static QStringList messages();
    // Files the last batch wrote.
    static int written();
};
