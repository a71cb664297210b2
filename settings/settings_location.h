#pragma once
// Which folder holds the settings file. A program that runs from a folder of
// its own that it may write (a build tree, a copied folder) keeps it beside
// itself; an installed copy, or one in a folder it may not write, keeps it in
// the user's configuration folder, $XDG_CONFIG_HOME/zelt.

#include <QString>

QString settings_folder(const QString& programDir);

// Whether this user may create files in the folder. Root passes access(2) on
// any folder of a writable file system, so for root the owner's write bit
// decides: an installed, read-only folder stays untouched by a root session.
bool folder_writable(const QString& dir);
