#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// Writes one fuzzer input to a file in the run's private temporary folder and returns its
// path; the same path is reused for every input.
QString writeFuzzInput(const uint8_t *data, size_t size);

// A second path in the same folder, for outputs.
QString fuzzOutputPath();

// An empty sub-folder of the same folder, for writers of several files; ends in "/".
QString fuzzWorkFolder();
