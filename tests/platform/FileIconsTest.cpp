// Icons on a desktop without an icon theme: drives, the computer and folders still get
// pictures that tell them apart, taken from the style.
#include "platform/ui/FileIcons.h"
#include "support/TempHome.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QStyle>

namespace {

QImage picture(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage();
}

class FileIconsTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_paths = QIcon::themeSearchPaths();
        m_theme = QIcon::themeName();
        QIcon::setThemeSearchPaths({home().root()});
        QIcon::setThemeName(QStringLiteral("no-such-theme"));
    }
    void TearDown() override
    {
        QIcon::setThemeSearchPaths(m_paths);
        QIcon::setThemeName(m_theme);
        TempHomeTest::TearDown();
    }

private:
    QStringList m_paths;
    QString m_theme;
};

TEST_F(FileIconsTest, WithoutAThemeDrivesAndFoldersKeepTheStylesPictures)
{
    QStyle* style = QApplication::style();
    const struct {
        QIcon icon;
        QStyle::StandardPixmap expected;
    } cases[] = {
        {FileIcons::forDrive(DriveType::Fixed), QStyle::SP_DriveHDIcon},
        {FileIcons::forDrive(DriveType::Removable), QStyle::SP_DriveHDIcon},
        {FileIcons::forDrive(DriveType::CdRom), QStyle::SP_DriveCDIcon},
        {FileIcons::forDrive(DriveType::Network), QStyle::SP_DriveNetIcon},
        {FileIcons::computer(), QStyle::SP_ComputerIcon},
        {FileIcons::openFolder(), QStyle::SP_DirIcon},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(c.icon.isNull());
        EXPECT_EQ(picture(c.icon), picture(style->standardIcon(c.expected))) << int(c.expected);
    }
    EXPECT_NE(picture(FileIcons::forDrive(DriveType::Fixed)), picture(style->standardIcon(QStyle::SP_FileIcon)));
}

} // namespace
