#pragma once

#include <QString>

// The private temporary folder of this run: created on first use under the
// system temporary folder with mode 0700, removed with its contents at exit.
// Every work file lives here, never under a fixed name in a shared folder.
// Returns the folder with a trailing "/", or an empty text when no private
// folder could be created (callers then must not write work files).
QString temporaryFolder();
