#pragma once
// The batch loop's Zip branch (operation code opZip, also run for a zip of the tree's
// folder): every file of the work list is added to the one archive the user confirmed
// (BaseDirectory its folder, so names are stored relative to it); after the last file the
// archive is saved ("Saving...") and closed. An existing archive is added to and replaced
// only once the new one is complete, so a failed or cancelled save leaves it as it was; the
// archive is never added to itself.

class ZipAddBranch {
public:
    static void registerBranch();
};
