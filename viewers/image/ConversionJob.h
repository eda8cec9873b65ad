#pragma once
// The graphics conversions as a job: each file of the work list whose extension is the
// action's source kind is read and written into the target folder under its base name with
// the new extension. A file of another kind, or one that cannot be read or written, is
// reported as "ERROR on <name>" and the batch goes on. An existing output file is replaced
// only after the replace question (Yes / Yes to All / No / Cancel); every output is
// written to a temporary file that is renamed into place once complete.

#include "platform/Job.h"

#include <QString>
#include <QStringList>

#include <optional>

struct Conversion {
    const char* name;       // fvtool's name, "bmp2jpg"
    const char* caption;    // "BMP to JPG"
    const char* sourceExt;  // ".BMP"
    const char* targetExt;  // ".jpg"
};

class ConversionJob final : public Job {
public:
    // The action of that name ("bmp2jpg"), when this build writes it.
    static std::optional<Conversion> conversionNamed(const QString& name);

    ConversionJob(const Conversion& conversion, const QString& targetFolder, const QStringList& files);

    // The output path for source: the target folder, the base name, the new extension.
    QString outputOf(const QString& source) const;
    // "ERROR on <name>" lines (with the reason where the file could not be converted) and
    // the TIFF reader's notes, in order, for the summary.
    QStringList messages() const;
    int written() const { return m_written; }

protected:
    bool plan() override;
    void execute() override;

private:
    void convert(const QString& source);
    bool mayWrite(const QString& source, const QString& output);

    Conversion m_conversion;
    QString m_target;
    QStringList m_files;
    QStringList m_messages;
    int m_written = 0;
    bool m_replaceAll = false;
};
