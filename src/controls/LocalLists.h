#pragma once

// The chained local-disk lists: a drive box drives a folder list, which drives a file list.
// The folder and file lists follow the disk: what another program creates, renames or deletes
// in the shown folder appears or disappears by itself.
#include "controls/DirectoryListBox.h"
#include "controls/DriveComboBox.h"
#include "controls/FileListBox.h"
