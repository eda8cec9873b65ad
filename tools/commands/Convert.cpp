// fvtool convert ACTION TARGET_DIR FILE... [--replace]: runs a graphics conversion as the
// File Tools menu does, printing "ERROR on <name>" for the files it could not convert. An
// existing output file is kept unless --replace is given (there is no one to ask).
#include "Command.h"

#include "viewers/image/ConversionJob.h"

namespace {

const char* const ConvertUsage = "convert bmp2jpg|bmp2gif|bmp2wmf|bmp2tif|jpg2bmp|jpg2gif|wmf2bmp|gif2bmp|gif2jpg|tif2bmp TARGET_DIR FILE... [--replace]";

class FixedAnswer final : public JobResolver {
public:
    explicit FixedAnswer(bool replace)
        : m_replace(replace)
    {
    }
    JobConflictChoice resolveConflict(const JobConflict& conflict) override
    {
        if (!m_replace)
            fvtool::err(QStringLiteral("kept existing ") + QString::fromUtf8(conflict.existing));
        return m_replace ? JobConflictChoice::ProceedAll : JobConflictChoice::Skip;
    }
    JobErrorChoice resolveError(const JobError&) override { return JobErrorChoice::Skip; }

private:
    bool m_replace;
};

int runConvert(const QStringList& arguments)
{
    QStringList args = arguments;
    const bool replace = args.removeAll(QStringLiteral("--replace")) > 0;
    const std::optional<Conversion> conversion = args.size() >= 3 ? ConversionJob::conversionNamed(args[0]) : std::nullopt;
    if (!conversion) {
        fvtool::err(QStringLiteral("usage: fvtool ") + QLatin1String(ConvertUsage));
        return 2;
    }
    ConversionJob job(*conversion, args[1], args.mid(2));
    FixedAnswer answer(replace);
    job.setResolver(&answer);
    job.run();
    for (const QString& message : job.messages())
        fvtool::out(message);
    fvtool::out(QStringLiteral("%1 written").arg(job.written()));
    return job.written() == args.size() - 2 ? 0 : 1;
}

} // namespace

FVTOOL_DRAWING_COMMAND(convert, ConvertUsage, runConvert)
