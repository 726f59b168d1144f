#pragma once

#include <QString>

// The real camera files kept beside the project (../shared/fixtures/camera), for the tests
// about what real cameras write: maker notes, padding, big-endian headers, JFIF before Exif.
//
// Returns the path of the file `name`. When the folder is absent (a clone of the project
// alone) it skips the running test with one line saying why, or fails it when
// TABILO_REQUIRE_CAMERA_FIXTURES=1 is set, as CI does; the path is then empty and the caller
// returns at once. Called from a fixture's SetUp, the skip or failure keeps the test body
// from running.
QString cameraFixture(const char *name);
