#pragma once
// The graphics conversions as a job over a list of files, for fvtool convert: each file goes
// through PictureConverter; "ERROR on" lines and the readers' notes are kept, in order, for
// the summary, and the batch goes on past a file that cannot be converted.

#include "platform/Job.h"
#include "viewers/image/PictureConverter.h"

#include <QString>
#include <QStringList>

#include <optional>

class ConversionJob final : public Job {
public:
    // The action of that name ("bmp2jpg").
    static std::optional<Conversion> conversionNamed(const QString& name);

    ConversionJob(const Conversion& conversion, const QString& targetFolder, const QStringList& files);

    QString outputOf(const QString& source) const { return m_converter.outputOf(source); }
    // "ERROR on <name>" lines (with the reason where the file could not be converted) and
    // the TIFF reader's notes, in order, for the summary.
    QStringList messages() const { return m_messages; }
    int written() const { return m_written; }

protected:
    bool plan() override;
    void execute() override;

private:
    PictureConverter m_converter;
    QStringList m_files;
    QStringList m_messages;
    int m_written = 0;
};
