#pragma once
// One message for many files that could not be handled (unreadable during a content search
// or a duplicate pass): the first lines as they are, then how many more there were, so that
// a folder full of unreadable files gives one box instead of hundreds.

#include <QString>
#include <QStringList>

class FailureList {
public:
    static constexpr int kShownLines = 20;
    // The lines joined with "\r\n"; past kShownLines a last line "... and N more files".
    static QString text(const QStringList& lines);
};
