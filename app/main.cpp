#include "app/DialogPickers.h"
#include "app/MessageBoxPrompter.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    MessageBoxPrompter prompter;
    DialogPickers pickers;
    Prompter::setInstance(&prompter);
    Pickers::setInstance(&pickers);
    QMainWindow window;
    window.setObjectName(QStringLiteral("FormMainFolvane3"));
    window.setWindowTitle(QStringLiteral("FolVane III"));
    window.resize(882, 654);
    window.show();
    return app.exec();
}
