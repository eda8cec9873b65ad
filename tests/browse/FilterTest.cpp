// The attribute filters of the list and of the tree, on attribute sets as the reader
// produces them.
#include "QtPrinters.h"

#include "browse/FileAttributes.h"

#include <gtest/gtest.h>

namespace {

using namespace FileAttribute;

TEST(FilterTest, ListFilterNeedsAnAllowanceForReadOnlyHiddenAndSystem)
{
    const TFileType plain = TFileAttr::ftArchive | TFileAttr::ftNormal;
    struct Case {
        uint32_t attributes;
        TFileType allowed;
        bool listed;
    } cases[] = {
        {Archive, plain, true},
        {Normal, TFileType(), true},                      // no attribute needs no allowance
        {Archive | ReadOnly, plain, false},
        {Archive | ReadOnly, plain | TFileAttr::ftReadOnly, true},
        {Archive | Hidden, plain | TFileAttr::ftReadOnly, false},
        {Archive | Hidden, plain | TFileAttr::ftHidden, true},
        {System, plain | TFileAttr::ftHidden, false},
        {System | Hidden, TFileAttr::ftSystem | TFileAttr::ftHidden, true},
        {Directory | Hidden, TFileAttr::ftHidden, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileAttributes::passesFileFilter(c.attributes, c.allowed), c.listed)
            << FileAttributes::letters(c.attributes).toStdString() << " allowed " << c.allowed.toInt();
}

TEST(FilterTest, FolderFilterNeedsEveryAttributeOfTheFolderInTheSet)
{
    const TFileType tree = TFileAttr::ftReadOnly | TFileAttr::ftHidden | TFileAttr::ftSystem | TFileAttr::ftArchive;
    struct Case {
        uint32_t attributes;
        TFileType allowed;
        bool listed;
    } cases[] = {
        {Directory, TFileType(), true},
        {Directory | Hidden, tree, true},
        {Directory | Hidden, TFileAttr::ftReadOnly | TFileAttr::ftArchive, false},
        {Directory | Archive, TFileAttr::ftReadOnly, false}, // a folder Samba marked archive
        {Directory | Archive, TFileAttr::ftArchive, true},
        {Directory | ReadOnly, TFileAttr::ftHidden, false},
        {Directory | 0x800, TFileType(), true},               // other bits never exclude
        {Archive, tree, false},                               // not a folder
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileAttributes::passesFolderFilter(c.attributes, c.allowed), c.listed)
            << c.attributes << " allowed " << c.allowed.toInt();
}

} // namespace
