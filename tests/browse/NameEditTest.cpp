// A name edited in place: the editor shows the name's display form, and the bytes of a name
// that is not UTF-8 survive wherever the user left the text as it was.
#include "browse/NameEdit.h"
#include "platform/FileName.h"

#include <gtest/gtest.h>

namespace {

TEST(NameEditTest, UntouchedPartsKeepTheirBytes)
{
    struct Case {
        const char* what;
        QByteArray name;   // the old name's bytes
        QString edited;    // what the editor holds when it is closed
        QByteArray result; // the new name's bytes
    };
    const QString mark(QChar(0xFFFD));
    const Case cases[] = {
        {"nothing changed", "photo\xff.jpeg", "photo" + mark + ".jpeg", "photo\xff.jpeg"},
        {"the extension changed", "photo\xff.jpeg", "photo" + mark + ".jpg", "photo\xff.jpg"},
        {"a word put in front", "\xe9t\xe9.txt", "old " + mark + "t" + mark + ".txt", "old \xe9t\xe9.txt"},
        {"the part between two odd bytes", "\xe9t\xe9.txt", mark + "a" + mark + ".txt", "\xe9" "a\xe9.txt"},
        {"the odd byte itself typed over", "a\xff" "b", "axb", "axb"},
        {"everything typed anew", "\xfe\xfd", "plain", "plain"},
        {"a mark typed by the user is a real U+FFFD", "ab", "a" + mark + "b", "a\xef\xbf\xbd" "b"},
        {"a UTF-8 name", "Caf\xc3\xa9", QStringLiteral("Caf\u00e9s"), "Caf\xc3\xa9s"},
        {"a repeated letter removed", "aa\xff", "a" + mark, "a\xff"},
        {"emptied", "x\xff", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString name = FileName::decode(c.name);
        EXPECT_EQ(NameEdit::shown(name), FileName::display(name));
        EXPECT_EQ(FileName::encode(NameEdit::merged(name, c.edited)), c.result);
    }
}

} // namespace
