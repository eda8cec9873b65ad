// The drives as the panes see them: the "My Computer" rows and the tab state.
#include "QtPrinters.h"

#include "DriveFixture.h"

#include "browse/DriveItems.h"
#include "browse/DriveTabList.h"
#include "browse/FileItemText.h"
#include "browse/FileListing.h"
#include "browse/FileTypeNames.h"

namespace {

class DriveViewTest : public DriveFixture {};

TEST_F(DriveViewTest, MyComputerRowsShowSizesWithoutTouchingRemovableMedia)
{
    const QList<DriveInfo> drives = ListDrives();
    ASSERT_EQ(drives.size(), 6);
    setNotReady(m_nfs); // a share that does not answer is left out
    QStringList roots;
    FileListing listing;
    std::vector<TFileInfo> driveRows = DriveItems::rows(drives, &roots);
    listing.setDrives(std::move(driveRows), roots);
    EXPECT_FALSE(listing.isSortable());
    FileItemText text(QLocale(QLocale::English, QLocale::UnitedStates));
    QStringList rows;
    for (int row = 0; row < listing.count(); ++row) {
        QStringList cells{text.caption(listing, row)};
        for (int i = 0; i < 6; ++i)
            cells << text.subItem(listing, row, i, FileTypeNames::instance());
        rows << cells.join(QLatin1Char('|'));
    }
    EXPECT_EQ(rows, (QStringList{
                        "/|Fixed Disk|10,240 Mb|3,072 Mb| |/| ",
                        m_cd + "|CD-ROM Disk|0 Mb|0 Mb| |" + m_cd + "| ",
                        m_data + "|Fixed Disk|10,240 Mb|3,072 Mb| |" + m_data + "| ",
                        m_ram + "|RAM Disk|10,240 Mb|3,072 Mb| |" + m_ram + "| ",
                        m_usb + "|Removable Disk|0 Mb|0 Mb| |" + m_usb + "| ",
                    }));
    EXPECT_FALSE(askedVolumes().contains(m_usb));
    EXPECT_FALSE(askedVolumes().contains(m_cd));
}

TEST_F(DriveViewTest, TabsRememberTheirFolderAcrossRebuilds)
{
    const QString rock = makeFolder(QStringLiteral("drives/data/Music/Rock"));
    DriveTabList tabs;
    tabs.refresh(ListDrives(), rock);
    ASSERT_EQ(tabs.count(), 6);
    const int data = tabs.indexOfDrive(m_data);
    const int usb = tabs.indexOfDrive(m_usb + QStringLiteral("/sub"));
    EXPECT_EQ(tabs.selected(), data);
    EXPECT_EQ(tabs.at(data).text, rock);
    EXPECT_EQ(tabs.at(usb).text, m_usb);
    EXPECT_EQ(tabs.indexOfDrive(m_data + QStringLiteral("x")), tabs.indexOfDrive(QStringLiteral("/")))
        << "a sibling with a longer name is not on the drive";

    tabs.select(usb);
    tabs.setSelectedText(m_usb + QStringLiteral("/photos"));
    EXPECT_EQ(tabs.at(data).text, rock);
    EXPECT_EQ(tabs.at(usb).text, m_usb + QStringLiteral("/photos"));

    // Going to the stick's root rebuilds the tabs: the data tab still remembers its folder.
    tabs.refresh(ListDrives(), m_usb);
    EXPECT_EQ(tabs.at(data).text, rock);
    EXPECT_EQ(tabs.at(usb).text, m_usb);
    EXPECT_EQ(tabs.selected(), usb);
}

} // namespace
