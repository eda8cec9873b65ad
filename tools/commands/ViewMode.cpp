// fvtool viewmode: what the View command (or, with --spinner, the spinner) chooses for
// each file, with the window's own decision code and the desktop's associations.
#include "Command.h"

#include "viewers/DesktopAssociations.h"
#include "viewers/ViewDecision.h"


static int runViewMode(const QStringList& args)
{
    ViewRule rule = ViewRule::View;
    bool ownPanes = true;
    QStringList files;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--spinner"))
            rule = ViewRule::Spinner;
        else if (arg == QLatin1String("--shell"))
            ownPanes = false;
        else
            files << arg;
    }
    if (files.isEmpty())
        return 2;
    const DesktopAssociations& associations = DesktopAssociations::instance();
    int code = 0;
    for (const QString& file : files) {
        const ViewChoice choice = ChooseView(file, rule, ownPanes, associations);
        fvtool::out(file + QStringLiteral(": ") + choice.describe());
        if (choice.action == ViewAction::AccessError || choice.action == ViewAction::ShowCurrentFile)
            code = 1;
    }
    return code;
}

FVTOOL_COMMAND(viewmode, "viewmode FILE... [--spinner] [--shell]: the pane, program or dialog View chooses", runViewMode)
