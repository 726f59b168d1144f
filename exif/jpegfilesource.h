#pragma once

#include <array>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

// Feeds the decoder from an open file in chunks, so a decode holds one chunk of the file
// however long the file is: segments the decoder skips are seeked over, and nothing after the
// last byte the decoder asks for is read (a long tail behind the picture costs nothing).
// The end of the file, or a read error, ends the data with an EOI marker and a warning, as a
// picture cut short.
class JpegFileSource
{
  public:
    static constexpr std::size_t kChunkBytes = 64 * 1024;

    // `fd` stays open and owned by the caller for the source's life.
    explicit JpegFileSource(int fd);
    JpegFileSource(const JpegFileSource &) = delete;
    JpegFileSource &operator=(const JpegFileSource &) = delete;

    // Makes this the decompressor's source; call once, before jpeg_read_header.
    void attach(j_decompress_ptr info);

  private:
    static JpegFileSource &of(j_decompress_ptr info);
    static void start(j_decompress_ptr info);
    static boolean fill(j_decompress_ptr info);
    static void skip(j_decompress_ptr info, long count);
    static void finish(j_decompress_ptr info);

    jpeg_source_mgr m_manager{}; // first member: libjpeg hands back a pointer to it
    int m_fd;
    std::array<JOCTET, kChunkBytes> m_chunk{};
};
