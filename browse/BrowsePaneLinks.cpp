#include "browse/BrowsePaneLinks.h"

#include "browse/BrowseNavigator.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "browse/TTabControlDriveFol.h"

void BrowsePaneLinks::link(BrowseNavigator& navigator, const BrowseWidgets& widgets)
{
    TTabControlDriveFol* tabs = widgets.tabs;
    TPathViewFol* tree = widgets.tree;
    TFileViewFol* list = widgets.list;
    tree->setNavigator(&navigator);
    tabs->setNavigator(&navigator);
    list->setNavigator(&navigator);
    tree->setDriveTabs(tabs);
    tabs->setTreeView(tree);
    // With one drive shown in the tree, the strip picks the drive and the list shows no
    // folders (the tree holds them).
    const auto followSingleDrive = [tabs, list](bool single) {
        tabs->setVisible(single);
        list->setShowFolders(!single);
    };
    followSingleDrive(tree->SingleDrive());
    QObject::connect(tree, &TPathViewFol::singleDriveChanged, list, followSingleDrive);
}
