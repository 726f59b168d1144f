#include "exif/jpegfilesource.h"

#include <cerrno>
#include <unistd.h>

#include <jerror.h>

namespace
{

const JOCTET kEndOfImage[] = {0xFF, JPEG_EOI};

} // namespace

JpegFileSource::JpegFileSource(int fd) : m_fd(fd)
{
    m_manager.init_source = start;
    m_manager.fill_input_buffer = fill;
    m_manager.skip_input_data = skip;
    m_manager.resync_to_restart = jpeg_resync_to_restart;
    m_manager.term_source = finish;
}

void JpegFileSource::attach(j_decompress_ptr info)
{
    info->src = &m_manager;
}

JpegFileSource &JpegFileSource::of(j_decompress_ptr info)
{
    return *reinterpret_cast<JpegFileSource *>(info->src);
}

void JpegFileSource::start(j_decompress_ptr info)
{
    info->src->next_input_byte = nullptr;
    info->src->bytes_in_buffer = 0;
}

boolean JpegFileSource::fill(j_decompress_ptr info)
{
    JpegFileSource &source = of(info);
    ssize_t got = 0;
    do {
        got = ::read(source.m_fd, source.m_chunk.data(), source.m_chunk.size());
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
        WARNMS(info, JWRN_JPEG_EOF);
        source.m_manager.next_input_byte = kEndOfImage;
        source.m_manager.bytes_in_buffer = sizeof kEndOfImage;
        return TRUE;
    }
    source.m_manager.next_input_byte = source.m_chunk.data();
    source.m_manager.bytes_in_buffer = std::size_t(got);
    return TRUE;
}

// Past the chunk in hand the file is seeked, not read: a large segment the decoder does not
// want (a maker note, a preview) costs no reading. A seek past the end shows as the end.
void JpegFileSource::skip(j_decompress_ptr info, long count)
{
    if (count <= 0)
        return;
    JpegFileSource &source = of(info);
    const auto wanted = std::size_t(count);
    if (wanted <= source.m_manager.bytes_in_buffer) {
        source.m_manager.next_input_byte += wanted;
        source.m_manager.bytes_in_buffer -= wanted;
        return;
    }
    const off_t beyond = off_t(wanted - source.m_manager.bytes_in_buffer);
    source.m_manager.next_input_byte = nullptr;
    source.m_manager.bytes_in_buffer = 0;
    if (::lseek(source.m_fd, beyond, SEEK_CUR) < 0)
        ::lseek(source.m_fd, 0, SEEK_END);
}

void JpegFileSource::finish(j_decompress_ptr) {}
