#pragma once
// One graphics conversion of one file, as the window's batch and fvtool convert run it: a
// file whose extension is the conversion's source kind is read and written into the target
// folder under its base name with the new extension. A file of another kind, or one that
// cannot be read or written, gives an "ERROR on <name>" line and nothing is written. An
// existing output is replaced only after the replace question (Yes / Yes to All / No /
// Cancel), and every output is written to a temporary file renamed into place once complete.

#include "platform/Job.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <span>

struct Conversion {
    const char* name;       // fvtool's name, "bmp2jpg"
    const char* caption;    // "BMP to JPG"
    const char* sourceExt;  // ".BMP"
    const char* targetExt;  // ".jpg"
};

class PictureConverter {
public:
    // The ten conversions, in the order of their batch operation codes (0 = BMP to JPG).
    static std::span<const Conversion> conversions();

    using AskReplace = std::function<JobConflictChoice(const JobConflict&)>;
    PictureConverter(const Conversion& conversion, const QString& targetFolder, AskReplace askReplace);

    // The output path for source: the target folder, the base name, the new extension.
    QString outputOf(const QString& source) const;

    enum class Outcome { Written, Kept, Failed, Cancelled };
    // Converts source; "ERROR on" lines and the readers' notes are appended to messages.
    Outcome convert(const QString& source, QStringList& messages);

private:
    Outcome mayWrite(const QString& source, const QString& output, QStringList& messages);

    Conversion m_conversion;
    QString m_target;
    AskReplace m_askReplace;
    bool m_replaceAll = false;
};
