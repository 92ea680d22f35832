#pragma once
// How screen readers see the program's lists (the folder, file and
// favourites lists): a list whose entries are read by the text the list shows
// (a file name that is not UTF-8 as the user reads it, not as its bytes), and
// in which only one object holds the focus: the current entry while the list
// has the keyboard focus, the list itself while it has no current entry, and
// nothing of the list once the focus has moved on.

class QAbstractItemView;

// Makes view read as described above; each list calls it as it is made.
void MakeListAccessible(QAbstractItemView *view);

// Readers are told when the description of the entry that holds the focus
// changes (how far its file was watched): a list calls it again whenever it
// is given another model.
void TellDescriptionChanges(QAbstractItemView *view);
