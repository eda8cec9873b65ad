#pragma once
// What the search dialog does with selected hits: send them to the Trash, copy or move them
// into a folder the user picks, or save their paths as a text list. The work goes through
// the program's file operation (platform/FileOperation: the Trash for delete, the transfer
// job for copy and move); questions and messages through the Prompter and the Pickers.

#include "search/SearchHit.h"

#include <QString>

#include <vector>

class SearchHitActions {
public:
    static inline const QString kErrorCaption = QStringLiteral("ERROR");
    static inline const QString kDeleteFailed = QStringLiteral(
        "Error or user aborted recycling selected files.\r\nUpdate serach to see files in search list.");
    static inline const QString kTransferFailed = QStringLiteral(
        "Error or user aborted coping selected files.\r\nUpdate serach to see files in search list.");

    // Moves the hits to the Trash; reports a failure or an abort in the "ERROR" box.
    static bool deleteHits(const std::vector<SearchHit>& hits);
    // Asks for a folder ("Browse", starting at startFolder) and copies or moves the hits into
    // it; false when no folder was chosen or the operation failed (reported as for delete).
    static bool transferHits(const std::vector<SearchHit>& hits, bool move, const QString& startFolder);
    // Asks for a file name ("Create search list text file") and writes the hits' paths, in the
    // order given; tells the user the name of the list made. False when cancelled or failed.
    static bool saveList(const std::vector<SearchHit>& hits, const QString& startFolder);
};
