#pragma once
// The bookmark exchange file that desktop browsers import and export: HTML in the Netscape
// bookmark format, "<!DOCTYPE NETSCAPE-Bookmark-file-1>" followed by nested lists,
//   <DL><DT><H3 ADD_DATE="...">folder</H3><DL> ... </DL><DT><A HREF="..." ADD_DATE="...">title</A></DL>
// Import and Export Favorites read and write it.
//
// The reader takes the files real browsers write, not only our own: tag and attribute names
// in any case and order, quoted or bare values, character references (&amp; &#39; &#x27;),
// closing tags left out (</A>, </H3>, </DL>, </DT>), comments, and bytes that are UTF-8 or,
// failing that, a one-byte code page (read as Latin-1). Anything else about a file that
// begins with the doctype is taken as loosely as browsers do; a file that does not begin
// with it, or ends inside a tag, is refused as a whole. Every read is bounded by the text's
// length; nesting and the number of entries are capped.

#include "platform/Status.h"

#include <QByteArray>
#include <QString>

#include <vector>

// One folder or link. The root is the file itself: a folder whose title is the file's <H1>.
struct BookmarkNode {
    QString title;        // as shown, whitespace collapsed
    QString address;      // a link's HREF; empty for a folder
    qint64 added = 0;     // ADD_DATE, seconds since 1970; 0 when not given
    bool isFolder = false;
    std::vector<BookmarkNode> children;

    bool operator==(const BookmarkNode& other) const = default;
    // The folders and links below this node, at every depth.
    qsizetype count() const;
};

class BookmarkFile {
public:
    static constexpr qint64 kMaxBytes = 64 * 1024 * 1024; // exports with page icons inlined stay below
    static constexpr int kMaxDepth = 64;                  // folders inside folders
    static constexpr qsizetype kMaxEntries = 100000;      // folders and links together

    // The tree of a file's bytes. A link without an address is left out.
    static Result<BookmarkNode> parse(const QByteArray& bytes);
    // The file for root: UTF-8, every folder's list written even when it is empty.
    static QByteArray write(const BookmarkNode& root);
    // The tree of the file at path; a failure says "Cannot import <path>: <reason>".
    static Result<BookmarkNode> read(const QString& path);
};
